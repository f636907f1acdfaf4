#pragma once

// The day table: one line list per day of a four-year window, filled with the lines of the
// day packs that pass the schedule's filter, plus the lookups between lines and entries and
// the display settings every cell shares.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "datafiles/DatePackLists.h"
#include "schedule/CellLineLists.h"
#include "schedule/ScheduleSettings.h"
#include "text/Fonts.h"
#include "text/SmallSets.h"

namespace pelo {

// The cells' part of a schedule's settings. entry_font is the entry font as the schedule
// draws it (in the entry colour), select_color the selected line's background as painted.
// One setting governs both rank icons.
TCellDisplay CellDisplayOf(const TScheduleSettings& settings, const TFontSpec& entry_font,
                           uint32_t select_color);

class TDayTable {
 public:
  static constexpr int32_t kYearCount = 4;
  static constexpr int32_t kMonthCount = kYearCount * 12;
  static constexpr int32_t kCellsPerMonth = 31;  // a cell for every day a month may have
  static constexpr int32_t kCellCount = kMonthCount * kCellsPerMonth;  // 1488

  // All cells are made here, on the schedule's drawing surface and with the highlight of its
  // screen (see TCellLineList), and live as long as the table. The window starts at
  // first_year (the schedule's: the year before today's), the filter as a new schedule's.
  explicit TDayTable(int32_t first_year, TTextMeasurer* measurer = nullptr,
                     uint32_t select_color = kSelectColorDeep);

  int32_t FirstYear() const noexcept { return first_year_; }
  // Moves the window; the cells keep their lines until the next Fill.
  void SetFirstYear(int32_t year) noexcept { first_year_ = year; }

  const TFilterSet& Filter() const noexcept { return filter_; }
  void SetFilter(const TFilterSet& filter) noexcept { filter_ = filter; }

  // Each day's lines by their first time instead of in pack-list order: timed lines first,
  // earliest on top, then the untimed ones (derived days among them, which show no time);
  // lines of equal time keep their pack-list order. Takes effect with the next Fill.
  bool SortByTime() const noexcept { return sort_by_time_; }
  void SetSortByTime(bool sort) noexcept { sort_by_time_ = sort; }

  // The calendar the lines' codes read their eras and old-calendar dates from (the schedule's);
  // the lines change with the next Fill.
  TCalendarKind CalendarKind() const noexcept { return calendar_kind_; }
  void SetCalendarKind(TCalendarKind kind) noexcept { calendar_kind_ = kind; }

  // Remembers the packs (ignored when null) and refills every cell: one line per filtered
  // pack of the window, in pack-list order or by time (SortByTime); then every cell's
  // selection and first line to 0. A cell first asked for after the pack list changed (and
  // before the next Fill) shows no lines: its packs are gone.
  //
  // A cell's lines are made when the cell is first asked for after a Fill (a screen shows a
  // few dozen of the 1488); Fill only files the packs by cell. So even the const lookups
  // change the cells: a table is used by one thread only.
  void Fill(const TDatePackList* packs);
  const TDatePackList* Packs() const noexcept { return packs_; }

  // The line list of a day; null outside the window or for a month or day out of 1..12 /
  // 1..31 (cells of days that do not exist, such as 2/30, exist and stay empty).
  TCellLineList* Cell(TDateRec date);
  const TCellLineList* Cell(TDateRec date) const;

  // The day nearest to date (date, date - 1, date + 1, date - 2, ...) whose cell shows a line
  // of the entry at position; none when none in the window or when date is no real day. Near an end
  // of the window (or outside it) the search goes on in the other direction until that one has left
  // the window too.
  std::optional<TDateRec> FindEntryDate(int32_t position, TDateRec date) const;
  // The first line of date's cell that shows the entry at position; -1 when none does.
  int32_t LineOfEntry(TDateRec date, int32_t position) const;
  // Moves the focus to the nearest day showing the entry and selects its line there.
  void FocusEntry(int32_t position);
  // In the window: the focus date becomes date and the focus entry its first line's entry.
  void FocusDate(TDateRec date);
  TDateRec FocusedDate() const noexcept { return focus_date_; }
  int32_t FocusedEntry() const noexcept { return focus_entry_; }

  // Hands the display to every cell (the cells keep it across refills).
  void SetDisplay(const TCellDisplay& display);

 private:
  int32_t CellIndex(TDateRec date) const noexcept;
  // Files the packs that pass the filter by cell: by month at once, by cell within a month
  // when a cell of that month is first asked for (SortMonth).
  void FilePacks();
  void SortMonth(int32_t month) const noexcept;
  // The positions in the pack list of the packs filed in cell index, in pack-list order.
  std::span<const int32_t> PacksOfCell(int32_t index) const noexcept;
  bool CellShowsEntry(int32_t index, int32_t position) const noexcept;
  // Cell index, its lines made first when they are not yet.
  TCellLineList* BuiltCell(int32_t index) const;
  std::shared_ptr<const TCellLine> LineOf(const TDatePack& pack) const;

  std::array<std::unique_ptr<TCellLineList>, kCellCount> cells_;
  // Whether a cell's lines were made since the last Fill; an unmade cell holds no lines.
  mutable std::array<bool, kCellCount> built_{};
  // The filed packs of cell c are cell_packs_[cell_first_[c] .. cell_first_[c + 1]) once
  // its month is sorted; until then the month's packs stand in its range in pack-list order.
  std::vector<int32_t> cell_first_;
  mutable std::vector<int32_t> cell_packs_;
  mutable std::array<bool, kMonthCount> month_sorted_{};
  // The cell of each pack (-1: not filed), and room for the packs of the largest month.
  std::vector<int16_t> pack_cells_;
  static_assert(kCellCount <= INT16_MAX);
  mutable std::vector<int32_t> month_buffer_;
  uint64_t filed_generation_ = 0;  // the pack list's when they were filed
  // The order and calendar of the last Fill: later changes wait for the next one.
  bool filed_by_time_ = false;
  TCalendarKind filed_kind_ = TCalendarKind::kClassic;
  // By the position of the entry: whether its lines read the same on every day and, once
  // made, that line, shared by the cells of all its days until the next Fill.
  struct TEntryLine {
    const TEntry* Entry = nullptr;  // null: not looked at yet
    bool Fixed = false;
    std::shared_ptr<const TCellLine> Line;
  };
  mutable std::vector<TEntryLine> entry_lines_;
  const TDatePackList* packs_ = nullptr;
  TFilterSet filter_ = InitialScheduleSettings().Filter;
  TCalendarKind calendar_kind_ = TCalendarKind::kClassic;
  TDateRec focus_date_;
  int32_t focus_entry_ = -1;
  int32_t first_year_ = 0;
  bool sort_by_time_ = false;
};

}  // namespace pelo
