#pragma once

// The day table: one line list per day of a four-year window, filled with the lines of the
// day packs that pass the schedule's filter, plus the lookups between lines and entries and
// the display settings every cell shares.

#include <array>
#include <cstdint>
#include <memory>

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
  static constexpr int32_t kCellCount = kYearCount * 12 * 31;  // 1488

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

  // The calendar the lines' codes read their eras and old-calendar dates from (the schedule's);
  // the lines change with the next Fill.
  TCalendarKind CalendarKind() const noexcept { return calendar_kind_; }
  void SetCalendarKind(TCalendarKind kind) noexcept { calendar_kind_ = kind; }

  // Remembers the packs (ignored when null) and refills every cell: one line per filtered
  // pack of the window, in pack-list order; then every cell's selection and first line to 0.
  void Fill(const TDatePackList* packs);
  const TDatePackList* Packs() const noexcept { return packs_; }

  // The line list of a day; null outside the window or for a month or day out of 1..12 /
  // 1..31 (cells of days that do not exist, such as 2/30, exist and stay empty).
  TCellLineList* Cell(TDateRec date) noexcept;
  const TCellLineList* Cell(TDateRec date) const noexcept;

  // The day nearest to date (date, date - 1, date + 1, date - 2, ...) whose cell shows a line
  // of the entry at position; false (date unchanged) when none in the window or when date is
  // no real day. Near an end of the window (or outside it) the search goes on in the other
  // direction until that one has left the window too.
  bool FindEntryDate(int32_t position, TDateRec& date) const;
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
  template <typename F>
  void ForEachCell(F&& f);

  std::array<std::unique_ptr<TCellLineList>, kCellCount> cells_;
  const TDatePackList* packs_ = nullptr;
  TFilterSet filter_ = InitialScheduleSettings().Filter;
  TCalendarKind calendar_kind_ = TCalendarKind::kClassic;
  TDateRec focus_date_;
  int32_t focus_entry_ = -1;
  int32_t first_year_ = 0;
};

}  // namespace pelo
