// The day table: which lines each day cell gets (filter, order, days that do not exist), the
// lookups between lines and entries, the focus, the settings shared by all cells, cells made
// on first use against cells made at once, and the rebuild of the day packs by the entry list.
#include "schedule/DayTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "DateLabels.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "entries/Entries.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;

constexpr TDateRec kToday{2024, 5, 10};
constexpr int32_t kFirstYear = 2023;  // the window of a table made in 2024: 2023..2026

using test::DateLabel;

class DayTableTest : public testing::Test {
 protected:
  // Loads the lines (UTF-8, written as CP932), rebuilds the packs and fills the table.
  void Load(std::string_view text) {
    const std::vector<std::string> names{folder_.WriteCp932("a.nrk", text)};
    list_.LoadFiles(names);
    Rebuild();
  }
  void Rebuild() {
    list_.SetTable(calendar_, kFirstYear, TDayTable::kYearCount);
    table_.Fill(&list_.DatePacks());
  }

  // The texts of a cell's lines; "(none)" when the table has no cell for the date.
  std::vector<std::string> Lines(TDateRec date) const {
    const TCellLineList* cell = table_.Cell(date);
    if (cell == nullptr) return {"(none)"};
    std::vector<std::string> texts;
    for (int32_t i = 0; i < cell->Count(); ++i) texts.push_back(cell->Text(i));
    return texts;
  }

  // The texts of the entries of a cell's lines.
  std::vector<std::string> EntryTexts(TDateRec date) const {
    std::vector<std::string> texts;
    const TCellLineList* cell = table_.Cell(date);
    for (int32_t i = 0; cell != nullptr && i < cell->Count(); ++i) {
      texts.push_back(cell->Info(i).Entry->Text);
    }
    return texts;
  }

  // The position of the entry whose text is text.
  int32_t PositionOf(std::string_view text) const {
    for (int32_t i = 0; i < list_.Count(); ++i) {
      if (list_.Entry(i)->Text == text) return i;
    }
    ADD_FAILURE() << "no entry " << text;
    return -1;
  }

  TCalendar calendar_{kToday};
  TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
  TDayTable table_{kFirstYear};
};

using Texts = std::vector<std::string>;

TEST_F(DayTableTest, WindowAndCells) {
  EXPECT_EQ(table_.FirstYear(), kFirstYear);
  const struct {
    TDateRec date;
    bool has_cell;
  } cases[] = {
      {{2022, 12, 31}, false}, {{2023, 1, 1}, true},   {{2026, 12, 31}, true},
      {{2027, 1, 1}, false},   {{2024, 0, 1}, false},  {{2024, 13, 1}, false},
      {{2024, 1, 0}, false},   {{2024, 1, 32}, false}, {{2024, 2, 30}, true},
      {{2025, 4, 31}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table_.Cell(c.date) != nullptr, c.has_cell) << DateLabel(c.date);
  }
  // Every cell is a list of its own.
  EXPECT_NE(table_.Cell({2023, 1, 1}), table_.Cell({2023, 1, 2}));
  EXPECT_NE(table_.Cell({2023, 1, 31}), table_.Cell({2023, 2, 1}));
}

TEST_F(DayTableTest, DaysThatExistAndDaysThatDoNot) {
  Load("2/29 閏日\r\n30 三十日\r\n31 三十一日\r\n");
  const struct {
    TDateRec date;
    Texts lines;
  } cases[] = {
      {{2024, 2, 29}, {"閏日"}},  // a leap year of the window
      {{2023, 2, 29}, {}},        // no such day: the cell exists and stays empty
      {{2025, 2, 29}, {}},
      {{2024, 2, 30}, {}},  // never, whatever falls on the 30th
      {{2024, 2, 31}, {}},
      {{2024, 1, 30}, {"三十日"}},
      {{2024, 3, 30}, {"三十日"}},
      {{2024, 4, 30}, {"三十日"}},
      {{2024, 4, 31}, {}},
      {{2024, 5, 31}, {"三十一日"}},
      {{2026, 12, 31}, {"三十一日"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(c.date), c.lines) << DateLabel(c.date);
}

TEST_F(DayTableTest, TheFilter) {
  Load(
      "2024/5/1 普通\r\n"
      "#2024/5/1 ハッシュ\r\n"
      "E:2024/5/1 カテゴリE\r\n"
      "D:2024/5/1 カテゴリD\r\n"
      "ﾚ2024/5/1 済み\r\n"
      "2024/5/3 三日 &d([/[/[-2)\r\n"  // a derived day on 5/1 (kind 4)
      "2024/5/1 あとで消す\r\n");
  // Deleted after the rebuild: its pack is still there, and set 0 hides it.
  list_.DeleteEntry(PositionOf("あとで消す"));

  const TFilterSet initial = table_.Filter();
  EXPECT_EQ(initial[0], (TSmallSet{0}));
  EXPECT_EQ(initial[4], (TSmallSet{0}));
  EXPECT_EQ(initial[5], (TSmallSet{0, 1, 2, 3}));
  EXPECT_EQ(initial[6], (TSmallSet{0, 1, 2, 3}));
  for (const std::size_t set : {1u, 2u, 3u, 7u}) EXPECT_TRUE(initial[set].Empty()) << set;

  const auto with = [&initial](std::size_t set, TSmallSet members) {
    TFilterSet filter = initial;
    filter[set] = members;
    return filter;
  };
  const struct {
    const char* name;
    TFilterSet filter;
    Texts lines;
  } cases[] = {
      {"initial", initial, {"普通", "カテゴリD", "済み"}},
      {"categories open", with(5, {}), {"普通", "カテゴリE", "カテゴリD", "済み"}},
      {"category E only", with(5, {4}), {"カテゴリE"}},
      {"derived days too", with(6, {}), {"普通", "カテゴリD", "済み", "三日まであと 2日"}},
      {"derived days only", with(6, {4}), {"三日まであと 2日"}},
      {"hash marks only", with(4, {1}), {"ハッシュ"}},
      {"deleted shown", with(0, {}), {"普通", "カテゴリD", "済み", "あとで消す"}},
      {"deleted only", with(0, {1}), {"あとで消す"}},
      {"checked only", with(1, {1}), {"済み"}},
      {"unchecked only", with(1, {0}), {"普通", "カテゴリD"}},
      {"the unnamed flags are 0", with(2, {0}), {"普通", "カテゴリD", "済み"}},
      {"a flag of 1 never", with(3, {1}), {}},
      {"file 0", with(7, {0}), {"普通", "カテゴリD", "済み"}},
      {"file 1", with(7, {1}), {}},
      {"values above 255 are never members", with(7, {300}), {"普通", "カテゴリD", "済み"}},
  };
  for (const auto& c : cases) {
    table_.SetFilter(c.filter);
    table_.Fill(nullptr);  // the packs it was given before
    EXPECT_EQ(Lines({2024, 5, 1}), c.lines) << c.name;
    // Every line knows its entry, and the lookup finds the entry at its line.
    for (std::size_t k = 0; k < c.lines.size(); ++k) {
      const TEntry* entry = table_.Cell({2024, 5, 1})->Info(int32_t(k)).Entry;
      ASSERT_NE(entry, nullptr) << c.name;
      EXPECT_EQ(c.lines[k].rfind(entry->Text, 0), 0u) << c.name;
      EXPECT_EQ(table_.LineOfEntry({2024, 5, 1}, entry->ListIndex), int32_t(k)) << c.name;
    }
  }
}

// A line that reads the same every day is held once for all its days, across cells and
// places within them; a refill makes the texts anew.
TEST_F(DayTableTest, LinesTheSameEveryDayShareOneText) {
  Load(
      "SA 土曜の用事\r\n"
      "2024/6/1~2024/6/3 旅行\r\n"
      "2024/6/2 一日だけ\r\n");
  const auto text_at = [&](TDateRec date, int32_t k) { return &table_.Cell(date)->Text(k); };
  EXPECT_EQ(Lines({2024, 6, 1}), (Texts{"土曜の用事", "旅行"}));
  EXPECT_EQ(Lines({2024, 6, 2}), (Texts{"旅行", "一日だけ"}));
  EXPECT_EQ(text_at({2024, 6, 1}, 0), text_at({2024, 6, 8}, 0));
  EXPECT_EQ(text_at({2024, 6, 1}, 1), text_at({2024, 6, 2}, 0));
  EXPECT_EQ(text_at({2024, 6, 1}, 1), text_at({2024, 6, 3}, 0));
  EXPECT_NE(text_at({2024, 6, 2}, 0), text_at({2024, 6, 2}, 1));
  Rebuild();
  EXPECT_EQ(Lines({2024, 6, 8}), (Texts{"土曜の用事"}));
  EXPECT_EQ(Lines({2024, 6, 3}), (Texts{"旅行"}));
}

TEST_F(DayTableTest, LinesOfADayInEntryListOrder) {
  Load(
      "2024/6/1 一\r\n"
      "6/1 二\r\n"
      "@2024/6/1 私\r\n"  // day-marked: first in the list
      "SA 三\r\n"         // 2024/6/1 is a Saturday
      "2024/6/2 翌日\r\n");
  EXPECT_EQ(Lines({2024, 6, 1}), (Texts{"私", "一", "二", "三"}));
  // The k-th line is the k-th entry of the list.
  const TCellLineList& cell = *table_.Cell({2024, 6, 1});
  for (int32_t k = 0; k < cell.Count(); ++k) EXPECT_EQ(cell.Info(k).Entry, list_.Entry(k)) << k;
}

TEST_F(DayTableTest, LineOfEntry) {
  Load(
      "2024/6/1 一\r\n"
      "E:2024/6/1 隠れ\r\n"
      "2024/6/1,2024/6/1 二度\r\n"  // two packs on one day: two lines
      "2024/6/1 三\r\n"
      "2024/6/2 翌日\r\n");
  EXPECT_EQ(Lines({2024, 6, 1}), (Texts{"一", "二度", "二度", "三"}));
  const struct {
    TDateRec date;
    const char* text;
    int32_t line;  // of its first line on the day
  } cases[] = {
      {{2024, 6, 1}, "一", 0},    {{2024, 6, 1}, "隠れ", -1},  // filtered out
      {{2024, 6, 1}, "二度", 1},  {{2024, 6, 1}, "三", 3},     // after both lines of 二度
      {{2024, 6, 1}, "翌日", -1}, {{2024, 6, 2}, "翌日", 0},   //
      {{2024, 6, 3}, "一", -1},   {{2030, 6, 1}, "一", -1},    // outside the window
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table_.LineOfEntry(c.date, PositionOf(c.text)), c.line)
        << DateLabel(c.date) << " " << c.text;
  }
  EXPECT_EQ(table_.LineOfEntry({2024, 6, 1}, 99), -1);
  // Focusing a day takes its first line's entry; focusing an entry selects its first line.
  table_.FocusDate({2024, 6, 1});
  EXPECT_EQ(table_.FocusedEntry(), PositionOf("一"));
  table_.FocusEntry(PositionOf("三"));
  EXPECT_EQ(table_.Cell({2024, 6, 1})->Selected(), 3);
}

TEST_F(DayTableTest, LinesByTime) {
  // Derived days too (kind 4), which show no time.
  TFilterSet filter = table_.Filter();
  filter[6] = {};
  table_.SetFilter(filter);
  // 2024/6/3 is a Monday.
  Load(
      "2024/6/3 終日\r\n"
      "2024/6/3 14:00 午後\r\n"
      "2024/6/3 9:30~10:00,7:00 朝\r\n"  // its first time counts
      "2024/6/3 14:00 午後二\r\n"        // the same time: file order
      "2024/6/3 メモ\r\n"
      "2024/6/3 2:00PM 十二時間\r\n"  // 14:00 too
      "2024/6/3 25:00 深夜\r\n"       // after midnight: after 23:59
      "2024/6/3 0:00 零時\r\n"
      "MO 8:00 毎週\r\n"
      "2024/6/10 8:00 派生 &d([/[/[-7)\r\n");  // its derived day 6/3 shows no time
  const Texts file_order{"終日",     "午後", "朝",   "午後二", "メモ",
                         "十二時間", "深夜", "零時", "毎週",   "派生"};
  const Texts by_time{"零時",     "毎週", "朝",   "午後", "午後二",
                      "十二時間", "深夜", "終日", "メモ", "派生"};
  EXPECT_FALSE(table_.SortByTime());
  EXPECT_EQ(EntryTexts({2024, 6, 3}), file_order);
  const Texts lines = Lines({2024, 6, 3});

  table_.SetSortByTime(true);
  table_.Fill(nullptr);
  EXPECT_EQ(EntryTexts({2024, 6, 3}), by_time);
  // The lines move with their entries.
  EXPECT_EQ(Lines({2024, 6, 3})[0], lines[7]);
  // The lookups follow the order shown.
  EXPECT_EQ(table_.LineOfEntry({2024, 6, 3}, PositionOf("零時")), 0);
  EXPECT_EQ(table_.LineOfEntry({2024, 6, 3}, PositionOf("終日")), 7);
  table_.FocusDate({2024, 6, 3});
  EXPECT_EQ(table_.FocusedEntry(), PositionOf("零時"));
  EXPECT_EQ(EntryTexts({2024, 6, 10}), (Texts{"毎週", "派生"}));

  table_.SetSortByTime(false);
  table_.Fill(nullptr);
  EXPECT_EQ(Lines({2024, 6, 3}), lines);
}

TEST_F(DayTableTest, FindEntryDate) {
  Load(
      "2024/7/9,2024/7/11 両側\r\n"
      "2024/7/12 二日後\r\n"
      "2024/7/10 当日\r\n"
      "E:2024/7/10 見えない\r\n"
      "2026/12/30 窓の最後の前日\r\n"
      "2023/1/2 窓の二日目\r\n"
      "2023/1/1,2026/12/31 窓の両端\r\n");
  const struct {
    const char* text;
    TDateRec from;
    std::optional<TDateRec> day;
  } cases[] = {
      {"両側", {2024, 7, 10}, TDateRec{2024, 7, 9}},  // one day each way: the earlier
      {"両側", {2024, 7, 11}, TDateRec{2024, 7, 11}},
      {"二日後", {2024, 7, 10}, TDateRec{2024, 7, 12}},
      {"当日", {2024, 7, 10}, TDateRec{2024, 7, 10}},
      {"当日", {2023, 1, 1}, TDateRec{2024, 7, 10}},
      {"見えない", {2024, 7, 10}, std::nullopt},
      // Near the ends of the window the other direction goes on searching.
      {"窓の最後の前日", {2026, 12, 31}, TDateRec{2026, 12, 30}},
      {"窓の二日目", {2023, 1, 1}, TDateRec{2023, 1, 2}},
      {"窓の両端", {2025, 1, 1}, TDateRec{2026, 12, 31}},  // 729 days forward, 731 back
      {"窓の両端", {2024, 12, 31}, TDateRec{2023, 1, 1}},  // 730 days each way: the earlier
      // From outside the window the search walks into it.
      {"当日", {2022, 6, 1}, TDateRec{2024, 7, 10}},
      {"当日", {2027, 3, 1}, TDateRec{2024, 7, 10}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table_.FindEntryDate(PositionOf(c.text), c.from), c.day)
        << c.text << " from " << DateLabel(c.from);
  }
  // No entry at that position, or no real day to start from.
  for (const TDateRec from : {TDateRec{2024, 7, 10}, kNullDate, TDateRec{2024, 2, 30}}) {
    EXPECT_EQ(table_.FindEntryDate(99, from), std::nullopt);
  }
  EXPECT_EQ(table_.FindEntryDate(PositionOf("当日"), kNullDate), std::nullopt);
}

TEST_F(DayTableTest, FocusDateAndFocusEntry) {
  Load(
      "2024/6/1 一\r\n"
      "2024/6/1 二\r\n"
      "2024/6/3 三\r\n"
      "2024/6/3 四\r\n"
      "E:2024/6/3 隠れ\r\n");
  table_.FocusDate({2024, 6, 1});
  EXPECT_EQ(table_.FocusedDate(), (TDateRec{2024, 6, 1}));
  EXPECT_EQ(table_.FocusedEntry(), PositionOf("一"));
  table_.FocusDate({2024, 6, 2});  // an empty day
  EXPECT_EQ(table_.FocusedDate(), (TDateRec{2024, 6, 2}));
  EXPECT_EQ(table_.FocusedEntry(), -1);
  table_.FocusDate({2030, 1, 1});  // outside the window: nothing changes
  EXPECT_EQ(table_.FocusedDate(), (TDateRec{2024, 6, 2}));
  EXPECT_EQ(table_.FocusedEntry(), -1);

  table_.FocusDate({2024, 6, 1});
  table_.FocusEntry(PositionOf("四"));
  EXPECT_EQ(table_.FocusedDate(), (TDateRec{2024, 6, 3}));
  EXPECT_EQ(table_.FocusedEntry(), PositionOf("四"));
  EXPECT_EQ(table_.Cell({2024, 6, 3})->Selected(), 1);
  // An entry shown nowhere: nothing changes.
  table_.FocusEntry(PositionOf("隠れ"));
  EXPECT_EQ(table_.FocusedDate(), (TDateRec{2024, 6, 3}));
  EXPECT_EQ(table_.FocusedEntry(), PositionOf("四"));
  EXPECT_EQ(table_.Cell({2024, 6, 3})->Selected(), 1);
  // A refill puts every cell back on its first line.
  table_.Fill(nullptr);
  EXPECT_EQ(table_.Cell({2024, 6, 3})->Selected(), 0);
}

TEST_F(DayTableTest, LineRecords) {
  Load(
      "A:2024/6/1 ランクA\r\n"
      "B:2024/6/1 ランクB &x(a.txt)\r\n"
      "ﾚ2024/6/1 済み &f(ＭＳ 明朝,12,Bold)\r\n"
      "2024/6/1 メモ付き\r\n"
      "%\r\n"
      "メモの行\r\n"
      "%\r\n");
  const TCellLineList& cell = *table_.Cell({2024, 6, 1});
  ASSERT_EQ(cell.Count(), 4);
  const struct {
    bool rank_a, rank_b, checked, memo, rel_files, font;
  } cases[] = {
      {true, false, false, false, false, false},
      {false, true, false, false, true, false},
      {false, false, true, false, false, true},
      {false, false, false, true, false, false},
  };
  for (int32_t i = 0; i < 4; ++i) {
    const TLineInfo& info = cell.Info(i);
    const auto& c = cases[i];
    EXPECT_EQ(info.RankA, c.rank_a) << i;
    EXPECT_EQ(info.RankB, c.rank_b) << i;
    EXPECT_EQ(info.Checked, c.checked) << i;
    EXPECT_EQ(info.HasMemo, c.memo) << i;
    EXPECT_EQ(info.HasRelFiles, c.rel_files) << i;
    EXPECT_EQ(info.Font != nullptr, c.font) << i;
    EXPECT_FALSE(info.HasPicture);
    EXPECT_EQ(info.Entry, list_.Entry(i)) << i;
  }
  ASSERT_NE(cell.Info(2).Font, nullptr);
  EXPECT_EQ(cell.Info(2).Font->Size, 12);
  EXPECT_TRUE(cell.Info(2).Font->Bold);
}

TEST_F(DayTableTest, TheDisplayReachesEveryCellAndStays) {
  Load("1 毎月一日\r\n");
  TCellDisplay display;
  display.Wrap = true;
  display.Spacing = 7;
  display.Percent = 150;
  display.IconVisible.fill(false);
  display.Font.Name = "IPAGothic";
  display.Font.Size = 13;
  display.SelectColor = 0x00FFFF;
  table_.SetDisplay(display);
  table_.Cell({2024, 1, 1})->SetSelected(3);
  table_.Fill(nullptr);

  int32_t cells = 0;
  for (int32_t year = kFirstYear; year < kFirstYear + TDayTable::kYearCount; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= 31; ++day) {
        const TCellLineList* cell = table_.Cell({year, month, day});
        ASSERT_NE(cell, nullptr);
        ++cells;
        SCOPED_TRACE(DateLabel({year, month, day}));
        EXPECT_EQ(cell->Display(), display);
        EXPECT_EQ(cell->Selected(), 0);
        EXPECT_EQ(cell->TopLine(), 0);
        EXPECT_EQ(cell->Count(), day == 1 ? 1 : 0);
      }
    }
  }
  EXPECT_EQ(cells, TDayTable::kCellCount);
}

TEST(CellDisplayOf, EachIconSettingGovernsItsSlots) {
  const struct {
    bool TScheduleSettings::*setting;
    std::vector<int32_t> slots;
  } cases[] = {
      {&TScheduleSettings::CheckedIconVisible, {kIconChecked}},
      {&TScheduleSettings::RankIconVisible, {kIconRankA, kIconRankB}},
      {&TScheduleSettings::MemoIconVisible, {kIconMemo}},
      {&TScheduleSettings::RelFilesIconVisible, {kIconRelFiles}},
      {&TScheduleSettings::MarkIconVisible, {kIconMark}},
      {&TScheduleSettings::DataIconVisible, {kIconPicture}},
  };
  for (const auto& c : cases) {
    TScheduleSettings settings;
    settings.*c.setting = false;
    const TCellDisplay display = CellDisplayOf(settings, TFontSpec{}, 0);
    for (int32_t slot = 0; slot < kIconSlotCount; ++slot) {
      const bool hidden = std::find(c.slots.begin(), c.slots.end(), slot) != c.slots.end();
      EXPECT_EQ(display.IconVisible[slot], !hidden) << "slot " << slot;
    }
  }
}

TEST(CellDisplayOf, TheLineSettingsTheFontAndTheHighlight) {
  TScheduleSettings settings;
  settings.Wrap = true;
  settings.Spacing = 5;
  settings.Percent = 120;
  TFontSpec font;
  font.Name = "IPAGothic";
  font.Color = 0x123456;
  const TCellDisplay display = CellDisplayOf(settings, font, 0xABCDEF);
  EXPECT_TRUE(display.Wrap);
  EXPECT_EQ(display.Spacing, 5);
  EXPECT_EQ(display.Percent, 120);
  EXPECT_EQ(display.Font, font);
  EXPECT_EQ(display.SelectColor, 0xABCDEFu);
}

TEST_F(DayTableTest, MovingTheWindow) {
  Load("7/7 七夕\r\n");
  EXPECT_EQ(Lines({2023, 7, 7}), (Texts{"七夕"}));
  // The packs of the new years, then the cells of the new window. The build moves the
  // calendar's holidays along: 2040 is known now.
  EXPECT_FALSE(calendar_.IsHoliday({2040, 1, 1}));
  list_.SetTable(calendar_, 2030, TDayTable::kYearCount);
  EXPECT_EQ(calendar_.FirstYear(), 2030);
  EXPECT_TRUE(calendar_.IsHoliday({2040, 1, 1}));
  table_.SetFirstYear(2030);
  table_.Fill(&list_.DatePacks());
  EXPECT_EQ(Lines({2023, 7, 7}), (Texts{"(none)"}));
  EXPECT_EQ(Lines({2030, 7, 7}), (Texts{"七夕"}));
  EXPECT_EQ(Lines({2033, 7, 7}), (Texts{"七夕"}));
  // Packs of years outside the window are not filed.
  list_.SetTable(calendar_, 2029, 6);
  table_.Fill(&list_.DatePacks());
  EXPECT_EQ(Lines({2030, 7, 7}), (Texts{"七夕"}));
  EXPECT_EQ(Lines({2029, 7, 7}), (Texts{"(none)"}));
}

// Switching the calendar: the holidays the conditions and moves test, the codes' eras and old
// dates, and the private marks, which the switch drops and the next build sets again.
TEST_F(DayTableTest, TheCalendarKindReachesConditionsCodesAndMarks) {
  Load(
      "2026/2/1~2026/2/28 祝日 &&(HD)\r\n"
      "2026/12/7 %o %i %h\r\n"
      "@2026/3/3 休み\r\n"
      "2026/3/1~2026/3/5 私休 &&(PH)\r\n"
      "2026/9/21 敬 &&>(HD)\r\n");
  const struct {
    TDateRec date;
    Texts classic, current;
  } cases[] = {
      {{2026, 2, 11}, {"祝日"}, {"祝日"}},
      {{2026, 2, 23}, {}, {"祝日"}},
      {{2026, 12, 7}, {"  平成38年"}, {"友引 旧10/29 令和8年"}},
      {{2026, 3, 3}, {"休み", "私休"}, {"休み", "私休"}},
      // 敬老の日, 国民の休日 and 秋分の日 in a row today; a plain Monday in the classic table.
      {{2026, 9, 21}, {"敬"}, {}},
      {{2026, 9, 24}, {}, {"敬"}},
  };
  for (const TCalendarKind kind : {TCalendarKind::kClassic, TCalendarKind::kCurrent}) {
    calendar_.SetKind(kind);
    table_.SetCalendarKind(kind);
    Rebuild();
    for (const auto& c : cases) {
      EXPECT_EQ(Lines(c.date), kind == TCalendarKind::kCurrent ? c.current : c.classic)
          << DateLabel(c.date) << (kind == TCalendarKind::kCurrent ? " current" : " classic");
    }
  }
}

// ---- The entry list's rebuild of the packs ---------------------------------------------------

TEST_F(DayTableTest, SetTableStoresPositionsAndReportsProgress) {
  Load(
      "1/1 a\r\n"
      ";1/2 消した\r\n"
      "1/3 c\r\n"
      "2024/13/1 誤り\r\n"
      "1/5 e\r\n"
      "1/6 f\r\n"
      "1/7 g\r\n"
      "1/8 h\r\n");
  ASSERT_EQ(list_.Count(), 8);
  for (int32_t i = 0; i < list_.Count(); ++i) list_.Entry(i)->ListIndex = -7;
  std::vector<std::pair<int32_t, int32_t>> calls;
  list_.OnSetTable = [&calls, this](TEntryList& sender, int32_t index, int32_t rate) {
    EXPECT_EQ(&sender, &list_);
    calls.emplace_back(index, rate);
  };
  list_.SetTable(calendar_, kFirstYear, TDayTable::kYearCount);
  for (int32_t i = 0; i < list_.Count(); ++i) EXPECT_EQ(list_.Entry(i)->ListIndex, i);
  // Not for the deleted entry (1) nor the one that did not parse (3); (i + 1) / 8 in percent,
  // halves to even: 12.5 -> 12, 37.5 -> 38, 62.5 -> 62, 87.5 -> 88.
  EXPECT_EQ(calls, (std::vector<std::pair<int32_t, int32_t>>{
                       {0, 12}, {2, 38}, {4, 62}, {5, 75}, {6, 88}, {7, 100}}));

  // The packs in list order, each entry's in the order of its days.
  std::vector<std::string> packs;
  for (const TDatePack& pack : list_.DatePacks().Packs()) {
    packs.push_back(std::to_string(pack.Entry->ListIndex) + " " + DateLabel(pack.Date()));
  }
  std::vector<std::string> expected;
  for (const auto& [index, day] :
       std::vector<std::pair<int, int>>{{0, 1}, {2, 3}, {4, 5}, {5, 6}, {6, 7}, {7, 8}}) {
    for (int32_t year = 2023; year <= 2026; ++year) {
      expected.push_back(std::to_string(index) + " " + DateLabel({year, 1, day}));
    }
  }
  EXPECT_EQ(packs, expected);
}

TEST_F(DayTableTest, PrivateHolidaysAreMarkedAsTheyCome) {
  Load("2024/5/6~2024/5/8 私休の日だけ &&(PH)\r\n");
  // A day-marked entry added behind it: read after it on the next rebuild.
  auto marked = std::make_unique<TEntry>();
  ASSERT_FALSE(marked->ParseLine("@2024/5/7 休み").Failed());
  ASSERT_EQ(list_.AddEntry(-1, std::move(marked)), 1);

  calendar_ = TCalendar(kToday);  // no marks
  Rebuild();
  EXPECT_EQ(Lines({2024, 5, 7}), (Texts{"休み"}));  // the first entry saw no mark yet
  EXPECT_TRUE(calendar_.IsPrivateHoliday({2024, 5, 7}));
  EXPECT_FALSE(calendar_.IsPrivateHoliday({2024, 5, 6}));
  EXPECT_FALSE(calendar_.IsPrivateHoliday({2024, 5, 8}));

  // The marks stay while the calendar's window stays; now the first entry sees it.
  Rebuild();
  EXPECT_EQ(Lines({2024, 5, 6}), (Texts{}));
  EXPECT_EQ(Lines({2024, 5, 7}), (Texts{"私休の日だけ", "休み"}));
  EXPECT_EQ(Lines({2024, 5, 8}), (Texts{}));

  // Loaded from a file, a day-marked entry stands first and every later entry sees its days.
  calendar_ = TCalendar(kToday);
  Load(
      "2024/5/6~2024/5/8 私休の日だけ &&(PH)\r\n"
      "@2024/5/7 休み\r\n");
  EXPECT_EQ(Lines({2024, 5, 7}), (Texts{"休み", "私休の日だけ"}));
}

// ---- Cells made on first use ---------------------------------------------------------------

// What a table shows in every cell of its window, cell by cell; the cells are read in the
// order given (which is the order they are made in after a Fill).
struct TCellShown {
  std::vector<std::string> Texts;
  std::vector<const TEntry*> Entries;
  int32_t Selected = 0;
  int32_t TopLine = 0;
  friend bool operator==(const TCellShown&, const TCellShown&) = default;
};

std::vector<TCellShown> ShownCells(const TDayTable& table, bool backwards) {
  std::vector<TCellShown> cells(TDayTable::kCellCount);
  for (int32_t i = 0; i < TDayTable::kCellCount; ++i) {
    const int32_t k = backwards ? TDayTable::kCellCount - 1 - i : i;
    const TDateRec date{table.FirstYear() + k / (12 * 31), k / 31 % 12 + 1, k % 31 + 1};
    const TCellLineList* cell = table.Cell(date);
    TCellShown& shown = cells[static_cast<std::size_t>(k)];
    for (int32_t line = 0; line < cell->Count(); ++line) {
      shown.Texts.push_back(cell->Text(line));
      shown.Entries.push_back(cell->Info(line).Entry);
    }
    shown.Selected = cell->Selected();
    shown.TopLine = cell->TopLine();
  }
  return cells;
}

// Entries of every kind a cell can show: fixed texts on many days, codes read on each day and
// in the calendar's eras, periods, times, a derived day, categories, checked and hash marks.
constexpr std::string_view kVariedFile =
    "2024/6/3 終日\r\n"
    "2024/6/3 14:00 午後\r\n"
    "MO 8:00 毎週\r\n"
    "2024/6/10 8:00 派生 &d([/[/[-7)\r\n"
    "2024/6/1~2024/6/20 9:00 旅行\r\n"
    "E:6/5 カテゴリE\r\n"
    "ﾚ2024/6/4 7:00 済み\r\n"
    "#6/6 ハッシュ\r\n"
    "6/7 %h 記念\r\n"
    "TU,TH 10:00 会議\r\n"
    "2025/6/3 0:30 来年\r\n";

struct TFillSettings {
  const char* name;
  TFilterSet filter;
  bool by_time;
  TCalendarKind kind;
};

std::vector<TFillSettings> VariedSettings() {
  const TFilterSet initial = InitialScheduleSettings().Filter;
  TFilterSet open = initial;
  open[5] = {};  // every category
  open[6] = {};  // derived days too
  TFilterSet hash_only = initial;
  hash_only[4] = {1};
  return {{"initial", initial, false, TCalendarKind::kClassic},
          {"open, by time", open, true, TCalendarKind::kClassic},
          {"open, current calendar", open, false, TCalendarKind::kCurrent},
          {"hash marks only, by time", hash_only, true, TCalendarKind::kCurrent}};
}

void Apply(TDayTable& table, const TFillSettings& settings) {
  table.SetFilter(settings.filter);
  table.SetSortByTime(settings.by_time);
  table.SetCalendarKind(settings.kind);
}

// A table made lazily shows what one that made all its cells right after its Fill shows,
// whatever the settings changed after the Fill, whichever cells were made before a refill and
// in whatever order its cells are read.
TEST_F(DayTableTest, CellsMadeOnFirstUseShowWhatTheFillFiled) {
  Load(kVariedFile);
  const std::vector<TFillSettings> settings = VariedSettings();
  std::vector<std::vector<TCellShown>> at_once;
  for (const TFillSettings& s : settings) {
    TDayTable eager(kFirstYear);
    Apply(eager, s);
    eager.Fill(&list_.DatePacks());
    at_once.push_back(ShownCells(eager, false));
  }
  // Each setting changes what some cell shows, so a table that ignored one would fail.
  for (std::size_t a = 0; a < settings.size(); ++a) {
    for (std::size_t b = a + 1; b < settings.size(); ++b) {
      EXPECT_NE(at_once[a], at_once[b]) << settings[a].name << " / " << settings[b].name;
    }
  }
  for (std::size_t a = 0; a < settings.size(); ++a) {
    for (std::size_t b = 0; b < settings.size(); ++b) {
      SCOPED_TRACE(std::string(settings[a].name) + " then " + settings[b].name);
      TDayTable table(kFirstYear);
      Apply(table, settings[a]);
      table.Fill(&list_.DatePacks());
      // Some cells made and selected before the settings change; they wait for the Fill.
      for (int32_t day = 1; day <= 10; ++day) table.Cell({2024, 6, day})->SetSelected(day);
      Apply(table, settings[b]);
      std::vector<TCellShown> expected = at_once[a];
      for (int32_t day = 1; day <= 10; ++day) {
        expected[static_cast<std::size_t>((1 * 12 + 5) * 31 + day - 1)].Selected = day;
      }
      EXPECT_EQ(ShownCells(table, true), expected);
      table.Fill(nullptr);
      EXPECT_EQ(ShownCells(table, (a + b) % 2 == 0), at_once[b]);
    }
  }
}

// Looking for an entry's day does not need the cells' lines, but finds what they show: the
// nearest day with a line of the entry, the earlier one of two as near.
TEST_F(DayTableTest, FindEntryDateAgreesWithTheLinesShown) {
  Load(kVariedFile);
  for (const TFillSettings& s : VariedSettings()) {
    TDayTable lookup(kFirstYear);
    Apply(lookup, s);
    lookup.Fill(&list_.DatePacks());
    TDayTable shown(kFirstYear);
    Apply(shown, s);
    shown.Fill(&list_.DatePacks());
    for (int32_t position = 0; position < list_.Count(); ++position) {
      for (const TDateRec from : {TDateRec{2024, 6, 12}, TDateRec{2023, 1, 1}}) {
        SCOPED_TRACE(std::string(s.name) + " entry " + std::to_string(position) + " from " +
                     DateLabel(from));
        TDateRec nearest = from;
        bool found = false;
        for (int32_t distance = 0; !found && distance < 4 * 366; ++distance) {
          for (const int32_t step : {-distance, distance}) {
            const TDateRec day = AddDays(from, step);
            if (!found && shown.LineOfEntry(day, position) >= 0) {
              nearest = day;
              found = true;
            }
          }
        }
        EXPECT_EQ(lookup.FindEntryDate(position, from),
                  found ? std::optional<TDateRec>(nearest) : std::nullopt);
      }
    }
  }
}

// A cell asked for while the entry list builds its packs anew (before the Fill that follows)
// does not read the packs being built: it shows nothing until then.
TEST_F(DayTableTest, ACellAskedForBetweenBuildAndFillShowsNothing) {
  Load("MO 毎週\r\n");
  list_.SetTable(calendar_, 2030, TDayTable::kYearCount);
  EXPECT_EQ(Lines({2024, 6, 3}), Texts{});
  EXPECT_EQ(table_.FindEntryDate(0, {2024, 6, 5}), std::nullopt);
  table_.Fill(&list_.DatePacks());
  EXPECT_EQ(Lines({2024, 6, 3}), Texts{});
  table_.SetFirstYear(2030);
  table_.Fill(nullptr);
  EXPECT_EQ(Lines({2030, 6, 3}), (Texts{"毎週"}));
}

}  // namespace
}  // namespace pelo
