// A day and an entry told in words, read from a small file through the day table.
#include "schedule/DayDetails.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
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
    "A:2026/12/7 会議 &x(memo.txt,sub\\doc.txt,run.sh,missing.pdf,sub,/none/abs.txt)\n"
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
  // Time, text, and the whole line with its period day and icons.
  const std::vector<std::array<std::string, 3>> expected = {
      {"8:00", "燃えるゴミ", "8:00 燃えるゴミ"},
      {"", "会議", "会議 [分類 A] [メモ] [関連ファイル]"},
      {"", "出張", "出張 (3日目/7日間)"},
      {"", "済んだ", "済んだ [済] [分類 B]"},
  };
  ASSERT_EQ(day.Lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ((std::array{day.Lines[i].Time, day.Lines[i].Text, DayLineText(day.Lines[i])}),
              expected[i]);
    EXPECT_EQ(day.Lines[i].Entry, static_cast<int32_t>(i));
  }
  // Period days count from the first.
  EXPECT_EQ(Day({2026, 12, 5}).Lines.at(0).PeriodDay, "1日目/7日間");
  EXPECT_EQ(Day({2026, 12, 11}).Lines.at(0).PeriodDay, "7日目/7日間");
  EXPECT_TRUE(Day({2026, 12, 12}).Lines.empty());
}

TEST_F(DayDetailsFile, DayFactsFollowTheCalendar) {
  constexpr auto kCurrent = TCalendarKind::kCurrent;
  struct Row {
    TCalendarKind kind;
    TDateRec date;
    bool old_date;
    std::string heading, holiday, rokuyo, summary;  // summary and rokuyo: unchecked when empty
  };
  const Row rows[] = {
      {kCurrent, kToday, true, "2026年12月7日(月) 令和8年", "", "友引",
       "12月7日 月曜日 友引、8:00 燃えるゴミ、会議、出張、済んだ"},
      {TCalendarKind::kClassic, kToday, false, "2026年12月7日(月) 平成38年", "", "",
       "12月7日 月曜日、8:00 燃えるゴミ、会議、出張、済んだ"},
      {kCurrent, {2026, 11, 23}, true, "2026年11月23日(月) 令和8年", "勤労感謝の日", "", ""},
  };
  for (const Row& row : rows) {
    calendar_.SetKind(row.kind);
    const TDayDetails day = Day(row.date);
    EXPECT_EQ(day.Heading, row.heading);
    EXPECT_EQ(day.Holiday, row.holiday) << row.heading;
    EXPECT_EQ(!day.OldDate.empty(), row.old_date) << row.heading;
    if (!row.summary.empty()) {
      EXPECT_EQ(day.Rokuyo, row.rokuyo);
      EXPECT_EQ(DaySummary(day), row.summary);
    }
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
            "A:2026/12/7 会議 &x(memo.txt,sub\\doc.txt,run.sh,missing.pdf,sub,/none/abs.txt)");
  EXPECT_EQ(details.DataFile, path_);
  EXPECT_EQ(details.LineNo, 2);
  const std::vector<std::tuple<std::string, std::string, TFileState>> files = {
      {"memo.txt", folder_.File("memo.txt"), TFileState::kRegular},
      {"sub\\doc.txt", folder_.File("sub/doc.txt"), TFileState::kRegular},
      {"run.sh", folder_.File("run.sh"), TFileState::kExecutable},
      {"missing.pdf", folder_.File("missing.pdf"), TFileState::kMissing},
      {"sub", folder_.File("sub"), TFileState::kOther},
      {"/none/abs.txt", "/none/abs.txt", TFileState::kMissing},
  };
  ASSERT_EQ(details.Files.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const TRelatedFile& file = details.Files[i];
    EXPECT_EQ(std::tie(file.Written, file.Path, file.State), files[i]);
  }
  const TEntry* plain = list_.Entry(day.Lines[0].Entry);
  ASSERT_NE(plain, nullptr);
  const TEntryDetails none = EntryDetailsOf(list_, *plain);
  EXPECT_TRUE(none.Note.empty());
  EXPECT_TRUE(none.Files.empty());
  EXPECT_EQ(none.Source, "a.nrk:1");
}

}  // namespace
}  // namespace pelo
