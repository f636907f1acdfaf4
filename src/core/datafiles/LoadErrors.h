#pragma once

// The collector behind the load-error report: the loader adds one line per bad line of a
// data file and, once the file is read, hands the whole report to the user-notice
// interface, which shows it in one modal window (the viewer) or prints it (pelo-agenda).

#include <cstddef>
#include <cstdint>
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
// "ほか 12 行にも誤りがあります。": the bad lines past those listed.
std::string UnlistedBadLinesLine(std::size_t count);
// The notes on a file's text, each on the line it is about: the bytes that are no character
// (places of them, the first on line line_no), shown as U+FFFD; the NUL on line line_no that
// ended the text.
std::string BadBytesNote(std::string_view line_text, int32_t line_no, std::size_t places);
std::string NulNote(std::string_view line_text, int32_t line_no);

class TLoadErrorCollector {
 public:
  // A file of nothing but bad lines lists these and counts the rest: a report of millions of
  // lines helps nobody, and making and keeping them took gigabytes.
  static constexpr std::size_t kListedBadLines = 1000;

  // Whether the next bad line is still listed; past the cap it is only counted, and nothing
  // needs to be made for it.
  bool Listing() const noexcept { return lines_.size() < kListedBadLines; }
  void Add(std::string line) {
    if (Listing()) {
      lines_.push_back(std::move(line));
    } else {
      ++unlisted_;
    }
  }
  void CountUnlisted() noexcept { ++unlisted_; }
  void AddNote(std::string note) { notes_.push_back(std::move(note)); }
  // Empty: the window keeps its own message.
  void SetHeading(std::string heading) { heading_ = std::move(heading); }

  bool Empty() const noexcept { return lines_.empty() && notes_.empty(); }
  // The listed lines, then one line for the unlisted ones (when there are any).
  TLoadErrorReport Report() const;
  // What this report says that before did not: its lines that are not among before's (a line
  // there twice is new the second time), the unlisted ones when there are more, its new notes.
  TLoadErrorReport NewSince(const TLoadErrorCollector& before) const;
  // Shows the report; the window sounds its own beep. Nobody cares how it was closed.
  void Execute(TUserNotices& notices) const { notices.ShowLoadErrors(Report()); }

 private:
  std::vector<std::string> lines_;
  std::size_t unlisted_ = 0;
  std::vector<std::string> notes_;
  std::string heading_;
};

}  // namespace pelo
