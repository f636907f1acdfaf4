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

#include "calendar/Cp932.h"
#include "calendar/DateInfos.h"
#include "datafiles/DataLists.h"

namespace {

class QuietNotices : public pelo::TUserNotices {
 public:
  void Beep(pelo::TBeepKind) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
  void ShowLoadErrors(const pelo::TLoadErrorReport&) override {}
};

// Lines of the kinds a long-kept schedule file holds, in turn.
std::string SampleText(int lines) {
  // A week number past 5 makes a bad line now and then, as in real files.
  const char* const kinds[] = {
      "2024/%d/%d 10:00 打ち合わせ　第%d回",    //
      "%d/%d ｸﾘｽﾏｽ会の準備 &o(%%s)",            //
      "@2025/%d/%d 創立記念日 #%d",             //
      "B:%d/MO%d 定例会議 &!(HD)",              //
      "2023/%d/%d~2023/%d/20 出張（大阪）",     //
      "9:00~17:00 2024/%d/%d 研修 &&>(HD) %d",  //
      ";2022/%d/%d 取り消した予定 %d",          //
      "1950/%d/%d~2020/5/%d 祖父 &o(%%b2)",     //
      "%d/_ 月末の締め &x(経理,%d)",            //
      "ﾚ2024/%d/%d 済んだ用事 %d",
  };
  std::string text = "=?/?/? 既定 &o(%w)\r\n";
  char line[256];
  int written = 0;
  for (int i = 0; written < lines; ++i) {
    const int month = i % 12 + 1;
    const int day = i % 28 + 1;
    std::snprintf(line, sizeof line, kinds[i % 10], month, day, i % 5 + 1);
    text += line;
    text += "\r\n";
    ++written;
    if (i % 50 == 0 && written + 4 <= lines) {
      text += "%\r\n  添付のメモ\r\n二行目\r\n%\r\n";
      written += 4;
    }
  }
  return pelo::EncodeCp932(text);
}

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_LoadDataFile(benchmark::State& state) {
  pelo::DateInfo().SetToday({2024, 5, 10});
  std::string folder = (std::filesystem::temp_directory_path() / "pelo-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = folder + "/bench.nrk";
  {
    const std::string bytes = SampleText(static_cast<int>(state.range(0)));
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    state.counters["file_mb"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  }
  const std::vector<std::string> names{path};
  QuietNotices notices;
  pelo::TDataList list(notices);
  for (auto _ : state) {
    list.LoadFiles(&names);
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["entries"] = list.Count();
  int bad = 0;
  for (int32_t i = 0; i < list.Count(); ++i) bad += list.GetData(i)->ErrorText.empty() ? 0 : 1;
  state.counters["bad_entries"] = bad;
  state.counters["peak_rss_mb"] = static_cast<double>(PeakRssKilobytes()) / 1024.0;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadDataFile)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
