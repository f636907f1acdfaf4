// Tests of the grid base: geometry, counts, errors, the current cell with its veto, the mouse,
// the keys, scroll bars and what the painting loop puts on screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "widgets/Colors.h"
#include "widgets/Grids.h"

namespace pelo {
namespace {

using Opt = TGridOption;

class TestGrid : public TGrid {
 public:
  struct Call {
    int col;
    int row;
    QRect rect;
    TGridDrawState state;
  };
  std::vector<Call> calls;
  std::set<std::pair<int, int>> forbidden;  // cells SelectCell refuses
  std::vector<std::pair<int, int>> asked;
  bool paint_white = true;
  int double_clicks = 0;

  using TGrid::IsSelecting;

 protected:
  void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override {
    calls.push_back({col, row, rect, state});
    if (paint_white) Canvas()->fillRect(rect, Qt::white);
  }
  bool SelectCell(int col, int row) override {
    asked.emplace_back(col, row);
    return forbidden.count({col, row}) == 0;
  }
  void DblClick(QMouseEvent*) override { ++double_clicks; }
};

// What the schedule sets on its grid base.
void ScheduleLook(TGrid& grid) {
  grid.SetBorderStyle(TBorderStyle::kNone);
  grid.SetScrollBars(TScrollStyle::kNone);
  grid.SetOptions(TGridOptions(Opt::kVertLine) | Opt::kHorzLine);
  grid.SetGridLineWidth(1);
  grid.SetDefaultDrawing(false);
}

void Plain(TGrid& grid) {
  grid.SetBorderStyle(TBorderStyle::kNone);
  grid.SetScrollBars(TScrollStyle::kNone);
}

std::unique_ptr<TestGrid> ShownGrid(const std::function<void(TestGrid&)>& setup, QSize size) {
  auto grid = std::make_unique<TestGrid>();
  grid->setObjectName(QStringLiteral("testGrid"));
  setup(*grid);
  grid->resize(size);
  grid->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
  return grid;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, buttons, mods);
  QApplication::sendEvent(&widget, &event);
}
void Press(QWidget& w, QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, mods);
}
void Drag(QWidget& w, QPoint pos) {
  SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget& w, QPoint pos) {
  SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

TGridCoord Current(const TGrid& grid) { return {grid.Col(), grid.Row()}; }

// ---------------------------------------------------------------------------------------------

TEST(ColorsTest, ConvertsBothWays) {
  struct Case {
    uint32_t bgr;
    QColor qt;
    uint32_t back;
  } const cases[] = {
      {0x000000FF, QColor(255, 0, 0), 0x000000FF},
      {0x0000FF00, QColor(0, 255, 0), 0x0000FF00},
      {0x00FF0000, QColor(0, 0, 255), 0x00FF0000},
      {0x00C0C0C0, QColor(192, 192, 192), 0x00C0C0C0},
      {0x12345678, QColor(0x78, 0x56, 0x34), 0x00345678},  // the top byte means nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToQColor(c.bgr), c.qt) << std::hex << c.bgr;
    EXPECT_EQ(FromQColor(c.qt), c.back) << std::hex << c.bgr;
  }
  EXPECT_EQ(FromQColor(QColor(1, 2, 3, 0)), 0x00030201u);
}

// ---------------------------------------------------------------------------------------------
// Geometry

struct GeometryCase {
  const char* name;
  std::function<void(TestGrid&)> setup;
  QSize size;
  std::vector<std::pair<TGridCoord, QRect>> rects;  // an empty QRect: not shown
  std::vector<std::pair<QPoint, TGridCoord>> points;
};

TEST(GridTest, CellRectAndMouseCoord) {
  const TGridCoord none{};
  const std::vector<GeometryCase> cases = {
      {"defaults, lines of width 1",
       Plain,
       {400, 300},
       {{{0, 0}, {0, 0, 64, 24}},
        {{1, 0}, {65, 0, 64, 24}},
        {{2, 1}, {130, 25, 64, 24}},
        {{4, 4}, {260, 100, 64, 24}}},
       {{{64, 24}, {0, 0}},  // the line after a cell belongs to it
        {{65, 25}, {1, 1}},
        {{324, 10}, {4, 0}},  // line after the last column
        {{325, 10}, none},    // beyond the grid
        {{10, 125}, none}}},
      {"no line option: width 3 counts as 0",
       [](TestGrid& g) {
         Plain(g);
         g.SetOptions(Opt::kRangeSelect);
         g.SetGridLineWidth(3);
       },
       {400, 300},
       {{{1, 1}, {64, 24, 64, 24}}, {{3, 2}, {192, 48, 64, 24}}},
       {{{63, 23}, {0, 0}}, {{64, 24}, {1, 1}}, {{319, 119}, {4, 4}}, {{320, 0}, none}}},
      {"horizontal lines of width 2 only",
       [](TestGrid& g) {
         Plain(g);
         g.SetOptions(Opt::kHorzLine);
         g.SetGridLineWidth(2);
       },
       {400, 300},
       {{{2, 3}, {128, 78, 64, 24}}, {{0, 4}, {0, 104, 64, 24}}},
       {{{128, 77}, {2, 2}}, {{128, 78}, {2, 3}}, {{0, 129}, {0, 4}}, {{0, 130}, none}}},
      {"individual extents, fixed vertical lines give the columns their line",
       [](TestGrid& g) {
         Plain(g);
         g.SetOptions(Opt::kFixedVertLine);
         const int widths[] = {10, 20, 30, 40, 50};
         const int heights[] = {5, 15, 25, 35, 45};
         for (int i = 0; i < 5; ++i) {
           g.SetColWidth(i, widths[i]);
           g.SetRowHeight(i, heights[i]);
         }
       },
       {400, 300},
       {{{3, 2}, {63, 20, 40, 25}}, {{4, 4}, {104, 80, 50, 45}}, {{0, 1}, {0, 5, 10, 15}}},
       {{{10, 4}, {0, 0}}, {{11, 5}, {1, 1}}, {{154, 124}, {4, 4}}, {{155, 0}, none}}},
      {"two fixed columns, scrolled to column 3",
       [](TestGrid& g) {
         Plain(g);
         g.SetColCount(8);
         g.SetFixedCols(2);
         g.SetLeftCol(3);
       },
       {400, 300},
       {{{1, 1}, {65, 25, 64, 24}},
        {{2, 1}, {}},  // scrolled away
        {{3, 1}, {130, 25, 64, 24}},
        {{7, 1}, {390, 25, 64, 24}}},  // partly shown: the whole rectangle
       {{{130, 25}, {3, 1}}, {{399, 30}, {7, 1}}, {{400, 30}, none}}},
      {"single border shifts the cells",
       [](TestGrid& g) { g.SetScrollBars(TScrollStyle::kNone); },
       {400, 300},
       {{{0, 0}, {2, 2, 64, 24}}, {{1, 1}, {67, 27, 64, 24}}},
       {{{1, 1}, none}, {{2, 2}, {0, 0}}, {{67, 27}, {1, 1}}}},
      {"cells beyond the client area and of zero width",
       [](TestGrid& g) {
         Plain(g);
         g.SetColWidth(2, 0);
       },
       {200, 40},
       {{{2, 0}, {}},
        {{3, 0}, {131, 0, 64, 24}},
        {{4, 0}, {196, 0, 64, 24}},  // starts inside: the whole rectangle
        {{1, 2}, {}}},               // row 2 starts at 50, below the client
       {{{130, 5}, {2, 0}}, {{131, 5}, {3, 0}}, {{199, 5}, {4, 0}}, {{5, 39}, {0, 1}}}},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestGrid grid;
    c.setup(grid);
    grid.resize(c.size);
    for (const auto& [cell, rect] : c.rects) {
      EXPECT_EQ(grid.CellRect(cell.Col, cell.Row), rect) << cell.Col << "," << cell.Row;
    }
    for (const auto& [point, cell] : c.points) {
      EXPECT_EQ(grid.MouseCoord(point.x(), point.y()), cell) << point.x() << "," << point.y();
    }
    // Round trip: every corner of every shown cell leads back to it.
    for (int col = 0; col < grid.ColCount(); ++col) {
      for (int row = 0; row < grid.RowCount(); ++row) {
        const QRect r = grid.CellRect(col, row);
        if (r.isEmpty()) continue;
        const QRect seen = r.intersected(QRect(QPoint(0, 0), c.size));
        for (const QPoint p : {seen.topLeft(), seen.bottomRight()}) {
          EXPECT_EQ(grid.MouseCoord(p.x(), p.y()), (TGridCoord{col, row}))
              << col << "," << row << " at " << p.x() << "," << p.y();
        }
      }
    }
  }
}

TEST(GridTest, DefaultExtentDiscardsIndividualOnes) {
  TestGrid grid;
  Plain(grid);
  grid.SetColWidth(1, 10);
  grid.SetColWidth(3, 100);
  grid.SetRowHeight(2, 7);
  EXPECT_TRUE(grid.HasColWidths());
  EXPECT_EQ(grid.ColWidth(0), 64);  // filled with the default on first use
  EXPECT_EQ(grid.ColWidth(3), 100);
  grid.SetDefaultColWidth(50);
  EXPECT_FALSE(grid.HasColWidths());
  for (int col = 0; col < 5; ++col) EXPECT_EQ(grid.ColWidth(col), 50);
  EXPECT_EQ(grid.RowHeight(2), 7);  // the other axis keeps its own
  grid.SetDefaultRowHeight(30);
  EXPECT_FALSE(grid.HasRowHeights());
  EXPECT_EQ(grid.RowHeight(2), 30);
  grid.resize(400, 300);
  EXPECT_EQ(grid.CellRect(2, 2), QRect(102, 62, 50, 30));
}

// ---------------------------------------------------------------------------------------------
// Counts and errors

TEST(GridTest, CountChangesKeepTheGridValid) {
  struct Case {
    const char* name;
    std::function<void(TestGrid&)> act;
    int fixed_cols, col, anchor_col, left_col, col_count;
  } const cases[] = {
      {"shrinking pulls the current cell in",
       [](TestGrid& g) {
         g.FocusCell(4, 1, true);
         g.SetColCount(3);
       },
       1, 2, 2, 1, 3},
      {"one column with one fixed: no fixed column left", [](TestGrid& g) { g.SetColCount(1); }, 0,
       0, 0, 0, 1},
      {"below one counts as one", [](TestGrid& g) { g.SetColCount(-3); }, 0, 0, 0, 0, 1},
      {"growing keeps everything",
       [](TestGrid& g) {
         g.FocusCell(4, 1, true);
         g.SetColCount(9);
       },
       1, 4, 4, 1, 9},
      {"the scrolled position follows a shrink",
       [](TestGrid& g) {
         g.SetColCount(10);
         g.SetLeftCol(8);
         g.SetColCount(4);
       },
       1, 1, 1, 3, 4},
      {"more fixed columns push the cursor and position out of them",
       [](TestGrid& g) { g.SetFixedCols(3); }, 3, 3, 3, 3, 5},
      {"fewer fixed columns leave them", [](TestGrid& g) { g.SetFixedCols(0); }, 0, 1, 1, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestGrid grid;
    Plain(grid);
    c.act(grid);
    EXPECT_EQ(grid.ColCount(), c.col_count);
    EXPECT_EQ(grid.FixedCols(), c.fixed_cols);
    EXPECT_EQ(grid.Col(), c.col);
    EXPECT_EQ(grid.Anchor().Col, c.anchor_col);
    EXPECT_EQ(grid.LeftCol(), c.left_col);
    EXPECT_EQ(grid.Row(), 1);
  }

  TestGrid rows;
  rows.FocusCell(1, 4, true);
  rows.SetRowCount(1);
  EXPECT_EQ(rows.FixedRows(), 0);
  EXPECT_EQ(rows.Row(), 0);
  EXPECT_EQ(rows.TopRow(), 0);
}

TEST(GridTest, ExtentListsFollowTheCount) {
  TestGrid grid;
  grid.SetColWidth(4, 99);
  grid.SetColWidth(2, 30);
  grid.SetColCount(3);
  grid.SetColCount(6);
  EXPECT_EQ(grid.ColWidth(2), 30);
  EXPECT_EQ(grid.ColWidth(4), 64);  // cut away and grown back with the default
  EXPECT_EQ(grid.ColWidth(5), 64);
}

TEST(GridTest, InvalidRequestsRaiseErrors) {
  const std::string index = "グリッドインデックス が範囲を超えています";
  const std::string cols = "固定列の数は列数より小さくなければなりません";
  const std::string rows = "固定行の数は行数より小さくなければなりません";
  struct Case {
    const char* name;
    std::function<void(TestGrid&)> act;
    std::string message;
  } const cases[] = {
      {"FocusCell right of the grid", [](TestGrid& g) { g.FocusCell(5, 1, true); }, index},
      {"FocusCell left of the grid", [](TestGrid& g) { g.FocusCell(-1, 1, true); }, index},
      {"FocusCell below the grid", [](TestGrid& g) { g.FocusCell(1, 5, false); }, index},
      {"SetCol", [](TestGrid& g) { g.SetCol(7); }, index},
      {"SetRow", [](TestGrid& g) { g.SetRow(-2); }, index},
      {"fixed columns = count", [](TestGrid& g) { g.SetFixedCols(5); }, cols},
      {"fixed rows > count", [](TestGrid& g) { g.SetFixedRows(9); }, rows},
      {"negative fixed columns", [](TestGrid& g) { g.SetFixedCols(-1); }, index},
      {"column width index", [](TestGrid& g) { g.SetColWidth(5, 10); }, index},
      {"row height index", [](TestGrid& g) { g.SetRowHeight(-1, 10); }, index},
      {"reading a width", [](TestGrid& g) { (void)g.ColWidth(5); }, index},
      {"left column", [](TestGrid& g) { g.SetLeftCol(5); }, index},
      {"top row", [](TestGrid& g) { g.SetTopRow(-1); }, index},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestGrid grid;
    try {
      c.act(grid);
      ADD_FAILURE() << "no error";
    } catch (const std::out_of_range& e) {
      EXPECT_EQ(e.what(), c.message);
      EXPECT_NE(dynamic_cast<const EGridError*>(&e), nullptr);
    }
    // A refused request changes nothing.
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(Current(grid), (TGridCoord{1, 1}));
  }
}

// ---------------------------------------------------------------------------------------------
// Current cell

TEST(GridTest, FocusCellAsksTheVeto) {
  TestGrid grid;
  Plain(grid);
  grid.forbidden = {{3, 2}};
  grid.FocusCell(3, 2, true);
  EXPECT_EQ(Current(grid), (TGridCoord{1, 1}));
  EXPECT_EQ(grid.asked, (std::vector<std::pair<int, int>>{{3, 2}}));
  grid.FocusCell(2, 3, true);
  EXPECT_EQ(Current(grid), (TGridCoord{2, 3}));
  grid.SetCol(4);
  EXPECT_EQ(Current(grid), (TGridCoord{4, 3}));
  grid.SetRow(2);
  EXPECT_EQ(Current(grid), (TGridCoord{4, 2}));
  grid.SetCol(3);  // (3, 2) is refused
  EXPECT_EQ(Current(grid), (TGridCoord{4, 2}));
}

TEST(GridTest, AnchorAndSelection) {
  TestGrid grid;
  grid.FocusCell(2, 2, true);
  grid.FocusCell(4, 3, false);  // range selection is on by default
  EXPECT_EQ(grid.Anchor(), (TGridCoord{2, 2}));
  EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 4, 3}));
  grid.SetOptions(TGridOptions(Opt::kRowSelect) | Opt::kRangeSelect);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 2, 4, 3}));
  grid.SetOptions(Opt::kVertLine);
  grid.FocusCell(1, 1, false);  // without range selection the anchor always follows
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridTest, FocusCellScrollsJustEnough) {
  // Column 0 + line = 65, then 65 per column: 260 pixels show columns 1..3 whole.
  struct Step {
    int col, row, left, top;
  } const steps[] = {
      {5, 1, 3, 1},  // columns 3, 4, 5 shown
      {4, 1, 3, 1},  // already whole: no scrolling
      {2, 1, 2, 1},  // left of the shown ones: becomes the first
      {0, 1, 2, 1},  // a title column never scrolls
      {9, 9, 7, 6},  // 100 pixels below the title row show four rows whole
      {1, 1, 1, 1},
  };
  TestGrid grid;
  Plain(grid);
  grid.SetColCount(10);
  grid.SetRowCount(10);
  grid.resize(260, 125);
  for (const Step& s : steps) {
    grid.FocusCell(s.col, s.row, true);
    EXPECT_EQ(grid.LeftCol(), s.left) << s.col << "," << s.row;
    EXPECT_EQ(grid.TopRow(), s.top) << s.col << "," << s.row;
  }
  EXPECT_EQ(grid.VisibleColCount(), 3);
  EXPECT_EQ(grid.VisibleRowCount(), 4);
}

// ---------------------------------------------------------------------------------------------
// Mouse

TEST(GridMouseTest, PlainPressOnlyStartsSelecting) {
  auto grid = ShownGrid(ScheduleLook, {400, 200});
  grid->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
  grid->clearFocus();
  ASSERT_FALSE(grid->hasFocus());

  Press(*grid, grid->CellRect(3, 2).center());
  EXPECT_TRUE(grid->IsSelecting());
  EXPECT_EQ(Current(*grid), (TGridCoord{1, 1}));
  EXPECT_TRUE(grid->hasFocus());
  EXPECT_TRUE(grid->asked.empty());

  grid->forbidden = {{2, 2}};
  Drag(*grid, grid->CellRect(2, 2).center());  // refused
  EXPECT_EQ(Current(*grid), (TGridCoord{1, 1}));
  Drag(*grid, grid->CellRect(3, 3).center());
  EXPECT_EQ(Current(*grid), (TGridCoord{3, 3}));
  EXPECT_EQ(grid->Anchor(), (TGridCoord{3, 3}));  // no range selection here
  Drag(*grid, grid->CellRect(0, 2).center());     // title column: ignored
  EXPECT_EQ(Current(*grid), (TGridCoord{3, 3}));
  Release(*grid, grid->CellRect(0, 2).center());
  EXPECT_FALSE(grid->IsSelecting());
  Drag(*grid, grid->CellRect(1, 3).center());  // no longer selecting
  EXPECT_EQ(Current(*grid), (TGridCoord{3, 3}));
}

TEST(GridMouseTest, DragWithRangeSelectionKeepsTheAnchor) {
  auto grid = ShownGrid(Plain, {400, 200});
  Press(*grid, grid->CellRect(2, 2).center());
  Drag(*grid, grid->CellRect(4, 3).center());
  EXPECT_EQ(Current(*grid), (TGridCoord{4, 3}));
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 4, 3}));
}

TEST(GridMouseTest, ShiftPressMovesWithTheVeto) {
  struct Case {
    std::set<std::pair<int, int>> forbidden;
    TGridCoord expected;
  } const cases[] = {{{}, {3, 2}}, {{{3, 2}}, {1, 1}}};
  for (const Case& c : cases) {
    auto grid = ShownGrid(ScheduleLook, {400, 200});
    grid->forbidden = c.forbidden;
    Press(*grid, grid->CellRect(3, 2).center(), Qt::ShiftModifier);
    EXPECT_EQ(Current(*grid), c.expected);
    EXPECT_EQ(grid->asked, (std::vector<std::pair<int, int>>{{3, 2}}));
    EXPECT_TRUE(grid->IsSelecting());
  }
}

TEST(GridMouseTest, PressesOutsideScrollableCellsDoNothing) {
  auto grid = ShownGrid(ScheduleLook, {400, 200});
  for (const QPoint p :
       {grid->CellRect(0, 2).center(), grid->CellRect(3, 0).center(), QPoint(390, 190)}) {
    Press(*grid, p, Qt::ShiftModifier);
    EXPECT_FALSE(grid->IsSelecting());
    EXPECT_EQ(Current(*grid), (TGridCoord{1, 1}));
    EXPECT_TRUE(grid->asked.empty());
  }
  SendMouse(*grid, QEvent::MouseButtonPress, grid->CellRect(2, 2).center(), Qt::RightButton,
            Qt::RightButton);
  EXPECT_FALSE(grid->IsSelecting());
}

TEST(GridMouseTest, DoubleClickIsPassedOn) {
  auto grid = ShownGrid(ScheduleLook, {400, 200});
  const QPoint p = grid->CellRect(3, 2).center();
  SendMouse(*grid, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(grid->double_clicks, 1);
  EXPECT_EQ(Current(*grid), (TGridCoord{1, 1}));
  EXPECT_FALSE(grid->IsSelecting());
}

// ---------------------------------------------------------------------------------------------
// Keyboard

TEST(GridKeyTest, KeysMoveTheCurrentCell) {
  struct Case {
    TGridCoord from;
    int key;
    Qt::KeyboardModifiers mods;
    TGridCoord to;
  } const cases[] = {
      {{1, 1}, Qt::Key_Right, Qt::NoModifier, {2, 1}},
      {{9, 1}, Qt::Key_Right, Qt::NoModifier, {9, 1}},  // last column
      {{1, 1}, Qt::Key_Left, Qt::NoModifier, {1, 1}},   // never into the titles
      {{3, 3}, Qt::Key_Up, Qt::NoModifier, {3, 2}},
      {{3, 3}, Qt::Key_Down, Qt::NoModifier, {3, 3}},  // (3, 4) is refused
      {{5, 4}, Qt::Key_Home, Qt::NoModifier, {1, 4}},
      {{5, 4}, Qt::Key_End, Qt::NoModifier, {9, 4}},
      {{5, 4}, Qt::Key_Home, Qt::ControlModifier, {1, 1}},
      {{5, 4}, Qt::Key_End, Qt::ControlModifier, {9, 9}},
      {{5, 2}, Qt::Key_PageDown, Qt::NoModifier, {5, 6}},  // four rows shown whole
      {{5, 8}, Qt::Key_PageDown, Qt::NoModifier, {5, 9}},
      {{5, 6}, Qt::Key_PageUp, Qt::NoModifier, {5, 2}},
  };
  for (const Case& c : cases) {
    TestGrid grid;
    Plain(grid);
    grid.SetColCount(10);
    grid.SetRowCount(10);
    grid.resize(260, 125);
    grid.FocusCell(c.from.Col, c.from.Row, true);
    grid.forbidden = {{3, 4}};
    QTest::keyClick(&grid, static_cast<Qt::Key>(c.key), c.mods);
    EXPECT_EQ(Current(grid), c.to) << c.key << " from " << c.from.Col << "," << c.from.Row;
    // The new cell is in view.
    EXPECT_FALSE(grid.CellRect(grid.Col(), grid.Row()).isEmpty());
  }
}

TEST(GridKeyTest, ShiftExtendsARangeAndTabsMoveWhenAsked) {
  TestGrid grid;
  Plain(grid);
  QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 2, 2}));
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.Selection(), (TGridRect{3, 2, 3, 2}));

  grid.SetOptions(grid.Options() | Opt::kTabs);
  grid.FocusCell(4, 2, true);
  QTest::keyClick(&grid, Qt::Key_Tab);
  EXPECT_EQ(Current(grid), (TGridCoord{1, 3}));
  QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Current(grid), (TGridCoord{4, 2}));
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

TEST(GridTest, ScrollBarsShowWhenThereIsSomethingToScroll) {
  auto grid = ShownGrid(
      [](TestGrid& g) {
        g.SetColCount(10);
        g.SetRowCount(3);
      },
      {300, 200});
  auto* horz = grid->findChild<QScrollBar*>(QStringLiteral("horzScrollBar"));
  auto* vert = grid->findChild<QScrollBar*>(QStringLiteral("vertScrollBar"));
  ASSERT_NE(horz, nullptr);
  ASSERT_NE(vert, nullptr);
  EXPECT_TRUE(horz->isVisible());
  EXPECT_FALSE(vert->isVisible());  // three rows fit
  EXPECT_EQ(grid->ClientRect().bottom(), horz->geometry().top() - 1);
  horz->setValue(4);
  EXPECT_EQ(grid->LeftCol(), 4);
  grid->SetLeftCol(2);
  EXPECT_EQ(horz->value(), 2);
  grid->SetScrollBars(TScrollStyle::kVertical);
  EXPECT_FALSE(horz->isVisible());
  EXPECT_EQ(grid->ClientRect(), QRect(2, 2, 296, 196));
}

// ---------------------------------------------------------------------------------------------
// Painting

// The schedule's look: column 0 is 20 wide, the others 30; row 0 is 10 high, the others 15.
// Columns start at x = 0, 21, 52, 83 and rows at y = 0, 11, 27.
void SmallScheduleGrid(TestGrid& g) {
  ScheduleLook(g);
  g.SetColCount(4);
  g.SetRowCount(3);
  g.SetDefaultColWidth(30);
  g.SetDefaultRowHeight(15);
  g.SetColWidth(0, 20);
  g.SetRowHeight(0, 10);
}

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(GridPaintTest, LinesOnlyBetweenScrollableCells) {
  enum Kind { kCell, kLine, kBack };
  struct Probe {
    int x, y;
    Kind kind;
  } const probes[] = {
      {51, 20, kLine},   // between columns 1 and 2
      {82, 35, kLine},   // between columns 2 and 3
      {113, 30, kLine},  // after the last column
      {30, 26, kLine},   // between rows 1 and 2
      {100, 42, kLine},  // after the last row
      {51, 26, kLine},   // crossing
      {50, 20, kCell},   // one pixel wide on each side
      {52, 20, kCell},  {30, 25, kCell},
      {30, 27, kCell},  {20, 20, kBack},  // after the title column: no line there
      {51, 5, kBack},                     // between title cells
      {10, 26, kBack},                    // a row line does not cross the title column
      {30, 10, kBack},                    // after the title row
      {114, 20, kBack},                   // right of the grid
      {60, 43, kBack},                    // below the grid
      {129, 49, kBack},
  };
  struct Case {
    QColor color;
    QRgb line;
  } const cases[] = {
      {QColor(0xC0, 0xC0, 0xC0), 0x808080},
      {QColor(0x00, 0xFF, 0x00), 0x00FF00},
      {QColor(0x12, 0x34, 0x56), 0x123456},
  };
  for (const Case& c : cases) {
    auto grid = ShownGrid(SmallScheduleGrid, {130, 50});
    grid->SetColor(c.color);
    const QImage image = grid->grab().toImage();
    for (const Probe& p : probes) {
      const QRgb expected = p.kind == kCell   ? 0xFFFFFF
                            : p.kind == kLine ? c.line
                                              : c.color.rgb() & 0xFFFFFF;
      EXPECT_EQ(Pixel(image, p.x, p.y), expected)
          << std::hex << c.color.rgb() << " at " << std::dec << p.x << "," << p.y;
    }
  }
}

TEST(GridPaintTest, DrawCellIsCalledForTheVisibleCells) {
  using Calls = std::vector<std::pair<TGridCoord, QRect>>;
  struct Case {
    const char* name;
    QSize size;
    int left_col;
    Calls expected;
  } const cases[] = {
      {"everything shown",
       {130, 50},
       1,
       {{{0, 0}, {0, 0, 20, 10}},
        {{1, 0}, {21, 0, 30, 10}},
        {{2, 0}, {52, 0, 30, 10}},
        {{3, 0}, {83, 0, 30, 10}},
        {{0, 1}, {0, 11, 20, 15}},
        {{1, 1}, {21, 11, 30, 15}},
        {{2, 1}, {52, 11, 30, 15}},
        {{3, 1}, {83, 11, 30, 15}},
        {{0, 2}, {0, 27, 20, 15}},
        {{1, 2}, {21, 27, 30, 15}},
        {{2, 2}, {52, 27, 30, 15}},
        {{3, 2}, {83, 27, 30, 15}}}},
      {"cut at the right and bottom",
       {70, 30},
       1,
       {{{0, 0}, {0, 0, 20, 10}},
        {{1, 0}, {21, 0, 30, 10}},
        {{2, 0}, {52, 0, 30, 10}},
        {{0, 1}, {0, 11, 20, 15}},
        {{1, 1}, {21, 11, 30, 15}},
        {{2, 1}, {52, 11, 30, 15}},
        {{0, 2}, {0, 27, 20, 15}},
        {{1, 2}, {21, 27, 30, 15}},
        {{2, 2}, {52, 27, 30, 15}}}},
      {"scrolled to column 2",
       {130, 30},
       2,
       {{{0, 0}, {0, 0, 20, 10}},
        {{2, 0}, {21, 0, 30, 10}},
        {{3, 0}, {52, 0, 30, 10}},
        {{0, 1}, {0, 11, 20, 15}},
        {{2, 1}, {21, 11, 30, 15}},
        {{3, 1}, {52, 11, 30, 15}},
        {{0, 2}, {0, 27, 20, 15}},
        {{2, 2}, {21, 27, 30, 15}},
        {{3, 2}, {52, 27, 30, 15}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto grid = ShownGrid(SmallScheduleGrid, c.size);
    grid->SetLeftCol(c.left_col);
    grid->calls.clear();
    (void)grid->grab();
    Calls seen;
    for (const auto& call : grid->calls) seen.push_back({{call.col, call.row}, call.rect});
    EXPECT_EQ(seen, c.expected);
  }
}

TEST(GridPaintTest, CellStates) {
  auto grid = ShownGrid(SmallScheduleGrid, {130, 50});
  grid->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
  const auto state_of = [&](int col, int row) {
    for (const auto& call : grid->calls) {
      if (call.col == col && call.row == row) return call.state;
    }
    ADD_FAILURE() << "not drawn: " << col << "," << row;
    return TGridDrawState();
  };
  grid->FocusCell(2, 1, true);
  grid->clearFocus();
  grid->calls.clear();
  (void)grid->grab();
  EXPECT_EQ(state_of(2, 1), TGridDrawState(TGridDrawFlag::kSelected));
  EXPECT_EQ(state_of(0, 1), TGridDrawState(TGridDrawFlag::kFixed));
  EXPECT_EQ(state_of(2, 0), TGridDrawState(TGridDrawFlag::kFixed));
  EXPECT_EQ(state_of(1, 1), TGridDrawState());
  grid->setFocus();
  ASSERT_TRUE(grid->hasFocus());
  grid->calls.clear();
  (void)grid->grab();
  EXPECT_EQ(state_of(2, 1), TGridDrawFlag::kSelected | TGridDrawFlag::kFocused);
  EXPECT_EQ(state_of(3, 2), TGridDrawState());
}

TEST(GridPaintTest, DefaultDrawingFillsTheCells) {
  auto grid = ShownGrid(
      [](TestGrid& g) {
        Plain(g);
        g.SetFixedColor(QColor(0xFF, 0, 0));
        g.SetColor(QColor(0, 0, 0xFF));
        g.paint_white = false;
      },
      {400, 200});
  grid->FocusCell(2, 2, true);
  grid->clearFocus();
  const QImage image = grid->grab().toImage();
  const QRgb highlight = grid->palette().color(QPalette::Highlight).rgb() & 0xFFFFFF;
  EXPECT_EQ(Pixel(image, 30, 12), 0xFF0000u);    // title cell
  EXPECT_EQ(Pixel(image, 100, 40), 0x0000FFu);   // plain cell
  EXPECT_EQ(Pixel(image, 160, 60), highlight);   // selected, not focused
  EXPECT_EQ(Pixel(image, 64, 12), 0x000000u);    // fixed lines are black
  EXPECT_EQ(Pixel(image, 129, 40), 0x0000FFu);   // a line of a blue grid is blue
  EXPECT_EQ(Pixel(image, 350, 150), 0x0000FFu);  // beyond the grid
}

// A grid as made: five by five cells of 64 x 24 inside a sunken border, the title column and
// row in the button colour with black lines, the rest silver with grey lines, the current
// cell (1, 1) selected; no scroll bar while everything fits.
TEST(GridPaintTest, ANewGridAsMade) {
  auto grid = ShownGrid([](TestGrid& g) { g.paint_white = false; }, {400, 200});
  grid->clearFocus();
  const QImage image = grid->grab().toImage();
  const QRgb button = grid->palette().color(QPalette::Button).rgb() & 0xFFFFFF;
  const QRgb highlight = grid->palette().color(QPalette::Highlight).rgb() & 0xFFFFFF;
  // The middle of cell (col, row) and the line after a column, in widget coordinates.
  const auto middle = [](int col, int row) {
    return QPoint(TGrid::kBorderWidth + col * 65 + 32, TGrid::kBorderWidth + row * 25 + 12);
  };
  const auto line_after = [](int col) { return TGrid::kBorderWidth + col * 65 + 64; };
  const struct {
    const char* what;
    QPoint at;
    QRgb color;
  } probes[] = {
      {"title cell", middle(2, 0), button},
      {"current cell", middle(1, 1), highlight},
      {"plain cell", middle(4, 4), 0xC0C0C0},
      {"line in the titles", {line_after(2), middle(2, 0).y()}, 0x000000},
      {"line between cells", {line_after(2), middle(2, 3).y()}, 0x808080},
      {"beyond the last column", {line_after(4) + 5, middle(4, 2).y()}, 0xC0C0C0},
      {"below the last row", {middle(3, 0).x(), TGrid::kBorderWidth + 5 * 25 + 5}, 0xC0C0C0},
  };
  for (const auto& p : probes) EXPECT_EQ(Pixel(image, p.at.x(), p.at.y()), p.color) << p.what;
  EXPECT_NE(Pixel(image, 0, 100), 0xC0C0C0u);  // the border
  EXPECT_FALSE(grid->findChild<QScrollBar*>(QStringLiteral("horzScrollBar"))->isVisible());
  EXPECT_FALSE(grid->findChild<QScrollBar*>(QStringLiteral("vertScrollBar"))->isVisible());
}

TEST(GridPaintTest, MovingRepaintsOnlyTheOldAndNewCell) {
  auto grid = ShownGrid(SmallScheduleGrid, {130, 50});
  QApplication::processEvents();
  grid->calls.clear();
  grid->FocusCell(3, 2, true);
  QApplication::processEvents();
  std::set<std::pair<int, int>> drawn;
  for (const auto& call : grid->calls) drawn.insert({call.col, call.row});
  EXPECT_EQ(drawn, (std::set<std::pair<int, int>>{{1, 1}, {3, 2}}));
}

}  // namespace
}  // namespace pelo
