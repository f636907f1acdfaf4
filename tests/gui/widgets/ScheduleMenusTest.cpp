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

// The items' texts with their keys, and which are enabled ('1') or greyed ('0').
std::pair<QString, QString> Describe(const std::vector<TMenuItem>& items) {
  QStringList texts;
  QString enabled;
  for (const TMenuItem& item : items) {
    texts << QString::fromUtf8(item.Text) + " " + item.Keys.toString();
    enabled += item.Enabled ? '1' : '0';
  }
  return {texts.join(", "), enabled};
}

TEST(ScheduleMenuItems, ItemsAndStatesFollowTheClickAndWhatMayChange) {
  const QString line =
      "詳細(&I) F9, コピー(&C) Ctrl+C, 切り取り(&X) Ctrl+X, 貼り付け(&P) Ctrl+V, "
      "チェック(&K) Del, 削除(&D) Alt+Del, エディタで開く(&E) ";
  const QString day = "貼り付け(&P) Ctrl+V, この日だけ表示(&O) , 今日へ(&T) Home";
  struct Row {
    const char* what;
    TMenuState state;  // on line, entry writable, clipboard, paste writable, source
    QString items, enabled;
  };
  const Row rows[] = {
      {"writable line", {true, true, true, true, true}, line, "1111111"},
      {"read-only line, empty clipboard", {true, false, false, false, true}, line, "1100001"},
      {"line without a known file", {true, true, false, false, false}, line, "1110110"},
      {"day, empty clipboard", {false, false, false, false, false}, day, "011"},
      {"day, clipboard of a read-only file", {false, false, true, false, false}, day, "011"},
      {"day, clipboard filled", {false, false, true, true, false}, day, "111"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Describe(ScheduleMenuItems(row.state)), std::make_pair(row.items, row.enabled))
        << row.what;
  }
}

class ScheduleMenuFixture : public ScheduleFixture {
 protected:
  // Opens the menu with open, notes which items are enabled ('1') or greyed ('0'), then
  // chooses the item whose text starts with choose (none: the menu is closed).
  QString Menu(const std::function<void()>& open, const QString& choose = {}) {
    QString items;
    QTimer::singleShot(5000, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        items += action->isEnabled() ? '1' : '0';
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

  // A point on the first line of the cursor day (no frames, the label at the left).
  static QPoint FirstLinePoint(const TSchedule& schedule) {
    const QRect cell = schedule.CellRect(schedule.Model().Col(), schedule.Model().Row());
    return {cell.right() - 4, cell.top() + 3};
  }

  static void ContextClick(TSchedule& schedule, QPoint pos) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, schedule.mapToGlobal(pos));
    QApplication::sendEvent(&schedule, &event);
  }
};

TEST_F(ScheduleMenuFixture, KeysOpenTheMenuOfTheSelectedLineOrTheDay) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 Meeting\n2024/5/8 Lunch\n");
  schedule->SetCursorDate({2024, 5, 8});
  QSignalSpy details(schedule.get(), &TSchedule::OnDetailsRequest);
  EXPECT_EQ(Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_F10, Qt::ShiftModifier); }, "詳細"),
            "1110111");
  EXPECT_EQ(details.count(), 1);
  // チェック ticks the selected line's entry.
  schedule->SelectCursorLine(1);
  Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "チェック");
  EXPECT_TRUE(schedule->EntryList().Entry(1)->IsChecked());
  EXPECT_FALSE(schedule->EntryList().Entry(0)->IsChecked());
  // コピー fills the clipboard: a day without lines may paste it.
  Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "コピー");
  schedule->SetCursorDate({2024, 5, 10});
  EXPECT_EQ(Menu([&] { QTest::keyClick(schedule.get(), Qt::Key_Menu); }, "貼り付け"), "111");
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
  EXPECT_EQ(Menu([&] { ContextClick(*schedule, line); }), "1100001");
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
  EXPECT_EQ(Menu([&] { Release(*schedule, line, Qt::RightButton); }), "1110111");
}

}  // namespace
}  // namespace pelo::test
