#pragma once

// On which days an entry falls: the walk of its date date sets over a range of years,
// the conditions that drop or move the days it finds (commands &, ! and a), and the days
// derived from every occurrence (command d). One day pack per day.
//
// A range is a pattern context: the first year Y1, the last year Y2 and the weekday weeks
// start on. Today, the holidays and the private marks come from the calendar handed in; a
// holiday outside its window counts as none.
//
// Nothing here fails: a code that cannot be resolved yields no day, and every loop is bounded
// by the range, so no data line can hold up the viewer.

#include <cstdint>
#include <span>
#include <vector>

#include "calendar/Calendars.h"
#include "calendar/Dates.h"
#include "entries/DatePacks.h"
#include "entries/DateSets.h"
#include "entries/PackBudgets.h"

namespace pelo {

class TEntry;

// The days of an entry within the range, in the order of its date sets, its derived
// days after them. Empty without dates, and for a range that is no range (Y1 > Y2, or years
// outside 1..9998). The packs' entry links are left for the day table to set. At most
// kDayPackBudget packs are made.
std::vector<TDatePack> Occurrences(const TEntry& entry, const TCalendar& calendar,
                                   TPatternContext range);
// The same, appended to out (the day table collects all entries in one list). Every pack made
// takes one from budget, those only searched for derived days too; when it refuses, the
// evaluation stops there and the packs made so far stay.
void Occurrences(const TEntry& entry, const TCalendar& calendar, TPatternContext range,
                 std::vector<TDatePack>& out, TPackBudget& budget);

// Enumerate over every date set of list, in order. base: the period relative and "[",
// "]" codes read from, or null; conditions: the entry's condition lists, or null.
std::vector<TDatePack> EvaluateList(const TDateSetList& list, const TCalendar& calendar,
                                    TPatternContext range, const TDateStartEnd* base,
                                    const TDateSetListList* conditions);
void EvaluateList(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
                  const TDateStartEnd* base, const TDateSetListList* conditions,
                  std::vector<TDatePack>& out, TPackBudget& budget);

// The days of one date set. With a base period or a non-empty base list the days are
// derived days (kind 4): with a base period only those outside it, with a base list only
// those for which NearestBase finds an occurrence, whose period becomes the progress range.
std::vector<TDatePack> Enumerate(const TDateSet& set, const TCalendar& calendar,
                                 TPatternContext range, const TDateStartEnd* base,
                                 const TDateSetListList* conditions,
                                 std::span<const TDatePack> base_list = {});
void Enumerate(const TDateSet& set, const TCalendar& calendar, TPatternContext range,
               const TDateStartEnd* base, const TDateSetListList* conditions,
               std::span<const TDatePack> base_list, std::vector<TDatePack>& out,
               TPackBudget& budget);

// Whether day falls within one of the date sets of list, each read around the day.
bool InList(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
            TDateRec day);

// One condition on a candidate day: a shift, a filter, or a move to the next (or previous)
// day that passes. False drops the candidate: it failed the filter, a move left the range's
// years, or a move never found its day.
bool ApplyCondition(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
                    TDateRec& day);

// Among the base occurrences of kind 0, 1 or 3 whose period does not hold day, the one nearest
// to it (the earlier on a tie); -1 when there is none.
int32_t NearestBase(TDateRec day, std::span<const TDatePack> base_list);

}  // namespace pelo
