// pelo-serve's server time, without the socket: the feed made afresh, the feed as kept, a
// 304, and the first feed after the 100,000-line file changed (read again and made anew).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "ServeContents.h"
#include "ServeFiles.h"
#include "ServeRequests.h"
#include "ServeSites.h"
#include "text/Cp932.h"

namespace {

using namespace pelo;
using namespace pelo::serve;

constexpr TDateRec kToday{2026, 12, 7};

struct TBenchSite {
  explicit TBenchSite(const std::string& path)
      : files(notices, kToday, {path}, {}, std::nullopt), site(files, {}, [] { return kToday; }) {}

  TServeResponse Get(const std::string& target, const std::string& etag = {}) {
    TServeRequest request;
    request.method = "GET";
    request.target = target;
    request.if_none_match = etag;
    return Respond(request, site);
  }

  bench::QuietNotices notices;
  TServeFiles files;
  TServeSite site;
};

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

const std::string kSample = std::string(PELO_EXAMPLES_DIR) + "/sample.nrk";

void BM_FeedMadeAfresh(benchmark::State& state) {
  TBenchSite bench(kSample);
  const TDateRec from{2026, 11, 7};
  const TDateRec to{2027, 12, 7};
  for (auto _ : state) {
    const std::string body =
        FeedBody(bench.files.List(), bench.files.Filter(), {}, from, to, kToday);
    benchmark::DoNotOptimize(body.data());
  }
}
BENCHMARK(BM_FeedMadeAfresh)->Unit(benchmark::kMillisecond);

void BM_FeedKept(benchmark::State& state) {
  TBenchSite bench(kSample);
  for (auto _ : state) benchmark::DoNotOptimize(bench.Get("/calendar.ics").body.size());
}
BENCHMARK(BM_FeedKept)->Unit(benchmark::kMicrosecond);

void BM_NotModified(benchmark::State& state) {
  TBenchSite bench(kSample);
  const std::string etag = bench.Get("/calendar.ics").Header("ETag");
  for (auto _ : state) {
    const TServeResponse response = bench.Get("/calendar.ics", etag);
    if (response.status != 304) state.SkipWithError("not a 304");
  }
}
BENCHMARK(BM_NotModified)->Unit(benchmark::kMicrosecond);

void BM_MonthPage(benchmark::State& state) {
  TBenchSite bench(kSample);
  int month = 0;
  for (auto _ : state) {
    // Another month each time, over more months than are kept: made, not kept.
    const int32_t index = month++ % 120;
    const std::string target = "/?month=" + std::to_string(2020 + index / 12) + "-" +
                               (index % 12 < 9 ? "0" : "") + std::to_string(index % 12 + 1);
    benchmark::DoNotOptimize(bench.Get(target).body.size());
  }
}
BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond);

// The 100,000-line file rewritten, then the feed: the stamps seen, the file read again and
// the feed made.
void BM_FeedAfterChange100k(benchmark::State& state) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "pelo-serve-bench-100k.nrk";
  const std::string text = EncodeCp932(bench::StartupFileText());
  std::ofstream(path, std::ios::binary) << text;
  TBenchSite bench(path.string());
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // The same size and a new line in front each round: a change the stamps show.
    std::ofstream(path, std::ios::binary) << "2026/12/" << (round++ % 28 + 1) << " x\r\n" << text;
    std::this_thread::sleep_for(std::chrono::milliseconds(1010));  // past the check interval
    state.ResumeTiming();
    const TServeResponse response = bench.Get("/calendar.ics");
    state.counters["events"] = static_cast<double>(CountOf(response.body, "BEGIN:VEVENT"));
    state.counters["bytes"] = static_cast<double>(response.body.size());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_FeedAfterChange100k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
