#pragma once

// Dates, day numbers and date arithmetic. Everything here is a plain function on values:
// no allocation, no clock, no exceptions. Invalid input gets a reserved answer (day number
// 0, the null date, a result code).

#include <cstdint>

namespace pelo {

// A date as three signed fields. In date patterns the same fields carry codes (below).
struct TDateRec {
  int32_t Year = 0;
  int32_t Month = 0;
  int32_t Day = 0;

  friend constexpr bool operator==(const TDateRec&, const TDateRec&) = default;
};

// The null date: no date at all (all three fields 0).
inline constexpr TDateRec kNullDate{};

// Codes of date-pattern fields. Positive numbers are plain values; 0, the negatives and the
// day codes from 32 up are symbols.
inline constexpr int32_t kCodeEvery = 0;             // empty: every / same as the start
inline constexpr int32_t kCodeToday = -1;            // *
inline constexpr int32_t kCodeBaseStart = -2;        // [
inline constexpr int32_t kCodeBaseEnd = -3;          // ]
inline constexpr int32_t kCodeEarliest = -4;         // <
inline constexpr int32_t kCodeLatest = -5;           // >
inline constexpr int32_t kCodeHoliday = -6;          // HD
inline constexpr int32_t kCodePrivateHoliday = -7;   // PH
inline constexpr int32_t kCodeVernalEquinox = -8;    // SD
inline constexpr int32_t kCodeAutumnalEquinox = -9;  // AD
inline constexpr int32_t kCodeKeep = -10;            // ?
inline constexpr int32_t kCodeMonthEnd = 32;         // _
inline constexpr int32_t kCodeThisWeek = 33;         // 33..39: weekday of the current week
inline constexpr int32_t kCodeEveryWeek = 40;        // 40..46: weekday of every week
inline constexpr int32_t kCodeNthWeekFirst = 47;     // 47..81: n-th weekday, 40 + w + 7n
inline constexpr int32_t kCodeLastWeek = 82;         // 82..88: last weekday of the month
inline constexpr int32_t kCodeLastWeekEnd = 88;

// The supported calendar.
inline constexpr TDateRec kFirstCalendarDate{1582, 11, 1};
inline constexpr TDateRec kLastCalendarDate{2150, 12, 31};
inline constexpr int32_t kFirstCalendarDay = -100823;  // day number of 1582/11/1
inline constexpr int32_t kLastCalendarDay = 106695;    // day number of 2150/12/31

// Results of CheckCalendarRange.
enum TRangeCheck : int32_t {
  kDateUsable = 0,
  kDateBeforeRange = 1,
  kDateAfterRange = 2,
  kDateNonexistent = 3,
};

constexpr TDateRec MakeDate(int32_t year, int32_t month, int32_t day) noexcept {
  return TDateRec{year, month, day};
}

constexpr bool SameDate(TDateRec a, TDateRec b) noexcept { return a == b; }

// Days since 1858/11/17 (the Modified Julian Day), from the three fields (what the walks of
// the day table call, many times over, without packing a record first). 0 for a field below 1
// or above 10000. The day is not checked against its month: 2023/2/30 is 2023/3/2. constexpr,
// so constant tables can state their bounds as dates.
constexpr int32_t DayNumber(int32_t y, int32_t m, int32_t d) noexcept {
  if (y < 1 || y > 10000 || m < 1 || m > 10000 || d < 1 || d > 10000) return 0;
  if (m <= 2) {  // January and February count as months 13 and 14 of the year before
    m += 12;
    y -= 1;
  }
  // trunc(y * 365.25) + trunc((m - 2) * 30.59) in integers: y >= 0 and m - 2 >= 1 here, so
  // truncation is division, and no (m - 2) * 30.59 of the domain lies near enough to a whole
  // number for the rounding of 30.59 to matter (the test of this module compares both).
  const int32_t n = y * 1461 / 4 + (m - 2) * 3059 / 100 + d;
  if (static_cast<int64_t>(y) * 10000 + m * 100 + d > 15821004) {
    return n + y / 400 - y / 100 - 678912;  // Gregorian, after 1582/10/4
  }
  return n - 678914;  // Julian, up to 1582/10/4
}

constexpr int32_t DayNumber(TDateRec date) noexcept {
  return DayNumber(date.Year, date.Month, date.Day);
}

static_assert(DayNumber(1858, 11, 17) == 0 && DayNumber(2000, 1, 1) == 51544);
static_assert(DayNumber(kFirstCalendarDate) == kFirstCalendarDay);
static_assert(DayNumber(kLastCalendarDate) == kLastCalendarDay);

// 0 = Sunday .. 6 = Saturday.
int32_t WeekdayOf(TDateRec date) noexcept;

bool IsLeapYear(int32_t year) noexcept;

// Month length; the month may lie outside 1..12 and is carried into the year first.
int32_t DaysInMonth(int32_t year, int32_t month) noexcept;

// 31 for January, else the length of the month before.
int32_t DaysInPreviousMonth(int32_t year, int32_t month) noexcept;

// Week numbers (1..) for weeks starting on week_start; week 1 holds the first day.
int32_t WeekOfYear(int32_t week_start, TDateRec date) noexcept;
int32_t WeekOfMonth(int32_t week_start, TDateRec date) noexcept;

int32_t MonthsBetween(int32_t year1, int32_t month1, int32_t year2, int32_t month2) noexcept;

// Adds years and months and brings the month back into 1..12.
void AddYearsMonths(int32_t& year, int32_t& month, int32_t add_years, int32_t add_months) noexcept;

// The single way dates are moved: amount holds signed years, months and days. A move of
// years and/or months alone clamps the day to the target month's length; any other move
// rolls over month ends. The null date stays null.
TDateRec AddToDate(TDateRec date, TDateRec amount) noexcept;

inline TDateRec AddDays(TDateRec date, int32_t days) noexcept {
  return AddToDate(date, TDateRec{0, 0, days});
}

// kDateUsable, kDateBeforeRange, kDateAfterRange or kDateNonexistent.
TRangeCheck CheckCalendarRange(TDateRec date) noexcept;

// Moves date to weekday w. mode -1: on or before; 7: on or after; 0..6: within the week
// that holds the date, weeks starting on that weekday. Other modes or weekdays do nothing.
void MoveToWeekday(int32_t mode, int32_t weekday, TDateRec& date) noexcept;

// Resolves a date pattern against a reference date. context holds (first year, last year,
// week start). Returns the null date when the day does not exist. Reads today, holidays and
// private-holiday marks from the day-information object.
TDateRec ResolveDatePattern(TDateRec context, TDateRec pattern, TDateRec reference) noexcept;

}  // namespace pelo
