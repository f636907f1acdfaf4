// The day table's rebuild: every entry walked over its four years, and the text of every day
// pack it gets. 10,000 entries of the kinds data files hold: single dates, yearly and monthly
// repetitions, n-th and every-week weekdays, periods, conditions that move days off weekends
// and holidays, and derived days.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calendar/Calendars.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Occurrences.h"

namespace pelo {
namespace {

constexpr TPatternContext kRange{2025, 2028, 0};
constexpr TDateRec kToday{2025, 6, 15};

// Holidays from the year before the range.
const TCalendar& Calendar() {
  static const TCalendar calendar = [] {
    TCalendar made(kToday);
    made.SetFirstYear(kRange.FirstYear - 1);
    return made;
  }();
  return calendar;
}
constexpr int32_t kEntryCount = 10000;

// The kinds of entry, in the shares of the generated list.
enum TEntryKind : int32_t {
  kSingle,      // 2026/4/12 10:00 歯医者
  kYearly,      // 5/3 太郎%b
  kMonthly,     // 25 家賃
  kNthWeekday,  // MO2 定例会
  kEveryWeek,   // WE ごみ出し
  kPeriod,      // 8/13~8/16 帰省%s
  kMoving,      // 25 給料日 &&<(SA,SU,HD)
  kDerived,     // 6/30 締切 &d([/[/[-7)
  kKindCount
};

constexpr const char* kKindNames[kKindCount] = {"single",     "yearly", "monthly", "nth weekday",
                                                "every week", "period", "moving",  "derived"};
constexpr const char* kWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

std::string EntryLine(TEntryKind kind, std::mt19937& random) {
  const auto uniform = [&](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
  };
  const std::string month = std::to_string(uniform(1, 12));
  const std::string day = std::to_string(uniform(1, 28));
  const std::string weekday = kWeekdays[uniform(0, 6)];
  switch (kind) {
    case kSingle:
      return std::to_string(uniform(2024, 2029)) + "/" + month + "/" + day + " 10:00 歯医者";
    case kYearly:
      return std::to_string(uniform(1940, 2020)) + "^1/" + month + "/" + day + " 太郎%b";
    case kMonthly:
      return day + " 家賃";
    case kNthWeekday:
      return weekday + std::to_string(uniform(1, 4)) + " 18:30 定例会";
    case kEveryWeek:
      return weekday + " ごみ出し";
    case kPeriod: {
      const int32_t first = uniform(1, 20);
      return month + "/" + std::to_string(first) + "~" + month + "/" +
             std::to_string(first + uniform(1, 8)) + " 帰省%s";
    }
    case kMoving:
      return uniform(0, 1) ? day + " 給料日 &&<(SA,SU,HD)" : month + "/" + day + " 振替 &&>(HD)";
    case kDerived:
      return month + "/" + day + " 締切 &d([/[/[-7,]/]/]+3)";
    case kKindCount:
      break;
  }
  return {};
}

// One list per kind (all entries of that kind) and the mixed list of all of them.
struct TEntries {
  std::vector<std::unique_ptr<TEntry>> all;
  std::vector<std::vector<const TEntry*>> by_kind;
};

const TEntries& Entries() {
  static const TEntries entries = [] {
    // Shares out of 20: singles and yearly dates are the most common lines of a data file.
    static constexpr TEntryKind kMix[20] = {
        kSingle, kSingle, kSingle,  kSingle,  kSingle,     kYearly,     kYearly,
        kYearly, kYearly, kMonthly, kMonthly, kNthWeekday, kNthWeekday, kEveryWeek,
        kPeriod, kPeriod, kMoving,  kMoving,  kDerived,    kDerived};
    TEntries made;
    made.by_kind.resize(kKindCount);
    std::mt19937 random(4711);
    for (int32_t i = 0; i < kEntryCount; ++i) {
      const TEntryKind kind = kMix[i % 20];
      auto entry = std::make_unique<TEntry>();
      static_cast<void>(entry->ParseLine(EntryLine(kind, random), {.Today = kToday}));
      made.by_kind[kind].push_back(entry.get());
      made.all.push_back(std::move(entry));
    }
    return made;
  }();
  return entries;
}

// SetTable's loop: every entry into one pack list.
void BM_OccurrencesOfAllEntries(benchmark::State& state) {
  const TEntries& entries = Entries();
  std::vector<TDatePack> packs;
  for (auto _ : state) {
    packs.clear();
    TPackBudget budget;
    for (const auto& entry : entries.all) Occurrences(*entry, Calendar(), kRange, packs, budget);
    benchmark::DoNotOptimize(packs.data());
  }
  state.counters["packs"] = static_cast<double>(packs.size());
  state.counters["packs/s"] = benchmark::Counter(static_cast<double>(packs.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OccurrencesOfAllEntries)->Unit(benchmark::kMillisecond);

// The same, one kind of entry at a time: where the time goes.
void BM_OccurrencesByKind(benchmark::State& state) {
  const auto kind = static_cast<TEntryKind>(state.range(0));
  const std::vector<const TEntry*>& entries = Entries().by_kind[kind];
  std::vector<TDatePack> packs;
  for (auto _ : state) {
    packs.clear();
    TPackBudget budget;
    for (const TEntry* entry : entries) Occurrences(*entry, Calendar(), kRange, packs, budget);
    benchmark::DoNotOptimize(packs.data());
  }
  state.SetLabel(kKindNames[kind]);
  state.counters["entries"] = static_cast<double>(entries.size());
  state.counters["packs"] = static_cast<double>(packs.size());
}
BENCHMARK(BM_OccurrencesByKind)->DenseRange(0, kKindCount - 1)->Unit(benchmark::kMicrosecond);

// Fill's texts: the line of every pack.
void BM_LineTextOfAllPacks(benchmark::State& state) {
  const TEntries& entries = Entries();
  std::vector<TDatePack> packs;
  TPackBudget budget;
  for (const auto& entry : entries.all) {
    const std::size_t first = packs.size();
    Occurrences(*entry, Calendar(), kRange, packs, budget);
    for (std::size_t i = first; i < packs.size(); ++i) packs[i].Entry = entry.get();
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const TDatePack& pack : packs) bytes += LineText(pack, TCalendarKind::kClassic).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["packs"] = static_cast<double>(packs.size());
  state.counters["packs/s"] = benchmark::Counter(static_cast<double>(packs.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LineTextOfAllPacks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelo
