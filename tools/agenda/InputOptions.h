#pragma once

// The part of the command line pelo-agenda and pelo-serve share: the data and page files,
// --today, --filter, --grep, --calendar and --help, read by one loop that hands each program
// its own options.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "text/ParseErrors.h"
#include "text/SmallSets.h"

namespace pelo::agenda {

struct TInputOptions {
  std::optional<TDateRec> today;
  std::optional<TFilterSet> filter;
  TCalendarKind calendar = TCalendarKind::kClassic;
  std::optional<std::string> grep;  // only the lines that hold it (see schedule/RowSearches.h)
  bool help = false;
  std::vector<std::string> data_files;  // in command-line order
  std::vector<std::string> page_files;  // in command-line order
};

// A program's own options: the names of its flags and of its options with a value, and what
// reads them (value empty for a flag; index the argument's, for the error).
struct TOwnOptions {
  std::vector<std::string_view> flags;
  std::vector<std::string_view> with_value;
  std::function<TParseError(std::string_view name, const std::string& value, std::size_t index)>
      read;
};

// Reads args (without the program name): "--name VALUE" and "--name=VALUE", "--" ending the
// options, and every other argument a file, sorted by its extension as the viewer sorts its
// command line. Errors are placed at the index of the argument they concern.
TParseError ParseCommandLine(const std::vector<std::string>& args, TInputOptions& inputs,
                             const TOwnOptions& own);

// A date option's value (YYYY/M/D or YYYY-MM-DD); the error names the option.
TParseError ReadDateOption(std::string_view name, const std::string& value, std::size_t index,
                           std::optional<TDateRec>& date);

// The lines of the shared options for a usage text.
extern const char* const kInputUsage;

}  // namespace pelo::agenda
