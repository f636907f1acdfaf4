#include "calendar/DatePatterns.h"

namespace pelo {

namespace {

int32_t ResolveYear(TDateRec today, TPatternContext context, int32_t code,
                    TDateRec reference) noexcept {
  switch (code) {
    case kCodeEvery:
      return reference.Year;
    case kCodeToday:
    case kCodeKeep:
      return today.Year;
    case kCodeEarliest:
      return context.FirstYear;
    case kCodeLatest:
      return context.LastYear;
    default:
      return code;
  }
}

int32_t ResolveMonth(TDateRec today, int32_t code, TDateRec reference) noexcept {
  switch (code) {
    case kCodeEvery:
      return reference.Month;
    case kCodeToday:
    case kCodeKeep:
      return today.Month;
    case kCodeEarliest:
      return 1;
    case kCodeLatest:
      return 12;
    default:
      return code;
  }
}

// Resolves the day field on the already resolved year and month of out; weekday codes may
// carry out into a neighbouring month.
void ResolveDay(const TCalendar& calendar, TPatternContext context, int32_t code,
                TDateRec reference, TDateRec& out) noexcept {
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
    out.Day = calendar.Today().Day;
    MoveToWeekday(context.WeekStart, code - kCodeThisWeek, out);
    return;
  }
  if (code >= kCodeEveryWeek && code < kCodeNthWeekFirst) {
    out.Day = reference.Day;
    MoveToWeekday(context.WeekStart, code - kCodeEveryWeek, out);
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
      out.Day = calendar.Today().Day;
      return;
    case kCodeEarliest:
      out.Day = 1;
      return;
    case kCodeLatest:
      out.Day = length;
      return;
    case kCodeHoliday:
      out.Day =
          calendar.IsHoliday(TDateRec{out.Year, out.Month, reference.Day}) ? reference.Day : 0;
      return;
    case kCodePrivateHoliday:
      out.Day = calendar.IsPrivateHoliday(TDateRec{out.Year, out.Month, reference.Day})
                    ? reference.Day
                    : 0;
      return;
    case kCodeVernalEquinox:
      // The classic calendar reads the day off its holidays, which never gives the 19th; the
      // current one takes the formula its holidays are made with.
      if (out.Month != 3) {
        out.Day = 0;
      } else if (calendar.Kind() == TCalendarKind::kCurrent) {
        out.Day = VernalEquinoxDay(out.Year);
      } else {
        out.Day = calendar.IsHoliday(TDateRec{out.Year, 3, 20}) ? 20 : 21;
      }
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

TDateRec ResolveDatePattern(const TCalendar& calendar, TPatternContext context, TDateRec pattern,
                            TDateRec reference) noexcept {
  TDateRec out;
  out.Year = ResolveYear(calendar.Today(), context, pattern.Year, reference);
  out.Month = ResolveMonth(calendar.Today(), pattern.Month, reference);
  ResolveDay(calendar, context, pattern.Day, reference, out);
  if (out.Day == 0) return kNullDate;
  return out;
}

}  // namespace pelo
