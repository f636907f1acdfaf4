#include "schedule/ScheduleModels.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "calendar/DatePatterns.h"
#include "calendar/IntegerMath.h"

namespace pelo {

namespace {

// A grid of fewer cells than this cannot hold a year of months.
constexpr int64_t kYearCells = 366;
// Fewer cells than this cannot hold a month.
constexpr int64_t kMonthCells = 31;
// Fewer cells than this cannot hold a week.
constexpr int64_t kWeekCells = 7;

// Moves by any number of days. Ten million days lie far outside the calendar either way;
// the clamp only keeps absurd cycle values from overflowing.
TDateRec ShiftDays(TDateRec date, int64_t days) noexcept {
  constexpr int64_t kLimit = 10'000'000;
  return AddDays(date, static_cast<int32_t>(std::clamp(days, -kLimit, kLimit)));
}

bool IsRealDate(TDateRec date) noexcept {
  return date.Year >= 1 && date.Year <= 10000 && date.Month >= 1 && date.Month <= 12 &&
         date.Day >= 1 && date.Day <= 31;
}

}  // namespace

const char* CursorNoticeText(TCursorNotice notice) noexcept {
  switch (notice) {
    case TCursorNotice::kOutOfRange:
      return kCalendarRangeMessage;
    case TCursorNotice::kNonexistent:
      return kNonexistentDateMessage;
    case TCursorNotice::kCannotShow:
      return kCannotShowDateMessage;
    case TCursorNotice::kNone:
      break;
  }
  return "";
}

TScheduleModel::TScheduleModel(const TCalendar& calendar)
    : calendar_(&calendar), cursor_(calendar.Today()) {
  SetGridSize(layout_.Term, layout_.Cycle);  // not Vertical: Term columns of Cycle days
}

// --- current cell ---------------------------------------------------------------------

bool TScheduleModel::InGrid(TCell cell) const noexcept {
  return cell.col >= 1 && cell.col <= cell_columns_ && cell.row >= 1 && cell.row <= cell_rows_;
}

bool TScheduleModel::CellHasDate(int32_t col, int32_t row) const noexcept {
  return InGrid(TCell{col, row}) && CellToDate(col, row).Day != 0;
}

// --- layout ---------------------------------------------------------------------------

bool TScheduleModel::SetGridSize(int32_t across, int32_t down) noexcept {
  if (across <= 0 || down <= 0 || static_cast<int64_t>(across) * down > kMaxCellCount) {
    return false;
  }
  cell_columns_ = across;
  cell_rows_ = down;
  // The grid keeps its current cell inside itself when it shrinks.
  col_ = std::clamp(col_, 1, cell_columns_);
  row_ = std::clamp(row_, 1, cell_rows_);
  if (layout_.Vertical) {
    layout_.Cycle = cell_columns_;
    layout_.Term = cell_rows_;
  } else {
    layout_.Cycle = cell_rows_;
    layout_.Term = cell_columns_;
  }
  // These tests count the title column and row too. They run before CalcTopDate so that
  // the first shown date is worked out from the settings that stay.
  const int64_t grid_product = static_cast<int64_t>(across + 1) * (down + 1);
  if (grid_product < kYearCells) layout_.FixTopMonth = 0;
  if (grid_product < kMonthCells) {
    layout_.FixTopDay = 0;
    layout_.MonthReset = false;
  }
  CalcTopDate();
  return true;
}

TRebuildResult TScheduleModel::RebuildLayout(bool reload) {
  TRebuildResult out;
  out.rebuilt = true;
  out.reload = reload;
  const int32_t old_top_year = top_.Year;
  col_ = 1;
  row_ = 1;
  const int64_t product = static_cast<int64_t>(layout_.Cycle) * layout_.Term;
  if (product < kYearCells) layout_.FixTopMonth = 0;
  if (product < kMonthCells) {
    layout_.FixTopDay = 0;
    layout_.MonthReset = false;
  }
  out.grid_resized = layout_.Vertical ? SetGridSize(layout_.Cycle, layout_.Term)
                                      : SetGridSize(layout_.Term, layout_.Cycle);
  if (reload) CalcTopDate();
  out.placement = SetCursorDate(cursor_);
  out.first_year_changed = top_.Year != old_top_year;
  return out;
}

void TScheduleModel::ProductTests() noexcept {
  const int64_t product = static_cast<int64_t>(layout_.Cycle) * layout_.Term;
  if (product < kWeekCells) layout_.FixTopWeek = -1;
  if (product < kMonthCells) layout_.FixTopDay = 0;
  if (product < kYearCells) layout_.FixTopMonth = 0;
}

TRebuildResult TScheduleModel::SetCycle(int32_t value) {
  if (value == layout_.Cycle) return {};
  layout_.Cycle = value;
  ProductTests();
  if (layout_.Cycle == 31) {
    // Months never start on a fixed weekday, and a month layout needs a first day.
    layout_.FixTopWeek = -1;
    if (layout_.FixTopDay == 0) layout_.FixTopDay = 1;
  }
  return RebuildLayout(false);
}

TRebuildResult TScheduleModel::SetTerm(int32_t value) {
  if (value == layout_.Term) return {};
  layout_.Term = value;
  ProductTests();
  return RebuildLayout(false);
}

TCellSizes TScheduleModel::FitCells(int32_t control_width, int32_t control_height,
                                    int32_t title_height, int32_t line_width,
                                    bool disp_title) const noexcept {
  TCellSizes out;
  if (disp_title) {
    // Weeks get weekday titles, months get day numbers; free cycles have nothing to title.
    if (layout_.Cycle == 7 || (layout_.Cycle == 31 && !layout_.Vertical))
      out.title_row_height = title_height;
    if (layout_.Cycle == 31 && layout_.Vertical) out.title_column_width = title_height;
  }
  const int64_t lines_down = static_cast<int64_t>(GridRows() - 1) * line_width;
  const int64_t lines_across = static_cast<int64_t>(GridColumns() - 1) * line_width;
  const int64_t row_height =
      (static_cast<int64_t>(control_height) - lines_down - out.title_row_height) / cell_rows_;
  const int64_t column_width =
      (static_cast<int64_t>(control_width) - lines_across - out.title_column_width) / cell_columns_;
  // A control too small for its cells gets empty cells, not negative extents.
  out.day_row_height = ClampToInt32(row_height, 0, INT32_MAX);
  out.day_column_width = ClampToInt32(column_width, 0, INT32_MAX);
  return out;
}

// --- dates and cells ------------------------------------------------------------------

int32_t TScheduleModel::EffectiveFixTopDay() const noexcept {
  // Anything but 1..31 lets the cycles follow the cursor, like 0.
  return layout_.FixTopDay >= 1 && layout_.FixTopDay <= 31 ? layout_.FixTopDay : 0;
}

bool TScheduleModel::IsMonthLayout() const noexcept {
  return layout_.Cycle == 31 && EffectiveFixTopDay() > 0;
}

// A cycle starts on FixTopDay, or on the month's last day when the month is shorter. With a
// plain FixTopDay of 29..31 a short month would have no start of its own: its days would
// show twice or not at all, and days that do not exist would appear.
int32_t TScheduleModel::CycleStartDay(int32_t year, int32_t month) const noexcept {
  return std::min(EffectiveFixTopDay(), DaysInMonth(year, month));
}

void TScheduleModel::CalcTopDate() noexcept {
  const int32_t k = layout_.Vertical ? row_ : col_;  // the cycle the cursor stays in
  const int32_t fix_top_day = EffectiveFixTopDay();
  TDateRec top;
  if (fix_top_day == 0) {
    top = ShiftDays(cursor_, -static_cast<int64_t>(k - 1) * layout_.Cycle);
  } else {
    top = TDateRec{cursor_.Year, cursor_.Month, CycleStartDay(cursor_.Year, cursor_.Month)};
    if (cursor_.Day < top.Day) {  // the cursor still belongs to last month's cycle
      AddYearsMonths(top.Year, top.Month, 0, -1);
      top.Day = CycleStartDay(top.Year, top.Month);
    }
  }
  if (layout_.FixTopWeek >= 0 && layout_.FixTopWeek <= 6)
    MoveToWeekday(-1, layout_.FixTopWeek, top);

  if (layout_.Cycle == 31) {
    const bool on_cycle_start = fix_top_day > 0 && top.Day == CycleStartDay(top.Year, top.Month);
    // A FixTopMonth outside 1..12 names no month: the year follows the cursor, as with 0.
    if (layout_.FixTopMonth >= 1 && layout_.FixTopMonth <= 12 && layout_.Term == 12) {
      if (layout_.FixTopMonth > top.Month) --top.Year;  // the shown year began last year
      top.Month = layout_.FixTopMonth;
    } else {
      AddYearsMonths(top.Year, top.Month, 0, -(k - 1));
    }
    top.Day = on_cycle_start ? CycleStartDay(top.Year, top.Month)
                             : std::min(top.Day, DaysInMonth(top.Year, top.Month));
    top_ = top;
    int32_t end_year = top.Year;
    int32_t end_month = top.Month;
    AddYearsMonths(end_year, end_month, 0,
                   ClampToInt32(int64_t{layout_.Term} - 1, INT32_MIN, INT32_MAX));
    if (fix_top_day > 1) {
      // The last cycle runs into the next month, up to the day before that month's cycle
      // start: those days are shown, so they belong to the shown span too (a click on them
      // must not relayout the grid).
      int32_t next_year = end_year;
      int32_t next_month = end_month;
      AddYearsMonths(next_year, next_month, 0, 1);
      end_ = AddDays(TDateRec{next_year, next_month, CycleStartDay(next_year, next_month)}, -1);
    } else {
      end_ = TDateRec{end_year, end_month, DaysInMonth(end_year, end_month)};
    }
  } else {
    top_ = top;
    end_ = ShiftDays(top, static_cast<int64_t>(CellCount()) - 1);
  }
  cursor_month_ = cursor_.Month;
}

TDateRec TScheduleModel::CellToDate(int32_t col, int32_t row) const noexcept {
  if (col <= 0 || row <= 0) return kNullDate;
  if (IsMonthLayout()) {
    const int32_t cycle_index = (layout_.Vertical ? row : col) - 1;
    const int32_t day_index = (layout_.Vertical ? col : row) - 1;
    int32_t year = top_.Year;
    int32_t month = top_.Month;
    AddYearsMonths(year, month, 0, cycle_index);
    const int32_t length = DaysInMonth(year, month);
    int64_t day = static_cast<int64_t>(CycleStartDay(year, month)) + day_index;
    if (day > length) {
      // Past the month's end the cycle runs on into the next month up to its own start.
      day -= length;
      AddYearsMonths(year, month, 0, 1);
      if (day >= CycleStartDay(year, month)) return kNullDate;
    }
    return TDateRec{year, month, static_cast<int32_t>(day)};
  }
  const int64_t offset =
      layout_.Vertical
          ? static_cast<int64_t>(col - 1) + static_cast<int64_t>(row - 1) * cell_columns_
          : static_cast<int64_t>(row - 1) + static_cast<int64_t>(col - 1) * cell_rows_;
  return ShiftDays(top_, offset);
}

TScheduleModel::TCell TScheduleModel::DateToCell(TDateRec date) const noexcept {
  if (!IsRealDate(date)) return TCell{};
  int32_t cycle_index = 0;
  int32_t day_index = 0;
  if (IsMonthLayout()) {
    int32_t year = date.Year;
    int32_t month = date.Month;
    const int32_t start = CycleStartDay(year, month);
    if (date.Day >= start) {
      day_index = date.Day - start;
    } else {  // the tail of last month's cycle
      AddYearsMonths(year, month, 0, -1);
      day_index = DaysInMonth(year, month) - CycleStartDay(year, month) + date.Day;
    }
    cycle_index = MonthsBetween(top_.Year, top_.Month, year, month);
  } else {
    const int32_t d = DayNumber(date) - DayNumber(top_);
    const int32_t per_cycle = layout_.Vertical ? cell_columns_ : cell_rows_;
    // Rounded towards minus infinity, so that every date before TopDate gets a column (row)
    // below 1 instead of sharing column 1 with the first cycle.
    cycle_index = static_cast<int32_t>(FloorDiv(d, per_cycle));
    day_index = static_cast<int32_t>(FloorMod(d, per_cycle));
  }
  return layout_.Vertical ? TCell{day_index + 1, cycle_index + 1}
                          : TCell{cycle_index + 1, day_index + 1};
}

int32_t TScheduleModel::DateToCol(TDateRec date) const noexcept { return DateToCell(date).col; }

int32_t TScheduleModel::DateToRow(TDateRec date) const noexcept { return DateToCell(date).row; }

// --- navigation -----------------------------------------------------------------------

TScheduleModel::TShown TScheduleModel::Shown() const noexcept {
  return TShown{cursor_, top_, end_, cursor_month_};
}

void TScheduleModel::Restore(const TShown& shown) noexcept {
  cursor_ = shown.cursor;
  top_ = shown.top;
  end_ = shown.end;
  cursor_month_ = shown.cursor_month;
}

// Where the cursor goes when the grid cannot show its date: TopDate's cell, which is cell
// (1, 1) except in a month layout whose first day was moved to a weekday; failing that cell
// (1, 1). Near the calendar's first day both may lie before it: then the first cell, in the
// order the days run, that shows a day of the calendar.
std::optional<TScheduleModel::TCell> TScheduleModel::FallbackCell() const noexcept {
  TCell cell = DateToCell(top_);
  if (!InGrid(cell)) cell = TCell{1, 1};
  if (CheckCalendarRange(CellToDate(cell.col, cell.row)) == kDateUsable) return cell;
  const int32_t cycles = layout_.Vertical ? cell_rows_ : cell_columns_;
  const int32_t days = layout_.Vertical ? cell_columns_ : cell_rows_;
  for (int32_t c = 1; c <= cycles; ++c) {
    for (int32_t d = 1; d <= days; ++d) {
      cell = layout_.Vertical ? TCell{d, c} : TCell{c, d};
      if (CheckCalendarRange(CellToDate(cell.col, cell.row)) == kDateUsable) return cell;
    }
  }
  return std::nullopt;
}

bool TScheduleModel::RecomputeDue(TDateRec date) const noexcept {
  const int32_t n = DayNumber(date);
  bool due;
  if (layout_.Cycle == 31) {
    due = n < DayNumber(top_) || n > DayNumber(end_);
  } else {
    const int32_t d = n - DayNumber(top_);
    due = d < 0 || d > CellCount() - 1;
  }
  if (layout_.MonthReset && (date.Year != cursor_.Year || date.Month != cursor_month_)) due = true;
  return due;
}

TDateRec TScheduleModel::Resolved(TDateRec date) const noexcept {
  return ResolveDatePattern(*calendar_, TPatternContext{}, date, calendar_->Today());
}

TCursorNotice TScheduleModel::DateRefusal(TDateRec date) const noexcept {
  switch (CheckCalendarRange(Resolved(date))) {
    case kDateBeforeRange:
    case kDateAfterRange:
      return TCursorNotice::kOutOfRange;
    case kDateNonexistent:
      return TCursorNotice::kNonexistent;
    case kDateUsable:
      break;
  }
  return TCursorNotice::kNone;
}

TCursorPlacement TScheduleModel::SetCursorDate(TDateRec date) {
  TCursorPlacement out;
  out.notice = DateRefusal(date);
  if (out.notice != TCursorNotice::kNone) return out;
  const TDateRec resolved = Resolved(date);

  const TShown before = Shown();
  out.relayout = RecomputeDue(resolved);
  cursor_ = resolved;
  if (out.relayout) CalcTopDate();

  TCell cell = DateToCell(cursor_);
  // A cell left of or above the day cells would be as wrong as one past them.
  if (!InGrid(cell)) {
    out.notice = TCursorNotice::kCannotShow;
    const std::optional<TCell> fallback = FallbackCell();
    if (!fallback) {
      // Every cell lies before the calendar: nothing moves.
      Restore(before);
      out.relayout = false;
      return out;
    }
    cell = *fallback;
    cursor_ = CellToDate(cell.col, cell.row);
  }
  col_ = cell.col;
  row_ = cell.row;
  out.moved = true;
  out.first_year_changed = top_.Year != before.top.Year;
  out.column = col_;
  out.row = row_;
  return out;
}

TCursorPlacement TScheduleModel::MoveDate(int32_t years, int32_t months, int32_t days) {
  const TDateRec moved = AddToDate(cursor_, TDateAmount{years, months, days});
  // A year of 0 or below would read as a pattern code (0 = this year, -1 = today's year);
  // a move that far back is simply before the calendar.
  if (moved.Year < 1) {
    TCursorPlacement out;
    out.notice = TCursorNotice::kOutOfRange;
    return out;
  }
  return SetCursorDate(moved);
}

TCursorPlacement TScheduleModel::JumpToday() { return SetCursorDate(calendar_->Today()); }

TCursorPlacement TScheduleModel::JumpDate(TDateRec date) { return SetCursorDate(date); }

TCursorPlacement TScheduleModel::SetYear(int32_t year) {
  if (year < 1583 || year > 2150 || year == cursor_.Year) return {};
  return SetCursorDate(TDateRec{year, cursor_.Month, cursor_.Day});
}

TCursorPlacement TScheduleModel::SetMonth(int32_t month) {
  if (month < 1 || month > 12 || month == cursor_.Month) return {};
  return SetCursorDate(TDateRec{cursor_.Year, month, cursor_.Day});
}

TCursorPlacement TScheduleModel::SetDay(int32_t day) {
  if (day < 1 || day > 31 || day == cursor_.Day) return {};
  return SetCursorDate(TDateRec{cursor_.Year, cursor_.Month, day});
}

// Scrolling does not go through the cursor placement and so has no range message of its
// own: a scroll that would take the cursor, TopDate or EndDate outside the calendar, or
// leave the cursor outside the grid, is refused quietly and the view stays. The current
// cell follows the cursor's cell, which is the same cell in every layout where a cycle
// is a whole number of weeks or months.
bool TScheduleModel::ScrollCycle(int32_t direction) noexcept {
  if (direction == 0) return false;
  const int32_t sign = direction < 0 ? -1 : 1;
  TDateRec next;
  if (layout_.Cycle == 31) {
    if (layout_.FixTopMonth != 0) return false;
    next = AddToDate(cursor_, TDateAmount{0, sign, 0});
  } else {
    if (layout_.FixTopDay != 0) return false;
    next = ShiftDays(cursor_, static_cast<int64_t>(sign) * layout_.Cycle);
  }

  const TShown before = Shown();
  cursor_ = next;
  CalcTopDate();
  const TCell cell = DateToCell(cursor_);
  if (CheckCalendarRange(cursor_) != kDateUsable || CheckCalendarRange(top_) != kDateUsable ||
      CheckCalendarRange(end_) != kDateUsable || !InGrid(cell)) {
    Restore(before);
    return false;
  }
  col_ = cell.col;
  row_ = cell.row;
  return true;
}

}  // namespace pelo
