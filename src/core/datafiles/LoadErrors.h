#pragma once

// The collector behind the load-error report: the loader adds one line per bad line of a
// data file and, once the file is read, hands the whole report to the user-notice
// interface, which shows it in one modal window (the viewer) or prints it (pelo-agenda).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "datafiles/Notices.h"

namespace pelo {

// "1/1 x &z(1) … &ｺﾏﾝﾄﾞが間違っています。": the line as read, then what was wrong with it.
std::string ErrorReportLine(std::string_view line_text, std::string_view message);
// "a.nrk を読込み中にエラーが発生しました。" for the path "/some/folder/a.nrk".
std::string ErrorReportHeading(std::string_view path);
// "/some/folder/a.nrk を開くことができません！": a data file that could not be read whole (the
// path as given).
std::string CannotOpenMessage(std::string_view path);

class TLoadErrorCollector {
 public:
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  // Empty: the window keeps its own message.
  void SetHeading(std::string heading) { heading_ = std::move(heading); }

  TLoadErrorReport Report() const { return {heading_, lines_}; }
  // Shows the report; the window sounds its own beep. Nobody cares how it was closed.
  void Execute(TUserNotices& notices) const { notices.ShowLoadErrors(Report()); }

 private:
  std::vector<std::string> lines_;
  std::string heading_;
};

}  // namespace pelo
