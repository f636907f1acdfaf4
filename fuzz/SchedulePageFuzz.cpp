// Arbitrary bytes as a page-settings file, applied to a schedule that shows a few entries
// (one with a picture), laid out and painted into an offscreen image; then the cursor goes to
// both ends of the calendar and one cycle on, with a paint after each move. Today is fixed,
// so every run of an input is the same. Beyond not crashing: every number the page gives
// lies in the range the schedule can draw, and the cursor never leaves the calendar.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "QtFuzzSupport.h"
#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "schedule/ScheduleModels.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace {

using namespace pelo;
using fuzz::Check;

constexpr TDateRec kToday{2024, 5, 10};

bool Within(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

void CheckDrawable(const TScheduleSettings& s) {
  Check(Within(s.Cycle, 1, kMaxCellCount) && Within(s.Term, 1, kMaxCellCount));
  Check(Within(s.FixTopMonth, 0, 12) && Within(s.FixTopDay, 0, 31));
  Check(Within(s.FixTopWeek, -1, 6) && Within(s.DayInfo, 0, 4));
  for (const int32_t frame : {s.Title3D, s.Cursor3D, s.Today3D, s.Normal3D}) {
    Check(Within(frame, -kMaxFrameWidth, kMaxFrameWidth));
  }
  Check(Within(s.LineWidth, 0, 16) && Within(s.Spacing, 0, 64) && Within(s.Percent, 10, 1000));
}

// A small bitmap for the line with a picture, written once for the whole run.
std::string PicturePath() {
  static const QTemporaryDir folder;
  static const std::string path = [] {
    QImage picture(12, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString file = QDir(folder.path()).filePath(QStringLiteral("pic.bmp"));
    picture.save(file, "BMP");
    return file.toStdString();
  }();
  return path;
}

std::string Entries() {
  return "2024/5/10 today's meeting &f(DejaVu Sans,14)\n"
         "2024/5/10 a line long enough to wrap in any cell WWWWWWWWWWWWWWWWWWWWWWWWWWW\n"
         "2024/5/3 on a holiday &i(" +
         PicturePath() +
         ")\n"
         "2024/5/11 checked and ranked\n"
         "A:2024/5/* every day of May\n"
         "2150/12/31 the last day\n"
         "1582/11/1 the first day\n";
}

QImage Rendered(TSchedule& schedule, Qt::GlobalColor ground) {
  QImage image(schedule.size(), QImage::Format_RGB32);
  image.fill(ground);
  schedule.render(&image);
  return image;
}

void Paint(TSchedule& schedule) {
  // Painted over two grounds: a pixel the schedule paints does not show the ground. The
  // control's own colour fills at least what no cell covers.
  const QImage first = Rendered(schedule, Qt::magenta);
  const QImage second = Rendered(schedule, Qt::green);
  const QPoint corner(first.width() - 1, first.height() - 1);
  Check(first.pixel(corner) == second.pixel(corner));
  Check(CheckCalendarRange(schedule.CursorDate()) == kDateUsable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Application();
  TPage page(768);
  const TIniFile ini =
      TIniFile::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (page.Read(ini, kPageSection)) CheckDrawable(page.Schedule);

  fuzz::TSilentNotices notices;
  TMeasuredDocument document(notices, kToday);
  TSchedule schedule(document);
  schedule.resize(560, 420);
  schedule.EntryList().LoadFromBytes("fuzz.nrk", Entries());
  schedule.RefreshData();
  schedule.ApplySettings(page.Schedule);
  Paint(schedule);
  for (const TDateRec date : {TDateRec{2150, 12, 31}, TDateRec{1582, 11, 1}}) {
    schedule.JumpDate(date);
    Paint(schedule);
  }
  schedule.JumpToday();
  schedule.MoveDate(0, 0, schedule.Model().Cycle());
  Paint(schedule);
  return 0;
}
