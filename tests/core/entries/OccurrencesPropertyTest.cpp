// Properties of the walk over generated date expressions (fixed seeds: every run sees the same
// expressions). The days an expression should give are found here by going through the
// calendar day by day, independently of the walk.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "OccurrenceTestSupport.h"
#include "calendar/Calendars.h"
#include "entries/Occurrences.h"

namespace pelo {
namespace {

using testing_support::DateLabel;
using testing_support::Listed;
using testing_support::ParsedEntry;

constexpr const char* kWeekdayCodes[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

class OccurrencesPropertyTest : public ::testing::Test {
 protected:
  void SetUp() override { calendar_.SetFirstYear(2020); }

  int32_t Uniform(int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random_);
  }

  std::string YearlyExpression();

  TCalendar calendar_{testing_support::kOccurrenceToday};

  std::mt19937 random_{20250615};
};

// Every day of the years first..last with weekday w.
std::vector<TDateRec> WeekdaysOf(int32_t first, int32_t last, int32_t weekday) {
  std::vector<TDateRec> days;
  for (TDateRec day{first, 1, 1}; day.Year <= last; day = AddDays(day, 1)) {
    if (WeekdayOf(day) == weekday) days.push_back(day);
  }
  return days;
}

std::vector<TDateRec> DatesOf(const std::vector<TDatePack>& packs) {
  std::vector<TDateRec> dates;
  for (const TDatePack& pack : packs) dates.push_back(pack.Date());
  return dates;
}

TEST_F(OccurrencesPropertyTest, EveryWeekWeekdayGivesExactlyThatWeekday) {
  for (int32_t i = 0; i < 600; ++i) {
    const int32_t weekday = Uniform(0, 6);
    const int32_t first = Uniform(1600, 2140);
    const int32_t last = first + Uniform(0, 3);
    // "MO" and "MO0" are the same code.
    const std::string line =
        std::string(kWeekdayCodes[weekday]) + (Uniform(0, 1) ? "0" : "") + " a";
    const auto entry = ParsedEntry(line);
    const std::vector<TDatePack> packs =
        Occurrences(*entry, calendar_, {first, last, Uniform(0, 6)});
    const std::vector<TDateRec> expected = WeekdaysOf(first, last, weekday);
    ASSERT_EQ(DatesOf(packs), expected) << line << " over " << first << ".." << last;
    for (const TDatePack& pack : packs) {
      ASSERT_EQ(pack.Kind, kPackSingle) << line;
    }
  }
}

TEST_F(OccurrencesPropertyTest, NthWeekdayGivesOneDayAMonthInItsWeek) {
  for (int32_t i = 0; i < 800; ++i) {
    const int32_t weekday = Uniform(0, 6);
    const int32_t n = Uniform(1, 5);
    const int32_t first = Uniform(1600, 2140);
    const int32_t last = first + Uniform(0, 2);
    const std::string line = std::string(kWeekdayCodes[weekday]) + std::to_string(n) + " a";
    const auto entry = ParsedEntry(line);
    const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {first, last, 0});

    std::vector<int32_t> per_month((last - first + 1) * 12, 0);
    int32_t previous = INT32_MIN;
    for (const TDatePack& pack : packs) {
      const TDateRec day = pack.Date();
      ASSERT_GE(day.Year, first) << line;
      ASSERT_LE(day.Year, last) << line;
      ASSERT_EQ(WeekdayOf(day), weekday) << line << " " << DateLabel(day);
      ASSERT_GE(day.Day, 7 * n - 6) << line << " " << DateLabel(day);
      ASSERT_LE(day.Day, 7 * n) << line << " " << DateLabel(day);
      ASSERT_GT(DayNumber(pack.Date()), previous) << line;
      previous = DayNumber(pack.Date());
      ++per_month[(day.Year - first) * 12 + day.Month - 1];
    }
    for (const int32_t count : per_month) {
      // Every month has four of each weekday; only a fifth may be missing.
      ASSERT_EQ(count, n <= 4 ? 1 : count) << line;
      ASSERT_LE(count, 1) << line;
    }
  }
}

// A yearly expression: a day, a weekday of the month, or a period inside one month, with or
// without a condition.
std::string OccurrencesPropertyTest::YearlyExpression() {
  const auto uniform = [this](int32_t low, int32_t high) { return Uniform(low, high); };
  const int32_t month = uniform(1, 12);
  const int32_t length = DaysInMonth(2023, month);  // a common year: no 2/29 here
  std::string date = std::to_string(month) + "/";
  switch (uniform(0, 4)) {
    case 0:
      date += std::to_string(uniform(1, length));
      break;
    case 1:
      date += std::string(kWeekdayCodes[uniform(0, 6)]) + std::to_string(uniform(1, 5));
      break;
    case 2:
      date += std::string(kWeekdayCodes[uniform(0, 6)]) + "_";
      break;
    case 3: {
      const int32_t day = uniform(1, length);
      date += std::to_string(day) + "~" + std::to_string(month) + "/" +
              std::to_string(uniform(day, length));
      break;
    }
    default: {
      const int32_t day = uniform(1, length);
      date += std::to_string(day) + "^" + std::to_string(uniform(2, 5)) + "~" +
              std::to_string(month) + "/" + std::to_string(uniform(day, length));
      break;
    }
  }
  // Filters only: a move or a shift can carry a day into the next year, and the walk does not
  // look at the year before the range.
  static constexpr const char* kConditions[] = {"", " &!(HD)", " &&(HD)", " &!(SA,SU)",
                                                " &&(MO,TU,WE,TH,FR)"};
  return date + " a" + kConditions[uniform(0, 4)];
}

TEST_F(OccurrencesPropertyTest, YearlyDatesAgreeInSharedYears) {
  for (int32_t i = 0; i < 1000; ++i) {
    const std::string line = YearlyExpression();
    const auto entry = ParsedEntry(line);
    // Two overlapping ranges inside the years the calendar holds.
    const int32_t a1 = Uniform(2021, 2027);
    const int32_t a2 = Uniform(a1, 2029);
    const int32_t b1 = Uniform(a1, a2);
    const int32_t b2 = Uniform(b1, 2029);
    const std::vector<TDatePack> in_a = Occurrences(*entry, calendar_, {a1, a2, 0});
    const std::vector<TDatePack> in_b = Occurrences(*entry, calendar_, {b1, b2, 0});
    for (int32_t year = b1; year <= std::min(a2, b2); ++year) {
      const auto of_year = [year](const std::vector<TDatePack>& packs) {
        std::vector<TDatePack> kept;
        for (const TDatePack& pack : packs) {
          if (pack.Year() == year) kept.push_back(pack);
        }
        return Listed(kept);
      };
      ASSERT_EQ(of_year(in_a), of_year(in_b))
          << line << " in " << year << " of " << a1 << ".." << a2 << " and " << b1 << ".." << b2;
    }
  }
}

TEST_F(OccurrencesPropertyTest, WalksRunInStepOrderWithTheirKindsOnTheirEnds) {
  static constexpr const char* kConditions[] = {"", " &!(HD)", " &!(SA,SU)", " &&(MO,WE,FR)"};
  for (int32_t i = 0; i < 2000; ++i) {
    const TDateRec from{Uniform(2021, 2028), Uniform(1, 12), Uniform(1, 28)};
    const TDateRec to = AddDays(from, Uniform(0, 90));
    int32_t step = 0;
    std::string step_text;
    switch (Uniform(0, 4)) {
      case 0:
        step = 1;  // a plain period walks day by day
        break;
      case 1:
        step = Uniform(1, 9);
        step_text = "^" + std::to_string(step);
        break;
      case 2:
        step = 7;
        step_text = "^W";
        break;
      case 3:
        step = -Uniform(1, 9);
        step_text = "^" + std::to_string(step);
        break;
      default:
        step = kEndsOnlyStep;
        step_text = "^_";
        break;
    }
    const bool backwards = step < 0;
    const TDateRec start = backwards ? to : from;
    const TDateRec end = backwards ? from : to;
    const int32_t condition = Uniform(0, 3);
    const std::string line =
        DateLabel(start) + step_text + "~" + DateLabel(end) + " a" + kConditions[condition];
    const auto entry = ParsedEntry(line);
    const int32_t first = Uniform(2020, start.Year);
    const int32_t last = Uniform(std::max(first, from.Year), 2029);
    const std::vector<TDatePack> packs = Occurrences(*entry, calendar_, {first, last, 0});

    const int32_t stride = step == kEndsOnlyStep ? DayNumber(end) - DayNumber(start) : step;
    for (std::size_t k = 0; k < packs.size(); ++k) {
      const TDatePack& pack = packs[k];
      ASSERT_GE(pack.Year(), first) << line;
      ASSERT_LE(pack.Year(), last) << line;
      if (pack.Kind == kPackFirst) {
        ASSERT_TRUE(pack.Period.PeriodStart == pack.Date()) << line;
      }
      if (pack.Kind == kPackLast) {
        ASSERT_TRUE(pack.Period.PeriodEnd == pack.Date()) << line;
      }
      if (k == 0) continue;
      const int32_t difference = DayNumber(pack.Date()) - DayNumber(packs[k - 1].Date());
      if (backwards) {
        ASSERT_LT(difference, 0) << line;
      } else {
        ASSERT_GT(difference, 0) << line;
      }
      // Conditions that only filter leave days of the step grid.
      ASSERT_EQ(difference % stride, 0) << line;
      if (condition == 0) {
        ASSERT_EQ(difference, stride) << line;
      }
    }
    // Without a condition every day of the walk inside the range is there.
    if (condition == 0 && first <= from.Year && to.Year <= last) {
      const int32_t span = DayNumber(end) - DayNumber(start);
      ASSERT_EQ(static_cast<int32_t>(packs.size()), stride == 0 ? 1 : span / stride + 1) << line;
    }
  }
}

}  // namespace
}  // namespace pelo
