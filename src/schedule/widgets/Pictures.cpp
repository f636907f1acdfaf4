#include "schedule/widgets/Pictures.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The resource initialiser of a static library is dropped by the linker unless something
// refers to it; Q_INIT_RESOURCE must stand outside every namespace.
static void InitPeloResources() { Q_INIT_RESOURCE(pelo); }

namespace pelo {

void InitPictureResources() {
  static const bool done = [] {
    InitPeloResources();
    return true;
  }();
  (void)done;
}

QString ToolbarPicturePath(int index) { return QStringLiteral(":/toolbar/%1.svg").arg(index); }

QString LineIconPath(const char* name) {
  return QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(name));
}

QPixmap RenderPicture(const QString& path, QSize size, qreal device_pixel_ratio) {
  InitPictureResources();
  QSvgRenderer renderer(path);
  if (!renderer.isValid() || size.isEmpty()) return {};
  QImage image(size * device_pixel_ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    renderer.render(&painter);
  }
  image.setDevicePixelRatio(device_pixel_ratio);
  return QPixmap::fromImage(image);
}

QPixmap ToolbarPicture(int index, qreal device_pixel_ratio) {
  if (index < 0 || index >= kToolbarPictureCount) return {};
  return RenderPicture(ToolbarPicturePath(index), QSize(kToolbarPictureSize, kToolbarPictureSize),
                       device_pixel_ratio);
}

QPixmap LineIconPicture(int slot, qreal device_pixel_ratio) {
  if (slot < 0 || slot >= kLineIconCount) return {};
  return RenderPicture(LineIconPath(kSmallIconNames[static_cast<std::size_t>(slot)]),
                       QSize(kLineIconSize, kLineIconSize), device_pixel_ratio);
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) {
    const QPixmap picture =
        RenderPicture(QString::fromLatin1(kApplicationIconPath), QSize(side, side));
    if (!picture.isNull()) icon.addPixmap(picture);
  }
  return icon;
}

}  // namespace pelo
