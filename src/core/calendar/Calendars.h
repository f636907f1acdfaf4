#pragma once

// The calendar the program works with: today's date, the national holidays of an eleven-year
// window and the private-holiday marks that day-marked entries set. It is a plain value:
// whoever resolves patterns, finds an entry's days or paints a day is handed one. Today is
// given when it is made; SystemToday is the one place that reads the clock.

#include <array>
#include <cstdint>
#include <string>

#include "calendar/Dates.h"

namespace pelo {

// Holiday codes besides the rows of the rule table (3..39).
inline constexpr int32_t kHolidaySubstitute = 1;  // 振替休日
inline constexpr int32_t kHolidayCitizens = 2;    // 国民の休日
inline constexpr int32_t kHolidayCodeCount = 40;

// Equinox day of March / September of a year, or 0 outside 1851..2150.
int32_t VernalEquinoxDay(int32_t year) noexcept;
int32_t AutumnalEquinoxDay(int32_t year) noexcept;

// Name of a holiday code (empty for 0 and unknown codes).
const char* HolidayCodeName(int32_t code) noexcept;

// The system clock's local date: what the viewer and pelo-agenda take as today when they
// start (pelo-agenda --today overrides it).
TDateRec SystemToday();

class TCalendar {
 public:
  static constexpr int32_t kYearCount = 11;

  // Today as given, the holidays of the eleven years from the year before it.
  explicit TCalendar(TDateRec today);

  TDateRec Today() const noexcept { return today_; }
  bool IsToday(TDateRec date) const noexcept { return date == today_; }

  // The window's first year. Moving the window fills the holidays of first_year ..
  // first_year + 10 and drops every private mark; setting the year it already has changes
  // nothing (the marks stay). The day table's builds set it to their own first year.
  int32_t FirstYear() const noexcept { return first_year_; }
  void SetFirstYear(int32_t first_year);

  // -1 when the year lies outside the window; 0 for a month or day outside 1..12 / 1..31.
  int32_t HolidayCode(TDateRec date) const noexcept;
  bool IsHoliday(TDateRec date) const noexcept { return HolidayCode(date) > 0; }
  bool IsPrivateHoliday(TDateRec date) const noexcept;
  // Ignored outside the window.
  void MarkPrivateHoliday(TDateRec date) noexcept;
  // "Error Holiday " + year outside the window, else the name of the day's code.
  std::string HolidayName(TDateRec date) const;

 private:
  struct Cell {
    uint8_t holiday = 0;
    uint8_t private_mark = 0;
  };

  bool InWindow(int32_t year) const noexcept {
    return year >= first_year_ && year < first_year_ + kYearCount;
  }
  // Index of a cell, or -1 when the date has no cell.
  int32_t CellIndex(TDateRec date) const noexcept;
  void FillYears(int32_t first_year);
  void FillYear(int32_t year, bool& stop);

  std::array<Cell, kYearCount * 12 * 31> cells_{};
  int32_t first_year_ = 0;
  TDateRec today_;
};

}  // namespace pelo
