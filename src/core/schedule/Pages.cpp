#include "schedule/Pages.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <stdexcept>

#include "schedule/ScheduleModels.h"
#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::string_view kNoPageName = "@@@";
constexpr std::string_view kDefaultPageName = "4Weekly";

std::string Cut(std::string_view text, int32_t width) {
  return std::string(CutToSjisWidth(text, width));
}

std::string NumberedKey(std::string_view prefix, std::size_t number) {
  return Concat({prefix, std::to_string(number)});
}

// The keys of the areas this program does not show, one row per key (name, kind, default
// page's value) in the order of the file; a numbered group is one row per number.
std::vector<TPageKey> MakeAreaKeys() {
  std::vector<TPageKey> keys;
  using K = TPageValueKind;
  auto flag = [&keys](std::string_view name, int32_t value) {
    keys.push_back({std::string(name), K::kFlag, value, {}});
  };
  auto integer = [&keys](std::string_view name, int32_t value) {
    keys.push_back({std::string(name), K::kInteger, value, {}});
  };
  auto text = [&keys](std::string_view name, std::string_view value) {
    keys.push_back({std::string(name), K::kText, 0, std::string(value)});
  };
  auto colors = [&keys](std::string_view prefix, std::initializer_list<int32_t> values) {
    std::size_t number = 0;
    for (const int32_t value : values) {
      keys.push_back({NumberedKey(prefix, number++), K::kColor, value, {}});
    }
  };
  auto fonts = [&keys](std::string_view prefix, std::initializer_list<std::string_view> values) {
    std::size_t number = 0;
    for (const std::string_view value : values) {
      keys.push_back({NumberedKey(prefix, number++), K::kFont, 0, std::string(value)});
    }
  };

  flag("CalendarsVisible", 1);
  integer("CalendarsAlign", 3);
  integer("CalendarsWidth", 122);
  integer("CalendarsHeight", 122);
  integer("CalendarsFixTopMonth", 0);
  integer("CalendarsFixTopWeek", 0);
  integer("CalendarsStyleYear", 0);
  integer("CalendarsStyleMonth", 9);
  integer("CalendarsStyleWeek", 0);
  flag("CalendarsFontAutoSize", 1);
  flag("CalendarsAutoCalCount", 1);
  integer("CalendarsCalColCount", 1);
  integer("CalendarsCalRowCount", 1);
  integer("CalendarsCursor3D", 1);
  integer("CalendarsToday3D", -1);
  fonts("CalendarsFont",
        {"ＭＳ 明朝", "ＭＳ 明朝,Bold", "ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"});
  colors("CalendarsColor",
         {8388736, 0, 32768, 255, 255, 0, 0, 0, 0, 0, 16711680, 16772846, 14548991, 16777215, 0});

  flag("ClockVisible", 1);
  integer("ClockAlign", 1);
  integer("ClockWidth", 122);
  integer("ClockHeight", 152);
  flag("ClockDispAnalog", 1);
  flag("ClockDispDegital", 1);
  integer("ClockDegitalAlign", 2);
  flag("ClockDispAnalogHour", 1);
  flag("ClockDispAnalogMin", 1);
  flag("ClockDispAnalogSec", 1);
  flag("ClockDispDegitalSec", 1);
  flag("ClockDispAmPm", 1);
  flag("ClockSmooth", 0);
  flag("ClockFontAutoSize", 1);
  integer("ClockFrameWidth", 120);
  integer("ClockSlideTiming", 1);
  text("ClockBackFileName", "");
  flag("ClockChimeOn", 0);
  text("ClockChimeFileName", "");
  flag("ClockAlarmOn", 0);
  text("ClockAlarmFileName", "");
  fonts("ClockFont", {"ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"});
  colors("ClockColor", {0, 16777215, 16777215, 0, 255, 8421504, 16777215, 16777215, 0, 16776960});

  flag("BoardVisible", 1);
  integer("BoardAlign", 2);
  integer("BoardWidth", 160);
  integer("BoardHeight", 160);
  flag("BoardVertical", 0);
  flag("BoardDailyVisible", 1);
  flag("BoardMemoVisible", 1);
  flag("BoardTodoVisible", 1);
  flag("BoardDailyCaptionVisible", 1);
  flag("BoardMemoCaptionVisible", 1);
  flag("BoardTodoCaptionVisible", 1);
  text("BoardDailyCaption", "");
  text("BoardMemoCaption", "メモ");
  text("BoardTodoCaption", "To Do");
  integer("BoardDailySpace", 2);
  integer("BoardMemoSpace", 2);
  integer("BoardTodoSpace", 2);
  integer("BoardDailyRange", 0);
  integer("BoardMemoRange", 0);
  integer("BoardTodoRange", 0);
  fonts("BoardFont", {"ＭＳ Ｐゴシック,9", "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,9",
                      "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,9", "ＭＳ Ｐゴシック,10"});
  colors("BoardColor", {16777215, 0, 16777215, 0, 13430527, 11189230, 0, 14544639, 0, 13430527,
                        12316330, 0, 15663069, 0, 13430527});

  flag("KoyomiVisible", 1);
  integer("KoyomiHeight", 41);
  fonts("KoyomiFont", {"Times New Roman,26,Bold", "Times New Roman,18,Bold", "ＭＳ Ｐゴシック,10"});
  colors("KoyomiColor", {6061641, 1536, 16384, 16777215});
  return keys;
}

}  // namespace

const std::vector<TPageKey>& PageAreaKeys() {
  static const std::vector<TPageKey> keys = MakeAreaKeys();
  return keys;
}

namespace {

// The presets only lay the schedule out differently (and, for Calendar, hide it behind the
// calendars area); everything else stays as the default page has it.
// The two largest layouts do not fit a small screen: there the codes of Monthly and Yearly
// name Calendar and Diary, and the codes of Calendar and Diary name nothing.
int32_t PresetOnScreen(int32_t code, bool small_screen) noexcept {
  if (!small_screen) return code;
  switch (code) {
    case kPresetMonthly:
      return kPresetCalendar;
    case kPresetYearly:
      return kPresetDiary;
    case kPresetCalendar:
    case kPresetDiary:
      return kPresetDefaultPage;
    default:
      return code;
  }
}

void ApplyPreset(TPage& page, int32_t code, bool small_screen) {
  TScheduleSettings& s = page.Schedule;
  switch (PresetOnScreen(code, small_screen)) {
    case kPresetDaily:
      page.PageName = "Daily";
      s.Vertical = true;
      s.Cycle = 1;
      s.Term = 1;
      break;
    case kPresetLevelWeekly:  // one week along a single row
      page.PageName = "LevelWeekly";
      s.Vertical = true;
      s.Cycle = 7;
      s.Term = 1;
      break;
    case kPresetWeekly:
      page.PageName = "Weekly";
      s.Cycle = 7;
      s.Term = 1;
      break;
    case kPreset2Weekly:
      page.PageName = "2Weekly";
      s.Cycle = 7;
      s.Term = 2;
      break;
    case kPresetBlockMonthly:  // a month sheet of six week rows, Sunday first
      page.PageName = "BlockMonthly";
      s.Vertical = true;
      s.Cycle = 7;
      s.Term = 6;
      s.FixTopDay = 1;
      s.FixTopWeek = 0;
      s.MonthReset = true;
      break;
    case kPresetMonthly:  // one month per column
      page.PageName = "Monthly";
      s.Cycle = 31;
      s.Term = 1;
      s.FixTopDay = 1;
      s.DispTitle = true;
      break;
    case kPresetYearly:  // twelve month columns from January
      page.PageName = "Yearly";
      s.Cycle = 31;
      s.Term = 12;
      s.FixTopDay = 1;
      s.FixTopMonth = 1;
      s.DispTitle = true;
      break;
    case kPresetCalendar:  // the month calendars alone
      page.PageName = "Calendar";
      s.Visible = false;
      break;
    case kPresetDiary:  // one day with its lines wrapped
      page.PageName = "Diary";
      s.Vertical = true;
      s.Cycle = 1;
      s.Term = 1;
      s.Wrap = true;
      break;
    default:
      break;
  }
}

// What the schedule can draw of a page's numbers. A size outside its range is brought to the
// nearer end; a code outside its range names nothing, and becomes the code that says so.
struct TNumberRange {
  int32_t Low;
  int32_t High;
  std::optional<int32_t> None = std::nullopt;
};

// Days per cycle and cycles shown: a grid holds at most kMaxCellCount day cells.
constexpr TNumberRange kCountRange{1, kMaxCellCount};
// FixTopMonth and FixTopDay; 0 lets the cycles follow the cursor.
constexpr TNumberRange kFixMonthRange{0, 12, 0};
constexpr TNumberRange kFixDayRange{0, 31, 0};
// FixTopWeek: the weekday a cycle starts on; -1 aligns to none.
constexpr TNumberRange kFixWeekRange{-1, 6, -1};
// DayInfo: what the day-number label shows besides the number.
constexpr TNumberRange kDayInfoRange{kDayInfoNone, kDayInfoEntryCount, kDayInfoNone};
// Raised (positive) or sunken (negative) frames.
constexpr TNumberRange kFrameRange{-kMaxFrameWidth, kMaxFrameWidth};
// Grid lines wider than this leave the small layouts no room for their cells.
constexpr TNumberRange kLineWidthRange{0, 16};
// Extra pixels per entry row. A negative spacing would let rows overlap and, past the font's
// height, leave lines no height at all; they would never show.
constexpr TNumberRange kSpacingRange{0, 64};
// The entry text's size in percent: a tenth to ten times the font.
constexpr TNumberRange kPercentRange{10, 1000};

int32_t KeepInRange(int32_t value, const TNumberRange& range) noexcept {
  if (value >= range.Low && value <= range.High) return value;
  return range.None ? *range.None : std::clamp(value, range.Low, range.High);
}

}  // namespace

TPage::TPage(int32_t screen_height) { Reset(kPreset2Weekly, screen_height); }

void TPage::Reset(int32_t code, int32_t screen_height) {
  PageName = std::string(kDefaultPageName);
  Schedule = TScheduleSettings{};
  Calendar.reset();
  const std::vector<TPageKey>& keys = PageAreaKeys();
  area_values_.clear();
  area_values_.reserve(keys.size());
  for (const TPageKey& key : keys) area_values_.push_back({key.Number, key.Text});

  const bool small_screen = screen_height < kSmallScreenHeight;
  if (small_screen) {
    Schedule.Fonts[kFontDayNumber] = "ＭＳ Ｐゴシック,9";
    Schedule.Fonts[kFontDayInfo] = "ＭＳ Ｐゴシック,9";
    Schedule.Fonts[kFontHolidayName] = "ＭＳ Ｐゴシック,9";
    Schedule.Colors[9] = 12434943;
    for (std::size_t i = 10; i <= 14; ++i) Schedule.Colors[i] = 13421772;
    Schedule.Colors[15] = 16771494;
    Schedule.Colors[17] = 14671871;
    for (std::size_t i = 18; i <= 22; ++i) Schedule.Colors[i] = 15724527;
    Schedule.Colors[23] = 16775139;
    Schedule.Colors[26] = 14866943;
    Schedule.Colors[27] = 16765650;
    Schedule.Colors[28] = 12713983;
    SetAreaInteger("BoardHeight", 97);
    SetAreaInteger("KoyomiHeight", 30);
    SetAreaText("KoyomiFont0", "Times New Roman,20,Bold");
  }
  ApplyPreset(*this, code, small_screen);
}

bool TPage::Read(const TIniFile& ini, std::string_view section) {
  PageName = Cut(ini.ReadString(section, "PageName", kNoPageName), kMaxNameWidth);
  if (PageName == kNoPageName) return false;
  PageName = Cut(ini.ReadString(section, "PageName", ""), kMaxNameWidth);

  // Missing keys take the default page's values, never what this page held before, and
  // always those of a screen of normal height.
  const TScheduleSettings defaults;
  TScheduleSettings& s = Schedule;
  auto flag = [&](std::string_view key, bool value) { return ini.ReadBool(section, key, value); };
  auto integer = [&](std::string_view key, int32_t value) {
    return ini.ReadInteger(section, key, value);
  };
  // Every number the schedule draws with is kept to what it can draw, here and only here.
  auto number = [&](std::string_view key, int32_t value, const TNumberRange& range) {
    return KeepInRange(integer(key, value), range);
  };
  s.Visible = flag("ScheduleVisible", defaults.Visible);
  s.Vertical = flag("ScheduleVertical", defaults.Vertical);
  s.Cycle = number("ScheduleCycle", defaults.Cycle, kCountRange);
  s.Term = number("ScheduleTerm", defaults.Term, kCountRange);
  s.FixTopMonth = number("ScheduleFixTopMonth", defaults.FixTopMonth, kFixMonthRange);
  s.FixTopDay = number("ScheduleFixTopDay", defaults.FixTopDay, kFixDayRange);
  s.FixTopWeek = number("ScheduleTopWeek", defaults.FixTopWeek, kFixWeekRange);
  s.DayUpper = flag("ScheduleDayUpper", defaults.DayUpper);
  s.DispTitle = flag("ScheduleDispTitle", defaults.DispTitle);
  s.DispDay = flag("ScheduleDispDay", defaults.DispDay);
  s.DayInfo = number("ScheduleDayInfo", defaults.DayInfo, kDayInfoRange);
  s.DispHoliday = flag("ScheduleDispHoliday", defaults.DispHoliday);
  s.MonthReset = flag("ScheduleMonthReset", defaults.MonthReset);
  s.Wrap = flag("ScheduleReturn", defaults.Wrap);

  // A set holding more than one member is written in quotes, so a value whose first and last
  // sets both do looks wrapped in quotes, and taking them off would spoil it: the value is
  // read as written first, and only failing that without the wrapping quotes. A value that
  // reads neither way (fewer than seven sets, an item that is no number) leaves the default
  // sets rather than failing the page.
  s.Filter = defaults.Filter;
  const std::string default_filter = FilterSetToText(defaults.Filter);
  if (!TextToFilterSet(ini.ReadRawString(section, "ScheduleFilterSet", default_filter), s.Filter)) {
    TextToFilterSet(ini.ReadString(section, "ScheduleFilterSet", default_filter), s.Filter);
  }

  s.Title3D = number("ScheduleTitle3D", defaults.Title3D, kFrameRange);
  s.Cursor3D = number("ScheduleCursor3D", defaults.Cursor3D, kFrameRange);
  s.Today3D = number("ScheduleToday3D", defaults.Today3D, kFrameRange);
  s.Normal3D = number("ScheduleNormal3D", defaults.Normal3D, kFrameRange);
  s.LineWidth = number("ScheduleLineWidth", defaults.LineWidth, kLineWidthRange);
  s.Spacing = number("ScheduleSpace", defaults.Spacing, kSpacingRange);
  s.Percent = number("SchedulePersent", defaults.Percent, kPercentRange);
  s.CheckedIconVisible = flag("ScheduleCheckedIconVisible", defaults.CheckedIconVisible);
  s.RankIconVisible = flag("ScheduleRankIconVisible", defaults.RankIconVisible);
  s.MemoIconVisible = flag("ScheduleMemoIconVisible", defaults.MemoIconVisible);
  s.RelFilesIconVisible = flag("ScheduleRelFilesIconVisible", defaults.RelFilesIconVisible);
  s.MarkIconVisible = flag("ScheduleMarkIconVisible", defaults.MarkIconVisible);
  s.DataIconVisible = flag("ScheduleDataIconVisible", defaults.DataIconVisible);
  for (std::size_t i = 0; i < s.Fonts.size(); ++i) {
    s.Fonts[i] = Cut(ini.ReadString(section, NumberedKey("ScheduleFont", i), defaults.Fonts[i]),
                     kMaxTextWidth);
  }
  for (std::size_t i = 0; i < s.Colors.size(); ++i) {
    s.Colors[i] = static_cast<uint32_t>(
        integer(NumberedKey("ScheduleColor", i), static_cast<int32_t>(defaults.Colors[i])));
  }

  Calendar.reset();
  if (ini.KeyExists(section, "CalendarCurrent")) {
    Calendar = flag("CalendarCurrent", false) ? TCalendarKind::kCurrent : TCalendarKind::kClassic;
  }

  ReadAreaValues(ini, section);
  return true;
}

void TPage::ReadAreaValues(const TIniFile& ini, std::string_view section) {
  const std::vector<TPageKey>& keys = PageAreaKeys();
  area_values_.resize(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const TPageKey& key = keys[i];
    TAreaValue& value = area_values_[i];
    switch (key.Kind) {
      case TPageValueKind::kFlag:
        value.Number = ini.ReadBool(section, key.Name, key.Number != 0) ? 1 : 0;
        break;
      case TPageValueKind::kInteger:
      case TPageValueKind::kColor:
        value.Number = ini.ReadInteger(section, key.Name, key.Number);
        break;
      case TPageValueKind::kText:
      case TPageValueKind::kFont:
        value.Text = Cut(ini.ReadString(section, key.Name, key.Text), kMaxTextWidth);
        break;
    }
  }
}

std::size_t TPage::AreaIndex(std::string_view key, bool text) const {
  const std::vector<TPageKey>& keys = PageAreaKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].Name != key) continue;
    const bool is_text =
        keys[i].Kind == TPageValueKind::kText || keys[i].Kind == TPageValueKind::kFont;
    if (is_text != text) break;
    return i;
  }
  throw std::invalid_argument(Concat({"no page key of that kind: ", key}));
}

int32_t TPage::AreaInteger(std::string_view key) const {
  return area_values_[AreaIndex(key, false)].Number;
}

const std::string& TPage::AreaText(std::string_view key) const {
  return area_values_[AreaIndex(key, true)].Text;
}

void TPage::SetAreaInteger(std::string_view key, int32_t value) {
  const std::size_t index = AreaIndex(key, false);
  area_values_[index].Number =
      PageAreaKeys()[index].Kind == TPageValueKind::kFlag ? (value != 0 ? 1 : 0) : value;
}

void TPage::SetAreaText(std::string_view key, std::string_view value) {
  area_values_[AreaIndex(key, true)].Text = Cut(value, kMaxTextWidth);
}

}  // namespace pelo
