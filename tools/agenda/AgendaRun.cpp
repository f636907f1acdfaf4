#include "AgendaRun.h"

#include "AgendaInputs.h"
#include "AgendaOptions.h"
#include "AgendaOutputs.h"
#include "calendar/Calendars.h"
#include "datafiles/ConsoleNotices.h"
#include "datafiles/EntryLists.h"
#include "schedule/ICalendars.h"

namespace pelo::agenda {

namespace {

int Usage(std::ostream& err, const std::string& error) {
  err << "pelo-agenda: " << error << "\n(pelo-agenda --help shows the usage)\n";
  return kExitUsage;
}

}  // namespace

int RunAgenda(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              std::size_t pack_budget) {
  TAgendaOptions options;
  if (const TParseError error = ParseAgendaArguments(args, options); error.Failed()) {
    return Usage(err, error.Message());
  }
  if (options.help) {
    out << kAgendaUsage << kInputUsage;
    return 0;
  }

  const TDateRec today = options.today ? *options.today : SystemToday();
  TDateRec from;
  TDateRec to;
  if (const TParseError error = ResolveAgendaSpan(options, today, from, to); error.Failed()) {
    return Usage(err, error.Message());
  }
  TCalendar calendar(today, options.calendar);

  std::vector<std::string> warnings;
  const TFilterSet filter = ShownFilter(options, warnings);
  for (const std::string& warning : warnings) err << "pelo-agenda: " << warning << '\n';

  TConsoleNotices notices(err);
  TEntryList list(notices, today, pack_budget);
  const bool all_read = LoadDataFiles(list, options.data_files);
  const int status = all_read ? 0 : kExitFileProblem;
  std::vector<TDayRow> rows;
  if (!options.days) rows = ShownRows(list, calendar, filter, options.grep, from, to);
  list.TellBudgetStop();
  err.flush();

  if (options.days) {
    out << DaysTable(calendar, from, to);
    return status;
  }
  switch (options.format) {
    case TFormat::kText:
      WriteTextOutput(out, calendar, rows);
      break;
    case TFormat::kTsv:
      WriteTsvOutput(out, calendar, list, rows);
      break;
    case TFormat::kIcs:
      WriteICalendar(out, list, rows, today);
      break;
  }
  return status;
}

}  // namespace pelo::agenda
