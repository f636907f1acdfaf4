// Following the clock: when the follower asks, what it tells, and a window left open over
// midnight, with a clock the test moves by hand.

#include "app/TodayFollowers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "RecordingNotices.h"
#include "app/MainWindows.h"
#include "app/QtSetup.h"
#include "schedule/CellLineLists.h"
#include "schedule/DayTables.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

class TManualClock : public TClock {
 public:
  explicit TManualClock(TLocalTime now) : now_(now) {}
  TLocalTime Now() const override { return now_; }
  void Set(TLocalTime now) { now_ = now; }

 private:
  TLocalTime now_;
};

constexpr int32_t kDay = 24 * 60 * 60;

TEST(MillisecondsToNextDayTest, TheRestOfTheDayAndAMargin) {
  struct Case {
    int32_t second;
    int64_t expected;
  };
  const Case cases[] = {
      {0, int64_t{kDay} * 1000 + 2000},  // just after midnight: a whole day
      {kDay / 2, int64_t{kDay} / 2 * 1000 + 2000},
      {kDay - 15, 17000},  // 23:59:45
      {kDay, 2000},        // a leap second
      {-1, int64_t{kDay} * 1000 + 2000},
      {kDay + 5, 2000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MillisecondsToNextDay(TLocalTime{{2024, 5, 1}, c.second}), c.expected) << c.second;
  }
}

// Fires the follower's midnight timer as if its time had come.
void FireMidnight(TTodayFollower& follower) {
  QMetaObject::invokeMethod(const_cast<QTimer*>(&follower.MidnightTimer()), "timeout");
}

void ChangeApplicationState(TTodayFollower&) {
  QEvent event(QEvent::ApplicationStateChange);
  QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
}

void AskCoarsely(TTodayFollower& follower) { follower.Check(); }

TEST(TodayFollowerTest, TellsEachNewDateOnceWhateverWakesIt) {
  struct Step {
    const char* name;
    void (*wake)(TTodayFollower&);
    TLocalTime now;
    std::vector<TDateRec> told;  // everything told so far
  };
  const std::vector<Step> steps = {
      {"the same day, later", AskCoarsely, {{2024, 5, 1}, kDay - 1}, {}},
      {"midnight", FireMidnight, {{2024, 5, 2}, 2}, {{2024, 5, 2}}},
      {"midnight once more", FireMidnight, {{2024, 5, 2}, 3}, {{2024, 5, 2}}},
      {"a wake days later",
       ChangeApplicationState,
       {{2024, 5, 9}, 3600},
       {{2024, 5, 2}, {2024, 5, 9}}},
      {"the clock set back",
       AskCoarsely,
       {{2024, 5, 8}, 3600},
       {{2024, 5, 2}, {2024, 5, 9}, {2024, 5, 8}}},
  };
  TManualClock clock({{2024, 5, 1}, kDay - 15});
  std::vector<TDateRec> told;
  TTodayFollower follower(clock, {2024, 5, 1}, [&told](TDateRec today) { told.push_back(today); });
  EXPECT_TRUE(told.empty());
  EXPECT_TRUE(follower.MidnightTimer().isActive());
  EXPECT_NEAR(follower.MidnightTimer().remainingTime(), 17000, 1000);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    clock.Set(step.now);
    step.wake(follower);
    EXPECT_EQ(told, step.told);
    EXPECT_EQ(follower.Today(), step.now.Date);
    // Armed again for the midnight after now.
    EXPECT_NEAR(follower.MidnightTimer().remainingTime(),
                static_cast<double>(MillisecondsToNextDay(step.now)), 1000);
  }
}

TEST(TodayFollowerTest, ADifferentDateAtTheStartIsToldAtOnce) {
  const TManualClock clock({{2024, 5, 2}, 10});
  std::vector<TDateRec> told;
  TTodayFollower follower(clock, {2024, 5, 1}, [&told](TDateRec today) { told.push_back(today); });
  EXPECT_EQ(told, (std::vector<TDateRec>{{2024, 5, 2}}));
}

class TodayInTheWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
  }

  std::unique_ptr<TMainWindow> Start(const std::string& data) {
    const std::string path = folder_.filePath("data.nrk").toStdString();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << EncodeCp932(data);
    auto window = std::make_unique<TMainWindow>(QStringList{QString::fromStdString(path)},
                                                clock_.Today(), notices_);
    window->FollowClock(clock_);
    window->show();
    for (int i = 0; i < 200 && !window->StartedUp(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(window->StartedUp());
    return window;
  }

  static std::vector<std::string> Lines(TSchedule& schedule, TDateRec date) {
    std::vector<std::string> out;
    if (const TCellLineList* list = schedule.DayTable().Cell(date)) {
      for (int32_t i = 0; i < list->Count(); ++i) out.push_back(list->Text(i));
    }
    return out;
  }

  static bool TodayEnabled(TMainWindow& window) {
    return window.findChild<QToolButton*>("TodayButton")->isEnabled();
  }
  static QString DatePanel(TMainWindow& window) {
    return window.findChild<QLabel*>("DatePanel")->text();
  }

  QTemporaryDir folder_;
  test::RecordingNotices notices_;
  TManualClock clock_{{{2024, 5, 1}, kDay - 15}};  // 23:59:45
};

TEST_F(TodayInTheWindowTest, PastMidnightTodayMovesOnAndTheCursorStaysWhereTheUserPutIt) {
  struct Case {
    const char* name;
    TDateRec cursor;  // before midnight
    TDateRec after;   // the cursor after midnight
    const char* panel;
  };
  const Case cases[] = {
      {"on today", {2024, 5, 1}, {2024, 5, 2}, "2024/5/2(木)"},
      {"elsewhere", {2024, 5, 20}, {2024, 5, 20}, "2024/5/20(月)"},
      {"on the new today", {2024, 5, 2}, {2024, 5, 2}, "2024/5/2(木)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clock_.Set({{2024, 5, 1}, kDay - 15});
    // The period ends today: its "%l" counts the days left.
    auto window = Start("2024/5/1~2024/5/* 締切 %l\n");
    TSchedule& schedule = window->Schedule();
    schedule.JumpDate(c.cursor);
    ASSERT_EQ(Lines(schedule, {2024, 5, 1}), (std::vector<std::string>{"締切 残り 1日"}));
    ASSERT_TRUE(Lines(schedule, {2024, 5, 2}).empty());

    clock_.Set({{2024, 5, 2}, 2});
    auto* follower = window->findChild<TTodayFollower*>("TodayFollower");
    ASSERT_NE(follower, nullptr);
    FireMidnight(*follower);

    EXPECT_TRUE(schedule.Calendar().IsToday({2024, 5, 2}));
    EXPECT_EQ(schedule.CursorDate(), c.after);
    EXPECT_EQ(Lines(schedule, {2024, 5, 1}), (std::vector<std::string>{"締切 残り 2日"}));
    EXPECT_EQ(Lines(schedule, {2024, 5, 2}), (std::vector<std::string>{"締切 残り 1日"}));
    EXPECT_EQ(DatePanel(*window), QString::fromUtf8(c.panel));
    EXPECT_EQ(TodayEnabled(*window), !(c.after == TDateRec{2024, 5, 2}));
    // Home goes to the new today.
    QTest::keyClick(&schedule, Qt::Key_Home);
    EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 2}));
    EXPECT_FALSE(TodayEnabled(*window));
    EXPECT_TRUE(notices_.events.empty());
  }
}

}  // namespace
}  // namespace pelo

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pelo::PrepareApplication(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
