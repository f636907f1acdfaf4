// Searching the whole calendar, inside and outside the day table's years, for a text's days.
#include "schedule/RowSearches.h"

#include <gtest/gtest.h>

#include <optional>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayTables.h"
#include "schedule/ScheduleSettings.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;

constexpr TDateRec kToday{2024, 5, 1};
constexpr int32_t kTableFirstYear = 2023;

constexpr const char* kData =
    "1600/3/3 古い予定\n"
    "ﾚ2026/12/10 年賀状を買う\n"
    "2140/1/1 遠い予定 年賀状\n"
    "12/25 ｸﾘｽﾏｽ%y\n"
    "2024/5/3 近い予定\n"
    "1582/11/1 最初の日\n"
    "2150/12/31 最後の日\n";

// The list loaded on 2024/5/1 with the day table's packs of 2023..2026.
class CalendarSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(list_.LoadFromFile(folder_.WriteCp932("a.nrk", kData)));
    list_.SetTable(calendar_, kTableFirstYear, TDayTable::kYearCount);
  }

  TCalendarSearch Search(const char* text, bool with_table = true,
                         const TCodeCharacters* code_characters = nullptr) {
    return TCalendarSearch(list_, calendar_, filter_, text, kTableFirstYear,
                           with_table ? &list_.DatePacks() : nullptr, code_characters);
  }

  TCalendar calendar_{kToday};
  TFilterSet filter_ = TScheduleSettings{}.Filter;
  TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
};

TEST_F(CalendarSearchTest, NextDayAnywhereInTheCalendar) {
  const struct {
    const char* text;
    TDateRec from;
    int32_t direction;
    std::optional<TDateRec> found;
  } cases[] = {
      // Behind the table's years, and before them.
      {"年賀状", {2031, 1, 1}, -1, TDateRec{2026, 12, 10}},
      {"年賀状", {2031, 1, 1}, 1, TDateRec{2140, 1, 1}},
      {"年賀状", {2140, 1, 1}, 1, std::nullopt},
      {"古い", {2150, 12, 31}, -1, TDateRec{1600, 3, 3}},
      {"古い", {1583, 1, 1}, 1, TDateRec{1600, 3, 3}},
      {"古い", {1600, 3, 3}, -1, std::nullopt},
      {"古い", {1600, 3, 3}, 1, std::nullopt},
      // The calendar's first and last day.
      {"の日", {2000, 1, 1}, -1, TDateRec{1582, 11, 1}},
      {"の日", {2000, 1, 1}, 1, TDateRec{2150, 12, 31}},
      // Inside the table's years, from the cursor's day on.
      {"予定", {2024, 5, 1}, 1, TDateRec{2024, 5, 3}},
      {"予定", {2024, 5, 3}, -1, TDateRec{1600, 3, 3}},
      {"予定", {2024, 5, 3}, 1, TDateRec{2140, 1, 1}},
      // A code's text differs from day to day: only the day that shows it.
      {"ｸﾘｽﾏｽ1700", {2024, 5, 1}, -1, TDateRec{1700, 12, 25}},
      {"クリスマス2100", {2024, 5, 1}, 1, TDateRec{2100, 12, 25}},
      {"クリスマス", {2024, 12, 25}, 1, TDateRec{2025, 12, 25}},
      {"クリスマス", {2150, 12, 31}, -1, TDateRec{2150, 12, 25}},
      {"どこにもない", {2024, 5, 1}, 1, std::nullopt},
      {"", {2024, 5, 1}, 1, std::nullopt},
  };
  const TCodeCharacters code_characters;
  const TCodeCharacters* const kNoCodeCharacters = nullptr;
  for (const auto& c : cases) {
    for (const bool with_table : {true, false}) {
      for (const TCodeCharacters* characters : {&code_characters, kNoCodeCharacters}) {
        TCalendarSearch search = Search(c.text, with_table, characters);
        EXPECT_EQ(search.NextDay(c.from, c.direction), c.found)
            << c.text << " from " << DayNumber(c.from) << " by " << c.direction;
      }
    }
  }
}

TEST_F(CalendarSearchTest, RowsInDayOrderUpToTheLimit) {
  const auto dates = [](const std::vector<TDayRow>& rows) {
    std::vector<TDateRec> dates;
    for (const TDayRow& row : rows) dates.push_back(row.Date);
    return dates;
  };
  TCalendarSearch christmas = Search("クリスマス");
  const std::vector<TDayRow> first = christmas.Rows(kFirstCalendarDate, kLastCalendarDate, 3);
  EXPECT_EQ(dates(first), (std::vector<TDateRec>{{1582, 12, 25}, {1583, 12, 25}, {1584, 12, 25}}));
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[1].Text, "ｸﾘｽﾏｽ1583");
  EXPECT_EQ(christmas.Rows(kFirstCalendarDate, kLastCalendarDate, 1000).size(), 569u);
  std::vector<TDateRec> christmases;
  for (int32_t year = 2026; year <= 2031; ++year) christmases.push_back({year, 12, 25});
  EXPECT_EQ(dates(christmas.Rows({2025, 12, 26}, {2031, 12, 25}, 1000)), christmases);

  TCalendarSearch planned = Search("予定");
  EXPECT_EQ(dates(planned.Rows(kFirstCalendarDate, kLastCalendarDate, 100)),
            (std::vector<TDateRec>{{1600, 3, 3}, {2024, 5, 3}, {2140, 1, 1}}));
  EXPECT_EQ(dates(planned.Rows({2024, 1, 1}, {2024, 12, 31}, 100)),
            (std::vector<TDateRec>{{2024, 5, 3}}));
  EXPECT_TRUE(Search("").Rows(kFirstCalendarDate, kLastCalendarDate, 100).empty());
}

TEST(CodeCharactersTest, HoldsWhatTheCodesWrite) {
  const TCodeCharacters characters;
  const struct {
    char32_t c;
    bool held;
  } cases[] = {
      {U'0', true},  {U'9', true},   {U' ', true},   // counts, and the blank before a code string
      {U'平', true}, {U'令', true},  {U'明', true},  // eras of both calendars
      {U'閏', true}, {U'旧', true},                  // the old calendar
      {U'仏', true}, {U'座', true},  {U'辰', true},  // rokuyo, signs, the zodiac's animals
      {U'還', true}, {U'忌', true},  {U'学', true},  // ages, memorials, school years
      {U'ダ', true}, {U'さ', true},                  // wedding anniversaries
      {U'経', true}, {U'あ', true},                  // the distance of a derived day
      {U'タ', true},                                 // half-width kana come folded
      {U'ﾀ', false}, {U'ひ', false}, {U'会', false}, {U'x', false}, {U'%', false},
  };
  for (const auto& c : cases) EXPECT_EQ(characters.Holds(c.c), c.held) << int(c.c);
}

TEST(EntryMatcherTest, WalksOnlyTheEntriesThatMayMatch) {
  TempFolder folder;
  RecordingNotices notices;
  TEntryList list(notices, kToday);
  ASSERT_TRUE(list.LoadFromFile(folder.WriteCp932("a.nrk",
                                                  "5/5 端午\n"
                                                  "6/1 記念日 %y\n"
                                                  "7/1 会議 &o(%t)\n"
                                                  "8/1 会合 &d([/[/[-7)\n"
                                                  "10:00 9/1 朝会\n")));
  const TCodeCharacters characters;
  const struct {
    const char* text;
    std::vector<int32_t> candidates;  // lines
  } cases[] = {
      {"端午", {1}},
      {"会", {3, 4, 5}},      // in the lines
      {"2024", {2, 3, 4}},    // only through codes
      {"会議 第2回", {3}},    // partly the entry's own
      {"ひな祭り", {}},       // no code writes ひ
      {"10:00 朝", {5}},      // the times as shown
      {"会合まであと", {4}},  // a derived day's distance
      {"", {}},
  };
  for (const auto& c : cases) {
    TEntryMatcher matcher(list, c.text, TCalendarKind::kClassic, &characters);
    std::vector<int32_t> lines;
    for (const TEntry* entry : matcher.Candidates()) lines.push_back(entry->LineNo);
    EXPECT_EQ(lines, c.candidates) << c.text;
  }
}

}  // namespace
}  // namespace pelo
