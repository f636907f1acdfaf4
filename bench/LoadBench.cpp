// Loading a large data file: reading, decoding, splitting, parsing every line, defaults,
// blocks, day-marked entries and the derived entries of birthday entries. Peak memory is
// shown as a counter (the resident set's high-water mark of the whole process).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "datafiles/EntryLists.h"
#include "text/Cp932.h"

namespace {

using pelo::bench::QuietNotices;

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_LoadDataFile(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "pelo-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = folder + "/bench.nrk";
  {
    const std::string bytes =
        pelo::EncodeCp932(pelo::bench::LongKeptFileText(static_cast<int>(state.range(0))));
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    state.counters["file_mb"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  }
  const std::vector<std::string> names{path};
  QuietNotices notices;
  pelo::TEntryList list(notices, {2024, 5, 10});
  for (auto _ : state) {
    list.LoadFiles(&names);
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["entries"] = list.Count();
  int bad = 0;
  for (int32_t i = 0; i < list.Count(); ++i) bad += list.Entry(i)->ErrorText.empty() ? 0 : 1;
  state.counters["bad_entries"] = bad;
  state.counters["peak_rss_mb"] = static_cast<double>(PeakRssKilobytes()) / 1024.0;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadDataFile)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
