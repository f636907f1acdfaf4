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

// A date a pack keeps of its occurrence, in 8 bytes. The walk hands over only real months and
// days (1..12, 1..31; 0 for "none"), while a base year is any year a line counts from, so the
// year keeps its full width.
class TPackDate {
 public:
  constexpr TPackDate() noexcept = default;
  // Implicit both ways: the walk and the line texts work on date records.
  constexpr TPackDate(TDateRec date) noexcept
      : year_(date.Year),
        month_(static_cast<int16_t>(date.Month)),
        day_(static_cast<int16_t>(date.Day)) {}
  constexpr operator TDateRec() const noexcept { return TDateRec{year_, month_, day_}; }
  friend constexpr bool operator==(const TPackDate&, const TPackDate&) = default;
  friend constexpr bool operator==(const TPackDate& a, const TDateRec& b) noexcept {
    return TDateRec(a) == b;
  }

 private:
  int32_t year_ = 0;
  int16_t month_ = 0;
  int16_t day_ = 0;
};

// The first and last day of an occurrence, as a pack keeps them.
struct TPackPeriod {
  TPackDate PeriodStart;
  TPackDate PeriodEnd;

  constexpr TPackPeriod() noexcept = default;
  constexpr TPackPeriod(const TDateStartEnd& period) noexcept
      : PeriodStart(period.PeriodStart), PeriodEnd(period.PeriodEnd) {}
  constexpr operator TDateStartEnd() const noexcept {
    return TDateStartEnd{PeriodStart, PeriodEnd};
  }
};

// The inherited triple is the shown day T. Packs are copied as values.
class TDatePack : public TDateClass {
 public:
  TDatePack() = default;
  explicit TDatePack(TDateRec date) noexcept : TDateClass(date) {}

  // Declared first: it fits behind the inherited triple.
  int32_t Kind = kPackSingle;
  // Not owned; set by the day table when it files the pack.
  const TEntry* Entry = nullptr;
  // First day S and last day E of the occurrence the day belongs to (E: the last day
  // walked).
  TPackPeriod Period;
  // The base date Z years are counted from: the resolved start of the date set before any
  // condition moved it.
  TPackDate BaseDate;
  // For a derived day, the period R1..R2 of the occurrence it was derived from; all zero
  // otherwise.
  TPackPeriod ProgressRange;
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
