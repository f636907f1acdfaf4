#include "app/HeadlessExports.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "app/CommandLines.h"
#include "app/MainWindows.h"
#include "app/OutputFiles.h"
#include "app/PlacementStores.h"
#include "app/QtSetup.h"
#include "app/ViewCommands.h"
#include "calendar/Calendars.h"
#include "calendar/DateTexts.h"
#include "datafiles/ConsoleNotices.h"
#include "text/FileIdentities.h"
#include "text/Texts.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

constexpr const char* kExportUsage =
    "usage: pelo --export OUT.png|OUT.pdf [--date YYYY/M/D] [--size WxH] FILE...";

// "960x640": two sides within the limits.
bool ParseSize(const std::string& text, QSize& size) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  int32_t width = 0;
  int32_t height = 0;
  if (!ParseInt32(std::string_view(text).substr(0, x), width) ||
      !ParseInt32(std::string_view(text).substr(x + 1), height)) {
    return false;
  }
  const auto fits = [](int32_t side) { return side >= kMinExportSide && side <= kMaxExportSide; };
  if (!fits(width) || !fits(height)) return false;
  size = QSize(width, height);
  return true;
}

// The schedule as the window would show it at the picture's size, less the heading's band.
// False when a data file could not be read.
bool ShowCommandLine(TSchedule& schedule, const TExportOptions& options, const QStringList& files,
                     const TPlacementStore& store) {
  schedule.SetReadOnly(true);
  // Shown on no screen, but shown: it takes its size before the layout is worked out.
  schedule.setAttribute(Qt::WA_DontShowOnScreen);
  schedule.resize(options.size.width(), std::max(options.size.height() - kHeadingHeight, 1));
  schedule.show();
  // The calendar the window would start with, before the pages, which may choose another.
  schedule.SetCalendarKind(StoredCalendarKind(store));
  const bool all_read = ApplyCommandLine(schedule, files);
  ApplyChosenOrder(schedule, store);
  if (!all_read) return false;
  schedule.RefreshData();
  return true;
}

}  // namespace

bool AsksForExport(const std::vector<std::string>& args) {
  // "--export=OUT" asks too, and is refused as bad usage rather than taken for a file.
  return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
    return arg == kExportOption || arg.rfind(Concat({kExportOption, "="}), 0) == 0;
  });
}

TParseError ParseExportArguments(const std::vector<std::string>& args, TExportOptions& options) {
  const auto bad = [](std::size_t at, std::initializer_list<std::string_view> parts) {
    return TParseError{Concat(parts), at};
  };
  bool have_output = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      options.files.push_back(arg);
      continue;
    }
    if (arg != kExportOption && arg != "--date" && arg != "--size") {
      return bad(i, {"unknown option '", arg, "' (", kExportUsage, ")"});
    }
    if (i + 1 >= args.size()) return bad(i, {"option '", arg, "' needs a value"});
    const std::string& value = args[++i];
    if (arg == kExportOption) {
      const auto format = PictureFormatOf(QFile::decodeName(value.c_str()));
      if (have_output) return bad(i, {"--export is given twice"});
      if (!format) return bad(i, {"--export: '", value, "' is neither .png nor .pdf"});
      options.output = value;
      options.format = *format;
      have_output = true;
    } else if (arg == "--date") {
      if (const TParseError error = ParseCommandLineDate(value, options.date); error.Failed()) {
        return bad(i, {"--date: ", error.Message()});
      }
    } else if (!ParseSize(value, options.size)) {
      return bad(i, {"--size: '", value, "' is not WIDTHxHEIGHT (16..8192 pixels each)"});
    }
  }
  if (!have_output) return bad(0, {kExportUsage});
  if (options.files.empty()) return bad(args.size(), {"no file given (", kExportUsage, ")"});
  return {};
}

int RunHeadlessExport(int argc, char** argv) {
  TExportOptions options;
  const TParseError error =
      ParseExportArguments(std::vector<std::string>(argv + 1, argv + argc), options);
  if (error.Failed()) {
    std::fprintf(stderr, "pelo: %s\n", error.Message().c_str());
    return kExportUsageStatus;
  }
  const TRuntimeFolder runtime_folder;
  // No display is needed, whatever the environment names.
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QApplication app(argc, argv);
  PrepareApplication(app);
  const TPlacementStore store(kSettingsApplication);
  QStringList files;
  for (const std::string& file : options.files) files << QFile::decodeName(file.c_str());
  // Refused before anything is read: the name may be that of a file about to be loaded.
  std::vector<std::string> inputs = ArgumentInputs(files);
  inputs.push_back(store.FilePath());
  if (const std::string refusal = RefusedOutput(options.output, options.output, inputs);
      !refusal.empty()) {
    std::fprintf(stderr, "pelo: %s\n", refusal.c_str());
    return kExportWriteStatus;
  }
  // Nobody answers a box: every notice is a line on standard error.
  TConsoleNotices notices(std::cerr);
  const TDateRec today = SystemToday();
  TMeasuredDocument document(notices, today);
  TSchedule schedule(document);
  if (!ShowCommandLine(schedule, options, files, store)) return kExportWriteStatus;
  schedule.JumpDate(options.date == kNullDate ? today : options.date);

  const TPictureHeading heading = ScheduleHeading(schedule, PageName(files));
  const bool written = SaveAtomically(
      QFile::decodeName(options.output.c_str()),
      [&](QIODevice& device) { return WritePicture(schedule, heading, options.format, device); });
  if (!written) {
    std::fprintf(stderr, "pelo: cannot write %s\n", options.output.c_str());
    return kExportWriteStatus;
  }
  return 0;
}

}  // namespace pelo
