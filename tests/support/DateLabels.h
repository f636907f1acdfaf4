#pragma once

// A day as the test messages and expected lists write it: "2024/5/1", no padding, any day
// (also the null date and days no calendar holds).

#include <string>

#include "calendar/Dates.h"

namespace pelo::test {

inline std::string DateLabel(const TDateRec& date) {
  return std::to_string(date.Year) + "/" + std::to_string(date.Month) + "/" +
         std::to_string(date.Day);
}

}  // namespace pelo::test
