// The calendar's hot paths: the schedule asks for day numbers, moved dates, resolved
// patterns, the old-calendar date and the rokuyo of every visible day on every repaint, and
// refills the holidays whenever the first shown year changes.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "calendar/Calendars.h"
#include "calendar/DatePatterns.h"
#include "calendar/Dates.h"
#include "calendar/Kyurekis.h"

namespace pelo {
namespace {

// A spread of days (a prime step, so months and weekdays vary) between first and last, so
// neither the branch predictor nor the compiler sees one date over and over.
std::vector<TDateRec> SpreadDates(TDateRec first, TDateRec last, int32_t count) {
  const int32_t from = DayNumber(first);
  const int32_t span = DayNumber(last) - from + 1;
  std::vector<TDateRec> dates;
  dates.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    dates.push_back(AddDays(first, static_cast<int32_t>((static_cast<int64_t>(i) * 7919) % span)));
  }
  return dates;
}

constexpr int32_t kSampleCount = 4096;  // a power of two: the index wraps with a mask

const std::vector<TDateRec>& CalendarDates() {
  static const std::vector<TDateRec> dates =
      SpreadDates(kFirstCalendarDate, kLastCalendarDate, kSampleCount);
  return dates;
}

const std::vector<TDateRec>& LunarDates() {
  static const std::vector<TDateRec> dates =
      SpreadDates(TDateRec{1870, 11, 23}, TDateRec{2021, 1, 13}, kSampleCount);
  return dates;
}

void BM_DayNumber(benchmark::State& state) {
  const auto& dates = CalendarDates();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DayNumber(dates[i++ & (kSampleCount - 1)]));
  }
}
BENCHMARK(BM_DayNumber);

// Arg 0: one day (rolls over month ends), 1: one month (clamps), 2: one year.
void BM_AddToDate(benchmark::State& state) {
  static constexpr TDateAmount kAmounts[] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
  static constexpr const char* kLabels[] = {"a day", "a month", "a year"};
  const TDateAmount amount = kAmounts[state.range(0)];
  const auto& dates = CalendarDates();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AddToDate(dates[i++ & (kSampleCount - 1)], amount));
  }
  state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_AddToDate)->Arg(0)->Arg(1)->Arg(2);

// Arg 0: the 15th of every month, 1: the second Monday, 2: the last Friday.
void BM_ResolveDatePattern(benchmark::State& state) {
  static constexpr int32_t kDayCodes[] = {15, kCodeNthWeekFirst + 1 + 7 * 1, kCodeLastWeek + 5};
  static constexpr const char* kLabels[] = {"a plain day", "an n-th weekday", "a last weekday"};
  const TDateRec pattern{kCodeEvery, kCodeEvery, kDayCodes[state.range(0)]};
  const TPatternContext context{2000, 2030, 0};
  const TCalendar calendar(TDateRec{2024, 5, 15});
  const auto& dates = CalendarDates();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ResolveDatePattern(calendar, context, pattern, dates[i++ & (kSampleCount - 1)]));
  }
  state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_ResolveDatePattern)->Arg(0)->Arg(1)->Arg(2);

constexpr const char* kKindLabels[] = {"classic", "current"};

// One refill of the eleven-year holiday window, alternating between two windows, under the
// rules of either calendar.
void BM_MoveHolidayWindow(benchmark::State& state) {
  TCalendar calendar(TDateRec{2024, 5, 15}, static_cast<TCalendarKind>(state.range(0)));
  int32_t year = 2019;
  for (auto _ : state) {
    calendar.SetFirstYear(year);
    benchmark::DoNotOptimize(calendar.HolidayCode(TDateRec{year + 5, 5, 3}));
    year = year == 2019 ? 1990 : 2019;
  }
  state.SetLabel(kKindLabels[state.range(0)]);
}
BENCHMARK(BM_MoveHolidayWindow)->Arg(0)->Arg(1);

void BM_LunarDate(benchmark::State& state) {
  std::vector<int32_t> days;
  for (const TDateRec& date : LunarDates()) days.push_back(DayNumber(date));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LunarDate(days[i++ & (kSampleCount - 1)], TCalendarKind::kClassic));
  }
}
BENCHMARK(BM_LunarDate);

// Each calendar over its own range; the current table is twice as long.
void BM_RokuyoIndex(benchmark::State& state) {
  static const std::vector<TDateRec> current_dates =
      SpreadDates(TDateRec{1870, 11, 23}, kLastCalendarDate, kSampleCount);
  const auto kind = static_cast<TCalendarKind>(state.range(0));
  const auto& dates = kind == TCalendarKind::kCurrent ? current_dates : LunarDates();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RokuyoIndex(dates[i++ & (kSampleCount - 1)], kind));
  }
  state.SetLabel(kKindLabels[state.range(0)]);
}
BENCHMARK(BM_RokuyoIndex)->Arg(0)->Arg(1);

// The text a day cell shows; short enough to stay in the string's own buffer.
void BM_LunarDateText(benchmark::State& state) {
  const auto& dates = LunarDates();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        LunarDateText(dates[i++ & (kSampleCount - 1)], TCalendarKind::kClassic));
  }
}
BENCHMARK(BM_LunarDateText);

}  // namespace
}  // namespace pelo
