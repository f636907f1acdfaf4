#pragma once

// The layout model of the schedule grid: the date cursor, the first and last shown dates and
// the mapping between day cells and dates, for weeks, months and free cycles in either
// orientation. The schedule widget holds one and does the painting, the message boxes and
// the day-table refresh; everything here is arithmetic that a test can drive without a
// window.
//
// Day cells count from 1 in both directions; column 0 and row 0 of the grid are the titles.

#include <cstdint>
#include <optional>

#include "calendar/Dates.h"
#include "schedule/ScheduleSettings.h"

namespace pelo {

// The most day cells a grid may hold (a year of 12 x 31).
inline constexpr int32_t kMaxCellCount = 372;

// The refusals of cursor placement, shared by the widget and the tests.
inline constexpr char kCalendarRangeMessage[] =
    "ねりかのカレンダーは 1582/11/1 から 2150/12/31 までです。";
inline constexpr char kNonexistentDateMessage[] = "日付が存在しません。";
inline constexpr char kCannotShowDateMessage[] =
    "この日付は表示できません。ｽｹｼﾞｭｰﾙのﾌﾟﾛﾊﾟﾃｨに矛盾があると思われます。";

// What the widget has to tell the user after a placement. kOutOfRange and kNonexistent come
// with a plain beep, kCannotShow with an exclamation beep; all three in an information box.
enum class TCursorNotice { kNone, kOutOfRange, kNonexistent, kCannotShow };

// The message text of a notice (empty for kNone).
const char* CursorNoticeText(TCursorNotice notice) noexcept;

// The outcome of placing the cursor.
struct TCursorPlacement {
  // The cursor was placed (after kCannotShow on TopDate, or on the first cell showing a day
  // of the calendar when TopDate lies before it). False with kNone: the request was ignored
  // (a property value out of its range or unchanged); false with a notice: refused, nothing
  // changed.
  bool moved = false;
  TCursorNotice notice = TCursorNotice::kNone;
  // CalcTopDate ran: redraw everything and run the year-window check.
  bool relayout = false;
  // TopDate's year differs from before the call.
  bool first_year_changed = false;
  // The grid's new current cell (valid when moved).
  int32_t column = 0;
  int32_t row = 0;
};

// The outcome of a layout rebuild (RebuildLayout and the layout property setters).
struct TRebuildResult {
  // False: the property already had that value and nothing happened.
  bool rebuilt = false;
  // The grid took the new size (column and row counts, left column and top row to 1).
  bool grid_resized = false;
  // The caller asked for a full reload of the day table.
  bool reload = false;
  // TopDate's year differs from before the rebuild.
  bool first_year_changed = false;
  // The final cursor placement on CursorDate.
  TCursorPlacement placement;
};

// Pixel sizes from FitCells.
struct TCellSizes {
  int32_t title_row_height = 0;
  int32_t title_column_width = 0;
  int32_t day_row_height = 0;
  int32_t day_column_width = 0;
};

class TCalendar;

class TScheduleModel {
 public:
  // Grid of 2 x 7 day cells (weeks running down two columns), cursor on the calendar's today.
  // The calendar resolves the dates the cursor is set to; it must outlive the model.
  explicit TScheduleModel(const TCalendar& calendar);

  // --- state ---
  bool Vertical() const noexcept { return layout_.Vertical; }
  int32_t Cycle() const noexcept { return layout_.Cycle; }
  int32_t Term() const noexcept { return layout_.Term; }
  int32_t FixTopMonth() const noexcept { return layout_.FixTopMonth; }
  int32_t FixTopDay() const noexcept { return layout_.FixTopDay; }
  int32_t FixTopWeek() const noexcept { return layout_.FixTopWeek; }
  bool MonthReset() const noexcept { return layout_.MonthReset; }
  const TScheduleLayout& Layout() const noexcept { return layout_; }

  int32_t CellColumns() const noexcept { return cell_columns_; }
  int32_t CellRows() const noexcept { return cell_rows_; }
  int32_t CellCount() const noexcept { return cell_columns_ * cell_rows_; }
  // The grid's counts, the title column and row included.
  int32_t GridColumns() const noexcept { return cell_columns_ + 1; }
  int32_t GridRows() const noexcept { return cell_rows_ + 1; }

  TDateRec CursorDate() const noexcept { return cursor_; }
  TDateRec TopDate() const noexcept { return top_; }
  TDateRec EndDate() const noexcept { return end_; }
  int32_t CursorMonth() const noexcept { return cursor_month_; }
  int32_t Year() const noexcept { return cursor_.Year; }
  int32_t Month() const noexcept { return cursor_.Month; }
  int32_t Day() const noexcept { return cursor_.Day; }

  // The grid's current cell.
  int32_t Col() const noexcept { return col_; }
  int32_t Row() const noexcept { return row_; }
  // A day cell that shows a date: the only kind the grid's current cell may move to.
  bool CellHasDate(int32_t col, int32_t row) const noexcept;

  // --- layout ---
  // Ignored (false) unless both are positive and their product is at most 372.
  bool SetGridSize(int32_t across, int32_t down) noexcept;

  // The model's part of a rebuild: current cell to (1, 1), the product tests, the grid
  // size, CalcTopDate when a reload is asked for, and the cursor placed again on
  // CursorDate. The widget then fits its cells, does the full reload when asked, and
  // shows the placement.
  TRebuildResult RebuildLayout(bool reload);

  // Layout property setters: a different value is stored (with the product tests of the
  // property) and the layout rebuilt without reload; the same value does nothing.
  TRebuildResult SetCycle(int32_t value);
  TRebuildResult SetTerm(int32_t value);

  // Takes the layout as it comes from a settings record; the caller rebuilds.
  void AssignLayout(const TScheduleLayout& layout) noexcept { layout_ = layout; }

  // Title and day cell sizes for a control of the given size.
  TCellSizes FitCells(int32_t control_width, int32_t control_height, int32_t title_height,
                      int32_t line_width, bool disp_title) const noexcept;

  // First and last shown dates from CursorDate and the current cell; CursorMonth.
  void CalcTopDate() noexcept;

  // The date of a day cell; day 0 = an empty cell.
  TDateRec CellToDate(int32_t col, int32_t row) const noexcept;
  // The cell of a date; outside 1..CellColumns / 1..CellRows when the date is not shown.
  int32_t DateToCol(TDateRec date) const noexcept;
  int32_t DateToRow(TDateRec date) const noexcept;

  // --- navigation ---
  // Resolves the date as a pattern against the calendar's today, checks the calendar's range,
  // recomputes the layout when the date is not shown (or, with MonthReset, leaves the
  // cursor's month) and picks the cursor's cell. The widget then shows the notice, runs the
  // year-window check after a relayout (TopDate().Year - 1 against its day table's first year),
  // moves the grid's current cell, repaints and raises its events.
  TCursorPlacement SetCursorDate(TDateRec date);
  // Why SetCursorDate would refuse the date (kOutOfRange, kNonexistent), kNone when it would
  // not: asked before a dialog closes, so that what the user typed is not lost.
  TCursorNotice DateRefusal(TDateRec date) const noexcept;
  TCursorPlacement MoveDate(int32_t years, int32_t months, int32_t days);
  TCursorPlacement JumpToday();
  TCursorPlacement JumpDate(TDateRec date);
  TCursorPlacement SetYear(int32_t year);
  TCursorPlacement SetMonth(int32_t month);
  TCursorPlacement SetDay(int32_t day);

  // Alt+arrow: shifts the view one cycle back (direction < 0) or forward (> 0) keeping the
  // current cell; neither range messages nor a day-table reload. False when nothing moved:
  // FixTopMonth (Cycle 31) or FixTopDay (other cycles) is set, or the cursor, TopDate or
  // EndDate would leave 1582/11/1..2150/12/31.
  bool ScrollCycle(int32_t direction) noexcept;

 private:
  // The date as a pattern resolved against the calendar's today.
  TDateRec Resolved(TDateRec date) const noexcept;

  struct TCell {
    int32_t col = 0;
    int32_t row = 0;
  };
  // What a placement or a scroll changes, to be put back when it is refused.
  struct TShown {
    TDateRec cursor;
    TDateRec top;
    TDateRec end;
    int32_t cursor_month = 0;
  };

  TShown Shown() const noexcept;
  void Restore(const TShown& shown) noexcept;
  std::optional<TCell> FallbackCell() const noexcept;

  bool IsMonthLayout() const noexcept;
  int32_t EffectiveFixTopDay() const noexcept;
  int32_t CycleStartDay(int32_t year, int32_t month) const noexcept;
  TCell DateToCell(TDateRec date) const noexcept;
  bool InGrid(TCell cell) const noexcept;
  bool RecomputeDue(TDateRec date) const noexcept;
  void ProductTests() noexcept;

  TScheduleLayout layout_ = InitialScheduleSettings();

  int32_t cell_columns_ = 2;
  int32_t cell_rows_ = 7;
  int32_t col_ = 1;
  int32_t row_ = 1;

  const TCalendar* calendar_;
  TDateRec cursor_;
  TDateRec top_;
  TDateRec end_;
  int32_t cursor_month_ = 0;
};

}  // namespace pelo
