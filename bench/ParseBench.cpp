// Reading entry lines: 100,000 generated lines of every shape the loader meets (dates of
// every kind, periods, steps, adjustments, times, commands, prefix marks).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "entries/Entries.h"

namespace {

constexpr std::size_t kLineCount = 100000;
// The day the marks are dated and two-digit years are read in.
const pelo::TLineContext kContext{.Today = {2024, 5, 15}};

std::vector<std::string> GeneratedLines() {
  static const char* const kDates[] = {
      "12/25",
      "2024/5/1",
      "25",
      "1/1~1/7",
      "12/30~1/2",
      "2000/1/1~>/>/>",
      "H12/4/1",
      "S64/1/7",
      "12/MO2",
      "mo_",
      "MO^2W",
      "1/31+1^2",
      "+1~+3",
      "HD",
      "3/SD",
      "2024/1/1^_~2024/1/31",
      "1/1,2/11,4/29,5/3",
      "*/*/*",
      "05/1/1",
      "0",
  };
  static const char* const kTimes[] = {"", "10:00 ", "9:30~17:00 ", "9:00,13:00~14:00 ", "9:00PM "};
  static const char* const kPrefixes[] = {"", "", "", "ﾚ", "x", "#", "@", "A:", "ﾚ#B:"};
  static const char* const kCommands[] = {
      "",
      "",
      "",
      " &&>(HD)",
      " &!(SA,SU)",
      " &o(%a歳)",
      " &d(+7)",
      " &f(ＭＳ 明朝,12,Bold)",
      " &x(a.txt,b.txt)",
      " &c(2024/1/5)",
      " &&2^3(HD)",
      " &a(0/0/7)",
  };
  static const char* const kTexts[] = {"会議", "打ち合わせ 資料を準備", "ｸﾘｽﾏｽ会", "\"a & b\"",
                                       "誕生日"};
  std::vector<std::string> lines;
  lines.reserve(kLineCount);
  uint32_t seed = 12345;
  auto next = [&seed](std::size_t count) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % count;
  };
  for (std::size_t i = 0; i < kLineCount; ++i) {
    std::string line = kPrefixes[next(std::size(kPrefixes))];
    const std::string time = kTimes[next(std::size(kTimes))];
    const std::string date = kDates[next(std::size(kDates))];
    // Both word orders: DATE TIME DATA and TIME DATE DATA.
    line += next(2) == 0 ? date + " " + time : time + date + " ";
    line += kTexts[next(std::size(kTexts))];
    line += kCommands[next(std::size(kCommands))];
    lines.push_back(std::move(line));
  }
  return lines;
}

void BM_ParseLines(benchmark::State& state) {
  const std::vector<std::string> lines = GeneratedLines();
  std::size_t failures = 0;
  for (auto _ : state) {
    for (const std::string& line : lines) {
      pelo::TEntry entry;
      if (entry.ParseLine(line, kContext).Failed()) ++failures;
      benchmark::DoNotOptimize(entry.Dates);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
  state.counters["failed_lines"] =
      static_cast<double>(failures) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ParseLines)->Unit(benchmark::kMillisecond);

// The copy an entry list makes for undo and the clipboard.
void BM_AssignEntries(benchmark::State& state) {
  const std::vector<std::string> lines = GeneratedLines();
  std::vector<pelo::TEntry> entries(1000);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    static_cast<void>(entries[i].ParseLine(lines[i], kContext));
  }
  for (auto _ : state) {
    for (const pelo::TEntry& entry : entries) {
      pelo::TEntry copy;
      copy.Assign(&entry);
      benchmark::DoNotOptimize(copy.Dates);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * entries.size()));
}
BENCHMARK(BM_AssignEntries);

// One line with very many commands: "10 a &!(SU) &!(SU) ...". Reading it must take time in
// proportion to its length.
void BM_ParseManyCommands(benchmark::State& state) {
  std::string line = "10 a";
  for (int64_t i = 0; i < state.range(0); ++i) line += " &!(SU)";
  for (auto _ : state) {
    pelo::TEntry entry;
    static_cast<void>(entry.ParseLine(line, kContext));
    benchmark::DoNotOptimize(entry.Conditions);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ParseManyCommands)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
