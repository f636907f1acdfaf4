#include "calendar/DatePatterns.h"

#include <gtest/gtest.h>

#include <string>

#include "DateLabels.h"

namespace pelo {
namespace {

class ResolveDatePatternTest : public ::testing::Test {
 protected:
  TCalendar calendar_{TDateRec{2024, 5, 15}};  // a Wednesday; holidays from 2023
};

TEST_F(ResolveDatePatternTest, Codes) {
  const TPatternContext span{2023, 2026, 0};
  const struct {
    TPatternContext context;
    TDateRec pattern, reference, expected;
  } cases[] = {
      {span, {0, 0, 55}, {2024, 1, 1}, {2024, 1, 8}},   // second Monday
      {span, {0, 0, 82}, {2024, 2, 1}, {2024, 2, 25}},  // last Sunday
      {span, {0, 2, 30}, {2024, 1, 1}, kNullDate},      // 2/30
      {span, {0, 0, 75}, {2024, 2, 1}, kNullDate},      // fifth Sunday of February 2024
      {span, {0, 0, 75}, {2024, 3, 1}, {2024, 3, 31}},  // fifth Sunday of March 2024
      {{1583, 2150, 0}, {-4, 1, 1}, {2024, 1, 1}, {1583, 1, 1}},
      {{1583, 2150, 0}, {-5, -5, -5}, {2024, 1, 1}, {2150, 12, 31}},
      {span, {-4, -4, -4}, {2024, 7, 7}, {2023, 1, 1}},
      {span, {-1, -1, -1}, {2000, 1, 1}, {2024, 5, 15}},  // today
      {span, {-10, -10, -10}, {2000, 1, 1}, {2024, 5, 15}},
      {span, {0, 0, 0}, {2001, 2, 3}, {2001, 2, 3}},
      {span, {0, 0, 32}, {2024, 2, 1}, {2024, 2, 29}},  // month end
      {span, {0, 0, -6}, {2024, 5, 3}, {2024, 5, 3}},   // 憲法記念日
      {span, {0, 0, -6}, {2024, 5, 7}, kNullDate},
      {span, {0, 3, -8}, {2024, 1, 1}, {2024, 3, 20}},
      {span, {0, 3, -8}, {2023, 1, 1}, {2023, 3, 21}},
      {span, {0, 4, -8}, {2024, 1, 1}, kNullDate},
      {span, {0, 9, -9}, {2024, 1, 1}, {2024, 9, 22}},
      {span, {1700, 9, -9}, {2024, 1, 1}, kNullDate},         // no equinox formula for 1700
      {span, {0, 0, 36}, {2000, 1, 1}, {2000, 1, 12}},        // Wednesday of today's week (15th)
      {{0, 0, 1}, {0, 0, 40}, {2024, 5, 15}, {2024, 5, 19}},  // Sunday, Monday-start week
      {span, {0, 0, 40}, {2024, 6, 1}, {2024, 5, 26}},        // Sunday of the week holding 6/1
      {span, {0, 0, -2}, {2024, 1, 1}, {2024, 1, -1}},        // passed through as code + 1
      {span, {0, 0, 95}, {2024, 1, 1}, {2024, 1, 96}},
      {span, {0, 0, 89}, {2024, 1, 1}, {2024, 1, 90}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveDatePattern(calendar_, c.context, c.pattern, c.reference), c.expected)
        << test::DateLabel(c.pattern);
  }
}

// The plain day codes resolved without the calendar: the same day the full resolution gives in
// every month of the years that differ in their month lengths (leap years, the centuries, the
// year of the calendar reform, the ends of the domain).
TEST_F(ResolveDatePatternTest, PlainDaysAsTheFullResolution) {
  for (const int32_t year : {1, 4, 100, 1582, 1600, 1700, 1900, 2000, 2023, 2024, 2100, 9999}) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t code = 1; code <= kCodeMonthEnd; ++code) {
        ASSERT_TRUE(IsPlainDayCode(code));
        EXPECT_EQ(ResolvePlainDay(year, month, code),
                  ResolveDatePattern(calendar_, {2023, 2026, 0}, {year, month, code}, {1, 1, 1}))
            << year << "/" << month << "/" << code;
      }
    }
  }
  const struct {
    TDateRec pattern, expected;
  } cases[] = {
      {{2024, 2, 29}, {2024, 2, 29}},   {{2023, 2, 29}, kNullDate},
      {{1900, 2, 29}, kNullDate},       {{2000, 2, 29}, {2000, 2, 29}},
      {{2025, 4, 31}, kNullDate},       {{2025, 4, 32}, {2025, 4, 30}},
      {{2024, 2, 32}, {2024, 2, 29}},   {{2100, 2, 32}, {2100, 2, 28}},
      {{9999, 12, 31}, {9999, 12, 31}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePlainDay(c.pattern.Year, c.pattern.Month, c.pattern.Day), c.expected)
        << test::DateLabel(c.pattern);
  }
  for (const int32_t code : {kCodeEvery, kCodeToday, kCodeHoliday, kCodeKeep, kCodeThisWeek}) {
    EXPECT_FALSE(IsPlainDayCode(code)) << code;
  }
}

TEST_F(ResolveDatePatternTest, PrivateHolidayCode) {
  EXPECT_EQ(ResolveDatePattern(calendar_, {}, {0, 0, -7}, {2024, 6, 10}), kNullDate);
  calendar_.MarkPrivateHoliday({2024, 6, 10});
  EXPECT_EQ(ResolveDatePattern(calendar_, {}, {0, 0, -7}, {2024, 6, 10}), (TDateRec{2024, 6, 10}));
}

// Today, the holidays and the marks are those of the calendar handed in: another calendar
// resolves the same pattern to another day, and a holiday outside a calendar's window is none.
TEST(ResolveDatePattern, ReadsTheCalendarHandedIn) {
  const TCalendar may({2024, 5, 15});
  TCalendar march({2024, 3, 1});
  march.MarkPrivateHoliday({2024, 6, 10});
  const struct {
    const TCalendar& calendar;
    TDateRec pattern, reference, expected;
  } cases[] = {
      {may, {kCodeToday, kCodeToday, kCodeToday}, {2000, 1, 1}, {2024, 5, 15}},
      {march, {kCodeToday, kCodeToday, kCodeToday}, {2000, 1, 1}, {2024, 3, 1}},
      // The Monday of the week that holds today's day of the month, 2000/1/15 or 2000/1/1.
      {may, {0, 0, kCodeThisWeek + 1}, {2000, 1, 1}, {2000, 1, 10}},
      {march, {0, 0, kCodeThisWeek + 1}, {2000, 1, 1}, {1999, 12, 27}},
      {may, {0, 0, kCodePrivateHoliday}, {2024, 6, 10}, kNullDate},
      {march, {0, 0, kCodePrivateHoliday}, {2024, 6, 10}, {2024, 6, 10}},
      {may, {0, 0, kCodeHoliday}, {2033, 5, 3}, {2033, 5, 3}},  // the window's last year
      {may, {0, 0, kCodeHoliday}, {2034, 5, 3}, kNullDate},     // past it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveDatePattern(c.calendar, {}, c.pattern, c.reference), c.expected)
        << test::DateLabel(c.pattern);
  }
}

// The holiday and equinox codes ask the calendar's own rules: the current calendar knows the
// later holidays and takes the vernal equinox from the formula (March 19 in 2092 and 2096),
// where the classic one reads it off its holidays and cannot give the 19th.
TEST(ResolveDatePattern, HolidayCodesFollowTheKind) {
  const struct {
    TDateRec today, pattern, reference, classic, current;
  } cases[] = {
      {{2026, 6, 1}, {0, 0, kCodeHoliday}, {2026, 2, 23}, kNullDate, {2026, 2, 23}},
      {{2026, 6, 1}, {0, 0, kCodeHoliday}, {2026, 12, 23}, {2026, 12, 23}, kNullDate},
      {{2026, 6, 1}, {0, 0, kCodeHoliday}, {2026, 9, 22}, kNullDate, {2026, 9, 22}},
      {{2026, 6, 1}, {0, 3, kCodeVernalEquinox}, {2026, 1, 1}, {2026, 3, 20}, {2026, 3, 20}},
      {{2093, 1, 1}, {0, 3, kCodeVernalEquinox}, {2092, 1, 1}, {2092, 3, 21}, {2092, 3, 19}},
      {{2093, 1, 1}, {0, 3, kCodeVernalEquinox}, {2096, 1, 1}, {2096, 3, 21}, {2096, 3, 19}},
      {{2093, 1, 1}, {1850, 3, kCodeVernalEquinox}, {2096, 1, 1}, {1850, 3, 21}, kNullDate},
      {{2026, 6, 1}, {0, 9, kCodeAutumnalEquinox}, {2026, 1, 1}, {2026, 9, 23}, {2026, 9, 23}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::DateLabel(c.reference) + " code " + std::to_string(c.pattern.Day));
    const TCalendar classic(c.today, TCalendarKind::kClassic);
    const TCalendar current(c.today, TCalendarKind::kCurrent);
    EXPECT_EQ(ResolveDatePattern(classic, {}, c.pattern, c.reference), c.classic);
    EXPECT_EQ(ResolveDatePattern(current, {}, c.pattern, c.reference), c.current);
  }
}

// Every n-th weekday code lands on that weekday within days 7n-6..7n of its month.
TEST_F(ResolveDatePatternTest, NthAndLastWeekdayOverManyMonths) {
  for (int32_t year = 1583; year <= 2150; year += 7) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t w = 0; w < 7; ++w) {
        for (int32_t n = 1; n <= 5; ++n) {
          const TDateRec got =
              ResolveDatePattern(calendar_, {}, {year, month, 40 + w + 7 * n}, {year, month, 1});
          if (got == kNullDate) {
            ASSERT_EQ(n, 5);
            continue;
          }
          ASSERT_EQ(WeekdayOf(got), w);
          ASSERT_EQ(got.Month, month);
          ASSERT_GE(got.Day, 7 * n - 6);
          ASSERT_LE(got.Day, 7 * n);
        }
        const TDateRec last =
            ResolveDatePattern(calendar_, {}, {year, month, 82 + w}, {year, 1, 1});
        ASSERT_EQ(WeekdayOf(last), w);
        ASSERT_GT(last.Day + 7, DaysInMonth(year, month));
      }
    }
  }
}

}  // namespace
}  // namespace pelo
