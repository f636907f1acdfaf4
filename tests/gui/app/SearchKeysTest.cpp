// The main window's search keys: Ctrl+F opens the search bar for typing, Escape closes it,
// F3 and Shift+F3 walk the days with a match from anywhere in the calendar.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "RecordingNotices.h"
#include "StartedWindows.h"
#include "app/MainWindows.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"
#include "widgets/SearchBars.h"

namespace pelo {
namespace {

constexpr TDateRec kToday{2024, 5, 1};

void WaitForStartUp(TMainWindow& window) {
  ASSERT_TRUE(test::ShowAndStartUp(window));
  QApplication::setActiveWindow(&window);
}

TEST(SearchKeysTest, CtrlFOpensF3Walks) {
  QTemporaryDir settings_folder;
  QTemporaryDir data_folder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder.path());
  const QString data = data_folder.filePath("a.nrk");
  std::ofstream(data.toStdString(), std::ios::binary)
      << EncodeCp932("2024/5/2 ﾃﾞｰﾀ\n2024/5/9 ほか\n2024/5/20 データ\n");
  test::RecordingNotices notices;
  TMainWindow window({data}, kToday, notices);
  WaitForStartUp(window);
  TSearchBar& bar = window.SearchBar();
  TSchedule& schedule = window.Schedule();
  EXPECT_FALSE(bar.isVisible());

  // F3 with nothing to look for opens the bar.
  QTest::keyClick(&schedule, Qt::Key_F3);
  EXPECT_TRUE(bar.isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &schedule);

  QTest::keyClick(&schedule, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar.isVisible());
  QLineEdit* text = bar.findChild<QLineEdit*>("SearchText");
  EXPECT_EQ(QApplication::focusWidget(), text);
  text->setText(QString::fromUtf8("データ"));
  EXPECT_TRUE(QTest::qWaitFor([&bar] { return !bar.SearchPending(); }));
  EXPECT_EQ(bar.Matches().size(), 2u);

  schedule.setFocus();
  QTest::keyClick(&schedule, Qt::Key_F3);
  EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 2}));
  QTest::keyClick(&schedule, Qt::Key_F3);
  EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 20}));
  QTest::keyClick(&schedule, Qt::Key_F3);
  EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 20}));
  EXPECT_EQ(bar.findChild<QLabel*>("SearchStatus")->text(),
            QString::fromUtf8(TSearchBar::kNoMoreAfter));
  QTest::keyClick(&schedule, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 2}));
  // No box was needed for any of it.
  EXPECT_TRUE(notices.events.empty());
}

// Years after the sample's 年賀状 day, the day table holds other years.
TEST(SearchKeysTest, F3ReachesTheSampleDayFromYearsLater) {
  QTemporaryDir settings_folder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder.path());
  test::RecordingNotices notices;
  TMainWindow window({QString(PELO_EXAMPLES_DIR "/sample.nrk")}, {2031, 1, 1}, notices);
  WaitForStartUp(window);
  TSchedule& schedule = window.Schedule();
  QTest::keyClick(&schedule, Qt::Key_F, Qt::ControlModifier);
  window.SearchBar().findChild<QLineEdit*>("SearchText")->setText(QString::fromUtf8("年賀状"));
  schedule.setFocus();
  const struct {
    Qt::KeyboardModifier modifier;
    TDateRec reached;
    const char* status;
  } steps[] = {
      {Qt::NoModifier, {2031, 1, 1}, TSearchBar::kNoMoreAfter},
      {Qt::ShiftModifier, {2026, 12, 10}, "1 件"},
      {Qt::ShiftModifier, {2026, 12, 10}, TSearchBar::kNoMoreBefore},
  };
  for (const auto& step : steps) {
    QTest::keyClick(&schedule, Qt::Key_F3, step.modifier);
    EXPECT_EQ(schedule.CursorDate(), step.reached) << step.status;
    EXPECT_EQ(window.SearchBar().findChild<QLabel*>("SearchStatus")->text(),
              QString::fromUtf8(step.status));
  }
}

}  // namespace
}  // namespace pelo
