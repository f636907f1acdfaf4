#include "calendar/Dates.h"

#include <gtest/gtest.h>

#include <cmath>

#include "DateLabels.h"

namespace pelo {
namespace {

TEST(DayNumber, Anchors) {
  const struct {
    TDateRec date;
    int32_t expected;
  } cases[] = {
      {{1858, 11, 17}, 0},    {{1582, 11, 1}, -100823}, {{2150, 12, 31}, 106695},
      {{2000, 1, 1}, 51544},  {{1582, 10, 4}, -100841}, {{1582, 10, 15}, -100840},
      {{2023, 2, 30}, 60005}, {{2023, 3, 2}, 60005},    {{1, 1, 1}, -678577},
      {{2024, 2, 29}, 60369}, {{1970, 1, 1}, 40587},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayNumber(c.date), c.expected) << test::DateLabel(c.date);
  }
}

// Months beyond 12 (records that are no dates) still count as the following months of the
// floating-point formula, also where its product lands on a whole number (month 102).
TEST(DayNumber, InvalidMonthsFollowTheFormula) {
  EXPECT_EQ(DayNumber({2023, 13, 1}), DayNumber({2024, 1, 1}));
  EXPECT_EQ(DayNumber({2023, 14, 1}), DayNumber({2024, 2, 1}));
  EXPECT_EQ(DayNumber({2000, 15, 1}) - DayNumber({2000, 14, 1}), 30);    // trunc(397.67) - 367
  EXPECT_EQ(DayNumber({2000, 102, 1}) - DayNumber({2000, 101, 1}), 31);  // 3059 - 3028
}

TEST(DayNumber, OutsideTheFormulaIsZero) {
  for (const TDateRec date :
       {TDateRec{0, 1, 1}, TDateRec{2000, 0, 1}, TDateRec{2000, 1, 0}, TDateRec{10001, 1, 1},
        TDateRec{2000, 10001, 1}, kNullDate, TDateRec{-5, 3, 3}}) {
    EXPECT_EQ(DayNumber(date), 0);
  }
}

// Walking every day of the calendar with AddToDate must give consecutive day numbers, the
// weekday must advance by one, and every day must pass the range check.
TEST(DayNumber, ConsecutiveOverTheWholeCalendar) {
  TDateRec date = kFirstCalendarDate;
  int32_t expected = kFirstCalendarDay;
  int32_t weekday = WeekdayOf(date);
  while (true) {
    ASSERT_EQ(DayNumber(date), expected) << test::DateLabel(date);
    ASSERT_EQ(WeekdayOf(date), weekday);
    ASSERT_EQ(CheckCalendarRange(date), kDateUsable);
    if (date == kLastCalendarDate) break;
    const TDateRec next = AddDays(date, 1);
    ASSERT_EQ(next.Day == 1, date.Day == DaysInMonth(date.Year, date.Month));
    date = next;
    ++expected;
    weekday = (weekday + 1) % 7;
  }
  EXPECT_EQ(expected, kLastCalendarDay);
}

// The day number is computed in integers; the formula as written works in floating point.
// Both must agree on the whole domain: every year with a month before and after February,
// and every month and day of the domain in one year.
TEST(DayNumber, IntegersAgreeWithTheFloatingPointFormula) {
  const auto formula = [](int32_t y, int32_t m, int32_t d) {
    if (m <= 2) {
      m += 12;
      y -= 1;
    }
    const auto n = static_cast<int32_t>(std::trunc(y * 365.25)) +
                   static_cast<int32_t>(std::trunc((m - 2) * 30.59)) + d;
    if (static_cast<int64_t>(y) * 10000 + m * 100 + d > 15821004) {
      return n + y / 400 - y / 100 - 678912;
    }
    return n - 678914;
  };
  int failures = 0;
  for (int32_t y = 1; y <= 10000 && failures < 5; ++y) {
    for (const int32_t m : {1, 2, 3, 12}) {
      if (DayNumber({y, m, 1}) != formula(y, m, 1)) {
        ADD_FAILURE() << y << "/" << m;
        ++failures;
      }
    }
  }
  for (int32_t v = 1; v <= 10000 && failures < 5; ++v) {
    if (DayNumber({2000, v, 1}) != formula(2000, v, 1) ||
        DayNumber({1582, v, 1}) != formula(1582, v, 1) ||
        DayNumber({2000, 1, v}) != formula(2000, 1, v) ||
        DayNumber({1582, 10, v}) != formula(1582, 10, v)) {
      ADD_FAILURE() << v;
      ++failures;
    }
  }
}

// Short moves within a month take a quicker road; every move of up to 40 days either way from
// every day 1..31 of every month (2/30 is 3/2, as for DayNumber) must still land on a real day
// exactly that many day numbers on.
TEST(AddToDate, ShortMovesLandThatManyDaysOn) {
  int failures = 0;
  for (const int32_t year : {2023, 2024, 1900, 2000}) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= 31; ++day) {
        for (int32_t days = -40; days <= 40 && failures < 5; ++days) {
          const TDateRec date{year, month, day};
          const TDateRec moved = AddToDate(date, {0, 0, days});
          if (DayNumber(moved) != DayNumber(date) + days ||
              CheckCalendarRange(moved) != kDateUsable) {
            ADD_FAILURE() << year << "/" << month << "/" << day << " + " << days;
            ++failures;
          }
        }
      }
    }
  }
}

TEST(WeekdayOf, KnownDays) {
  EXPECT_EQ(WeekdayOf({2000, 1, 1}), 6);
  EXPECT_EQ(WeekdayOf({1858, 11, 17}), 3);
  EXPECT_EQ(WeekdayOf({2024, 5, 1}), 3);
  EXPECT_EQ(WeekdayOf({1582, 11, 1}), 1);
}

TEST(DaysInMonth, CarriesTheMonth) {
  const struct {
    int32_t year, month, expected;
  } cases[] = {
      {1900, 2, 28}, {2000, 2, 29},   {2024, 14, 28}, {2024, 0, 31},
      {2023, 4, 30}, {2024, -10, 28},  // month -10 of 2024 is February 2023
      {1600, 2, 29}, {2100, 2, 28},   {2024, 26, 28}, {2024, 1, 31},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.expected) << c.year << "/" << c.month;
  }
  EXPECT_EQ(DaysInPreviousMonth(2024, 1), 31);
  EXPECT_EQ(DaysInPreviousMonth(2024, 3), 29);
}

TEST(WeekNumbers, WeekOneHoldsTheFirstDay) {
  EXPECT_EQ(WeekOfYear(0, {2023, 1, 1}), 1);
  EXPECT_EQ(WeekOfYear(0, {2022, 1, 1}), 1);
  EXPECT_EQ(WeekOfYear(0, {2022, 1, 2}), 2);
  EXPECT_EQ(WeekOfYear(1, {2024, 12, 31}), 53);
  EXPECT_EQ(WeekOfMonth(0, {2024, 6, 1}), 1);  // a Saturday
  EXPECT_EQ(WeekOfMonth(0, {2024, 6, 2}), 2);
  EXPECT_EQ(WeekOfMonth(1, {2024, 6, 2}), 1);  // Monday weeks: Sunday still in week 1
}

TEST(AddYearsMonths, CarriesIntoTheYear) {
  int32_t y = 2024, m = 11;
  AddYearsMonths(y, m, 0, 3);
  EXPECT_EQ(y, 2025);
  EXPECT_EQ(m, 2);
  AddYearsMonths(y, m, -1, -14);
  EXPECT_EQ(y, 2022);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(MonthsBetween(2023, 11, 2024, 2), 3);
}

TEST(AddToDate, ClampsOnlyPlainYearAndMonthMoves) {
  const struct {
    TDateRec date;
    TDateAmount amount;
    TDateRec expected;
  } cases[] = {
      {{2024, 1, 31}, {0, 1, 0}, {2024, 2, 29}},
      {{2023, 1, 31}, {0, 1, 0}, {2023, 2, 28}},
      {{2024, 2, 29}, {1, 0, 0}, {2025, 2, 28}},
      {{2024, 1, 31}, {0, 0, 1}, {2024, 2, 1}},
      {{2024, 3, 1}, {0, 0, -1}, {2024, 2, 29}},
      {{2024, 1, 31}, {0, 1, 1}, {2024, 3, 3}},
      {{2023, 1, 31}, {0, 1, 1}, {2023, 3, 4}},
      {{2023, 2, 30}, {0, 0, 0}, {2023, 3, 2}},  // a starting day beyond its month rolls over
      {{2024, 12, 31}, {0, 0, 1}, {2025, 1, 1}},
      {{2025, 1, 1}, {0, 0, -1}, {2024, 12, 31}},
      {{2024, 11, 30}, {0, 4, 0}, {2025, 3, 30}},
      {{2000, 1, 1}, {0, 0, 146097}, {2400, 1, 1}},
      {{2000, 1, 1}, {0, 0, -146097 * 2}, {1200, 1, 1}},
      {{2000, 1, 1}, {0, 0, 366 + 365}, {2002, 1, 1}},
      {{2024, 5, 1}, {0, -5, 0}, {2023, 12, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AddToDate(c.date, c.amount), c.expected)
        << test::DateLabel(c.date) << " + " << c.amount.Years << "," << c.amount.Months << ","
        << c.amount.Days;
  }
}

TEST(AddToDate, NullStaysNullAndHugeAmountsStayDefined) {
  EXPECT_EQ(AddToDate(kNullDate, {3, 4, 5}), kNullDate);
  EXPECT_EQ(AddToDate({2000, 5, 0}, {0, 0, 9}), (TDateRec{2000, 5, 0}));
  const TDateRec far = AddToDate({2000, 1, 1}, {0, 0, 2147483647});
  EXPECT_EQ(CheckCalendarRange(far), kDateAfterRange);
  const TDateRec back = AddToDate({2000, 1, 1}, {-2147483647, -2147483647, -2147483647});
  EXPECT_EQ(CheckCalendarRange(back), kDateBeforeRange);
}

TEST(CheckCalendarRange, Codes) {
  const struct {
    TDateRec date;
    TRangeCheck expected;
  } cases[] = {
      {{1582, 10, 31}, kDateBeforeRange}, {{1582, 11, 1}, kDateUsable},
      {{2150, 12, 31}, kDateUsable},      {{2151, 1, 1}, kDateAfterRange},
      {{2023, 2, 29}, kDateNonexistent},  {{2023, 13, 1}, kDateNonexistent},
      {{2150, 13, 1}, kDateAfterRange},   {kNullDate, kDateNonexistent},
      {{2024, 2, 29}, kDateUsable},       {{2024, 4, 31}, kDateNonexistent},
      {{20000, 1, 1}, kDateAfterRange},  // beyond the day-number formula, not inside the range
      {{-3000, 1, 1}, kDateBeforeRange},  {{1858, 10, 48}, kDateNonexistent},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckCalendarRange(c.date), c.expected) << test::DateLabel(c.date);
  }
}

TEST(MoveToWeekday, Modes) {
  const TDateRec sunday{2024, 5, 5};
  const TDateRec friday{2024, 5, 3};
  const struct {
    int32_t mode, weekday;
    TDateRec from, expected;
  } cases[] = {
      {1, 1, sunday, {2024, 4, 29}},   // Monday-start week of a Sunday: 6 days back
      {7, 0, sunday, sunday},          // on or after: does not move
      {-1, 6, friday, {2024, 4, 27}},  // on or before: 6 days back
      {0, 6, sunday, {2024, 5, 11}},   // Sunday-start week: Saturday ahead
      {7, 1, friday, {2024, 5, 6}},   {-1, 5, friday, friday},
      {8, 1, friday, friday},  // invalid mode
      {0, 7, friday, friday},  // invalid weekday
  };
  for (const auto& c : cases) {
    TDateRec date = c.from;
    MoveToWeekday(c.mode, c.weekday, date);
    EXPECT_EQ(date, c.expected) << "mode " << c.mode << " weekday " << c.weekday;
  }
}

}  // namespace
}  // namespace pelo
