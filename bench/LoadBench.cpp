// Loading a large data file: reading, decoding, splitting, parsing every line, defaults,
// blocks, day-marked entries and the derived entries of birthday entries. Peak memory is
// shown as a counter (the resident set's high-water mark of the whole process), and so are
// the allocations a load makes per line of the file (this program's operator new counts).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "datafiles/EntryLists.h"
#include "text/Cp932.h"

namespace {

// Every allocation of the program, counted.
std::atomic<std::size_t> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
// g++ cannot see that the operator new above is this program's own, malloc-based one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace {

using pelo::bench::QuietNotices;

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Loads the file of the lines (UTF-8) again and again.
void MeasureLoad(benchmark::State& state, const std::string& text, int lines) {
  std::string folder = (std::filesystem::temp_directory_path() / "pelo-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = folder + "/bench.nrk";
  {
    const std::string bytes = pelo::EncodeCp932(text);
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    state.counters["file_mb"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  }
  const std::vector<std::string> names{path};
  QuietNotices notices;
  pelo::TEntryList list(notices, {2024, 5, 10});
  std::size_t allocations = 0;
  for (auto _ : state) {
    const std::size_t before = g_allocations.load();
    list.LoadFiles(names);
    allocations = g_allocations.load() - before;
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["entries"] = list.Count();
  // The last load's: a reload also frees the entries before, which allocates nothing.
  state.counters["allocs_per_line"] = static_cast<double>(allocations) / static_cast<double>(lines);
  int bad = 0;
  for (int32_t i = 0; i < list.Count(); ++i) bad += list.Entry(i)->ErrorText.empty() ? 0 : 1;
  state.counters["bad_entries"] = bad;
  state.counters["peak_rss_mb"] = static_cast<double>(PeakRssKilobytes()) / 1024.0;
  std::filesystem::remove_all(folder);
}

void BM_LoadDataFile(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  MeasureLoad(state, pelo::bench::LongKeptFileText(lines), lines);
}
BENCHMARK(BM_LoadDataFile)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// bench/startup-time.sh's file.
void BM_LoadStartupFile(benchmark::State& state) {
  MeasureLoad(state, pelo::bench::StartupFileText(), 100000);
}
BENCHMARK(BM_LoadStartupFile)->Unit(benchmark::kMillisecond)->Iterations(5);

// 8 MiB of lines that do not parse: the first thousand are listed and kept, the rest only
// counted. Goal: within 2 s and 300 MB (run it alone for the peak: --benchmark_filter).
void BM_LoadBadLineFile(benchmark::State& state) {
  constexpr int kLines = 4 * 1024 * 1024;
  std::string text;
  text.reserve(2 * kLines);
  for (int i = 0; i < kLines; ++i) text += "q\n";
  MeasureLoad(state, text, kLines);
}
BENCHMARK(BM_LoadBadLineFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
