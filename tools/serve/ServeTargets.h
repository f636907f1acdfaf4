#pragma once

// Request targets taken apart: the path and the query parameters, percent-decoded, and the
// dates and months they name. Nothing here reaches the file system: a path is only ever
// compared with the few the server knows.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/Dates.h"

namespace pelo::serve {

struct TTarget {
  std::string path;
  std::vector<std::pair<std::string, std::string>> params;  // in the order given
};

// "/day/2026-12-07?token=x&a=%41" into its decoded path and parameters ('+' is a blank in a
// parameter). False when the target does not start with '/', holds a bad escape, or decodes
// to a control character.
bool ParseTarget(std::string_view target, TTarget& parsed);

// The first parameter of that name; null when there is none.
const std::string* FindParam(const TTarget& target, std::string_view name);

// YYYY-MM-DD of a day in the calendar (1582/11/1..2150/12/31).
bool ParseIsoDate(std::string_view text, TDateRec& date) noexcept;

// YYYY-MM of a month the calendar holds whole or in part (1582-11..2150-12).
bool ParseIsoMonth(std::string_view text, int32_t& year, int32_t& month) noexcept;

// "2026-12-07" and "2026-12".
std::string IsoDate(TDateRec date);
std::string IsoMonth(int32_t year, int32_t month);

// The target as a log may show it: every token parameter's value replaced by "***".
std::string TargetForLog(std::string_view target);

}  // namespace pelo::serve
