#include "calendar/Kyurekis.h"

#include <algorithm>

namespace pelo {

namespace {

// One leap month: its first day and the number of the month it repeats.
template <typename Day>
struct TLeapMonthOf {
  Day first_day;
  uint8_t month;
  uint8_t reserved;
};
using TLeapMonth = TLeapMonthOf<uint16_t>;     // the classic table
using TWideLeapMonth = TLeapMonthOf<int32_t>;  // day numbers pass 65535 from 2038/5/4
static_assert(sizeof(TLeapMonth) == 4);

#include "calendar/KyurekiTables.inc"
#include "calendar/KyurekiTables2150.inc"

// The lookups below rely on these; a regenerated table that breaks them does not compile.
template <typename Starts, typename Leaps>
constexpr bool IsUsableTable(const Starts& starts, const Leaps& leaps) {
  return std::is_sorted(starts.begin(), starts.end()) &&
         std::is_sorted(leaps.begin(), leaps.end(),
                        [](const auto& a, const auto& b) { return a.first_day < b.first_day; }) &&
         starts.size() % 12 == 0 &&  // whole lunar years, each starting at month 1
         leaps.front().first_day == kFirstLunarDay;
}
static_assert(IsUsableTable(kMonthStarts, kLeapMonths));
static_assert(IsUsableTable(kMonthStarts2150, kLeapMonths2150));
// The classic table keeps month 12 of 2020 (from 2021/1/13) although its end is unknown: month
// 11 has only 29 days, and without it 2021/1/13 would read as a 30th day of month 11.
static_assert(kMonthStarts.back() == kLastLunarDay);
// The current table ends with the month after the one that holds 2150/12/31.
static_assert(kMonthStarts2150.back() > LastLunarDay(TCalendarKind::kCurrent));
// Both calendars date the days of the classic range alike.
static_assert(std::equal(kMonthStarts.begin(), kMonthStarts.end(), kMonthStarts2150.begin()));
static_assert(std::equal(kLeapMonths.begin(), kLeapMonths.end(), kLeapMonths2150.begin(),
                         [](const TLeapMonth& a, const TWideLeapMonth& b) {
                           return a.first_day == b.first_day && a.month == b.month;
                         }));

template <typename Starts, typename Leaps>
TLunarMonth FindIn(const Starts& starts, const Leaps& leaps, int32_t last_day, int32_t n) noexcept {
  if (n < starts.front() || n > last_day) return {};
  // The last regular month starting on or before n: index i is entry i + 1, month (i mod
  // 12) + 1.
  const auto regular = std::upper_bound(starts.begin(), starts.end(), n) - 1;
  const auto index = static_cast<int32_t>(regular - starts.begin());
  const auto leap = std::upper_bound(
      leaps.begin(), leaps.end(), n,
      [](int32_t day, const auto& month) { return day < static_cast<int32_t>(month.first_day); });
  // A leap month that began after the regular candidate is the month that holds n.
  if (leap != leaps.begin()) {
    const auto& last = *(leap - 1);
    if (last.first_day >= *regular) return {last.first_day, last.month, true};
  }
  return {*regular, index % 12 + 1, false};
}

constexpr const char kRegularPrefix[] = "旧";
constexpr const char kLeapPrefix[] = "閏";

void AppendNumber(std::string& out, int32_t value) {
  char digits[12];
  int32_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  while (count > 0) out.push_back(digits[--count]);
}

}  // namespace

TLunarMonth FindLunarMonth(int32_t n, TCalendarKind kind) noexcept {
  const int32_t last_day = LastLunarDay(kind);
  return kind == TCalendarKind::kCurrent ? FindIn(kMonthStarts2150, kLeapMonths2150, last_day, n)
                                         : FindIn(kMonthStarts, kLeapMonths, last_day, n);
}

TLunarDate LunarDate(int32_t n, TCalendarKind kind) noexcept {
  if (n < kFirstLunarDay || n > LastLunarDay(kind)) return {};
  const TLunarMonth month = FindLunarMonth(n, kind);
  return {month.Leap, month.Month, n - month.FirstDay + 1};
}

int32_t RokuyoIndex(TDateRec date, TCalendarKind kind) noexcept {
  const int32_t n = DayNumber(date);
  if (n < kFirstLunarDay || n > LastLunarDay(kind)) return -1;
  const TLunarMonth month = FindLunarMonth(n, kind);
  // A leap month counts as the month it repeats.
  return ((month.Month - 1) % 6 + (n - month.FirstDay)) % 6;
}

std::string RokuyoName(TDateRec date, TCalendarKind kind) {
  const int32_t index = RokuyoIndex(date, kind);
  return index < 0 ? std::string() : std::string(kRokuyoNames[index]);
}

std::string LunarDateText(TDateRec date, TCalendarKind kind) {
  const TLunarDate lunar = LunarDate(DayNumber(date), kind);
  if (lunar.Day == 0) return {};
  // At most eight bytes: it stays in the string's own buffer.
  std::string out = lunar.Leap ? kLeapPrefix : kRegularPrefix;
  AppendNumber(out, lunar.Month);
  out.push_back('/');
  AppendNumber(out, lunar.Day);
  return out;
}

}  // namespace pelo
