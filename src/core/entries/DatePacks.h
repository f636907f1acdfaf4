#pragma once

// The day pack: one day on which an entry falls, with the dates its line text is read from
// (the period the day belongs to, the base date years are counted from and, for a derived
// day, the occurrence it was derived from), and the text of that line.
//
// The day table holds a pack for every day of every entry over four years, hundreds of
// thousands of them, so a pack is a flat value: no allocation, nothing owned apart.

#include <cstdint>
#include <string>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "entries/DateSets.h"

namespace pelo {

class TEntry;

// What a pack's day is within its occurrence.
enum TPackKind : int32_t {
  kPackSingle = 0,   // a single day (also each day of an every-day walk)
  kPackFirst = 1,    // the first day of a period
  kPackMiddle = 2,   // a day inside a period
  kPackLast = 3,     // the last day of a period
  kPackDerived = 4,  // a day derived from another occurrence (command d)
};

// The inherited triple is the shown day T.
class TDatePack : public TDateClass {
 public:
  TDatePack() = default;
  explicit TDatePack(TDateRec date) noexcept : TDateClass(date) {}

  // Copies the date and, from another pack, the kind and the three periods. The entry link
  // stays: it belongs to the list the pack is filed in.
  void Assign(const TDateClass* source) override;

  // Declared first: it fits into the tail of the inherited triple.
  int32_t Kind = kPackSingle;
  // Not owned; set by the day table when it files the pack.
  const TEntry* Entry = nullptr;
  // First day S and last day E of the occurrence the day belongs to.
  TDateStartEnd Period;
  // PeriodStart is the base date Z: the resolved start of the date set before any
  // condition moved it. PeriodEnd is the last day walked.
  TDateStartEnd Base;
  // For a derived day, the period R1..R2 of the occurrence it was derived from; all zero
  // otherwise.
  TDateStartEnd ProgressRange;
};

// Whether the lines of the entry read the same on every day that is not a derived day: a
// text without codes and no code string. The day table makes such a line once per entry.
bool HasFixedLineText(const TEntry& entry) noexcept;

// The text of the pack's line in a day cell: the entry's text with its codes expanded and its
// annotation combined, the times in front; for a derived day the codes read on the occurrence
// it was derived from and the distance to it behind, without times. Empty without an entry.
// The kind is the calendar's the codes read (eras, the old calendar).
std::string LineText(const TDatePack& pack, TCalendarKind kind);

}  // namespace pelo
