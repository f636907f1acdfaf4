#include "calendar/HolidayRules.h"

#include <limits>
#include <span>
#include <string_view>

#include "calendar/Dates.h"

namespace pelo {

namespace {

// How a rule row finds its day.
enum class TDayRule : uint8_t {
  kFixed,
  kSecondMonday,
  kThirdMonday,
  kVernalEquinox,
  kAutumnalEquinox,
};

struct THolidayRule {
  // The bounds are written as dates and kept as day numbers.
  constexpr THolidayRule(const char* name_, int32_t month_, int32_t day_, TDayRule rule_,
                         TDateRec first_, TDateRec last_)
      : name(name_),
        month(month_),
        day(day_),
        rule(rule_),
        first(DayNumber(first_)),
        last(DayNumber(last_)) {}

  const char* name;
  int32_t month;
  int32_t day;  // unused when the day comes from a rule
  TDayRule rule;
  int32_t first;  // day numbers of the validity interval, both inclusive
  int32_t last;
};

// A row's day moved by a law for one year (the date may lie in another month).
struct TMovedHoliday {
  int32_t code;
  TDateRec date;
};

enum class TCitizensRule : uint8_t {
  kMayFourth,        // May 4 alone, whatever its neighbours
  kBetweenHolidays,  // any day between two holidays
};

struct THolidayRuleSet {
  std::span<const THolidayRule> rules;  // codes kFirstHolidayRuleCode on
  std::span<const TMovedHoliday> moved;
  int32_t first_year;  // years outside first_year..last_year have no holidays
  int32_t last_year;
  int32_t substitute_from;        // from this day a holiday on a Sunday gives a 振替休日 ...
  int32_t substitute_skips_from;  // ... and from this day it skips the holidays that follow
  TCitizensRule citizens;
  int32_t citizens_from;  // no 国民の休日 before this day
};

constexpr TDateRec kNoEnd{2406, 6, 17};  // far past the calendar: the row has no end
constexpr TDateRec kNeverDate{10000, 12, 31};

constexpr TDayRule kFixed = TDayRule::kFixed;
constexpr TDayRule kSecondMonday = TDayRule::kSecondMonday;
constexpr TDayRule kThirdMonday = TDayRule::kThirdMonday;
constexpr TDayRule kVernal = TDayRule::kVernalEquinox;
constexpr TDayRule kAutumnal = TDayRule::kAutumnalEquinox;

// The classic table: the law of 2000 and the prewar festival days. Rows for codes 3..39,
// processed in this order; a later row overwrites an earlier one.
constexpr THolidayRule kClassicRules[] = {
    {"元日", 1, 1, kFixed, {1948, 7, 20}, kNoEnd},
    {"成人の日", 1, 15, kFixed, {1948, 7, 20}, {1999, 12, 31}},
    {"成人の日", 1, 15, kSecondMonday, {2000, 1, 1}, kNoEnd},
    {"建国記念の日", 2, 11, kFixed, {1966, 12, 9}, kNoEnd},
    {"春分の日", 3, 21, kVernal, {1948, 7, 20}, kNoEnd},
    {"みどりの日", 4, 29, kFixed, {1989, 2, 21}, kNoEnd},
    {"憲法記念日", 5, 3, kFixed, {1948, 7, 20}, kNoEnd},
    {"こどもの日", 5, 5, kFixed, {1948, 7, 20}, kNoEnd},
    {"海の日", 7, 20, kFixed, {1996, 7, 20}, kNoEnd},
    {"敬老の日", 9, 15, kFixed, {1966, 6, 25}, kNoEnd},
    {"秋分の日", 9, 23, kAutumnal, {1948, 7, 20}, kNoEnd},
    {"体育の日", 10, 10, kFixed, {1966, 6, 25}, {1999, 12, 31}},
    {"体育の日", 10, 10, kSecondMonday, {2000, 1, 1}, kNoEnd},
    {"文化の日", 11, 3, kFixed, {1948, 7, 20}, kNoEnd},
    {"勤労感謝の日", 11, 23, kFixed, {1948, 7, 20}, kNoEnd},
    {"天皇誕生日", 12, 23, kFixed, {1989, 2, 17}, kNoEnd},
    {"神武天皇祭", 1, 29, kFixed, {1873, 1, 4}, {1873, 10, 13}},
    {"神武天皇祭", 4, 3, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"紀元節", 2, 11, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"天長節", 11, 3, kFixed, {1873, 1, 4}, {1912, 7, 29}},
    {"天長節", 8, 31, kFixed, {1912, 7, 30}, {1913, 10, 30}},
    {"天長節", 10, 31, kFixed, {1913, 10, 31}, {1927, 4, 28}},
    {"天長節", 4, 29, kFixed, {1927, 4, 29}, {1948, 7, 18}},
    {"天皇誕生", 4, 29, kFixed, {1948, 7, 19}, {1989, 2, 16}},
    {"元始祭", 1, 3, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"新年宴会", 1, 5, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"神嘗祭", 9, 17, kFixed, {1873, 10, 14}, {1879, 10, 16}},
    {"神嘗祭", 10, 17, kFixed, {1879, 10, 17}, {1948, 7, 19}},
    {"新嘗祭", 11, 23, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"春季皇霊祭", 3, 21, kVernal, {1878, 6, 1}, {1948, 7, 19}},
    {"秋期皇霊祭", 9, 23, kAutumnal, {1878, 6, 1}, {1948, 7, 19}},
    {"四方拝", 1, 1, kFixed, {1878, 6, 1}, {1948, 7, 19}},
    {"孝明天皇祭", 1, 30, kFixed, {1873, 10, 14}, {1912, 7, 29}},
    {"明治天皇祭", 7, 30, kFixed, {1912, 7, 30}, {1926, 12, 24}},
    {"大正天皇祭", 12, 25, kFixed, {1926, 12, 25}, {1948, 7, 19}},
    {"明治節", 11, 3, kFixed, {1927, 10, 1}, {1948, 7, 19}},
    {"結婚の儀", 6, 9, kFixed, {1993, 6, 9}, {1993, 6, 9}},
};
static_assert(std::size(kClassicRules) == 37);

// The law as it stands. Codes 3..39 are the classic rows (same holidays, same codes) with the
// bounds of the later amendments and the names the laws give; the later holidays follow.
constexpr THolidayRule kCurrentRules[] = {
    {"元日", 1, 1, kFixed, {1948, 7, 20}, kNoEnd},
    {"成人の日", 1, 15, kFixed, {1948, 7, 20}, {1999, 12, 31}},
    {"成人の日", 1, 15, kSecondMonday, {2000, 1, 1}, kNoEnd},
    {"建国記念の日", 2, 11, kFixed, {1966, 12, 9}, kNoEnd},
    {"春分の日", 3, 21, kVernal, {1948, 7, 20}, kNoEnd},
    {"みどりの日", 4, 29, kFixed, {1989, 2, 17}, {2006, 12, 31}},
    {"憲法記念日", 5, 3, kFixed, {1948, 7, 20}, kNoEnd},
    {"こどもの日", 5, 5, kFixed, {1948, 7, 20}, kNoEnd},
    {"海の日", 7, 20, kFixed, {1996, 1, 1}, {2002, 12, 31}},
    {"敬老の日", 9, 15, kFixed, {1966, 6, 25}, {2002, 12, 31}},
    {"秋分の日", 9, 23, kAutumnal, {1948, 7, 20}, kNoEnd},
    {"体育の日", 10, 10, kFixed, {1966, 6, 25}, {1999, 12, 31}},
    {"体育の日", 10, 10, kSecondMonday, {2000, 1, 1}, {2019, 12, 31}},
    {"文化の日", 11, 3, kFixed, {1948, 7, 20}, kNoEnd},
    {"勤労感謝の日", 11, 23, kFixed, {1948, 7, 20}, kNoEnd},
    {"天皇誕生日", 12, 23, kFixed, {1989, 2, 17}, {2019, 4, 29}},
    {"神武天皇即位日", 1, 29, kFixed, {1873, 1, 4}, {1873, 10, 13}},
    {"神武天皇祭", 4, 3, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"紀元節", 2, 11, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"天長節", 11, 3, kFixed, {1873, 1, 4}, {1912, 7, 29}},
    {"天長節", 8, 31, kFixed, {1912, 7, 30}, {1913, 10, 30}},
    {"天長節祝日", 10, 31, kFixed, {1913, 10, 31}, {1927, 4, 28}},
    {"天長節", 4, 29, kFixed, {1927, 4, 29}, {1948, 7, 19}},
    {"天皇誕生日", 4, 29, kFixed, {1948, 7, 20}, {1989, 2, 16}},
    {"元始祭", 1, 3, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"新年宴会", 1, 5, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"神嘗祭", 9, 17, kFixed, {1873, 10, 14}, {1879, 10, 16}},
    {"神嘗祭", 10, 17, kFixed, {1879, 10, 17}, {1948, 7, 19}},
    {"新嘗祭", 11, 23, kFixed, {1873, 10, 14}, {1948, 7, 19}},
    {"春季皇霊祭", 3, 21, kVernal, {1878, 6, 1}, {1948, 7, 19}},
    {"秋季皇霊祭", 9, 23, kAutumnal, {1878, 6, 1}, {1948, 7, 19}},
    {"四方拝", 1, 1, kFixed, {1878, 6, 1}, {1948, 7, 19}},
    {"孝明天皇祭", 1, 30, kFixed, {1873, 10, 14}, {1912, 7, 29}},
    {"明治天皇祭", 7, 30, kFixed, {1912, 7, 30}, {1926, 12, 24}},
    {"大正天皇祭", 12, 25, kFixed, {1926, 12, 25}, {1948, 7, 19}},
    {"明治節", 11, 3, kFixed, {1927, 10, 1}, {1948, 7, 19}},
    {"結婚の儀", 6, 9, kFixed, {1993, 6, 9}, {1993, 6, 9}},
    // 40..
    {"海の日", 7, 20, kThirdMonday, {2003, 1, 1}, kNoEnd},
    {"敬老の日", 9, 15, kThirdMonday, {2003, 1, 1}, kNoEnd},
    {"昭和の日", 4, 29, kFixed, {2007, 1, 1}, kNoEnd},
    {"みどりの日", 5, 4, kFixed, {2007, 1, 1}, kNoEnd},
    {"山の日", 8, 11, kFixed, {2016, 1, 1}, kNoEnd},
    {"天皇誕生日", 2, 23, kFixed, {2019, 4, 30}, kNoEnd},
    {"スポーツの日", 10, 10, kSecondMonday, {2020, 1, 1}, kNoEnd},
    // Days of rest given by a law of their own, once.
    {"結婚の儀", 4, 10, kFixed, {1959, 4, 10}, {1959, 4, 10}},
    {"大喪の礼", 2, 24, kFixed, {1989, 2, 24}, {1989, 2, 24}},
    {"即位礼正殿の儀", 11, 12, kFixed, {1990, 11, 12}, {1990, 11, 12}},
    {"天皇の即位の日", 5, 1, kFixed, {2019, 5, 1}, {2019, 5, 1}},
    {"即位礼正殿の儀", 10, 22, kFixed, {2019, 10, 22}, {2019, 10, 22}},
};

constexpr int32_t kCurrentMarineDay = 40;
constexpr int32_t kCurrentMountainDay = 44;
constexpr int32_t kCurrentSportsDay = 46;
static_assert(std::string_view(kCurrentRules[kCurrentMarineDay - kFirstHolidayRuleCode].name) ==
              "海の日");
static_assert(std::string_view(kCurrentRules[kCurrentMountainDay - kFirstHolidayRuleCode].name) ==
              "山の日");
static_assert(std::string_view(kCurrentRules[kCurrentSportsDay - kFirstHolidayRuleCode].name) ==
              "スポーツの日");

// The Olympic years: the law put three holidays next to the games.
constexpr TMovedHoliday kCurrentMoved[] = {
    {kCurrentMarineDay, {2020, 7, 23}},   {kCurrentSportsDay, {2020, 7, 24}},
    {kCurrentMountainDay, {2020, 8, 10}}, {kCurrentMarineDay, {2021, 7, 22}},
    {kCurrentSportsDay, {2021, 7, 23}},   {kCurrentMountainDay, {2021, 8, 8}},
};

constexpr THolidayRuleSet kClassicSet = {
    .rules = kClassicRules,
    .moved = {},
    .first_year = std::numeric_limits<int32_t>::min(),
    .last_year = std::numeric_limits<int32_t>::max(),
    .substitute_from = DayNumber(1973, 4, 12),
    .substitute_skips_from = DayNumber(kNeverDate),
    .citizens = TCitizensRule::kMayFourth,
    .citizens_from = DayNumber(1985, 12, 17),
};

// The substitute day skips the holidays that follow since the amendment of 2007; any day
// between two holidays is a citizens' holiday since the amendment of 1985/12/27.
constexpr THolidayRuleSet kCurrentSet = {
    .rules = kCurrentRules,
    .moved = kCurrentMoved,
    .first_year = 1873,
    .last_year = 2150,
    .substitute_from = DayNumber(1973, 4, 12),
    .substitute_skips_from = DayNumber(2007, 1, 1),
    .citizens = TCitizensRule::kBetweenHolidays,
    .citizens_from = DayNumber(1985, 12, 27),
};

const THolidayRuleSet& RuleSet(TCalendarKind kind) noexcept {
  return kind == TCalendarKind::kCurrent ? kCurrentSet : kClassicSet;
}

// trunc(0.242194 * (year - 1980) + base - trunc(offset_quotient)), the quotient cut toward
// zero (C++ integer division does exactly that).
int32_t EquinoxFormula(int32_t year, double base, int32_t leap_origin) {
  return static_cast<int32_t>(0.242194 * (year - 1980) + base - (year - leap_origin) / 4);
}

// The row's date in year, or the null date when its equinox day is not known.
TDateRec RuleDate(const THolidayRuleSet& set, int32_t code, int32_t year) noexcept {
  for (const TMovedHoliday& moved : set.moved) {
    if (moved.code == code && moved.date.Year == year) return moved.date;
  }
  const THolidayRule& rule = set.rules[code - kFirstHolidayRuleCode];
  int32_t day = rule.day;
  switch (rule.rule) {
    case TDayRule::kFixed:
      break;
    case TDayRule::kSecondMonday:
      day = FirstWeekdayOfMonth(year, rule.month, 1) + 7;
      break;
    case TDayRule::kThirdMonday:
      day = FirstWeekdayOfMonth(year, rule.month, 1) + 14;
      break;
    case TDayRule::kVernalEquinox:
      day = VernalEquinoxDay(year);
      break;
    case TDayRule::kAutumnalEquinox:
      day = AutumnalEquinoxDay(year);
      break;
  }
  return day == 0 ? kNullDate : TDateRec{year, rule.month, day};
}

// Calls visit(date) for every day of year, in order.
template <typename Visit>
void ForEachDay(int32_t year, Visit visit) {
  for (int32_t month = 1; month <= 12; ++month) {
    const int32_t length = DaysInMonth(year, month);
    for (int32_t day = 1; day <= length; ++day) visit(TDateRec{year, month, day});
  }
}

uint8_t& CellOf(TYearHolidays& cells, TDateRec date) noexcept {
  return cells[YearHolidayIndex(date.Month, date.Day)];
}

// A day of year that a row marked (not a 振替休日 or 国民の休日).
bool IsRuleHoliday(const TYearHolidays& cells, int32_t year, TDateRec date) noexcept {
  return date.Year == year &&
         cells[YearHolidayIndex(date.Month, date.Day)] >= kFirstHolidayRuleCode;
}

// The rows in table order. False when a row's equinox day is not known: the rows from there
// on stay unmarked.
bool MarkRuleDays(const THolidayRuleSet& set, int32_t year, TYearHolidays& cells) noexcept {
  const auto count = static_cast<int32_t>(set.rules.size());
  for (int32_t code = kFirstHolidayRuleCode; code < kFirstHolidayRuleCode + count; ++code) {
    const TDateRec date = RuleDate(set, code, year);
    if (date == kNullDate) return false;
    const THolidayRule& rule = set.rules[code - kFirstHolidayRuleCode];
    const int32_t n = DayNumber(date);
    if (n >= rule.first && n <= rule.last) CellOf(cells, date) = static_cast<uint8_t>(code);
  }
  return true;
}

void MarkSubstituteDays(const THolidayRuleSet& set, int32_t year, TYearHolidays& cells) noexcept {
  ForEachDay(year, [&](TDateRec date) {
    if (!IsRuleHoliday(cells, year, date) || WeekdayOf(date) != 0) return;
    const int32_t n = DayNumber(date);
    if (n < set.substitute_from) return;
    TDateRec next = AddDays(date, 1);
    if (n >= set.substitute_skips_from) {
      while (IsRuleHoliday(cells, year, next)) next = AddDays(next, 1);
    }
    if (next.Year == year) CellOf(cells, next) = kHolidaySubstitute;
  });
}

void MarkCitizensDays(const THolidayRuleSet& set, int32_t year, TYearHolidays& cells) noexcept {
  const auto mark = [&](TDateRec date) {
    uint8_t& cell = CellOf(cells, date);
    if (cell == kHolidayNone && WeekdayOf(date) != 0 && DayNumber(date) >= set.citizens_from) {
      cell = kHolidayCitizens;
    }
  };
  if (set.citizens == TCitizensRule::kMayFourth) {
    mark(TDateRec{year, 5, 4});
    return;
  }
  bool after_holiday = false;
  ForEachDay(year, [&](TDateRec date) {
    const bool between = after_holiday && IsRuleHoliday(cells, year, AddDays(date, 1));
    after_holiday = IsRuleHoliday(cells, year, date);
    if (between) mark(date);
  });
}

}  // namespace

int32_t VernalEquinoxDay(int32_t year) noexcept {
  if (year >= 1851 && year <= 1899) return EquinoxFormula(year, 19.8277, 1983);
  if (year >= 1900 && year <= 1979) return EquinoxFormula(year, 20.8357, 1983);
  if (year >= 1980 && year <= 2099) return EquinoxFormula(year, 20.8431, 1980);
  if (year >= 2100 && year <= 2150) return EquinoxFormula(year, 21.851, 1980);
  return 0;
}

int32_t AutumnalEquinoxDay(int32_t year) noexcept {
  if (year >= 1851 && year <= 1899) return EquinoxFormula(year, 22.2588, 1983);
  if (year >= 1900 && year <= 1979) return EquinoxFormula(year, 23.2588, 1983);
  if (year >= 1980 && year <= 2099) return EquinoxFormula(year, 23.2488, 1980);
  if (year >= 2100 && year <= 2150) return EquinoxFormula(year, 24.2488, 1980);
  return 0;
}

bool FillYearHolidays(TCalendarKind kind, int32_t year, TYearHolidays& cells) noexcept {
  cells.fill(kHolidayNone);
  const THolidayRuleSet& set = RuleSet(kind);
  if (year < set.first_year || year > set.last_year) return true;
  const bool complete = MarkRuleDays(set, year, cells);
  MarkSubstituteDays(set, year, cells);
  MarkCitizensDays(set, year, cells);
  return complete;
}

int32_t HolidayCodeCount(TCalendarKind kind) noexcept {
  return kFirstHolidayRuleCode + static_cast<int32_t>(RuleSet(kind).rules.size());
}

const char* HolidayCodeName(int32_t code, TCalendarKind kind) noexcept {
  if (code == kHolidaySubstitute) return "振替休日";
  if (code == kHolidayCitizens) return "国民の休日";
  if (code >= kFirstHolidayRuleCode && code < HolidayCodeCount(kind)) {
    return RuleSet(kind).rules[code - kFirstHolidayRuleCode].name;
  }
  return "";
}

}  // namespace pelo
