#pragma once

// The program's own artwork, kept as SVG in the Qt resource system: the thirteen toolbar
// pictures (19 x 19), the six line icons of the schedule cells (16 x 16) and the application
// icon. Pictures are rendered here directly, so no image plugin is needed to show them.
// Also the decoding of the bitmaps that entries name for their lines.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <array>

#include "schedule/CellLineLists.h"

class QIODevice;

namespace pelo {

inline constexpr int kToolbarPictureCount = 14;
inline constexpr int kToolbarPictureSize = 19;
// The line icons are the cell lists' small icon slots, in their order and with their names.
inline constexpr int kLineIconCount = kSmallIconCount;
inline constexpr int kLineIconSize = kSmallIconSize;

inline constexpr const char* kApplicationIconPath = ":/pelo.svg";

// Registers the resources of the static library; every function below calls it, callers that
// open the paths themselves call it first.
void InitPictureResources();

// ":/toolbar/<index>.svg" and ":/icons/<NAME>.svg".
QString ToolbarPicturePath(int index);
QString LineIconPath(const char* name);

// The SVG at path drawn on a transparent pixmap of size (times the device pixel ratio); a
// null pixmap when the resource is missing or is no valid SVG.
QPixmap RenderPicture(const QString& path, QSize size, qreal device_pixel_ratio = 1.0);

QPixmap ToolbarPicture(int index, qreal device_pixel_ratio = 1.0);
QPixmap LineIconPicture(int slot, qreal device_pixel_ratio = 1.0);
// The application icon at the usual icon sizes.
QIcon ApplicationIcon();

// An entry's picture: a Windows bitmap read from device, with the colour of its bottom-left
// pixel made see-through. A null image when it is no bitmap that decodes, or is wider or
// taller than kMaxPictureSide.
QImage DecodeEntryPicture(QIODevice& device);

}  // namespace pelo
