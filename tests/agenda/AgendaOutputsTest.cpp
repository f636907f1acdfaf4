// pelo-agenda's text and TSV forms on a small file.
#include "AgendaOutputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

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

// A small file loaded as pelo-agenda loads it on 2024/5/1, with the day table's window for
// from.
class AgendaFile : public testing::Test {
 protected:
  void Load(std::string_view text, TDateRec from) {
    path_ = folder_.WriteCp932("a.nrk", text);
    ASSERT_TRUE(LoadDataFiles(list_, {path_}));
    list_.SetTable(calendar_, from.Year - 1, TDayTable::kYearCount);
  }

  std::string TextOf(const std::vector<TDayRow>& rows) const {
    std::ostringstream out;
    WriteTextOutput(out, calendar_, rows);
    return out.str();
  }
  std::string TsvOf(const std::vector<TDayRow>& rows) const {
    std::ostringstream out;
    WriteTsvOutput(out, calendar_, list_, rows);
    return out.str();
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
  const std::vector<TDayRow> rows = DayRows(list_, calendar_, filter, {2024, 5, 1}, {2024, 5, 7});
  EXPECT_EQ(TextOf(rows),
            "2024/5/3(金)  憲法記念日\n"
            "  憲法の講演\n"
            "   9:00 タブ のある 行\n"
            "2024/5/4(土)  国民の休日\n"
            "  連休\n"
            "2024/5/5(日)  こどもの日\n"
            "  連休\n");
  EXPECT_EQ(TsvOf(rows),
            "2024/05/03\t金\t憲法記念日\t0\ta.nrk:1\t憲法の講演\n"
            "2024/05/03\t金\t憲法記念日\t0\ta.nrk:2\t 9:00 タブ のある 行\n"
            "2024/05/04\t土\t国民の休日\t1\ta.nrk:4\t連休\n"
            "2024/05/05\t日\tこどもの日\t3\ta.nrk:4\t連休\n");

  // With every set empty the category-E line and the derived day show too.
  const std::vector<TDayRow> all =
      DayRows(list_, calendar_, TFilterSet{}, {2024, 5, 3}, {2024, 5, 7});
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[2].Text, "隠れる");
  EXPECT_EQ(all[2].Place, 2);
  EXPECT_EQ(all[5].Text, "一日まであと 3日");
  EXPECT_EQ(all[5].Kind, 4);
  EXPECT_EQ(all[5].Date, (TDateRec{2024, 5, 7}));
  EXPECT_EQ(all[5].Place, 0);
}

// An output far longer than the pieces it is written in: every row once, in order, whatever
// piece it falls into.
TEST_F(AgendaFile, LongOutputsArriveWhole) {
  Load("2024/1/1~2026/12/31 " + std::string(200, 'x') + "\r\n", {2024, 1, 1});
  const std::vector<TDayRow> rows =
      DayRows(list_, calendar_, TFilterSet{}, {2024, 1, 1}, {2026, 12, 31});
  ASSERT_EQ(rows.size(), 1096u);
  for (const std::size_t split : {std::size_t{1}, std::size_t{333}, std::size_t{1095}}) {
    const std::vector<TDayRow> head(rows.begin(), rows.begin() + split);
    const std::vector<TDayRow> tail(rows.begin() + split, rows.end());
    const std::string tsv = TsvOf(rows);
    EXPECT_GT(tsv.size(), 150'000u);  // more than two pieces
    EXPECT_EQ(tsv, TsvOf(head) + TsvOf(tail)) << split;
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 1096);
    // The text form starts a heading per day: each half starts with one.
    EXPECT_EQ(TextOf(rows), TextOf(head) + TextOf(tail)) << split;
  }
}

}  // namespace
}  // namespace pelo::agenda
