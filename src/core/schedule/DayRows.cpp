#include "schedule/DayRows.h"

#include <algorithm>

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

std::vector<TDayRow> DayRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                             TDateRec from, TDateRec to) {
  // The packs of the shown days in list order, then put in day order; a stable sort keeps
  // the list order within a day, which is the order of the cell's lines. The texts are made
  // once every pack is known: a later day-marked entry may still mark a private holiday.
  struct TShown {
    int32_t day;
    TDatePack pack;
  };
  const int32_t first = DayNumber(from);
  const int32_t last = DayNumber(to);
  std::vector<TShown> shown;
  const TPackFilter passes(filter);
  list.VisitTable(calendar, WindowFirstYear(from), TDayTable::kYearCount,
                  [&](const TDatePack& pack) {
                    const int32_t day = DayNumber(pack.Date());
                    if (day < first || day > last || !passes.Passes(pack)) return;
                    shown.push_back({day, pack});
                  });
  std::stable_sort(shown.begin(), shown.end(),
                   [](const TShown& a, const TShown& b) { return a.day < b.day; });

  std::vector<TDayRow> rows;
  rows.reserve(shown.size());
  int32_t place = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    place = i > 0 && shown[i - 1].day == shown[i].day ? place + 1 : 0;
    const TDatePack& pack = shown[i].pack;
    rows.push_back({pack.Date(), pack.Kind, pack.Entry, LineText(pack, calendar.Kind()), place});
  }
  return rows;
}

int32_t SourceLine(const TEntry& entry) noexcept {
  return entry.Parent != nullptr ? entry.Parent->LineNo : entry.LineNo;
}

std::string RowSource(const TEntryList& list, const TEntry& entry) {
  return Concat(
      {FileNameOf(list.FileList().Path(entry.FileIndex)), ":", std::to_string(SourceLine(entry))});
}

}  // namespace pelo
