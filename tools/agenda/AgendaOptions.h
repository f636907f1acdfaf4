#pragma once

// The command line of pelo-agenda:
//   pelo-agenda [--from DATE] [--to DATE] [--today DATE] [--format text|tsv|ics]
//               [--filter FILTERTEXT] [--grep TEXT] [--calendar classic|current]
//               [--days] FILE...

#include <optional>
#include <vector>

#include "InputOptions.h"
#include "calendar/Dates.h"
#include "text/ParseErrors.h"

namespace pelo::agenda {

enum class TFormat { kText, kTsv, kIcs };

struct TAgendaOptions : TInputOptions {
  std::optional<TDateRec> from;
  std::optional<TDateRec> to;
  TFormat format = TFormat::kText;
  bool days = false;
};

// Reads the arguments (without the program name). The error of bad usage is placed at the
// index of the argument it concerns (args.size() when a data file is missing).
TParseError ParseAgendaArguments(const std::vector<std::string>& args, TAgendaOptions& options);

// The shown span once today is known: from defaults to today, to to from + 6 days (not past
// the calendar's end). to may not lie before from nor, unless only the days are listed
// (--days), past the last year of the evaluated window (from's year + 2); the error concerns
// the span as a whole (position 0).
TParseError ResolveAgendaSpan(const TAgendaOptions& options, TDateRec today, TDateRec& from,
                              TDateRec& to);

extern const char* const kAgendaUsage;

}  // namespace pelo::agenda
