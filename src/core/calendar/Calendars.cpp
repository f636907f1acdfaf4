#include "calendar/Calendars.h"

#include <ctime>

namespace pelo {

namespace {

// How a rule row finds its day.
enum class DayRule : uint8_t { kFixed, kSecondMonday, kVernalEquinox, kAutumnalEquinox };

struct HolidayRule {
  const char* name;
  int32_t month;
  int32_t day;  // unused when the day comes from a rule
  DayRule rule;
  int32_t first;  // day numbers of the validity interval, both inclusive
  int32_t last;
};

// Rules still in force: valid far beyond the calendar.
constexpr int32_t kNoEnd = DayNumber(2406, 6, 17);

// Rows for codes 3..39, processed in this order; a later row overwrites an earlier one.
constexpr HolidayRule kRules[] = {
    {"元日", 1, 1, DayRule::kFixed, DayNumber(1948, 7, 20), kNoEnd},
    {"成人の日", 1, 15, DayRule::kFixed, DayNumber(1948, 7, 20), DayNumber(1999, 12, 31)},
    {"成人の日", 1, 15, DayRule::kSecondMonday, DayNumber(2000, 1, 1), kNoEnd},
    {"建国記念の日", 2, 11, DayRule::kFixed, DayNumber(1966, 12, 9), kNoEnd},
    {"春分の日", 3, 21, DayRule::kVernalEquinox, DayNumber(1948, 7, 20), kNoEnd},
    {"みどりの日", 4, 29, DayRule::kFixed, DayNumber(1989, 2, 21), kNoEnd},
    {"憲法記念日", 5, 3, DayRule::kFixed, DayNumber(1948, 7, 20), kNoEnd},
    {"こどもの日", 5, 5, DayRule::kFixed, DayNumber(1948, 7, 20), kNoEnd},
    {"海の日", 7, 20, DayRule::kFixed, DayNumber(1996, 7, 20), kNoEnd},
    {"敬老の日", 9, 15, DayRule::kFixed, DayNumber(1966, 6, 25), kNoEnd},
    {"秋分の日", 9, 23, DayRule::kAutumnalEquinox, DayNumber(1948, 7, 20), kNoEnd},
    {"体育の日", 10, 10, DayRule::kFixed, DayNumber(1966, 6, 25), DayNumber(1999, 12, 31)},
    {"体育の日", 10, 10, DayRule::kSecondMonday, DayNumber(2000, 1, 1), kNoEnd},
    {"文化の日", 11, 3, DayRule::kFixed, DayNumber(1948, 7, 20), kNoEnd},
    {"勤労感謝の日", 11, 23, DayRule::kFixed, DayNumber(1948, 7, 20), kNoEnd},
    {"天皇誕生日", 12, 23, DayRule::kFixed, DayNumber(1989, 2, 17), kNoEnd},
    {"神武天皇祭", 1, 29, DayRule::kFixed, DayNumber(1873, 1, 4), DayNumber(1873, 10, 13)},
    {"神武天皇祭", 4, 3, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1948, 7, 19)},
    {"紀元節", 2, 11, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1948, 7, 19)},
    {"天長節", 11, 3, DayRule::kFixed, DayNumber(1873, 1, 4), DayNumber(1912, 7, 29)},
    {"天長節", 8, 31, DayRule::kFixed, DayNumber(1912, 7, 30), DayNumber(1913, 10, 30)},
    {"天長節", 10, 31, DayRule::kFixed, DayNumber(1913, 10, 31), DayNumber(1927, 4, 28)},
    {"天長節", 4, 29, DayRule::kFixed, DayNumber(1927, 4, 29), DayNumber(1948, 7, 18)},
    {"天皇誕生", 4, 29, DayRule::kFixed, DayNumber(1948, 7, 19), DayNumber(1989, 2, 16)},
    {"元始祭", 1, 3, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1948, 7, 19)},
    {"新年宴会", 1, 5, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1948, 7, 19)},
    {"神嘗祭", 9, 17, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1879, 10, 16)},
    {"神嘗祭", 10, 17, DayRule::kFixed, DayNumber(1879, 10, 17), DayNumber(1948, 7, 19)},
    {"新嘗祭", 11, 23, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1948, 7, 19)},
    {"春季皇霊祭", 3, 21, DayRule::kVernalEquinox, DayNumber(1878, 6, 1), DayNumber(1948, 7, 19)},
    {"秋期皇霊祭", 9, 23, DayRule::kAutumnalEquinox, DayNumber(1878, 6, 1), DayNumber(1948, 7, 19)},
    {"四方拝", 1, 1, DayRule::kFixed, DayNumber(1878, 6, 1), DayNumber(1948, 7, 19)},
    {"孝明天皇祭", 1, 30, DayRule::kFixed, DayNumber(1873, 10, 14), DayNumber(1912, 7, 29)},
    {"明治天皇祭", 7, 30, DayRule::kFixed, DayNumber(1912, 7, 30), DayNumber(1926, 12, 24)},
    {"大正天皇祭", 12, 25, DayRule::kFixed, DayNumber(1926, 12, 25), DayNumber(1948, 7, 19)},
    {"明治節", 11, 3, DayRule::kFixed, DayNumber(1927, 10, 1), DayNumber(1948, 7, 19)},
    {"結婚の儀", 6, 9, DayRule::kFixed, DayNumber(1993, 6, 9), DayNumber(1993, 6, 9)},
};
constexpr int32_t kFirstRuleCode = 3;
static_assert(std::size(kRules) + kFirstRuleCode == kHolidayCodeCount);

constexpr int32_t kFirstSubstituteDay = DayNumber(1973, 4, 12);
constexpr int32_t kFirstCitizensDay = DayNumber(1985, 12, 17);

// trunc(0.242194 * (year - 1980) + base - trunc(offset_quotient)), the quotient cut toward
// zero (C++ integer division does exactly that).
int32_t EquinoxFormula(int32_t year, double base, int32_t leap_origin) {
  return static_cast<int32_t>(0.242194 * (year - 1980) + base - (year - leap_origin) / 4);
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

const char* HolidayCodeName(int32_t code) noexcept {
  if (code == kHolidaySubstitute) return "振替休日";
  if (code == kHolidayCitizens) return "国民の休日";
  if (code >= kFirstRuleCode && code < kHolidayCodeCount) return kRules[code - kFirstRuleCode].name;
  return "";
}

TDateRec SystemToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TDateRec{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TCalendar::TCalendar(TDateRec today) : today_(today) { FillYears(today.Year - 1); }

int32_t TCalendar::CellIndex(TDateRec date) const noexcept {
  if (!InWindow(date.Year) || date.Month < 1 || date.Month > 12 || date.Day < 1 || date.Day > 31) {
    return -1;
  }
  return ((date.Year - first_year_) * 12 + (date.Month - 1)) * 31 + (date.Day - 1);
}

void TCalendar::SetFirstYear(int32_t first_year) {
  if (first_year != first_year_) FillYears(first_year);
}

void TCalendar::FillYears(int32_t first_year) {
  cells_.fill(Cell{});
  first_year_ = first_year;
  bool stop = false;
  for (int32_t i = 0; i < kYearCount && !stop; ++i) FillYear(first_year + i, stop);
}

void TCalendar::FillYear(int32_t year, bool& stop) {
  for (int32_t r = 0; r < static_cast<int32_t>(std::size(kRules)); ++r) {
    const HolidayRule& rule = kRules[r];
    int32_t day = rule.day;
    switch (rule.rule) {
      case DayRule::kFixed:
        break;
      case DayRule::kSecondMonday:
        day = FirstWeekdayOfMonth(year, rule.month, 1) + 7;
        break;
      case DayRule::kVernalEquinox:
      case DayRule::kAutumnalEquinox:
        // Beyond the years of the formulas the fill ends here, for this year and the rest.
        if (year < 1851 || year > 2150) {
          stop = true;
          return;
        }
        day = rule.rule == DayRule::kVernalEquinox ? VernalEquinoxDay(year)
                                                   : AutumnalEquinoxDay(year);
        break;
    }
    const TDateRec date{year, rule.month, day};
    const int32_t n = DayNumber(date);
    if (n >= rule.first && n <= rule.last) {
      cells_[CellIndex(date)].holiday = static_cast<uint8_t>(r + kFirstRuleCode);
      if (WeekdayOf(date) == 0 && n >= kFirstSubstituteDay) {
        const TDateRec next = AddDays(date, 1);
        if (InWindow(next.Year)) cells_[CellIndex(next)].holiday = kHolidaySubstitute;
      }
    }
    // The citizens' holiday check follows every row; only its run after 元日 can act.
    const TDateRec may4{year, 5, 4};
    Cell& cell = cells_[CellIndex(may4)];
    if (DayNumber(may4) >= kFirstCitizensDay && WeekdayOf(may4) != 0 && cell.holiday == 0) {
      cell.holiday = kHolidayCitizens;
    }
  }
}

int32_t TCalendar::HolidayCode(TDateRec date) const noexcept {
  if (!InWindow(date.Year)) return -1;
  const int32_t index = CellIndex(date);
  return index < 0 ? 0 : cells_[index].holiday;
}

bool TCalendar::IsPrivateHoliday(TDateRec date) const noexcept {
  const int32_t index = CellIndex(date);
  return index >= 0 && cells_[index].private_mark != 0;
}

void TCalendar::MarkPrivateHoliday(TDateRec date) noexcept {
  const int32_t index = CellIndex(date);
  if (index >= 0) cells_[index].private_mark = 1;
}

std::string TCalendar::HolidayName(TDateRec date) const {
  if (!InWindow(date.Year)) return "Error Holiday " + std::to_string(date.Year);
  return HolidayCodeName(HolidayCode(date));
}

}  // namespace pelo
