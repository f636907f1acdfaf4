// pelo-agenda: prints, day by day, what Pelo's schedule grid shows for the given data files,
// or the calendar information of each day.

#include <cstdio>
#include <string>
#include <vector>

#include "AgendaInputs.h"
#include "AgendaOptions.h"
#include "AgendaOutputs.h"
#include "calendar/DateInfos.h"
#include "datafiles/DataLists.h"
#include "datafiles/DataTables.h"
#include "schedule/ScheduleSettings.h"

namespace {

constexpr int kExitFileProblem = 1;
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
  // The viewer's day-table window for a grid whose first shown day is from.
  const int32_t first_year = from.Year - 1;
  info.FillYears(first_year);

  // The default page's filter, then the page files', then --filter.
  TFilterSet filter = TScheduleSettings{}.Filter;
  std::vector<std::string> warnings;
  ReadPageFilter(options.page_files, filter, warnings);
  for (const std::string& warning : warnings)
    std::fprintf(stderr, "pelo-agenda: %s\n", warning.c_str());
  if (options.filter) filter = *options.filter;

  TConsoleNotices notices(stderr);
  TDataList list(notices);
  const bool all_read = LoadDataFiles(list, options.data_files);
  std::fflush(stderr);
  const int status = all_read ? 0 : kExitFileProblem;

  if (options.days) {
    Write(DaysTable(from, to));
    return status;
  }
  list.SetTable(first_year, TDataTable::kYearCount);
  const std::vector<TAgendaRow> rows = AgendaRows(list, filter, from, to);
  switch (options.format) {
    case TFormat::kText:
      Write(TextOutput(rows));
      break;
    case TFormat::kTsv:
      Write(TsvOutput(list, rows));
      break;
    case TFormat::kIcs:
      Write(IcsOutput(list, rows, info.Today()));
      break;
  }
  return status;
}
