#include "calendar/Calendars.h"

#include <ctime>

namespace pelo {

TLocalTime TSystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  // localtime_r need not look at the zone again; a running viewer must see it change.
  tzset();
  std::tm local{};
  localtime_r(&now, &local);
  return TLocalTime{TDateRec{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                    local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

TDateRec SystemToday() { return TSystemClock().Today(); }

TCalendar::TCalendar(TDateRec today, TCalendarKind kind) : today_(today), kind_(kind) {
  FillYears(today.Year - 1);
}

void TCalendar::SetKind(TCalendarKind kind) {
  kind_ = kind;
  FillYears(first_year_);
}

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
  TYearHolidays codes;
  for (int32_t i = 0; i < kYearCount; ++i) {
    const bool complete = FillYearHolidays(kind_, first_year + i, codes);
    const auto offset = static_cast<std::size_t>(i) * codes.size();
    for (std::size_t k = 0; k < codes.size(); ++k) cells_[offset + k].holiday = codes[k];
    // Where the rules could not finish a year, the years after it stay empty.
    if (!complete) break;
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
  return HolidayCodeName(HolidayCode(date), kind_);
}

}  // namespace pelo
