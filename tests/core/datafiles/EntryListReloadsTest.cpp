// Reading one loaded data file again while the others, and their in-memory edits, stay.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "datafiles/EntryLists.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using TOutcome = TEntryList::TReloadOutcome;

constexpr TDateRec kToday{2024, 5, 10};

// "file:line text", with "+" for a checked and "-" for a deleted entry.
std::vector<std::string> Summaries(const TEntryList& list) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const TEntry& entry = *list.Entry(i);
    std::string text =
        std::to_string(entry.FileIndex) + ":" + std::to_string(entry.LineNo) + " " + entry.Text;
    if (entry.IsChecked()) text += " +";
    if (entry.IsDeleted()) text += " -";
    texts.push_back(text);
  }
  return texts;
}

// Where the entry of text stands in the list; -1 when it is not there.
int32_t PositionOf(const TEntryList& list, const std::string& text) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (list.Entry(i)->Text == text) return i;
  }
  return -1;
}

class EntryListReloadTest : public ::testing::Test {
 protected:
  // a.nrk and b.nrk loaded in this order.
  void Load(const std::string& a, const std::string& b) {
    std::filesystem::remove_all(folder_.File("a.nrk"));  // a case may have left a folder there
    a_ = folder_.WriteCp932("a.nrk", a);
    b_ = folder_.WriteCp932("b.nrk", b);
    const std::vector<std::string> names{a_, b_};
    list_.LoadFiles(names);
    notices_.Clear();
  }

  test::TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
  std::string a_;
  std::string b_;
};

// What changes on the disk between the load and the reload of a.nrk, and what the list holds
// afterwards.
struct ReloadCase {
  const char* name;
  const char* a_before;
  // Changes a.nrk on the disk (nothing when null).
  std::function<void(const test::TempFolder&, const std::string&)> change;
  TOutcome outcome;
  std::vector<std::string> entries;
  std::vector<std::string> new_bad_lines;
  std::vector<std::string> new_notes = {};
};

void Rewrite(const test::TempFolder& folder, const char* text) { folder.WriteCp932("a.nrk", text); }

TEST_F(EntryListReloadTest, ReloadsOneFileInPlace) {
  const ReloadCase cases[] = {
      {"a new line shows, b keeps its place",
       "1/1 a1\n",
       [](const auto& f, const auto&) { Rewrite(f, "1/1 a1\n1/2 a2\n"); },
       TOutcome::kReloaded,
       {"0:1 a1", "0:2 a2", "1:1 b1", "1:2 b2"},
       {}},
      {"day-marked lines go to the front, the last read first; the others where a's stood",
       "@1/1 a1\n1/2 a2\n",
       [](const auto& f, const auto&) { Rewrite(f, "@1/1 a1\n@1/3 a3\n1/2 a2\n"); },
       TOutcome::kReloaded,
       {"0:2 a3", "0:1 a1", "0:3 a2", "1:1 b1", "1:2 b2"},
       {}},
      {"a file that lost every entry is empty, b stays",
       "1/1 a1\n",
       [](const auto& f, const auto&) { Rewrite(f, ""); },
       TOutcome::kReloaded,
       {"1:1 b1", "1:2 b2"},
       {}},
      {"the same bytes change nothing",
       "1/1 a1\n",
       [](const auto& f, const auto&) { Rewrite(f, "1/1 a1\n"); },
       TOutcome::kUnchanged,
       {"0:1 a1", "1:1 b1", "1:2 b2"},
       {}},
      {"only bad lines that were not there before are reported",
       "1/1\n1/2 a2\n",
       [](const auto& f, const auto&) { Rewrite(f, "1/1\n1/2 a2\n1/4 Tom &Jerry\n"); },
       TOutcome::kReloaded,
       {"0:1 1/1", "0:2 a2", "0:3 1/4 Tom &Jerry", "1:1 b1", "1:2 b2"},
       {"1/4 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}},
      {"a second copy of an old bad line is new",
       "1/1\n",
       [](const auto& f, const auto&) { Rewrite(f, "1/1\n1/1\n"); },
       TOutcome::kReloaded,
       {"0:1 1/1", "0:2 1/1", "1:1 b1", "1:2 b2"},
       {"1/1 … 日付とデータの区切りがない"}},
      {"a NUL that came is noted",
       "1/1 a1\n1/2 a2\n",
       [](const auto& f, const auto&) {
         f.WriteBytes("a.nrk", std::string("1/1 a1\n1/2\0a2\n", 13));
       },
       TOutcome::kReloaded,
       {"0:1 a1", "0:2 1/2", "1:1 b1", "1:2 b2"},
       {"1/2 … 日付とデータの区切りがない"},
       {"1/2 … 2 行目にNUL文字があるため、これより後は読み込みません。"}},
      {"a vanished file keeps its entries",
       "1/1 a1\n",
       [](const auto&, const std::string& path) { std::filesystem::remove(path); },
       TOutcome::kMissing,
       {"0:1 a1", "1:1 b1", "1:2 b2"},
       {}},
      {"a path that is no file any more cannot be read: the entries stay",
       "1/1 a1\n",
       [](const auto&, const std::string& path) {
         std::filesystem::remove(path);
         std::filesystem::create_directory(path);
       },
       TOutcome::kUnreadable,
       {"0:1 a1", "1:1 b1", "1:2 b2"},
       {}},
      {"an attached-text block left open fails the read: the entries stay",
       "1/1 a1\n",
       [](const auto& f, const auto&) { Rewrite(f, "1/1 a1\n1/2 a2\n%\nopen\n"); },
       TOutcome::kUnreadable,
       {"0:1 a1", "1:1 b1", "1:2 b2"},
       {}},
  };
  for (const ReloadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.a_before, "1/1 b1\n1/2 b2\n");
    c.change(folder_, a_);
    const TEntryList::TReloadResult result = list_.ReloadFile(0, false);
    EXPECT_EQ(result.Outcome, c.outcome);
    EXPECT_EQ(Summaries(list_), c.entries);
    EXPECT_EQ(result.NewBadLines.lines, c.new_bad_lines);
    EXPECT_EQ(result.NewBadLines.notes, c.new_notes);
    if (!c.new_bad_lines.empty()) {
      EXPECT_EQ(result.NewBadLines.heading, "a.nrk を読込み中にエラーが発生しました。");
    }
    // Nothing is shown by the list itself, and no file is lost.
    EXPECT_TRUE(notices_.events.empty());
    EXPECT_EQ(list_.FileList().Count(), 2);
  }
}

TEST_F(EntryListReloadTest, AFileThatComesBackIsReadAgain) {
  Load("1/1 a1\n", "1/1 b1\n");
  std::filesystem::remove(a_);
  ASSERT_EQ(list_.ReloadFile(0, false).Outcome, TOutcome::kMissing);
  Rewrite(folder_, "1/1 a1\n1/5 back\n");
  EXPECT_EQ(list_.ReloadFile(0, false).Outcome, TOutcome::kReloaded);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:1 a1", "0:2 back", "1:1 b1"}));
}

TEST_F(EntryListReloadTest, AFirstDayMarkedLineGoesAfterThoseOfLaterFiles) {
  Load("1/1 a1\n", "@1/1 b0\n1/2 b1\n");
  Rewrite(folder_, "@1/3 a0\n1/1 a1\n");
  ASSERT_EQ(list_.ReloadFile(0, false).Outcome, TOutcome::kReloaded);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"1:1 b0", "0:1 a0", "0:2 a1", "1:2 b1"}));
}

TEST_F(EntryListReloadTest, EvenUnchangedReadsTheSameBytesAgain) {
  Load("1/1 a1\n", "1/1 b1\n");
  list_.ToggleChecked(0);
  const TEntryList::TReloadResult result = list_.ReloadFile(0, true);
  EXPECT_EQ(result.Outcome, TOutcome::kReloaded);
  EXPECT_TRUE(result.EditsDropped);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:1 a1", "1:1 b1"}));
}

// Edits of the reloaded file go with their undo steps; those of the other file stay and can
// still be undone, on the right entry.
TEST_F(EntryListReloadTest, DropsTheEditsOfTheChangedFileOnly) {
  Load("1/1 a1\n1/2 a2\n", "1/1 b1\n1/2 b2\n1/3 b3\n");
  list_.ToggleChecked(PositionOf(list_, "b2"));
  list_.ToggleChecked(PositionOf(list_, "a1"));
  list_.DeleteEntry(PositionOf(list_, "b3"));
  list_.CopyEntry(PositionOf(list_, "a2"));
  ASSERT_TRUE(list_.PasteEntry(0, TDateRec{2024, 6, 1}));  // an a entry added at the end
  ASSERT_EQ(list_.UndoHistory().Count(), 4);

  Rewrite(folder_, "1/1 a1\n1/2 a2\n1/9 a3\n");
  const TEntryList::TReloadResult result = list_.ReloadFile(0, false);
  EXPECT_TRUE(result.EditsDropped);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:1 a1", "0:2 a2", "0:3 a3", "1:1 b1",
                                                        "1:2 b2 +", "1:3 b3 -"}));
  ASSERT_EQ(list_.UndoHistory().Count(), 2);
  list_.UndoHistory().Undo();  // the delete of b3
  list_.UndoHistory().Undo();  // the tick of b2
  EXPECT_EQ(Summaries(list_),
            (std::vector<std::string>{"0:1 a1", "0:2 a2", "0:3 a3", "1:1 b1", "1:2 b2", "1:3 b3"}));
}

TEST_F(EntryListReloadTest, NoEditsOfTheFileNoneDropped) {
  Load("1/1 a1\n", "1/1 b1\n");
  list_.ToggleChecked(PositionOf(list_, "b1"));
  Rewrite(folder_, "1/1 a1\n1/2 a2\n");
  const TEntryList::TReloadResult result = list_.ReloadFile(0, false);
  EXPECT_FALSE(result.EditsDropped);
  EXPECT_EQ(list_.UndoHistory().Count(), 1);
}

TEST_F(EntryListReloadTest, SourceLinesFollowTheReload) {
  Load("1/1 a1\n", "\n1/1 b1\n");
  EXPECT_EQ(list_.SourceLine(*list_.Entry(PositionOf(list_, "b1"))), "1/1 b1");
  Rewrite(folder_, "1/1 a1\n  1/2   a2\t\n");
  list_.ReloadFile(0, false);
  // The line as the file holds it, untrimmed.
  EXPECT_EQ(list_.SourceLine(*list_.Entry(PositionOf(list_, "a2"))), "  1/2   a2\t");
}

TEST_F(EntryListReloadTest, TheFreedEntriesAreToldBeforeAnythingElse) {
  int32_t told = 0;
  list_.OnEntriesFreed = [&told](TEntryList& list) {
    ++told;
    // Nothing that pointed at the old entries may still be used: the packs are gone too.
    EXPECT_EQ(list.DatePacks().Count(), 0);
  };
  Load("1/1 a1\n", "1/1 b1\n");
  EXPECT_EQ(told, 1);  // the clear before the load
  Rewrite(folder_, "1/1 a1\n1/2 a2\n");
  list_.ReloadFile(0, false);
  EXPECT_EQ(told, 2);
  list_.ReloadFile(0, false);  // unchanged: nothing freed
  EXPECT_EQ(told, 2);
}

}  // namespace
}  // namespace pelo
