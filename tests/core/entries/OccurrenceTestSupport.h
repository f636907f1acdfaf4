#pragma once

// Helpers of the occurrence tests: entries read from their line text, as a data file holds
// them, and day lists written the way the expected values are.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DateLabels.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"

namespace pelo::testing_support {

using test::DateLabel;

// The day the occurrence tests take as today.
inline constexpr TDateRec kOccurrenceToday{2025, 6, 15};

inline std::unique_ptr<TEntry> ParsedEntry(std::string_view line,
                                           TDateRec today = kOccurrenceToday) {
  auto entry = std::make_unique<TEntry>();
  EXPECT_FALSE(entry->ParseLine(line, {.Today = today}).Failed())
      << line << ": " << entry->ErrorText.view();
  return entry;
}

// "2025/1/1:1 2025/1/2:2": each day with its kind.
inline std::string Listed(const std::vector<TDatePack>& packs) {
  std::string text;
  for (const TDatePack& pack : packs) {
    if (!text.empty()) text += ' ';
    text += DateLabel(pack.Date()) + ":" + std::to_string(pack.Kind);
  }
  return text;
}

inline std::string PeriodLabel(const TDateStartEnd& period) {
  return DateLabel(period.PeriodStart) + ".." + DateLabel(period.PeriodEnd);
}

}  // namespace pelo::testing_support
