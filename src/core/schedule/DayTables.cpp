#include "schedule/DayTables.h"

#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "entries/Entries.h"
#include "entries/Times.h"

namespace pelo {

namespace {

// What a line shows of its entry besides the text.
TLineInfo LineInfoOf(const TEntry& entry) {
  TLineInfo info;
  info.Font = entry.Font.get();
  info.Checked = entry.IsChecked();
  info.RankA = entry.Category == 0;
  info.RankB = entry.Category == 1;
  info.HasMemo = entry.NoteLines != nullptr;
  info.HasRelFiles = entry.Extras != nullptr;
  info.HasPicture = entry.Icon != nullptr;
  info.Picture = entry.Icon.get();
  info.Entry = &entry;
  return info;
}

// Where a line stands among the lines of its day by time: its first start time in minutes
// from midnight; a line that shows no time goes after every timed one.
int32_t TimeOrderKey(const TDatePack& pack) noexcept {
  const TEntry& entry = *pack.Entry;
  if (pack.Kind == kPackDerived || !entry.Times || entry.Times->Count() == 0) {
    return std::numeric_limits<int32_t>::max();
  }
  return ClockMinutes(entry.Times->Item(0)->Start);
}

// How far ahead of the filing the entries are fetched: some dozens of entries of a few packs.
constexpr std::size_t kEntryLookahead = 256;
// The same for the lines of a cell, which take longer each.
constexpr std::size_t kCellLookahead = 8;

}  // namespace

TCellDisplay CellDisplayOf(const TScheduleSettings& settings, const TFontSpec& entry_font,
                           uint32_t select_color) {
  TCellDisplay display;
  display.Wrap = settings.Wrap;
  display.Spacing = settings.Spacing;
  display.Percent = settings.Percent;
  display.IconVisible[kIconChecked] = settings.CheckedIconVisible;
  display.IconVisible[kIconRankA] = settings.RankIconVisible;
  display.IconVisible[kIconRankB] = settings.RankIconVisible;
  display.IconVisible[kIconMemo] = settings.MemoIconVisible;
  display.IconVisible[kIconRelFiles] = settings.RelFilesIconVisible;
  display.IconVisible[kIconMark] = settings.MarkIconVisible;
  display.IconVisible[kIconPicture] = settings.DataIconVisible;
  display.Font = entry_font;
  display.SelectColor = select_color;
  return display;
}

TDayTable::TDayTable(int32_t first_year, TTextMeasurer* measurer, uint32_t select_color)
    : cell_first_(kCellCount + 1, 0), first_year_(first_year) {
  for (auto& cell : cells_) cell = std::make_unique<TCellLineList>(measurer, select_color);
}

int32_t TDayTable::CellIndex(TDateRec date) const noexcept {
  const int32_t year = date.Year - first_year_;
  if (year < 0 || year >= kYearCount || date.Month < 1 || date.Month > 12 || date.Day < 1 ||
      date.Day > kCellsPerMonth) {
    return -1;
  }
  return (year * 12 + date.Month - 1) * kCellsPerMonth + date.Day - 1;
}

TCellLineList* TDayTable::Cell(TDateRec date) {
  const int32_t index = CellIndex(date);
  return index < 0 ? nullptr : BuiltCell(index);
}

const TCellLineList* TDayTable::Cell(TDateRec date) const {
  const int32_t index = CellIndex(date);
  return index < 0 ? nullptr : BuiltCell(index);
}

void TDayTable::Fill(const TDatePackList* packs) {
  if (packs != nullptr) packs_ = packs;
  for (std::size_t c = 0; c < cells_.size(); ++c) {
    if (built_[c]) cells_[c]->Clear();
  }
  built_.fill(false);
  filed_by_time_ = sort_by_time_;
  filed_kind_ = calendar_kind_;
  FilePacks();
}

void TDayTable::FilePacks() {
  // A counting sort by cell, which keeps the pack-list order within one: a first pass counts
  // each cell's packs, a second puts them in place. The second goes by month: hundreds of
  // thousands of packs written to 48 places run much faster than to 1488, and a screen shows
  // the cells of a month or two. SortMonth puts a month's packs in their cells when they are
  // first asked for.
  std::fill(cell_first_.begin(), cell_first_.end(), 0);
  cell_packs_.clear();
  month_sorted_.fill(false);
  entry_lines_.clear();
  if (packs_ == nullptr) return;
  filed_generation_ = packs_->Generation();
  const std::vector<TDatePack>& packs = packs_->Packs();
  const TPackFilter passes(filter_);
  std::vector<int16_t>& cell_of = pack_cells_;
  cell_of.assign(packs.size(), -1);
  // The packs of one entry stand together: its part of the filter is run once.
  const TEntry* entry = nullptr;
  bool entry_passes = false;
  for (std::size_t p = 0; p < packs.size(); ++p) {
    const TDatePack& pack = packs[p];
    // The entries lie apart in memory, and the walk that made the packs has pushed them out of
    // the caches: the entry of a pack further on is asked for before its test needs it.
    if (p + kEntryLookahead < packs.size()) {
      if (const TEntry* ahead = packs[p + kEntryLookahead].Entry) __builtin_prefetch(&ahead->Marks);
    }
    if (pack.Entry != entry) {
      entry = pack.Entry;
      entry_passes = entry != nullptr && passes.PassesEntry(*entry);
    }
    const int32_t index = CellIndex(pack.Date());
    if (index < 0 || !entry_passes || !passes.PassesKind(pack.Kind)) continue;
    cell_of[p] = static_cast<int16_t>(index);
    ++cell_first_[static_cast<std::size_t>(index) + 1];
  }
  // The packs come in entry-list order: the last one's entry stands furthest down.
  if (!packs.empty() && packs.back().Entry != nullptr) {
    entry_lines_.resize(static_cast<std::size_t>(std::max(0, packs.back().Entry->ListIndex + 1)));
  }
  for (std::size_t c = 1; c < cell_first_.size(); ++c) cell_first_[c] += cell_first_[c - 1];
  cell_packs_.resize(static_cast<std::size_t>(cell_first_.back()));
  std::array<int32_t, kMonthCount> next{};
  std::size_t largest_month = 0;
  for (std::size_t m = 0; m < next.size(); ++m) {
    next[m] = cell_first_[m * kCellsPerMonth];
    largest_month =
        std::max(largest_month, static_cast<std::size_t>(cell_first_[(m + 1) * kCellsPerMonth] -
                                                         cell_first_[m * kCellsPerMonth]));
  }
  month_buffer_.resize(largest_month);
  for (std::size_t p = 0; p < packs.size(); ++p) {
    if (cell_of[p] >= 0) {
      cell_packs_[static_cast<std::size_t>(
          next[static_cast<std::size_t>(cell_of[p] / kCellsPerMonth)]++)] = static_cast<int32_t>(p);
    }
  }
}

void TDayTable::SortMonth(int32_t month) const noexcept {
  const auto m = static_cast<std::size_t>(month);
  if (month_sorted_[m]) return;
  month_sorted_[m] = true;
  // The month's packs, in pack-list order, go to their cells in that order.
  const auto first = cell_packs_.begin() + cell_first_[m * kCellsPerMonth];
  const auto end = cell_packs_.begin() + cell_first_[(m + 1) * kCellsPerMonth];
  std::copy(first, end, month_buffer_.begin());
  std::array<int32_t, kCellsPerMonth> next{};
  std::copy_n(cell_first_.begin() + static_cast<std::ptrdiff_t>(m * kCellsPerMonth), kCellsPerMonth,
              next.begin());
  const int32_t first_cell = month * kCellsPerMonth;
  for (auto p = month_buffer_.begin(); p != month_buffer_.begin() + (end - first); ++p) {
    const int32_t day = pack_cells_[static_cast<std::size_t>(*p)] - first_cell;
    cell_packs_[static_cast<std::size_t>(next[static_cast<std::size_t>(day)]++)] = *p;
  }
}

std::span<const int32_t> TDayTable::PacksOfCell(int32_t index) const noexcept {
  // A pack list rebuilt since the Fill (as it is while the entry list builds it) no longer
  // holds the filed packs where they were.
  if (packs_ == nullptr || packs_->Generation() != filed_generation_) return {};
  SortMonth(index / kCellsPerMonth);
  const auto first = static_cast<std::size_t>(cell_first_[static_cast<std::size_t>(index)]);
  const auto end = static_cast<std::size_t>(cell_first_[static_cast<std::size_t>(index) + 1]);
  return std::span(cell_packs_).subspan(first, end - first);
}

std::vector<const TDatePack*> TDayTable::PacksOf(TDateRec date) const {
  std::vector<const TDatePack*> packs;
  const int32_t index = CellIndex(date);
  if (index < 0) return packs;
  for (const int32_t p : PacksOfCell(index)) {
    packs.push_back(&packs_->Packs()[static_cast<std::size_t>(p)]);
  }
  return packs;
}

bool TDayTable::CellShowsEntry(int32_t index, int32_t position) const noexcept {
  // The cell's lines are its filed packs in some order: no need to make them.
  for (const int32_t p : PacksOfCell(index)) {
    const TEntry* entry = packs_->Packs()[static_cast<std::size_t>(p)].Entry;
    if (entry != nullptr && entry->ListIndex == position) return true;
  }
  return false;
}

TCellLineList* TDayTable::BuiltCell(int32_t index) const {
  TCellLineList& cell = *cells_[static_cast<std::size_t>(index)];
  if (built_[static_cast<std::size_t>(index)]) return &cell;
  built_[static_cast<std::size_t>(index)] = true;
  std::vector<int32_t> keys;                                  // only to order the lines by time
  const std::span<const int32_t> filed = PacksOfCell(index);  // empty without a pack list
  const auto pack_at = [&](std::size_t i) -> const TDatePack& {
    return packs_->Packs()[static_cast<std::size_t>(filed[i])];
  };
  for (std::size_t i = 0; i < filed.size(); ++i) {
    // A cell's packs lie far apart in the pack list, and so do their entries: both are asked
    // for some lines ahead.
    if (i + kCellLookahead < filed.size()) __builtin_prefetch(&pack_at(i + kCellLookahead));
    if (i + kCellLookahead / 2 < filed.size()) {
      if (const TEntry* ahead = pack_at(i + kCellLookahead / 2).Entry) {
        __builtin_prefetch(&ahead->ListIndex);
      }
    }
    const TDatePack& pack = pack_at(i);
    cell.AddShared(LineOf(pack));
    if (filed_by_time_) keys.push_back(TimeOrderKey(pack));
  }
  if (filed_by_time_) cell.OrderLines(keys);
  cell.ResetPosition();
  return &cell;
}

std::shared_ptr<const TCellLine> TDayTable::LineOf(const TDatePack& pack) const {
  const TEntry& entry = *pack.Entry;
  const auto make = [&] {
    return std::make_shared<const TCellLine>(
        TCellLine{LineText(pack, filed_kind_), LineInfoOf(entry)});
  };
  if (pack.Kind == kPackDerived) return make();
  const auto position = static_cast<std::size_t>(entry.ListIndex);
  if (position >= entry_lines_.size()) return make();
  TEntryLine& slot = entry_lines_[position];
  if (slot.Entry == nullptr) {
    slot.Entry = &entry;
    slot.Fixed = HasFixedLineText(entry);
  }
  // Another entry at that position (the list was edited since the packs were made) shares
  // nothing.
  if (slot.Entry != &entry || !slot.Fixed) return make();
  if (!slot.Line) slot.Line = make();
  return slot.Line;
}

std::optional<TDateRec> TDayTable::FindEntryDate(int32_t position, TDateRec date) const {
  const auto shows = [&](TDateRec day) {
    const int32_t index = CellIndex(day);
    return index >= 0 && CellShowsEntry(index, position);
  };
  // Only a real day can be walked from: the days around a null date are null too.
  if (CheckCalendarRange(date) != kDateUsable) return std::nullopt;
  const int32_t last_year = first_year_ + kYearCount - 1;
  if (shows(date)) return date;
  // Each direction goes on while it can still reach the window, so that near one end of it
  // (or from outside it) the other direction is searched to its end. The forward day only
  // grows and the backward day only shrinks, so the walk ends after the window's four years
  // at the latest.
  TDateRec back = date;
  TDateRec forward = date;
  for (;;) {
    const bool back_open = back.Year >= first_year_;
    const bool forward_open = forward.Year <= last_year;
    if (!back_open && !forward_open) return std::nullopt;
    if (back_open) {
      back = AddDays(back, -1);
      if (shows(back)) return back;
    }
    if (forward_open) {
      forward = AddDays(forward, 1);
      if (shows(forward)) return forward;
    }
  }
}

int32_t TDayTable::LineOfEntry(TDateRec date, int32_t position) const {
  const TCellLineList* cell = Cell(date);
  if (cell == nullptr) return -1;
  for (int32_t i = 0; i < cell->Count(); ++i) {
    const TEntry* entry = cell->Info(i).Entry;
    if (entry != nullptr && entry->ListIndex == position) return i;
  }
  return -1;
}

void TDayTable::FocusEntry(int32_t position) {
  const std::optional<TDateRec> day = FindEntryDate(position, focus_date_);
  if (!day) return;
  focus_date_ = *day;
  focus_entry_ = position;
  if (TCellLineList* cell = Cell(*day)) cell->SetSelected(LineOfEntry(*day, position));
}

void TDayTable::FocusDate(TDateRec date) {
  if (date.Year < first_year_ || date.Year >= first_year_ + kYearCount) return;
  focus_date_ = date;
  const TCellLineList* cell = Cell(date);
  const TEntry* first = cell != nullptr && cell->Count() > 0 ? cell->Info(0).Entry : nullptr;
  focus_entry_ = first != nullptr ? first->ListIndex : -1;
}

void TDayTable::SetDisplay(const TCellDisplay& display) {
  // Made or not, every cell keeps its display across refills.
  for (auto& cell : cells_) cell->SetDisplay(display);
}
}  // namespace pelo
