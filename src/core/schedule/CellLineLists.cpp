#include "schedule/CellLineLists.h"

#include <stdexcept>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "text/Texts.h"

namespace pelo {

namespace {

// Positions are kept within this, so that a rectangle built from them never overflows.
constexpr int64_t kCoordLimit = int64_t{1} << 30;

int32_t ClampCoord(int64_t value) noexcept {
  return static_cast<int32_t>(std::clamp(value, -kCoordLimit, kCoordLimit));
}

int32_t ClampHeight(int64_t value) noexcept {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, -TCellLineList::kMaxLineHeight, TCellLineList::kMaxLineHeight));
}

TRect MakeRect(int64_t left, int64_t top, int64_t right, int64_t bottom) noexcept {
  return TRect{ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)};
}

// The surface of a list that has none: everything measures 0 and nothing is repainted.
class TNullMeasurer final : public TTextMeasurer {
 public:
  int32_t TextWidth(std::string_view, const TFontSpec&, int32_t) override { return 0; }
  int32_t CharWidth(char32_t, const TFontSpec&, int32_t) override { return 0; }
  int32_t FontHeight(const TFontSpec&, int32_t) override { return 0; }
  void Invalidate(const TRect&) override {}
};

// A text drawn on one unwrapped row only needs the characters that reach the visible width;
// a few more cover kerning, which can make a piece narrower than its advances add up to.
constexpr int kSpareCharacters = 2;

std::string_view VisiblePrefix(std::string_view text, TTextMeasurer& measurer,
                               const TFontSpec& font, int32_t percent, int64_t width) {
  const std::size_t limit = std::min(text.size(), TCellLineList::kMaxRowBytes);
  std::size_t pos = 0;
  int64_t sum = 0;
  int spare = -1;  // counts down once the width is reached
  while (pos < limit && spare != 0) {
    const char32_t c = NextCodePoint(text, pos);
    if (spare > 0) {
      --spare;
    } else {
      sum += measurer.CharWidth(c, font, percent);
      if (sum >= width) spare = kSpareCharacters;
    }
  }
  return text.substr(0, pos);
}

}  // namespace

int32_t ScaledFontSize(const TFontSpec& font, int32_t percent) noexcept {
  const int64_t size = int64_t{font.Size} * percent / 100;
  return static_cast<int32_t>(std::clamp<int64_t>(size, INT32_MIN, INT32_MAX));
}

int32_t TTextMeasurer::CharWidth(char32_t c, const TFontSpec& font, int32_t percent) {
  std::string text;
  AppendUtf8(text, c);
  return TextWidth(text, font, percent);
}

TCellLineList::TCellLineList(TTextMeasurer* measurer, uint32_t select_color) : measurer_(measurer) {
  display_.Font = measurer != nullptr ? measurer->SurfaceFont() : TFontSpec{};
  display_.SelectColor = select_color;
}

TCellLineList::TLine& TCellLineList::NextLine() {
  // A cleared list keeps its line records for the next fill.
  if (count_ == lines_.size()) lines_.emplace_back();
  return lines_[count_++];
}

void TCellLineList::Add(std::string text, const TLineInfo& info) {
  AddShared(std::make_shared<const TCellLine>(TCellLine{std::move(text), info}));
}

void TCellLineList::AddShared(std::shared_ptr<const TCellLine> line) {
  NextLine() = std::move(line);
}

void TCellLineList::Clear() {
  // The day table refills every cell on every refresh: the line records stay, their texts
  // go (a text shared with other days lives as long as one of them shows it). Lines past
  // the count are never read.
  for (std::size_t i = 0; i < count_; ++i) lines_[i].reset();
  count_ = 0;
  row_caches_.clear();
}

void TCellLineList::OrderLines(std::span<const int32_t> keys) {
  if (keys.size() != count_) throw std::invalid_argument("TCellLineList: one key per line");
  if (std::is_sorted(keys.begin(), keys.end())) return;
  std::vector<std::size_t> order(count_);
  for (std::size_t i = 0; i < count_; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<TLine> ordered;
  ordered.reserve(count_);
  for (const std::size_t i : order) ordered.push_back(std::move(lines_[i]));
  std::move(ordered.begin(), ordered.end(), lines_.begin());
  row_caches_.clear();  // they go by place
}

const TCellLineList::TLine& TCellLineList::StoredLine(int32_t i) const {
  if (!IsLine(i)) throw std::out_of_range("TCellLineList: no such line");
  return lines_[static_cast<std::size_t>(i)];
}

const std::string& TCellLineList::Text(int32_t i) const { return StoredLine(i)->Text; }

const TLineInfo& TCellLineList::Info(int32_t i) const { return StoredLine(i)->Info; }

void TCellLineList::SetDisplay(const TCellDisplay& display) {
  // Icons take room from the text; wrapping, spacing and the highlight leave row counts alone.
  const bool measures_differ = display.Percent != display_.Percent ||
                               display.Font != display_.Font ||
                               display.IconVisible != display_.IconVisible;
  display_ = display;
  if (measures_differ) ++generation_;
}

bool TCellLineList::IconVisible(int32_t slot) const noexcept {
  return slot >= 0 && slot < kIconSlotCount && display_.IconVisible[static_cast<std::size_t>(slot)];
}

void TCellLineList::SetIconVisible(int32_t slot, bool visible) noexcept {
  if (slot < 0 || slot >= kIconSlotCount) return;
  display_.IconVisible[static_cast<std::size_t>(slot)] = visible;
  ++generation_;
}

void TCellLineList::SetPercent(int32_t percent) noexcept {
  display_.Percent = percent;
  ++generation_;
}

void TCellLineList::SetMargin(int32_t margin) noexcept {
  margin_ = margin;
  ++generation_;
}

void TCellLineList::SetFont(const TFontSpec& font) {
  display_.Font = font;
  ++generation_;
}

TTextMeasurer& TCellLineList::Surface() const noexcept {
  static TNullMeasurer null_measurer;
  return measurer_ != nullptr ? *measurer_ : null_measurer;
}

const TFontSpec& TCellLineList::FontOf(int32_t i) const noexcept {
  if (IsLine(i)) {
    const TFontSpec* own = lines_[static_cast<std::size_t>(i)]->Info.Font;
    if (own != nullptr) return *own;
  }
  return display_.Font;
}

int32_t TCellLineList::RowHeight(int32_t i) const {
  if (Count() == 0) return 0;
  const int64_t font_height = std::llabs(int64_t{Surface().FontHeight(FontOf(i), 100)});
  return ClampHeight(font_height * display_.Percent / 100 + display_.Spacing);
}

TLineIcons TCellLineList::LineIcons(int32_t i) const {
  TLineIcons icons;
  if (!IsLine(i)) return icons;
  const TLineInfo& info = lines_[static_cast<std::size_t>(i)]->Info;
  // No entry carries the mark of its slot; the slot stays for its setting in the page
  // files. A picture that could not be found takes no room.
  const std::array<bool, kIconSlotCount> facts = {info.Checked,
                                                  info.RankA,
                                                  info.RankB,
                                                  info.HasMemo,
                                                  info.HasRelFiles,
                                                  false,
                                                  info.HasPicture && info.Picture != nullptr};
  int64_t width = 0;
  for (int32_t slot = 0; slot < kIconSlotCount; ++slot) {
    const auto s = static_cast<std::size_t>(slot);
    if (!facts[s] || !display_.IconVisible[s]) continue;
    icons.Shown[s] = true;
    ++icons.Count;
    width += slot == kIconPicture ? std::max(info.Picture->Width, 0) : kSmallIconSize;
  }
  icons.Width = ClampHeight(width);
  return icons;
}

std::size_t TCellLineList::TRowBreaker::RowEnd(std::string_view text, std::size_t pos,
                                               int64_t* sjis_width) const {
  const std::size_t limit = std::min(text.size(), pos + kMaxRowBytes);
  std::size_t end = pos;
  int64_t pixels = 0;
  int64_t bytes = 0;
  while (end < limit) {
    std::size_t next = end;
    const char32_t c = NextCodePoint(text, next);
    const int32_t char_bytes = SjisCharWidth(c);
    // A row always takes its first character, even one wider than the room: a row that took
    // nothing would never end, and an icon wider than the cell leaves no room at all.
    if (Narrow) {
      if (end > pos && bytes + char_bytes > 2) break;
    } else {
      const int32_t advance = Measurer->CharWidth(c, *Font, Percent);
      if (end > pos && pixels + advance > Avail) break;
      pixels += advance;
    }
    bytes += char_bytes;
    end = next;
  }
  *sjis_width += bytes;
  return end;
}

TCellLineList::TRowBreaker TCellLineList::BreakerOf(int32_t i) const {
  TRowBreaker breaker;
  breaker.Measurer = &Surface();
  breaker.Font = &FontOf(i);
  breaker.Percent = display_.Percent;
  int64_t avail = int64_t{cell_rect_.Width()} - margin_;
  if (avail < breaker.Measurer->TextWidth("お", *breaker.Font, display_.Percent)) {
    breaker.Narrow = true;
  } else {
    const TLineIcons icons = LineIcons(i);
    if (icons.Count > 0) avail = avail + margin_ - icons.Width;
  }
  breaker.Avail = ClampCoord(avail);
  return breaker;
}

TLineRows TCellLineList::MeasureRows(const TLine& line, const TRowBreaker& breaker, int32_t cap,
                                     bool* estimated) const {
  *estimated = false;
  TLineRows result;
  if (breaker.Narrow) {
    // Two bytes a row. Even a one-byte or empty line keeps one row, or it would vanish.
    result.Rows = ClampHeight(std::max<int64_t>(SjisWidth(line->Text) / 2, 1));
    result.FirstLength = 2;
    return result;
  }
  const std::string_view text = line->Text;
  std::size_t pos = 0;
  int64_t rows = 0;
  int64_t first_length = 0;
  while (pos < text.size()) {
    // pos > 0 always holds here (every row takes a character); it is the divisor below.
    if (pos > 0 && (rows >= cap || pos >= kMaxMeasuredBytes)) {
      // The rest in proportion to the measured part: ceil(remaining * rows / pos), written so
      // that it cannot overflow.
      const auto remaining = static_cast<int64_t>(text.size() - pos);
      const auto measured = static_cast<int64_t>(pos);
      rows +=
          remaining / measured * rows + ((remaining % measured) * rows + measured - 1) / measured;
      *estimated = true;
      break;
    }
    int64_t width = 0;
    pos = breaker.RowEnd(text, pos, &width);
    if (rows == 0) first_length = width;
    ++rows;
  }
  // An empty line still takes one row.
  result.Rows = ClampHeight(std::max<int64_t>(rows, 1));
  result.FirstLength = ClampHeight(first_length);
  return result;
}

TLineRows TCellLineList::LineRows(int32_t i) const {
  if (!IsLine(i)) return TLineRows{};
  const TLine& line = lines_[static_cast<std::size_t>(i)];
  const int32_t cap = ClampHeight(std::max<int64_t>(int64_t{cell_rect_.Height()} + 2, 2));
  if (row_caches_.size() < count_) row_caches_.resize(count_);
  TRowCache& cache = row_caches_[static_cast<std::size_t>(i)];
  if (cache.Generation == generation_ && cache.CellWidth == cell_rect_.Width() &&
      (!cache.Estimated || cache.Cap == cap)) {
    return cache.Result;
  }
  bool estimated = false;
  const TLineRows result = MeasureRows(line, BreakerOf(i), cap, &estimated);
  cache = TRowCache{generation_, cell_rect_.Width(), cap, estimated, result};
  return result;
}

int32_t TCellLineList::LineHeight(int32_t i) const {
  if (Count() == 0) return 0;
  int64_t height = RowHeight(i);
  if (!IsLine(i)) return ClampHeight(height);
  if (display_.Wrap) height *= LineRows(i).Rows;
  const TLineIcons icons = LineIcons(i);
  if (icons.Count > 0) {
    height = std::max<int64_t>(height, int64_t{display_.Spacing} + kSmallIconSize);
    if (icons.Shown[kIconPicture]) {
      height = std::max<int64_t>(height, lines_[static_cast<std::size_t>(i)]->Info.Picture->Height);
    }
  }
  return ClampHeight(height);
}

int32_t TCellLineList::LineTop(int32_t k) const {
  int64_t y = cell_rect_.Top;
  if (k <= top_line_) return cell_rect_.Top;
  const int32_t last_line = std::min(k, Count());
  for (int32_t j = top_line_; j < last_line; ++j) y += LineHeight(j);
  // Positions past the last line all have the height of an empty line.
  const int32_t outside_from = std::max(Count(), top_line_);
  if (k > outside_from) y += int64_t{k - outside_from} * LineHeight(Count());
  return ClampCoord(y);
}

TRect TCellLineList::LineRect(int32_t k) const {
  const int64_t top = LineTop(k);
  const int64_t bottom = std::min<int64_t>(top + LineHeight(k), cell_rect_.Bottom);
  return MakeRect(cell_rect_.Left, top, cell_rect_.Right, bottom);
}

TLineHit TCellLineList::LineAt(int32_t y) const {
  if (Count() == 0 || y < cell_rect_.Top) return TLineHit{};
  const int64_t offset = int64_t{y} - cell_rect_.Top;
  int64_t sum = 0;
  for (int32_t k = std::max(top_line_, 0); k < Count(); ++k) {
    sum += LineHeight(k);
    if (sum >= offset) return TLineHit{k, sum > int64_t{cell_rect_.Height()} + 1};
  }
  return TLineHit{};
}

int32_t TCellLineList::LineAtPoint(int32_t x, int32_t y) const {
  if (x < cell_rect_.Left || x > cell_rect_.Right) return -1;
  return LineAt(y).Index;
}

int32_t TCellLineList::LastVisibleLine() const {
  int32_t last = top_line_;
  int64_t sum = 0;
  for (int32_t k = std::max(top_line_, 0); k < Count(); ++k) {
    sum += LineHeight(k);
    if (sum > cell_rect_.Height()) break;
    last = k;
  }
  return last;
}

TLineClick TCellLineList::Click(int32_t x, int32_t y) {
  if (x < cell_rect_.Left || x > cell_rect_.Right) return TLineClick{};
  const TLineHit hit = LineAt(y);
  if (hit.Index < 0) return TLineClick{};
  if (hit.Index == selected_) return TLineClick{true, true};
  active_ = true;
  selected_ = hit.Index;
  // Scrolling brings more of a partly hidden line into view, but only for a line below the
  // first shown one: scrolling away the first line itself (a line taller than the cell)
  // would hide the line just clicked and select the next one.
  if (hit.PartlyHidden && hit.Index > top_line_ && CanScrollDown()) {
    ++top_line_;
    selected_ = std::max(selected_, top_line_);
  }
  PaintAll();
  return TLineClick{true, false};
}

void TCellLineList::SelectLine(int32_t k) {
  if (!IsLine(k)) return;
  const int32_t old_selected = selected_;
  const int32_t old_top = top_line_;
  selected_ = k;
  if (k < top_line_) top_line_ = k;
  while (LastVisibleLine() < k) ++top_line_;
  if (top_line_ == old_top) {
    PaintLines(old_selected, k);
  } else {
    PaintAll();
  }
}

void TCellLineList::ScrollDown() {
  if (!CanScrollDown()) return;
  ++top_line_;
  selected_ = std::max(selected_, top_line_);
  PaintAll();
}

void TCellLineList::ScrollUp() {
  if (!CanScrollUp()) return;
  --top_line_;
  selected_ = std::min(selected_, LastVisibleLine());
  PaintAll();
}

void TCellLineList::ResetPosition() noexcept {
  selected_ = 0;
  top_line_ = 0;
}

void TCellLineList::Repaint(const TRect& rect) const {
  if (!rect.Empty()) Surface().Invalidate(rect);
}

void TCellLineList::PaintAll() const { Repaint(cell_rect_); }

void TCellLineList::PaintLines(int32_t a, int32_t b) const {
  // A position far outside the list adds nothing but empty-line heights below the cell.
  const int32_t low = std::clamp(std::min(a, b), -1, Count());
  const int32_t high = std::clamp(std::max(a, b), -1, Count());
  const int64_t top = LineTop(low);
  int64_t bottom = top;
  for (int32_t k = low; k <= high && bottom < cell_rect_.Bottom; ++k) bottom += LineHeight(k);
  Repaint(MakeRect(cell_rect_.Left, top, cell_rect_.Right, bottom).Intersect(cell_rect_));
}

void TCellLineList::Paint(const TRect& clip_rect, TLinePaintSink& sink) const {
  if (measurer_ == nullptr) return;
  // A list never paints outside its own cell, whatever the caller's clip.
  const TRect clip = clip_rect.Intersect(cell_rect_);
  if (clip.Empty()) return;
  int64_t y = cell_rect_.Top;
  int32_t i = top_line_;
  while (y < clip.Bottom) {
    const int32_t height = LineHeight(i);
    if (height <= 0 && !IsLine(i)) {
      // Empty lines without height (a zero-height font and no spacing) would never reach the
      // clip's bottom: fill the rest at once.
      const TRect rest = MakeRect(cell_rect_.Left, y, cell_rect_.Right, clip.Bottom);
      if (!rest.Intersect(clip).Empty()) sink.FillRect(rest.Intersect(clip), color_);
      break;
    }
    const TRect line_rect = MakeRect(cell_rect_.Left, y, cell_rect_.Right, y + height);
    const TRect row = line_rect.Intersect(clip);
    if (!row.Empty()) {
      if (IsLine(i)) {
        PaintLine(i, line_rect, row, clip, sink);
      } else {
        sink.FillRect(row, color_);
      }
    }
    y += height;
    ++i;
  }
  if (active_ && IsLine(selected_) && selected_ >= top_line_) {
    const int64_t top = LineTop(selected_);
    const TRect focus =
        MakeRect(cell_rect_.Left, top, cell_rect_.Right, top + LineHeight(selected_))
            .Intersect(cell_rect_);
    if (!focus.Intersect(clip).Empty()) sink.DrawFocusRect(focus, clip);
  }
}

// Every position comes from the whole line, never from the clipped part: a repaint of part of
// a cell must put each pixel where a full repaint puts it.
void TCellLineList::PaintLine(int32_t i, const TRect& line_rect, const TRect& row,
                              const TRect& clip, TLinePaintSink& sink) const {
  const TLine& line = lines_[static_cast<std::size_t>(i)];
  const TLineIcons icons = LineIcons(i);
  const int64_t height = line_rect.Height();
  const int64_t x =
      int64_t{line_rect.Left} + icons.Width + int64_t{margin_} * (icons.Count > 0 ? 2 : 1);
  if (x < row.Right) {
    const bool highlighted = i == selected_ && active_;
    sink.FillRect(row, highlighted ? display_.SelectColor : color_);
    const TFontSpec& font = FontOf(i);
    // The marks stand in for hidden icons.
    const bool strike_out = line->Info.Checked && !display_.IconVisible[kIconChecked];
    const bool underline = line->Info.HasMemo && !display_.IconVisible[kIconMemo];
    const std::string_view text = line->Text;
    const auto draw_single = [&](std::string_view piece) {
      if (piece.empty()) return;
      const int64_t font_height = std::llabs(int64_t{Surface().FontHeight(font, display_.Percent)});
      const int64_t top = line_rect.Top + (height - font_height + 1) / 2;
      sink.DrawText(row, ClampCoord(x), ClampCoord(top), piece, font, display_.Percent, strike_out,
                    underline);
    };
    if (!display_.Wrap) {
      draw_single(VisiblePrefix(text, Surface(), font, display_.Percent, row.Right - x));
    } else {
      const int32_t rows = LineRows(i).Rows;
      const TRowBreaker breaker = BreakerOf(i);
      int64_t ignored = 0;
      if (rows == 1) {
        draw_single(text.substr(0, breaker.RowEnd(text, 0, &ignored)));
      } else if (const int64_t share = height / rows; share > 0) {
        // Each row shows the piece the row breaking gave it, so nothing is skipped when rows
        // hold different byte counts.
        std::size_t pos = 0;
        for (int32_t k = 0; k < rows && pos < text.size(); ++k) {
          const int64_t top = line_rect.Top + k * share;
          if (top >= clip.Bottom) break;
          const std::size_t end = breaker.RowEnd(text, pos, &ignored);
          const TRect row_rect =
              MakeRect(line_rect.Left, top, line_rect.Right, top + share).Intersect(clip);
          if (!row_rect.Empty()) {
            sink.DrawText(row_rect, ClampCoord(x), ClampCoord(top + display_.Spacing / 2),
                          text.substr(pos, end - pos), font, display_.Percent, strike_out,
                          underline);
          }
          pos = end;
        }
      }
    }
  } else {
    // The icons fill the row; nothing of the text shows.
    sink.FillRect(row, color_);
  }
  if (icons.Count == 0) return;
  int64_t icon_x = int64_t{line_rect.Left} + margin_;
  for (int32_t slot = 0; slot < kIconSlotCount && icon_x < row.Right; ++slot) {
    if (!icons.Shown[static_cast<std::size_t>(slot)]) continue;
    if (slot != kIconPicture) {
      // Centred when the row has room for it, else from the row's top.
      const int64_t top =
          height > 15 ? line_rect.Top + (height - kSmallIconSize) / 2 : line_rect.Top;
      sink.DrawIcon(row, slot, ClampCoord(icon_x), ClampCoord(top));
      icon_x += kSmallIconSize;
    } else {
      const TIconFile& picture = *line->Info.Picture;
      if (height >= picture.Height) {
        sink.DrawPicture(row, picture, ClampCoord(icon_x),
                         ClampCoord(line_rect.Top + (height - picture.Height) / 2));
      }
      icon_x += std::max(picture.Width, 0);
    }
  }
}

}  // namespace pelo
