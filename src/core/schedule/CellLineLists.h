#pragma once

// The line list of one day cell: the entry lines shown on a day with their icons, how they
// are measured (font, scale, spacing, icons, wrapping), which line lies under a point, the
// selected and the first shown line, and what painting the cell means.
//
// Nothing here draws. Measuring goes through TTextMeasurer and painting produces calls on a
// TLinePaintSink; the schedule widget implements both with a QPainter and QFontMetrics, the
// tests with recorders. "Repaint" means asking the measurer to invalidate a rectangle.
//
// Widths that the rules count in bytes are Shift-JIS bytes of the UTF-8 text (SjisCharWidth),
// and a row always ends between two characters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "entries/IconFiles.h"
#include "text/Fonts.h"

namespace pelo {

class TEntry;

// A rectangle in pixels as the platform has it: Right and Bottom lie just outside.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr int32_t Width() const noexcept { return Right - Left; }
  constexpr int32_t Height() const noexcept { return Bottom - Top; }
  constexpr bool Empty() const noexcept { return Right <= Left || Bottom <= Top; }
  // The part both rectangles cover; Empty() when they do not overlap.
  constexpr TRect Intersect(const TRect& other) const noexcept {
    return TRect{Left > other.Left ? Left : other.Left, Top > other.Top ? Top : other.Top,
                 Right < other.Right ? Right : other.Right,
                 Bottom < other.Bottom ? Bottom : other.Bottom};
  }

  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// A colour value: red in the lowest byte, then green, then blue.
constexpr uint32_t RgbColor(uint8_t red, uint8_t green, uint8_t blue) noexcept {
  return uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16);
}

inline constexpr uint32_t kLineListColor = RgbColor(255, 255, 255);
// Highlight of the selected line on a screen with more than 8 bits per pixel.
inline constexpr uint32_t kSelectColorDeep = RgbColor(255, 238, 204);
// Highlight on a palette screen, where the soft orange would be dithered.
inline constexpr uint32_t kSelectColorAqua = RgbColor(0, 255, 255);

// The highlight a list starts with on a screen of this colour depth (the schedule then hands
// its cells the colour of its page).
constexpr uint32_t SelectColorForDepth(int32_t bits_per_pixel) noexcept {
  return bits_per_pixel > 8 ? kSelectColorDeep : kSelectColorAqua;
}

// Icon slots of a line, in drawing order. Slots 0..5 are the program's own 16 x 16 icons
// (named for the resource loader below); slot 6 is the entry's picture.
inline constexpr int32_t kIconChecked = 0;
inline constexpr int32_t kIconRankA = 1;
inline constexpr int32_t kIconRankB = 2;
inline constexpr int32_t kIconMemo = 3;
inline constexpr int32_t kIconRelFiles = 4;
inline constexpr int32_t kIconMark = 5;
inline constexpr int32_t kIconPicture = 6;
inline constexpr int32_t kIconSlotCount = 7;
inline constexpr int32_t kSmallIconCount = 6;
inline constexpr int32_t kSmallIconSize = 16;
inline constexpr std::array<const char*, kSmallIconCount> kSmallIconNames = {
    "CHECKED", "RANKA", "RANKB", "MEMO", "RELFILES", "MARK"};

// Facts of one line, copied from its entry when the day table fills the cell. The pointers
// refer to the entry and its parts and are never owned.
struct TLineInfo {
  const TFontSpec* Font = nullptr;  // the entry's own font, if it has one
  bool Checked = false;
  bool RankA = false;
  bool RankB = false;
  bool HasMemo = false;
  bool HasRelFiles = false;
  bool HasPicture = false;
  const TIconFile* Picture = nullptr;
  const TEntry* Entry = nullptr;
};

// How the line lists of a schedule measure and paint their lines. The schedule makes one
// record from its settings and the day table hands it to every cell.
struct TCellDisplay {
  bool Wrap = false;      // long lines wrap into several rows
  int32_t Spacing = 2;    // extra pixels per row
  int32_t Percent = 100;  // the fonts' scale
  std::array<bool, kIconSlotCount> IconVisible{true, true, true, true, true, true, true};
  TFontSpec Font;  // for lines without a font of their own
  uint32_t SelectColor = kSelectColorDeep;

  friend bool operator==(const TCellDisplay&, const TCellDisplay&) = default;
};

// The point size a font is drawn at when scaled by percent (integer division, as the list
// measures it).
int32_t ScaledFontSize(const TFontSpec& font, int32_t percent) noexcept;

// The schedule's drawing surface as the lists see it. Fonts are always given unscaled with
// the percentage to scale them by: the size to use is ScaledFontSize(font, percent).
class TTextMeasurer {
 public:
  virtual ~TTextMeasurer() = default;

  // The surface's own font: a new list starts with it as its cell font.
  virtual TFontSpec SurfaceFont() const { return TFontSpec{}; }
  // Width in pixels of text.
  virtual int32_t TextWidth(std::string_view text, const TFontSpec& font, int32_t percent) = 0;
  // Advance in pixels of one character. Row breaking calls this once per character with the
  // same font over long runs, so a surface should answer from a cache; the default measures
  // the character's text.
  virtual int32_t CharWidth(char32_t c, const TFontSpec& font, int32_t percent);
  // Height of the font in pixels as the platform reports it (negative for a font given in
  // points is fine: the lists use the absolute value).
  virtual int32_t FontHeight(const TFontSpec& font, int32_t percent) = 0;
  // Asks for rect to be painted again.
  virtual void Invalidate(const TRect& rect) = 0;
};

// What painting a cell amounts to, in order. Every call is already clipped by the list to its
// own cell; clip rectangles are never empty.
class TLinePaintSink {
 public:
  virtual ~TLinePaintSink() = default;

  virtual void FillRect(const TRect& rect, uint32_t color) = 0;
  // text with its left edge at x and its top at y, drawn only inside clip, over what is
  // already there, in font scaled by percent; strike_out and underline come on top of the
  // font's own style.
  virtual void DrawText(const TRect& clip, int32_t x, int32_t y, std::string_view text,
                        const TFontSpec& font, int32_t percent, bool strike_out,
                        bool underline) = 0;
  // Small icon slot (0..5) with its top left corner at x, y, transparent, inside clip.
  virtual void DrawIcon(const TRect& clip, int32_t slot, int32_t x, int32_t y) = 0;
  // The entry's picture with its top left corner at x, y, transparent, inside clip.
  virtual void DrawPicture(const TRect& clip, const TIconFile& picture, int32_t x, int32_t y) = 0;
  // A focus rectangle along the edges of rect, drawn only inside clip.
  virtual void DrawFocusRect(const TRect& rect, const TRect& clip) = 0;
};

// Icons a line shows.
struct TLineIcons {
  std::array<bool, kIconSlotCount> Shown{};
  int32_t Count = 0;
  int32_t Width = 0;  // 16 per small icon plus the picture's width
};

// Rows a line takes when wrapped, and the Shift-JIS byte length of its first row.
struct TLineRows {
  int32_t Rows = 1;
  int32_t FirstLength = 0;
};

// The line under a point: Index -1 for none.
struct TLineHit {
  int32_t Index = -1;
  bool PartlyHidden = false;
};

// Result of a click: Hit when it fell on a line, SameLine when that line was selected already.
struct TLineClick {
  bool Hit = false;
  bool SameLine = false;
};

// A list is made once per day cell and refilled on every refresh.
// What a cell line shows: its text and the facts of its entry. The lines of an entry that
// reads the same every day share one.
struct TCellLine {
  std::string Text;
  TLineInfo Info;
};

class TCellLineList {
 public:
  // Measuring the text of one row stops after this many bytes of a line: no row of a cell
  // can show more, and a line of zero-width characters still ends its rows.
  static constexpr std::size_t kMaxRowBytes = 64 * 1024;
  // A line is measured exactly for at most this many bytes and at most as many rows as its
  // cell is high in pixels (plus two, so that "more than one row" is always exact); rows
  // further down can never be seen and are estimated from the measured part, in proportion to
  // the bytes left. Text of one kind throughout (all ASCII, all kanji) is estimated exactly.
  static constexpr std::size_t kMaxMeasuredBytes = 256 * 1024;
  // Heights and positions are kept within this many pixels: far beyond any screen, and
  // sums of many lines stay clear of integer overflow.
  static constexpr int32_t kMaxLineHeight = 1 << 24;

  // measurer may be null: such a list measures everything as 0, paints nothing and cannot
  // move its selection (the day table's tests fill lists without a window). select_color:
  // the selected line's highlight (SelectColorForDepth of the screen).
  explicit TCellLineList(TTextMeasurer* measurer = nullptr,
                         uint32_t select_color = kSelectColorDeep);

  // Lines, in the order added unless OrderLines reorders them.
  void Add(std::string text, const TLineInfo& info);
  // Adds a line shared with other lines (of this or other lists): a line that reads the same
  // on many days is held once. line must not be null.
  void AddShared(std::shared_ptr<const TCellLine> line);
  void Clear();
  // Reorders the lines by keys, one per line in line order: smallest first, lines of equal
  // key in the order they had. std::invalid_argument when the counts differ.
  void OrderLines(std::span<const int32_t> keys);
  int32_t Count() const noexcept { return static_cast<int32_t>(count_); }
  // std::out_of_range when there is no line i.
  const std::string& Text(int32_t i) const;
  const TLineInfo& Info(int32_t i) const;

  TTextMeasurer* Measurer() const noexcept { return measurer_; }
  // Forgets every measured row count (the surface's fonts changed).
  void InvalidateMeasures() noexcept { ++generation_; }

  // Settings. The schedule sets CellRect, Color and Active before every paint; the day table
  // sets the display on all lists at once. A new list takes its surface's font and the
  // highlight that suits the screen's colour depth.
  const TRect& CellRect() const noexcept { return cell_rect_; }
  void SetCellRect(const TRect& rect) noexcept { cell_rect_ = rect; }
  int32_t Selected() const noexcept { return selected_; }
  void SetSelected(int32_t index) noexcept { selected_ = index; }
  int32_t TopLine() const noexcept { return top_line_; }
  const TCellDisplay& Display() const noexcept { return display_; }
  void SetDisplay(const TCellDisplay& display);
  bool IconVisible(int32_t slot) const noexcept;
  void SetIconVisible(int32_t slot, bool visible) noexcept;
  bool Wrap() const noexcept { return display_.Wrap; }
  void SetWrap(bool wrap) noexcept { display_.Wrap = wrap; }
  int32_t Spacing() const noexcept { return display_.Spacing; }
  void SetSpacing(int32_t spacing) noexcept { display_.Spacing = spacing; }
  int32_t Percent() const noexcept { return display_.Percent; }
  void SetPercent(int32_t percent) noexcept;
  const TFontSpec& Font() const noexcept { return display_.Font; }
  void SetFont(const TFontSpec& font);
  uint32_t SelectColor() const noexcept { return display_.SelectColor; }
  void SetSelectColor(uint32_t color) noexcept { display_.SelectColor = color; }
  bool Active() const noexcept { return active_; }
  void SetActive(bool active) noexcept { active_ = active; }
  int32_t Margin() const noexcept { return margin_; }
  void SetMargin(int32_t margin) noexcept;
  uint32_t Color() const noexcept { return color_; }
  void SetColor(uint32_t color) noexcept { color_ = color; }

  // Measuring. An index out of range measures an unwrapped line in the cell font.
  // |font height| x Percent / 100 + Spacing; 0 for an empty list.
  int32_t RowHeight(int32_t i) const;
  TLineIcons LineIcons(int32_t i) const;
  // The room is the cell width less the margin; when that is narrower than "お" a row holds
  // two bytes and the line takes byte length / 2 rows. Otherwise the room loses the icons
  // (and gets the margin back) and each row takes the longest piece that fits, but always at
  // least one character: a character wider than the room, or icons wider than the cell, give
  // one row per character instead of a count that never ends. Every line keeps at least one
  // row, so an empty or one-byte line never vanishes. Counts are cached per line until the
  // cell width or a measuring setting changes; see kMaxMeasuredBytes for very long lines.
  TLineRows LineRows(int32_t i) const;
  // RowHeight, times the rows when wrapping, at least Spacing + 16 with icons and at least
  // the picture's height when it shows; at most kMaxLineHeight.
  int32_t LineHeight(int32_t i) const;
  // Top of line k: the cell's top plus the lines from TopLine to k - 1.
  int32_t LineTop(int32_t k) const;
  // Line k across the cell, cut at the cell's bottom.
  TRect LineRect(int32_t k) const;
  bool IsWrapped(int32_t i) const { return LineRows(i).Rows > 1; }

  // Hit testing.
  TLineHit LineAt(int32_t y) const;
  int32_t LineAtPoint(int32_t x, int32_t y) const;
  int32_t LastVisibleLine() const;

  // Selection and scrolling; each repaints what changed.
  // A click on another line selects it and activates the list; a partly hidden line below
  // the first shown one also scrolls the list by a line.
  TLineClick Click(int32_t x, int32_t y);
  // Selects line k and scrolls until it is fully shown (or first shown, when taller than
  // the cell).
  void SelectLine(int32_t k);
  void MoveFirst() { SelectLine(0); }
  void MoveLast() { SelectLine(Count() - 1); }
  bool CanScrollDown() const noexcept { return top_line_ < Count() - 1; }
  // One line down; the selection moves along so that it stays on a shown line.
  void ScrollDown();
  bool CanScrollUp() const noexcept { return top_line_ > 0; }
  // One line up (Page Up); the selection moves up to the last line still fully shown when
  // it would otherwise fall out of view, the mirror of ScrollDown.
  void ScrollUp();
  // Back to the first line, selected (after every refill).
  void ResetPosition() noexcept;

  // Painting.
  void PaintAll() const;
  void PaintLines(int32_t a, int32_t b) const;
  // Paints the part of the cell inside clip into sink, walking from TopLine down to the clip's
  // bottom. Each line: its background (SelectColor for the selected line while Active), its
  // text after the icons and margins (struck out for a checked line and underlined for a
  // line with a memo when those icons are hidden), then its icons; rows past the last line
  // get the background only; while Active a focus rectangle goes round the selected line
  // when it is shown. Every position comes from the whole cell, only the drawing is clipped,
  // and a wrapped row shows exactly the piece the row breaking gave it.
  void Paint(const TRect& clip, TLinePaintSink& sink) const;

 private:
  // Row counts stay valid while the list's measuring settings and the cell width are the
  // same; an estimated count also needs the same cap on exact rows.
  struct TRowCache {
    uint64_t Generation = 0;  // 0: nothing cached
    int32_t CellWidth = 0;
    int32_t Cap = 0;
    bool Estimated = false;
    TLineRows Result;
  };
  // A day table holds hundreds of thousands of lines and refills them all on every refresh:
  // a line is a reference to its text and facts; what painting measures is kept apart.
  using TLine = std::shared_ptr<const TCellLine>;  // never null
  // The next line to fill, taken from the cleared ones when there are some.
  TLine& NextLine();
  // Line i; std::out_of_range when there is none.
  const TLine& StoredLine(int32_t i) const;
  // How the rows of one line break: by pixels within Avail, or in narrow cells by two bytes.
  struct TRowBreaker {
    TTextMeasurer* Measurer = nullptr;
    const TFontSpec* Font = nullptr;
    int32_t Percent = 100;
    bool Narrow = false;
    int32_t Avail = 0;

    // The end of the row that starts at pos; adds the row's Shift-JIS width to sjis_width.
    std::size_t RowEnd(std::string_view text, std::size_t pos, int64_t* sjis_width) const;
  };

  bool IsLine(int32_t i) const noexcept { return i >= 0 && i < Count(); }
  TTextMeasurer& Surface() const noexcept;
  const TFontSpec& FontOf(int32_t i) const noexcept;
  TRowBreaker BreakerOf(int32_t i) const;
  TLineRows MeasureRows(const TLine& line, const TRowBreaker& breaker, int32_t cap,
                        bool* estimated) const;
  void PaintLine(int32_t i, const TRect& line_rect, const TRect& row, const TRect& clip,
                 TLinePaintSink& sink) const;
  void Repaint(const TRect& rect) const;

  TTextMeasurer* measurer_ = nullptr;
  // The first count_ are the list's lines; the rest were cleared and wait to be filled again.
  std::vector<TLine> lines_;
  std::size_t count_ = 0;
  // The measured rows of the lines by index, made as far as painting asks; emptied by Clear.
  mutable std::vector<TRowCache> row_caches_;
  // Bumped by every change that alters how text measures; starts at 1 so 0 means "never".
  uint64_t generation_ = 1;
  TRect cell_rect_;
  int32_t selected_ = 0;
  int32_t top_line_ = 0;
  TCellDisplay display_;
  bool active_ = false;
  int32_t margin_ = 1;
  uint32_t color_ = kLineListColor;
};

}  // namespace pelo
