#include "schedule/RowSearches.h"

#include <utility>

#include "datafiles/EntryLists.h"
#include "text/SearchTexts.h"

namespace pelo {

bool LineMatches(const TEntryList& list, const TEntry& entry, std::string_view shown,
                 TTextSearch& search) {
  return search.Found(shown) || search.Found(list.SourceLine(entry));
}

std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text) {
  TTextSearch search(text);
  std::erase_if(rows, [&](const TDayRow& row) {
    return row.Entry == nullptr || !LineMatches(list, *row.Entry, row.Text, search);
  });
  return rows;
}

}  // namespace pelo
