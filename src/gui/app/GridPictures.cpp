#include "app/GridPictures.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QWidget>
#include <algorithm>

#include "text/Texts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

// A pixel of the screen as a PDF page measures it.
constexpr int kScreenDpi = 96;
constexpr double kPointsPerPixel = 72.0 / kScreenDpi;
constexpr int kHeadingMargin = 6;
constexpr int kHeadingFontPixels = 14;
constexpr const char* kHeadingFontFace = "ＭＳ Ｐゴシック";

std::string MonthText(TDateRec date) {
  return Concat({std::to_string(date.Year), "年", std::to_string(date.Month), "月"});
}

std::string DayText(TDateRec date) {
  return Concat({MonthText(date), std::to_string(date.Day), "日"});
}

QSize PictureSize(const QWidget& widget) {
  return {std::max(widget.width(), 1), std::max(widget.height(), 1) + kHeadingHeight};
}

void PaintHeading(const TPictureHeading& heading, int width, QPainter& painter) {
  QFont font(QString::fromUtf8(kHeadingFontFace));
  font.setPixelSize(kHeadingFontPixels);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QRect band(kHeadingMargin, 0, std::max(width - 2 * kHeadingMargin, 1), kHeadingHeight);
  // The span is what the sheet is about: it stays whole, and the page's name gives way to it.
  QRect span_box;
  painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, heading.span, &span_box);
  const QRect page_band(span_box.right() + 2 * kHeadingMargin, 0,
                        std::max(band.right() - span_box.right() - 2 * kHeadingMargin, 0),
                        kHeadingHeight);
  const QString page =
      painter.fontMetrics().elidedText(heading.page, Qt::ElideRight, page_band.width());
  painter.drawText(page_band, Qt::AlignRight | Qt::AlignVCenter, page);
}

// The heading, and the widget below it, from the painter's origin on white.
void PaintWithHeading(QWidget& widget, const TPictureHeading& heading, QPainter& painter) {
  painter.fillRect(QRect(QPoint(0, 0), PictureSize(widget)), Qt::white);
  PaintHeading(heading, widget.width(), painter);
  painter.translate(0, kHeadingHeight);
  widget.render(&painter);
}

// The picture as drawing commands. A widget rendered straight onto a printer goes through a
// pixmap of the printer's resolution; a recording keeps its vectors and text.
QPicture RecordedPicture(QWidget& widget, const TPictureHeading& heading) {
  QPicture picture;
  QPainter painter(&picture);
  PaintWithHeading(widget, heading, painter);
  painter.end();
  return picture;
}

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

std::string ShownSpanText(TDateRec top, TDateRec end, std::optional<TDateRec> month_of) {
  if (month_of.has_value()) return MonthText(*month_of);
  const bool whole_month = top.Day == 1 && top.Year == end.Year && top.Month == end.Month &&
                           end.Day == DaysInMonth(end.Year, end.Month);
  if (whole_month) return MonthText(top);
  return Concat({DayText(top), "～", DayText(end)});
}

TPictureHeading ScheduleHeading(const TSchedule& schedule, const QString& page) {
  std::optional<TDateRec> month_of;
  if (schedule.GetSettings().MonthReset) month_of = schedule.CursorDate();
  return {QString::fromStdString(ShownSpanText(schedule.TopDate(), schedule.EndDate(), month_of)),
          page};
}

void PaintFitted(QWidget& widget, const TPictureHeading& heading, QPainter& painter) {
  const QPicture picture = RecordedPicture(widget, heading);
  const QPaintDevice* device = painter.device();
  const QSizeF page(device->width(), device->height());
  const QSizeF size(PictureSize(widget));
  const double scale = std::min(page.width() / size.width(), page.height() / size.height());
  painter.save();
  painter.translate((page.width() - size.width() * scale) / 2,
                    (page.height() - size.height() * scale) / 2);
  // A recording plays at its device's resolution measured against the target's: that
  // factor is taken out again, the fit alone sets the size.
  painter.scale(scale * picture.logicalDpiX() / device->logicalDpiX(),
                scale * picture.logicalDpiY() / device->logicalDpiY());
  painter.drawPicture(0, 0, picture);
  painter.restore();
}

bool WritePicture(QWidget& widget, const TPictureHeading& heading, TPictureFormat format,
                  QIODevice& device) {
  if (format == TPictureFormat::kPng) {
    // As many pixels as the screen shows the grid with.
    const qreal ratio = widget.devicePixelRatioF();
    QImage image(PictureSize(widget) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    PaintWithHeading(widget, heading, painter);
    painter.end();
    return image.save(&device, "PNG");
  }
  QPdfWriter writer(&device);
  writer.setCreator(QStringLiteral("Pelo"));
  writer.setResolution(kScreenDpi);
  writer.setPageLayout(QPageLayout(QPageSize(QSizeF(PictureSize(widget)) * kPointsPerPixel,
                                             QPageSize::Point, QString(), QPageSize::ExactMatch),
                                   QPageLayout::Portrait, QMarginsF()));
  // The writer keeps a failed write of the device to itself: the caller asks the device.
  return PrintPicture(widget, heading, writer);
}

bool PrintPicture(QWidget& widget, const TPictureHeading& heading, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  PaintFitted(widget, heading, painter);
  return painter.end();
}

}  // namespace pelo
