#include "calendar/Kyurekis.h"

#include <algorithm>

namespace pelo {

namespace {

// One leap month: its first day and the number of the month it repeats.
struct TLeapMonth {
  uint16_t first_day;
  uint8_t month;
  uint8_t reserved;
};
static_assert(sizeof(TLeapMonth) == 4);

#include "calendar/KyurekiTables.inc"

// The lookups below rely on these; a regenerated table that breaks them does not compile.
static_assert(std::is_sorted(kMonthStarts.begin(), kMonthStarts.end()));
static_assert(std::is_sorted(kLeapMonths.begin(), kLeapMonths.end(),
                             [](const TLeapMonth& a, const TLeapMonth& b) {
                               return a.first_day < b.first_day;
                             }));
static_assert(kMonthStarts.size() % 12 == 0);  // whole lunar years, each starting at month 1
static_assert(kLeapMonths.front().first_day == kFirstLunarDay);
// The table keeps month 12 of 2020 (from 2021/1/13) although its end is unknown: month 11
// has only 29 days, and without it 2021/1/13 would read as a 30th day of month 11.
static_assert(kMonthStarts.back() == kLastLunarDay);

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

TLunarMonth FindLunarMonth(int32_t n) noexcept {
  if (n < kMonthStarts.front() || n > kLastLunarDay) return {};
  // The last regular month starting on or before n: index i is entry i + 1, month (i mod
  // 12) + 1.
  const auto regular = std::upper_bound(kMonthStarts.begin(), kMonthStarts.end(), n) - 1;
  const auto index = static_cast<int32_t>(regular - kMonthStarts.begin());
  const auto leap =
      std::upper_bound(kLeapMonths.begin(), kLeapMonths.end(), n,
                       [](int32_t day, const TLeapMonth& month) { return day < month.first_day; });
  // A leap month that began after the regular candidate is the month that holds n.
  if (leap != kLeapMonths.begin()) {
    const TLeapMonth& last = *(leap - 1);
    if (last.first_day >= *regular) return {last.first_day, last.month, true};
  }
  return {*regular, index % 12 + 1, false};
}

TLunarDate LunarDate(int32_t n) noexcept {
  if (n < kFirstLunarDay || n > kLastLunarDay) return {};
  const TLunarMonth month = FindLunarMonth(n);
  return {month.Leap, month.Month, n - month.FirstDay + 1};
}

int32_t RokuyoIndex(TDateRec date) noexcept {
  const int32_t n = DayNumber(date);
  if (n < kFirstLunarDay || n > kLastLunarDay) return -1;
  const TLunarMonth month = FindLunarMonth(n);
  // A leap month counts as the month it repeats.
  return ((month.Month - 1) % 6 + (n - month.FirstDay)) % 6;
}

std::string RokuyoName(TDateRec date) {
  const int32_t index = RokuyoIndex(date);
  return index < 0 ? std::string() : std::string(kRokuyoNames[index]);
}

std::string LunarDateText(TDateRec date) {
  const TLunarDate lunar = LunarDate(DayNumber(date));
  if (lunar.Day == 0) return {};
  // At most eight bytes: it stays in the string's own buffer.
  std::string out = lunar.Leap ? kLeapPrefix : kRegularPrefix;
  AppendNumber(out, lunar.Month);
  out.push_back('/');
  AppendNumber(out, lunar.Day);
  return out;
}

}  // namespace pelo
