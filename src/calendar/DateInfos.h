#pragma once

// The day-information object: today's date, the national holidays of an eleven-year window
// and the private-holiday marks that day-marked entries set. There is one instance for the
// whole program (DateInfo()); it is the only place that reads the system clock.

#include <array>
#include <cstdint>
#include <string>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "calendar/HolidayRules.h"

namespace pelo {

class TDateInfo {
 public:
  static constexpr int32_t kYearCount = 11;

  // Reads today from the system clock and fills the window from the year before it, with the
  // holiday rules of kind.
  explicit TDateInfo(TCalendarKind kind = TCalendarKind::kClassic);

  // today := the system clock's local date.
  void RefreshToday();
  // Sets today explicitly (tests, pelo-agenda --today). The window is not refilled.
  void SetToday(TDateRec today) noexcept { today_ = today; }

  // Clears the table (private marks included) and fills the holidays of first..first+10.
  void FillYears(int32_t first_year);

  TCalendarKind Kind() const noexcept { return kind_; }
  int32_t FirstYear() const noexcept { return first_year_; }
  TDateRec Today() const noexcept { return today_; }
  int32_t TodayYear() const noexcept { return today_.Year; }
  int32_t TodayMonth() const noexcept { return today_.Month; }
  int32_t TodayDay() const noexcept { return today_.Day; }
  bool IsToday(TDateRec date) const noexcept { return date == today_; }

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

  std::array<Cell, kYearCount * 12 * 31> cells_{};
  int32_t first_year_ = 0;
  TDateRec today_;
  TCalendarKind kind_ = TCalendarKind::kClassic;
};

// The one program-wide instance, made on first use.
TDateInfo& DateInfo();

}  // namespace pelo
