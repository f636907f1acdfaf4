// The schedule's context menu: its items, keys and enabled states by what was clicked and
// what may change, and what it does when opened by the mouse, the menu key or Shift+F10.
#include "widgets/ScheduleMenus.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <functional>

#include "ScheduleTestSupport.h"

namespace pelo::test {
namespace {

// "text|keys|enabled" of each item, separators left out.
QStringList Describe(const std::vector<TMenuItem>& items) {
  QStringList out;
  for (const TMenuItem& item : items) {
    out << QStringLiteral("%1|%2|%3")
               .arg(QString::fromUtf8(item.Text), item.Keys.toString(),
                    item.Enabled ? "on" : "off");
  }
  return out;
}

TEST(ScheduleMenuItems, ItemsAndStatesFollowTheClickAndWhatMayChange) {
  struct Row {
    const char* what;
    TMenuState state;
    QStringList items;
  };
  const QStringList all_on = {"詳細(&I)|F9|on",         "コピー(&C)|Ctrl+C|on",
                              "切り取り(&X)|Ctrl+X|on", "貼り付け(&P)|Ctrl+V|on",
                              "チェック(&K)|Del|on",    "削除(&D)|Alt+Del|on",
                              "エディタで開く(&E)||on"};
  const std::vector<Row> rows = {
      {"writable line", {true, true, true, true, true}, all_on},
      {"read-only line, empty clipboard",
       {true, false, false, false, true},
       {"詳細(&I)|F9|on", "コピー(&C)|Ctrl+C|on", "切り取り(&X)|Ctrl+X|off",
        "貼り付け(&P)|Ctrl+V|off", "チェック(&K)|Del|off", "削除(&D)|Alt+Del|off",
        "エディタで開く(&E)||on"}},
      {"line without a known file",
       {true, true, false, false, false},
       {"詳細(&I)|F9|on", "コピー(&C)|Ctrl+C|on", "切り取り(&X)|Ctrl+X|on",
        "貼り付け(&P)|Ctrl+V|off", "チェック(&K)|Del|on", "削除(&D)|Alt+Del|on",
        "エディタで開く(&E)||off"}},
      {"day, empty clipboard",
       {false, false, false, false, false},
       {"貼り付け(&P)|Ctrl+V|off", "この日だけ表示(&O)||on", "今日へ(&T)|Home|on"}},
      {"day, clipboard of a read-only file",
       {false, false, true, false, false},
       {"貼り付け(&P)|Ctrl+V|off", "この日だけ表示(&O)||on", "今日へ(&T)|Home|on"}},
      {"day, clipboard filled",
       {false, false, true, true, false},
       {"貼り付け(&P)|Ctrl+V|on", "この日だけ表示(&O)||on", "今日へ(&T)|Home|on"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Describe(ScheduleMenuItems(row.state)), row.items) << row.what;
  }
}

class ScheduleMenuFixture : public ScheduleFixture {
 protected:
  // Opens the menu with open, notes its items ("text|on"), then chooses the item whose text
  // starts with choose (none: the menu is closed).
  QStringList Menu(const std::function<void()>& open, const QString& choose = {}) {
    QStringList items;
    QTimer::singleShot(5000, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        items << action->text() + (action->isEnabled() ? "|on" : "|off");
        if (!choose.isEmpty() && action->text().startsWith(choose)) chosen = action;
      }
      if (chosen == nullptr) {
        menu->close();
        return;
      }
      menu->setActiveAction(chosen);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    open();
    return items;
  }

  // A point on the first line of the cursor day.
  static QPoint FirstLinePoint(TSchedule& schedule) {
    for (int y = 0; y < schedule.height(); y += 2) {
      for (int x = 0; x < schedule.width(); x += 4) {
        const TSchedule::THitInfo hit = schedule.HitTest(x, y);
        if (hit.Kind == TSchedule::kHitLine && schedule.PointToDate(x, y) == schedule.CursorDate())
          return {x, y};
      }
    }
    ADD_FAILURE() << "no line on the cursor day";
    return {};
  }

  static void ContextClick(TSchedule& schedule, QPoint pos) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, schedule.mapToGlobal(pos));
    QApplication::sendEvent(&schedule, &event);
  }
};

const QStringList kLineItems = {"詳細(&I)|on",          "コピー(&C)|on",   "切り取り(&X)|on",
                                "貼り付け(&P)|off",     "チェック(&K)|on", "削除(&D)|on",
                                "エディタで開く(&E)|on"};

TEST_F(ScheduleMenuFixture, KeysOpenTheMenuOfTheSelectedLineOrTheDay) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 Meeting\n2024/5/8 Lunch\n");
  schedule->SetCursorDate({2024, 5, 8});
  QSignalSpy details(schedule.get(), &TSchedule::OnDetailsRequest);
  EXPECT_EQ(Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_F10, Qt::ShiftModifier); }, "詳細"),
            kLineItems);
  EXPECT_EQ(details.count(), 1);
  // チェック ticks the selected line's entry.
  schedule->SelectCursorLine(1);
  Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "チェック");
  EXPECT_TRUE(schedule->EntryList().Entry(1)->IsChecked());
  EXPECT_FALSE(schedule->EntryList().Entry(0)->IsChecked());
  // コピー fills the clipboard: a day without lines may paste it.
  Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "コピー");
  schedule->SetCursorDate({2024, 5, 10});
  EXPECT_EQ(Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "貼り付け"),
            (QStringList{"貼り付け(&P)|on", "この日だけ表示(&O)|on", "今日へ(&T)|on"}));
  EXPECT_EQ(Lines(*schedule, {2024, 5, 10}), std::vector<std::string>{"Lunch"});
  schedule->SetCursorDate({2024, 5, 11});
  Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "今日へ");
  EXPECT_EQ(schedule->CursorDate(), kToday);
}

TEST_F(ScheduleMenuFixture, ARightClickSelectsTheLineItFallsOn) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 Meeting\n", /*read_only=*/true);
  schedule->SetCursorDate({2024, 5, 8});
  const QPoint line = FirstLinePoint(*schedule);
  schedule->SetCursorDate({2024, 5, 9});
  schedule->SetReadOnly(true);
  EXPECT_EQ(Menu([&] { ContextClick(*schedule, line); }),
            (QStringList{"詳細(&I)|on", "コピー(&C)|on", "切り取り(&X)|off", "貼り付け(&P)|off",
                         "チェック(&K)|off", "削除(&D)|off", "エディタで開く(&E)|on"}));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 8}));
}

TEST_F(ScheduleMenuFixture, WhileEntriesDragTheMenuWaitsForTheRelease) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 Meeting\n");
  schedule->SetCursorDate({2024, 5, 8});
  const QPoint line = FirstLinePoint(*schedule);
  schedule->SetReadOnly(false);
  Press(*schedule, line, Qt::RightButton);
  ContextClick(*schedule, line);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Menu([&] { Release(*schedule, line, Qt::RightButton); }).size(), kLineItems.size());
}

}  // namespace
}  // namespace pelo::test

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
