#pragma once

// Japanese national holidays as data. Each calendar kind has its own rule set: a table of
// rows (a month and day or a rule for the day, valid between two dates) and a few special
// rules (days moved by a law for one year, the substitute holiday, the citizens' holiday).
// The holidays of a year are computed into the caller's cells; nothing here keeps state.

#include <array>
#include <cstdint>

#include "calendar/CalendarKinds.h"

namespace pelo {

// Holiday codes besides the rows of a rule table (kFirstHolidayRuleCode on, in table order).
inline constexpr int32_t kHolidayNone = 0;
inline constexpr int32_t kHolidaySubstitute = 1;  // 振替休日
inline constexpr int32_t kHolidayCitizens = 2;    // 国民の休日
inline constexpr int32_t kFirstHolidayRuleCode = 3;

// Equinox day of March / September of a year, or 0 outside 1851..2150.
int32_t VernalEquinoxDay(int32_t year) noexcept;
int32_t AutumnalEquinoxDay(int32_t year) noexcept;

// The holiday codes of one year, one cell per (month, day); the cells of days a month does
// not have stay 0.
using TYearHolidays = std::array<uint8_t, 12 * 31>;

constexpr int32_t YearHolidayIndex(int32_t month, int32_t day) noexcept {
  return (month - 1) * 31 + (day - 1);
}

// Sets cells to the holiday codes of year. The classic rules cannot place an equinox day
// outside 1851..2150: there the year's fill stops at the first equinox row (the rows before it
// stay marked) and the answer is false, for a window fill to end as well. The current rules
// mark the years 1873..2150 and leave every other year empty.
bool FillYearHolidays(TCalendarKind kind, int32_t year, TYearHolidays& cells) noexcept;

// One past the highest holiday code of a rule set.
int32_t HolidayCodeCount(TCalendarKind kind) noexcept;

// The name of a code (empty for 0 and for codes the rule set does not have).
const char* HolidayCodeName(int32_t code, TCalendarKind kind) noexcept;

}  // namespace pelo
