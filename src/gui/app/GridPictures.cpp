#include "app/GridPictures.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QWidget>
#include <algorithm>

namespace pelo {

namespace {

// A pixel of the screen as a PDF page measures it.
constexpr int kScreenDpi = 96;
constexpr double kPointsPerPixel = 72.0 / kScreenDpi;

}  // namespace

std::optional<TPictureFormat> PictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return TPictureFormat::kPng;
  if (suffix == QLatin1String("pdf")) return TPictureFormat::kPdf;
  return std::nullopt;
}

QPageLayout::Orientation OrientationFor(const QSize& picture) {
  return picture.width() > picture.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void PaintFitted(QWidget& widget, QPainter& painter) {
  const QPaintDevice* device = painter.device();
  const QSizeF page(device->width(), device->height());
  const QSizeF picture(std::max(widget.width(), 1), std::max(widget.height(), 1));
  const double scale = std::min(page.width() / picture.width(), page.height() / picture.height());
  painter.save();
  painter.translate((page.width() - picture.width() * scale) / 2,
                    (page.height() - picture.height() * scale) / 2);
  painter.scale(scale, scale);
  widget.render(&painter);
  painter.restore();
}

bool SavePicture(QWidget& widget, const QString& path, TPictureFormat format) {
  if (format == TPictureFormat::kPng) {
    // As many pixels as the screen shows the grid with.
    const qreal ratio = widget.devicePixelRatioF();
    QImage image(widget.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    widget.render(&painter);
    painter.end();
    return image.save(path, "PNG");
  }
  QPdfWriter writer(path);
  writer.setCreator(QStringLiteral("Pelo"));
  writer.setResolution(kScreenDpi);
  writer.setPageLayout(
      QPageLayout(QPageSize(QSizeF(widget.width(), widget.height()) * kPointsPerPixel,
                            QPageSize::Point, QString(), QPageSize::ExactMatch),
                  QPageLayout::Portrait, QMarginsF()));
  return PrintPicture(widget, writer);
}

bool PrintPicture(QWidget& widget, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  PaintFitted(widget, painter);
  return painter.end();
}

}  // namespace pelo
