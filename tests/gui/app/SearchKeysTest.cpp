// The main window's search keys: Ctrl+F opens the search bar for typing, Escape closes it,
// F3 and Shift+F3 walk the days with a match from anywhere in the window.

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
#include "app/MainWindows.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"
#include "widgets/SearchBars.h"

namespace pelo {
namespace {

constexpr TDateRec kToday{2024, 5, 1};

TEST(SearchKeysTest, CtrlFOpensF3Walks) {
  QTemporaryDir settings_folder;
  QTemporaryDir data_folder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder.path());
  const QString data = data_folder.filePath("a.nrk");
  std::ofstream(data.toStdString(), std::ios::binary)
      << EncodeCp932("2024/5/2 ﾃﾞｰﾀ\n2024/5/9 ほか\n2024/5/20 データ\n");
  test::RecordingNotices notices;
  TMainWindow window({data}, kToday, notices);
  window.show();
  for (int i = 0; i < 200 && !window.StartedUp(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  ASSERT_TRUE(window.StartedUp());
  QApplication::setActiveWindow(&window);
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

}  // namespace
}  // namespace pelo

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
