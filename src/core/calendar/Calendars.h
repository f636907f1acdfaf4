#pragma once

// The calendar the program works with: its kind (the classic tables or the calendar of today),
// today's date, the national holidays of an eleven-year window and the private-holiday marks
// that day-marked entries set. It is a plain value: whoever resolves patterns, finds an
// entry's days or paints a day is handed one. Today is given when it is made and moved on by
// whoever follows a clock; TSystemClock is the one place that reads the system's.

#include <array>
#include <cstdint>
#include <string>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "calendar/HolidayRules.h"

namespace pelo {

// A moment of the local wall clock: its date and the seconds since that date's midnight.
struct TLocalTime {
  TDateRec Date;
  int32_t Second = 0;  // [0, 86400]: a leap second may make 86400
  friend bool operator==(const TLocalTime&, const TLocalTime&) = default;
};

// Where today comes from: the system's clock in the programs, a clock the tests move by hand.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual TLocalTime Now() const = 0;
  TDateRec Today() const { return Now().Date; }
};

// The local time of the system clock, in the time zone in effect at each question (a change of
// the zone or of the clock shows at the next one).
class TSystemClock final : public TClock {
 public:
  TLocalTime Now() const override;
};

// The system clock's local date: what pelo-agenda and an export take as today, read once
// (pelo-agenda --today overrides it).
TDateRec SystemToday();

class TCalendar {
 public:
  static constexpr int32_t kYearCount = 11;

  // Today as given, the holidays of kind for the eleven years from the year before it.
  explicit TCalendar(TDateRec today, TCalendarKind kind = TCalendarKind::kClassic);

  // Which holiday rules, old-calendar table and eras the calendar follows. Changing the kind
  // fills the window's holidays again and drops every private mark, as a move of the window
  // does: whoever built the marks builds them again.
  TCalendarKind Kind() const noexcept { return kind_; }
  void SetKind(TCalendarKind kind);

  TDateRec Today() const noexcept { return today_; }
  // The clock moved on to another day; the holidays and the marks stay as they are.
  void SetToday(TDateRec today) noexcept { today_ = today; }
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

  std::array<Cell, kYearCount * 12 * 31> cells_{};
  int32_t first_year_ = 0;
  TDateRec today_;
  TCalendarKind kind_;
};

}  // namespace pelo
