#pragma once

// Finding the lines of the days that hold a text: a line matches when the text is in the line
// as its cell shows it (annotation codes expanded) or in the line of the data file its entry
// was read from, both folded as a search folds them (text/SearchTexts.h).

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "schedule/DayRows.h"
#include "text/SearchTexts.h"

namespace pelo {

class TEntry;
class TEntryList;

// One text looked for in many lines. An entry falls on many days, so whether its data-file
// line holds the text is found once per entry, and its shown text again only when it differs
// from the last one (annotation codes); the entries must outlive the matcher.
class TLineMatcher {
 public:
  TLineMatcher(const TEntryList& list, std::string_view text) : list_(list), search_(text) {}

  bool Empty() const noexcept { return search_.Empty(); }
  // Whether the line shown for entry matches; false for every line when the text is empty.
  bool Matches(const TEntry& entry, std::string_view shown);

 private:
  const TEntryList& list_;
  TTextSearch search_;
  struct TEntryState {
    bool source_found = false;
    std::string shown;  // the entry's shown text last looked at
    bool shown_found = false;
  };
  std::unordered_map<const TEntry*, TEntryState> entries_;
};

// The rows that match text, in their order; none for an empty text.
std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text);

}  // namespace pelo
