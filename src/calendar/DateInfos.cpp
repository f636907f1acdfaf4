#include "calendar/DateInfos.h"

#include <ctime>

namespace pelo {

TDateInfo::TDateInfo(TCalendarKind kind) : kind_(kind) {
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
  TYearHolidays codes;
  for (int32_t i = 0; i < kYearCount; ++i) {
    const bool complete = FillYearHolidays(kind_, first_year + i, codes);
    const size_t offset = static_cast<size_t>(i) * codes.size();
    for (size_t k = 0; k < codes.size(); ++k) cells_[offset + k].holiday = codes[k];
    // Where the rules could not finish a year, the years after it stay empty.
    if (!complete) break;
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
  return HolidayCodeName(HolidayCode(date), kind_);
}

TDateInfo& DateInfo() {
  static TDateInfo info;
  return info;
}

}  // namespace pelo
