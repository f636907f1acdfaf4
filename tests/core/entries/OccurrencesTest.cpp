#include "entries/Occurrences.h"

#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <vector>

#include "OccurrenceTestSupport.h"
#include "calendar/Calendars.h"

namespace pelo {
namespace {

using testing_support::DateLabel;
using testing_support::Listed;
using testing_support::ParsedEntry;
using testing_support::PeriodLabel;

// Today is Sunday 2025/6/15; the calendar's holidays cover 2020..2030. Holidays used below:
// 2023/1/1 (Sunday) with its substitute 1/2, 2024/12/23, 2025/1/1, 3/20, 5/3, 5/5, 9/23,
// 12/23. 2025/5/4 is a Sunday and no holiday.
TCalendar TestCalendar(TDateRec today = testing_support::kOccurrenceToday) {
  TCalendar calendar(today);
  calendar.SetFirstYear(2020);
  return calendar;
}

class OccurrencesTest : public ::testing::Test {
 protected:
  const TCalendar calendar_ = TestCalendar();
};

// One entry line over a range of years (weeks start on Sunday unless given).
struct TDaysCase {
  const char* line;
  int32_t first_year;
  int32_t last_year;
  const char* expected;
  int32_t week_start = 0;
};

void CheckDays(const TCalendar& calendar, std::span<const TDaysCase> cases) {
  for (const TDaysCase& c : cases) {
    const auto entry = ParsedEntry(c.line);
    const TPatternContext range{c.first_year, c.last_year, c.week_start};
    EXPECT_EQ(Listed(Occurrences(*entry, calendar, range)), c.expected)
        << c.line << " over " << c.first_year << ".." << c.last_year;
  }
}

TEST_F(OccurrencesTest, SingleDatesAndRepetitions) {
  const TDaysCase cases[] = {
      {"12/25 a", 2025, 2028, "2025/12/25:0 2026/12/25:0 2027/12/25:0 2028/12/25:0"},
      {"25 a", 2025, 2025,
       "2025/1/25:0 2025/2/25:0 2025/3/25:0 2025/4/25:0 2025/5/25:0 2025/6/25:0 2025/7/25:0 "
       "2025/8/25:0 2025/9/25:0 2025/10/25:0 2025/11/25:0 2025/12/25:0"},
      {"2/_ a", 2027, 2028, "2027/2/28:0 2028/2/29:0"},
      {"2/30 a", 2025, 2028, ""},
      {"2000/12/25 a", 2025, 2028, ""},
      {"2000/12/25 a", 2000, 2000, "2000/12/25:0"},
      // The day adjustment comes after the day: 1/31 + 1 is 2/1.
      {"1/31+1 a", 2025, 2026, "2025/2/1:0 2026/2/1:0"},
      // The month adjustment comes before it: February has no 31st.
      {"1+1/31 a", 2025, 2028, ""},
      // A holiday code as a main date looks at the first day of each month.
      {"HD a", 2025, 2025, "2025/1/1:0"},
      {"3/SD a", 2025, 2025, "2025/3/20:0"},
      {"9/AD a", 2025, 2025, "2025/9/23:0"},
      {"*/*/* a", 2025, 2028, "2025/6/15:0"},
      {"+3 a", 2025, 2025, "2025/6/18:0"},
      {"+1/0 a", 2025, 2025, "2025/7/15:0"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, EveryDayOfTheRange) {
  const auto entry = ParsedEntry("0 a");
  const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {2025, 2025, 0});
  ASSERT_EQ(packs.size(), 365u);
  EXPECT_EQ(DateLabel(packs.front().Date()), "2025/1/1");
  EXPECT_EQ(DateLabel(packs[58].Date()), "2025/2/28");
  EXPECT_EQ(DateLabel(packs[59].Date()), "2025/3/1");
  EXPECT_EQ(DateLabel(packs.back().Date()), "2025/12/31");
  for (std::size_t i = 0; i < packs.size(); ++i) {
    EXPECT_EQ(packs[i].Kind, kPackSingle);
    if (i > 0) {
      EXPECT_EQ(DayNumber(packs[i].Date()), DayNumber(packs[i - 1].Date()) + 1);
    }
  }
}

TEST_F(OccurrencesTest, WeekdayCodes) {
  const TDaysCase cases[] = {
      {"2025/3/MO a", 2025, 2025, "2025/3/3:0 2025/3/10:0 2025/3/17:0 2025/3/24:0 2025/3/31:0"},
      {"2025/2/MO a", 2025, 2025, "2025/2/3:0 2025/2/10:0 2025/2/17:0 2025/2/24:0"},
      {"2025/3/SA a", 2025, 2025, "2025/3/1:0 2025/3/8:0 2025/3/15:0 2025/3/22:0 2025/3/29:0"},
      // December 2026 has four Mondays.
      {"12/MO5 a", 2025, 2026, "2025/12/29:0"},
      {"MO2 a", 2025, 2025,
       "2025/1/13:0 2025/2/10:0 2025/3/10:0 2025/4/14:0 2025/5/12:0 2025/6/9:0 2025/7/14:0 "
       "2025/8/11:0 2025/9/8:0 2025/10/13:0 2025/11/10:0 2025/12/8:0"},
      {"MO_ a", 2025, 2025,
       "2025/1/27:0 2025/2/24:0 2025/3/31:0 2025/4/28:0 2025/5/26:0 2025/6/30:0 2025/7/28:0 "
       "2025/8/25:0 2025/9/29:0 2025/10/27:0 2025/11/24:0 2025/12/29:0"},
      {"2025/3/MO6 a", 2025, 2025, "2025/3/31:0"},
      // This week's Monday: today is a Sunday, which starts its week or ends it.
      {"*/*/MO* a", 2025, 2025, "2025/6/16:0", 0},
      {"*/*/MO* a", 2025, 2025, "2025/6/9:0", 1},
      // In another month the week is that of today's day of the month (7/15, a Tuesday).
      {"2025/7/MO* a", 2025, 2025, "2025/7/14:0"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, PeriodsAndKinds) {
  const TDaysCase cases[] = {
      {"1/1~1/3 a", 2025, 2026,
       "2025/1/1:1 2025/1/2:2 2025/1/3:3 2026/1/1:1 2026/1/2:2 2026/1/3:3"},
      // Across the new year; the period that began in 2024 is not walked, the one of the
      // last year runs out of the range.
      {"12/30~1/2 a", 2025, 2026,
       "2025/12/30:1 2025/12/31:2 2026/1/1:2 2026/1/2:3 2026/12/30:1 2026/12/31:2"},
      {"2025/3/1~2025/3/3 a", 2025, 2025, "2025/3/1:1 2025/3/2:2 2025/3/3:3"},
      {"2025/3/10~+2 a", 2025, 2025, "2025/3/10:1 2025/3/11:2 2025/3/12:3"},
      // An empty end is the start's own day.
      {"2000/1/1~ a", 2000, 2000, "2000/1/1:0"},
      {"2000/1/1~ a", 2025, 2028, ""},
      // An every-day start walks as single days.
      {"~2025/1/3 a", 2025, 2026, "2025/1/1:0 2025/1/2:0 2025/1/3:0"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, PeriodsOfThePacks) {
  const auto year_start = ParsedEntry("12/30~1/2 a");
  const std::vector<TDatePack> packs = Occurrences(*year_start, calendar_, {2025, 2026, 0});
  ASSERT_EQ(packs.size(), 6u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(PeriodLabel(packs[i].Period), "2025/12/30..2026/1/2") << i;
  }
  // The last day of a period is the last day walked: the walk ends with the range.
  EXPECT_EQ(PeriodLabel(packs[4].Period), "2026/12/30..2026/12/31");
  EXPECT_EQ(PeriodLabel(packs[5].Period), "2026/12/30..2026/12/31");
  // Every-year dates count from the range's first year.
  EXPECT_EQ(DateLabel(packs[5].BaseDate), "2025/12/30");

  const auto open = ParsedEntry("2000/1/1~>/>/> a");
  const std::vector<TDatePack> days = Occurrences(*open, calendar_, {2025, 2026, 0});
  ASSERT_EQ(days.size(), 730u);
  EXPECT_EQ(Listed({days.front()}), "2025/1/1:2");
  EXPECT_EQ(Listed({days[729]}), "2026/12/31:3");
  for (std::size_t i = 0; i + 1 < days.size(); ++i) EXPECT_EQ(days[i].Kind, kPackMiddle) << i;
  EXPECT_EQ(PeriodLabel(days[100].Period), "2000/1/1..2026/12/31");
  EXPECT_EQ(DateLabel(days[100].BaseDate), "2000/1/1");

  // A year step counts from the start's own year: the base of a birthday.
  const auto birthday = ParsedEntry("1970^1/5/3 a");
  const std::vector<TDatePack> birthdays = Occurrences(*birthday, calendar_, {2025, 2026, 0});
  EXPECT_EQ(Listed(birthdays), "2025/5/3:0 2026/5/3:0");
  ASSERT_EQ(birthdays.size(), 2u);
  EXPECT_EQ(DateLabel(birthdays[1].BaseDate), "1970/5/3");
  EXPECT_EQ(PeriodLabel(birthdays[1].Period), "2026/5/3..2026/5/3");
  EXPECT_EQ(PeriodLabel(birthdays[1].ProgressRange), "0/0/0..0/0/0");
}

// Everything a pack holds, for comparing whole pack lists.
std::string PackFields(const std::vector<TDatePack>& packs) {
  std::string text;
  for (const TDatePack& pack : packs) {
    text += Listed({pack}) + " " + PeriodLabel(pack.Period) + " z" + DateLabel(pack.BaseDate) +
            " r" + PeriodLabel(pack.ProgressRange) + "\n";
  }
  return text;
}

// A condition that drops no day of the ranges below (it names a day of the year 1) makes the
// walk go its whole way for every start; without it the walk takes its short ways for single
// days and for starts that cannot reach the range. Both must give the same packs, field by
// field and in the same order.
TEST_F(OccurrencesTest, ShortWaysGiveThePacksOfTheWholeWalk) {
  const char* const lines[] = {
      "2025/3/4 a",
      "2020/3/4 a",
      "2031/3/4 a",
      "3/4 a",
      "2/29 a",
      "4/31 a",
      "15 a",
      "31 a",
      "2/_ a",
      "_ a",
      "1950^/3/4 a",
      "1950^/2/29 a",
      "2001^3/5/5 a",
      "2030^-2/1/1 a",
      "2025/1^3/15 a",
      "1/31+1 a",
      "1/1-1 a",
      "1-1/1 a",
      "2026+1/12/31 a",
      "1+1/31 a",
      "12/31+1 a",
      "+3 a",
      "+1/0 a",
      "-400 a",
      "*/*/* a",
      "HD a",
      "3/SD a",
      "MO a",
      "SA* a",
      "1/SU* a",
      "MO2 a",
      "FR5 a",
      "3/4~3/6 a",
      "12/30~1/2 a",
      "2025/1/1^2~2025/1/7 a",
      "2025/1/10^-1~2025/1/7 a",
      "2025/1/5^-1 a",
      "2000/1/1^_~2000/1/31 a",
      "2026/1/3^-1~2025/12/28 a",
      "2026/1/3^_~2025/12/30 a",
      "2029/1/2^-3~2027/12/1 a",
      "2024/12/30~2025/1/2 a",
      "2025/1^1/1~2025/3/1 a",
      "25 a &d([/[/[+3)",
      "2025/3/10 a &d(+3)",
      "2010/5/1 a &d([+15/[/[)",
      "3/10 a &d([/[/[-1)",
  };
  const TPatternContext ranges[] = {{2024, 2027, 0}, {2025, 2025, 0}, {2028, 2028, 1},
                                    {1900, 1903, 0}, {9994, 9997, 0}, {2025, 2026, 9}};
  // On the first of a month "this week" may begin in the month before. A week start that is
  // none leaves today's 31st in a shorter month, for the walk to carry into the next.
  for (const TDateRec today :
       {testing_support::kOccurrenceToday, TDateRec{2025, 6, 1}, TDateRec{2025, 5, 31}}) {
    const TCalendar calendar = TestCalendar(today);
    for (const char* line : lines) {
      const auto entry = ParsedEntry(line, today);
      const auto whole = ParsedEntry(std::string(line) + " &!(1/1/1)", today);
      for (const TPatternContext range : ranges) {
        EXPECT_EQ(PackFields(Occurrences(*entry, calendar, range)),
                  PackFields(Occurrences(*whole, calendar, range)))
            << line << " over " << range.FirstYear << ".." << range.LastYear << " on "
            << DateLabel(today);
      }
    }
  }
}

// Today's 31st in a shorter month, left there by a week start that is none, is carried into
// the next month as a day adjustment carries it.
TEST_F(OccurrencesTest, ThisWeekOnADayTheMonthDoesNotHave) {
  const TDateRec today{2025, 5, 31};
  const auto entry = ParsedEntry("SA* a", today);
  EXPECT_EQ(Listed(Occurrences(*entry, TestCalendar(today), {2025, 2025, 9})),
            "2025/1/31:0 2025/3/3:0 2025/3/31:0 2025/5/1:0 2025/5/31:0 2025/7/1:0 2025/7/31:0 "
            "2025/8/31:0 2025/10/1:0 2025/10/31:0 2025/12/1:0 2025/12/31:0");
}

TEST_F(OccurrencesTest, Steps) {
  const TDaysCase cases[] = {
      {"2025/1/1^2~2025/1/7 a", 2025, 2025, "2025/1/1:0 2025/1/3:0 2025/1/5:0 2025/1/7:0"},
      {"2025/1/1^W~2025/1/31 a", 2025, 2025,
       "2025/1/1:0 2025/1/8:0 2025/1/15:0 2025/1/22:0 2025/1/29:0"},
      // The first and the last day only.
      {"2000/1/1^_~2000/1/31 a", 2000, 2000, "2000/1/1:1 2000/1/31:3"},
      // Backwards: the walk runs from the start down to the end.
      {"2025/1/10^-1~2025/1/7 a", 2025, 2025, "2025/1/10:1 2025/1/9:2 2025/1/8:2 2025/1/7:3"},
      {"2025/1/10^-3~2025/1/1 a", 2025, 2025, "2025/1/10:0 2025/1/7:0 2025/1/4:0 2025/1/1:0"},
      // Without an end a backward step runs to the first of the month.
      {"2025/1/5^-1 a", 2025, 2025, "2025/1/5:1 2025/1/4:2 2025/1/3:2 2025/1/2:2 2025/1/1:2"},
      // Year steps keep the grid of their start year.
      {"2001^3/5/5 a", 2025, 2030, "2025/5/5:0 2028/5/5:0"},
      {"2001^3/5/5 a", 2026, 2030, "2028/5/5:0"},
      {"2030^-2/1/1 a", 2025, 2028, "2028/1/1:0 2026/1/1:0"},
      {"2025/1^3/15 a", 2025, 2026, "2025/1/15:0 2025/4/15:0 2025/7/15:0 2025/10/15:0"},
      // A month step with no day step: one day a month up to the end's month.
      {"2025/1^1/1~2025/3/1 a", 2025, 2026, "2025/1/1:0 2025/2/1:0 2025/3/1:0"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, LongStepWalkEntersTheRangeOnItsGrid) {
  // 2000/1/1 to 2025/1/1 is 9132 days, an even number: 2025/1/1 lies on the grid.
  const auto entry = ParsedEntry("2000/1/1^2~>/>/> a");
  const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {2025, 2025, 0});
  ASSERT_EQ(packs.size(), 183u);
  EXPECT_EQ(Listed({packs[0], packs[1], packs[2]}), "2025/1/1:0 2025/1/3:0 2025/1/5:0");
  EXPECT_EQ(Listed({packs.back()}), "2025/12/31:0");

  // From year 1 (2001 - 2000): 739251 days to 2025/1/1 as dates are moved (every year by
  // the Gregorian rule), an odd number.
  const auto ancient = ParsedEntry("1-2000/1/1^2~>/>/> a");
  const std::vector<TDatePack> days = Occurrences(*ancient, calendar_, {2025, 2025, 0});
  ASSERT_EQ(days.size(), 182u);
  EXPECT_EQ(Listed({days[0], days[1], days[2]}), "2025/1/2:0 2025/1/4:0 2025/1/6:0");
  EXPECT_EQ(Listed({days.back()}), "2025/12/30:0");
  EXPECT_EQ(DateLabel(days[0].BaseDate), "1/1/1");
}

TEST_F(OccurrencesTest, ConditionsAndMoves) {
  const TDaysCase cases[] = {
      {"2025/5/1~2025/5/7 a &!(HD)", 2025, 2025,
       "2025/5/1:1 2025/5/2:2 2025/5/4:2 2025/5/6:2 2025/5/7:3"},
      {"2025/1/1 a &!(HD)", 2025, 2025, ""},
      {"2025/1/1 a &&(HD)", 2025, 2025, "2025/1/1:0"},
      // Off holidays: 2023/1/2 is the substitute of Sunday 1/1.
      {"1/1 a &&>(HD)", 2023, 2024, "2023/1/3:0 2024/1/2:0"},
      // Weekend to Monday.
      {"2025/3/1 a &!>(MO,TU,WE,TH,FR)", 2025, 2025, "2025/3/3:0"},
      {"2025/3/4 a &!>(MO,TU,WE,TH,FR)", 2025, 2025, "2025/3/4:0"},
      // One working day on: Monday to Tuesday, Friday to Monday; a Saturday first reaches
      // Monday, which counts, and so ends on Tuesday.
      {"2025/3/3 a &&1(MO,TU,WE,TH,FR)", 2025, 2025, "2025/3/4:0"},
      {"2025/3/7 a &&1(MO,TU,WE,TH,FR)", 2025, 2025, "2025/3/10:0"},
      {"2025/3/8 a &&1(MO,TU,WE,TH,FR)", 2025, 2025, "2025/3/11:0"},
      // The holiday before New Year's Day: 2025/1/1 would leave the range backwards and is
      // dropped; 2026/1/1, the year after the range, gives the 2025 day.
      {"1/1 a &&-1(HD)", 2025, 2025, "2025/12/23:0"},
      {"1/1 a &&-1(HD)", 2024, 2025, "2024/12/23:0 2025/12/23:0"},
      // Two lists: each must hold.
      {"2025/3/1~2025/3/9 a &&(MO,TU,WE,TH,FR) &!(2025/3/5)", 2025, 2025,
       "2025/3/3:2 2025/3/4:2 2025/3/6:2 2025/3/7:2"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, Shifts) {
  const TDaysCase cases[] = {
      {"12/25 a &a(1)", 2025, 2026, "2025/12/26:0 2026/12/26:0"},
      // Years, months and days as AddToDate reads them, clamped to the month's end.
      {"1/31 a &a(0/1/0)", 2027, 2028, "2027/2/28:0 2028/2/29:0"},
      // A daily period runs no list that does not move in its first pass: it is not shifted.
      {"1/1~1/3 a &a(1)", 2025, 2025, "2025/1/1:1 2025/1/2:2 2025/1/3:3"},
  };
  CheckDays(calendar_, cases);

  // The base is the day before the shift.
  const auto entry = ParsedEntry("2025/12/25 a &a(1)");
  const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {2025, 2025, 0});
  ASSERT_EQ(packs.size(), 1u);
  EXPECT_EQ(DateLabel(packs[0].BaseDate), "2025/12/25");
  EXPECT_EQ(PeriodLabel(packs[0].Period), "2025/12/26..2025/12/26");
}

TEST_F(OccurrencesTest, DerivedDates) {
  const TDaysCase cases[] = {
      {"2025/3/10 a &d([/[/[-7)", 2025, 2025, "2025/3/10:0 2025/3/3:4"},
      {"2025/3/10~2025/3/12 a &d(]/]/]+2)", 2025, 2025,
       "2025/3/10:1 2025/3/11:2 2025/3/12:3 2025/3/14:4"},
      // A derived day inside its base period is not shown.
      {"2025/3/10~2025/3/12 a &d([/[/[+1)", 2025, 2025, "2025/3/10:1 2025/3/11:2 2025/3/12:3"},
      // One derived day per base occurrence, after all the main days.
      {"3/10 a &d([/[/[-1)", 2025, 2026, "2025/3/10:0 2026/3/10:0 2025/3/9:4 2026/3/9:4"},
      // The main date lies outside the range: its base is found decade by decade and is not
      // shown itself.
      {"2010/5/1 a &d([+15/[/[)", 2025, 2025, "2025/5/1:4"},
      {"2040/5/1 a &d([-15/[/[)", 2025, 2025, "2025/5/1:4"},
      // Further back than the future can reach from the range.
      {"1900/5/1 a &d([+125/[/[)", 2025, 2025, "2025/5/1:4"},
      // Without "[" or "]" the days are read on their own and go with the nearest base.
      {"2025/3/10 a &d(+3)", 2025, 2025, "2025/3/10:0 2025/6/18:4"},
      {"2025/3/10 a &d(6/1)", 2025, 2025, "2025/3/10:0 2025/6/1:4"},
      // No base anywhere: no derived day.
      {"1500/5/1 a &d([+525/[/[)", 2025, 2025, ""},
      // A derived period that ends before it starts still gives its first day: a derived day
      // is tested against its base occurrence, not against its own period.
      {"2025/5/10 e &d([/[/[-1~[/[/[-3)", 2025, 2025, "2025/5/10:0 2025/5/9:4"},
      {"2025/5/10 e &d(2025/6/9~2025/6/7)", 2025, 2025, "2025/5/10:0 2025/6/9:4"},
      {"2025/5/10 e &d([/[/[-3~[/[/[-1)", 2025, 2025,
       "2025/5/10:0 2025/5/7:4 2025/5/8:4 2025/5/9:4"},
  };
  CheckDays(calendar_, cases);
}

// A start day taken from today or from the base is no day in a month that lacks it, as a
// written 31st is none in April; the adjustment does not bring it back.
TEST_F(OccurrencesTest, StartDaysTheMonthDoesNotHave) {
  struct TCase {
    const char* line;
    TDateRec today;
    const char* expected;
  };
  const TCase cases[] = {
      {"2024/2/* b", {2024, 1, 31}, ""},
      {"2024/2/* b", {2024, 1, 29}, "2024/2/29:0"},
      {"2024/2/? b", {2024, 1, 30}, ""},
      {"2024/4/*-1 c", {2024, 1, 31}, ""},
      {"2024/4/*-1 c", {2024, 3, 30}, "2024/4/29:0"},
      {"2024/1/31 a &d([/2/[)", {2024, 5, 1}, "2024/1/31:0"},
      {"2024/1/29 a &d([/2/[)", {2024, 5, 1}, "2024/1/29:0 2024/2/29:4"},
      {"2024/1/30~2024/1/31 a &d(]/2/])", {2024, 5, 1}, "2024/1/30:1 2024/1/31:3"},
      // An adjustment that takes a real day out of its month moves it as dates move: the end
      // on the day before the 1st is the last day of February.
      {"2024/3/1 a &d([/[/[-3~[/[/[-1)",
       {2024, 5, 1},
       "2024/3/1:0 2024/2/27:4 2024/2/28:4 2024/2/29:4"},
  };
  for (const TCase& c : cases) {
    const auto entry = ParsedEntry(c.line, c.today);
    EXPECT_EQ(Listed(Occurrences(*entry, TestCalendar(c.today), {2024, 2024, 0})), c.expected)
        << c.line << " today " << DateLabel(c.today);
  }
}

// The end of a period is carried and rolled as a date before it is cut to the year after the
// range: a borrow or a roll over thousands of years may bring it back.
TEST_F(OccurrencesTest, PeriodEndsBeyondTheRange) {
  const TDaysCase cases[] = {
      {"2026/12/30~2028/1-1/5 e", 2025, 2026, "2026/12/30:1 2026/12/31:2"},
      {"2026/12/30~2028/1/1-1 e", 2025, 2026, "2026/12/30:1 2026/12/31:2"},
      {"2026/12/30~2027/1/1-1 e", 2025, 2026, "2026/12/30:1 2026/12/31:3"},
      // 8000 years are twenty cycles of 146097 days: the end is 2027/1/1 - 1.
      {"2026/12/30~10027/1/1-2921941 e", 2025, 2026, "2026/12/30:1 2026/12/31:3"},
      {"2026/12/30~10027/1/1-2921940 e", 2025, 2026, "2026/12/30:1 2026/12/31:2"},
  };
  CheckDays(calendar_, cases);

  const auto entry = ParsedEntry("2026/12/1~2028/1-1/5 e");
  const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {2023, 2026, 0});
  ASSERT_EQ(packs.size(), 31u);
  EXPECT_EQ(Listed({packs.front()}), "2026/12/1:1");
  EXPECT_EQ(Listed({packs.back()}), "2026/12/31:2");
  EXPECT_EQ(PeriodLabel(packs.back().Period), "2026/12/1..2026/12/31");
}

// A walk that ends the day before the range (the day after it, backwards) shows nothing, one
// that ends on its first (last) day shows that day, however long before (after) it began.
TEST_F(OccurrencesTest, WalksThatEndJustOutsideTheRange) {
  const TDaysCase cases[] = {
      {"2023/12/1~2023/12/31 e", 2024, 2027, ""},
      {"2023/12/1~2024/1/1 e", 2024, 2027, "2024/1/1:3"},
      {"1990/3/5~2023/12/31 e", 2024, 2027, ""},
      {"1990/3/5~2024/1/1 e", 2024, 2027, "2024/1/1:3"},
      {"1990/3/5^7~2024/1/1 e", 2024, 2027, "2024/1/1:0"},  // both Mondays
      {"1990/3/4^7~2024/1/1 e", 2024, 2027, ""},
      {"2023/12/25~2023/12/31 e &&>(HD)", 2024, 2027, ""},
      {"2028/1/31^-1~2028/1/1 e", 2024, 2027, ""},
      {"2028/1/31^-1~2027/12/31 e", 2024, 2027, "2027/12/31:3"},
      {"2090/1/31^-1~2027/12/31 e", 2024, 2027, "2027/12/31:3"},
      {"1500/1/1~1582/12/31 e", 1583, 1586, ""},
      {"1500/1/1~1583/1/1 e", 1583, 1586, "1583/1/1:3"},
      {"1582/10/1~1583/1/2 e", 1583, 1583, "1583/1/1:2 1583/1/2:3"},
  };
  CheckDays(calendar_, cases);
}

TEST_F(OccurrencesTest, DerivedDaysCarryTheirBaseOccurrence) {
  const auto entry = ParsedEntry("2025/3/10~2025/3/12 a &d(]/]/]+2)");
  const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {2025, 2025, 0});
  ASSERT_EQ(packs.size(), 4u);
  EXPECT_EQ(PeriodLabel(packs[3].ProgressRange), "2025/3/10..2025/3/12");
  EXPECT_EQ(packs[3].BaseDate, packs[0].BaseDate);
  EXPECT_EQ(PeriodLabel(packs[3].Period), "2025/3/14..2025/3/14");

  const auto outward = ParsedEntry("2010/5/1 a &d([+15/[/[)");
  const std::vector<TDatePack> found = Occurrences(*outward, calendar_, {2025, 2025, 0});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(PeriodLabel(found[0].ProgressRange), "2010/5/1..2010/5/1");
  EXPECT_EQ(DateLabel(found[0].BaseDate), "2010/5/1");

  const auto nearest = ParsedEntry("3/10 a &d(6/1)");
  const std::vector<TDatePack> days = Occurrences(*nearest, calendar_, {2025, 2026, 0});
  EXPECT_EQ(Listed(days), "2025/3/10:0 2026/3/10:0 2025/6/1:4 2026/6/1:4");
  ASSERT_EQ(days.size(), 4u);
  EXPECT_EQ(PeriodLabel(days[2].ProgressRange), "2025/3/10..2025/3/10");
  EXPECT_EQ(PeriodLabel(days[3].ProgressRange), "2026/3/10..2026/3/10");
}

TEST_F(OccurrencesTest, RelativeDateSetWithABase) {
  TDateStartEnd base;
  base.PeriodStart = {2025, 3, 10};
  base.PeriodEnd = {2025, 3, 12};
  struct TCase {
    const char* text;
    const char* expected;
  };
  const TCase cases[] = {
      {"+3", "2025/3/13:4"},
      {"+1", ""},  // inside the base period
      {"-1", "2025/3/9:4"},
      {"+1/0", "2025/4/10:4"},
      {"[/[/[~]/]/]+1", "2025/3/13:4"},
      {"+0~+2", "2025/3/13:4 2025/3/14:4"},  // a relative end counts from the base's last day
  };
  for (const TCase& c : cases) {
    TDateSetList list;
    ASSERT_EQ(list.ParseDateSetList(c.text).Message(), "") << c.text;
    EXPECT_EQ(Listed(Enumerate(*list.Item(0), calendar_, {2025, 2025, 0}, &base, nullptr)),
              c.expected)
        << c.text;
  }
  TDateSetList list;
  ASSERT_EQ(list.ParseDateSetList("+3").Message(), "");
  const std::vector<TDatePack> packs =
      Enumerate(*list.Item(0), calendar_, {2025, 2025, 0}, &base, nullptr);
  ASSERT_EQ(packs.size(), 1u);
  EXPECT_EQ(PeriodLabel(packs[0].ProgressRange), "2025/3/10..2025/3/12");
}

TEST_F(OccurrencesTest, EvaluateListConcatenatesItsDateSets) {
  TDateSetList list;
  ASSERT_EQ(list.ParseDateSetList("12/25,2025/1/MO2,1/1~1/2").Message(), "");
  EXPECT_EQ(Listed(EvaluateList(list, calendar_, {2025, 2025, 0}, nullptr, nullptr)),
            "2025/12/25:0 2025/1/13:0 2025/1/1:1 2025/1/2:3");
}

TEST_F(OccurrencesTest, InList) {
  struct TCase {
    const char* list;
    TDateRec day;
    bool expected;
  };
  const TCase cases[] = {
      {"12/30~1/2", {2025, 12, 29}, false},
      {"12/30~1/2", {2025, 12, 30}, true},
      {"12/30~1/2", {2025, 12, 31}, true},
      {"12/30~1/2", {2026, 1, 1}, true},  // the start lies in the year before
      {"12/30~1/2", {2026, 1, 2}, true},
      {"12/30~1/2", {2026, 1, 3}, false},
      {"MO", {2025, 3, 3}, true},
      {"MO", {2025, 3, 4}, false},
      {"MO", {2024, 12, 30}, true},
      {"MO", {2025, 1, 1}, false},
      {"MO,TU,WE,TH,FR", {2025, 3, 8}, false},
      {"MO,TU,WE,TH,FR", {2025, 3, 7}, true},
      {"HD", {2025, 1, 1}, true},
      {"HD", {2025, 1, 2}, false},
      {"HD", {2023, 1, 2}, true},
      {"2000^2/1/1", {2024, 1, 1}, true},  // the year moves up its grid
      {"2000^2/1/1", {2025, 1, 1}, false},
      {"1/1~1/7,12/25", {2025, 1, 5}, true},
      {"1/1~1/7,12/25", {2025, 12, 25}, true},
      {"1/1~1/7,12/25", {2025, 12, 24}, false},
      {"2025/3/10~+2", {2025, 3, 12}, true},
      {"2025/3/10~+2", {2025, 3, 13}, false},
      // An end that is no day sets no upper limit.
      {"2025/3/10~HD", {2030, 1, 1}, true},
      {"2025/3/10~HD", {2025, 3, 9}, false},
      {"2025/1/31+1", {2025, 2, 1}, true},
  };
  for (const TCase& c : cases) {
    TDateSetList list;
    ASSERT_EQ(list.ParseDateSetList(c.list).Message(), "") << c.list;
    EXPECT_EQ(InList(list, calendar_, {2025, 2025, 0}, c.day), c.expected)
        << c.list << " on " << DateLabel(c.day);
  }
}

TEST_F(OccurrencesTest, ApplyCondition) {
  struct TCase {
    const char* line;  // the entry whose first condition is applied
    TDateRec day;
    bool expected;
    TDateRec after;
  };
  const TCase cases[] = {
      {"1/1 a &a(7)", {2025, 3, 1}, true, {2025, 3, 8}},
      {"1/1 a &a(+1/0/0)", {2024, 2, 29}, true, {2025, 2, 28}},
      {"1/1 a &!(HD)", {2025, 1, 1}, false, {2025, 1, 1}},
      {"1/1 a &!(HD)", {2025, 1, 2}, true, {2025, 1, 2}},
      {"1/1 a &&>(HD)", {2025, 1, 1}, true, {2025, 1, 2}},
      {"1/1 a &&<(HD)", {2025, 5, 5}, true, {2025, 5, 4}},
      {"1/1 a &!<(HD)", {2025, 5, 6}, true, {2025, 5, 5}},
      // The count is of days: a step of seven passes a count of two at once.
      {"1/1 a &&2^7(MO)", {2025, 3, 3}, true, {2025, 3, 10}},
      // Moving backwards out of the first year is a stop.
      {"1/1 a &&-1(HD)", {2025, 1, 1}, false, {2024, 12, 31}},
      // A day that began below the first year may move into it.
      {"1/1 a &!>(HD)", {2024, 12, 31}, true, {2025, 1, 1}},
  };
  for (const TCase& c : cases) {
    const auto entry = ParsedEntry(c.line);
    ASSERT_TRUE(entry->Conditions) << c.line;
    TDateRec day = c.day;
    EXPECT_EQ(ApplyCondition(*entry->Conditions->Item(0), calendar_, {2025, 2025, 0}, day),
              c.expected)
        << c.line << " on " << DateLabel(c.day);
    EXPECT_EQ(DateLabel(day), DateLabel(c.after)) << c.line << " on " << DateLabel(c.day);
  }
}

TDatePack BasePack(TDateRec day, int32_t kind, TDateRec first, TDateRec last) {
  TDatePack pack(day);
  pack.Kind = kind;
  pack.Period.PeriodStart = first;
  pack.Period.PeriodEnd = last;
  return pack;
}

TEST_F(OccurrencesTest, NearestBase) {
  const TDatePack march10 = BasePack({2025, 3, 10}, 0, {2025, 3, 10}, {2025, 3, 10});
  const TDatePack march20 = BasePack({2025, 3, 20}, 0, {2025, 3, 20}, {2025, 3, 20});
  const TDatePack middle = BasePack({2025, 3, 14}, 2, {2025, 3, 13}, {2025, 3, 16});
  const TDatePack first = BasePack({2025, 3, 13}, 1, {2025, 3, 13}, {2025, 3, 16});
  const TDatePack derived = BasePack({2025, 3, 15}, 4, {2025, 3, 15}, {2025, 3, 15});
  const TDatePack last = BasePack({2025, 4, 2}, 3, {2025, 3, 30}, {2025, 4, 2});

  struct TCase {
    std::vector<TDatePack> bases;
    TDateRec day;
    int32_t expected;
  };
  const TCase cases[] = {
      {{}, {2025, 3, 15}, -1},
      {{march10, march20}, {2025, 3, 15}, 0},  // a tie goes to the earlier in the list
      {{march20, march10}, {2025, 3, 15}, 0},
      {{march10, march20}, {2025, 3, 16}, 1},
      // Kinds 2 and 4 are no bases; a period holding the day is none either.
      {{middle, derived, march20}, {2025, 3, 15}, 2},
      {{first, march10}, {2025, 3, 15}, 1},
      {{first, march10}, {2025, 3, 18}, 0},
      {{march10, last}, {2025, 3, 28}, 1},
      {{march10, march10}, {2025, 3, 10}, -1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(NearestBase(cases[i].day, cases[i].bases), cases[i].expected) << "case " << i;
  }
}

// The entries the loader makes for a person who has died (birth 1970/5/3, death 2020/6/1),
// written as the loader leaves them: its conditions have a move step of 0.
TEST_F(OccurrencesTest, LifeEventShapes) {
  struct TCase {
    const char* line;
    int32_t first_year;
    int32_t last_year;
    const char* expected;
    const char* base;  // the base date of the first pack
  };
  const TCase cases[] = {
      // Birthdays from the death on: the parent's days with the end opened.
      {"1970^1/5/3~>/>/> a &&(2020/6/1~>/>/>)", 2019, 2022, "2021/5/3:0 2022/5/3:0", "1970/5/3"},
      // The death day itself.
      {"1970/5/3^1~2020/6/1 a &&(2020/6/1)", 2019, 2022, "2020/6/1:3", "1970/5/3"},
      {"1970/5/3^1~2020/6/1 a &&(2020/6/1)", 2021, 2024, "", ""},
      // The seventh and the forty-ninth day.
      {"2020/6/1+6 a", 2019, 2022, "2020/6/7:0", "2020/6/7"},
      {"2020/6/1+48 a", 2019, 2022, "2020/7/19:0", "2020/7/19"},
      // Every anniversary of the death from the next year on.
      {"2020^1/6/1~>/6/1 a &&(2021/6/1^1~>/>/>)", 2019, 2023, "2021/6/1:0 2022/6/1:0 2023/6/1:0",
       "2020/6/1"},
  };
  for (const TCase& c : cases) {
    const auto entry = ParsedEntry(c.line);
    if (entry->Conditions) {
      for (std::size_t i = 0; i < entry->Conditions->Count(); ++i) {
        entry->Conditions->Item(i)->MoveStep = 0;
      }
    }
    const std::vector<TDatePack> packs =
        Occurrences(*entry, calendar_, {c.first_year, c.last_year, 0});
    EXPECT_EQ(Listed(packs), c.expected) << c.line;
    if (!packs.empty()) {
      EXPECT_EQ(DateLabel(packs[0].BaseDate), c.base) << c.line;
    }
  }
}

// Lines that would run for ever, or walk millions of days, as the rules stand: each returns
// at once and drops what never finds its day.
TEST_F(OccurrencesTest, RunawayInputsStopPromptly) {
  struct TCase {
    const char* line;
    int32_t first_year;
    int32_t last_year;
    int32_t move_step;  // set on every condition after parsing; 1 leaves it
    const char* expected;
  };
  const TCase cases[] = {
      // A move step of 0: the day would never leave the holiday.
      {"2025/1/1 a &&>(HD)", 2025, 2025, 0, ""},
      {"2025/1/2 a &&>(HD)", 2025, 2025, 0, "2025/1/2:0"},
      {"2025/1/1 a &&3(HD)", 2025, 2025, 0, ""},
      // A day that never comes: no holidays past the years the calendar holds. The
      // year after the range has no stop above it.
      {"1/1 a &!>(HD)", 2040, 2040, 1, ""},
      {"1/1 a &!<(HD)", 2040, 2040, 1, ""},
      // Every day holds.
      {"1/1 a &&>(1/1~12/31)", 2025, 2025, 1, ""},
      {"1/1 a &&9999(1/1~12/31)", 2025, 2025, 1, ""},
      {"1/1 a &&>^2147483647(HD)", 2025, 2025, 1, ""},
      // Huge steps.
      {"2025/1/1^2147483646~2025/12/31 a", 2025, 2025, 1, "2025/1/1:0"},
      {"2025/12/31^-2147483647~2025/1/1 a", 2025, 2025, 1, "2025/12/31:0"},
      {"2025^2147483647/1/1 a", 2025, 2028, 1, "2025/1/1:0"},
      {"2025^-2147483647/1/1 a", 2025, 2028, 1, "2025/1/1:0"},
      {"0^2147483647/1/1 a", 2025, 2028, 1, "2025/1/1:0"},
      {"0^-2147483647/12/31 a", 2025, 2028, 1, "2025/12/31:0"},
      {"2025/1^99999999/1 a", 2025, 2025, 1, "2025/1/1:0"},
      // Adjustments of the largest size.
      {"1/1+2147483647 a", 2025, 2028, 1, ""},
      {"1/1-2147483647 a", 2025, 2028, 1, ""},
      {"2025/1+99999999/1 a", 2025, 2028, 1, ""},
      {"2025/1-99999999/1 a", 2025, 2028, 1, ""},
      {"0+2147483647/1/1 a", 2025, 2028, 1, ""},
      // The year is adjusted before it is aligned to its step grid.
      {"0-2147483647/1/1 a", 2025, 2028, 1, "2025/1/1:0 2026/1/1:0 2027/1/1:0 2028/1/1:0"},
      {"2025/1/10~2025/1/3-2147483647 a", 2025, 2025, 1, ""},
      {"2025/1-999999^1/1~>/>/> a", 2025, 2025, 1,
       "2025/1/1:0 2025/2/1:0 2025/3/1:0 2025/4/1:0 2025/5/1:0 2025/6/1:0 2025/7/1:0 "
       "2025/8/1:0 2025/9/1:0 2025/10/1:0 2025/11/1:0 2025/12/1:0"},
      // Years far outside the range and the calendar.
      {"9999/1/1 a", 2025, 2028, 1, ""},
      {"1-3000/1/1 a", 2025, 2028, 1, ""},
      {"9999/12/31^-1~2025/12/30 a", 2025, 2025, 1, "2025/12/31:2 2025/12/30:3"},
  };
  for (const TCase& c : cases) {
    const auto entry = ParsedEntry(c.line);
    if (entry->Conditions && c.move_step != 1) {
      for (std::size_t i = 0; i < entry->Conditions->Count(); ++i) {
        entry->Conditions->Item(i)->MoveStep = c.move_step;
      }
    }
    EXPECT_EQ(Listed(Occurrences(*entry, calendar_, {c.first_year, c.last_year, 0})), c.expected)
        << c.line;
  }
}

TEST_F(OccurrencesTest, RunawayConditionsOnTheirOwn) {
  const auto every_day = ParsedEntry("1/1 a &&>(1/1~12/31)");
  // A day far after the range has no stop above it: the move count ends it.
  TDateRec day{2100, 1, 1};
  EXPECT_FALSE(ApplyCondition(*every_day->Conditions->Item(0), calendar_, {2025, 2025, 0}, day));
  day = {2025, 6, 1};
  EXPECT_FALSE(ApplyCondition(*every_day->Conditions->Item(0), calendar_, {2025, 2025, 0}, day));
  EXPECT_EQ(day.Year, 2026);

  const auto holiday = ParsedEntry("1/1 a &&>(HD)");
  TDateSetList still = *holiday->Conditions->Item(0);
  still.MoveStep = 0;
  day = {2025, 1, 1};
  EXPECT_FALSE(ApplyCondition(still, calendar_, {2025, 2025, 0}, day));
  day = {2025, 1, 2};
  EXPECT_TRUE(ApplyCondition(still, calendar_, {2025, 2025, 0}, day));
}

TEST_F(OccurrencesTest, RangesThatAreNoRange) {
  const auto entry = ParsedEntry("12/25 a &d([/[/[-1)");
  const TPatternContext ranges[] = {{2025, 2024, 0}, {0, 3, 0}, {2025, 10000, 0}, {-5, 2025, 0}};
  for (const TPatternContext& range : ranges) {
    EXPECT_TRUE(Occurrences(*entry, calendar_, range).empty())
        << range.FirstYear << ".." << range.LastYear;
  }
  TEntry no_dates;
  no_dates.Dates.reset();
  EXPECT_TRUE(Occurrences(no_dates, calendar_, {2025, 2025, 0}).empty());
}

}  // namespace
}  // namespace pelo
