#include "schedule/ScheduleModels.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <tuple>

#include "DateLabels.h"
#include "calendar/Calendars.h"

namespace pelo {

// Dates print as y/m/d in failure messages.
void PrintTo(const TDateRec& d, std::ostream* os) { *os << test::DateLabel(d); }

namespace {

constexpr TDateRec kEmpty{};

// A model whose cursor starts on the given today, with the calendar it reads.
struct TModelOn {
  explicit TModelOn(TDateRec today) : calendar(today), model(calendar) {}
  TCalendar calendar;
  TScheduleModel model;
};

TEST(ScheduleModel, ConstructorValues) {
  TModelOn on({2024, 5, 15});
  TScheduleModel& m = on.model;
  EXPECT_EQ(m.Layout(), (TScheduleLayout{false, 7, 2, 0, 0, 1, false}));
  EXPECT_EQ(m.CellColumns(), 2);
  EXPECT_EQ(m.CellRows(), 7);
  EXPECT_EQ(m.CursorDate(), (TDateRec{2024, 5, 15}));
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 5, 13}));  // Monday
  EXPECT_EQ(m.EndDate(), (TDateRec{2024, 5, 26}));
  EXPECT_EQ(m.CursorMonth(), 5);
}

// Weeks in four columns, Monday on top: moves inside the 28 days keep the layout, leaving
// them keeps the cursor's column.
TEST(ScheduleModel, FourWeeksKeepTheColumn) {
  TModelOn on({2024, 5, 15});
  TScheduleModel& m = on.model;
  ASSERT_TRUE(m.SetTerm(4).grid_resized);
  EXPECT_EQ(m.Col(), 1);
  EXPECT_EQ(m.Row(), 3);  // a Wednesday
  const struct {
    int32_t days;
    TDateRec cursor, top, end;
    bool relayout;
    int32_t col, row;
  } steps[] = {
      {1, {2024, 5, 16}, {2024, 5, 13}, {2024, 6, 9}, false, 1, 4},
      {14, {2024, 5, 30}, {2024, 5, 13}, {2024, 6, 9}, false, 3, 4},
      {10, {2024, 6, 9}, {2024, 5, 13}, {2024, 6, 9}, false, 4, 7},
      {1, {2024, 6, 10}, {2024, 5, 20}, {2024, 6, 16}, true, 4, 1},
      {-22, {2024, 5, 19}, {2024, 4, 22}, {2024, 5, 19}, true, 4, 7},
  };
  for (const auto& s : steps) {
    const TCursorPlacement p = m.MoveDate(0, 0, s.days);
    EXPECT_TRUE(p.moved);
    EXPECT_EQ(p.notice, TCursorNotice::kNone);
    EXPECT_EQ(m.CursorDate(), s.cursor);
    EXPECT_EQ(m.TopDate(), s.top);
    EXPECT_EQ(m.EndDate(), s.end);
    EXPECT_EQ(p.relayout, s.relayout) << s.cursor.Day;
    EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(s.col, s.row));
    EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(s.col, s.row));
  }
}

// A fiscal year of months from April.
TEST(ScheduleModel, FiscalYearOfMonths) {
  TModelOn on({2024, 2, 10});
  TScheduleModel& m = on.model;
  m.AssignLayout({false, 31, 12, 4, 1, -1, false});
  m.RebuildLayout(false);
  EXPECT_EQ(m.TopDate(), (TDateRec{2023, 4, 1}));
  EXPECT_EQ(m.EndDate(), (TDateRec{2024, 3, 31}));
  EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(11, 10));
  const struct {
    int32_t col, row;
    TDateRec date;
  } cells[] = {{1, 1, {2023, 4, 1}},   {1, 30, {2023, 4, 30}},  {1, 31, kEmpty},
               {2, 31, {2023, 5, 31}}, {3, 31, kEmpty},         {11, 29, {2024, 2, 29}},
               {11, 30, kEmpty},       {12, 31, {2024, 3, 31}}, {0, 1, kEmpty}};
  for (const auto& c : cells)
    EXPECT_EQ(m.CellToDate(c.col, c.row), c.date) << c.col << "," << c.row;

  TCursorPlacement p = m.MoveDate(0, -1, 0);
  EXPECT_FALSE(p.relayout);
  EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(10, 10));
  p = m.MoveDate(0, 3, 0);  // 2024/4/10 starts the next fiscal year
  EXPECT_TRUE(p.relayout);
  EXPECT_TRUE(p.first_year_changed);
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 4, 1}));
  EXPECT_EQ(m.EndDate(), (TDateRec{2025, 3, 31}));
  EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(1, 10));
}

TEST(ScheduleModel, MonthsFromThe20th) {
  TModelOn on({2024, 1, 25});
  TScheduleModel& m = on.model;
  m.AssignLayout({false, 31, 3, 0, 20, -1, false});
  m.RebuildLayout(false);
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 1, 20}));
  EXPECT_EQ(m.EndDate(), (TDateRec{2024, 4, 19}));  // the last shown day
  TCursorPlacement p = m.SetCursorDate({2024, 2, 10});
  EXPECT_FALSE(p.relayout);
  EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(1, 22));
  const struct {
    int32_t col, row;
    TDateRec date;
  } cells[] = {{1, 1, {2024, 1, 20}},  {1, 12, {2024, 1, 31}}, {1, 13, {2024, 2, 1}},
               {1, 22, {2024, 2, 10}}, {1, 31, {2024, 2, 19}}, {2, 1, {2024, 2, 20}},
               {2, 10, {2024, 2, 29}}, {2, 11, {2024, 3, 1}},  {2, 29, {2024, 3, 19}},
               {2, 30, kEmpty},        {3, 31, {2024, 4, 19}}};
  for (const auto& c : cells)
    EXPECT_EQ(m.CellToDate(c.col, c.row), c.date) << c.col << "," << c.row;
  // A shown day of the last cycle's next month is no reason to relayout.
  p = m.SetCursorDate({2024, 4, 5});
  EXPECT_FALSE(p.relayout);
  EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(3, 17));
  p = m.SetCursorDate({2024, 4, 20});
  EXPECT_TRUE(p.relayout);
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 2, 20}));
}

// A month sheet of six week rows from Sunday; entering another month relays out even when
// the day is already shown.
TEST(ScheduleModel, MonthSheetFollowsTheMonth) {
  TModelOn on({2024, 5, 15});
  TScheduleModel& m = on.model;
  m.AssignLayout({true, 7, 6, 0, 1, 0, true});
  m.RebuildLayout(false);
  ASSERT_EQ(std::make_tuple(m.CellColumns(), m.CellRows()), std::make_tuple(7, 6));
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 4, 28}));
  EXPECT_EQ(m.EndDate(), (TDateRec{2024, 6, 8}));
  EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(4, 3));
  const struct {
    TDateRec date;
    bool relayout;
    TDateRec top;
    int32_t cursor_month, col, row;
  } steps[] = {
      {{2024, 6, 3}, true, {2024, 5, 26}, 6, 2, 2},
      {{2024, 5, 31}, true, {2024, 4, 28}, 5, 6, 5},
      {{2024, 5, 20}, false, {2024, 4, 28}, 5, 2, 4},
  };
  for (const auto& s : steps) {
    const TCursorPlacement p = m.SetCursorDate(s.date);
    EXPECT_EQ(p.relayout, s.relayout);
    EXPECT_EQ(m.TopDate(), s.top);
    EXPECT_EQ(m.CursorMonth(), s.cursor_month);
    EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(s.col, s.row));
  }
  EXPECT_EQ(m.CellToDate(7, 6), (TDateRec{2024, 6, 8}));
}

TEST(ScheduleModel, PropertySettersAndProductTests) {
  const struct {
    TScheduleLayout before;
    bool cycle;  // SetCycle, else SetTerm
    int32_t value;
    TScheduleLayout after;
  } cases[] = {
      // Months need a first day and no weekday.
      {{false, 7, 2, 0, 0, 1, false}, true, 31, {false, 31, 2, 0, 1, -1, false}},
      {{false, 7, 2, 0, 15, 1, false}, true, 31, {false, 31, 2, 0, 15, -1, false}},
      // Fewer than 7 cells: no weekday; 30 or fewer: no fixed day; under 366: no fixed month.
      {{false, 7, 2, 0, 0, 1, false}, true, 3, {false, 3, 2, 0, 0, -1, false}},
      {{false, 31, 12, 4, 1, -1, true}, true, 30, {false, 30, 12, 0, 1, -1, true}},
      {{false, 7, 6, 0, 1, 0, true}, true, 5, {false, 5, 6, 0, 0, 0, false}},
      {{false, 31, 12, 4, 20, -1, false}, false, 1, {false, 31, 1, 0, 20, -1, false}},
      {{false, 7, 6, 0, 1, 0, true}, false, 4, {false, 7, 4, 0, 0, 0, false}},
      {{false, 31, 1, 0, 1, 0, false}, false, 12, {false, 31, 12, 0, 1, 0, false}},
  };
  for (const auto& c : cases) {
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    m.AssignLayout(c.before);
    const TRebuildResult r = c.cycle ? m.SetCycle(c.value) : m.SetTerm(c.value);
    EXPECT_TRUE(r.rebuilt);
    EXPECT_EQ(m.Layout(), c.after) << c.value;
    EXPECT_FALSE((c.cycle ? m.SetCycle(c.value) : m.SetTerm(c.value)).rebuilt);
  }
}

TEST(ScheduleModel, GridSize) {
  const struct {
    bool vertical;
    int32_t across, down;
    bool taken;
    int32_t columns, rows, cycle, term, fix_top_month, fix_top_day;
    bool month_reset;
  } cases[] = {
      {false, 12, 31, true, 12, 31, 31, 12, 4, 5, true},
      {false, 12, 32, false, 2, 7, 7, 2, 4, 5, true},
      {false, 0, 5, false, 2, 7, 7, 2, 4, 5, true},
      {false, 5, -1, false, 2, 7, 7, 2, 4, 5, true},
      {true, 7, 5, true, 7, 5, 7, 5, 0, 5, true},
      {false, 7, 5, true, 7, 5, 5, 7, 0, 5, true},
      // The tests count the title column and row: 12 x 30 cells is a 13 x 31 grid.
      {false, 12, 30, true, 12, 30, 30, 12, 4, 5, true},
      {false, 11, 30, true, 11, 30, 30, 11, 4, 5, true},
      {false, 11, 29, true, 11, 29, 29, 11, 0, 5, true},
      {false, 2, 10, true, 2, 10, 10, 2, 0, 5, true},
      {false, 2, 9, true, 2, 9, 9, 2, 0, 0, false},
  };
  for (const auto& c : cases) {
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    m.AssignLayout({c.vertical, 7, 2, 4, 5, 1, true});
    EXPECT_EQ(m.SetGridSize(c.across, c.down), c.taken) << c.across << "x" << c.down;
    EXPECT_EQ(std::make_tuple(m.CellColumns(), m.CellRows()), std::make_tuple(c.columns, c.rows));
    EXPECT_EQ(std::make_tuple(m.Cycle(), m.Term()), std::make_tuple(c.cycle, c.term));
    EXPECT_EQ(m.FixTopMonth(), c.fix_top_month) << c.across << "x" << c.down;
    EXPECT_EQ(m.FixTopDay(), c.fix_top_day) << c.across << "x" << c.down;
    EXPECT_EQ(m.MonthReset(), c.month_reset);
  }
}

TEST(ScheduleModel, FitCells) {
  const struct {
    bool vertical;
    int32_t cycle, term, width, height, title, line;
    bool disp_title;
    TCellSizes expected;
  } cases[] = {
      {false, 7, 2, 300, 200, 20, 1, true, {20, 0, 24, 149}},
      {false, 7, 2, 300, 200, 20, 1, false, {0, 0, 27, 149}},
      {true, 7, 6, 300, 200, 20, 1, true, {20, 0, 29, 41}},
      {false, 31, 12, 1000, 700, 18, 2, true, {18, 0, 20, 81}},
      {true, 31, 12, 1000, 700, 18, 2, true, {0, 18, 56, 29}},
      {false, 10, 3, 300, 200, 20, 1, true, {0, 0, 19, 99}},
      {false, 7, 2, 10, 10, 20, 1, true, {20, 0, 0, 4}},
  };
  for (const auto& c : cases) {
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    m.AssignLayout({c.vertical, c.cycle, c.term, 0, c.cycle == 31 ? 1 : 0, -1, false});
    m.RebuildLayout(true);
    const TCellSizes s = m.FitCells(c.width, c.height, c.title, c.line, c.disp_title);
    EXPECT_EQ(std::make_tuple(s.title_row_height, s.title_column_width, s.day_row_height,
                              s.day_column_width),
              std::make_tuple(c.expected.title_row_height, c.expected.title_column_width,
                              c.expected.day_row_height, c.expected.day_column_width))
        << c.cycle << " " << c.vertical;
  }
}

TEST(ScheduleModel, Navigation) {
  enum Op { kMove, kYear, kMonth, kDay, kJump, kToday };
  const struct {
    TDateRec start;
    Op op;
    TDateRec arg;
    bool moved;
    TCursorNotice notice;
    TDateRec cursor;
  } cases[] = {
      {{2024, 1, 31}, kMove, {0, 1, 0}, true, TCursorNotice::kNone, {2024, 2, 29}},
      {{2024, 2, 29}, kMove, {0, 0, 1}, true, TCursorNotice::kNone, {2024, 3, 1}},
      {{2024, 2, 29}, kMove, {1, 0, 0}, true, TCursorNotice::kNone, {2025, 2, 28}},
      {{2150, 12, 30}, kMove, {0, 0, 1}, true, TCursorNotice::kNone, {2150, 12, 31}},
      {{2150, 12, 31}, kMove, {0, 0, 1}, false, TCursorNotice::kOutOfRange, {2150, 12, 31}},
      {{1582, 11, 1}, kMove, {0, 0, -1}, false, TCursorNotice::kOutOfRange, {1582, 11, 1}},
      // Far back the year would read as a code for "this year": still before the calendar.
      {{2024, 5, 10}, kMove, {-2024, 0, 0}, false, TCursorNotice::kOutOfRange, {2024, 5, 10}},
      {{2024, 5, 10}, kMove, {-2025, 0, 0}, false, TCursorNotice::kOutOfRange, {2024, 5, 10}},
      {{2024, 5, 10}, kYear, {1583, 0, 0}, true, TCursorNotice::kNone, {1583, 5, 10}},
      {{2024, 5, 10}, kYear, {2150, 0, 0}, true, TCursorNotice::kNone, {2150, 5, 10}},
      {{2024, 5, 10}, kYear, {1582, 0, 0}, false, TCursorNotice::kNone, {2024, 5, 10}},
      {{2024, 5, 10}, kYear, {2151, 0, 0}, false, TCursorNotice::kNone, {2024, 5, 10}},
      {{2024, 2, 29}, kYear, {2023, 0, 0}, false, TCursorNotice::kNonexistent, {2024, 2, 29}},
      {{2024, 5, 10}, kMonth, {0, 12, 0}, true, TCursorNotice::kNone, {2024, 12, 10}},
      {{2024, 5, 10}, kMonth, {0, 13, 0}, false, TCursorNotice::kNone, {2024, 5, 10}},
      {{2024, 5, 10}, kMonth, {0, 0, 0}, false, TCursorNotice::kNone, {2024, 5, 10}},
      {{2024, 5, 31}, kMonth, {0, 6, 0}, false, TCursorNotice::kNonexistent, {2024, 5, 31}},
      {{2024, 5, 10}, kDay, {0, 0, 31}, true, TCursorNotice::kNone, {2024, 5, 31}},
      {{2024, 5, 10}, kDay, {0, 0, 32}, false, TCursorNotice::kNone, {2024, 5, 10}},
      {{2024, 4, 10}, kDay, {0, 0, 31}, false, TCursorNotice::kNonexistent, {2024, 4, 10}},
      {{2024, 4, 10}, kDay, {0, 0, 10}, false, TCursorNotice::kNone, {2024, 4, 10}},
      {{2024, 4, 10}, kJump, {0, 0, 0}, true, TCursorNotice::kNone, {2024, 5, 15}},
      {{2024, 4, 10}, kJump, {2023, 2, 0}, true, TCursorNotice::kNone, {2023, 2, 15}},
      {{2024, 4, 10}, kJump, {2023, 2, 30}, false, TCursorNotice::kNonexistent, {2024, 4, 10}},
      {{2024, 4, 10}, kJump, {2024, 13, 1}, false, TCursorNotice::kNonexistent, {2024, 4, 10}},
      {{2024, 4, 10}, kJump, {2151, 1, 1}, false, TCursorNotice::kOutOfRange, {2024, 4, 10}},
      {{2024, 4, 10}, kToday, {}, true, TCursorNotice::kNone, {2024, 5, 15}},
  };
  for (const auto& c : cases) {
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    ASSERT_TRUE(m.JumpDate(c.start).moved);
    TCursorPlacement p;
    switch (c.op) {
      case kMove:
        p = m.MoveDate(c.arg.Year, c.arg.Month, c.arg.Day);
        break;
      case kYear:
        p = m.SetYear(c.arg.Year);
        break;
      case kMonth:
        p = m.SetMonth(c.arg.Month);
        break;
      case kDay:
        p = m.SetDay(c.arg.Day);
        break;
      case kJump:
        p = m.JumpDate(c.arg);
        break;
      case kToday:
        p = m.JumpToday();
        break;
    }
    EXPECT_EQ(p.moved, c.moved) << c.op << " " << c.arg.Year;
    EXPECT_EQ(p.notice, c.notice) << c.op << " " << c.arg.Year;
    EXPECT_EQ(m.CursorDate(), c.cursor);
  }
}

TEST(ScheduleModel, NoticeTexts) {
  EXPECT_STREQ(CursorNoticeText(TCursorNotice::kOutOfRange),
               "ねりかのカレンダーは 1582/11/1 から 2150/12/31 までです。");
  EXPECT_STREQ(CursorNoticeText(TCursorNotice::kNonexistent), "日付が存在しません。");
  EXPECT_STREQ(CursorNoticeText(TCursorNotice::kCannotShow),
               "この日付は表示できません。ｽｹｼﾞｭｰﾙのﾌﾟﾛﾊﾟﾃｨに矛盾があると思われます。");
  EXPECT_STREQ(CursorNoticeText(TCursorNotice::kNone), "");
}

// 32 cells of 8 days from the Monday before the 1st cannot reach the 31st.
TEST(ScheduleModel, InconsistentGridFallsBackToTopDate) {
  TModelOn on({2024, 3, 15});
  TScheduleModel& m = on.model;
  m.AssignLayout({false, 8, 4, 0, 1, 1, false});
  m.RebuildLayout(false);
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 2, 26}));
  EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(3, 3));
  const TCursorPlacement p = m.SetCursorDate({2024, 3, 31});
  EXPECT_TRUE(p.moved);
  EXPECT_EQ(p.notice, TCursorNotice::kCannotShow);
  EXPECT_EQ(m.CursorDate(), (TDateRec{2024, 2, 26}));
  EXPECT_EQ(std::make_tuple(p.column, p.row, m.Col(), m.Row()), std::make_tuple(1, 1, 1, 1));
}

// Months from the 20th with the first day moved back to Sunday (3/20 -> 3/17): 3/18 lies
// between TopDate and EndDate but belongs to February's cycle, left of the grid. TopDate is
// not shown either, so the cursor goes to the first cell's date.
TEST(ScheduleModel, WeekdayShiftedMonthsCannotShowEarlyDays) {
  TModelOn on({2024, 3, 25});
  TScheduleModel& m = on.model;
  m.AssignLayout({false, 31, 3, 0, 20, 0, false});
  m.RebuildLayout(true);
  EXPECT_EQ(m.TopDate(), (TDateRec{2024, 3, 17}));
  EXPECT_EQ(m.EndDate(), (TDateRec{2024, 6, 19}));
  EXPECT_EQ(m.CellToDate(1, 1), (TDateRec{2024, 3, 20}));
  EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(1, 6));
  const TCursorPlacement p = m.SetCursorDate({2024, 3, 18});
  EXPECT_FALSE(p.relayout);
  EXPECT_EQ(p.notice, TCursorNotice::kCannotShow);
  EXPECT_EQ(m.CursorDate(), (TDateRec{2024, 3, 20}));
  EXPECT_EQ(std::make_tuple(p.column, p.row), std::make_tuple(1, 1));
}

// Four one-day cycles that start on a Monday cannot show every day. At the calendar's first
// day the cell the cursor falls back to may lie before it; the cursor never goes there.
TEST(ScheduleModel, FallbackStaysInTheCalendar) {
  struct TCase {
    const char* label;
    int32_t week_start;
    TDateRec today;  // the cursor's first day, and so the cycle it keeps
    TDateRec date;
    bool moved;
    TDateRec cursor;
    TDateRec top;
  };
  const TCase cases[] = {
      // From Sunday's cell, Saturday 11/6 relays out to 10/31 .. 11/3, and 11/1 is the first
      // calendar day among them.
      {"first calendar cell", 0, {2024, 5, 12}, {1582, 11, 6}, true, {1582, 11, 1}, {1582, 10, 31}},
      // From Tuesday's cell, 11/1 relays out to 10/25 .. 10/28: no calendar day at all.
      {"no calendar day shown",
       1,
       {2024, 5, 14},
       {1582, 11, 1},
       false,
       {2024, 5, 14},
       {2024, 5, 13}},
      {"inside the calendar", 1, {2024, 5, 15}, {2024, 5, 19}, true, {2024, 5, 13}, {2024, 5, 13}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    TModelOn on(c.today);
    TScheduleModel& m = on.model;
    m.AssignLayout({false, 1, 4, 0, 0, c.week_start, false});
    m.RebuildLayout(true);
    const TCursorPlacement p = m.SetCursorDate(c.date);
    EXPECT_EQ(p.notice, TCursorNotice::kCannotShow);
    EXPECT_EQ(p.moved, c.moved);
    EXPECT_EQ(m.CursorDate(), c.cursor);
    EXPECT_EQ(m.TopDate(), c.top);
    EXPECT_EQ(m.CellToDate(m.Col(), m.Row()), m.CursorDate());
  }
}

TEST(ScheduleModel, ScrollCycle) {
  struct Step {
    int32_t direction;
    bool scrolled;
    TDateRec cursor, top;
    int32_t col, row;
  };
  {  // weeks: the cursor keeps its cell
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    m.SetTerm(4);
    m.SetCursorDate({2024, 5, 30});
    for (const Step& s : {Step{1, true, {2024, 6, 6}, {2024, 5, 20}, 3, 4},
                          Step{-1, true, {2024, 5, 30}, {2024, 5, 13}, 3, 4},
                          Step{-1, true, {2024, 5, 23}, {2024, 5, 6}, 3, 4}}) {
      EXPECT_EQ(m.ScrollCycle(s.direction), s.scrolled);
      EXPECT_EQ(m.CursorDate(), s.cursor);
      EXPECT_EQ(m.TopDate(), s.top);
      EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(s.col, s.row));
    }
  }
  {  // months: a short month pulls the cursor up to its last day
    TModelOn on({2024, 1, 31});
    TScheduleModel& m = on.model;
    m.SetTerm(3);
    m.SetCycle(31);
    EXPECT_TRUE(m.ScrollCycle(1));
    EXPECT_EQ(m.CursorDate(), (TDateRec{2024, 2, 29}));
    EXPECT_EQ(m.TopDate(), (TDateRec{2024, 2, 1}));
    EXPECT_EQ(m.EndDate(), (TDateRec{2024, 4, 30}));
    EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(1, 29));
    m.AssignLayout({false, 31, 12, 4, 1, -1, false});
    m.RebuildLayout(false);
    EXPECT_FALSE(m.ScrollCycle(1));  // the fiscal year stays put
    EXPECT_EQ(m.CursorDate(), (TDateRec{2024, 2, 29}));
  }
  {  // a fixed first day holds week layouts too
    TModelOn on({2024, 5, 15});
    TScheduleModel& m = on.model;
    m.AssignLayout({true, 7, 6, 0, 1, 0, true});
    m.RebuildLayout(false);
    EXPECT_FALSE(m.ScrollCycle(-1));
    EXPECT_EQ(m.TopDate(), (TDateRec{2024, 4, 28}));
  }
  {  // the calendar's ends
    TModelOn on({2150, 12, 20});
    TScheduleModel& m = on.model;
    EXPECT_EQ(m.EndDate(), (TDateRec{2150, 12, 27}));
    EXPECT_FALSE(m.ScrollCycle(1));  // would show 2151/1/3
    EXPECT_EQ(m.CursorDate(), (TDateRec{2150, 12, 20}));
    EXPECT_EQ(m.TopDate(), (TDateRec{2150, 12, 14}));
    m.JumpDate({1582, 11, 10});
    EXPECT_TRUE(m.ScrollCycle(-1));
    EXPECT_EQ(m.TopDate(), (TDateRec{1582, 11, 1}));
    EXPECT_FALSE(m.ScrollCycle(-1));
    EXPECT_EQ(m.CursorDate(), (TDateRec{1582, 11, 3}));
  }
}

TEST(ScheduleModel, CellsWithADate) {
  TModelOn on({2023, 2, 10});
  TScheduleModel& m = on.model;
  m.SetTerm(3);
  m.SetCycle(31);
  EXPECT_FALSE(m.CellHasDate(1, 29));  // 2023/2/29
  EXPECT_FALSE(m.CellHasDate(0, 1));
  EXPECT_FALSE(m.CellHasDate(4, 1));
  EXPECT_TRUE(m.CellHasDate(2, 31));
}

// Cycles from the 29th..31st start on a short month's last day, so no day is missing, none
// is shown twice and no day past a month's end appears.
TEST(ScheduleModel, LateFixTopDayAroundShortMonths) {
  const struct {
    int32_t fix_top_day;
    TDateRec cursor, top;
    int32_t cursor_col, cursor_row;
    std::map<std::pair<int32_t, int32_t>, TDateRec> cells;
  } cases[] = {
      {30,
       {2023, 6, 15},
       {2023, 1, 30},
       5,
       17,
       {{{1, 1}, {2023, 1, 30}},
        {{1, 3}, {2023, 2, 1}},
        {{1, 29}, {2023, 2, 27}},
        {{1, 30}, kEmpty},
        {{2, 1}, {2023, 2, 28}},
        {{2, 2}, {2023, 3, 1}},
        {{2, 30}, {2023, 3, 29}},
        {{2, 31}, kEmpty},
        {{3, 1}, {2023, 3, 30}},
        {{3, 31}, {2023, 4, 29}},
        {{12, 3}, {2024, 1, 1}},
        {{12, 31}, {2024, 1, 29}}}},
      {31,
       {2024, 2, 29},
       {2024, 1, 31},
       2,
       1,
       {{{1, 1}, {2024, 1, 31}},
        {{1, 29}, {2024, 2, 28}},
        {{1, 30}, kEmpty},
        {{2, 1}, {2024, 2, 29}},
        {{2, 2}, {2024, 3, 1}},
        {{2, 31}, {2024, 3, 30}},
        {{3, 1}, {2024, 3, 31}},
        {{3, 30}, {2024, 4, 29}},
        {{3, 31}, kEmpty},
        {{4, 1}, {2024, 4, 30}},
        {{4, 31}, {2024, 5, 30}}}},
  };
  for (const auto& c : cases) {
    TModelOn on(c.cursor);
    TScheduleModel& m = on.model;
    m.AssignLayout({false, 31, 12, 1, c.fix_top_day, -1, false});
    m.RebuildLayout(true);
    EXPECT_EQ(m.TopDate(), c.top);
    EXPECT_EQ(std::make_tuple(m.Col(), m.Row()), std::make_tuple(c.cursor_col, c.cursor_row));
    for (const auto& [cell, date] : c.cells) {
      EXPECT_EQ(m.CellToDate(cell.first, cell.second), date) << cell.first << "," << cell.second;
      if (date.Day == 0) continue;
      EXPECT_EQ(m.DateToCol(date), cell.first);
      EXPECT_EQ(m.DateToRow(date), cell.second);
    }
  }
  // The first shown day itself follows a short month's start.
  const struct {
    TDateRec cursor, top;
  } tops[] = {{{2023, 2, 28}, {2023, 2, 28}},
              {{2023, 2, 27}, {2023, 1, 31}},
              {{2023, 4, 30}, {2023, 4, 30}},
              {{2023, 4, 29}, {2023, 3, 31}},
              {{2023, 3, 1}, {2023, 2, 28}}};
  for (const auto& t : tops) {
    TModelOn on(t.cursor);
    TScheduleModel& m = on.model;
    m.AssignLayout({false, 31, 3, 0, 31, -1, false});
    m.RebuildLayout(true);
    EXPECT_EQ(m.TopDate(), t.top) << t.cursor.Month << "/" << t.cursor.Day;
    EXPECT_GE(m.DateToRow(t.cursor), 1);
  }
}

// Every cell maps to a real date that maps back to the cell, and every date near the view
// that maps into the grid maps back to itself.
TEST(ScheduleModelProperty, CellsAndDatesAreInverse) {
  const TDateRec cursors[] = {{2023, 1, 31},  {2023, 2, 28}, {2024, 2, 29}, {2024, 3, 1},
                              {2024, 12, 31}, {2100, 2, 28}, {2000, 2, 29}, {2025, 7, 19}};
  const int32_t cycles[] = {1, 7, 10, 31};
  const int32_t terms[] = {1, 3, 12};
  const int32_t fix_top_days[] = {0, 1, 15, 20, 28, 29, 30, 31};
  const int32_t fix_top_weeks[] = {-1, 0, 1, 6};
  int32_t checked_cells = 0;
  for (const bool vertical : {false, true}) {
    for (const int32_t cycle : cycles) {
      for (const int32_t term : terms) {
        for (const int32_t fix_top_day : fix_top_days) {
          for (const int32_t fix_top_week : fix_top_weeks) {
            TModelOn on({2024, 5, 15});
            TScheduleModel& m = on.model;
            m.AssignLayout(
                {vertical, cycle, term, term == 12 ? 4 : 0, fix_top_day, fix_top_week, false});
            m.RebuildLayout(true);
            for (const TDateRec& cursor : cursors) {
              const TCursorPlacement p = m.SetCursorDate(cursor);
              ASSERT_TRUE(p.moved);
              ASSERT_EQ(m.DateToCol(m.CursorDate()), p.column);
              ASSERT_EQ(m.DateToRow(m.CursorDate()), p.row);
              for (int32_t col = 1; col <= m.CellColumns(); ++col) {
                for (int32_t row = 1; row <= m.CellRows(); ++row) {
                  const TDateRec d = m.CellToDate(col, row);
                  if (d.Day == 0) continue;
                  ASSERT_LE(d.Day, DaysInMonth(d.Year, d.Month));
                  ASSERT_EQ(m.DateToCol(d), col) << vertical << " " << cycle << " " << term << " "
                                                 << fix_top_day << " " << fix_top_week;
                  ASSERT_EQ(m.DateToRow(d), row);
                  ++checked_cells;
                }
              }
              for (int32_t k = -40; k <= m.CellCount() + 40; ++k) {
                const TDateRec d = AddDays(m.TopDate(), k);
                const int32_t col = m.DateToCol(d);
                const int32_t row = m.DateToRow(d);
                if (col < 1 || col > m.CellColumns() || row < 1 || row > m.CellRows()) continue;
                ASSERT_EQ(m.CellToDate(col, row), d);
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(checked_cells, 100000);
}

// A year of months from January shows every day of its span exactly once, whatever the
// first day, over a common and a leap February.
TEST(ScheduleModelProperty, YearViewCoversEveryDayOnce) {
  for (const int32_t year : {2023, 2024}) {
    for (int32_t fix_top_day = 1; fix_top_day <= 31; ++fix_top_day) {
      for (const bool vertical : {false, true}) {
        TModelOn on({year, 7, 1});
        TScheduleModel& m = on.model;
        m.AssignLayout({vertical, 31, 12, 1, fix_top_day, -1, false});
        m.RebuildLayout(true);
        ASSERT_EQ(m.TopDate(), (TDateRec{year, 1, fix_top_day}));
        std::map<int32_t, int32_t> seen;  // day number -> cells
        for (int32_t col = 1; col <= m.CellColumns(); ++col) {
          for (int32_t row = 1; row <= m.CellRows(); ++row) {
            const TDateRec d = m.CellToDate(col, row);
            if (d.Day == 0) continue;
            ASSERT_LE(d.Day, DaysInMonth(d.Year, d.Month)) << fix_top_day;
            ++seen[DayNumber(d)];
          }
        }
        const int32_t first = DayNumber({year, 1, fix_top_day});
        const int32_t next = DayNumber({year + 1, 1, fix_top_day});
        ASSERT_EQ(next - first, year == 2024 ? 366 : 365);
        EXPECT_EQ(static_cast<int32_t>(seen.size()), next - first) << fix_top_day;
        EXPECT_EQ(seen.begin()->first, first);
        EXPECT_EQ(seen.rbegin()->first, next - 1);
        for (const auto& [day, count] : seen) EXPECT_EQ(count, 1) << fix_top_day;
      }
    }
  }
}

}  // namespace
}  // namespace pelo
