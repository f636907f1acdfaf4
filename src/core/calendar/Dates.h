#pragma once

// Dates, day numbers and date arithmetic. Everything here is a constexpr function on values:
// no allocation, no clock, no exceptions. Invalid input gets a reserved answer (day number
// 0, the null date, a result code).

#include <cstdint>

#include "calendar/IntegerMath.h"

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

// An amount to move a date by: signed years, months and days.
struct TDateAmount {
  int32_t Years = 0;
  int32_t Months = 0;
  int32_t Days = 0;

  friend constexpr bool operator==(const TDateAmount&, const TDateAmount&) = default;
};

// The same three fields of the file language (an adjustment "+1/+2/+3", a relative start or
// end, the argument of a shift) read as an amount.
constexpr TDateAmount AmountOf(TDateRec triple) noexcept {
  return TDateAmount{triple.Year, triple.Month, triple.Day};
}

// What a pattern resolution works within: the first and last year of the span being worked on
// (what "<" and ">" stand for) and the weekday weeks start on (0 = Sunday).
struct TPatternContext {
  int32_t FirstYear = 0;
  int32_t LastYear = 0;
  int32_t WeekStart = 0;

  friend constexpr bool operator==(const TPatternContext&, const TPatternContext&) = default;
};

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

// Days since 1858/11/17 (the Modified Julian Day). 0 for a record with a field below 1 or
// above 10000. The day is not checked against its month: 2023/2/30 is 2023/3/2. The walks of
// the day table call it from the three fields, many times over, without packing a record.
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

// 0 = Sunday .. 6 = Saturday.
constexpr int32_t WeekdayOf(TDateRec date) noexcept {
  return static_cast<int32_t>((static_cast<int64_t>(DayNumber(date)) + 2400002) % 7);
}

constexpr bool IsLeapYear(int32_t year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The Gregorian cycle: 400 years hold exactly this many days, so whole cycles can be skipped
// when a move spans centuries.
inline constexpr int64_t kDaysPer400Years = 146097;

namespace date_detail {

inline constexpr int32_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Year and month with the month carried into 1..12. Months are carried by division instead
// of one-year-at-a-time loops, so absurd amounts cost nothing.
struct YearMonth {
  int32_t year;
  int32_t month;
};

constexpr YearMonth Carry(int64_t year, int64_t month) noexcept {
  const int64_t m0 = month - 1;
  const int64_t years = FloorDiv(m0, 12);
  return {ClampToInt32(year + years), static_cast<int32_t>(m0 - years * 12 + 1)};
}

constexpr int32_t Mod7(int32_t v) noexcept { return static_cast<int32_t>(FloorMod(v, 7)); }

}  // namespace date_detail

// Month length; the month may lie outside 1..12 and is carried into the year first.
constexpr int32_t DaysInMonth(int32_t year, int32_t month) noexcept {
  const date_detail::YearMonth ym = date_detail::Carry(year, month);
  const int32_t length = date_detail::kMonthLengths[ym.month - 1];
  return (ym.month == 2 && IsLeapYear(ym.year)) ? length + 1 : length;
}

// 31 for January, else the length of the month before.
constexpr int32_t DaysInPreviousMonth(int32_t year, int32_t month) noexcept {
  return month == 1 ? 31 : DaysInMonth(year, month - 1);
}

// The first day of the month that falls on weekday w (0..6).
constexpr int32_t FirstWeekdayOfMonth(int32_t year, int32_t month, int32_t weekday) noexcept {
  return 1 + date_detail::Mod7(weekday - WeekdayOf(TDateRec{year, month, 1}));
}

constexpr int32_t MonthsBetween(int32_t year1, int32_t month1, int32_t year2,
                                int32_t month2) noexcept {
  return (year2 - year1) * 12 + (month2 - month1);
}

// Adds years and months and brings the month back into 1..12.
constexpr void AddYearsMonths(int32_t& year, int32_t& month, int32_t add_years,
                              int32_t add_months) noexcept {
  const date_detail::YearMonth ym = date_detail::Carry(static_cast<int64_t>(year) + add_years,
                                                       static_cast<int64_t>(month) + add_months);
  year = ym.year;
  month = ym.month;
}

// The single way dates are moved. A move of years and/or months alone clamps the day to the
// target month's length; any other move rolls over month ends. The null date stays null.
constexpr TDateRec AddToDate(TDateRec date, TDateAmount amount) noexcept {
  if (date.Day == 0) return date;
  // Most moves are a few days within a month (every walk of the day table steps this way):
  // a day of 1..28 stays in its month whatever the month's length, nothing to roll over.
  if (amount.Years == 0 && amount.Months == 0 && date.Month >= 1 && date.Month <= 12) {
    const int64_t e = static_cast<int64_t>(date.Day) + amount.Days;
    if (e >= 1 && e <= 28) return TDateRec{date.Year, date.Month, static_cast<int32_t>(e)};
  }
  int32_t y = date.Year;
  int32_t m = date.Month;
  AddYearsMonths(y, m, amount.Years, amount.Months);
  int64_t e = static_cast<int64_t>(date.Day) + amount.Days;

  if (amount.Days == 0 && (amount.Years != 0 || amount.Months != 0) && e > DaysInMonth(y, m)) {
    return TDateRec{y, m, DaysInMonth(y, m)};  // clamp to the target month's end
  }

  // Roll over month ends. Whole 400-year cycles first, so that a move of millions of days
  // does not walk month by month.
  if (e > kDaysPer400Years || e < -kDaysPer400Years) {
    const int64_t cycles = e / kDaysPer400Years;
    e -= cycles * kDaysPer400Years;
    y = ClampToInt32(static_cast<int64_t>(y) + cycles * 400);
  }
  while (e > DaysInMonth(y, m)) {
    e -= DaysInMonth(y, m);
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  while (e <= 0) {
    e += DaysInMonth(y, m - 1);
    if (--m < 1) {
      m = 12;
      --y;
    }
  }
  return TDateRec{y, m, static_cast<int32_t>(e)};
}

constexpr TDateRec AddDays(TDateRec date, int32_t days) noexcept {
  return AddToDate(date, TDateAmount{0, 0, days});
}

// kDateUsable, kDateBeforeRange, kDateAfterRange or kDateNonexistent.
constexpr TRangeCheck CheckCalendarRange(TDateRec date) noexcept {
  // DayNumber answers 0 (1858/11/17) outside its formula's domain. A year past 10000 or
  // before 1 lies outside the calendar, not inside it.
  const auto in_domain = [](int32_t v) { return v >= 1 && v <= 10000; };
  const bool real_month_day = date.Month >= 1 && date.Month <= 12 && date.Day >= 1;
  if (date.Year > 10000) return kDateAfterRange;
  if (date.Year < 1) return real_month_day ? kDateBeforeRange : kDateNonexistent;
  if (!in_domain(date.Month) || !in_domain(date.Day)) return kDateNonexistent;

  const int32_t n = DayNumber(date);
  if (n < kFirstCalendarDay) return kDateBeforeRange;
  if (n > kLastCalendarDay) return kDateAfterRange;
  if (real_month_day && date.Day <= DaysInMonth(date.Year, date.Month)) return kDateUsable;
  return kDateNonexistent;
}

// Moves date to weekday w. mode -1: on or before; 7: on or after; 0..6: within the week
// that holds the date, weeks starting on that weekday. Other modes or weekdays do nothing.
constexpr void MoveToWeekday(int32_t mode, int32_t weekday, TDateRec& date) noexcept {
  if (mode < -1 || mode > 7 || weekday < 0 || weekday > 6) return;
  const int32_t current = WeekdayOf(date);
  int32_t k = weekday - current;
  if (mode == -1) {
    if (weekday > current) k -= 7;
  } else if (mode == 7) {
    if (weekday < current) k += 7;
  } else {
    k = date_detail::Mod7(weekday - mode) - date_detail::Mod7(current - mode);
  }
  date = AddDays(date, k);
}

// Week numbers (1..) for weeks starting on week_start; week 1 holds the first day.
constexpr int32_t WeekOfYear(int32_t week_start, TDateRec date) noexcept {
  TDateRec first{date.Year, 1, 1};
  MoveToWeekday(-1, week_start, first);
  return (DayNumber(date) - DayNumber(first)) / 7 + 1;
}

constexpr int32_t WeekOfMonth(int32_t week_start, TDateRec date) noexcept {
  TDateRec first{date.Year, date.Month, 1};
  MoveToWeekday(-1, week_start, first);
  return (DayNumber(date) - DayNumber(first)) / 7 + 1;
}

// The anchors of the day count, and the calendar's ends.
static_assert(sizeof(TDateRec) == 12);
static_assert(DayNumber(1858, 11, 17) == 0);
static_assert(DayNumber(1582, 11, 1) == -100823);
static_assert(DayNumber(2000, 1, 1) == 51544);
static_assert(DayNumber(kFirstCalendarDate) == kFirstCalendarDay);
static_assert(DayNumber(kLastCalendarDate) == kLastCalendarDay);
static_assert(DayNumber(1582, 10, 4) + 1 == DayNumber(1582, 10, 15));  // the Gregorian switch
static_assert(WeekdayOf(TDateRec{2000, 1, 1}) == 6);                   // a Saturday
static_assert(DayNumber(2400, 1, 1) - DayNumber(2000, 1, 1) == kDaysPer400Years);

}  // namespace pelo
