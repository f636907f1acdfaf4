#include "schedule/RowSearches.h"

#include <utility>

#include "datafiles/EntryLists.h"

namespace pelo {

bool TLineMatcher::Matches(const TEntry& entry, std::string_view shown) {
  if (search_.Empty()) return false;
  const auto [known, added] = entries_.try_emplace(&entry);
  TEntryState& state = known->second;
  if (added) state.source_found = search_.Found(list_.SourceLine(entry));
  if (state.source_found) return true;
  // Most entries show the same text on every day they fall on: it is looked at once.
  if (added || shown != state.shown) {
    state.shown.assign(shown);
    state.shown_found = search_.Found(shown);
  }
  return state.shown_found;
}

std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text) {
  TLineMatcher matcher(list, text);
  std::erase_if(rows, [&](const TDayRow& row) {
    return row.Entry == nullptr || !matcher.Matches(*row.Entry, row.Text);
  });
  return rows;
}

}  // namespace pelo
