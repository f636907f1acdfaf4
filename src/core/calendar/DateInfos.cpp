#include "calendar/DateInfos.h"

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

constexpr int32_t kNoEnd = 200000;  // 2406/6/17

// Rows for codes 3..39, processed in this order; a later row overwrites an earlier one.
constexpr HolidayRule kRules[] = {
    {"元日", 1, 1, DayRule::kFixed, 32752, kNoEnd},
    {"成人の日", 1, 15, DayRule::kFixed, 32752, 51543},
    {"成人の日", 1, 15, DayRule::kSecondMonday, 51544, kNoEnd},
    {"建国記念の日", 2, 11, DayRule::kFixed, 39468, kNoEnd},
    {"春分の日", 3, 21, DayRule::kVernalEquinox, 32752, kNoEnd},
    {"みどりの日", 4, 29, DayRule::kFixed, 47578, kNoEnd},
    {"憲法記念日", 5, 3, DayRule::kFixed, 32752, kNoEnd},
    {"こどもの日", 5, 5, DayRule::kFixed, 32752, kNoEnd},
    {"海の日", 7, 20, DayRule::kFixed, 50284, kNoEnd},
    {"敬老の日", 9, 15, DayRule::kFixed, 39301, kNoEnd},
    {"秋分の日", 9, 23, DayRule::kAutumnalEquinox, 32752, kNoEnd},
    {"体育の日", 10, 10, DayRule::kFixed, 39301, 51543},
    {"体育の日", 10, 10, DayRule::kSecondMonday, 51544, kNoEnd},
    {"文化の日", 11, 3, DayRule::kFixed, 32752, kNoEnd},
    {"勤労感謝の日", 11, 23, DayRule::kFixed, 32752, kNoEnd},
    {"天皇誕生日", 12, 23, DayRule::kFixed, 47574, kNoEnd},
    {"神武天皇祭", 1, 29, DayRule::kFixed, 5162, 5444},
    {"神武天皇祭", 4, 3, DayRule::kFixed, 5445, 32751},
    {"紀元節", 2, 11, DayRule::kFixed, 5445, 32751},
    {"天長節", 11, 3, DayRule::kFixed, 5162, 19612},
    {"天長節", 8, 31, DayRule::kFixed, 19613, 20070},
    {"天長節", 10, 31, DayRule::kFixed, 20071, 24998},
    {"天長節", 4, 29, DayRule::kFixed, 24999, 32750},
    {"天皇誕生", 4, 29, DayRule::kFixed, 32751, 47573},
    {"元始祭", 1, 3, DayRule::kFixed, 5445, 32751},
    {"新年宴会", 1, 5, DayRule::kFixed, 5445, 32751},
    {"神嘗祭", 9, 17, DayRule::kFixed, 5445, 7638},
    {"神嘗祭", 10, 17, DayRule::kFixed, 7639, 32751},
    {"新嘗祭", 11, 23, DayRule::kFixed, 5445, 32751},
    {"春季皇霊祭", 3, 21, DayRule::kVernalEquinox, 7136, 32751},
    {"秋期皇霊祭", 9, 23, DayRule::kAutumnalEquinox, 7136, 32751},
    {"四方拝", 1, 1, DayRule::kFixed, 7136, 32751},
    {"孝明天皇祭", 1, 30, DayRule::kFixed, 5445, 19612},
    {"明治天皇祭", 7, 30, DayRule::kFixed, 19613, 24873},
    {"大正天皇祭", 12, 25, DayRule::kFixed, 24874, 32751},
    {"明治節", 11, 3, DayRule::kFixed, 25154, 32751},
    {"結婚の儀", 6, 9, DayRule::kFixed, 49147, 49147},
};
constexpr int32_t kFirstRuleCode = 3;
static_assert(std::size(kRules) + kFirstRuleCode == kHolidayCodeCount);

constexpr int32_t kFirstSubstituteDay = 41784;  // 1973/4/12
constexpr int32_t kFirstCitizensDay = 46416;    // 1985/12/17

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

TDateInfo::TDateInfo() {
  RefreshToday();
  FillYears(today_.Year - 1);
}

void TDateInfo::RefreshToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  today_ = TDateRec{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int32_t TDateInfo::CellIndex(TDateRec date) const noexcept {
  if (!InWindow(date.Year) || date.Month < 1 || date.Month > 12 || date.Day < 1 || date.Day > 31) {
    return -1;
  }
  return ((date.Year - first_year_) * 12 + (date.Month - 1)) * 31 + (date.Day - 1);
}

void TDateInfo::FillYears(int32_t first_year) {
  cells_.fill(Cell{});
  first_year_ = first_year;
  bool stop = false;
  for (int32_t i = 0; i < kYearCount && !stop; ++i) FillYear(first_year + i, stop);
}

void TDateInfo::FillYear(int32_t year, bool& stop) {
  for (int32_t r = 0; r < static_cast<int32_t>(std::size(kRules)); ++r) {
    const HolidayRule& rule = kRules[r];
    int32_t day = rule.day;
    switch (rule.rule) {
      case DayRule::kFixed:
        break;
      case DayRule::kSecondMonday:
        day = ResolveDatePattern(kNullDate, TDateRec{year, rule.month, 55}, kNullDate).Day;
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

int32_t TDateInfo::HolidayCode(TDateRec date) const noexcept {
  if (!InWindow(date.Year)) return -1;
  const int32_t index = CellIndex(date);
  return index < 0 ? 0 : cells_[index].holiday;
}

bool TDateInfo::IsPrivateHoliday(TDateRec date) const noexcept {
  const int32_t index = CellIndex(date);
  return index >= 0 && cells_[index].private_mark != 0;
}

void TDateInfo::MarkPrivateHoliday(TDateRec date) noexcept {
  const int32_t index = CellIndex(date);
  if (index >= 0) cells_[index].private_mark = 1;
}

std::string TDateInfo::HolidayName(TDateRec date) const {
  if (!InWindow(date.Year)) return "Error Holiday " + std::to_string(date.Year);
  return HolidayCodeName(HolidayCode(date));
}

TDateInfo& DateInfo() {
  static TDateInfo info;
  return info;
}

}  // namespace pelo
