#include "AgendaOptions.h"

#include "text/Texts.h"

namespace pelo::agenda {

const char* const kAgendaUsage =
    "usage: pelo-agenda [--from DATE] [--to DATE] [--today DATE] [--format text|tsv|ics]\n"
    "                   [--filter FILTERTEXT] [--grep TEXT] [--calendar classic|current]\n"
    "                   [--days] FILE...\n"
    "  --from     first shown day (default: today)\n"
    "  --to       last shown day (default: --from + 6 days)\n"
    "  --format   text (default), tsv or ics\n"
    "  --days     print calendar information for each day instead of entries (any span)\n";

namespace {

TParseError ReadAgendaOption(std::string_view name, const std::string& value, std::size_t i,
                             TAgendaOptions& options) {
  if (name == "--days") {
    options.days = true;
  } else if (name == "--from" || name == "--to") {
    return ReadDateOption(name, value, i, name == "--from" ? options.from : options.to);
  } else if (value == "text") {
    options.format = TFormat::kText;
  } else if (value == "tsv") {
    options.format = TFormat::kTsv;
  } else if (value == "ics") {
    options.format = TFormat::kIcs;
  } else {
    return {Concat({"--format: '", value, "' is not one of text, tsv, ics"}), i};
  }
  return {};
}

}  // namespace

TParseError ParseAgendaArguments(const std::vector<std::string>& args, TAgendaOptions& options) {
  const TOwnOptions own = {{"--days"},
                           {"--from", "--to", "--format"},
                           [&](std::string_view name, const std::string& value, std::size_t i) {
                             return ReadAgendaOption(name, value, i, options);
                           }};
  if (TParseError error = ParseCommandLine(args, options, own); error.Failed()) return error;
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
