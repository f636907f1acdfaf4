// pelo-agenda: prints, day by day, what Pelo's schedule grid shows for the given data files,
// or the calendar information of each day.

#include <cstdio>
#include <string>
#include <vector>

#include "AgendaOptions.h"
#include "AgendaOutputs.h"
#include "calendar/DateInfos.h"

namespace {

constexpr int kExitUsage = 2;

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int Usage(const std::string& error) {
  std::fprintf(stderr, "pelo-agenda: %s\n(pelo-agenda --help shows the usage)\n", error.c_str());
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelo;
  using namespace pelo::agenda;

  const std::vector<std::string> args(argv + 1, argv + argc);
  TAgendaOptions options;
  if (const std::string error = ParseAgendaArguments(args, options); !error.empty()) {
    return Usage(error);
  }
  if (options.help) {
    std::fputs(kAgendaUsage, stdout);
    return 0;
  }

  TDateInfo& info = DateInfo();
  if (options.today) info.SetToday(*options.today);
  TDateRec from;
  TDateRec to;
  if (const std::string error = ResolveAgendaSpan(options, info.Today(), from, to);
      !error.empty()) {
    return Usage(error);
  }
  info.FillYears(from.Year - 1);

  if (!options.data_files.empty() || !options.page_files.empty()) {
    return Usage("reading data and page files is not available yet");
  }
  Write(DaysTable(from, to));
  return 0;
}
