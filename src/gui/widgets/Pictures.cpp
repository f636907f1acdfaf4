#include "widgets/Pictures.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdlib>

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

namespace {

// A top-down bitmap claims a negative height.
bool WithinPictureLimit(QSize size) {
  return std::abs(int64_t{size.width()}) <= kMaxPictureSide &&
         std::abs(int64_t{size.height()}) <= kMaxPictureSide;
}

}  // namespace

QImage DecodeEntryPicture(QIODevice& device) {
  // Only the bitmap decoder: a file that merely claims to be a picture meets no other.
  QImageReader reader(&device, "bmp");
  reader.setAutoDetectImageFormat(false);
  // The size the header claims, before anything is allocated for it.
  if (!WithinPictureLimit(reader.size())) return {};
  QImage image;
  if (!reader.read(&image) || image.isNull() || !WithinPictureLimit(image.size())) return {};
  // Bitmaps carry no alpha: the colour in the bottom-left corner is the see-through one.
  image = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return image;
}

}  // namespace pelo
