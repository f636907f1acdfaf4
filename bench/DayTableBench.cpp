// Rebuilding the day table: the day packs of every entry over the four years of the window
// (SetTable) and their filing by day cell (Fill; a cell makes its lines when first read), for
// 10,000 entries of every kind the date language has. This is what every refresh of the schedule
// costs; the goal is under 100 ms. Counters: the entries (derived ones included), the packs made
// and the lines filed.
//
// Two mixes of the same kinds. "File": as a long-kept file holds them, mostly dated
// appointments, some anniversaries, few repetitions every week (some 50 lines a day). "Alike":
// every kind equally often, so one line in ten repeats every week and a day cell holds some
// 300 lines: far beyond any real file, the load under which the walk and the fill show.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSupport.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayTables.h"
#include "schedule/ScheduleSettings.h"
#include "text/Cp932.h"

namespace {

constexpr int32_t kFirstYear = 2023;
constexpr pelo::TDateRec kToday{2024, 5, 10};

using pelo::bench::QuietNotices;

// A kind of entry and how many of every 200 lines of a long-kept file are of that kind. In
// the text {m} is a month, {d} a day of the month, {n} a small count, {y} a year's last two
// digits.
struct TKind {
  const char* text;
  int per_200;
};

constexpr TKind kKinds[] = {
    {"2024/{m}/{d} 打ち合わせ", 80},                       // a single day
    {"2025/{m}/{d} 10:00~11:30 来客", 40},                 // a single day with times
    {"{m}/{d} 記念日", 15},                                // every year
    {"{d} 定例の支払い", 3},                               // every month
    {"{m}/MO{n} 第n月曜の会", 3},                          // the n-th weekday
    {"WE 19:00 教室", 1},                                  // every week
    {"TH,FR 8:00 ゴミ出し", 1},                            // two weekdays every week
    {"2024/{m}/{d}~2024/{m}/28 出張 %s（%l）", 10},        // a period with codes
    {"{m}/1~{m}/7 毎年の週間", 5},                         // a period every year
    {"25 給料日 &&<(SA,SU,HD)", 1},                        // a move off weekends and holidays
    {"{m}/{d} 予約 &&>(HD,SA,SU)", 10},                    // a move forward
    {"2024/{m}/1~2024/{m}/_ 平日の用事 &!(SA,SU,HD)", 2},  // a daily filter
    {"3/{d} 締切 &d([/[/[-14,[/[/[-7)", 5},                // derived days
    {"19{y}^/{m}/{n} 誕生日 &o(*%b)", 10},                 // a birthday with its age
    {"2010^/{m}/{d} 私たち%w", 2},                         // a wedding anniversary
    {"{m}/{d} 旧暦 %i %o", 2},                             // the old calendar
    {"B:2026/{m}/{d} 大事な用事", 5},                      // a category
    {"{m}/_ 月末の締め", 1},                               // the month's end
    {"2024/{m}/{d}^3~2024/12/31 三日毎", 2},               // a stepped period
    {"1940^/{m}/{d}~2020/{m}/{n} 祖父 &o(*%b2)", 2},       // a life event, derived entries
};

// The kinds of the lines in turn: by their share of a file, or each as often as the next.
std::vector<const char*> KindOrder(bool as_in_a_file) {
  std::vector<const char*> order;
  for (const TKind& kind : kKinds) {
    for (int i = 0; i < (as_in_a_file ? kind.per_200 : 1); ++i) order.push_back(kind.text);
  }
  return order;
}

std::string Entries(int count, bool as_in_a_file) {
  const std::vector<const char*> order = KindOrder(as_in_a_file);
  std::string text;
  for (int i = 0; i < count; ++i) {
    // Built piece by piece: g++ 12 takes std::string::replace at -O3 for an overlap.
    const std::string_view kind = order[static_cast<std::size_t>(i) % order.size()];
    for (std::size_t pos = 0; pos < kind.size();) {
      const std::size_t open = kind.find('{', pos);
      text += kind.substr(pos, open - pos);
      if (open == std::string_view::npos) break;
      const char field = kind[open + 1];
      text += std::to_string(field == 'm'   ? i % 12 + 1
                             : field == 'd' ? i % 28 + 1
                             : field == 'n' ? i % 5 + 1
                                            : 10 + i % 90);
      pos = open + 3;
    }
    text += "\r\n";
  }
  return pelo::EncodeCp932(text);
}

// state.range(1): 1 for the file's mix, 0 for every kind alike.
void BM_DayTableRebuild(benchmark::State& state) {
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  list.LoadFromBytes("bench.nrk", Entries(static_cast<int>(state.range(0)), state.range(1) != 0));
  pelo::TDayTable table(kFirstYear);
  table.SetFilter(pelo::TScheduleSettings{}.Filter);
  for (auto _ : state) {
    // As a refresh of the schedule does it after the first shown year changed: the calendar's
    // window moves with the table.
    pelo::TCalendar calendar(kToday);
    list.SetTable(calendar, kFirstYear, pelo::TDayTable::kYearCount);
    table.Fill(&list.DatePacks());
  }
  int64_t lines = 0;
  for (pelo::TDateRec day{kFirstYear, 1, 1}; day.Year < kFirstYear + 4;
       day = pelo::AddDays(day, 1)) {
    lines += table.Cell(day)->Count();
  }
  state.counters["entries"] = static_cast<double>(list.Count());
  state.counters["packs"] = static_cast<double>(list.DatePacks().Count());
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_DayTableRebuild)
    ->ArgNames({"entries", "file_mix"})
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// The two halves on their own, on the heavier mix.
void BM_SetTable(benchmark::State& state) {
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  list.LoadFromBytes("bench.nrk", Entries(static_cast<int>(state.range(0)), false));
  for (auto _ : state) {
    pelo::TCalendar calendar(kToday);
    list.SetTable(calendar, kFirstYear, pelo::TDayTable::kYearCount);
  }
}
BENCHMARK(BM_SetTable)->Arg(10000)->Unit(benchmark::kMillisecond);

// SetTable on a list that never held packs, as at start-up: every page of the pack vector is
// new. Counter: day packs made per second (goal: 10 M and more).
void BM_SetTableCold(benchmark::State& state) {
  QuietNotices notices;
  const std::string bytes = Entries(static_cast<int>(state.range(0)), false);
  int64_t packs = 0;
  std::unique_ptr<pelo::TEntryList> list;
  for (auto _ : state) {
    state.PauseTiming();
    list.reset();  // the end of the list before is not the build's
    list = std::make_unique<pelo::TEntryList>(notices, kToday);
    list->LoadFromBytes("bench.nrk", bytes);
    pelo::TCalendar calendar(kToday);
    state.ResumeTiming();
    list->SetTable(calendar, kFirstYear, pelo::TDayTable::kYearCount);
    packs += list->DatePacks().Count();
  }
  state.counters["packs_per_second"] =
      benchmark::Counter(static_cast<double>(packs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SetTableCold)->Arg(10000)->Unit(benchmark::kMillisecond);

// state.range(1): 1 for each day's lines in time order; state.range(2): 1 to read every cell
// after the Fill (what a search through the window makes), 0 for the filing alone.
void BM_Fill(benchmark::State& state) {
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  list.LoadFromBytes("bench.nrk", Entries(static_cast<int>(state.range(0)), false));
  pelo::TCalendar calendar(kToday);
  list.SetTable(calendar, kFirstYear, pelo::TDayTable::kYearCount);
  pelo::TDayTable table(kFirstYear);
  table.SetFilter(pelo::TScheduleSettings{}.Filter);
  table.SetSortByTime(state.range(1) != 0);
  for (auto _ : state) {
    table.Fill(&list.DatePacks());
    if (state.range(2) == 0) continue;
    for (pelo::TDateRec day{kFirstYear, 1, 1}; day.Year < kFirstYear + 4;
         day = pelo::AddDays(day, 1)) {
      benchmark::DoNotOptimize(table.Cell(day)->Count());
    }
  }
}
BENCHMARK(BM_Fill)
    ->ArgNames({"entries", "by_time", "every_cell"})
    ->Args({10000, 0, 0})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Unit(benchmark::kMillisecond);

// The filing of the packs of bench/startup-time.sh's 100,000 lines (some 700,000 packs), as a
// move into another year files them with the filter of a new schedule. state.range(0): the
// days whose cells are made after it, from 2024/6/2 on (28: the four weeks a screen shows).
void BM_FillStartupFile(benchmark::State& state) {
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  list.LoadFromBytes("startup.nrk", pelo::EncodeCp932(pelo::bench::StartupFileText()));
  pelo::TCalendar calendar(kToday);
  list.SetTable(calendar, kFirstYear, pelo::TDayTable::kYearCount);
  pelo::TDayTable table(kFirstYear);
  table.SetFilter(pelo::InitialScheduleSettings().Filter);
  for (auto _ : state) {
    table.Fill(&list.DatePacks());
    for (int32_t day = 0; day < state.range(0); ++day) {
      benchmark::DoNotOptimize(table.Cell(pelo::AddDays(pelo::TDateRec{2024, 6, 2}, day))->Count());
    }
  }
  state.counters["packs"] = static_cast<double>(list.DatePacks().Count());
}
BENCHMARK(BM_FillStartupFile)->ArgName("cells")->Arg(0)->Arg(28)->Unit(benchmark::kMillisecond);

}  // namespace
