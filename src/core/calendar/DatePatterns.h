#pragma once

// Date patterns resolved to days: the codes of a pattern's fields (today, "<", ">", weekdays,
// holidays, month ends ...) read against a reference date within a pattern context, with
// today, the holidays and the private marks taken from the calendar handed in.

#include "calendar/Calendars.h"
#include "calendar/Dates.h"

namespace pelo {

// Resolves a date pattern against a reference date. Returns the null date when the day does
// not exist.
TDateRec ResolveDatePattern(const TCalendar& calendar, TPatternContext context, TDateRec pattern,
                            TDateRec reference) noexcept;

// A day code that names a day of the month by number: 1..31, or "_" for the month's last.
constexpr bool IsPlainDayCode(int32_t code) noexcept { return code >= 1 && code <= kCodeMonthEnd; }

// What ResolveDatePattern gives for a plain day code in a real year and month (1..9999,
// 1..12): it reads neither the calendar nor a reference, so the walk, which resolves such a
// day for every month of every entry, takes this shorter way.
constexpr TDateRec ResolvePlainDay(int32_t year, int32_t month, int32_t code) noexcept {
  const int32_t length = DaysInMonth(year, month);
  if (code == kCodeMonthEnd) return TDateRec{year, month, length};
  return code <= length ? TDateRec{year, month, code} : kNullDate;
}

}  // namespace pelo
