#pragma once

// The command line of pelo-agenda:
//   pelo-agenda [--from DATE] [--to DATE] [--today DATE] [--format text|tsv|ics]
//               [--filter FILTERTEXT] [--days] FILE...

#include <optional>
#include <string>
#include <vector>

#include "calendar/Dates.h"
#include "text/SmallSets.h"

namespace pelo::agenda {

enum class TFormat { kText, kTsv, kIcs };

struct TAgendaOptions {
  std::optional<TDateRec> from;
  std::optional<TDateRec> to;
  std::optional<TDateRec> today;
  TFormat format = TFormat::kText;
  std::optional<TFilterSet> filter;
  bool days = false;
  bool help = false;
  std::vector<std::string> data_files;  // in command-line order
  std::vector<std::string> page_files;  // in command-line order
};

// Reads the arguments (without the program name). Returns the error text of bad usage, or
// an empty text on success.
std::string ParseAgendaArguments(const std::vector<std::string>& args, TAgendaOptions& options);

// Reads YYYY/M/D or YYYY-MM-DD; the date must lie in the calendar. Error text or empty.
std::string ParseAgendaDate(const std::string& text, TDateRec& date);

// The shown span once today is known: from defaults to today, to to from + 6 days (not past
// the calendar's end). to may not lie before from nor past the last year of the evaluated
// window (from's year + 2). Error text or empty.
std::string ResolveAgendaSpan(const TAgendaOptions& options, TDateRec today, TDateRec& from,
                              TDateRec& to);

extern const char* const kAgendaUsage;

}  // namespace pelo::agenda
