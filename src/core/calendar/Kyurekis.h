#pragma once

// The old lunisolar calendar (旧暦) and the six-day rokuyo cycle. Both are looked up in
// constant tables of month starts, one per calendar kind (KyurekiTables.inc and
// KyurekiTables2150.inc, generated from data/lunar-months*.tsv); nothing is computed
// astronomically. Lookups allocate nothing; only the texts are strings.

#include <array>
#include <cstdint>
#include <string>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"

namespace pelo {

// The days that have an old-calendar date: 1870/11/23 (the first leap month of the tables)
// to 2021/1/13 in the classic calendar, to 2150/12/31 in the current one, both inclusive.
inline constexpr int32_t kFirstLunarDay = 4389;
inline constexpr int32_t kLastLunarDay = 59227;

constexpr int32_t LastLunarDay(TCalendarKind kind) noexcept {
  return kind == TCalendarKind::kCurrent ? kLastCalendarDay : kLastLunarDay;
}

inline constexpr std::array<const char*, 6> kRokuyoNames = {"先勝", "友引", "先負",
                                                            "仏滅", "大安", "赤口"};

// A lunar month: its first day (day number), its number 1..12 and whether it is the leap
// month that repeats that number. Month 0 when the tables do not hold the day.
struct TLunarMonth {
  int32_t FirstDay = 0;
  int32_t Month = 0;
  bool Leap = false;

  friend constexpr bool operator==(const TLunarMonth&, const TLunarMonth&) = default;
};

// An old-calendar date. Day 0 when the day lies outside kFirstLunarDay..LastLunarDay(kind);
// the other fields are then meaningless.
struct TLunarDate {
  bool Leap = false;
  int32_t Month = 0;
  int32_t Day = 0;

  friend constexpr bool operator==(const TLunarDate&, const TLunarDate&) = default;
};

// The lunar month that holds day n. The tables know the months from month 1 of 1870
// (1870/2/1) on, a little more than the supported range; before that and after
// LastLunarDay(kind) (for the classic table: where the last month's length is unknown), the
// answer is month 0.
TLunarMonth FindLunarMonth(int32_t n, TCalendarKind kind) noexcept;

TLunarDate LunarDate(int32_t n, TCalendarKind kind) noexcept;

// 0..5 (an index of kRokuyoNames), -1 outside the supported range.
int32_t RokuyoIndex(TDateRec date, TCalendarKind kind) noexcept;

// The rokuyo name, empty outside the supported range.
std::string RokuyoName(TDateRec date, TCalendarKind kind);

// "旧11/23" for a regular month, "閏5/1" for a leap month; empty outside the supported range.
std::string LunarDateText(TDateRec date, TCalendarKind kind);

}  // namespace pelo
