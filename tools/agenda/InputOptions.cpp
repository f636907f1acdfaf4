#include "InputOptions.h"

#include <algorithm>

#include "calendar/DateTexts.h"
#include "text/SearchTexts.h"
#include "text/Texts.h"

namespace pelo::agenda {

const char* const kInputUsage =
    "  FILE       data files (.nrk, .dat) and page files (.npg)\n"
    "  DATE       YYYY/M/D or YYYY-MM-DD, within 1582/11/1..2150/12/31\n"
    "  --today    the date taken as today (default: the system clock)\n"
    "  --filter   the filter set as in a page file, e.g. 0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@\n"
    "  --grep     only the lines holding TEXT (UTF-8, 1 to 256 characters), as shown or in\n"
    "             the data file; case and full-/half-width forms do not matter\n"
    "  --calendar classic (default): the holiday table up to the law of 2000, the old calendar\n"
    "             to 2021/1/13 and eras to 平成, as the viewer shows them by default;\n"
    "             current: holidays as the law stands, the old calendar and rokuyo to\n"
    "             2150/12/31, 令和 from 2019/5/1\n";

namespace {

constexpr std::string_view kSharedWithValue[] = {"--today", "--filter", "--grep", "--calendar"};

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool Listed(const auto& names, std::string_view name) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
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

TParseError ReadSharedOption(const std::string& name, const std::string& value, std::size_t i,
                             TInputOptions& inputs) {
  if (name == "--today") return ReadDateOption(name, value, i, inputs.today);
  if (name == "--calendar") {
    if (value == "classic") {
      inputs.calendar = TCalendarKind::kClassic;
    } else if (value == "current") {
      inputs.calendar = TCalendarKind::kCurrent;
    } else {
      return {Concat({"--calendar: '", value, "' is not one of classic, current"}), i};
    }
  } else if (name == "--filter") {
    TFilterSet filter;
    if (!TextToFilterSet(value, filter)) {
      return {Concat({"--filter: '", value, "' is not a filter set (eight set texts, @ = empty)"}),
              i};
    }
    inputs.filter = filter;
  } else {
    if (std::string fault = GrepTextFault(value); !fault.empty()) return {fault, i};
    inputs.grep = value;
  }
  return {};
}

// Files are sorted as the viewer's command line sorts them; the old .dat form is what the
// viewer opens through its file dialog.
TParseError AddFile(const std::string& arg, std::size_t i, TInputOptions& inputs) {
  const std::string upper = AsciiUpper(arg);
  if (Contains(upper, ".NRK")) {
    inputs.data_files.push_back(arg);
  } else if (Contains(upper, ".NPG")) {
    inputs.page_files.push_back(arg);
  } else if (Contains(upper, ".DAT")) {
    inputs.data_files.push_back(arg);
  } else {
    return {Concat({"'", arg, "' is neither a data file (.nrk, .dat) nor a page file (.npg)"}), i};
  }
  return {};
}

}  // namespace

TParseError ReadDateOption(std::string_view name, const std::string& value, std::size_t index,
                           std::optional<TDateRec>& date) {
  TDateRec read;
  if (const TParseError error = ParseCommandLineDate(value, read); error.Failed()) {
    return {Concat({name, ": ", error.Message()}), index};
  }
  date = read;
  return {};
}

TParseError ParseCommandLine(const std::vector<std::string>& args, TInputOptions& inputs,
                             const TOwnOptions& own) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.rfind("--", 0) != 0) {
      if (TParseError error = AddFile(arg, i, inputs); error.Failed()) return error;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
    } else if (arg == "--help") {
      inputs.help = true;
    } else if (Listed(own.flags, arg)) {
      if (TParseError error = own.read(arg, {}, i); error.Failed()) return error;
    } else {
      std::string name = arg;
      std::string value;
      const bool shared = Listed(kSharedWithValue, arg.substr(0, arg.find('=')));
      if (!SplitInlineValue(arg, name, value)) {
        if (!shared && !Listed(own.with_value, name)) {
          return {Concat({"unknown option '", arg, "'"}), i};
        }
        if (i + 1 >= args.size()) return {Concat({"option '", name, "' needs a value"}), i};
        value = args[++i];
      }
      TParseError error;
      if (shared) {
        error = ReadSharedOption(name, value, i, inputs);
      } else if (Listed(own.with_value, name)) {
        error = own.read(name, value, i);
      } else {
        error = {Concat({"unknown option '", arg, "'"}), i};
      }
      if (error.Failed()) return error;
    }
  }
  return {};
}

}  // namespace pelo::agenda
