#pragma once

// The record of every schedule setting a page carries and the schedule applies: layout,
// what a cell shows, frames, the line lists' options, five fonts and 43 colours. A
// default-made record is the schedule of the built-in default page (on a screen of normal
// height); a new schedule starts from InitialScheduleSettings.

#include <array>
#include <cstdint>
#include <string>

#include "text/SmallSets.h"

namespace pelo {

// Roles of the five fonts.
enum TScheduleFont : int32_t {
  kFontTitle = 0,
  kFontDayNumber = 1,
  kFontDayInfo = 2,
  kFontHolidayName = 3,
  kFontEntryText = 4,  // its colour is kColorEntryText
  kScheduleFontCount = 5,
};

// Roles of the 43 colours. Groups of seven run Sunday..Saturday: the colour of a weekday is
// the group's first index + the weekday (0 = Sunday).
enum TScheduleColor : int32_t {
  kColorTitleText = 0,
  kColorTitleBack = 1,
  kColorWeekdayText = 2,   // 2..8: weekday titles, and the day number of ordinary days
  kColorWeekdayBack = 9,   // 9..15: weekday titles, and the day-number label of ordinary days
  kColorEntryText = 16,    // the entry font's colour
  kColorCellBack = 17,     // 17..23: cell background of ordinary days
  kColorHolidayText = 24,  // day number of a holiday, and the holiday name
  kColorHolidayLabelBack = 25,
  kColorHolidayCellBack = 26,
  kColorTodayCellBack = 27,
  kColorCursorCellBack = 28,
  kColorOtherMonthLabelBack = 29,  // MonthReset: a day outside the cursor's month
  kColorOtherMonthCellBack = 30,
  kColorEmptyCell = 31,     // a cell without a date
  kColorSelectedLine = 32,  // the selected entry line while its cell is active
  kColorLightEdge = 33,     // 3D frames
  kColorDarkEdge = 34,
  kColorControlBack = 35,    // the control's own background
  kColorRokuyoText = 36,     // 36..41: day information 2, by the rokuyo index 0..5
  kColorLunarDateText = 42,  // day information 3
  kScheduleColorCount = 43,
};

// The default page's fonts, by role.
inline constexpr std::array<const char*, kScheduleFontCount> kDefaultScheduleFonts = {
    "ＭＳ Ｐゴシック,10,Italic", "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,10",
    "ＭＳ Ｐゴシック,10"};

// The default page's colours, 0x00BBGGRR (red in the lowest byte).
inline constexpr std::array<uint32_t, kScheduleColorCount> kDefaultScheduleColors = {
    16777215, 6710886,  255,      0,        0,        0,        0,        0,  // 0..7
    16711680, 13421823, 15658734, 15658734, 15658734, 15658734, 15658734,     // 8..14
    16772795, 0,        15658751, 16777215, 16777215, 16777215, 16777215,     // 15..21
    16777215, 16775918, 255,      13420799, 15657215, 16772846, 14548991,     // 22..28
    7824964,  10061926, 11184810, 13430527, 16777215, 8421504,  14277081,     // 29..35
    8388608,  32768,    32896,    0,        255,      128,      128};         // 36..42

// The widest frame a cell gets, raised or sunken, in pixels: a wider one would fill the cells
// of the small layouts whole.
inline constexpr int32_t kMaxFrameWidth = 16;

// What the day-number label shows besides the number (DayInfo); any other value nothing.
enum TDayInfoKind : int32_t {
  kDayInfoNone = 0,
  kDayInfoWeekday = 1,
  kDayInfoRokuyo = 2,
  kDayInfoLunarDate = 3,
  kDayInfoEntryCount = 4,
};

// How the days lie on the grid: the part of the settings that the layout model keeps (and
// corrects where the grid cannot show it).
struct TScheduleLayout {
  bool Vertical = false;
  int32_t Cycle = 7;
  int32_t Term = 4;
  int32_t FixTopMonth = 0;
  int32_t FixTopDay = 0;
  int32_t FixTopWeek = 1;
  bool MonthReset = false;

  friend bool operator==(const TScheduleLayout&, const TScheduleLayout&) = default;
};

// The layout and what the cells show.
struct TScheduleSettings : TScheduleLayout {
  bool Visible = true;  // carried for the page; the schedule itself does not look at it
  bool DayUpper = false;
  bool DispTitle = false;
  bool DispDay = true;
  int32_t DayInfo = kDayInfoWeekday;
  bool DispHoliday = true;
  bool Wrap = false;  // long entry lines wrap (page key ScheduleReturn)
  // Each day's lines by their first time rather than in file order (TDayTable::SortByTime).
  bool SortByTime = false;
  // Sets 0 and 4 = {0}, set 5 = {0, 1, 2}, set 6 = {0, 1, 2, 3}, the others empty.
  TFilterSet Filter{{TSmallSet{0}, TSmallSet{}, TSmallSet{}, TSmallSet{}, TSmallSet{0},
                     TSmallSet{0, 1, 2}, TSmallSet{0, 1, 2, 3}, TSmallSet{}}};
  int32_t Title3D = 1;
  int32_t Cursor3D = 2;
  int32_t Today3D = -2;
  int32_t Normal3D = 0;
  int32_t LineWidth = 1;
  int32_t Spacing = 2;    // extra pixels per entry row (ScheduleSpace)
  int32_t Percent = 100;  // entry text size in percent (SchedulePersent)
  bool CheckedIconVisible = true;
  bool RankIconVisible = true;
  bool MemoIconVisible = true;
  bool RelFilesIconVisible = true;
  bool MarkIconVisible = true;
  bool DataIconVisible = true;
  // Font texts ("face,size,style"), at most 255 Shift-JIS bytes each, by TScheduleFont.
  std::array<std::string, kScheduleFontCount> Fonts{
      kDefaultScheduleFonts[0], kDefaultScheduleFonts[1], kDefaultScheduleFonts[2],
      kDefaultScheduleFonts[3], kDefaultScheduleFonts[4]};
  // By TScheduleColor. Values are kept as read: one with bits in the top byte is a code of
  // the platform's system colours, which the drawing side has to map.
  std::array<uint32_t, kScheduleColorCount> Colors = kDefaultScheduleColors;

  friend bool operator==(const TScheduleSettings&, const TScheduleSettings&) = default;
};

// What a schedule shows until a page gives it settings: the default page on two weeks, with
// the entries of category D too and without the mark and picture icons.
inline TScheduleSettings InitialScheduleSettings() {
  TScheduleSettings settings;
  settings.Term = 2;
  settings.Filter[5] = {0, 1, 2, 3};
  settings.MarkIconVisible = false;
  settings.DataIconVisible = false;
  return settings;
}

}  // namespace pelo
