#pragma once

// A page: a named view layout read from a section of a page-settings file (".npg"). It
// holds the schedule's settings record, which the schedule applies, and the settings of the
// other areas a page file describes (calendars, clock, notice board, almanac), which are read
// and kept as they are: this program shows none of those areas.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/CalendarKinds.h"
#include "schedule/IniFiles.h"
#include "schedule/ScheduleSettings.h"

namespace pelo {

// Preset codes of TPage::Reset. The last four are those of a screen of normal height; a
// small screen has no room for Monthly and Yearly, and its codes 7 and 8 name Calendar and
// Diary (see Reset).
inline constexpr int32_t kPresetDaily = 1;
inline constexpr int32_t kPresetLevelWeekly = 2;
inline constexpr int32_t kPresetWeekly = 3;
inline constexpr int32_t kPreset2Weekly = 4;
inline constexpr int32_t kPresetDefaultPage = 5;  // the built-in default page, "4Weekly"
inline constexpr int32_t kPresetBlockMonthly = 6;
inline constexpr int32_t kPresetMonthly = 7;
inline constexpr int32_t kPresetYearly = 8;
inline constexpr int32_t kPresetCalendar = 9;
inline constexpr int32_t kPresetDiary = 10;

// The section this program reads its page from.
inline constexpr std::string_view kPageSection = "NerikaPage1";

enum class TPageValueKind : uint8_t { kFlag, kInteger, kColor, kText, kFont };

// One key of the areas other than the schedule, with the default page's value: Number for
// flags (0 or 1), integers and colours, Text for texts and fonts.
struct TPageKey {
  std::string Name;
  TPageValueKind Kind;
  int32_t Number = 0;
  std::string Text;
};

// Every key of the calendars, clock, board and almanac areas, in the order of the file.
const std::vector<TPageKey>& PageAreaKeys();

class TPage {
 public:
  // Below this height (in pixels) the default page uses smaller fonts and its own colours.
  static constexpr int32_t kSmallScreenHeight = 600;
  // Longest page name and longest text value, in Shift-JIS bytes.
  static constexpr int32_t kMaxNameWidth = 30;
  static constexpr int32_t kMaxTextWidth = 255;

  // A page reset to the preset "2Weekly".
  explicit TPage(int32_t screen_height);

  // The built-in default page (its small-screen form below kSmallScreenHeight), then the
  // preset of code: 1 Daily, 2 LevelWeekly, 3 Weekly, 4 2Weekly, 6 BlockMonthly; on screens
  // of normal height 7 Monthly, 8 Yearly, 9 Calendar, 10 Diary; on small screens 7 Calendar,
  // 8 Diary. Any other code (5 among them) leaves the default page "4Weekly".
  void Reset(int32_t code, int32_t screen_height);

  // Reads the page of section. False, with only the name changed (to "@@@"), when the
  // section holds no page name or the name "@@@". Otherwise every key is read, a missing one
  // taking the built-in default page's value (whatever the page held before), and true. The
  // schedule's numbers are kept to what it can draw: a size outside its range is brought to
  // the nearer end, a code that names nothing becomes the code of nothing.
  bool Read(const TIniFile& ini, std::string_view section);

  // Values of the other areas by key name (as in PageAreaKeys). Asking for a key that is
  // not there, or of the wrong kind, is a programming error (std::invalid_argument).
  int32_t AreaInteger(std::string_view key) const;          // flags (0 or 1), integers, colours
  const std::string& AreaText(std::string_view key) const;  // texts and fonts
  void SetAreaInteger(std::string_view key, int32_t value);
  void SetAreaText(std::string_view key, std::string_view value);

  std::string PageName;  // at most kMaxNameWidth Shift-JIS bytes
  TScheduleSettings Schedule;
  // The calendar the page asks for (key CalendarCurrent, 1 for the calendar of today, 0 for
  // the classic one); nothing when the page does not say, as no page written before the key
  // existed does: the viewer then keeps the calendar it has.
  std::optional<TCalendarKind> Calendar;

  friend bool operator==(const TPage&, const TPage&) = default;

 private:
  struct TAreaValue {
    int32_t Number = 0;
    std::string Text;
    friend bool operator==(const TAreaValue&, const TAreaValue&) = default;
  };

  std::size_t AreaIndex(std::string_view key, bool text) const;
  // The other areas' keys of section; a missing key takes the default page's value.
  void ReadAreaValues(const TIniFile& ini, std::string_view section);

  std::vector<TAreaValue> area_values_;  // parallel to PageAreaKeys()
};

}  // namespace pelo
