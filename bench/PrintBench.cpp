// Printing the grid at the printer's full resolution (1200 dpi) to a PDF file: a schedule of
// ten thousand lines on a window-sized control. The page is drawn in vectors, so the print
// costs about what the recording of one paint does. Goal: the peak memory of a print within
// 100 MB of the window's (peak_growth_mb), the PDF small (pdf_kb).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/GridPictures.h"
#include "app/QtSetup.h"
#include "text/Cp932.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace {

using pelo::bench::QuietNotices;

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PrintToPdf(benchmark::State& state) {
  QTemporaryDir folder;
  const QString data = folder.filePath(QStringLiteral("bench.nrk"));
  std::ofstream(data.toStdString(), std::ios::binary)
      << pelo::EncodeCp932(pelo::bench::LongKeptFileText(10000));
  QuietNotices notices;
  pelo::TMeasuredDocument document(notices, pelo::TDateRec{2024, 5, 15});
  pelo::TSchedule schedule(document);
  schedule.resize(1024, 720);
  const std::vector<std::string> names{data.toStdString()};
  schedule.EntryList().LoadFiles(names);
  schedule.RefreshData();
  schedule.JumpToday();
  // The window's own peak: one paint of the grid on the screen.
  schedule.grab();
  const double window_peak = PeakRssMegabytes();
  const QString pdf = folder.filePath(QStringLiteral("print.pdf"));
  const pelo::TPictureHeading heading = pelo::ScheduleHeading(schedule, QStringLiteral("bench"));
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageOrientation(pelo::OrientationFor(schedule.size()));
    if (!pelo::PrintPicture(schedule, heading, printer)) state.SkipWithError("print failed");
  }
  state.counters["peak_growth_mb"] = PeakRssMegabytes() - window_peak;
  state.counters["pdf_kb"] = static_cast<double>(QFileInfo(pdf).size()) / 1024.0;
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Printing needs a QApplication; the offscreen platform needs no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const pelo::TRuntimeFolder runtime_folder;
  QApplication app(argc, argv);
  pelo::PrepareApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
