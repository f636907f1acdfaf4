#include "schedule/DayRows.h"

#include <algorithm>
#include <utility>

#include "calendar/Calendars.h"
#include "datafiles/DatePackLists.h"
#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "schedule/DayTables.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo {

int32_t WindowFirstYear(TDateRec from) noexcept { return from.Year - 1; }

namespace {

// The rows of the days first..last in day order, rows of one day in the order they came;
// their places counted within each day. A counting sort: no row is compared or moved twice.
std::vector<TDayRow> InDayOrder(std::vector<TDayRow>& found, int32_t first, int32_t last) {
  if (found.empty()) return {};  // also when last comes before first
  std::vector<std::size_t> next(static_cast<std::size_t>(last - first) + 1, 0);
  const auto slot = [first](const TDayRow& row) {
    return static_cast<std::size_t>(DayNumber(row.Date) - first);
  };
  for (const TDayRow& row : found) ++next[slot(row)];
  std::size_t start = 0;
  for (std::size_t& count : next) start += std::exchange(count, start);
  std::vector<TDayRow> rows(found.size());
  for (TDayRow& row : found) rows[next[slot(row)]++] = std::move(row);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (rows[i].Date == rows[i - 1].Date) rows[i].Place = rows[i - 1].Place + 1;
  }
  return rows;
}

}  // namespace

std::vector<TDayRow> DayRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                             TDateRec from, TDateRec to) {
  // A line's text reads the pack and its entry alone, never the calendar: it is made as the
  // pack comes, and the pack is not kept.
  const int32_t first = DayNumber(from);
  const int32_t last = DayNumber(to);
  std::vector<TDayRow> found;
  const TPackFilter passes(filter);
  list.VisitTable(
      calendar, WindowFirstYear(from), TDayTable::kYearCount, [&](const TDatePack& pack) {
        const int32_t day = DayNumber(pack.Date());
        if (day < first || day > last || !passes.Passes(pack)) return;
        found.push_back({pack.Date(), pack.Kind, pack.Entry, LineText(pack, calendar.Kind()), 0});
      });
  return InDayOrder(found, first, last);
}

int32_t SourceLine(const TEntry& entry) noexcept {
  return entry.Parent != nullptr ? entry.Parent->LineNo : entry.LineNo;
}

std::string RowSource(const TEntryList& list, const TEntry& entry) {
  std::string source;
  TRowSources(list).Append(source, entry);
  return source;
}

void TRowSources::Append(std::string& out, const TEntry& entry) {
  // Every index outside the file list reads the same empty path: one slot behind the files.
  const int32_t files = list_.FileList().Count();
  const int32_t file = entry.FileIndex >= 0 && entry.FileIndex < files ? entry.FileIndex : files;
  prefixes_.resize(static_cast<std::size_t>(files) + 1);
  std::string& prefix = prefixes_[static_cast<std::size_t>(file)];
  // Never empty once made: it ends in the colon.
  if (prefix.empty()) prefix = Concat({FileNameOf(list_.FileList().Path(entry.FileIndex)), ":"});
  out += prefix;
  AppendNumber(out, SourceLine(entry));
}

}  // namespace pelo
