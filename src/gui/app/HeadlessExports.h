#pragma once

// The viewer without a window, for scripts:
//   pelo --export OUT.png|OUT.pdf [--date YYYY/M/D] [--size WxH] FILES...
// renders the grid of the data and page files, as the window would show it with the cursor
// on the date, under a heading with the span and the page, into OUT and exits. It needs no
// display (Qt's offscreen platform) and writes nothing but OUT, never onto a file it reads.

#include <QSize>
#include <string>
#include <vector>

#include "app/GridPictures.h"
#include "calendar/Dates.h"
#include "text/ParseErrors.h"

namespace pelo {

inline constexpr const char* kExportOption = "--export";
inline constexpr int kExportUsageStatus = 2;
inline constexpr int kExportWriteStatus = 1;

struct TExportOptions {
  std::string output;
  TPictureFormat format = TPictureFormat::kPng;
  TDateRec date = kNullDate;  // kNullDate: today
  QSize size{960, 640};
  std::vector<std::string> files;  // data and page files, in command-line order
};

// Picture sides, in pixels, that --size accepts.
inline constexpr int kMinExportSide = 16;
inline constexpr int kMaxExportSide = 8192;

// True when the command line (without the program's name) asks for a headless export.
bool AsksForExport(const std::vector<std::string>& args);

// Reads the command line without the program's name. The error's message is the line that
// bad usage prints.
TParseError ParseExportArguments(const std::vector<std::string>& args, TExportOptions& options);

// The whole run: 0 when OUT was written; 1 when it could not be, or may not be (a file the run
// reads, something other than a regular file), or a data file could not be read; 2 on bad
// usage. Each failure is a line on standard error, as are the messages of loading.
int RunHeadlessExport(int argc, char** argv);

}  // namespace pelo
