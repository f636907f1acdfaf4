// The schedule document without a view: edits, the entry to focus, what observers hear.
#include "schedule/ScheduleDocuments.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "entries/Entries.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;
using TChange = TScheduleObserver::TChange;

constexpr TDateRec kToday{2024, 5, 10};

class Recorder : public TScheduleObserver {
 public:
  void BeforeRebuild(TScheduleDocument&) override { heard.push_back("before"); }
  void Changed(TScheduleDocument&, TChange change) override {
    heard.push_back(change == TChange::kEntries ? "entries"
                    : change == TChange::kLines ? "lines"
                                                : "today");
  }
  std::vector<std::string> heard;
};

class ScheduleDocumentTest : public testing::Test {
 protected:
  void SetUp() override {
    document_.ShowYearsFrom(2023);
    document_.LoadFiles({folder_.WriteCp932("a.nrk",
                                            "2024/5/10 会議\n"
                                            "2024/5/12 歯医者\n"
                                            "2024/5/1~2024/5/* 締切 %l\n")});
    document_.AddObserver(recorder_);
  }
  void TearDown() override { document_.RemoveObserver(recorder_); }

  int32_t PositionOf(const std::string& text) const {
    const TEntryList& list = document_.EntryList();
    for (int32_t i = 0; i < list.Count(); ++i) {
      if (list.Entry(i)->Text == text) return i;
    }
    return -1;
  }
  std::vector<std::string> Lines(TDateRec date) {
    std::vector<std::string> texts;
    const TCellLineList* cell = document_.DayTable().Cell(date);
    for (int32_t i = 0; cell != nullptr && i < cell->Count(); ++i) texts.push_back(cell->Text(i));
    return texts;
  }

  TempFolder folder_;
  RecordingNotices notices_;
  TScheduleDocument document_{notices_, kToday};
  Recorder recorder_;
};

TEST_F(ScheduleDocumentTest, EditsAnswerTheEntryToFocusAndRebuildOnce) {
  struct Row {
    const char* name;
    std::function<std::optional<int32_t>(TScheduleDocument&, int32_t)> edit;
    std::vector<std::string> lines_on_12th;  // afterwards
    bool answers_the_edited_entry;
  };
  static constexpr TDateRec kLater{2024, 5, 20};
  const Row rows[] = {
      {"tick", [](auto& d, int32_t e) { return d.ToggleChecked(e); }, {"歯医者"}, true},
      {"cut", [](auto& d, int32_t e) { return d.Cut(e); }, {}, true},
      {"delete", [](auto& d, int32_t e) { return d.Delete(e); }, {}, true},
      {"move", [](auto& d, int32_t e) { return d.MoveTo(e, kLater); }, {}, true},
      {"copy", [](auto& d, int32_t e) { return d.CopyTo(e, kLater); }, {"歯医者"}, false},
      {"unknown entry", [](auto& d, int32_t) { return d.Cut(999); }, {"歯医者"}, false},
  };
  for (const Row& row : rows) {
    // Each row on the file as loaded.
    TearDown();
    SetUp();
    recorder_.heard.clear();
    const int32_t entry = PositionOf("歯医者");
    const std::optional<int32_t> focus = row.edit(document_, entry);
    EXPECT_EQ(Lines({2024, 5, 12}), row.lines_on_12th) << row.name;
    if (row.answers_the_edited_entry) {
      EXPECT_EQ(focus, entry) << row.name;
      EXPECT_EQ(recorder_.heard, (std::vector<std::string>{"before", "entries"})) << row.name;
    }
  }
}

TEST_F(ScheduleDocumentTest, CopyAndPasteLandOnTheGivenDayAndUndoTakesThemBack) {
  EXPECT_FALSE(document_.Paste({2024, 6, 3}).has_value());  // nothing copied yet
  EXPECT_TRUE(recorder_.heard.empty());
  document_.Copy(PositionOf("会議"));
  const std::optional<int32_t> pasted = document_.Paste({2024, 6, 3});
  ASSERT_TRUE(pasted.has_value());
  EXPECT_EQ(document_.NearestDayOfEntry(*pasted, {2024, 6, 1}), (TDateRec{2024, 6, 3}));
  document_.Undo();
  EXPECT_TRUE(Lines({2024, 6, 3}).empty());
  document_.Redo();
  EXPECT_EQ(Lines({2024, 6, 3}), std::vector<std::string>{"会議"});
}

TEST_F(ScheduleDocumentTest, TheTableIsBuiltAgainOnlyWhenSomethingItShowsMoved) {
  struct Row {
    const char* name;
    std::function<void(TScheduleDocument&)> change;
    std::vector<std::string> heard;
  };
  const Row rows[] = {
      {"same years", [](auto& d) { d.ShowYearsFrom(2023); }, {}},
      {"other years", [](auto& d) { d.ShowYearsFrom(2030); }, {"before", "entries"}},
      {"same calendar", [](auto& d) { d.SetCalendarKind(TCalendarKind::kClassic); }, {}},
      {"other calendar",
       [](auto& d) { d.SetCalendarKind(TCalendarKind::kCurrent); },
       {"before", "entries"}},
      {"order",
       [](auto& d) {
         d.SetSortByTime(true);
         d.RefillLines();
       },
       {"lines"}},
      {"same today", [](auto& d) { d.SetToday(kToday); }, {}},
      {"next day",
       [](auto& d) {
         d.SetToday(TDateRec{2024, 5, 11});
       },
       {"before", "entries", "today"}},
  };
  for (const Row& row : rows) {
    recorder_.heard.clear();
    row.change(document_);
    EXPECT_EQ(recorder_.heard, row.heard) << row.name;
  }
}

TEST_F(ScheduleDocumentTest, ALineCountedFromTodayFollowsTheClock) {
  // A period that ends today, and its "%l" counting the days left.
  EXPECT_EQ(Lines({2024, 5, 10}), (std::vector<std::string>{"会議", "締切 残り 1日"}));
  document_.SetToday({2024, 5, 11});
  EXPECT_EQ(Lines({2024, 5, 10}), (std::vector<std::string>{"会議", "締切 残り 2日"}));
  EXPECT_EQ(Lines({2024, 5, 11}), (std::vector<std::string>{"締切 残り 1日"}));
  EXPECT_EQ(document_.Calendar().Today(), (TDateRec{2024, 5, 11}));
}

}  // namespace
}  // namespace pelo
