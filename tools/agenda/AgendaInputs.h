#pragma once

// What pelo-agenda reads: the data files, loaded as the viewer loads them with their problems
// told on standard error, and the filter of the page files.

#include <ostream>
#include <string>
#include <vector>

#include "datafiles/Notices.h"
#include "text/SmallSets.h"

namespace pelo {
class TEntryList;
}

namespace pelo::agenda {

// The user notices of a console: every message and every report line is a line on out (the
// program's standard error). There is nobody to ask, so a question is answered Cancel; the
// agenda changes no entry and never asks one.
class TConsoleNotices : public TUserNotices {
 public:
  explicit TConsoleNotices(std::ostream& out) noexcept : out_(out) {}

  void Beep(TBeepKind) override {}
  void Information(const std::string& text) override { WriteLine(text); }
  void Warning(const std::string& text) override { WriteLine(text); }
  bool Confirm(const std::string& text) override;
  void ShowLoadErrors(const TLoadErrorReport& report) override;

 private:
  void WriteLine(const std::string& text);

  std::ostream& out_;
};

// Loads the data files in order into one entry list (emptied first). False when one of them
// was missing or could not be read; what did load stays.
bool LoadDataFiles(TEntryList& list, const std::vector<std::string>& paths);

// The filter of the page files: each file that exists is read (its section "NerikaPage1"),
// and the last one whose section holds a page sets the filter. A file that does not exist
// changes nothing and adds a line to warnings. filter keeps its value when no file holds a
// page.
void ReadPageFilter(const std::vector<std::string>& paths, TFilterSet& filter,
                    std::vector<std::string>& warnings);

}  // namespace pelo::agenda
