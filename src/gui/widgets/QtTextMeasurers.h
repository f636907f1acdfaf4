#pragma once

// The Qt side of the cell line lists: TQtTextMeasurer measures with QFontMetrics on the
// schedule widget and turns invalidations into widget updates; TQtLinePaintSink paints what a
// list asks for with a QPainter. Fonts, character widths, the six cell icons and the entry
// pictures are made once and kept, so painting a full grid measures and decodes nothing twice.
// Fonts are kept by what shapes their glyphs (face, size, style and scale), not by colour, and
// only the most recently used few: a file whose entries carry ever new colours or sizes costs
// no more memory after a thousand reloads than after one.

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "entries/IconFiles.h"
#include "schedule/CellLineLists.h"
#include "text/Fonts.h"

class QPainter;
class QWidget;

namespace pelo {

// The largest point size drawn.
inline constexpr int32_t kMaxPointSize = 1000;

// A font text's font: face, point size (scaled by percent as the lists scale it), bold,
// italic, underline and strike-out. The size is kept within 1 .. kMaxPointSize points.
QFont ToQFont(const TFontSpec& font, int32_t percent = 100);

// The colour depth of the primary screen (32 without a screen).
int32_t ScreenBitsPerPixel();

// TRect and QRect describe the same pixels (TRect's right and bottom lie outside).
QRect ToQRect(const TRect& rect);
TRect ToTRect(const QRect& rect);

class TQtTextMeasurer : public TTextMeasurer {
 public:
  // widget receives the update requests; it may be null (nothing is invalidated then).
  explicit TQtTextMeasurer(QWidget* widget);
  // The widget that shows the cells from now on (null: none).
  void SetWidget(QWidget* widget) noexcept { widget_ = widget; }
  ~TQtTextMeasurer() override;

  TFontSpec SurfaceFont() const override;
  int32_t TextWidth(std::string_view text, const TFontSpec& font, int32_t percent) override;
  int32_t CharWidth(char32_t c, const TFontSpec& font, int32_t percent) override;
  int32_t FontHeight(const TFontSpec& font, int32_t percent) override;
  void Invalidate(const TRect& rect) override;

  // The cached font and metrics of a font description at a scale. A reference stays valid
  // while fewer than kFontCacheSize other fonts are asked for.
  const QFont& Font(const TFontSpec& font, int32_t percent);
  const QFontMetrics& Metrics(const TFontSpec& font, int32_t percent);
  // How many fonts are kept at most, and how many are kept now.
  static constexpr std::size_t kFontCacheSize = 64;
  std::size_t CachedFontCount() const noexcept { return fonts_.size(); }

  // The six cell icons (16 x 16, rendered once).
  const QPixmap& Icon(int32_t slot);
  // An entry's picture decoded once (DecodeEntryPicture); null when the file does not decode
  // to the size its header gave.
  const QImage* Picture(const TIconFile& picture);
  // Whether the picture decodes to its header's size, decoding the file again when it
  // changed since it was last decoded: the loader asks this of every picture it finds.
  bool CheckPicture(const TIconFile& picture);

 private:
  // What decides the glyphs of a font: everything of its description but the colour.
  struct TFontKey {
    std::string Name;
    int32_t Size = 0;
    int32_t Percent = 100;
    uint8_t Style = 0;  // bold, italic, underline, strike-out as bits
    TFontKey(const TFontSpec& font, int32_t percent);
    // The same as TFontKey(font, percent) without copying the name.
    bool Matches(const TFontSpec& font, int32_t percent) const noexcept;
    friend bool operator==(const TFontKey&, const TFontKey&) = default;
  };
  struct TFontKeyHash {
    std::size_t operator()(const TFontKey& key) const noexcept;
  };
  struct TFontEntry {
    TFontKey Key;
    QFont Font;
    QFontMetrics Metrics;
    std::array<int32_t, 128> Ascii;  // -1: not measured yet
    std::unordered_map<char32_t, int32_t> Others;
    TFontEntry(const TFontSpec& desc, int32_t percent);
  };
  using TFontList = std::list<TFontEntry>;
  TFontEntry& Entry(const TFontSpec& font, int32_t percent);

  QWidget* widget_ = nullptr;
  TFontList fonts_;  // the most recently used first
  std::unordered_map<TFontKey, TFontList::iterator, TFontKeyHash> font_index_;
  std::array<QPixmap, 6> icons_;
  std::array<bool, 6> icons_made_{};
  // A decoded picture (null when it does not decode) and the file it was decoded from.
  struct TPictureEntry {
    QImage Image;
    qint64 FileSize = -1;
    QDateTime Modified;
  };
  static TPictureEntry DecodePicture(const std::string& path);
  std::unordered_map<std::string, TPictureEntry> pictures_;
};

class TQtLinePaintSink : public TLinePaintSink {
 public:
  // Draws with painter; fonts, icons and pictures come from measurer.
  TQtLinePaintSink(QPainter& painter, TQtTextMeasurer& measurer);

  void FillRect(const TRect& rect, uint32_t color) override;
  void DrawText(const TRect& clip, int32_t x, int32_t y, std::string_view text,
                const TFontSpec& font, int32_t percent, bool strike_out, bool underline) override;
  void DrawIcon(const TRect& clip, int32_t slot, int32_t x, int32_t y) override;
  void DrawPicture(const TRect& clip, const TIconFile& picture, int32_t x, int32_t y) override;
  void DrawFocusRect(const TRect& rect, const TRect& clip) override;

 private:
  QPainter& painter_;
  TQtTextMeasurer& measurer_;
};

}  // namespace pelo
