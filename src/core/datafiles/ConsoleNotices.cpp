#include "datafiles/ConsoleNotices.h"

namespace pelo {

void TConsoleNotices::WriteLine(const std::string& text) { out_ << text << '\n'; }

bool TConsoleNotices::Confirm(const std::string& text) {
  WriteLine(text);
  return false;
}

// The notes on how a file's text was read are the report window's: what the console programs
// print on standard error for a file stays as it always was.
void TConsoleNotices::ShowLoadErrors(const TLoadErrorReport& report) {
  if (report.lines.empty()) return;
  if (!report.heading.empty()) WriteLine(report.heading);
  for (const std::string& line : report.lines) WriteLine(line);
}

}  // namespace pelo
