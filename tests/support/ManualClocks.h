#pragma once

// A clock the test sets by hand: today moves only when the test says so.

#include "calendar/Calendars.h"

namespace pelo::test {

struct TManualClock : TClock {
  explicit TManualClock(TLocalTime time) : now(time) {}
  TLocalTime Now() const override { return now; }
  TLocalTime now;
};

}  // namespace pelo::test
