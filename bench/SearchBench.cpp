// Reading one data file again beside a large one, and searching the lines of the days: what
// a change on the disk, each key typed into the search bar and F3 cost, and a long search
// text over a long line.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayRows.h"
#include "schedule/RowSearches.h"
#include "schedule/ScheduleSettings.h"
#include "text/Cp932.h"
#include "text/SearchTexts.h"

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
  list.LoadFiles(names);
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

// A needle of "a"s and a "b" over ten megabytes of "a": every window of the text holds a long
// partial match. Argument: the needle's "a"s (the search bar and --grep take at most 255 of
// them with the "b"). Goal: 100 ms.
void BM_LongNeedleOverLongLine(benchmark::State& state) {
  const std::string needle = std::string(static_cast<std::size_t>(state.range(0)), 'a') + "b";
  const std::string line(10 * 1024 * 1024, 'a');
  bool found = true;
  for (auto _ : state) {
    pelo::TTextSearch search(needle);
    found = search.Found(line);
    benchmark::DoNotOptimize(found);
  }
  if (found) state.SkipWithError("found a needle that is not there");
}
BENCHMARK(BM_LongNeedleOverLongLine)->Arg(100000)->Arg(255)->Unit(benchmark::kMillisecond);

// The 100,000 lines of bench/startup-time.sh's file and one line more, loaded with the day
// table's packs of the four years from table_first_year.
class StartupFile {
 public:
  StartupFile(const char* extra_line, int32_t table_first_year) {
    const std::string text = pelo::bench::StartupFileText() + extra_line + "\r\n";
    list_.LoadFromBytes("startup.nrk", pelo::EncodeCp932(text));
    list_.SetTable(calendar_, table_first_year, 4);
  }
  pelo::TCalendarSearch Search(const char* text) {
    return pelo::TCalendarSearch(list_, calendar_, filter_, text, calendar_.FirstYear(),
                                 &list_.DatePacks(), &code_characters_);
  }
  int32_t Count() const { return list_.Count(); }

 private:
  QuietNotices notices_;
  pelo::TEntryList list_{notices_, kToday};
  pelo::TCalendar calendar_{kToday};
  pelo::TFilterSet filter_ = pelo::TScheduleSettings{}.Filter;
  // As the search bar keeps them.
  const pelo::TCodeCharacters code_characters_;
};

// What the search bar does after a pause in typing on that file: the entries matched, then
// the lines of the shown year (argument 1: of every year) listed, at most 2,000. Argument 0:
// a text found on few days (0), on every day (1), nowhere (2). Goal: 50 ms.
void BM_SearchBarList(benchmark::State& state) {
  StartupFile file("2024/6/1 ひとつだけの予定", kToday.Year - 1);
  const char* const texts[] = {"ひとつだけ", "点検", "見つからない"};
  const char* text = texts[state.range(0)];
  const bool every_year = state.range(1) != 0;
  const pelo::TDateRec first = every_year ? pelo::kFirstCalendarDate : pelo::TDateRec{2024, 1, 1};
  const pelo::TDateRec last = every_year ? pelo::kLastCalendarDate : pelo::TDateRec{2024, 12, 31};
  std::size_t listed = 0;
  for (auto _ : state) {
    pelo::TCalendarSearch search = file.Search(text);
    listed = search.Rows(first, last, 2000).size();
    benchmark::DoNotOptimize(listed);
  }
  state.counters["entries"] = file.Count();
  state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_SearchBarList)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond);

// F3 from the calendar's last day back to the one match, in 1600, the day table holding the
// years around the cursor. Goal: 200 ms.
void BM_FindPreviousAcrossTheCalendar(benchmark::State& state) {
  StartupFile file("1600/6/1 ひとつだけの予定", 2149);
  std::optional<pelo::TDateRec> found;
  for (auto _ : state) {
    pelo::TCalendarSearch search = file.Search("ひとつだけ");
    found = search.NextDay({2150, 12, 31}, -1);
    benchmark::DoNotOptimize(found);
  }
  if (found != pelo::TDateRec{1600, 6, 1}) state.SkipWithError("the match was not found");
}
BENCHMARK(BM_FindPreviousAcrossTheCalendar)->Unit(benchmark::kMillisecond);

// What the search bar pays once, at its first search.
void BM_CodeCharacters(benchmark::State& state) {
  for (auto _ : state) {
    const pelo::TCodeCharacters characters;
    benchmark::DoNotOptimize(characters.Holds(U'平'));
  }
}
BENCHMARK(BM_CodeCharacters)->Unit(benchmark::kMillisecond);

}  // namespace
