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

}  // namespace pelo
