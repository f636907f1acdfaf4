#include "AgendaOptions.h"

#include "calendar/DateTexts.h"
#include "text/SearchTexts.h"
#include "text/Texts.h"

namespace pelo::agenda {

const char* const kAgendaUsage =
    "usage: pelo-agenda [--from DATE] [--to DATE] [--today DATE] [--format text|tsv|ics]\n"
    "                   [--filter FILTERTEXT] [--grep TEXT] [--calendar classic|current]\n"
    "                   [--days] FILE...\n"
    "  FILE       data files (.nrk, .dat) and page files (.npg)\n"
    "  DATE       YYYY/M/D or YYYY-MM-DD, within 1582/11/1..2150/12/31\n"
    "  --from     first shown day (default: today)\n"
    "  --to       last shown day (default: --from + 6 days)\n"
    "  --today    the date taken as today (default: the system clock)\n"
    "  --format   text (default), tsv or ics\n"
    "  --filter   the filter set as in a page file, e.g. 0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@\n"
    "  --grep     only the lines holding TEXT (UTF-8, 1 to 256 characters), as shown or in\n"
    "             the data file; case and full-/half-width forms do not matter\n"
    "  --calendar classic (default): the holiday table up to the law of 2000, the old calendar\n"
    "             to 2021/1/13 and eras to 平成, as the viewer shows them by default;\n"
    "             current: holidays as the law stands, the old calendar and rokuyo to\n"
    "             2150/12/31, 令和 from 2019/5/1\n"
    "  --days     print calendar information for each day instead of entries (any span)\n";

namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// Splits "--name=value" into its two halves; other arguments are left alone.
bool SplitInlineValue(const std::string& arg, std::string& name, std::string& value) {
  const std::size_t eq = arg.find('=');
  if (arg.rfind("--", 0) != 0 || eq == std::string::npos) return false;
  name = arg.substr(0, eq);
  value = arg.substr(eq + 1);
  return true;
}

// Why a --grep text cannot be looked for; empty when it can.
std::string GrepTextFault(std::string_view text) {
  switch (CheckSearchText(text)) {
    case TSearchTextFault::kNone:
      return {};
    case TSearchTextFault::kEmpty:
      return "--grep: the text is empty";
    case TSearchTextFault::kTooLong:
      return Concat(
          {"--grep: the text is longer than ", NumberText(kMaxSearchLength), " characters"});
    case TSearchTextFault::kNotUtf8:
      return "--grep: the text is not valid UTF-8";
  }
  return {};
}

}  // namespace

TParseError ParseAgendaArguments(const std::vector<std::string>& args, TAgendaOptions& options) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (!options_ended && arg.rfind("--", 0) == 0) {
      if (arg == "--") {
        options_ended = true;
        continue;
      }
      if (arg == "--days") {
        options.days = true;
        continue;
      }
      if (arg == "--help" || arg == "-h") {
        options.help = true;
        continue;
      }
      std::string name = arg;
      std::string value;
      if (!SplitInlineValue(arg, name, value)) {
        if (name != "--from" && name != "--to" && name != "--today" && name != "--format" &&
            name != "--filter" && name != "--grep" && name != "--calendar") {
          return {Concat({"unknown option '", arg, "'"}), i};
        }
        if (i + 1 >= args.size()) return {Concat({"option '", name, "' needs a value"}), i};
        value = args[++i];
      }
      if (name == "--from" || name == "--to" || name == "--today") {
        TDateRec date;
        if (const TParseError error = ParseCommandLineDate(value, date); error.Failed()) {
          return {Concat({name, ": ", error.Message()}), i};
        }
        (name == "--from" ? options.from : name == "--to" ? options.to : options.today) = date;
      } else if (name == "--format") {
        if (value == "text") {
          options.format = TFormat::kText;
        } else if (value == "tsv") {
          options.format = TFormat::kTsv;
        } else if (value == "ics") {
          options.format = TFormat::kIcs;
        } else {
          return {Concat({"--format: '", value, "' is not one of text, tsv, ics"}), i};
        }
      } else if (name == "--calendar") {
        if (value == "classic") {
          options.calendar = TCalendarKind::kClassic;
        } else if (value == "current") {
          options.calendar = TCalendarKind::kCurrent;
        } else {
          return {Concat({"--calendar: '", value, "' is not one of classic, current"}), i};
        }
      } else if (name == "--filter") {
        TFilterSet filter;
        if (!TextToFilterSet(value, filter)) {
          return {
              Concat({"--filter: '", value, "' is not a filter set (eight set texts, @ = empty)"}),
              i};
        }
        options.filter = filter;
      } else if (name == "--grep") {
        if (std::string fault = GrepTextFault(value); !fault.empty()) return {fault, i};
        options.grep = value;
      } else {
        return {Concat({"unknown option '", arg, "'"}), i};
      }
      continue;
    }
    // Files are sorted as the viewer's command line sorts them; the old .dat form is what
    // the viewer opens through its file dialog.
    const std::string upper = AsciiUpper(arg);
    if (Contains(upper, ".NRK")) {
      options.data_files.push_back(arg);
    } else if (Contains(upper, ".NPG")) {
      options.page_files.push_back(arg);
    } else if (Contains(upper, ".DAT")) {
      options.data_files.push_back(arg);
    } else {
      return {Concat({"'", arg, "' is neither a data file (.nrk, .dat) nor a page file (.npg)"}),
              i};
    }
  }
  if (!options.help && !options.days && options.data_files.empty()) {
    return {"no data file given", args.size()};
  }
  return {};
}

TParseError ResolveAgendaSpan(const TAgendaOptions& options, TDateRec today, TDateRec& from,
                              TDateRec& to) {
  from = options.from.value_or(today);
  if (options.to) {
    to = *options.to;
  } else {
    to = AddDays(from, 6);
    if (DayNumber(to) > kLastCalendarDay) to = kLastCalendarDate;
  }
  if (DayNumber(to) < DayNumber(from)) return {"--to lies before --from", 0};
  // The evaluated years are the viewer's day-table window for a grid starting on from; the
  // list of days evaluates no entries.
  const int32_t last_year = from.Year + 2;
  if (!options.days && to.Year > last_year) {
    return {Concat({"--to lies past ", std::to_string(last_year),
                    "/12/31, the end of the years evaluated for --from"}),
            0};
  }
  return {};
}

}  // namespace pelo::agenda
