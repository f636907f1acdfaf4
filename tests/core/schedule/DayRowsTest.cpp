// The rows of shown days against what the day table's cells hold after a fill with the same
// filter: the same lines, in the same order, from the same entries.
#include "schedule/DayRows.h"

#include <gtest/gtest.h>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/CellLineLists.h"
#include "schedule/DayTables.h"
#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "schedule/ScheduleSettings.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;

// A small file loaded on 2024/5/1, with the day table's window for from.
class RowsFile : public testing::Test {
 protected:
  void Load(std::string_view text, TDateRec from) {
    path_ = folder_.WriteCp932("a.nrk", text);
    ASSERT_TRUE(list_.LoadFromFile(path_));
    list_.SetTable(calendar_, from.Year - 1, TDayTable::kYearCount);
  }

  static constexpr TDateRec kToday{2024, 5, 1};
  TCalendar calendar_{kToday};
  TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
  std::string path_;
};

// Every day's rows are exactly the lines of that day's cell after Fill with the same filter.
// Returns the number of rows compared.
std::size_t ExpectRowsMatchCells(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                                 TDateRec from, TDateRec to) {
  TDayTable table(from.Year - 1);
  table.SetFilter(filter);
  table.Fill(&list.DatePacks());
  const std::vector<TDayRow> rows = DayRows(list, calendar, filter, from, to);
  std::size_t next = 0;
  for (TDateRec day = from; DayNumber(day) <= DayNumber(to); day = AddDays(day, 1)) {
    const TCellLineList* cell = table.Cell(day);
    if (cell == nullptr) {
      ADD_FAILURE() << "no cell for " << DayNumber(day);
      return 0;
    }
    for (int32_t k = 0; k < cell->Count(); ++k, ++next) {
      if (next >= rows.size()) {
        ADD_FAILURE() << "too few rows at " << DayNumber(day);
        return 0;
      }
      EXPECT_EQ(rows[next].Date, day);
      EXPECT_EQ(rows[next].Text, cell->Text(k)) << DayNumber(day);
      EXPECT_EQ(rows[next].Entry, cell->Info(k).Entry) << DayNumber(day);
      EXPECT_EQ(rows[next].Place, k);
    }
  }
  EXPECT_EQ(next, rows.size());
  return rows.size();
}

TEST_F(RowsFile, RowsAreTheCellsOfTheDayTable) {
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

TEST(SampleRows, RowsAreTheCellsOfTheDayTable) {
  TCalendar calendar({2026, 12, 7});
  RecordingNotices notices;
  TEntryList list(notices, calendar.Today());
  ASSERT_TRUE(list.LoadFromFile(std::string(PELO_EXAMPLES_DIR) + "/sample.nrk"));
  list.SetTable(calendar, 2025, TDayTable::kYearCount);
  TPage page(768);  // a screen of normal height
  ASSERT_TRUE(page.Read(TIniFile(std::string(PELO_EXAMPLES_DIR) + "/sample.npg"), kPageSection));
  const TFilterSet filter = page.Schedule.Filter;
  EXPECT_TRUE(filter[6].Contains(4));  // the sample's page shows derived days
  EXPECT_GT(ExpectRowsMatchCells(list, calendar, filter, {2026, 1, 1}, {2028, 12, 31}), 600u);
}

}  // namespace
}  // namespace pelo
