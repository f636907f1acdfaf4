#pragma once

// The schedule as a picture: on paper, in a PDF or in a PNG image. The widget draws itself
// through its own painting, so a printer or a PDF gets vectors and text (the fonts embedded),
// not pixels; the picture is scaled to fit its page without changing its proportions.

#include <QPageLayout>
#include <optional>

class QPagedPaintDevice;
class QPainter;
class QSize;
class QString;
class QWidget;

namespace pelo {

enum class TPictureFormat { kPng, kPdf };

// The format a file name asks for by its suffix (.png, .pdf, in any case); none for others.
std::optional<TPictureFormat> PictureFormatOf(const QString& path);

// Landscape for a picture wider than high: the paper it fills best.
QPageLayout::Orientation OrientationFor(const QSize& picture);

// Paints widget on the painter's device, fitted into its page and centred.
void PaintFitted(QWidget& widget, QPainter& painter);

// Writes the picture of widget at the size it has: a PNG image of its pixels (of the screen's
// pixels on a high-density screen), or a one-page PDF of the same size (a pixel a 96th of an
// inch). False when the file cannot be written.
bool SavePicture(QWidget& widget, const QString& path, TPictureFormat format);

// Prints widget on the device's first page, fitted into its margins (the device's own
// orientation). False when the device cannot be painted on (a file that cannot be written).
bool PrintPicture(QWidget& widget, QPagedPaintDevice& device);

}  // namespace pelo
