// A day and an entry told in words, read from a small file through the day table.
#include "schedule/DayDetails.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayTables.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;

constexpr TDateRec kToday{2026, 12, 7};

constexpr std::string_view kFile =
    "2026/12/7 8:00 燃えるゴミ\n"
    "A:2026/12/7 会議 &x(memo.txt,sub\\doc.txt,run.sh,missing.pdf,sub)\n"
    "%\n"
    "議題を決める\n"
    "\n"
    "  持ち物\n"
    "%\n"
    "2026/12/5~2026/12/11 出張\n"
    "B:2026/12/7 済んだ &c(2026/12/1)\n"
    "2026/12/8 翌日\n";

class DayDetailsFile : public testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.WriteCp932("a.nrk", kFile);
    ASSERT_TRUE(list_.LoadFromFile(path_));
    list_.SetTable(calendar_, table_.FirstYear(), TDayTable::kYearCount);
    table_.Fill(&list_.DatePacks());
  }

  TDayDetails Day(TDateRec date) { return DayDetailsOf(calendar_, table_, date, 0); }

  TCalendar calendar_{kToday, TCalendarKind::kCurrent};
  TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
  TDayTable table_{kToday.Year - 1};
  std::string path_;
};

TEST_F(DayDetailsFile, LinesInCellOrderWithTimesPeriodsAndIcons) {
  const TDayDetails day = Day(kToday);
  struct Row {
    std::string time, text, period;
    std::vector<std::string> icons;
  };
  const std::vector<Row> expected = {
      {"8:00", "燃えるゴミ", "", {}},
      {"", "会議", "", {"分類 A", "メモ", "関連ファイル"}},
      {"", "出張", "3日目/7日間", {}},
      {"", "済んだ", "", {"済", "分類 B"}},
  };
  ASSERT_EQ(day.Lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(day.Lines[i].Time, expected[i].time);
    EXPECT_EQ(day.Lines[i].Text, expected[i].text);
    EXPECT_EQ(day.Lines[i].PeriodDay, expected[i].period);
    EXPECT_EQ(day.Lines[i].Icons, expected[i].icons);
    EXPECT_EQ(day.Lines[i].Entry, static_cast<int32_t>(i));
  }
  EXPECT_EQ(DayLineText(day.Lines[0]), "8:00 燃えるゴミ");
  EXPECT_EQ(DayLineText(day.Lines[2]), "出張 (3日目/7日間)");
  EXPECT_EQ(DayLineText(day.Lines[3]), "済んだ [済] [分類 B]");
}

TEST_F(DayDetailsFile, PeriodDaysCountFromTheFirst) {
  const std::vector<std::pair<TDateRec, std::string>> rows = {
      {{2026, 12, 5}, "1日目/7日間"},
      {{2026, 12, 8}, "4日目/7日間"},
      {{2026, 12, 11}, "7日目/7日間"},
  };
  for (const auto& [date, period] : rows) {
    const TDayDetails day = Day(date);
    ASSERT_FALSE(day.Lines.empty());
    EXPECT_EQ(day.Lines[0].PeriodDay, period) << date.Day;
  }
  EXPECT_TRUE(Day({2026, 12, 12}).Lines.empty());
}

TEST_F(DayDetailsFile, DayFactsFollowTheCalendar) {
  struct Row {
    TCalendarKind kind;
    TDateRec date;
    std::string heading, holiday, rokuyo, summary;
    bool old_date;
  };
  const std::vector<Row> rows = {
      {TCalendarKind::kCurrent, kToday, "2026年12月7日(月) 令和8年", "", "友引",
       "12月7日 月曜日 友引、8:00 燃えるゴミ、会議、出張、済んだ", true},
      {TCalendarKind::kClassic, kToday, "2026年12月7日(月) 平成38年", "", "",
       "12月7日 月曜日、8:00 燃えるゴミ、会議、出張、済んだ", false},
      {TCalendarKind::kCurrent,
       {2026, 11, 23},
       "2026年11月23日(月) 令和8年",
       "勤労感謝の日",
       "",
       "",
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.heading);
    calendar_.SetKind(row.kind);
    const TDayDetails day = Day(row.date);
    EXPECT_EQ(day.Heading, row.heading);
    EXPECT_EQ(day.Holiday, row.holiday);
    // The holiday's rokuyo and summary are not what the row is about.
    if (!row.summary.empty()) {
      EXPECT_EQ(day.Rokuyo, row.rokuyo);
      EXPECT_EQ(DaySummary(day), row.summary);
    }
    EXPECT_EQ(!day.OldDate.empty(), row.old_date);
  }
  EXPECT_EQ(Day(kToday).Week, 50);
  EXPECT_EQ(Day({2026, 1, 1}).Week, 1);
  EXPECT_TRUE(Day({2040, 1, 1}).Lines.empty());  // outside the table's window
}

TEST_F(DayDetailsFile, EntryNoteFilesAndSource) {
  std::filesystem::create_directory(folder_.File("sub"));
  folder_.WriteBytes("memo.txt", "m");
  folder_.WriteBytes("sub/doc.txt", "d");
  const std::string script = folder_.WriteBytes("run.sh", "#!/bin/sh\n");
  ::chmod(script.c_str(), 0755);
  const TDayDetails day = Day(kToday);
  const TEntry* entry = list_.Entry(day.Lines[1].Entry);
  ASSERT_NE(entry, nullptr);
  const TEntryDetails details = EntryDetailsOf(list_, *entry);
  EXPECT_EQ(details.Note, "議題を決める\n\n  持ち物");
  EXPECT_EQ(details.Source, "a.nrk:2");
  EXPECT_EQ(details.SourceLine,
            "A:2026/12/7 会議 &x(memo.txt,sub\\doc.txt,run.sh,missing.pdf,sub)");
  EXPECT_EQ(details.DataFile, path_);
  EXPECT_EQ(details.LineNo, 2);
  struct Row {
    std::string written, path;
    TFileState state;
  };
  const std::vector<Row> files = {
      {"memo.txt", folder_.File("memo.txt"), TFileState::kRegular},
      {"sub\\doc.txt", folder_.File("sub/doc.txt"), TFileState::kRegular},
      {"run.sh", folder_.File("run.sh"), TFileState::kExecutable},
      {"missing.pdf", folder_.File("missing.pdf"), TFileState::kMissing},
      {"sub", folder_.File("sub"), TFileState::kOther},
  };
  ASSERT_EQ(details.Files.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i].written);
    EXPECT_EQ(details.Files[i].Written, files[i].written);
    EXPECT_EQ(details.Files[i].Path, files[i].path);
    EXPECT_EQ(details.Files[i].State, files[i].state);
  }
  const TEntry* plain = list_.Entry(day.Lines[0].Entry);
  ASSERT_NE(plain, nullptr);
  const TEntryDetails none = EntryDetailsOf(list_, *plain);
  EXPECT_TRUE(none.Note.empty());
  EXPECT_TRUE(none.Files.empty());
  EXPECT_EQ(none.Source, "a.nrk:1");
}

TEST(RelatedFilePath, RelativeNamesLiveBesideTheDataFile) {
  const std::vector<std::array<std::string, 3>> rows = {
      {"/data/a.nrk", "memo.txt", "/data/memo.txt"},
      {"/data/a.nrk", "sub\\memo.txt", "/data/sub/memo.txt"},
      {"/data/a.nrk", "/abs/memo.txt", "/abs/memo.txt"},
      {"a.nrk", "memo.txt", "memo.txt"},
  };
  for (const auto& [data_file, written, path] : rows) {
    EXPECT_EQ(RelatedFilePath(data_file, written), path) << written;
  }
}

}  // namespace
}  // namespace pelo
