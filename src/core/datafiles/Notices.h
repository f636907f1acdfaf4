#pragma once

// How the core talks to the user without knowing how: the viewer answers with message
// boxes and system beeps, pelo-agenda with lines on standard error, the tests with a
// recorder. The core never opens a window, never beeps and never blocks on a user itself.

#include <string>
#include <vector>

namespace pelo {

enum class TBeepKind { kPlain, kExclamation, kQuestion, kInformation };

// One load-error report: a heading, the report lines of one data file's bad lines, and notes
// on how its text was read (bytes that are no character, a NUL that ended it). The notes are
// for the viewer's report window; standard error keeps to the bad lines.
struct TLoadErrorReport {
  std::string heading;  // empty: the dialog keeps its own message
  std::vector<std::string> lines;
  std::vector<std::string> notes = {};

  bool Empty() const noexcept { return lines.empty() && notes.empty(); }
};

class TUserNotices {
 public:
  virtual ~TUserNotices() = default;

  virtual void Beep(TBeepKind kind) = 0;
  // A message box with an OK button: information (refusals) or warning (files).
  virtual void Information(const std::string& text) = 0;
  virtual void Warning(const std::string& text) = 0;
  // An OK/Cancel question; true when the user chose OK.
  virtual bool Confirm(const std::string& text) = 0;
  // The modal report of the bad lines of one data file (it sounds its own beep).
  virtual void ShowLoadErrors(const TLoadErrorReport& report) = 0;
};

}  // namespace pelo
