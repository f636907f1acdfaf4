// Reading one data file again beside a large one, and searching the lines of the days: what
// a change on the disk and each key typed into the search bar cost.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayRows.h"
#include "schedule/RowSearches.h"
#include "schedule/ScheduleSettings.h"
#include "text/Cp932.h"

namespace {

using pelo::bench::QuietNotices;
constexpr pelo::TDateRec kToday{2024, 5, 10};

// A folder with a large file of long-kept lines and a small one; removed at the end.
class TwoFiles {
 public:
  explicit TwoFiles(int large_lines) {
    folder_ = (std::filesystem::temp_directory_path() / "pelo-bench-XXXXXX").string();
    if (mkdtemp(folder_.data()) == nullptr) folder_.clear();
    Write("large.nrk", pelo::bench::LongKeptFileText(large_lines));
    Write("small.nrk", pelo::bench::LongKeptFileText(100));
  }
  ~TwoFiles() {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  bool Made() const { return !folder_.empty(); }
  std::vector<std::string> Names() const { return {Path("large.nrk"), Path("small.nrk")}; }
  std::string Path(const char* name) const { return folder_ + "/" + name; }
  void Write(const char* name, const std::string& text) const {
    const std::string bytes = pelo::EncodeCp932(text);
    std::ofstream(Path(name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::string folder_;
};

// Loads the two files into list; false, with the benchmark told why, when they could not be
// made.
bool LoadTwoFiles(benchmark::State& state, const TwoFiles& files, pelo::TEntryList& list) {
  if (!files.Made()) {
    state.SkipWithError("no temporary folder");
    return false;
  }
  const std::vector<std::string> names = files.Names();
  list.LoadFiles(&names);
  return true;
}

// Argument 0: the lines of the large file; argument 1: the file read again (0 the large one,
// 1 the small one).
void BM_ReloadOneFile(benchmark::State& state) {
  const TwoFiles files(static_cast<int>(state.range(0)));
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  if (!LoadTwoFiles(state, files, list)) return;
  const auto index = static_cast<int32_t>(state.range(1));
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.ReloadFile(index, true).Outcome);
  }
  state.counters["entries"] = list.Count();
}
BENCHMARK(BM_ReloadOneFile)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The rows of the four years of the day table, searched for a text: Argument: 0 a text
// found often, 1 one found nowhere.
void BM_SearchRows(benchmark::State& state) {
  const TwoFiles files(20000);
  QuietNotices notices;
  pelo::TEntryList list(notices, kToday);
  if (!LoadTwoFiles(state, files, list)) return;
  pelo::TCalendar calendar(kToday);
  const std::vector<pelo::TDayRow> rows =
      pelo::DayRows(list, calendar, pelo::TScheduleSettings{}.Filter, {2023, 1, 1}, {2026, 12, 31});
  const char* text = state.range(0) == 0 ? "ｸﾘｽﾏｽ" : "見つからない";
  std::size_t found = 0;
  for (auto _ : state) {
    found = pelo::MatchingRows(list, rows, text).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["rows"] = static_cast<double>(rows.size());
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
