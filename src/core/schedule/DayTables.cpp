#include "schedule/DayTables.h"

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
    : first_year_(first_year) {
  for (auto& cell : cells_) cell = std::make_unique<TCellLineList>(measurer, select_color);
}

int32_t TDayTable::CellIndex(TDateRec date) const noexcept {
  const int32_t year = date.Year - first_year_;
  if (year < 0 || year >= kYearCount || date.Month < 1 || date.Month > 12 || date.Day < 1 ||
      date.Day > 31) {
    return -1;
  }
  return (year * 12 + date.Month - 1) * 31 + date.Day - 1;
}

TCellLineList* TDayTable::Cell(TDateRec date) noexcept {
  const int32_t index = CellIndex(date);
  return index < 0 ? nullptr : cells_[index].get();
}

const TCellLineList* TDayTable::Cell(TDateRec date) const noexcept {
  const int32_t index = CellIndex(date);
  return index < 0 ? nullptr : cells_[index].get();
}

template <typename F>
void TDayTable::ForEachCell(F&& f) {
  for (auto& cell : cells_) f(*cell);
}

void TDayTable::Fill(const TDatePackList* packs) {
  if (packs != nullptr) packs_ = packs;
  ForEachCell([](TCellLineList& cell) { cell.Clear(); });
  std::vector<TLineKey> keys;  // only to order the lines by time
  if (packs_ != nullptr) {
    const TPackFilter passes(filter_);
    // The packs of one entry stand together, and most entries read the same on every day:
    // their line record is made once per entry and their text is held once, shared by the
    // cells of all their days.
    const TEntry* entry = nullptr;
    TLineInfo info;
    bool fixed = false;
    std::shared_ptr<const TCellLine> fixed_line;  // the entry's, made on its first day
    for (const TDatePack& pack : packs_->Packs()) {
      const int32_t index = CellIndex(pack.Date());
      if (index < 0 || !passes.Passes(pack)) continue;
      TCellLineList& cell = *cells_[index];
      if (pack.Entry != entry) {
        entry = pack.Entry;
        info = LineInfoOf(*entry);
        fixed = HasFixedLineText(*entry);
        fixed_line.reset();
      }
      if (fixed && pack.Kind != kPackDerived) {
        if (!fixed_line) {
          fixed_line =
              std::make_shared<const TCellLine>(TCellLine{LineText(pack, calendar_kind_), info});
        }
        cell.AddShared(fixed_line);
      } else {
        cell.Add(LineText(pack, calendar_kind_), info);
      }
      if (sort_by_time_) keys.push_back({index, TimeOrderKey(pack)});
    }
  }
  if (sort_by_time_) OrderByTime(keys);
  ForEachCell([](TCellLineList& cell) { cell.ResetPosition(); });
}

void TDayTable::OrderByTime(const std::vector<TLineKey>& lines) {
  // The keys gathered cell by cell, each cell's in the order of its lines (a counting sort by
  // cell, which keeps the order within one): first[c] .. first[c + 1] are cell c's.
  std::vector<int32_t> first(kCellCount + 1, 0);
  for (const TLineKey& line : lines) ++first[static_cast<std::size_t>(line.Cell) + 1];
  for (std::size_t c = 1; c < first.size(); ++c) first[c] += first[c - 1];
  std::vector<int32_t> next(first.begin(), first.end() - 1);
  std::vector<int32_t> keys(lines.size());
  for (const TLineKey& line : lines) keys[next[line.Cell]++] = line.Key;
  for (std::size_t c = 0; c < cells_.size(); ++c) {
    const auto count = static_cast<std::size_t>(first[c + 1] - first[c]);
    if (count > 1) cells_[c]->OrderLines(std::span(keys).subspan(first[c], count));
  }
}

bool TDayTable::FindEntryDate(int32_t position, TDateRec& date) const {
  const auto shows = [&](TDateRec day) { return LineOfEntry(day, position) >= 0; };
  // Only a real day can be walked from: the days around a null date are null too.
  if (CheckCalendarRange(date) != kDateUsable) return false;
  const int32_t last_year = first_year_ + kYearCount - 1;
  if (shows(date)) return true;
  // Each direction goes on while it can still reach the window, so that near one end of it
  // (or from outside it) the other direction is searched to its end. The forward day only
  // grows and the backward day only shrinks, so the walk ends after the window's four years
  // at the latest.
  TDateRec back = date;
  TDateRec forward = date;
  for (;;) {
    const bool back_open = back.Year >= first_year_;
    const bool forward_open = forward.Year <= last_year;
    if (!back_open && !forward_open) return false;
    if (back_open) {
      back = AddDays(back, -1);
      if (shows(back)) {
        date = back;
        return true;
      }
    }
    if (forward_open) {
      forward = AddDays(forward, 1);
      if (shows(forward)) {
        date = forward;
        return true;
      }
    }
  }
}

int32_t TDayTable::LineOfEntry(TDateRec date, int32_t position) const noexcept {
  const TCellLineList* cell = Cell(date);
  if (cell == nullptr) return -1;
  for (int32_t i = 0; i < cell->Count(); ++i) {
    const TEntry* entry = cell->Info(i).Entry;
    if (entry != nullptr && entry->ListIndex == position) return i;
  }
  return -1;
}

void TDayTable::FocusEntry(int32_t position) {
  TDateRec day = focus_date_;
  if (!FindEntryDate(position, day)) return;
  focus_date_ = day;
  focus_entry_ = position;
  if (TCellLineList* cell = Cell(day)) cell->SetSelected(LineOfEntry(day, position));
}

void TDayTable::FocusDate(TDateRec date) {
  if (date.Year < first_year_ || date.Year >= first_year_ + kYearCount) return;
  focus_date_ = date;
  const TCellLineList* cell = Cell(date);
  const TEntry* first = cell != nullptr && cell->Count() > 0 ? cell->Info(0).Entry : nullptr;
  focus_entry_ = first != nullptr ? first->ListIndex : -1;
}

void TDayTable::SetDisplay(const TCellDisplay& display) {
  ForEachCell([&display](TCellLineList& cell) { cell.SetDisplay(display); });
}
}  // namespace pelo
