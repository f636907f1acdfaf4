#pragma once

// The schedule as a picture: on paper, in a PDF or in a PNG image, under a heading that names
// the span it shows and its page, as a paper calendar does. The widget's painting is recorded
// as drawing commands and played onto the target, so a printer or a PDF gets vectors and text
// (the fonts embedded), never a page-sized image; the picture is scaled to fit its page
// without changing its proportions.

#include <QPageLayout>
#include <QString>
#include <optional>
#include <string>

#include "calendar/Dates.h"

class QIODevice;
class QPagedPaintDevice;
class QPainter;
class QSize;
class QWidget;

namespace pelo {

class TSchedule;

enum class TPictureFormat { kPng, kPdf };

// The format a file name asks for by its suffix (.png, .pdf, in any case); none for others.
std::optional<TPictureFormat> PictureFormatOf(const QString& path);

// Landscape for a picture wider than high: the paper it fills best.
QPageLayout::Orientation OrientationFor(const QSize& picture);

// The span a grid shows, as its heading reads: "2026年12月" when it is one whole month, or
// month_of names the month the grid is about; else "2026年12月7日～2027年1月10日".
std::string ShownSpanText(TDateRec top, TDateRec end, std::optional<TDateRec> month_of);

// What a picture carries above the grid: the span on the left, the page's name on the right
// (empty for the built-in page).
struct TPictureHeading {
  QString span;
  QString page;
};

// The heading of what schedule shows: the cursor's month when the grid is about one month
// (its other days marked as such), else the span; page: the page's name.
TPictureHeading ScheduleHeading(const TSchedule& schedule, const QString& page);

// The height of the heading's band, in the grid's pixels.
inline constexpr int kHeadingHeight = 24;

// Paints the heading and widget below it on the painter's device, fitted into its page and
// centred.
void PaintFitted(QWidget& widget, const TPictureHeading& heading, QPainter& painter);

// Writes the picture of widget at the size it has plus the heading's band: a PNG image of its
// pixels (of the screen's pixels on a high-density screen), or a one-page PDF of the same size
// (a pixel a 96th of an inch). False when anything could not be written.
bool WritePicture(QWidget& widget, const TPictureHeading& heading, TPictureFormat format,
                  QIODevice& device);

// Prints widget on the device's first page, fitted into its margins (the device's own
// orientation). False when the device cannot be painted on.
bool PrintPicture(QWidget& widget, const TPictureHeading& heading, QPagedPaintDevice& device);

}  // namespace pelo
