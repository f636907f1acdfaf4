#pragma once

// Finding the lines of the days that hold a text: a line matches when the text is in the line
// as its cell shows it (annotation codes expanded) or in the line of the data file its entry
// was read from, both folded as a search folds them (text/SearchTexts.h).

#include <string_view>
#include <vector>

#include "schedule/DayRows.h"

namespace pelo {

class TEntry;
class TEntryList;
class TTextSearch;

// Whether the line shown for entry matches search.
bool LineMatches(const TEntryList& list, const TEntry& entry, std::string_view shown,
                 TTextSearch& search);

// The rows that match text, in their order; none for an empty text.
std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text);

}  // namespace pelo
