// The pieces of pelo-agenda's output: clock times and event times, the iCalendar text rules,
// the three formats on a small file, and the rows against what the day table's cells hold.
#include "AgendaOutputs.h"

#include <gtest/gtest.h>

#include "AgendaInputs.h"
#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "entries/Times.h"
#include "schedule/CellLineLists.h"
#include "schedule/DayTables.h"
#include "schedule/ScheduleSettings.h"

namespace pelo::agenda {
namespace {

using test::RecordingNotices;
using test::TempFolder;

TEST(AgendaIcsPieces, ClockMinutes) {
  const struct {
    TTime time;
    int32_t minutes;
  } cases[] = {
      {{9, 0, false}, 540},    {{0, 0, false}, 0},  {{26, 0, false}, 1560},
      {{30, 59, false}, 1859}, {{9, 5, true}, 545},  // 9:05am
      {{21, 0, true}, 1260},                         // 9:00pm
      {{24, 0, true}, 720},                          // 12:00pm, shown 0:00pm: noon
      {{12, 30, true}, 750},                         // 12:30am, also shown 0:30pm
      {{25, 0, true}, 780},                          // 13:00pm, shown 1:00pm
      {{42, 0, true}, 1080},                         // 30:00pm, shown 6:00pm
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockMinutes(c.time), c.minutes) << c.time.Hour << ":" << c.time.Minute;
  }
}

TEST(AgendaIcsPieces, EventTimes) {
  const TDateRec day{2026, 5, 11};
  const struct {
    TTime start;
    std::optional<TTime> end;
    TDateRec start_date;
    int32_t start_minutes;
    TDateRec end_date;
    int32_t end_minutes;
  } cases[] = {
      {{10, 0}, TTime{11, 30}, day, 600, day, 690},
      {{26, 0}, std::nullopt, {2026, 5, 12}, 120, {}, 0},
      {{23, 30}, TTime{1, 0}, day, 1410, {2026, 5, 12}, 60},
      {{18, 0}, TTime{9, 0}, day, 1080, {2026, 5, 12}, 540},
      {{10, 0}, TTime{10, 0}, day, 600, {2026, 5, 12}, 600},          // not after: the next day
      {{9, 0}, TTime{26, 0}, day, 540, {2026, 5, 12}, 120},           // 26:00 is tomorrow anyway
      {{26, 0}, TTime{1, 0}, {2026, 5, 12}, 120, {2026, 5, 13}, 60},  // after the start's day
      {{24, 0}, TTime{24, 0}, {2026, 5, 12}, 0, {2026, 5, 13}, 0},
      {{30, 0}, TTime{30, 30}, {2026, 5, 12}, 360, {2026, 5, 12}, 390},
  };
  for (const auto& c : cases) {
    const TEventTimes times = EventTimes(day, c.start, c.end ? &*c.end : nullptr);
    SCOPED_TRACE(testing::Message() << c.start.Hour << ":" << c.start.Minute);
    EXPECT_EQ(times.StartDate, c.start_date);
    EXPECT_EQ(times.StartMinutes, c.start_minutes);
    EXPECT_EQ(times.HasEnd, c.end.has_value());
    if (c.end) {
      EXPECT_EQ(times.EndDate, c.end_date);
      EXPECT_EQ(times.EndMinutes, c.end_minutes);
    }
  }
  // The last day of the calendar still has a next day to end on.
  const TEventTimes last = EventTimes({2150, 12, 31}, {23, 0}, nullptr);
  EXPECT_EQ(last.StartDate, (TDateRec{2150, 12, 31}));
  const TTime one{1, 0};
  EXPECT_EQ(EventTimes({2150, 12, 31}, {23, 0}, &one).EndDate, (TDateRec{2151, 1, 1}));
}

TEST(AgendaIcsPieces, EscapeText) {
  const struct {
    std::string_view in, out;
  } cases[] = {
      {"plain 会議", "plain 会議"},
      {"a,b;c\\d", "a\\,b\\;c\\\\d"},
      {"two\nlines", "two\\nlines"},
      {"crlf\r\nend", "crlf\\nend"},
      {"cr\rend", "cr\\nend"},
      {"tab\tstays", "tab\tstays"},
      {std::string_view("nul\0bell\x07", 9), "nul bell "},
      {"del\x7F", "del "},
      {"\\n is no newline", "\\\\n is no newline"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeIcsText(c.in), c.out) << c.in;
}

TEST(AgendaIcsPieces, FoldsAt75OctetsBetweenCharacters) {
  const std::string a75(75, 'a');
  EXPECT_EQ(FoldIcsLine(a75), a75 + "\r\n");
  EXPECT_EQ(FoldIcsLine(a75 + "b"), a75 + "\r\n b\r\n");
  // A continuation holds the blank and 74 more octets.
  EXPECT_EQ(FoldIcsLine(a75 + std::string(74, 'b') + "c"),
            a75 + "\r\n " + std::string(74, 'b') + "\r\n c\r\n");
  std::string kanji;
  for (int i = 0; i < 30; ++i) kanji += "漢";  // 90 octets
  // 25 characters are exactly 75 octets.
  EXPECT_EQ(FoldIcsLine(kanji), kanji.substr(0, 75) + "\r\n " + kanji.substr(75) + "\r\n");
  // Behind "S:" the 75th octet would split a character: the line ends one octet early.
  EXPECT_EQ(FoldIcsLine("S:" + kanji),
            "S:" + kanji.substr(0, 72) + "\r\n " + kanji.substr(72) + "\r\n");
  EXPECT_EQ(FoldIcsLine(""), "\r\n");
}

TEST(AgendaIcsPieces, Uids) {
  // FNV-1a 64 of "/data/a.nrk:12".
  EXPECT_EQ(EventUid("/data/a.nrk", 12, {2024, 5, 1}, 3), "2e82e5ba694e8f66-20240501-3@pelo");
  const std::string uids[] = {
      EventUid("/data/a.nrk", 12, {2024, 5, 1}, 0), EventUid("/data/a.nrk", 12, {2024, 5, 2}, 0),
      EventUid("/data/a.nrk", 13, {2024, 5, 1}, 0), EventUid("/data/b.nrk", 12, {2024, 5, 1}, 0),
      EventUid("/data/a.nrk", 12, {2024, 5, 1}, 1)};
  for (std::size_t i = 0; i < std::size(uids); ++i) {
    for (std::size_t j = i + 1; j < std::size(uids); ++j) EXPECT_NE(uids[i], uids[j]);
  }
}

// A small file loaded as pelo-agenda loads it on 2024/5/1, with the day table's window for
// from.
class AgendaFile : public testing::Test {
 protected:
  void Load(std::string_view text, TDateRec from) {
    path_ = folder_.WriteCp932("a.nrk", text);
    ASSERT_TRUE(LoadDataFiles(list_, {path_}));
    list_.SetTable(calendar_, from.Year - 1, TDayTable::kYearCount);
  }

  static constexpr TDateRec kToday{2024, 5, 1};
  TCalendar calendar_{kToday};
  TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
  std::string path_;
};

TEST_F(AgendaFile, TextAndTsv) {
  Load(
      "2024/5/3 憲法の講演\r\n"             // 1
      "2024/5/3 9:00 タブ\tのある\t行\r\n"  // 2
      "E:2024/5/3 隠れる\r\n"               // 3: category E, not in the default filter
      "2024/5/4~2024/5/5 連休\r\n"          // 4
      "2024/5/10 一日 &d([/[/[-3)\r\n",     // 5: a derived day, hidden by default
      {2024, 5, 1});
  const TFilterSet filter = TScheduleSettings{}.Filter;
  const std::vector<TAgendaRow> rows =
      AgendaRows(list_, calendar_, filter, {2024, 5, 1}, {2024, 5, 7});
  EXPECT_EQ(TextOutput(calendar_, rows),
            "2024/5/3(金)  憲法記念日\n"
            "  憲法の講演\n"
            "   9:00 タブ のある 行\n"
            "2024/5/4(土)  国民の休日\n"
            "  連休\n"
            "2024/5/5(日)  こどもの日\n"
            "  連休\n");
  EXPECT_EQ(TsvOutput(calendar_, list_, rows),
            "2024/05/03\t金\t憲法記念日\t0\ta.nrk:1\t憲法の講演\n"
            "2024/05/03\t金\t憲法記念日\t0\ta.nrk:2\t 9:00 タブ のある 行\n"
            "2024/05/04\t土\t国民の休日\t1\ta.nrk:4\t連休\n"
            "2024/05/05\t日\tこどもの日\t3\ta.nrk:4\t連休\n");

  // With every set empty the category-E line and the derived day show too.
  const std::vector<TAgendaRow> all =
      AgendaRows(list_, calendar_, TFilterSet{}, {2024, 5, 3}, {2024, 5, 7});
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[2].Text, "隠れる");
  EXPECT_EQ(all[2].Place, 2);
  EXPECT_EQ(all[5].Text, "一日まであと 3日");
  EXPECT_EQ(all[5].Kind, 4);
  EXPECT_EQ(all[5].Date, (TDateRec{2024, 5, 7}));
  EXPECT_EQ(all[5].Place, 0);
}

// Every day's rows are exactly the lines of that day's cell after Fill with the same filter.
// Returns the number of rows compared.
std::size_t ExpectRowsMatchCells(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                                 TDateRec from, TDateRec to) {
  TDayTable table(from.Year - 1);
  table.SetFilter(filter);
  table.Fill(&list.DatePacks());
  const std::vector<TAgendaRow> rows = AgendaRows(list, calendar, filter, from, to);
  std::size_t next = 0;
  for (TDateRec day = from; DayNumber(day) <= DayNumber(to); day = AddDays(day, 1)) {
    const TCellLineList* cell = table.Cell(day);
    if (cell == nullptr) {
      ADD_FAILURE() << "no cell for " << AgendaDateText(day);
      return 0;
    }
    for (int32_t k = 0; k < cell->Count(); ++k, ++next) {
      if (next >= rows.size()) {
        ADD_FAILURE() << "too few rows at " << AgendaDateText(day);
        return 0;
      }
      EXPECT_EQ(rows[next].Date, day);
      EXPECT_EQ(rows[next].Text, cell->Text(k)) << AgendaDateText(day);
      EXPECT_EQ(rows[next].Entry, cell->Info(k).Entry) << AgendaDateText(day);
      EXPECT_EQ(rows[next].Place, k);
    }
  }
  EXPECT_EQ(next, rows.size());
  return rows.size();
}

TEST_F(AgendaFile, RowsAreTheCellsOfTheDayTable) {
  Load(
      "@2024/5/1~2024/5/3 休暇\r\n"
      "MO,WE 8:00 ゴミ\r\n"
      "25 給料日 &&<(SA,SU,HD)\r\n"
      "3/15 締切 &d([/[/[-14,[/[/[-7)\r\n"
      "SA_ 会合\r\n"
      "1/1~1/3 正月 %s\r\n"
      "1931^/3/8~2019/10/20 祖父 &o(*%b2)\r\n"
      "1985^/4/12 花子 &o(*%b)\r\n"
      "E:2/1 隠れ\r\n"
      "#2/2 ハッシュ\r\n"
      ";2/3 消した\r\n"
      "PH 私休の一日\r\n",
      {2024, 1, 1});
  // Three years of Mondays and Wednesdays alone are over 300 lines.
  EXPECT_GT(ExpectRowsMatchCells(list_, calendar_, TScheduleSettings{}.Filter, {2024, 1, 1},
                                 {2026, 12, 31}),
            350u);
  EXPECT_GT(ExpectRowsMatchCells(list_, calendar_, TFilterSet{}, {2024, 1, 1}, {2026, 12, 31}),
            350u);
}

TEST(AgendaSample, RowsAreTheCellsOfTheDayTable) {
  TCalendar calendar({2026, 12, 7});
  RecordingNotices notices;
  TEntryList list(notices, calendar.Today());
  ASSERT_TRUE(LoadDataFiles(list, {std::string(PELO_EXAMPLES_DIR) + "/sample.nrk"}));
  list.SetTable(calendar, 2025, TDayTable::kYearCount);
  TFilterSet filter = TScheduleSettings{}.Filter;
  std::vector<std::string> warnings;
  ReadPageFilter({std::string(PELO_EXAMPLES_DIR) + "/sample.npg"}, filter, warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_TRUE(filter[6].Contains(4));  // the sample's page shows derived days
  EXPECT_GT(ExpectRowsMatchCells(list, calendar, filter, {2026, 1, 1}, {2028, 12, 31}), 600u);
}

}  // namespace
}  // namespace pelo::agenda
