#include "schedule/DayTables.h"

#include "entries/Entries.h"

namespace pelo {

namespace {

// What a line shows of its entry besides the text.
TLineInfo LineInfoOf(const TEntry& entry) {
  TLineInfo info;
  info.Font = entry.Font ? &*entry.Font : nullptr;
  info.Checked = entry.IsChecked();
  info.RankA = entry.Category == 0;
  info.RankB = entry.Category == 1;
  info.HasMemo = entry.NoteLines != nullptr;
  info.HasRelFiles = entry.Extras != nullptr;
  info.HasPicture = entry.Icon.has_value();
  info.Picture = entry.Icon ? &*entry.Icon : nullptr;
  info.Entry = &entry;
  return info;
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
  if (packs_ != nullptr) {
    const TPackFilter passes(filter_);
    // The packs of one entry stand together, and most entries read the same on every day:
    // their line and line record are made once per entry, not once per day.
    const TEntry* entry = nullptr;
    TLineInfo info;
    bool fixed = false;
    std::string fixed_line;
    bool have_fixed_line = false;
    for (const TDatePack& pack : packs_->Packs()) {
      TCellLineList* cell = Cell(pack.Date());
      if (cell == nullptr || !passes.Passes(pack)) continue;
      if (pack.Entry != entry) {
        entry = pack.Entry;
        info = LineInfoOf(*entry);
        fixed = HasFixedLineText(*entry);
        have_fixed_line = false;
      }
      if (fixed && pack.Kind != kPackDerived) {
        if (!have_fixed_line) {
          fixed_line = LineText(pack, calendar_kind_);
          have_fixed_line = true;
        }
        cell->AddCopy(fixed_line, info);
      } else {
        cell->Add(LineText(pack, calendar_kind_), info);
      }
    }
  }
  ForEachCell([](TCellLineList& cell) { cell.ResetPosition(); });
}

bool TDayTable::FindEntryDate(int32_t position, TDateRec& date) const {
  const auto shows = [&](TDateRec day) {
    const TCellLineList* cell = Cell(day);
    if (cell == nullptr) return false;
    for (int32_t i = 0; i < cell->Count(); ++i) {
      const TEntry* entry = cell->Info(i).Entry;
      if (entry != nullptr && entry->ListIndex == position) return true;
    }
    return false;
  };
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

void TDayTable::FocusEntry(int32_t position) {
  TDateRec day = focus_date_;
  if (!FindEntryDate(position, day)) return;
  focus_date_ = day;
  focus_entry_ = position;
  if (packs_ != nullptr) {
    if (TCellLineList* cell = Cell(day))
      cell->SetSelected(packs_->IndexOnDate(day, filter_, position));
  }
}

void TDayTable::FocusDate(TDateRec date) {
  if (date.Year < first_year_ || date.Year >= first_year_ + kYearCount) return;
  focus_date_ = date;
  focus_entry_ = packs_ == nullptr ? -1 : packs_->EntryAt(date, filter_, 0);
}

void TDayTable::SetDisplay(const TCellDisplay& display) {
  ForEachCell([&display](TCellLineList& cell) { cell.SetDisplay(display); });
}
}  // namespace pelo
