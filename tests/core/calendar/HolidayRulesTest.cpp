#include "calendar/HolidayRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DateLabels.h"
#include "calendar/Calendars.h"
#include "calendar/Dates.h"

namespace pelo {
namespace {

constexpr TCalendarKind kClassic = TCalendarKind::kClassic;
constexpr TCalendarKind kCurrent = TCalendarKind::kCurrent;

using test::DateLabel;

std::string HolidayOf(TCalendarKind kind, TDateRec date) {
  TYearHolidays cells;
  FillYearHolidays(kind, date.Year, cells);
  return HolidayCodeName(cells[YearHolidayIndex(date.Month, date.Day)], kind);
}

using HolidayMap = std::map<std::pair<int32_t, int32_t>, std::string>;  // (month, day) -> name

HolidayMap CurrentHolidaysOf(int32_t year) {
  TYearHolidays cells;
  EXPECT_TRUE(FillYearHolidays(kCurrent, year, cells));
  HolidayMap found;
  for (int32_t m = 1; m <= 12; ++m) {
    for (int32_t d = 1; d <= DaysInMonth(year, m); ++d) {
      const int32_t code = cells[YearHolidayIndex(m, d)];
      if (code != kHolidayNone) found[{m, d}] = HolidayCodeName(code, kCurrent);
    }
  }
  return found;
}

// The years the special laws shaped, as the official calendars list them.
TEST(CurrentHolidays, WholeYears) {
  const struct {
    int32_t year;
    HolidayMap expected;
  } cases[] = {
      {2019,
       {{{1, 1}, "元日"},
        {{1, 14}, "成人の日"},
        {{2, 11}, "建国記念の日"},
        {{3, 21}, "春分の日"},
        {{4, 29}, "昭和の日"},
        {{4, 30}, "国民の休日"},
        {{5, 1}, "天皇の即位の日"},
        {{5, 2}, "国民の休日"},
        {{5, 3}, "憲法記念日"},
        {{5, 4}, "みどりの日"},
        {{5, 5}, "こどもの日"},
        {{5, 6}, "振替休日"},
        {{7, 15}, "海の日"},
        {{8, 11}, "山の日"},
        {{8, 12}, "振替休日"},
        {{9, 16}, "敬老の日"},
        {{9, 23}, "秋分の日"},
        {{10, 14}, "体育の日"},
        {{10, 22}, "即位礼正殿の儀"},
        {{11, 3}, "文化の日"},
        {{11, 4}, "振替休日"},
        {{11, 23}, "勤労感謝の日"}}},
      {2021,
       {{{1, 1}, "元日"},
        {{1, 11}, "成人の日"},
        {{2, 11}, "建国記念の日"},
        {{2, 23}, "天皇誕生日"},
        {{3, 20}, "春分の日"},
        {{4, 29}, "昭和の日"},
        {{5, 3}, "憲法記念日"},
        {{5, 4}, "みどりの日"},
        {{5, 5}, "こどもの日"},
        {{7, 22}, "海の日"},
        {{7, 23}, "スポーツの日"},
        {{8, 8}, "山の日"},
        {{8, 9}, "振替休日"},
        {{9, 20}, "敬老の日"},
        {{9, 23}, "秋分の日"},
        {{11, 3}, "文化の日"},
        {{11, 23}, "勤労感謝の日"}}},
      {2026,
       {{{1, 1}, "元日"},
        {{1, 12}, "成人の日"},
        {{2, 11}, "建国記念の日"},
        {{2, 23}, "天皇誕生日"},
        {{3, 20}, "春分の日"},
        {{4, 29}, "昭和の日"},
        {{5, 3}, "憲法記念日"},
        {{5, 4}, "みどりの日"},
        {{5, 5}, "こどもの日"},
        {{5, 6}, "振替休日"},
        {{7, 20}, "海の日"},
        {{8, 11}, "山の日"},
        {{9, 21}, "敬老の日"},
        {{9, 22}, "国民の休日"},
        {{9, 23}, "秋分の日"},
        {{10, 12}, "スポーツの日"},
        {{11, 3}, "文化の日"},
        {{11, 23}, "勤労感謝の日"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(CurrentHolidaysOf(c.year), c.expected) << c.year;
}

// Each change of the law at the first and the last year it shapes ("" is no holiday).
TEST(CurrentHolidays, LawChangesAtTheirEdges) {
  const struct {
    TDateRec date;
    const char* name;
  } cases[] = {
      {{1873, 1, 29}, "神武天皇即位日"},
      {{1913, 10, 31}, "天長節祝日"},
      {{1913, 9, 24}, "秋季皇霊祭"},
      {{1948, 4, 29}, "天長節"},
      {{1949, 4, 29}, "天皇誕生日"},
      {{1988, 4, 29}, "天皇誕生日"},
      {{1989, 4, 29}, "みどりの日"},
      {{2006, 4, 29}, "みどりの日"},
      {{2007, 4, 29}, "昭和の日"},
      {{2006, 5, 4}, "国民の休日"},
      {{2007, 5, 4}, "みどりの日"},
      {{1995, 7, 20}, ""},
      {{1996, 7, 20}, "海の日"},
      {{2002, 7, 20}, "海の日"},
      {{2003, 7, 20}, ""},
      {{2003, 7, 21}, "海の日"},
      {{2019, 7, 15}, "海の日"},
      {{2020, 7, 20}, ""},
      {{2020, 7, 23}, "海の日"},
      {{2022, 7, 18}, "海の日"},
      {{2002, 9, 15}, "敬老の日"},
      {{2004, 9, 15}, ""},
      {{2004, 9, 20}, "敬老の日"},
      {{1999, 1, 15}, "成人の日"},
      {{2000, 1, 10}, "成人の日"},
      {{1999, 10, 10}, "体育の日"},
      {{2000, 10, 9}, "体育の日"},
      {{2019, 10, 14}, "体育の日"},
      {{2020, 10, 12}, ""},
      {{2020, 7, 24}, "スポーツの日"},
      {{2021, 10, 11}, ""},
      {{2022, 10, 10}, "スポーツの日"},
      {{2015, 8, 11}, ""},
      {{2016, 8, 11}, "山の日"},
      {{2020, 8, 11}, ""},
      {{2020, 8, 10}, "山の日"},
      {{2022, 8, 11}, "山の日"},
      {{1988, 12, 23}, ""},
      {{1989, 12, 23}, "天皇誕生日"},
      {{2018, 12, 23}, "天皇誕生日"},
      {{2018, 12, 24}, "振替休日"},
      {{2019, 12, 23}, ""},
      {{2019, 2, 23}, ""},
      {{2020, 2, 23}, "天皇誕生日"},
      {{2020, 2, 24}, "振替休日"},
      {{1959, 4, 10}, "結婚の儀"},
      {{1960, 4, 10}, ""},
      {{1989, 2, 24}, "大喪の礼"},
      {{1990, 11, 12}, "即位礼正殿の儀"},
      {{1993, 6, 9}, "結婚の儀"},
      {{2020, 5, 1}, ""},
      {{2092, 3, 19}, "春分の日"},
      {{2096, 3, 19}, "春分の日"},
      {{2150, 9, 22}, "国民の休日"},
      {{1872, 11, 3}, ""},
      {{2151, 1, 1}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HolidayOf(kCurrent, c.date), c.name) << DateLabel(c.date);
}

// The substitute and citizens' holidays of both rule sets side by side.
TEST(Holidays, SubstituteAndCitizensUnderBothRules) {
  const struct {
    TDateRec date;
    const char* classic;
    const char* current;
  } cases[] = {
      {{1973, 2, 12}, "", ""},  // a Sunday holiday before the substitute law
      {{1973, 4, 30}, "振替休日", "振替休日"},
      {{1986, 5, 4}, "", ""},  // a Sunday between two holidays
      {{1987, 5, 4}, "振替休日", "振替休日"},
      {{1988, 5, 4}, "国民の休日", "国民の休日"},
      {{2008, 5, 6}, "", "振替休日"},  // May 4 on a Sunday: after the holidays that follow
      {{2009, 5, 4}, "振替休日", "みどりの日"},
      {{2009, 5, 6}, "", "振替休日"},
      {{2009, 9, 22}, "", "国民の休日"},
      {{2015, 9, 22}, "", "国民の休日"},
      {{2019, 4, 30}, "", "国民の休日"},
      {{2021, 8, 9}, "", "振替休日"},
      {{2024, 2, 12}, "振替休日", "振替休日"},
      {{2024, 9, 23}, "振替休日", "振替休日"},
      {{2026, 9, 22}, "", "国民の休日"},
      {{2026, 12, 23}, "天皇誕生日", ""},
      {{2026, 2, 23}, "", "天皇誕生日"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DateLabel(c.date));
    EXPECT_EQ(HolidayOf(kClassic, c.date), c.classic);
    EXPECT_EQ(HolidayOf(kCurrent, c.date), c.current);
  }
}

TEST(Holidays, CodeNamesPerRuleSet) {
  EXPECT_EQ(HolidayCodeCount(kClassic), 40);
  EXPECT_STREQ(HolidayCodeName(26, kClassic), "天皇誕生");
  EXPECT_STREQ(HolidayCodeName(26, kCurrent), "天皇誕生日");
  EXPECT_STREQ(HolidayCodeName(40, kClassic), "");
  EXPECT_STREQ(HolidayCodeName(HolidayCodeCount(kCurrent) - 1, kCurrent), "即位礼正殿の儀");
  EXPECT_STREQ(HolidayCodeName(HolidayCodeCount(kCurrent), kCurrent), "");
  EXPECT_STREQ(HolidayCodeName(kHolidaySubstitute, kCurrent), "振替休日");
}

// The calendar value follows its kind; the current one fills every year up to 2150 whatever
// the window, and switching refills the window where it stands and drops the private marks.
TEST(Holidays, CalendarFollowsItsKind) {
  TCalendar calendar({2026, 6, 1}, kCurrent);
  EXPECT_EQ(calendar.Kind(), kCurrent);
  EXPECT_EQ(calendar.HolidayName({2026, 2, 23}), "天皇誕生日");
  calendar.SetFirstYear(2145);
  EXPECT_EQ(calendar.HolidayName({2150, 2, 23}), "天皇誕生日");
  EXPECT_EQ(calendar.HolidayName({2150, 9, 22}), "国民の休日");
  EXPECT_EQ(calendar.HolidayCode({2151, 1, 1}), 0);

  calendar.MarkPrivateHoliday({2146, 8, 3});
  calendar.SetKind(kClassic);
  EXPECT_EQ(calendar.FirstYear(), 2145);
  EXPECT_FALSE(calendar.IsPrivateHoliday({2146, 8, 3}));
  EXPECT_EQ(calendar.HolidayName({2150, 2, 23}), "");
  EXPECT_EQ(calendar.HolidayName({2150, 12, 23}), "天皇誕生日");
  EXPECT_EQ(calendar.HolidayCode({2151, 1, 1}), 3);  // the classic fill's partial year
  EXPECT_EQ(TCalendar({2026, 6, 1}).Kind(), kClassic);
}

}  // namespace
}  // namespace pelo
