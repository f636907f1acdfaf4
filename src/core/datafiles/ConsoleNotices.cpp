#include "datafiles/ConsoleNotices.h"

namespace pelo {

void TConsoleNotices::WriteLine(const std::string& text) { out_ << text << '\n'; }

bool TConsoleNotices::Confirm(const std::string& text) {
  WriteLine(text);
  return false;
}

void TConsoleNotices::ShowLoadErrors(const TLoadErrorReport& report) {
  if (!report.heading.empty()) WriteLine(report.heading);
  for (const std::string& line : report.lines) WriteLine(line);
}

}  // namespace pelo
