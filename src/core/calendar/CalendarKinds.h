#pragma once

// The two calendars the program knows. Each is a holiday rule set, an old-calendar table and
// an era table. A calendar value (TCalendar) carries its kind; the table lookups below it take
// the kind, and whoever holds the calendar hands them its kind.

#include <cstdint>

namespace pelo {

enum class TCalendarKind : uint8_t {
  // The holiday table up to the law of 2000, the old calendar to 2021/1/13, eras to 平成: what
  // the program has always shown, and what old files and other installations rely on.
  kClassic,
  // Holiday law as it stands, the old calendar to 2150/12/31, eras to 令和.
  kCurrent,
};

}  // namespace pelo
