#pragma once

// The lines the day cells of a span of days show, as rows: what pelo-agenda prints and what
// the viewer exports, built from the same day packs as the day table's cells, in the same
// order, without filling a table.

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/Dates.h"
#include "text/SmallSets.h"

namespace pelo {

class TCalendar;
class TEntry;
class TEntryList;

// One line of a day cell.
struct TDayRow {
  TDateRec Date;
  int32_t Kind = 0;               // the pack's kind, 0..4
  const TEntry* Entry = nullptr;  // not owned
  std::string Text;               // exactly the cell's line
  int32_t Place = 0;              // 0 for the day's first line
};

// The first year of the day table's window for a grid whose first shown day is from.
int32_t WindowFirstYear(TDateRec from) noexcept;

// The lines the day cells from from to to show, days in order and, within a day, in pack-list
// order: the day packs of the list over the window of WindowFirstYear(from) that pass filter,
// built with the calendar (TEntryList::VisitTable, which also marks its private holidays).
// The packs are streamed: only those shown are kept.
std::vector<TDayRow> DayRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                             TDateRec from, TDateRec to);

// The line of the entry in its file (of the parent for an entry made from a birthday entry).
int32_t SourceLine(const TEntry& entry) noexcept;

// "a.nrk:12": the file name without folder and the source line of the entry.
std::string RowSource(const TEntryList& list, const TEntry& entry);

// RowSource for writers of many rows: the "a.nrk:" part made once per file.
class TRowSources {
 public:
  explicit TRowSources(const TEntryList& list) : list_(list) {}
  // Appends RowSource(list, entry) to out.
  void Append(std::string& out, const TEntry& entry);

 private:
  const TEntryList& list_;
  std::vector<std::string> prefixes_;  // by file index; empty until asked for
};

}  // namespace pelo
