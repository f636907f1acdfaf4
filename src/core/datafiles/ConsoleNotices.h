#pragma once

// The user notices of a program without a window (pelo-agenda, pelo --export): every message
// and every report line is a line on a stream, the program's standard error.

#include <ostream>
#include <string>

#include "datafiles/Notices.h"

namespace pelo {

// There is nobody to ask, so a question is answered Cancel; neither program changes an entry,
// and neither ever asks one.
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

}  // namespace pelo
