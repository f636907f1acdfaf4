#include "calendar/Calendars.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

#include "DateLabels.h"

namespace pelo {
namespace {

using HolidayMap = std::map<std::pair<int32_t, int32_t>, std::string>;  // (month, day) -> name

// Every holiday of a year, read back from a window that holds it.
HolidayMap HolidaysOf(int32_t year) {
  const TCalendar info({year, 6, 1});
  HolidayMap found;
  for (int32_t m = 1; m <= 12; ++m) {
    for (int32_t d = 1; d <= DaysInMonth(year, m); ++d) {
      if (info.IsHoliday({year, m, d})) found[{m, d}] = info.HolidayName({year, m, d});
    }
  }
  return found;
}

TEST(Holidays, WholeYears) {
  const struct {
    int32_t year;
    HolidayMap expected;
  } cases[] = {
      {2024, {{{1, 1}, "元日"},           {{1, 8}, "成人の日"},    {{2, 11}, "建国記念の日"},
              {{2, 12}, "振替休日"},      {{3, 20}, "春分の日"},   {{4, 29}, "みどりの日"},
              {{5, 3}, "憲法記念日"},     {{5, 4}, "国民の休日"},  {{5, 5}, "こどもの日"},
              {{5, 6}, "振替休日"},       {{7, 20}, "海の日"},     {{9, 15}, "敬老の日"},
              {{9, 16}, "振替休日"},      {{9, 22}, "秋分の日"},   {{9, 23}, "振替休日"},
              {{10, 14}, "体育の日"},     {{11, 3}, "文化の日"},   {{11, 4}, "振替休日"},
              {{11, 23}, "勤労感謝の日"}, {{12, 23}, "天皇誕生日"}}},
      {1873, {{{1, 29}, "神武天皇祭"}, {{11, 3}, "天長節"}, {{11, 23}, "新嘗祭"}}},
      {1913,
       {{{1, 1}, "四方拝"},
        {{1, 3}, "元始祭"},
        {{1, 5}, "新年宴会"},
        {{2, 11}, "紀元節"},
        {{3, 21}, "春季皇霊祭"},
        {{4, 3}, "神武天皇祭"},
        {{7, 30}, "明治天皇祭"},
        {{8, 31}, "天長節"},
        {{9, 24}, "秋期皇霊祭"},
        {{10, 17}, "神嘗祭"},
        {{10, 31}, "天長節"},
        {{11, 23}, "新嘗祭"}}},
  };
  for (const auto& c : cases) {
    const HolidayMap got = HolidaysOf(c.year);
    EXPECT_EQ(got, c.expected) << c.year;
  }
}

TEST(Holidays, SingleDays) {
  const struct {
    TDateRec date;
    int32_t code;
  } cases[] = {
      {{1999, 1, 15}, 4},  {{1999, 10, 10}, 14}, {{2000, 1, 10}, 5},   {{2000, 10, 9}, 15},
      {{2000, 1, 15}, 0},  {{1989, 4, 29}, 8},   {{1989, 12, 23}, 18}, {{1989, 1, 2}, 1},
      {{1988, 4, 29}, 26}, {{1993, 6, 9}, 39},   {{1994, 6, 9}, 0},    {{1874, 4, 3}, 20},
      {{1874, 1, 29}, 0},  {{1973, 2, 12}, 0},   {{1973, 4, 30}, 1},   {{1985, 5, 4}, 0},
      {{1986, 5, 4}, 0},   {{1987, 5, 4}, 1},    {{1988, 5, 4}, 2},    {{1900, 3, 21}, 32},
      {{1900, 9, 23}, 33}, {{2012, 3, 20}, 7},   {{2012, 9, 22}, 13},  {{1979, 3, 21}, 7},
      {{1979, 9, 24}, 13}, {{2092, 3, 19}, 7},   {{1927, 11, 3}, 38},  {{1926, 12, 25}, 37},
  };
  for (const auto& c : cases) {
    const TCalendar info(c.date);
    EXPECT_EQ(info.HolidayCode(c.date), c.code) << test::DateLabel(c.date);
  }
}

TEST(Holidays, EquinoxFormulas) {
  const struct {
    int32_t year, vernal, autumnal;
  } cases[] = {
      {1900, 21, 23}, {2012, 20, 22}, {1979, 21, 24}, {2092, 19, 22},
      {1851, 21, 24}, {2150, 21, 23}, {1850, 0, 0},   {2151, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VernalEquinoxDay(c.year), c.vernal) << c.year;
    EXPECT_EQ(AutumnalEquinoxDay(c.year), c.autumnal) << c.year;
  }
}

TEST(Holidays, WindowEdges) {
  const TCalendar info({2021, 1, 1});
  EXPECT_EQ(info.HolidayCode({2032, 1, 1}), -1);
  EXPECT_FALSE(info.IsHoliday({2032, 1, 1}));
  EXPECT_EQ(info.HolidayName({2032, 1, 1}), "Error Holiday 2032");
  EXPECT_EQ(info.HolidayName({2019, 1, 1}), "Error Holiday 2019");
  EXPECT_EQ(info.HolidayName({2030, 1, 1}), "元日");
  EXPECT_EQ(info.HolidayName({2030, 1, 2}), "");
  EXPECT_EQ(info.HolidayCode({2030, 13, 1}), 0);  // no such cell: no holiday
  EXPECT_EQ(info.HolidayCode({2030, 2, 30}), 0);
}

// Past the years of the equinox formulas the fill stops at the first equinox row; the rows
// before it in that year are still written.
TEST(Holidays, FillStopsWhereTheEquinoxIsUnknown) {
  const TCalendar info({2146, 1, 1});
  EXPECT_EQ(info.HolidayCode({2150, 9, 23}), 13);
  EXPECT_EQ(info.HolidayCode({2151, 1, 1}), 3);
  EXPECT_EQ(info.HolidayCode({2151, 2, 11}), 6);
  EXPECT_EQ(info.HolidayCode({2151, 5, 3}), 0);
  EXPECT_EQ(info.HolidayCode({2152, 1, 1}), 0);
}

// Every window the schedule can ask for fills without touching a cell outside it.
TEST(Holidays, EveryWindowFills) {
  TCalendar info({2024, 5, 1});
  for (int32_t first = 1570; first <= 2150; ++first) {
    info.SetFirstYear(first);
    ASSERT_EQ(info.FirstYear(), first);
  }
}

// Marks stay while the window stays where it is (every rebuild of the same table marks the
// same days again) and go when it moves.
TEST(PrivateHolidays, MarksLiveUntilTheWindowMoves) {
  TCalendar info({2024, 5, 1});
  ASSERT_EQ(info.FirstYear(), 2023);
  EXPECT_FALSE(info.IsPrivateHoliday({2024, 8, 13}));
  info.MarkPrivateHoliday({2024, 8, 13});
  info.MarkPrivateHoliday({2040, 1, 1});  // outside: ignored
  info.MarkPrivateHoliday({2024, 0, 1});  // no such cell: ignored
  EXPECT_TRUE(info.IsPrivateHoliday({2024, 8, 13}));
  EXPECT_FALSE(info.IsPrivateHoliday({2040, 1, 1}));
  info.SetFirstYear(2023);
  EXPECT_TRUE(info.IsPrivateHoliday({2024, 8, 13}));
  info.SetFirstYear(2022);
  EXPECT_FALSE(info.IsPrivateHoliday({2024, 8, 13}));
  EXPECT_TRUE(info.IsHoliday({2024, 5, 3}));
}

// A calendar is a value: a copy keeps today, the window and the marks, and marking one leaves
// the other alone.
TEST(Calendar, CopiesAreIndependent) {
  TCalendar first({2024, 5, 1});
  first.MarkPrivateHoliday({2024, 8, 13});
  TCalendar second = first;
  second.MarkPrivateHoliday({2024, 8, 14});
  second.SetFirstYear(2030);
  EXPECT_TRUE(first.IsToday({2024, 5, 1}));
  EXPECT_FALSE(first.IsToday({2024, 5, 2}));
  EXPECT_EQ(second.Today(), (TDateRec{2024, 5, 1}));
  EXPECT_EQ(first.FirstYear(), 2023);
  EXPECT_TRUE(first.IsPrivateHoliday({2024, 8, 13}));
  EXPECT_FALSE(first.IsPrivateHoliday({2024, 8, 14}));
  EXPECT_EQ(second.HolidayCode({2024, 5, 3}), -1);
  EXPECT_EQ(second.HolidayName({2035, 5, 3}), "憲法記念日");
}

// The clock's date is a real day of the calendar.
TEST(Calendar, SystemTodayIsADay) { EXPECT_EQ(CheckCalendarRange(SystemToday()), kDateUsable); }

// The system clock's local time in the zone set just before each question: the seconds since
// 1970 the local date and time give, less those of the clock, are the zone's offset.
TEST(SystemClock, FollowsTheTimeZoneAtEachQuestion) {
  const char* kept = std::getenv("TZ");
  const std::string old_zone = kept != nullptr ? kept : "";
  // POSIX zones, no zone files needed, and their offsets east of UTC.
  const std::pair<const char*, int> zones[] = {
      {"UTC0", 0}, {"<+14>-14", 14 * 3600}, {"<-10>10", -10 * 3600}, {"<+0530>-5:30", 19800}};
  for (const auto& [zone, offset] : zones) {
    SCOPED_TRACE(zone);
    setenv("TZ", zone, 1);
    const TLocalTime now = TSystemClock().Now();
    const int64_t utc = std::time(nullptr);
    ASSERT_TRUE(now.Second >= 0 && now.Second <= 86400);
    const int64_t local =
        (int64_t{DayNumber(now.Date)} - DayNumber(1970, 1, 1)) * 86400 + now.Second;
    EXPECT_NEAR(static_cast<double>(local - utc), offset, 2.0);
  }
  if (kept != nullptr) {
    setenv("TZ", old_zone.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
}

}  // namespace
}  // namespace pelo
