// The schedule widget at work: one full paint of a month of days that each hold twenty
// lines, and a cursor move into another first shown year with ten thousand entries loaded
// (the calendar's holidays refilled, every entry walked over four years, the day table refilled).
// Goals: a paint well inside a 60 Hz frame (16 ms), a rebuild under 100 ms. And a thousand
// reloads of a file whose entries change their font colours each time cost the same time and
// memory at the end as at the start.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/FontSubstitutions.h"
#include "datafiles/Notices.h"
#include "schedule/ScheduleSettings.h"
#include "text/Cp932.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace {

using pelo::TDateRec;

using pelo::bench::QuietNotices;

class TempFile {
 public:
  explicit TempFile(const std::string& utf8) {
    folder_ = (std::filesystem::temp_directory_path() / "pelo-bench-XXXXXX").string();
    if (mkdtemp(folder_.data()) == nullptr) return;
    path_ = folder_ + "/bench.nrk";
    const std::string bytes = pelo::EncodeCp932(utf8);
    std::ofstream(path_, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~TempFile() {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
  }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

// A schedule of four week columns (Monday first) on a window-sized control, cursor on
// Wednesday 2024/5/15: the days 2024/5/13 .. 6/9.
struct TShownSchedule {
  explicit TShownSchedule(QuietNotices& notices)
      : document(notices, pelo::TDateRec{2024, 5, 15}), schedule(document) {}
  pelo::TMeasuredDocument document;
  pelo::TSchedule schedule;
};

std::shared_ptr<pelo::TSchedule> MakeSchedule(QuietNotices& notices, const std::string& path) {
  auto shown = std::make_shared<TShownSchedule>(notices);
  // The document lives as long as the schedule handed out.
  std::shared_ptr<pelo::TSchedule> schedule(shown, &shown->schedule);
  schedule->resize(1024, 720);
  pelo::TScheduleSettings page;  // the default page: Cycle 7, Term 4
  page.DispTitle = true;
  schedule->ApplySettings(page);
  const std::vector<std::string> names{path};
  schedule->EntryList().LoadFiles(names);
  schedule->RefreshData();
  schedule->JumpToday();
  return schedule;
}

void BM_PaintFullGrid(benchmark::State& state) {
  std::string text;
  char line[160];
  for (int day = 0; day < 28; ++day) {
    const TDateRec date = pelo::AddDays(TDateRec{2024, 5, 13}, day);
    for (int i = 0; i < 20; ++i) {
      std::snprintf(line, sizeof line, "%d/%d/%d %d:00 打ち合わせ　第%d回 資料の準備 %s\n",
                    date.Year, date.Month, date.Day, 9 + i % 9, i + 1,
                    i % 4 == 0 ? "&c(2024/5/1)" : "");
      text += line;
    }
  }
  const TempFile file(text);
  QuietNotices notices;
  auto schedule = MakeSchedule(notices, file.path());
  QImage image(schedule->size(), QImage::Format_ARGB32_Premultiplied);
  int64_t lines = 0;
  for (int day = 0; day < 28; ++day) {
    const pelo::TCellLineList* list =
        schedule->DayTable().Cell(pelo::AddDays(TDateRec{2024, 5, 13}, day));
    lines += list != nullptr ? list->Count() : 0;
  }
  for (auto _ : state) {
    schedule->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_PaintFullGrid)->Unit(benchmark::kMillisecond);

// Entries as a schedule shows them: fixed days, yearly and monthly repetitions, n-th
// weekdays, periods, conditions and month ends; unlike the load benchmark's file no bad
// lines and no life spans, whose daily periods would swamp the display figures.
std::string ManyEntries(int count) {
  const char* const kinds[] = {
      "2024/%d/%d 10:00 打ち合わせ　第%d回",    //
      "%d/%d ｸﾘｽﾏｽ会の準備 &o(%%s)",            //
      "@2025/%d/%d 創立記念日 #%d",             //
      "B:%d/MO%d 定例会議 &!(HD)",              //
      "2023/%d/%d~2023/%d/20 出張（大阪）",     //
      "9:00~17:00 2024/%d/%d 研修 &&>(HD) %d",  //
      "2022/%d/%d 昔の予定 %d",                 //
      "%d/%d 誕生日 &o(%%a)",                   //
      "%d/_ 月末の締め &x(経理,%d)",            //
      "ﾚ2024/%d/%d 済んだ用事 %d",
  };
  std::string text;
  char line[256];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line, kinds[i % 10], i % 12 + 1, i % 28 + 1, i % 5 + 1);
    text += line;
    text += "\n";
  }
  return text;
}

void BM_MoveIntoAnotherYear(benchmark::State& state) {
  const TempFile file(ManyEntries(static_cast<int>(state.range(0))));
  QuietNotices notices;
  auto schedule = MakeSchedule(notices, file.path());
  int rebuilds = 0;
  QObject::connect(schedule.get(), &pelo::TSchedule::OnPreRefresh, [&] { ++rebuilds; });
  bool forward = true;
  for (auto _ : state) {
    // Each jump lands in the other year and moves the day table's window.
    schedule->JumpDate(forward ? TDateRec{2025, 6, 18} : TDateRec{2024, 6, 19});
    forward = !forward;
  }
  state.counters["rebuilds/move"] =
      static_cast<double>(rebuilds) / static_cast<double>(state.iterations());
  state.counters["packs"] = static_cast<double>(schedule->EntryList().DatePacks().Count());
}
BENCHMARK(BM_MoveIntoAnotherYear)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same move with the 100,000 lines of bench/startup-time.sh's file (goal: 60 ms).
void BM_MoveIntoAnotherYearStartupFile(benchmark::State& state) {
  const TempFile file(pelo::bench::StartupFileText());
  QuietNotices notices;
  auto schedule = MakeSchedule(notices, file.path());
  bool forward = true;
  for (auto _ : state) {
    schedule->JumpDate(forward ? TDateRec{2025, 6, 18} : TDateRec{2024, 6, 19});
    forward = !forward;
  }
  state.counters["packs"] = static_cast<double>(schedule->EntryList().DatePacks().Count());
}
BENCHMARK(BM_MoveIntoAnotherYearStartupFile)->Unit(benchmark::kMillisecond);

// The same move followed by the paint that shows it: what the user waits for.
void BM_MoveAndPaintStartupFile(benchmark::State& state) {
  const TempFile file(pelo::bench::StartupFileText());
  QuietNotices notices;
  auto schedule = MakeSchedule(notices, file.path());
  QImage image(schedule->size(), QImage::Format_ARGB32_Premultiplied);
  bool forward = true;
  for (auto _ : state) {
    schedule->JumpDate(forward ? TDateRec{2025, 6, 18} : TDateRec{2024, 6, 19});
    schedule->render(&image);
    benchmark::DoNotOptimize(image.constBits());
    forward = !forward;
  }
}
BENCHMARK(BM_MoveAndPaintStartupFile)->Unit(benchmark::kMillisecond);

// The resident size of the process in MB (Linux).
double ResidentMegabytes() {
  long pages = 0;
  long resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Forty entries of the days shown, each in a font colour of its own that the next round changes.
std::string ColouredEntries(int round) {
  std::string text;
  char line[160];
  for (int i = 0; i < 40; ++i) {
    const TDateRec date = pelo::AddDays(TDateRec{2024, 5, 13}, i % 28);
    std::snprintf(line, sizeof line, "%d/%d/%d 色の予定 %d &f(DejaVu Sans,%d,$%06x)\n", date.Year,
                  date.Month, date.Day, i, 8 + i % 3, (round * 40 + i) * 2654435 % 0xffffff);
    text += line;
  }
  return text;
}

// Reload and paint, a thousand rounds; the figures compare the first hundred with the last.
void BM_ReloadWithNewColours(benchmark::State& state) {
  constexpr int kRounds = 1000;
  const TempFile file(ColouredEntries(0));
  QuietNotices notices;
  auto schedule = MakeSchedule(notices, file.path());
  QImage image(schedule->size(), QImage::Format_ARGB32_Premultiplied);
  const std::vector<std::string> names{file.path()};
  for (auto _ : state) {
    double first_ms = 0;
    double last_ms = 0;
    double first_mb = 0;
    for (int round = 1; round <= kRounds; ++round) {
      const std::string bytes = pelo::EncodeCp932(ColouredEntries(round));
      std::ofstream(file.path(), std::ios::binary | std::ios::trunc)
          .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      const auto start = std::chrono::steady_clock::now();
      schedule->EntryList().LoadFiles(names);
      schedule->RefreshData();
      schedule->render(&image);
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      if (round <= 100) first_ms += took.count() / 100;
      if (round > kRounds - 100) last_ms += took.count() / 100;
      if (round == 100) first_mb = ResidentMegabytes();
    }
    state.counters["ms/reload first 100"] = first_ms;
    state.counters["ms/reload last 100"] = last_ms;
    state.counters["MB after 100"] = first_mb;
    state.counters["MB after 1000"] = ResidentMegabytes();
  }
}
BENCHMARK(BM_ReloadWithNewColours)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  // Painting needs a QApplication; the offscreen platform needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pelo::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
