// The schedule's accessible table as Qt hands it to a screen reader: its size, each day
// cell's name and description, the cursor cell's states and the events of a cursor move.
#include "widgets/ScheduleAccessibility.h"

#include <QAccessible>
#include <utility>

#include "ScheduleTestSupport.h"

namespace pelo::test {
namespace {

class ScheduleAccessibilityTest : public ScheduleFixture {
 protected:
  void SetUp() override { InstallScheduleAccessibility(); }
  void TearDown() override { QAccessible::removeFactory(&ScheduleAccessibleFactory); }
};

TEST_F(ScheduleAccessibilityTest, DaysAreCellsNamedAndDescribedLikeThePane) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 10:00 Meeting\n2024/5/8 Lunch\n");
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(schedule.get());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->role(), QAccessible::Table);
  QAccessibleTableInterface* cells = table->tableInterface();
  ASSERT_NE(cells, nullptr);
  // Week rows from Monday 4/29, four weeks.
  EXPECT_EQ(cells->rowCount(), 4);
  EXPECT_EQ(cells->columnCount(), 7);
  EXPECT_EQ(table->childCount(), 28);
  struct Row {
    int row, column;
    const char* name;
    const char* description;
  };
  const Row rows[] = {
      {1, 2, "2024年5月8日(水) 平成36年", "5月8日 水曜日、10:00 Meeting、Lunch"},
      {0, 5, "2024年5月4日(土) 平成36年 国民の休日", "5月4日 土曜日 国民の休日"},
      {0, 2, "2024年5月1日(水) 平成36年", "5月1日 水曜日"},
  };
  for (const Row& row : rows) {
    QAccessibleInterface* cell = cells->cellAt(row.row, row.column);
    ASSERT_NE(cell, nullptr) << row.name;
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), QString::fromUtf8(row.name));
    EXPECT_EQ(cell->text(QAccessible::Description), QString::fromUtf8(row.description));
    EXPECT_EQ(table->child(row.row * 7 + row.column), cell);
    EXPECT_EQ(table->indexOfChild(cell), row.row * 7 + row.column);
  }
  EXPECT_EQ(cells->cellAt(4, 0), nullptr);

  // The cursor cell is the selected one, focused while the grid has the focus. The events of
  // a move are read through the accessibility bus (a11y_schedule.py): offscreen, Qt passes
  // none on.
  schedule->setFocus();
  const std::pair<TDateRec, int> moves[] = {
      {{2024, 5, 9}, 10}, {{2024, 5, 20}, 21}, {{2024, 4, 29}, 0}};
  for (const auto& [date, index] : moves) {
    schedule->SetCursorDate(date);
    ASSERT_EQ(cells->selectedCellCount(), 1);
    EXPECT_EQ(table->indexOfChild(cells->selectedCells().front()), index);
    const QAccessible::State state = table->child(index)->state();
    EXPECT_TRUE(state.selected);
    EXPECT_EQ(static_cast<bool>(state.focused), schedule->hasFocus());
    EXPECT_FALSE(table->child(index == 0 ? 1 : 0)->state().selected);
  }
}

}  // namespace
}  // namespace pelo::test
