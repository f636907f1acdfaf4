#include "schedule/Pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "CellLooks.h"
#include "FilterSets.h"
#include "TestPaths.h"

namespace pelo {
namespace {

using test::DefaultPageFilter;

constexpr int32_t kNormalScreen = 768;
constexpr int32_t kSmallScreen = 599;

TPage DefaultPage(int32_t screen_height = kNormalScreen) {
  TPage page(screen_height);
  page.Reset(kPresetDefaultPage, screen_height);
  return page;
}

bool ReadPage(TPage& page, const std::string& text) {
  return page.Read(TIniFile::FromText(text), kPageSection);
}

// ---------------------------------------------------------------------------------------
// The default page

TEST(PageDefaultsTest, ScheduleRecord) {
  const TPage page = DefaultPage();
  EXPECT_EQ(page.PageName, "4Weekly");
  const TScheduleSettings& s = page.Schedule;
  struct TCase {
    const char* field;
    int32_t actual;
    int32_t expected;
  };
  const TCase cases[] = {
      {"Visible", s.Visible, 1},
      {"Vertical", s.Vertical, 0},
      {"Cycle", s.Cycle, 7},
      {"Term", s.Term, 4},
      {"FixTopMonth", s.FixTopMonth, 0},
      {"FixTopDay", s.FixTopDay, 0},
      {"FixTopWeek", s.FixTopWeek, 1},
      {"DayUpper", s.DayUpper, 0},
      {"DispTitle", s.DispTitle, 0},
      {"DispDay", s.DispDay, 1},
      {"DayInfo", s.DayInfo, 1},
      {"DispHoliday", s.DispHoliday, 1},
      {"MonthReset", s.MonthReset, 0},
      {"Wrap", s.Wrap, 0},
      {"SortByTime", s.SortByTime, 0},
      {"Title3D", s.Title3D, 1},
      {"Cursor3D", s.Cursor3D, 2},
      {"Today3D", s.Today3D, -2},
      {"Normal3D", s.Normal3D, 0},
      {"LineWidth", s.LineWidth, 1},
      {"Spacing", s.Spacing, 2},
      {"Percent", s.Percent, 100},
      {"CheckedIconVisible", s.CheckedIconVisible, 1},
      {"RankIconVisible", s.RankIconVisible, 1},
      {"MemoIconVisible", s.MemoIconVisible, 1},
      {"RelFilesIconVisible", s.RelFilesIconVisible, 1},
      {"MarkIconVisible", s.MarkIconVisible, 1},
      {"DataIconVisible", s.DataIconVisible, 1},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.actual, c.expected) << c.field;
  EXPECT_EQ(s.Filter, DefaultPageFilter());
  EXPECT_EQ(FilterSetToText(s.Filter), "0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@");

  const char* const fonts[] = {"ＭＳ Ｐゴシック,10,Italic", "ＭＳ Ｐゴシック,10",
                               "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,10"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(s.Fonts[i], fonts[i]) << "font " << i;

  // As the colour table lists them: first index, last index, value.
  struct TColorRange {
    int first;
    int last;
    uint32_t value;
  };
  const TColorRange colors[] = {
      {0, 0, 16777215},   {1, 1, 6710886},    {2, 2, 255},        {3, 7, 0},
      {8, 8, 16711680},   {9, 9, 13421823},   {10, 14, 15658734}, {15, 15, 16772795},
      {16, 16, 0},        {17, 17, 15658751}, {18, 22, 16777215}, {23, 23, 16775918},
      {24, 24, 255},      {25, 25, 13420799}, {26, 26, 15657215}, {27, 27, 16772846},
      {28, 28, 14548991}, {29, 29, 7824964},  {30, 30, 10061926}, {31, 31, 11184810},
      {32, 32, 13430527}, {33, 33, 16777215}, {34, 34, 8421504},  {35, 35, 14277081},
      {36, 36, 8388608},  {37, 37, 32768},    {38, 38, 32896},    {39, 39, 0},
      {40, 40, 255},      {41, 41, 128},      {42, 42, 128},
  };
  int checked = 0;
  for (const TColorRange& range : colors) {
    for (int i = range.first; i <= range.last; ++i, ++checked) {
      EXPECT_EQ(s.Colors[i], range.value) << "colour " << i;
    }
  }
  EXPECT_EQ(checked, 43);
  EXPECT_EQ(s, TScheduleSettings{});
}

TEST(PageDefaultsTest, ColorAndFontNames) {
  const TScheduleSettings s;
  EXPECT_EQ(s.Colors[kColorWeekdayText + 0], 255u);       // Sunday's title text is red
  EXPECT_EQ(s.Colors[kColorWeekdayText + 6], 16711680u);  // Saturday's blue
  EXPECT_EQ(s.Colors[kColorHolidayText], 255u);
  EXPECT_EQ(s.Colors[kColorSelectedLine], 13430527u);
  EXPECT_EQ(s.Colors[kColorControlBack], 14277081u);
  EXPECT_EQ(s.Colors[kColorRokuyoText + 5], 128u);
  EXPECT_EQ(s.Colors[kColorLunarDateText], 128u);
  EXPECT_EQ(s.Fonts[kFontTitle], "ＭＳ Ｐゴシック,10,Italic");

  // The indices as the drawing rules number them.
  const std::pair<int32_t, int32_t> indices[] = {
      {kColorTitleText, 0},
      {kColorTitleBack, 1},
      {kColorWeekdayText, 2},
      {kColorWeekdayBack, 9},
      {kColorEntryText, 16},
      {kColorCellBack, 17},
      {kColorHolidayText, 24},
      {kColorHolidayLabelBack, 25},
      {kColorHolidayCellBack, 26},
      {kColorTodayCellBack, 27},
      {kColorCursorCellBack, 28},
      {kColorOtherMonthLabelBack, 29},
      {kColorOtherMonthCellBack, 30},
      {kColorEmptyCell, 31},
      {kColorSelectedLine, 32},
      {kColorLightEdge, 33},
      {kColorDarkEdge, 34},
      {kColorControlBack, 35},
      {kColorRokuyoText, 36},
      {kColorLunarDateText, 42},
      {kScheduleColorCount, 43},
      {kFontTitle, 0},
      {kFontDayNumber, 1},
      {kFontDayInfo, 2},
      {kFontHolidayName, 3},
      {kFontEntryText, 4},
      {kScheduleFontCount, 5},
  };
  for (const auto& [actual, expected] : indices) EXPECT_EQ(actual, expected);
}

// The other areas' keys, in the order of the file, with their kinds ('b' flag, 'i' integer,
// 'c' colour, 't' text, 'f' font) and defaults.
struct TAreaKeyCase {
  std::string key;
  char kind;
  int32_t number;
  std::string text;
};

std::vector<TAreaKeyCase> ExpectedAreaKeys() {
  std::vector<TAreaKeyCase> keys;
  auto add = [&keys](const char* key, char kind, int32_t number) {
    keys.push_back({key, kind, number, ""});
  };
  auto text = [&keys](const char* key, const char* value) { keys.push_back({key, 't', 0, value}); };
  auto fonts = [&keys](const std::string& prefix, std::initializer_list<const char*> values) {
    int n = 0;
    for (const char* value : values) keys.push_back({prefix + std::to_string(n++), 'f', 0, value});
  };
  auto colors = [&keys](const std::string& prefix, std::initializer_list<int32_t> values) {
    int n = 0;
    for (const int32_t value : values)
      keys.push_back({prefix + std::to_string(n++), 'c', value, ""});
  };
  add("CalendarsVisible", 'b', 1);
  add("CalendarsAlign", 'i', 3);
  add("CalendarsWidth", 'i', 122);
  add("CalendarsHeight", 'i', 122);
  add("CalendarsFixTopMonth", 'i', 0);
  add("CalendarsFixTopWeek", 'i', 0);
  add("CalendarsStyleYear", 'i', 0);
  add("CalendarsStyleMonth", 'i', 9);
  add("CalendarsStyleWeek", 'i', 0);
  add("CalendarsFontAutoSize", 'b', 1);
  add("CalendarsAutoCalCount", 'b', 1);
  add("CalendarsCalColCount", 'i', 1);
  add("CalendarsCalRowCount", 'i', 1);
  add("CalendarsCursor3D", 'i', 1);
  add("CalendarsToday3D", 'i', -1);
  fonts("CalendarsFont",
        {"ＭＳ 明朝", "ＭＳ 明朝,Bold", "ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"});
  colors("CalendarsColor",
         {8388736, 0, 32768, 255, 255, 0, 0, 0, 0, 0, 16711680, 16772846, 14548991, 16777215, 0});
  add("ClockVisible", 'b', 1);
  add("ClockAlign", 'i', 1);
  add("ClockWidth", 'i', 122);
  add("ClockHeight", 'i', 152);
  add("ClockDispAnalog", 'b', 1);
  add("ClockDispDegital", 'b', 1);
  add("ClockDegitalAlign", 'i', 2);
  add("ClockDispAnalogHour", 'b', 1);
  add("ClockDispAnalogMin", 'b', 1);
  add("ClockDispAnalogSec", 'b', 1);
  add("ClockDispDegitalSec", 'b', 1);
  add("ClockDispAmPm", 'b', 1);
  add("ClockSmooth", 'b', 0);
  add("ClockFontAutoSize", 'b', 1);
  add("ClockFrameWidth", 'i', 120);
  add("ClockSlideTiming", 'i', 1);
  text("ClockBackFileName", "");
  add("ClockChimeOn", 'b', 0);
  text("ClockChimeFileName", "");
  add("ClockAlarmOn", 'b', 0);
  text("ClockAlarmFileName", "");
  fonts("ClockFont", {"ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"});
  colors("ClockColor", {0, 16777215, 16777215, 0, 255, 8421504, 16777215, 16777215, 0, 16776960});
  add("BoardVisible", 'b', 1);
  add("BoardAlign", 'i', 2);
  add("BoardWidth", 'i', 160);
  add("BoardHeight", 'i', 160);
  add("BoardVertical", 'b', 0);
  add("BoardDailyVisible", 'b', 1);
  add("BoardMemoVisible", 'b', 1);
  add("BoardTodoVisible", 'b', 1);
  add("BoardDailyCaptionVisible", 'b', 1);
  add("BoardMemoCaptionVisible", 'b', 1);
  add("BoardTodoCaptionVisible", 'b', 1);
  text("BoardDailyCaption", "");
  text("BoardMemoCaption", "メモ");
  text("BoardTodoCaption", "To Do");
  add("BoardDailySpace", 'i', 2);
  add("BoardMemoSpace", 'i', 2);
  add("BoardTodoSpace", 'i', 2);
  add("BoardDailyRange", 'i', 0);
  add("BoardMemoRange", 'i', 0);
  add("BoardTodoRange", 'i', 0);
  fonts("BoardFont", {"ＭＳ Ｐゴシック,9", "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,9",
                      "ＭＳ Ｐゴシック,10", "ＭＳ Ｐゴシック,9", "ＭＳ Ｐゴシック,10"});
  colors("BoardColor", {16777215, 0, 16777215, 0, 13430527, 11189230, 0, 14544639, 0, 13430527,
                        12316330, 0, 15663069, 0, 13430527});
  add("KoyomiVisible", 'b', 1);
  add("KoyomiHeight", 'i', 41);
  fonts("KoyomiFont", {"Times New Roman,26,Bold", "Times New Roman,18,Bold", "ＭＳ Ｐゴシック,10"});
  colors("KoyomiColor", {6061641, 1536, 16384, 16777215});
  return keys;
}

bool IsTextKind(char kind) { return kind == 't' || kind == 'f'; }

TEST(PageDefaultsTest, AreaKeysInOrderWithTheirDefaults) {
  const std::vector<TAreaKeyCase> expected = ExpectedAreaKeys();
  ASSERT_EQ(expected.size(), 118u);
  const std::vector<TPageKey>& keys = PageAreaKeys();
  ASSERT_EQ(keys.size(), expected.size());
  const TPage page = DefaultPage();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TAreaKeyCase& c = expected[i];
    EXPECT_EQ(keys[i].Name, c.key) << i;
    const char kind = "bictf"[static_cast<int>(keys[i].Kind)];
    EXPECT_EQ(kind, c.kind) << c.key;
    if (IsTextKind(c.kind)) {
      EXPECT_EQ(page.AreaText(c.key), c.text) << c.key;
    } else {
      EXPECT_EQ(page.AreaInteger(c.key), c.number) << c.key;
    }
  }
}

TEST(PageDefaultsTest, AreaValueOfAnUnknownKeyOrWrongKindIsAProgrammingError) {
  TPage page(kNormalScreen);
  EXPECT_THROW(page.AreaInteger("ScheduleCycle"), std::invalid_argument);
  EXPECT_THROW(page.AreaInteger("BoardMemoCaption"), std::invalid_argument);
  EXPECT_THROW(page.AreaText("BoardHeight"), std::invalid_argument);
  EXPECT_THROW(page.SetAreaText("boardmemocaption", "x"), std::invalid_argument);
  page.SetAreaInteger("ClockSmooth", 5);
  EXPECT_EQ(page.AreaInteger("ClockSmooth"), 1);  // flags hold 0 or 1
}

TEST(PageDefaultsTest, SmallScreenDiffersOnlyInItsListedValues) {
  TPage expected = DefaultPage(kNormalScreen);
  TScheduleSettings& s = expected.Schedule;
  s.Fonts[1] = s.Fonts[2] = s.Fonts[3] = "ＭＳ Ｐゴシック,9";
  s.Colors[9] = 12434943;
  for (int i = 10; i <= 14; ++i) s.Colors[i] = 13421772;
  s.Colors[15] = 16771494;
  s.Colors[17] = 14671871;
  for (int i = 18; i <= 22; ++i) s.Colors[i] = 15724527;
  s.Colors[23] = 16775139;
  s.Colors[26] = 14866943;
  s.Colors[27] = 16765650;
  s.Colors[28] = 12713983;
  expected.SetAreaInteger("BoardHeight", 97);
  expected.SetAreaInteger("KoyomiHeight", 30);
  expected.SetAreaText("KoyomiFont0", "Times New Roman,20,Bold");

  EXPECT_EQ(DefaultPage(kSmallScreen), expected);
  EXPECT_EQ(DefaultPage(300), expected);
  // 600 pixels is no longer small.
  EXPECT_EQ(DefaultPage(600), DefaultPage(kNormalScreen));
  EXPECT_EQ(DefaultPage(kSmallScreen).Schedule.Fonts[0], "ＭＳ Ｐゴシック,10,Italic");
}

// ---------------------------------------------------------------------------------------
// Presets

TEST(PageResetTest, CodesByScreenHeight) {
  struct TCase {
    int32_t code;
    int32_t height;
    const char* name;
    int32_t cycle;
    int32_t term;
    bool vertical;
  };
  const TCase cases[] = {
      {1, kNormalScreen, "Daily", 1, 1, true},       {2, kNormalScreen, "LevelWeekly", 7, 1, true},
      {3, kNormalScreen, "Weekly", 7, 1, false},     {4, kNormalScreen, "2Weekly", 7, 2, false},
      {5, kNormalScreen, "4Weekly", 7, 4, false},    {6, kNormalScreen, "BlockMonthly", 7, 6, true},
      {7, kNormalScreen, "Monthly", 31, 1, false},   {8, kNormalScreen, "Yearly", 31, 12, false},
      {9, kNormalScreen, "Calendar", 7, 4, false},   {10, kNormalScreen, "Diary", 1, 1, true},
      {1, kSmallScreen, "Daily", 1, 1, true},        {4, kSmallScreen, "2Weekly", 7, 2, false},
      {6, kSmallScreen, "BlockMonthly", 7, 6, true}, {7, kSmallScreen, "Calendar", 7, 4, false},
      {8, kSmallScreen, "Diary", 1, 1, true},        {9, kSmallScreen, "4Weekly", 7, 4, false},
      {10, kSmallScreen, "4Weekly", 7, 4, false},    {0, kNormalScreen, "4Weekly", 7, 4, false},
      {11, kNormalScreen, "4Weekly", 7, 4, false},   {-1, kSmallScreen, "4Weekly", 7, 4, false},
  };
  for (const TCase& c : cases) {
    TPage page(kNormalScreen);
    page.Schedule.Cycle = 99;  // a reset starts over from the default page
    page.Reset(c.code, c.height);
    const std::string what = std::to_string(c.code) + " at " + std::to_string(c.height);
    EXPECT_EQ(page.PageName, c.name) << what;
    EXPECT_EQ(page.Schedule.Cycle, c.cycle) << what;
    EXPECT_EQ(page.Schedule.Term, c.term) << what;
    EXPECT_EQ(page.Schedule.Vertical, c.vertical) << what;
    // Presets lay the schedule out; colours and fonts stay those of the screen's default.
    EXPECT_EQ(page.Schedule.Colors, DefaultPage(c.height).Schedule.Colors) << what;
    EXPECT_EQ(page.Schedule.Fonts, DefaultPage(c.height).Schedule.Fonts) << what;
  }
}

TEST(PageResetTest, PresetLayouts) {
  TPage page(kNormalScreen);
  page.Reset(kPresetBlockMonthly, kNormalScreen);
  EXPECT_EQ(page.Schedule.FixTopDay, 1);
  EXPECT_EQ(page.Schedule.FixTopWeek, 0);
  EXPECT_TRUE(page.Schedule.MonthReset);
  page.Reset(kPresetYearly, kNormalScreen);
  EXPECT_EQ(page.Schedule.FixTopDay, 1);
  page.Reset(kPresetCalendar, kNormalScreen);
  EXPECT_FALSE(page.Schedule.Visible);
}

TEST(PageResetTest, CreateGivesTwoWeeks) {
  for (const int32_t height : {kNormalScreen, kSmallScreen}) {
    TPage page(height);
    TPage expected = DefaultPage(height);
    expected.PageName = "2Weekly";
    expected.Schedule.Term = 2;
    EXPECT_EQ(page, expected) << height;
  }
}

// ---------------------------------------------------------------------------------------
// Reading a page

TEST(PageReadTest, WithoutAPageNameOnlyTheNameChanges) {
  const char* const texts[] = {
      "[NerikaPage1]\nScheduleCycle=31\nBoardHeight=5\n",
      "[NerikaPage1]\nPageName=@@@\nScheduleCycle=31\n",
      "[NerikaPage1]\nPageName=\"@@@\"\nScheduleCycle=31\n",
      "[NerikaPage2]\nPageName=Other\nScheduleCycle=31\n",
      "",
  };
  for (const char* text : texts) {
    TPage page(kNormalScreen);
    page.Reset(kPresetDaily, kNormalScreen);
    TPage expected = page;
    expected.PageName = "@@@";
    EXPECT_FALSE(ReadPage(page, text)) << text;
    EXPECT_EQ(page, expected) << text;
  }
}

TEST(PageReadTest, MissingKeysTakeTheDefaultPage) {
  // Whatever the page held before, and on a small screen too.
  for (const int32_t height : {kNormalScreen, kSmallScreen}) {
    TPage page(height);
    page.Reset(kPresetDaily, height);
    page.SetAreaInteger("BoardHeight", 5);
    ASSERT_TRUE(ReadPage(page, "[nerikapage1]\npagename=Month\nScheduleCycle=31\n"));
    TPage expected = DefaultPage(kNormalScreen);
    expected.PageName = "Month";
    expected.Schedule.Cycle = 31;
    EXPECT_EQ(page, expected) << height;
  }
}

TEST(PageReadTest, EmptyPageNameIsAPage) {
  TPage page(kNormalScreen);
  ASSERT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=\n"));
  TPage expected = DefaultPage();
  expected.PageName = "";
  EXPECT_EQ(page, expected);
}

TEST(PageReadTest, EveryScheduleKey) {
  std::string text =
      "[NerikaPage1]\n"
      "PageName=Everything\n"
      "ScheduleVisible=0\n"
      "ScheduleVertical=1\n"
      "ScheduleCycle=31\n"
      "ScheduleTerm=12\n"
      "ScheduleFixTopMonth=4\n"
      "ScheduleFixTopDay=1\n"
      "ScheduleTopWeek=0\n"
      "ScheduleFixTopWeek=3\n"  // not a key of the page: the week start is ScheduleTopWeek
      "ScheduleDayUpper=1\n"
      "ScheduleDispTitle=1\n"
      "ScheduleDispDay=0\n"
      "ScheduleDayInfo=3\n"
      "ScheduleDispHoliday=0\n"
      "ScheduleMonthReset=1\n"
      "ScheduleReturn=1\n"
      "ScheduleSortByTime=1\n"
      "ScheduleFilterSet=1,2,3,4,5,6,7,\"8,9\"\n"
      "ScheduleTitle3D=-1\n"
      "ScheduleCursor3D=3\n"
      "ScheduleToday3D=4\n"
      "ScheduleNormal3D=-5\n"
      "ScheduleLineWidth=2\n"
      "ScheduleSpace=6\n"
      "SchedulePersent=80\n"
      "ScheduleCheckedIconVisible=0\n"
      "ScheduleRankIconVisible=0\n"
      "ScheduleMemoIconVisible=0\n"
      "ScheduleRelFilesIconVisible=0\n"
      "ScheduleMarkIconVisible=0\n"
      "ScheduleDataIconVisible=0\n"
      "ScheduleFont0=Face 0,10\n"
      "ScheduleFont1=Face 1,11\n"
      "ScheduleFont2=Face 2,12\n"
      "ScheduleFont3=Face 3,13\n"
      "ScheduleFont4=ＭＳ 明朝,14,Bold\n";
  for (int i = 0; i < 43; ++i) {
    text += "ScheduleColor" + std::to_string(i) + "=" + std::to_string(i * 1000 + 7) + "\n";
  }
  TPage page(kNormalScreen);
  ASSERT_TRUE(ReadPage(page, text));

  TScheduleSettings expected;
  expected.Visible = false;
  expected.Vertical = true;
  expected.Cycle = 31;
  expected.Term = 12;
  expected.FixTopMonth = 4;
  expected.FixTopDay = 1;
  expected.FixTopWeek = 0;
  expected.DayUpper = true;
  expected.DispTitle = true;
  expected.DispDay = false;
  expected.DayInfo = 3;
  expected.DispHoliday = false;
  expected.MonthReset = true;
  expected.Wrap = true;
  expected.SortByTime = true;
  expected.Filter = TFilterSet{{TSmallSet{1}, TSmallSet{2}, TSmallSet{3}, TSmallSet{4},
                                TSmallSet{5}, TSmallSet{6}, TSmallSet{7}, TSmallSet{8, 9}}};
  test::SetCellLook(expected, {.title_3d = -1,
                               .cursor_3d = 3,
                               .today_3d = 4,
                               .normal_3d = -5,
                               .line_width = 2,
                               .spacing = 6,
                               .percent = 80});
  expected.CheckedIconVisible = false;
  expected.RankIconVisible = false;
  expected.MemoIconVisible = false;
  expected.RelFilesIconVisible = false;
  expected.MarkIconVisible = false;
  expected.DataIconVisible = false;
  expected.Fonts = {"Face 0,10", "Face 1,11", "Face 2,12", "Face 3,13", "ＭＳ 明朝,14,Bold"};
  for (int i = 0; i < 43; ++i) expected.Colors[i] = static_cast<uint32_t>(i * 1000 + 7);

  EXPECT_EQ(page.PageName, "Everything");
  EXPECT_EQ(page.Schedule, expected);
}

TEST(PageReadTest, EveryAreaKey) {
  // Each key gets a value of its own: a flag the opposite of its default, a number from its
  // position, a text naming its position.
  const std::vector<TAreaKeyCase> keys = ExpectedAreaKeys();
  std::string text = "[NerikaPage1]\nPageName=Areas\n";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const TAreaKeyCase& c = keys[i];
    std::string value;
    if (c.kind == 'b') {
      value = c.number != 0 ? "0" : "1";
    } else if (IsTextKind(c.kind)) {
      value = "Text " + std::to_string(i);
    } else {
      value = std::to_string(-1000 - static_cast<int32_t>(i));
    }
    text += c.key + " = " + value + "\n";
  }
  TPage page(kNormalScreen);
  ASSERT_TRUE(ReadPage(page, text));
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const TAreaKeyCase& c = keys[i];
    if (c.kind == 'b') {
      EXPECT_EQ(page.AreaInteger(c.key), c.number != 0 ? 0 : 1) << c.key;
    } else if (IsTextKind(c.kind)) {
      EXPECT_EQ(page.AreaText(c.key), "Text " + std::to_string(i)) << c.key;
    } else {
      EXPECT_EQ(page.AreaInteger(c.key), -1000 - static_cast<int32_t>(i)) << c.key;
    }
  }
  EXPECT_EQ(page.Schedule, TScheduleSettings{});
}

TEST(PageReadTest, SingleValues) {
  struct TCase {
    const char* line;
    TScheduleSettings expected;
  };
  auto with = [](auto change) {
    TScheduleSettings s;
    change(s);
    return s;
  };
  const TCase cases[] = {
      // Sunday's title text in blue.
      {"ScheduleColor2=16711680", with([](TScheduleSettings& s) { s.Colors[2] = 0xFF0000; })},
      {"ScheduleColor2=0x0000FF00", with([](TScheduleSettings& s) { s.Colors[2] = 0x00FF00; })},
      // A negative number keeps its bit pattern (a code of the platform's system colours).
      {"ScheduleColor35=-16777201", with([](TScheduleSettings& s) { s.Colors[35] = 0xFF00000Fu; })},
      {"ScheduleColor2=red", TScheduleSettings{}},
      {"ScheduleColor43=1", TScheduleSettings{}},
      {"ScheduleCycle=31", with([](TScheduleSettings& s) { s.Cycle = 31; })},
      {"ScheduleCycle=seven", TScheduleSettings{}},
      {"ScheduleCycle= 5 ", with([](TScheduleSettings& s) { s.Cycle = 5; })},
      {"ScheduleVertical=2", with([](TScheduleSettings& s) { s.Vertical = true; })},
      {"ScheduleVertical=yes", TScheduleSettings{}},
      {"ScheduleDispDay=0", with([](TScheduleSettings& s) { s.DispDay = false; })},
      {"ScheduleFilterSet=@,@,@,@,@,@,@", with([](TScheduleSettings& s) { s.Filter = {}; })},
      {"ScheduleFilterSet=@,@,@,@,@,@", TScheduleSettings{}},
      {"ScheduleFilterSet=", TScheduleSettings{}},
      {"ScheduleFilterSet=1,2,3,4,5,6,x", TScheduleSettings{}},
      {"ScheduleFilterSet=1,@,@,@,@,@,@,@,9",
       with([](TScheduleSettings& s) { s.Filter = TFilterSet{{TSmallSet{1}}}; })},
      // The first and the last sets both quoted: the value must not lose its outer quotes.
      {"ScheduleFilterSet=\"0,1\",@,@,@,@,@,@,\"2,3\"", with([](TScheduleSettings& s) {
         s.Filter = TFilterSet{};
         s.Filter[0] = {0, 1};
         s.Filter[7] = {2, 3};
       })},
      // The whole value wrapped in quotes reads as well.
      {"ScheduleFilterSet=\"0,@,@,@,0,@,@,@\"", with([](TScheduleSettings& s) {
         s.Filter = TFilterSet{};
         s.Filter[0] = {0};
         s.Filter[4] = {0};
       })},
      {"ScheduleFont4=\"Arial,12\"", with([](TScheduleSettings& s) { s.Fonts[4] = "Arial,12"; })},
      {"ScheduleFont4=", with([](TScheduleSettings& s) { s.Fonts[4] = ""; })},
  };
  for (const TCase& c : cases) {
    TPage page(kNormalScreen);
    ASSERT_TRUE(ReadPage(page, std::string("[NerikaPage1]\nPageName=P\n") + c.line + "\n"))
        << c.line;
    EXPECT_EQ(page.Schedule, c.expected) << c.line;
  }
}

TEST(PageReadTest, NumbersAreKeptToWhatTheScheduleCanDraw) {
  using S = TScheduleSettings;
  struct TCase {
    const char* key;
    int32_t S::*field;
    const char* value;
    int32_t expected;
  };
  const TCase cases[] = {
      {"ScheduleCycle", &S::Cycle, "-2147483648", 1},
      {"ScheduleCycle", &S::Cycle, "372", 372},
      {"ScheduleCycle", &S::Cycle, "373", 372},
      {"ScheduleTerm", &S::Term, "-1", 1},
      {"ScheduleTerm", &S::Term, "0x7FFFFFFF", 372},
      // Codes outside their range name nothing: no month, no day, no weekday, no text.
      {"ScheduleFixTopMonth", &S::FixTopMonth, "12", 12},
      {"ScheduleFixTopMonth", &S::FixTopMonth, "13", 0},
      {"ScheduleFixTopDay", &S::FixTopDay, "32", 0},
      {"ScheduleFixTopDay", &S::FixTopDay, "-1", 0},
      {"ScheduleTopWeek", &S::FixTopWeek, "7", -1},
      {"ScheduleTopWeek", &S::FixTopWeek, "-2147483648", -1},
      {"ScheduleDayInfo", &S::DayInfo, "5", 0},
      {"ScheduleDayInfo", &S::DayInfo, "2147483647", 0},
      {"ScheduleTitle3D", &S::Title3D, "-2147483648", -16},
      {"ScheduleCursor3D", &S::Cursor3D, "0x80000000", -16},
      {"ScheduleToday3D", &S::Today3D, "-2147483648", -16},
      {"ScheduleNormal3D", &S::Normal3D, "-2147483648", -16},
      {"ScheduleNormal3D", &S::Normal3D, "2147483647", 16},
      {"ScheduleNormal3D", &S::Normal3D, "17", 16},
      {"ScheduleLineWidth", &S::LineWidth, "-1", 0},
      {"ScheduleLineWidth", &S::LineWidth, "2147483647", 16},
      {"ScheduleSpace", &S::Spacing, "-2147483648", 0},
      {"ScheduleSpace", &S::Spacing, "65", 64},
      {"SchedulePersent", &S::Percent, "-2147483648", 10},
      {"SchedulePersent", &S::Percent, "2147483647", 1000},
  };
  for (const TCase& c : cases) {
    const std::string line = std::string(c.key) + "=" + c.value;
    TPage page(kNormalScreen);
    ASSERT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=P\n" + line + "\n")) << line;
    TScheduleSettings expected;
    expected.*c.field = c.expected;
    EXPECT_EQ(page.Schedule, expected) << line;
  }
}

TEST(PageReadTest, TextsAreCutInShiftJisBytes) {
  struct TCase {
    std::string name;
    std::string expected;
  };
  const TCase names[] = {
      {std::string(31, 'n'), std::string(30, 'n')},
      {std::string(30, 'n'), std::string(30, 'n')},
      // Sixteen double-byte characters are 32 bytes: fifteen fit.
      {"あいうえおかきくけこさしすせそた", "あいうえおかきくけこさしすせそ"},
      // One byte, then double-byte ones: the 31st byte would split a character.
      {"aあいうえおかきくけこさしすせそ", "aあいうえおかきくけこさしすせ"},
      {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏ", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎ"},
  };
  for (const TCase& c : names) {
    TPage page(kNormalScreen);
    EXPECT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=" + c.name + "\n"));
    EXPECT_EQ(page.PageName, c.expected) << c.name;
  }

  // Only the name "@@@" itself says "no page".
  TPage page(kNormalScreen);
  EXPECT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=@@@x\n"));

  const std::string long_font = std::string(252, 'f') + "明朝,10";
  ASSERT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=P\nScheduleFont0=" + long_font +
                                 "\nBoardMemoCaption=" + std::string(300, 'c') + "\n"));
  EXPECT_EQ(page.Schedule.Fonts[0], std::string(252, 'f') + "明");
  EXPECT_EQ(page.AreaText("BoardMemoCaption"), std::string(255, 'c'));
}

TEST(PageReadTest, ASecondFileDoesNotKeepTheFirstFilesValues) {
  TPage page(kNormalScreen);
  page.Reset(kPresetDefaultPage, kNormalScreen);
  ASSERT_TRUE(
      ReadPage(page,
               "[NerikaPage1]\nPageName=First\nScheduleCycle=31\nScheduleColor5=1\n"
               "ScheduleFilterSet=@,@,@,@,@,@,@\nBoardHeight=5\nClockBackFileName=x.bmp\n"));
  EXPECT_EQ(page.Schedule.Cycle, 31);
  EXPECT_EQ(page.AreaText("ClockBackFileName"), "x.bmp");

  ASSERT_TRUE(ReadPage(page, "[NerikaPage1]\nPageName=Second\nScheduleTerm=3\n"));
  TPage expected = DefaultPage();
  expected.PageName = "Second";
  expected.Schedule.Term = 3;
  EXPECT_EQ(page, expected);

  // A file without a page after that leaves the settings of the second.
  EXPECT_FALSE(ReadPage(page, "[NerikaPage1]\nScheduleTerm=9\n"));
  expected.PageName = "@@@";
  EXPECT_EQ(page, expected);
}

// The calendar a page asks for: only a page that has the key says anything, and a page read
// after it without the key does not keep its choice.
TEST(PageReadTest, CalendarCurrentKey) {
  const struct {
    const char* text;
    std::optional<TCalendarKind> calendar;
  } cases[] = {
      {"[NerikaPage1]\nPageName=P\nCalendarCurrent=1\n", TCalendarKind::kCurrent},
      {"[NerikaPage1]\nPageName=P\nCalendarCurrent=0\n", TCalendarKind::kClassic},
      {"[NerikaPage1]\nPageName=P\ncalendarcurrent=7\n", TCalendarKind::kCurrent},
      {"[NerikaPage1]\nPageName=P\n", std::nullopt},
      {"[NerikaPage2]\nPageName=P\nCalendarCurrent=1\n[NerikaPage1]\nPageName=Q\n", std::nullopt},
  };
  for (const auto& c : cases) {
    TPage page(kNormalScreen);
    page.Calendar = TCalendarKind::kCurrent;  // what a page read before asked for
    ASSERT_TRUE(ReadPage(page, c.text)) << c.text;
    EXPECT_EQ(page.Calendar, c.calendar) << c.text;
    // The key changes nothing else of the page.
    TPage without_key = DefaultPage();
    without_key.PageName = page.PageName;
    without_key.Calendar = page.Calendar;
    EXPECT_EQ(page, without_key) << c.text;
  }
  TPage page(kNormalScreen);
  page.Calendar = TCalendarKind::kCurrent;
  page.Reset(kPresetDefaultPage, kNormalScreen);
  EXPECT_EQ(page.Calendar, std::nullopt);
}

TEST(PageReadTest, FirstSectionOfTheNameWins) {
  TPage page(kNormalScreen);
  ASSERT_TRUE(ReadPage(page,
                       "[NerikaPage1]\nPageName=One\nScheduleCycle=1\n"
                       "[NERIKAPAGE1]\nPageName=Two\nScheduleTerm=2\n"));
  EXPECT_EQ(page.PageName, "One");
  EXPECT_EQ(page.Schedule.Cycle, 1);
  EXPECT_EQ(page.Schedule.Term, 4);
}

TEST(PageReadTest, ShiftJisPageFile) {
  TPage page(kNormalScreen);
  ASSERT_TRUE(page.Read(TIniFile(test::TestDataPath("pages/Pelo.npg")), kPageSection));
  EXPECT_EQ(page.PageName, "月表示");
  EXPECT_EQ(page.Schedule.Cycle, 7);
  EXPECT_EQ(page.Schedule.Term, 6);
  EXPECT_TRUE(page.Schedule.Vertical);
  EXPECT_TRUE(page.Schedule.DispTitle);
  EXPECT_EQ(page.Schedule.DayInfo, 2);
  EXPECT_EQ(page.Schedule.Fonts[kFontTitle], "ＭＳ 明朝,12,Bold");
  EXPECT_EQ(page.Schedule.Fonts[kFontEntryText], "ＭＳ Ｐゴシック,9");
  EXPECT_EQ(page.Schedule.Colors[kColorTodayCellBack], 65535u);
  TFilterSet filter;
  filter[0] = {0, 1};
  filter[5] = {0, 1, 2};
  EXPECT_EQ(page.Schedule.Filter, filter);
  EXPECT_EQ(page.AreaText("BoardMemoCaption"), "覚え書き");
  EXPECT_EQ(page.AreaText("KoyomiFont2"), "ＭＳ ゴシック,11");
  EXPECT_EQ(page.AreaInteger("ClockHeight"), 152);  // not in the file
}

}  // namespace
}  // namespace pelo
