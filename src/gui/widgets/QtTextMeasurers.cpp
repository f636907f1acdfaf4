#include "widgets/QtTextMeasurers.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <algorithm>

#include "widgets/Colors.h"
#include "widgets/Pictures.h"

namespace pelo {

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

uint8_t StyleBits(const TFontSpec& font) {
  return static_cast<uint8_t>(font.Bold | font.Italic << 1 | font.Underline << 2 |
                              font.StrikeOut << 3);
}

}  // namespace

QFont ToQFont(const TFontSpec& font, int32_t percent) {
  QFont result(QString::fromStdString(font.Name));
  // Glyphs beyond this size fill no cell of any screen; rendering them would only stall.
  result.setPointSize(std::clamp(ScaledFontSize(font, percent), 1, kMaxPointSize));
  result.setBold(font.Bold);
  result.setItalic(font.Italic);
  result.setUnderline(font.Underline);
  result.setStrikeOut(font.StrikeOut);
  return result;
}

int32_t ScreenBitsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->depth() : 32;
}

QRect ToQRect(const TRect& rect) {
  return QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

TRect ToTRect(const QRect& rect) {
  return TRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// ---- TQtTextMeasurer ------------------------------------------------------------------------

TQtTextMeasurer::TFontKey::TFontKey(const TFontSpec& font, int32_t percent)
    : Name(font.Name), Size(font.Size), Percent(percent), Style(StyleBits(font)) {}

bool TQtTextMeasurer::TFontKey::Matches(const TFontSpec& font, int32_t percent) const noexcept {
  return Percent == percent && Size == font.Size && Style == StyleBits(font) && Name == font.Name;
}

std::size_t TQtTextMeasurer::TFontKeyHash::operator()(const TFontKey& key) const noexcept {
  std::size_t hash = std::hash<std::string>()(key.Name);
  for (const int64_t part : {int64_t{key.Size}, int64_t{key.Percent}, int64_t{key.Style}}) {
    hash = hash * 1000003u ^ std::hash<int64_t>()(part);
  }
  return hash;
}

TQtTextMeasurer::TFontEntry::TFontEntry(const TFontSpec& desc, int32_t percent)
    : Key(desc, percent), Font(ToQFont(desc, percent)), Metrics(Font) {
  Ascii.fill(-1);
}

TQtTextMeasurer::TQtTextMeasurer(QWidget* widget) : widget_(widget) {}

TQtTextMeasurer::~TQtTextMeasurer() = default;

TQtTextMeasurer::TFontEntry& TQtTextMeasurer::Entry(const TFontSpec& font, int32_t percent) {
  // Usually the font of the previous question is asked again.
  if (!fonts_.empty() && fonts_.front().Key.Matches(font, percent)) return fonts_.front();
  TFontKey key(font, percent);
  if (const auto found = font_index_.find(key); found != font_index_.end()) {
    fonts_.splice(fonts_.begin(), fonts_, found->second);
    return fonts_.front();
  }
  if (fonts_.size() >= kFontCacheSize) {
    font_index_.erase(fonts_.back().Key);
    fonts_.pop_back();
  }
  fonts_.emplace_front(font, percent);
  font_index_.emplace(std::move(key), fonts_.begin());
  return fonts_.front();
}

const QFont& TQtTextMeasurer::Font(const TFontSpec& font, int32_t percent) {
  return Entry(font, percent).Font;
}

const QFontMetrics& TQtTextMeasurer::Metrics(const TFontSpec& font, int32_t percent) {
  return Entry(font, percent).Metrics;
}

TFontSpec TQtTextMeasurer::SurfaceFont() const {
  TFontSpec desc;
  const QFont font = widget_ != nullptr ? widget_->font() : QFont();
  desc.Name = font.family().toStdString();
  desc.Size = font.pointSize() > 0 ? font.pointSize() : 10;
  desc.Bold = font.bold();
  desc.Italic = font.italic();
  desc.Underline = font.underline();
  desc.StrikeOut = font.strikeOut();
  return desc;
}

int32_t TQtTextMeasurer::TextWidth(std::string_view text, const TFontSpec& font, int32_t percent) {
  return Entry(font, percent).Metrics.horizontalAdvance(ToQString(text));
}

int32_t TQtTextMeasurer::CharWidth(char32_t c, const TFontSpec& font, int32_t percent) {
  TFontEntry& entry = Entry(font, percent);
  if (c < 128) {
    int32_t& width = entry.Ascii[c];
    if (width < 0) width = entry.Metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    return width;
  }
  const auto found = entry.Others.find(c);
  if (found != entry.Others.end()) return found->second;
  const char32_t one[1] = {c};
  const int32_t width = entry.Metrics.horizontalAdvance(QString::fromUcs4(one, 1));
  entry.Others.emplace(c, width);
  return width;
}

int32_t TQtTextMeasurer::FontHeight(const TFontSpec& font, int32_t percent) {
  return Entry(font, percent).Metrics.height();
}

void TQtTextMeasurer::Invalidate(const TRect& rect) {
  if (widget_ != nullptr && !rect.Empty()) widget_->update(ToQRect(rect));
}

const QPixmap& TQtTextMeasurer::Icon(int32_t slot) {
  const auto i = static_cast<std::size_t>(std::clamp(slot, 0, kLineIconCount - 1));
  if (!icons_made_[i]) {
    icons_[i] = LineIconPicture(static_cast<int>(i));
    icons_made_[i] = true;
  }
  return icons_[i];
}

TQtTextMeasurer::TPictureEntry TQtTextMeasurer::DecodePicture(const std::string& path) {
  TPictureEntry entry;
  const QFileInfo info(QString::fromStdString(path));
  entry.FileSize = info.size();
  entry.Modified = info.lastModified();
  // Opening a pipe or a device could block: only a regular file is read.
  QFile file(info.filePath());
  if (info.isFile() && file.open(QIODevice::ReadOnly)) entry.Image = DecodeEntryPicture(file);
  return entry;
}

const QImage* TQtTextMeasurer::Picture(const TIconFile& picture) {
  auto found = pictures_.find(picture.Path);
  if (found == pictures_.end()) {
    found = pictures_.emplace(picture.Path, DecodePicture(picture.Path)).first;
  }
  const QImage& image = found->second.Image;
  // A file that changed after its line was read may not fit the room the line keeps for it.
  if (image.isNull() || image.size() != QSize(picture.Width, picture.Height)) return nullptr;
  return &image;
}

bool TQtTextMeasurer::CheckPicture(const TIconFile& picture) {
  const auto found = pictures_.find(picture.Path);
  if (found != pictures_.end()) {
    const QFileInfo info(QString::fromStdString(picture.Path));
    if (found->second.FileSize != info.size() || found->second.Modified != info.lastModified()) {
      pictures_.erase(found);
    }
  }
  return Picture(picture) != nullptr;
}

// ---- TQtLinePaintSink -----------------------------------------------------------------------

TQtLinePaintSink::TQtLinePaintSink(QPainter& painter, TQtTextMeasurer& measurer)
    : painter_(painter), measurer_(measurer) {}

void TQtLinePaintSink::FillRect(const TRect& rect, uint32_t color) {
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void TQtLinePaintSink::DrawText(const TRect& clip, int32_t x, int32_t y, std::string_view text,
                                const TFontSpec& font, int32_t percent, bool strike_out,
                                bool underline) {
  const QFont* qfont = &measurer_.Font(font, percent);
  if ((strike_out && !font.StrikeOut) || (underline && !font.Underline)) {
    TFontSpec marked = font;
    marked.StrikeOut = marked.StrikeOut || strike_out;
    marked.Underline = marked.Underline || underline;
    qfont = &measurer_.Font(marked, percent);
  }
  const QFontMetrics& metrics = measurer_.Metrics(font, percent);
  painter_.save();
  painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
  painter_.setFont(*qfont);
  painter_.setPen(ToQColor(font.Color));
  painter_.drawText(QPoint(x, y + metrics.ascent()), ToQString(text));
  painter_.restore();
}

void TQtLinePaintSink::DrawIcon(const TRect& clip, int32_t slot, int32_t x, int32_t y) {
  const QPixmap& icon = measurer_.Icon(slot);
  if (icon.isNull()) return;
  painter_.save();
  painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
  painter_.drawPixmap(x, y, icon);
  painter_.restore();
}

void TQtLinePaintSink::DrawPicture(const TRect& clip, const TIconFile& picture, int32_t x,
                                   int32_t y) {
  const QImage* image = measurer_.Picture(picture);
  if (image == nullptr) return;
  painter_.save();
  painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
  painter_.drawImage(x, y, *image);
  painter_.restore();
}

void TQtLinePaintSink::DrawFocusRect(const TRect& rect, const TRect& clip) {
  if (rect.Empty()) return;
  painter_.save();
  painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
  QPen pen(Qt::black);
  pen.setStyle(Qt::DotLine);
  pen.setWidth(0);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
  painter_.restore();
}

}  // namespace pelo
