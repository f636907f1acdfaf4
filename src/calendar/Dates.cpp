#include "calendar/Dates.h"

#include <array>

#include "calendar/DateInfos.h"

namespace pelo {

namespace {

constexpr std::array<int32_t, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Floor division and its remainder in [0, divisor): months are carried with them instead
// of one-year-at-a-time loops, so absurd amounts cost nothing.
constexpr int64_t FloorDiv(int64_t a, int64_t b) noexcept {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

constexpr int32_t ClampToInt32(int64_t v) noexcept {
  constexpr int64_t kLimit = 1'000'000'000;  // far outside any calendar, far from overflow
  return static_cast<int32_t>(v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v));
}

// Year and month with the month carried into 1..12.
struct YearMonth {
  int32_t year;
  int32_t month;
};

constexpr YearMonth Carry(int64_t year, int64_t month) noexcept {
  const int64_t m0 = month - 1;
  const int64_t years = FloorDiv(m0, 12);
  return {ClampToInt32(year + years), static_cast<int32_t>(m0 - years * 12 + 1)};
}

constexpr int32_t Mod7(int32_t v) noexcept { return ((v % 7) + 7) % 7; }  // [0, 6]

// Gregorian cycle: 400 years hold exactly this many days, so whole cycles can be skipped
// when a move spans centuries.
constexpr int64_t kDaysPer400Years = 146097;

}  // namespace

static_assert(sizeof(TDateRec) == 12);

int32_t WeekdayOf(TDateRec date) noexcept {
  return static_cast<int32_t>((static_cast<int64_t>(DayNumber(date)) + 2400002) % 7);
}

bool IsLeapYear(int32_t year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t DaysInMonth(int32_t year, int32_t month) noexcept {
  const YearMonth ym = Carry(year, month);
  const int32_t length = kMonthLengths[ym.month - 1];
  return (ym.month == 2 && IsLeapYear(ym.year)) ? length + 1 : length;
}

int32_t DaysInPreviousMonth(int32_t year, int32_t month) noexcept {
  return month == 1 ? 31 : DaysInMonth(year, month - 1);
}

int32_t WeekOfYear(int32_t week_start, TDateRec date) noexcept {
  TDateRec first{date.Year, 1, 1};
  MoveToWeekday(-1, week_start, first);
  return (DayNumber(date) - DayNumber(first)) / 7 + 1;
}

int32_t WeekOfMonth(int32_t week_start, TDateRec date) noexcept {
  TDateRec first{date.Year, date.Month, 1};
  MoveToWeekday(-1, week_start, first);
  return (DayNumber(date) - DayNumber(first)) / 7 + 1;
}

int32_t MonthsBetween(int32_t year1, int32_t month1, int32_t year2, int32_t month2) noexcept {
  return (year2 - year1) * 12 + (month2 - month1);
}

void AddYearsMonths(int32_t& year, int32_t& month, int32_t add_years, int32_t add_months) noexcept {
  const YearMonth ym =
      Carry(static_cast<int64_t>(year) + add_years, static_cast<int64_t>(month) + add_months);
  year = ym.year;
  month = ym.month;
}

TDateRec AddToDate(TDateRec date, TDateRec amount) noexcept {
  if (date.Day == 0) return date;
  // Most moves are a few days within a month (every walk of the day table steps this way):
  // a day of 1..28 stays in its month whatever the month's length, nothing to roll over.
  if (amount.Year == 0 && amount.Month == 0 && date.Month >= 1 && date.Month <= 12) {
    const int64_t e = static_cast<int64_t>(date.Day) + amount.Day;
    if (e >= 1 && e <= 28) return TDateRec{date.Year, date.Month, static_cast<int32_t>(e)};
  }
  int32_t y = date.Year;
  int32_t m = date.Month;
  AddYearsMonths(y, m, amount.Year, amount.Month);
  int64_t e = static_cast<int64_t>(date.Day) + amount.Day;

  if (amount.Day == 0 && (amount.Year != 0 || amount.Month != 0) && e > DaysInMonth(y, m)) {
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

TRangeCheck CheckCalendarRange(TDateRec date) noexcept {
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

void MoveToWeekday(int32_t mode, int32_t weekday, TDateRec& date) noexcept {
  if (mode < -1 || mode > 7 || weekday < 0 || weekday > 6) return;
  const int32_t current = WeekdayOf(date);
  int32_t k = weekday - current;
  if (mode == -1) {
    if (weekday > current) k -= 7;
  } else if (mode == 7) {
    if (weekday < current) k += 7;
  } else {
    k = Mod7(weekday - mode) - Mod7(current - mode);
  }
  date = AddDays(date, k);
}

namespace {

int32_t ResolveYear(TDateRec context, int32_t code, TDateRec reference) noexcept {
  switch (code) {
    case kCodeEvery:
      return reference.Year;
    case kCodeToday:
    case kCodeKeep:
      return DateInfo().TodayYear();
    case kCodeEarliest:
      return context.Year;
    case kCodeLatest:
      return context.Month;
    default:
      return code;
  }
}

int32_t ResolveMonth(int32_t code, TDateRec reference) noexcept {
  switch (code) {
    case kCodeEvery:
      return reference.Month;
    case kCodeToday:
    case kCodeKeep:
      return DateInfo().TodayMonth();
    case kCodeEarliest:
      return 1;
    case kCodeLatest:
      return 12;
    default:
      return code;
  }
}

// The first day of the month that falls on weekday w.
int32_t FirstWeekdayOfMonth(int32_t year, int32_t month, int32_t weekday) noexcept {
  return 1 + Mod7(weekday - WeekdayOf(TDateRec{year, month, 1}));
}

// Resolves the day field on the already resolved year and month of out; weekday codes may
// carry out into a neighbouring month.
// The day-information object is reached only by the codes that need it: its own fill
// resolves second Mondays through here while it is being made.
void ResolveDay(TDateRec context, int32_t code, TDateRec reference, TDateRec& out) noexcept {
  const int32_t length = DaysInMonth(out.Year, out.Month);
  if (code >= 1 && code <= 31) {
    out.Day = code <= length ? code : 0;
    return;
  }
  if (code == kCodeMonthEnd) {
    out.Day = length;
    return;
  }
  if (code >= kCodeThisWeek && code < kCodeEveryWeek) {
    out.Day = DateInfo().TodayDay();
    MoveToWeekday(context.Day, code - kCodeThisWeek, out);
    return;
  }
  if (code >= kCodeEveryWeek && code < kCodeNthWeekFirst) {
    out.Day = reference.Day;
    MoveToWeekday(context.Day, code - kCodeEveryWeek, out);
    return;
  }
  if (code >= kCodeNthWeekFirst && code < kCodeLastWeek) {
    const int32_t q = (code - kCodeThisWeek) / 7;  // [2, 6]
    const int32_t n = q - 1;                       // [1, 5]
    const int32_t day =
        FirstWeekdayOfMonth(out.Year, out.Month, (code - kCodeThisWeek) % 7) + (n - 1) * 7;
    out.Day = day <= length ? day : 0;  // only a fifth weekday can pass the month's end
    return;
  }
  if (code >= kCodeLastWeek && code <= kCodeLastWeekEnd) {
    int32_t day = FirstWeekdayOfMonth(out.Year, out.Month, code - kCodeLastWeek) + 35;
    while (day > length) day -= 7;
    out.Day = day;
    return;
  }
  switch (code) {
    case kCodeEvery:
      out.Day = reference.Day;
      return;
    case kCodeToday:
    case kCodeKeep:
      out.Day = DateInfo().TodayDay();
      return;
    case kCodeEarliest:
      out.Day = 1;
      return;
    case kCodeLatest:
      out.Day = length;
      return;
    case kCodeHoliday:
      out.Day =
          DateInfo().IsHoliday(TDateRec{out.Year, out.Month, reference.Day}) ? reference.Day : 0;
      return;
    case kCodePrivateHoliday:
      out.Day = DateInfo().IsPrivateHoliday(TDateRec{out.Year, out.Month, reference.Day})
                    ? reference.Day
                    : 0;
      return;
    case kCodeVernalEquinox:
      out.Day = out.Month != 3 ? 0 : (DateInfo().IsHoliday(TDateRec{out.Year, 3, 20}) ? 20 : 21);
      return;
    case kCodeAutumnalEquinox:
      // Outside the years the equinox formulas cover there is no such day.
      out.Day = out.Month == 9 ? AutumnalEquinoxDay(out.Year) : 0;
      return;
    default:
      // [ and ], codes below -10 and from 89 up are not resolved: the code plus one, for the
      // caller to interpret. (89, one past the last weekday code, is treated the same way.)
      out.Day = code + 1;
      return;
  }
}

}  // namespace

TDateRec ResolveDatePattern(TDateRec context, TDateRec pattern, TDateRec reference) noexcept {
  TDateRec out;
  out.Year = ResolveYear(context, pattern.Year, reference);
  out.Month = ResolveMonth(pattern.Month, reference);
  ResolveDay(context, pattern.Day, reference, out);
  if (out.Day == 0) return kNullDate;
  return out;
}

}  // namespace pelo
