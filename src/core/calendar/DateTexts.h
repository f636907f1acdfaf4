#pragma once

// The name tables of the calendar (weekdays, months, eras, the twelve animals, the western
// zodiac signs) and the texts built from them: one field of a date or of a date code, and a
// whole date with its weekday.

#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"

namespace pelo {

// ---- Weekdays and months -------------------------------------------------------------

// "日" .. "土"; empty outside 0..6.
std::string_view WeekdayKanji(int32_t weekday) noexcept;

// Styles: 0 日, 1 日曜, 2 日曜日, 3 Sunday, 4 Sun., 5 Sun, 6 Su, 7 S. Empty for any other style
// or weekday.
std::string WeekdayText(int32_t style, int32_t weekday);

// "睦月" .. "師走", "むつき" .. "しわす", "January" .. "December"; empty outside 1..12.
std::string_view OldMonthName(int32_t month) noexcept;
std::string_view MonthReading(int32_t month) noexcept;
std::string_view EnglishMonthName(int32_t month) noexcept;

// ---- Eras ------------------------------------------------------------------------------

inline constexpr int32_t kEraCount = 42;  // the classic calendar's eras, 天正 .. 平成
inline constexpr int32_t kEraMeiji = 38;
inline constexpr int32_t kEraTaisho = 39;
inline constexpr int32_t kEraShowa = 40;
inline constexpr int32_t kEraHeisei = 41;
inline constexpr int32_t kEraReiwa = 42;  // the current calendar's one more

// Number of eras a calendar knows, indexes 0 .. EraCount - 1.
constexpr int32_t EraCount(TCalendarKind kind) noexcept {
  return kind == TCalendarKind::kCurrent ? kEraReiwa + 1 : kEraCount;
}

// From 1873 on era years are counted; before, an era only names the western year.
inline constexpr int32_t kFirstCountedEraDay = 5159;  // 1873/1/1

// Name ("天正" .. "平成", "令和") and letter ('G' for the eras before 明治, then M, T, S, H,
// R) of an era; empty and '\0' for an index the calendar does not have.
std::string_view EraName(int32_t era, TCalendarKind kind) noexcept;
char EraLetter(int32_t era, TCalendarKind kind) noexcept;

struct TEraYear {
  int32_t Era = -1;  // index into the era table, -1 for none
  int32_t Year = 0;  // the counted era year from 1873 on, else the western year

  friend bool operator==(const TEraYear&, const TEraYear&) = default;
};

// The era of a date as written. No era before 1582/11/1, nor for a day that does not exist
// or a field that holds a pattern code: what a pattern means depends on the calendar it is
// resolved with (ResolveDatePattern), its era on the day it resolves to. The classic calendar
// counts 平成 on to 2150; the current one has 令和 from 2019/5/1.
TEraYear EraOf(TDateRec date, TCalendarKind kind);

// ---- Zodiac ------------------------------------------------------------------------------

// The animal of a year with its reading in half-width katakana ("辰ﾀﾂ"); empty up to 1872.
std::string ZodiacAnimal(int32_t year);

// The western sign of a day ("山羊座"); empty for a month outside 1..12.
std::string ZodiacSign(int32_t month, int32_t day);

// ---- Field texts -------------------------------------------------------------------------
//
// One field of a date or of a date code. side is 0 for the start of a period, 1 for its
// end: it chooses "毎" or "同" for the code 0 (every / same as the start). Symbolic codes
// give their words whatever the style; a plain value is written in the given style. A
// side, style or code with no text leaves the field's marker: "@", "@m", "@d", "@w".

// Year styles: 0 2000, 1 00, 2 '00, 3 ２０００, 4 ０ (year mod 100), 5 ’０, 6 and 7 H12, 8 平成12,
// 9 平成12年, 10 平成１２, 11 平成１２年; the era styles write the western year before 1873 (9 and
// 11 with "年"). The whole date is needed because the era changes in the middle of a year; the
// calendar's kind says which eras there are.
std::string YearText(int32_t side, int32_t style, TDateRec date, TCalendarKind kind);

// Month styles: 0 1, 1 01, 2 1月, 3 " 1月", 4 睦月, 5 むつき, 6 睦月（むつき）, 7 January,
// 8 Jan., 9 Jan.
std::string MonthText(int32_t side, int32_t style, int32_t month);

// Day styles: 0 1, 1 01, 2 " 1". Also the day codes: 祝, 私休, 春分の, 秋分の, 末 and the
// weekday codes (今週月曜, 毎週月曜, 第２月曜, 最終月曜).
std::string DayText(int32_t side, int32_t style, int32_t day);

// Year, month and day texts joined by separator (by "年", "月" and a final "日" when the
// separator is empty), then the weekday: style 0 as "(水)", 1..7 as a space and
// WeekdayText(style), anything else nothing. 2024/5/1(水), 2024年5月1日(水). The kind reaches
// the era styles of the year.
std::string DateText(int32_t side, std::string_view separator, int32_t year_style,
                     int32_t month_style, int32_t day_style, int32_t weekday_style, TDateRec date,
                     TCalendarKind kind);

}  // namespace pelo
