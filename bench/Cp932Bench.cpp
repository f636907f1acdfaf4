// Decoding a whole data file at once: the loader decodes every file in one call.
#include <benchmark/benchmark.h>

#include <string>

#include "text/Cp932.h"

namespace {

std::string SampleFile(std::size_t lines) {
  // One typical entry line: a date, a time, Japanese text with half-width katakana.
  const std::string line = pelo::EncodeCp932("12/25 10:00 ｸﾘｽﾏｽ会　打ち合わせ…資料を準備\r\n");
  std::string file;
  file.reserve(line.size() * lines);
  for (std::size_t i = 0; i < lines; ++i) file += line;
  return file;
}

void BM_DecodeCp932File(benchmark::State& state) {
  const std::string file = SampleFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(pelo::DecodeCp932(file));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DecodeCp932File)->Arg(100)->Arg(20000);

// Many bad bytes make the converter stop and restart at each one.
void BM_DecodeCp932Garbage(benchmark::State& state) {
  std::string file(64 * 1024, '\xFF');
  for (std::size_t i = 0; i < file.size(); i += 2) file[i] = 'a';
  for (auto _ : state) benchmark::DoNotOptimize(pelo::DecodeCp932(file));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DecodeCp932Garbage);

}  // namespace
