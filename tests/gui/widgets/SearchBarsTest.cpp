// The search bar over a schedule: what it lists for a text, the typing pause, Enter and double
// clicks that jump, and FindNext walking the days with a match in date order over every year.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ScheduleTestSupport.h"
#include "text/SearchTexts.h"
#include "widgets/SearchBars.h"

namespace pelo::test {
namespace {

using Rows = std::vector<std::string>;

// Today is 2024/5/1: the table's window runs from 2023 to 2026, four weeks from 4/29 shown.
constexpr const char* kData =
    "2024/5/1 カレー会\n"
    "2024/5/1 ほかの予定\n"
    "2024/5/3 ｶﾚｰ屋\n"
    "2024/5/10 10:00 Curry night\n"
    "B:2024/5/6 支払い\n"
    "2024/7/1 ＣＵＲＲＹ\n"
    "2025/2/1 ｶﾚｰ\n"
    "2023/12/31 かれー\n";

class SearchBarTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    schedule_ = Make(WeekRowsPage());
    path_ = Load(*schedule_, kData);
    bar_ = std::make_unique<TSearchBar>(*schedule_);
    bar_->Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar_.get()));
  }

  // Types text key by key where the test library can (ASCII), without waiting.
  void TypeKeys(const char* text) {
    QLineEdit* edit = bar_->findChild<QLineEdit*>("SearchText");
    const QString typed = QString::fromUtf8(text);
    for (const QChar c : typed)
      c.unicode() < 0x80 ? QTest::keyClick(edit, c.toLatin1()) : edit->insert(c);
  }

  // Types text over the last one and waits for the list to follow.
  void Type(const char* text, int span = 0) {
    bar_->findChild<QComboBox*>("SearchSpan")->setCurrentIndex(span);
    bar_->findChild<QLineEdit*>("SearchText")->clear();
    TypeKeys(text);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !bar_->SearchPending(); }));
  }

  QTreeWidget& Results() const { return *bar_->findChild<QTreeWidget*>("SearchResults"); }

  // "date | time | text | file:line" of every listed match.
  Rows Listed() const {
    Rows rows;
    for (int i = 0; i < Results().topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = Results().topLevelItem(i);
      rows.push_back(
          (item->text(0) + " | " + item->text(1) + " | " + item->text(2) + " | " + item->text(3))
              .toStdString());
    }
    return rows;
  }

  std::string SelectedText() const {
    const std::optional<int32_t> entry = schedule_->FocusedEntry();
    return entry ? schedule_->EntryList().Entry(*entry)->Text : std::string();
  }

  std::unique_ptr<TSchedule> schedule_;
  std::unique_ptr<TSearchBar> bar_;
  std::string path_;
};

TEST_F(SearchBarTest, ListsTheMatchesOfTheSpan) {
  const struct {
    const char* text;
    int span;
    Rows rows;
  } cases[] = {
      {"ｶﾚｰ",
       0,
       {"2024/5/1(水) |  | カレー会 | data.nrk:1", "2024/5/3(金) |  | ｶﾚｰ屋 | data.nrk:3"}},
      {"カレー",
       0,
       {"2024/5/1(水) |  | カレー会 | data.nrk:1", "2024/5/3(金) |  | ｶﾚｰ屋 | data.nrk:3"}},
      {"カレー",
       1,
       {"2024/5/1(水) |  | カレー会 | data.nrk:1", "2024/5/3(金) |  | ｶﾚｰ屋 | data.nrk:3",
        "2025/2/1(土) |  | ｶﾚｰ | data.nrk:7"}},
      {"curry",
       0,
       {"2024/5/10(金) | 10:00 | 10:00 Curry night | data.nrk:4",
        "2024/7/1(月) |  | ＣＵＲＲＹ | data.nrk:6"}},
      // Only in the data file's line: the category letter is not shown.
      {"b:", 0, {"2024/5/6(月) |  | 支払い | data.nrk:5"}},
      // Hiragana is no katakana.
      {"かれー", 1, {"2023/12/31(日) |  | かれー | data.nrk:8"}},
      {"nothing like it", 1, {}},
      {"", 1, {}},
  };
  for (const auto& c : cases) {
    Type(c.text, c.span);
    EXPECT_EQ(Listed(), c.rows) << c.text << " span " << c.span;
  }
  Type("カレー", 0);
  EXPECT_EQ(bar_->findChild<QLabel*>("SearchStatus")->text(), QString::fromUtf8("2 件"));
}

TEST_F(SearchBarTest, TheListWaitsForAPauseInTyping) {
  QLineEdit* edit = bar_->findChild<QLineEdit*>("SearchText");
  EXPECT_EQ(edit->maxLength(), kMaxSearchLength);
  Type("curry");
  ASSERT_EQ(Listed().size(), 2u);
  // Each key starts the pause again: nothing is searched while the keys come.
  TypeKeys("!");
  for (int i = 0; i < 4; ++i) {
    QTest::qWait(TSearchBar::kTypingPauseMs / 3);
    TypeKeys("!");
  }
  EXPECT_TRUE(bar_->SearchPending());
  EXPECT_EQ(Listed().size(), 2u);  // still the list of "curry"
  EXPECT_TRUE(QTest::qWaitFor([this] { return !bar_->SearchPending(); }));
  EXPECT_TRUE(Listed().empty());

  // Enter searches at once and goes to the match.
  schedule_->JumpDate({2024, 6, 1});
  edit->clear();
  TypeKeys("Curry");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_FALSE(bar_->SearchPending());
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2024, 7, 1}));
}

TEST_F(SearchBarTest, EnterAndDoubleClickJumpAndSelectTheLine) {
  Type("予定", 1);
  ASSERT_EQ(Listed().size(), 1u);
  QTest::keyClick(bar_->findChild<QLineEdit*>("SearchText"), Qt::Key_Return);
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2024, 5, 1}));
  EXPECT_EQ(SelectedText(), "ほかの予定");  // the day's second line

  Type("カレー", 1);
  ASSERT_EQ(Listed().size(), 3u);
  QTreeWidget& results = Results();
  results.scrollToItem(results.topLevelItem(2));  // lays the new items out
  const QRect third = results.visualItemRect(results.topLevelItem(2));
  ASSERT_FALSE(third.isEmpty());
  // A double click as a user makes it: the first press, then the second one.
  QTest::mouseClick(results.viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
  QTest::mouseDClick(results.viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2025, 2, 1}));
  EXPECT_EQ(SelectedText(), "ｶﾚｰ");

  results.setCurrentItem(results.topLevelItem(1));
  QTest::keyClick(&results, Qt::Key_Return);
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2024, 5, 3}));
  EXPECT_EQ(SelectedText(), "ｶﾚｰ屋");
}

TEST_F(SearchBarTest, EnterInTheTextGoesToTheMatchNearestTheCursor) {
  const struct {
    TDateRec cursor;
    TDateRec reached;
  } cases[] = {
      {{2024, 5, 1}, {2024, 5, 1}},  // on the cursor's day
      {{2024, 5, 2}, {2024, 5, 3}},  // the next one after it
      {{2025, 3, 1}, {2025, 2, 1}},  // none after it: the last one
      {{2023, 1, 1}, {2024, 5, 1}},  // before them all: the first
  };
  for (const auto& c : cases) {
    schedule_->JumpDate(c.cursor);
    Type("カレー", 1);
    QTest::keyClick(bar_->findChild<QLineEdit*>("SearchText"), Qt::Key_Return);
    EXPECT_EQ(schedule_->CursorDate(), c.reached) << DayNumber(c.cursor);
  }
}

TEST_F(SearchBarTest, FindNextWalksTheDaysInDateOrder) {
  Type("ｶﾚｰ");  // the span of the list does not bound the walk
  schedule_->JumpDate({2023, 6, 1});
  std::vector<TDateRec> days;
  for (int i = 0; i < 3; ++i) {
    bar_->FindNext(1);
    days.push_back(schedule_->CursorDate());
    EXPECT_FALSE(SelectedText().empty());
  }
  // 2023/12/31 holds hiragana, which is no katakana.
  EXPECT_EQ(days, (std::vector<TDateRec>{{2024, 5, 1}, {2024, 5, 3}, {2025, 2, 1}}));
  QLabel* status = bar_->findChild<QLabel*>("SearchStatus");
  // A step that found its day shows the count of the list again (2025 shows one).
  EXPECT_EQ(status->text(), QString::fromUtf8("1 件"));
  bar_->FindNext(1);
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2025, 2, 1}));
  EXPECT_EQ(status->text(), QString::fromUtf8(TSearchBar::kNoMoreAfter));

  for (const auto& [day, text] :
       {std::pair{TDateRec{2024, 5, 3}, "ｶﾚｰ屋"}, {TDateRec{2024, 5, 1}, "カレー会"}}) {
    bar_->FindNext(-1);
    EXPECT_EQ(schedule_->CursorDate(), day);
    EXPECT_EQ(SelectedText(), text);
  }
  bar_->FindNext(-1);
  EXPECT_EQ(schedule_->CursorDate(), (TDateRec{2024, 5, 1}));
  EXPECT_EQ(status->text(), QString::fromUtf8(TSearchBar::kNoMoreBefore));
}

TEST_F(SearchBarTest, FindNextAndTheListReachEveryYear) {
  Load(*schedule_, "ﾚ2026/12/10 年賀状を買う\n1600/3/3 古い年賀状\n2140/1/1 遠い年賀状\n");
  Type("年賀状", 1);
  std::vector<TDateRec> listed;
  for (const TSearchBar::TMatch& match : bar_->Matches()) listed.push_back(match.Date);
  EXPECT_EQ(listed, (std::vector<TDateRec>{{1600, 3, 3}, {2026, 12, 10}, {2140, 1, 1}}));

  QLabel* status = bar_->findChild<QLabel*>("SearchStatus");
  const QString found = QString::fromUtf8("3 件");
  const struct {
    TDateRec cursor;
    int32_t direction;
    TDateRec reached;
    std::string selected;  // empty: none, the cursor stays
    const char* status;
  } cases[] = {
      {{2031, 1, 1}, -1, {2026, 12, 10}, "年賀状を買う", nullptr},
      {{2031, 1, 1}, 1, {2140, 1, 1}, "遠い年賀状", nullptr},
      {{2026, 12, 10}, -1, {1600, 3, 3}, "古い年賀状", nullptr},
      {{1600, 3, 3}, 1, {2026, 12, 10}, "年賀状を買う", nullptr},
      {{1600, 3, 3}, -1, {1600, 3, 3}, "", TSearchBar::kNoMoreBefore},
      {{2140, 1, 1}, 1, {2140, 1, 1}, "", TSearchBar::kNoMoreAfter},
  };
  for (const auto& c : cases) {
    schedule_->JumpDate(c.cursor);
    bar_->FindNext(c.direction);
    EXPECT_EQ(schedule_->CursorDate(), c.reached) << DayNumber(c.cursor) << " " << c.direction;
    if (!c.selected.empty()) {
      EXPECT_EQ(SelectedText(), c.selected);
    }
    EXPECT_EQ(status->text(), c.status != nullptr ? QString::fromUtf8(c.status) : found);
  }
}

TEST_F(SearchBarTest, TheListStopsAtItsLimit) {
  // Two lines on every day of the four years.
  Load(*schedule_, "SU,MO,TU,WE,TH,FR,SA daily one\nSU,MO,TU,WE,TH,FR,SA daily two\n");
  Type("daily", 1);
  EXPECT_EQ(Listed().size(), TSearchBar::kMaxListed);
  EXPECT_EQ(bar_->findChild<QLabel*>("SearchStatus")->text(),
            QString::number(TSearchBar::kMaxListed) + QString::fromUtf8(" 件まで表示"));
  Type("one", 0);  // the shown year alone: fewer
  EXPECT_EQ(Listed().size(), 366u);
}

TEST_F(SearchBarTest, TheListFollowsARebuild) {
  Type("カレー", 1);
  ASSERT_EQ(Listed().size(), 3u);
  Load(*schedule_, "2024/5/2 カレーの日\n");
  EXPECT_EQ(Listed(), (Rows{"2024/5/2(木) |  | カレーの日 | data.nrk:1"}));
}

}  // namespace
}  // namespace pelo::test
