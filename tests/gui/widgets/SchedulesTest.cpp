// Tests of the schedule widget: construction and settings, the keys, the mouse with drag and
// drop, the refresh cycle and the hint over truncated lines. Painting is SchedulePaintTest.cpp.

#include <sys/stat.h>

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <set>

#include "CellLooks.h"
#include "ScheduleTestSupport.h"
#include "calendar/Dates.h"
#include "entries/Entries.h"

namespace pelo::test {
namespace {

using Kind = RecordingNotices::Kind;

// Cells of the week-rows page at 841 x 560: columns Monday..Sunday, rows the weeks from
// 2024/4/29 on; every column 119 pixels wide after a one-pixel line.
QRect DayCell(const TSchedule& schedule, int col, int row) { return schedule.CellRect(col, row); }

// ---- construction and settings ---------------------------------------------------------

TEST_F(ScheduleFixture, BeforeAnyPageTwoWeeksOfCategoriesAToDWithoutMarkIcons) {
  TMeasuredDocument document(notices_, kToday);
  TSchedule schedule(document);
  Load(schedule, "D:2024/5/8 category D\nE:2024/5/8 category E\n#2024/5/8 hash marked\n");
  EXPECT_EQ(Lines(schedule, TDateRec{2024, 5, 8}), std::vector<std::string>{"category D"});
  // Weeks from Monday down two columns, the cursor on today; the day table from the year
  // before.
  EXPECT_EQ(schedule.ColCount(), 3);
  EXPECT_EQ(schedule.RowCount(), 8);
  EXPECT_EQ(schedule.CursorDate(), kToday);
  EXPECT_EQ(schedule.TopDate(), (TDateRec{2024, 4, 29}));
  EXPECT_EQ(schedule.EndDate(), (TDateRec{2024, 5, 12}));
  EXPECT_EQ(schedule.DayTable().FirstYear(), 2023);
  const TCellLineList* cell = schedule.DayTable().Cell(TDateRec{2024, 5, 8});
  ASSERT_NE(cell, nullptr);
  EXPECT_FALSE(cell->IconVisible(kIconMark));
  EXPECT_FALSE(cell->IconVisible(kIconPicture));
  EXPECT_TRUE(cell->IconVisible(kIconRankA));
  // The default page's entry font, in the entry colour.
  EXPECT_EQ(cell->Font().Name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(cell->Font().Color, TScheduleSettings{}.Colors[kColorEntryText]);
  EXPECT_TRUE(schedule.DragCheck());
  EXPECT_FALSE(schedule.ReadOnly());
}

TEST_F(ScheduleFixture, ApplySettingsAndGetSettingsRoundTrip) {
  TMeasuredDocument document(notices_, kToday);
  TSchedule schedule(document);
  schedule.resize(600, 400);
  TScheduleSettings page = WeekRowsPage();
  page.DayUpper = true;
  page.DispDay = true;
  page.DayInfo = 3;
  page.DispHoliday = false;
  page.Wrap = true;
  SetCellLook(page, {.title_3d = 3,
                     .cursor_3d = -1,
                     .today_3d = 4,
                     .normal_3d = 1,
                     .line_width = 2,
                     .spacing = 5,
                     .percent = 120});
  page.CheckedIconVisible = false;
  page.MarkIconVisible = true;
  page.Fonts[kFontTitle] = "DejaVu Sans,12,Bold";
  page.Fonts[kFontDayNumber] = "DejaVu Serif,11";
  schedule.ApplySettings(page);

  TScheduleSettings expected = page;
  expected.Visible = false;  // never read, never given back
  EXPECT_EQ(schedule.GetSettings(), expected);
  EXPECT_EQ(schedule.GridLineWidth(), 2);
  EXPECT_EQ(schedule.Color(), ToQColor(TestColor(kColorControlBack)));
  // Sizes measured from the new fonts.
  const QFontMetrics title(QFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold));
  const QFontMetrics number(QFont(QStringLiteral("DejaVu Serif"), 11));
  EXPECT_EQ(schedule.TitleHeight(), title.height() + 4);
  EXPECT_EQ(schedule.DateLabelWidth(), number.horizontalAdvance(QStringLiteral("28")) + 4);
  EXPECT_EQ(schedule.DateLabelHeight(), number.height() + 4);
  // The entry font takes colour 16 and goes to every cell with the other list settings.
  const TCellLineList* cell = schedule.DayTable().Cell(TDateRec{2024, 5, 1});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->Font().Name, "DejaVu Sans");
  EXPECT_EQ(cell->Font().Color, TestColor(kColorEntryText));
  EXPECT_EQ(cell->SelectColor(), TestColor(kColorSelectedLine));
  EXPECT_TRUE(cell->Wrap());
  EXPECT_EQ(cell->Spacing(), 5);
  EXPECT_EQ(cell->Percent(), 120);
  EXPECT_FALSE(cell->IconVisible(kIconChecked));
  EXPECT_TRUE(cell->IconVisible(kIconMark));
}

TEST_F(ScheduleFixture, LayoutPropertiesRebuildTheGrid) {
  auto schedule = Make(WeekRowsPage());
  // Seven columns of 119 pixels after a one-pixel line, the titles in row 0.
  EXPECT_EQ(schedule->ColCount(), 8);
  EXPECT_EQ(schedule->RowCount(), 5);
  EXPECT_EQ(schedule->ColWidth(0), 0);
  EXPECT_EQ(schedule->RowHeight(0), schedule->TitleHeight());
  EXPECT_EQ(schedule->DefaultColWidth(), 119);
  EXPECT_EQ(schedule->DefaultRowHeight(), (560 - 4 - schedule->TitleHeight()) / 4);

  schedule->SetCycle(31);  // a month sheet: FixTopDay becomes 1, FixTopWeek -1
  EXPECT_EQ(schedule->Model().FixTopDay(), 1);
  EXPECT_EQ(schedule->Model().FixTopWeek(), -1);
  EXPECT_EQ(schedule->ColCount(), 32);
  EXPECT_EQ(schedule->RowCount(), 5);
  EXPECT_EQ(schedule->TopDate(), (TDateRec{2024, 5, 1}));
  EXPECT_EQ(schedule->ColWidth(0), schedule->TitleHeight());  // day numbers down column 0

  schedule->SetTerm(400);  // 31 x 400 cells: refused, the grid stays
  EXPECT_EQ(schedule->RowCount(), 5);

  TScheduleSettings untitled = schedule->GetSettings();
  untitled.DispTitle = false;
  schedule->ApplySettings(untitled);
  EXPECT_EQ(schedule->ColWidth(0), 0);
  EXPECT_EQ(schedule->RowHeight(0), 0);
}

TEST_F(ScheduleFixture, DayPropertiesIgnoreValuesOutOfRange) {
  auto schedule = Make(WeekRowsPage());
  QSignalSpy jumps(schedule.get(), &TSchedule::OnJump);
  schedule->SetYear(1582);
  schedule->SetYear(2151);
  schedule->SetMonth(13);
  schedule->SetDay(0);
  EXPECT_EQ(schedule->CursorDate(), kToday);
  EXPECT_EQ(jumps.count(), 0);
  EXPECT_TRUE(notices_.events.empty());
  schedule->SetDay(20);
  schedule->SetMonth(6);
  schedule->SetYear(2025);
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2025, 6, 20}));
  EXPECT_EQ(jumps.count(), 3);
  schedule->SetMonth(2);
  schedule->SetDay(31);  // 2025/2/31 does not exist
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2025, 2, 20}));
  ASSERT_EQ(notices_.events.size(), 2u);
  EXPECT_EQ(notices_.events[0].kind, Kind::kBeep);
  EXPECT_EQ(notices_.events[0].beep, TBeepKind::kPlain);
  EXPECT_EQ(notices_.events[1].text, "日付が存在しません。");
}

TEST_F(ScheduleFixture, RefusalAtTheEndOfTheCalendar) {
  auto schedule = Make(WeekRowsPage());
  schedule->SetCursorDate(TDateRec{2150, 12, 31});
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2150, 12, 31}));
  EXPECT_TRUE(notices_.events.empty());
  QTest::keyClick(schedule.get(), Qt::Key_Right);  // rows are weeks: one day on
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2150, 12, 31}));
  ASSERT_EQ(notices_.events.size(), 2u);
  EXPECT_EQ(notices_.events[0].beep, TBeepKind::kPlain);
  EXPECT_EQ(notices_.events[1].kind, Kind::kInformation);
  EXPECT_EQ(notices_.events[1].text, "ねりかのカレンダーは 1582/11/1 から 2150/12/31 までです。");
}

TEST_F(ScheduleFixture, InconsistentLayoutFallsBackToTheFirstShownDay) {
  // Five week rows from the Monday before the 1st cannot hold September 2024, which starts on
  // a Sunday: the 30th would need a sixth row. The cursor goes to TopDate.
  TScheduleSettings page = WeekRowsPage();
  page.Term = 5;
  page.FixTopDay = 1;
  auto schedule = Make(page);
  schedule->SetCursorDate(TDateRec{2024, 9, 30});
  EXPECT_EQ(schedule->TopDate(), (TDateRec{2024, 8, 26}));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 8, 26}));
  EXPECT_EQ(schedule->Col(), 1);
  EXPECT_EQ(schedule->Row(), 1);
  ASSERT_EQ(notices_.events.size(), 2u);
  EXPECT_EQ(notices_.events[0].beep, TBeepKind::kExclamation);
  EXPECT_EQ(notices_.events[1].text,
            "この日付は表示できません。ｽｹｼﾞｭｰﾙのﾌﾟﾛﾊﾟﾃｨに矛盾があると思われます。");
}

// ---- keys -------------------------------------------------------------------------------

// A key pressed on the week-rows page (weeks in rows when vertical, in columns otherwise; a
// month per cycle for cycle 31) with the cursor on from. top: the first shown day after it
// when the key scrolls the view, which keeps the cursor's cell.
struct KeyCase {
  const char* name;
  bool vertical;
  int32_t cycle;
  TDateRec from;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  TDateRec to;
  TDateRec top{};
  bool refused = false;
};

TEST_F(ScheduleFixture, KeysMoveTheCursorOrScrollTheView) {
  constexpr bool kRows = true;
  constexpr bool kCols = false;
  using Qt::Key_A, Qt::Key_Down, Qt::Key_Home, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up;
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  const KeyCase cases[] = {
      {"Left a week in columns", kCols, 7, {2024, 5, 15}, Key_Left, none, {2024, 5, 8}},
      {"Right a week in columns", kCols, 7, {2024, 5, 15}, Key_Right, none, {2024, 5, 22}},
      {"Left a month in columns", kCols, 31, {2024, 3, 31}, Key_Left, none, {2024, 2, 29}},
      {"Right a day in rows", kRows, 7, {2024, 5, 31}, Key_Right, none, {2024, 6, 1}},
      {"Left a day in rows", kRows, 7, {2024, 5, 1}, Key_Left, none, {2024, 4, 30}},
      {"Up a day in columns", kCols, 7, {2024, 3, 1}, Key_Up, none, {2024, 2, 29}},
      {"Down a day in columns", kCols, 7, {2024, 5, 1}, Key_Down, none, {2024, 5, 2}},
      {"Up a week in rows", kRows, 7, {2024, 5, 15}, Key_Up, none, {2024, 5, 8}},
      {"Down a month in rows", kRows, 31, {2024, 1, 31}, Key_Down, none, {2024, 2, 29}},
      {"Home to today", kCols, 7, {2030, 1, 1}, Key_Home, none, kToday},
      {"Shift+Left a month", kCols, 7, {2024, 3, 31}, Key_Left, shift, {2024, 2, 29}},
      {"Shift+Right a month", kCols, 7, {2024, 1, 31}, Key_Right, shift, {2024, 2, 29}},
      {"Shift+Up a year", kCols, 7, {2024, 2, 29}, Key_Up, shift, {2023, 2, 28}},
      {"Shift+Down a year", kCols, 7, {2024, 5, 1}, Key_Down, shift, {2025, 5, 1}},
      {"Ctrl+Right four months", kCols, 7, {2024, 11, 30}, Key_Right, ctrl, {2025, 3, 30}},
      {"Ctrl+Left four months", kCols, 7, {2024, 6, 30}, Key_Left, ctrl, {2024, 2, 29}},
      {"Ctrl+Up ten years", kCols, 7, {2024, 5, 1}, Key_Up, ctrl, {2014, 5, 1}},
      {"Ctrl+Down ten years", kCols, 7, {2024, 5, 1}, Key_Down, ctrl, {2034, 5, 1}},
      {"Ctrl+Down past the end", kCols, 7, {2141, 1, 1}, Key_Down, ctrl, {2141, 1, 1}, {}, true},
      {"Ctrl+Up before the start", kCols, 7, {1590, 1, 1}, Key_Up, ctrl, {1590, 1, 1}, {}, true},
      {"Alt+Down: rows", kRows, 7, {2024, 5, 1}, Key_Down, alt, {2024, 5, 8}, {2024, 5, 6}},
      {"Alt+Up: rows", kRows, 7, {2024, 5, 1}, Key_Up, alt, {2024, 4, 24}, {2024, 4, 22}},
      {"Alt+Right: columns", kCols, 7, {2024, 5, 1}, Key_Right, alt, {2024, 5, 8}, {2024, 5, 6}},
      {"Alt+Left: columns", kCols, 7, {2024, 5, 1}, Key_Left, alt, {2024, 4, 24}, {2024, 4, 22}},
      {"Alt+Left: not rows", kRows, 7, {2024, 5, 1}, Key_Left, alt, {2024, 5, 1}, {2024, 4, 29}},
      {"Alt+Down: not columns", kCols, 7, {2024, 5, 1}, Key_Down, alt, {2024, 5, 1}, {2024, 4, 29}},
      {"Ctrl+Shift: not a key", kCols, 7, {2024, 5, 1}, Key_Right, ctrl | shift, {2024, 5, 1}},
      {"A letter is ignored", kCols, 7, {2024, 5, 1}, Key_A, none, {2024, 5, 1}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    TScheduleSettings page = WeekRowsPage();
    page.Vertical = c.vertical;
    page.Cycle = c.cycle;
    if (c.cycle == 31) {
      page.FixTopDay = 1;
      page.FixTopWeek = -1;
      page.Term = 2;
    }
    auto schedule = Make(page);
    schedule->SetCursorDate(c.from);
    ASSERT_EQ(schedule->CursorDate(), c.from);
    const int col = schedule->Col();
    const int row = schedule->Row();
    notices_.Clear();
    QSignalSpy jumps(schedule.get(), &TSchedule::OnJump);
    QSignalSpy refreshes(schedule.get(), &TSchedule::OnPreRefresh);
    QTest::keyClick(schedule.get(), c.key, c.mods);
    EXPECT_EQ(schedule->CursorDate(), c.to);
    if (c.top != TDateRec{}) {
      EXPECT_EQ(schedule->TopDate(), c.top);
      EXPECT_EQ(schedule->Col(), col);
      EXPECT_EQ(schedule->Row(), row);
      EXPECT_EQ(refreshes.count(), 0);
    }
    if (c.refused) {
      ASSERT_EQ(notices_.events.size(), 2u);
      EXPECT_EQ(notices_.events[0].beep, TBeepKind::kPlain);
      EXPECT_EQ(notices_.events[1].text,
                "ねりかのカレンダーは 1582/11/1 から 2150/12/31 までです。");
      EXPECT_EQ(jumps.count(), 0);
    } else {
      EXPECT_TRUE(notices_.events.empty());
      EXPECT_EQ(jumps.count(), c.from == c.to ? 0 : 1);
    }
  }
}

TEST_F(ScheduleFixture, OtherModifierCombinationsGoToOnKeyDown) {
  auto schedule = Make(WeekRowsPage());
  std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
  QObject::connect(schedule.get(), &TSchedule::OnKeyDown, [&](TSchedule* sender, QKeyEvent* key) {
    EXPECT_EQ(sender, schedule.get());
    // The modifier keys themselves arrive too, while another modifier is held.
    if (key->key() != Qt::Key_Control && key->key() != Qt::Key_Shift && key->key() != Qt::Key_Alt) {
      keys.emplace_back(key->key(), key->modifiers());
    }
  });
  QTest::keyClick(schedule.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(schedule.get(), Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);
  QTest::keyClick(schedule.get(), Qt::Key_A);                      // ignored
  QTest::keyClick(schedule.get(), Qt::Key_Left, Qt::AltModifier);  // not for rows: ignored
  QTest::keyClick(schedule.get(), Qt::Key_F5, Qt::ShiftModifier);  // ignored
  const std::vector<std::pair<int, Qt::KeyboardModifiers>> expected{
      {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier},
      {Qt::Key_X, Qt::ControlModifier | Qt::AltModifier}};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(schedule->CursorDate(), kToday);
}

TEST_F(ScheduleFixture, AltArrowsRefillTheTableInANewYearAndStopAtTheEnd) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2025/1/6 new year\n");
  schedule->SetCursorDate(TDateRec{2024, 12, 18});  // TopDate 12/16, shows up to 2025/1/12
  ASSERT_EQ(schedule->TopDate(), (TDateRec{2024, 12, 16}));
  QSignalSpy refreshes(schedule.get(), &TSchedule::OnPreRefresh);
  for (int i = 0; i < 3; ++i) QTest::keyClick(schedule.get(), Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(schedule->TopDate(), (TDateRec{2025, 1, 6}));
  EXPECT_EQ(refreshes.count(), 1);
  EXPECT_EQ(schedule->DayTable().FirstYear(), 2024);
  EXPECT_EQ(schedule->Calendar().FirstYear(), 2024);
  EXPECT_EQ(Lines(*schedule, TDateRec{2025, 1, 6}), std::vector<std::string>{"new year"});

  // At the calendar's end the scroll is refused quietly.
  schedule->SetCursorDate(TDateRec{2150, 12, 20});
  const TDateRec top = schedule->TopDate();
  const TDateRec cursor = schedule->CursorDate();
  notices_.Clear();
  for (int i = 0; i < 3; ++i) QTest::keyClick(schedule.get(), Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(schedule->TopDate(), top);
  EXPECT_EQ(schedule->CursorDate(), cursor);
  EXPECT_TRUE(notices_.events.empty());
}

// The data of the entry tests: three entries on Wednesday 2024/5/8, one on 5/9.
constexpr const char* kThreeEntries =
    "2024/5/8 Meeting\n2024/5/8 Lunch\n2024/5/8 Gym\n2024/5/9 Dentist\n";

TEST_F(ScheduleFixture, EntryKeys) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  const TDateRec wednesday{2024, 5, 8};
  schedule->SetCursorDate(wednesday);
  EXPECT_EQ(schedule->FocusedEntry(), 0);

  // Ctrl+End / Ctrl+Home select the last and the first line.
  QSignalSpy focus(schedule.get(), &TSchedule::OnFocusEntryChange);
  QTest::keyClick(schedule.get(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(schedule->FocusedEntry(), 2);
  QTest::keyClick(schedule.get(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(schedule->FocusedEntry(), 0);
  EXPECT_EQ(focus.count(), 2);

  // Delete toggles the checked mark.
  QTest::keyClick(schedule.get(), Qt::Key_Delete);
  EXPECT_TRUE(schedule->EntryList().Entry(0)->IsChecked());
  QTest::keyClick(schedule.get(), Qt::Key_Delete);
  EXPECT_FALSE(schedule->EntryList().Entry(0)->IsChecked());

  // Ctrl+C copies, Ctrl+V pastes on the cursor day, Shift+Insert too.
  QTest::keyClick(schedule.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(schedule->EntryList().ClipboardCount(), 1);
  schedule->SetCursorDate(TDateRec{2024, 5, 10});
  QTest::keyClick(schedule.get(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 10}), std::vector<std::string>{"Meeting"});
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 10}));
  schedule->SetCursorDate(TDateRec{2024, 5, 11});
  QTest::keyClick(schedule.get(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 11}), std::vector<std::string>{"Meeting"});

  // Ctrl+Insert copies; Shift+Delete, Ctrl+Delete and Ctrl+X cut.
  schedule->SetCursorDate(TDateRec{2024, 5, 9});
  QTest::keyClick(schedule.get(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(schedule->EntryList().ClipboardCount(), 2);
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_TRUE(schedule->EntryList().Entry(3)->IsDeleted());
  EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 9}).empty());
  schedule->SetCursorDate(wednesday);
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, wednesday), (std::vector<std::string>{"Lunch", "Gym"}));
  QTest::keyClick(schedule.get(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, wednesday), std::vector<std::string>{"Gym"});
  EXPECT_EQ(schedule->EntryList().ClipboardCount(), 5);
  EXPECT_TRUE(notices_.events.empty());
}

TEST_F(ScheduleFixture, AltDeleteAsksFirst) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  schedule->SetCursorDate(TDateRec{2024, 5, 9});
  notices_.answers = {false, true};
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::AltModifier);
  EXPECT_FALSE(schedule->EntryList().Entry(3)->IsDeleted());
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::AltModifier);
  EXPECT_TRUE(schedule->EntryList().Entry(3)->IsDeleted());
  ASSERT_EQ(notices_.events.size(), 4u);
  EXPECT_EQ(notices_.events[0].kind, Kind::kBeep);
  EXPECT_EQ(notices_.events[0].beep, TBeepKind::kQuestion);
  EXPECT_EQ(notices_.events[1].kind, Kind::kConfirm);
  EXPECT_EQ(notices_.events[1].text, "\"Dentist\" を削除してもよろしいですか？");
  // A day without entries asks nothing.
  schedule->SetCursorDate(TDateRec{2024, 5, 20});
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::AltModifier);
  EXPECT_EQ(notices_.events.size(), 4u);
}

TEST_F(ScheduleFixture, PageKeysScrollTheCursorDay) {
  auto schedule = Make(WeekRowsPage());
  std::string data;
  for (int i = 0; i < 30; ++i) data += "2024/5/8 line" + std::to_string(i) + "\n";
  Load(*schedule, data);
  schedule->SetCursorDate(TDateRec{2024, 5, 8});
  const TCellLineList* list = schedule->DayTable().Cell(TDateRec{2024, 5, 8});
  ASSERT_NE(list, nullptr);
  QSignalSpy focus(schedule.get(), &TSchedule::OnFocusEntryChange);
  QTest::keyClick(schedule.get(), Qt::Key_PageDown);
  QTest::keyClick(schedule.get(), Qt::Key_PageDown);
  EXPECT_EQ(list->TopLine(), 2);
  EXPECT_EQ(schedule->FocusedEntry(), 2);
  QTest::keyClick(schedule.get(), Qt::Key_PageUp);
  EXPECT_EQ(list->TopLine(), 1);
  EXPECT_EQ(focus.count(), 3);
}

TEST_F(ScheduleFixture, UndoAndRedoKeys) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  schedule->SetCursorDate(TDateRec{2024, 5, 9});
  QTest::keyClick(schedule.get(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 9}).empty());
  QTest::keyClick(schedule.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 9}), std::vector<std::string>{"Dentist"});
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 9}));
  QTest::keyClick(schedule.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 9}).empty());
  // The redo keys of other desktop programs as well.
  for (const QKeyCombination redo : {QKeyCombination(Qt::ControlModifier, Qt::Key_Y),
                                     Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z}) {
    QTest::keyClick(schedule.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(schedule.get(), redo.key(), redo.keyboardModifiers());
    EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 9}).empty()) << redo.key();
  }
}

// ---- mouse ------------------------------------------------------------------------------

// Points of the week-rows page: line k of a cell (no frames, label at the left), and a point
// in the cell's empty lower part.
QPoint LinePoint(const TSchedule& schedule, int col, int row, int k) {
  const QRect cell = DayCell(schedule, col, row);
  return {cell.right() - 4, cell.top() + k * LineHeight() + 3};
}
QPoint EmptyPoint(const TSchedule& schedule, int col, int row) {
  const QRect cell = DayCell(schedule, col, row);
  return {cell.right() - 4, cell.bottom() - 4};
}

TEST_F(ScheduleFixture, ClicksSelectDaysAndLines) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  // 5/8 is the Wednesday of the second week: column 3, row 2.
  QSignalSpy jumps(schedule.get(), &TSchedule::OnJump);
  Click(*schedule, LinePoint(*schedule, 3, 2, 1));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 8}));
  EXPECT_EQ(schedule->FocusedEntry(), 1);
  EXPECT_EQ(jumps.count(), 1);
  QSignalSpy focus(schedule.get(), &TSchedule::OnFocusEntryChange);
  Click(*schedule, LinePoint(*schedule, 3, 2, 2));
  EXPECT_EQ(schedule->FocusedEntry(), 2);
  EXPECT_EQ(jumps.count(), 1);
  EXPECT_EQ(focus.count(), 1);
  // Below the last line: the day stays, the line too.
  Click(*schedule, EmptyPoint(*schedule, 3, 2));
  EXPECT_EQ(schedule->FocusedEntry(), 2);
  // Another day, an empty part: the cursor moves there.
  Click(*schedule, EmptyPoint(*schedule, 6, 3));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 18}));
  EXPECT_EQ(schedule->Col(), 6);
  EXPECT_EQ(schedule->Row(), 3);
  // Division truncates toward zero: the title row counts as the first row; right of the last
  // column there is no day.
  EXPECT_EQ(schedule->PointToDate(200, 2), (TDateRec{2024, 4, 30}));
  EXPECT_EQ(schedule->PointToDate(900, 200), std::nullopt);
  EXPECT_EQ(schedule->PointToDate(200, 600), std::nullopt);
  EXPECT_EQ(schedule->PointToDate(EmptyPoint(*schedule, 7, 4).x(), EmptyPoint(*schedule, 7, 4).y()),
            (TDateRec{2024, 5, 26}));
}

TEST_F(ScheduleFixture, DoubleClickZoomsToOneDayAndBack) {
  TScheduleSettings page = WeekRowsPage();
  page.MonthReset = false;
  page.DayInfo = 2;
  page.Wrap = true;
  auto schedule = Make(page);
  Load(*schedule, kThreeEntries);
  const TScheduleSettings before = schedule->GetSettings();
  DoubleClick(*schedule, EmptyPoint(*schedule, 5, 2));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 10}));
  EXPECT_EQ(schedule->Model().Cycle(), 1);
  EXPECT_EQ(schedule->Model().Term(), 1);
  EXPECT_EQ(schedule->ColCount(), 2);
  EXPECT_EQ(schedule->RowCount(), 2);
  EXPECT_EQ(schedule->TopDate(), (TDateRec{2024, 5, 10}));
  DoubleClick(*schedule, QPoint(400, 400));
  EXPECT_EQ(schedule->GetSettings(), before);
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 10}));
  EXPECT_EQ(schedule->ColCount(), 8);
  // A double click on an entry line does not zoom (5/8 is now in the first row).
  ASSERT_EQ(schedule->TopDate(), (TDateRec{2024, 5, 6}));
  DoubleClick(*schedule, LinePoint(*schedule, 3, 1, 0));
  EXPECT_EQ(schedule->Model().Cycle(), 7);
  EXPECT_EQ(schedule->Model().Term(), 4);
}

struct DragCase {
  const char* name;
  Qt::MouseButton button;
  Qt::KeyboardModifiers mods;
  bool answer;
  const char* question;
  std::vector<std::string> on_wednesday;
  std::vector<std::string> on_friday;
};

TEST_F(ScheduleFixture, DragAndDropMovesAndCopies) {
  const DragCase cases[] = {
      {"move",
       Qt::LeftButton,
       Qt::NoModifier,
       true,
       "\"Lunch\" を 2024/5/10(金) に移動します。よろしいですか？",
       {"Meeting", "Gym"},
       {"Lunch"}},
      {"copy",
       Qt::LeftButton,
       Qt::ControlModifier,
       true,
       "\"Lunch\" を 2024/5/10(金) にｺﾋﾟｰします。よろしいですか？",
       {"Meeting", "Lunch", "Gym"},
       {"Lunch"}},
      {"cancelled",
       Qt::LeftButton,
       Qt::NoModifier,
       false,
       "\"Lunch\" を 2024/5/10(金) に移動します。よろしいですか？",
       {"Meeting", "Lunch", "Gym"},
       {}},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto schedule = Make(WeekRowsPage());
    Load(*schedule, kThreeEntries);
    notices_.answers = {c.answer};
    const QPoint from = LinePoint(*schedule, 3, 2, 1);
    const QPoint to = EmptyPoint(*schedule, 5, 2);
    Press(*schedule, from, c.button, c.mods);
    MoveHeld(*schedule, from + QPoint(0, 8), c.button, c.mods);  // not yet 10 pixels
    EXPECT_FALSE(schedule->Dragging());
    MoveHeld(*schedule, to, c.button, c.mods);
    EXPECT_TRUE(schedule->Dragging());
    EXPECT_EQ(schedule->cursor().shape(), Qt::DragMoveCursor);
    Release(*schedule, to, c.button, c.mods);
    EXPECT_FALSE(schedule->Dragging());
    EXPECT_EQ(schedule->cursor().shape(), Qt::ArrowCursor);
    ASSERT_EQ(notices_.events.size(), 2u);
    EXPECT_EQ(notices_.events[0].beep, TBeepKind::kQuestion);
    EXPECT_EQ(notices_.events[1].text, c.question);
    EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}), c.on_wednesday);
    EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 10}), c.on_friday);
    // The cursor is on the drop day, on the moved or copied entry when there is one.
    EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 10}));
    if (!c.on_friday.empty()) {
      EXPECT_EQ(schedule->EntryList().Entry(schedule->FocusedEntry().value_or(-1))->Text, "Lunch");
    }
  }
}

TEST_F(ScheduleFixture, MoveUndoneAndRedone) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  schedule->SetDragCheck(false);
  const QPoint from = LinePoint(*schedule, 3, 2, 0);
  const QPoint to = EmptyPoint(*schedule, 1, 3);  // Monday 5/13
  Press(*schedule, from);
  MoveHeld(*schedule, to);
  Release(*schedule, to);
  EXPECT_TRUE(notices_.events.empty());
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 13}), std::vector<std::string>{"Meeting"});
  QTest::keyClick(schedule.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}),
            (std::vector<std::string>{"Meeting", "Lunch", "Gym"}));
  EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 13}).empty());
  QTest::keyClick(schedule.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 13}), std::vector<std::string>{"Meeting"});
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}), (std::vector<std::string>{"Lunch", "Gym"}));
}

TEST_F(ScheduleFixture, ReadOnlyFileRefusesTheMove) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries, /*read_only=*/true);
  const QPoint from = LinePoint(*schedule, 3, 2, 0);
  const QPoint to = EmptyPoint(*schedule, 5, 2);
  Press(*schedule, from);
  MoveHeld(*schedule, to);
  Release(*schedule, to);
  // The question, then the entry list's refusal.
  const std::vector<std::string> messages = notices_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(notices_.events.back().kind, Kind::kInformation);
  EXPECT_NE(messages[1].find("data.nrk"), std::string::npos);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}),
            (std::vector<std::string>{"Meeting", "Lunch", "Gym"}));
  EXPECT_TRUE(Lines(*schedule, TDateRec{2024, 5, 10}).empty());
}

TEST_F(ScheduleFixture, NoDragWhileReadOnlyOrOutsideTheDays) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, kThreeEntries);
  schedule->SetReadOnly(true);
  const QPoint from = LinePoint(*schedule, 3, 2, 0);
  const QPoint to = EmptyPoint(*schedule, 5, 2);
  Press(*schedule, from);
  MoveHeld(*schedule, to);
  EXPECT_FALSE(schedule->Dragging());
  Release(*schedule, to);
  EXPECT_TRUE(notices_.events.empty());
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}).size(), 3u);

  // Released over the title row: the no-drop shape, nothing happens.
  schedule->SetReadOnly(false);
  Press(*schedule, from);
  MoveHeld(*schedule, QPoint(from.x(), 2));
  EXPECT_TRUE(schedule->Dragging());
  EXPECT_EQ(schedule->cursor().shape(), Qt::ForbiddenCursor);
  Release(*schedule, QPoint(from.x(), 2));
  EXPECT_FALSE(schedule->Dragging());
  EXPECT_TRUE(notices_.events.empty());
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}).size(), 3u);
  // A press on an empty part never drags.
  Press(*schedule, EmptyPoint(*schedule, 3, 2));
  MoveHeld(*schedule, to);
  EXPECT_FALSE(schedule->Dragging());
  Release(*schedule, to);
}

TEST_F(ScheduleFixture, RightButtonDropOffersTheMenu) {
  struct Case {
    int item;  // 0 move, 1 copy, 3 cancel
    std::vector<std::string> on_friday;
    size_t on_wednesday;
  };
  const Case cases[] = {{0, {"Lunch"}, 2}, {1, {"Lunch"}, 3}, {3, {}, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    auto schedule = Make(WeekRowsPage());
    Load(*schedule, kThreeEntries);
    const QPoint from = LinePoint(*schedule, 3, 2, 1);
    const QPoint to = EmptyPoint(*schedule, 5, 2);
    QStringList items;
    // Never left hanging: any popup still open after a while is closed.
    QTimer::singleShot(5000, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      for (QAction* action : menu->actions()) items << action->text();
      EXPECT_EQ(menu->defaultAction(), menu->actions().at(0));
      menu->setActiveAction(menu->actions().at(c.item));
      QTest::keyClick(menu, Qt::Key_Return);
    });
    Press(*schedule, from, Qt::RightButton);
    MoveHeld(*schedule, to, Qt::RightButton);
    Release(*schedule, to, Qt::RightButton);
    EXPECT_EQ(items,
              (QStringList{QStringLiteral("この日に移動(&M)"), QStringLiteral("この日にコピー(&C)"),
                           QString(), QStringLiteral("ｷｬﾝｾﾙ")}));
    EXPECT_TRUE(notices_.events.empty());  // the menu asks instead of a question
    EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 10}), c.on_friday);
    EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}).size(), c.on_wednesday);
  }
}

TEST_F(ScheduleFixture, MonthResetPlacesTheCursorAgainAfterAClickIntoAnotherMonth) {
  TScheduleSettings page = WeekRowsPage();
  page.Term = 6;
  page.FixTopDay = 1;
  page.FixTopWeek = 0;
  page.MonthReset = true;
  auto schedule = Make(page);
  // The May sheet: from Sunday 4/28; the first row holds 4/28 .. 5/4.
  ASSERT_EQ(schedule->TopDate(), (TDateRec{2024, 4, 28}));
  QSignalSpy jumps(schedule.get(), &TSchedule::OnJump);
  Click(*schedule, EmptyPoint(*schedule, 1, 6));  // Sunday 6/2 of the next month
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 6, 2}));
  // Placed on the press and once more on the release.
  EXPECT_EQ(jumps.count(), 2);
  // Now the June sheet, from Sunday 5/26.
  EXPECT_EQ(schedule->TopDate(), (TDateRec{2024, 5, 26}));
  EXPECT_EQ(schedule->Model().CursorMonth(), 6);
}

// ---- refresh cycle ----------------------------------------------------------------------

TEST_F(ScheduleFixture, CursorMovesRebuildOnlyForANewFirstYear) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2025/1/15 next year\n2024/5/3 holiday work\n");
  QSignalSpy pre(schedule.get(), &TSchedule::OnPreRefresh);
  QSignalSpy post(schedule.get(), &TSchedule::OnRefresh);
  // Inside the shown days, and a relayout that stays in 2024.
  QTest::keyClick(schedule.get(), Qt::Key_Right);
  QTest::keyClick(schedule.get(), Qt::Key_Down);
  schedule->SetCursorDate(TDateRec{2024, 9, 1});
  EXPECT_EQ(pre.count(), 0);
  // The first shown day in 2025: one rebuild, the calendar's window moved along.
  schedule->SetCursorDate(TDateRec{2025, 1, 15});
  EXPECT_EQ(pre.count(), 1);
  EXPECT_EQ(post.count(), 1);
  EXPECT_EQ(schedule->DayTable().FirstYear(), 2024);
  EXPECT_EQ(schedule->Calendar().FirstYear(), 2024);
  EXPECT_EQ(Lines(*schedule, TDateRec{2025, 1, 15}), std::vector<std::string>{"next year"});
  // Ten years on: the holidays of that year are known.
  schedule->SetCursorDate(TDateRec{2035, 5, 3});
  EXPECT_EQ(pre.count(), 2);
  EXPECT_EQ(schedule->Calendar().FirstYear(), 2034);
  EXPECT_TRUE(schedule->Calendar().IsHoliday(TDateRec{2035, 5, 3}));
  EXPECT_TRUE(Lines(*schedule, TDateRec{2035, 5, 3}).empty());
}

TEST_F(ScheduleFixture, RefreshEventsComeInOrder) {
  auto schedule = Make(WeekRowsPage());
  std::vector<std::string> order;
  QObject::connect(schedule.get(), &TSchedule::OnPreRefresh, [&] { order.push_back("pre"); });
  QObject::connect(schedule.get(), &TSchedule::OnRefresh, [&] { order.push_back("refresh"); });
  QObject::connect(schedule.get(), &TSchedule::OnJump, [&] { order.push_back("jump"); });
  QObject::connect(schedule.get(), &TSchedule::OnFocusEntryChange,
                   [&] { order.push_back("focus"); });
  QObject::connect(schedule.get(), &TSchedule::OnLoadFromFile,
                   [&](TSchedule*, const QString& path) {
                     order.push_back("load " + QFileInfo(path).fileName().toStdString());
                   });
  QObject::connect(schedule.get(), &TSchedule::OnSetTable, [&](TSchedule*, int index, int rate) {
    order.push_back("set " + std::to_string(index) + " " + std::to_string(rate));
  });
  Load(*schedule, "2024/5/8 a\n2024/5/20 b\n");
  EXPECT_EQ(order,
            (std::vector<std::string>{"load data.nrk", "pre", "set 0 50", "set 1 100", "refresh"}));
  order.clear();
  schedule->SetCursorDate(TDateRec{2024, 5, 2});
  EXPECT_EQ(order, (std::vector<std::string>{"jump", "focus"}));
  // A changed entry: the rebuild, then the cursor goes to it with no focus event.
  order.clear();
  schedule->EntryList().MoveEntry(1, TDateRec{2024, 5, 21});
  schedule->RefreshData(1);
  EXPECT_EQ(order, (std::vector<std::string>{"pre", "set 0 50", "set 1 100", "refresh", "jump"}));
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 21}));
  EXPECT_EQ(schedule->FocusedEntry(), 1);
  // RefreshData() keeps the cursor.
  order.clear();
  schedule->RefreshData();
  EXPECT_EQ(schedule->CursorDate(), (TDateRec{2024, 5, 21}));
  EXPECT_EQ(order, (std::vector<std::string>{"pre", "set 0 50", "set 1 100", "refresh"}));
}

// A file beyond the pack budget: the grid shows the packs made before the stop, and the
// message comes once the cells are filled (nothing is drawn from packs the rebuild replaced),
// once for the file however often the table is rebuilt. A smaller file next is quiet.
TEST_F(ScheduleFixture, PackBudgetStopIsToldOnceTheCellsAreFilled) {
  auto schedule = Make(WeekRowsPage(), {841, 560}, 100);
  std::vector<std::size_t> told_at_refresh;
  QObject::connect(schedule.get(), &TSchedule::OnRefresh,
                   [&] { told_at_refresh.push_back(notices_.Messages().size()); });
  const std::string path = Load(*schedule, "2024/5/1~2024/5/31 may\n0 every\n");
  // 31 days of May, then 69 days from 2023/1/1 (the window's first day) on.
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}), std::vector<std::string>{"may"});
  EXPECT_EQ(Lines(*schedule, TDateRec{2023, 3, 10}), std::vector<std::string>{"every"});
  EXPECT_TRUE(Lines(*schedule, TDateRec{2023, 3, 11}).empty());
  const std::vector<std::string> message{"ﾃﾞｰﾀが多すぎます！ " + path +
                                         " の 2 行目で打ち切り、それまでの予定だけを表示します。"};
  EXPECT_EQ(notices_.Messages(), message);
  EXPECT_EQ(told_at_refresh, std::vector<std::size_t>{0});

  schedule->SetCursorDate(TDateRec{2025, 6, 1});
  EXPECT_EQ(schedule->DayTable().FirstYear(), 2024);
  EXPECT_EQ(notices_.Messages(), message);

  notices_.Clear();
  Load(*schedule, "2024/5/2 small\n");
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 2}), std::vector<std::string>{"small"});
  EXPECT_TRUE(notices_.Messages().empty());
}

TEST_F(ScheduleFixture, FilterChangeReloadsOnApplySettings) {
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/8 plain\nE:2024/5/8 category E\n");
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}), std::vector<std::string>{"plain"});
  TScheduleSettings page = WeekRowsPage();
  page.Filter[5] = {};
  QSignalSpy pre(schedule.get(), &TSchedule::OnPreRefresh);
  schedule->ApplySettings(page);
  EXPECT_EQ(pre.count(), 1);
  EXPECT_EQ(Lines(*schedule, TDateRec{2024, 5, 8}),
            (std::vector<std::string>{"plain", "category E"}));
  schedule->ApplySettings(page);  // the same filter: no reload
  EXPECT_EQ(pre.count(), 1);
}

// ---- hit testing and hints --------------------------------------------------------------

// A hidden tip goes after a short delay.
bool TipHidden() {
  for (int i = 0; i < 40 && QToolTip::isVisible(); ++i) QTest::qWait(50);
  return !QToolTip::isVisible();
}

TEST_F(ScheduleFixture, HintShowsTheWholeTextOfATruncatedLine) {
  auto schedule = Make(WeekRowsPage());
  const std::string long_text = "A rather long entry text that no cell of this size can hold";
  Load(*schedule, "2024/5/9 " + long_text + "\n2024/5/9 short\n");
  // 5/9: Thursday of the second week, column 4, row 2; not the cursor, no frame.
  const QRect cell = DayCell(*schedule, 4, 2);
  const QPoint on_long = LinePoint(*schedule, 4, 2, 0);
  const TSchedule::THitInfo hit = schedule->HitTest(on_long.x(), on_long.y());
  EXPECT_EQ(hit.Kind, TSchedule::kHitLine);
  EXPECT_EQ(hit.Text, long_text);
  EXPECT_TRUE(hit.Wrapped);
  EXPECT_EQ(hit.Entry, 0);
  // The line runs from the label to the cell's right edge, one line high, at the top.
  EXPECT_EQ(hit.Rect.top(), cell.top());
  EXPECT_EQ(hit.Rect.right(), cell.right());
  EXPECT_EQ(hit.Rect.height(), LineHeight());
  EXPECT_GT(hit.Rect.left(), cell.left());
  EXPECT_LT(hit.Rect.left(), cell.left() + 40);

  QHelpEvent help(QEvent::ToolTip, on_long, schedule->mapToGlobal(on_long));
  QApplication::sendEvent(schedule.get(), &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), QString::fromStdString(long_text));

  const QPoint on_short = LinePoint(*schedule, 4, 2, 1);
  EXPECT_FALSE(schedule->HitTest(on_short.x(), on_short.y()).Wrapped);
  QHelpEvent short_help(QEvent::ToolTip, on_short, schedule->mapToGlobal(on_short));
  QApplication::sendEvent(schedule.get(), &short_help);
  EXPECT_TRUE(TipHidden());

  // Nothing over an empty part, nothing with wrapping on.
  EXPECT_EQ(schedule->HitTest(cell.right() - 4, cell.bottom() - 4).Kind, TSchedule::kHitNothing);
  TScheduleSettings wrapped = schedule->GetSettings();
  wrapped.Wrap = true;
  schedule->ApplySettings(wrapped);
  QHelpEvent wrapped_help(QEvent::ToolTip, on_long, schedule->mapToGlobal(on_long));
  QApplication::sendEvent(schedule.get(), &wrapped_help);
  EXPECT_TRUE(TipHidden());
}

// ---- loading with a report up -------------------------------------------------------------

// Notices that look at the schedule whenever a box would be up (a box runs an event loop, in
// which the window may paint).
class LookingNotices : public RecordingNotices {
 public:
  std::function<void()> look;
  void Warning(const std::string& text) override {
    look();
    RecordingNotices::Warning(text);
  }
  void ShowLoadErrors(const TLoadErrorReport& report) override {
    look();
    RecordingNotices::ShowLoadErrors(report);
  }
};

std::vector<std::string> TodayLines(TSchedule& schedule) {
  std::vector<std::string> out;
  const TCellLineList* list = schedule.DayTable().Cell(kToday);
  for (int32_t i = 0; i < list->Count(); ++i) out.push_back(list->Text(i));
  return out;
}

// Every line of every cell points at an entry the list holds now.
bool CellsPointIntoTheList(TSchedule& schedule) {
  std::set<const TEntry*> held;
  for (int32_t i = 0; i < schedule.EntryList().Count(); ++i) {
    held.insert(schedule.EntryList().Entry(i));
  }
  const int32_t first = schedule.DayTable().FirstYear();
  for (int32_t year = first; year < first + TDayTable::kYearCount; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= 31; ++day) {
        const TCellLineList* list = schedule.DayTable().Cell({year, month, day});
        for (int32_t i = 0; i < list->Count(); ++i) {
          if (held.count(list->Info(i).Entry) == 0) return false;
        }
      }
    }
  }
  return true;
}

TEST(ScheduleLoadTest, NoCellPointsAtAFreedEntryWhileABoxIsUp) {
  TempFolder folder;
  LookingNotices notices;
  TMeasuredDocument document(notices, kToday);
  TSchedule schedule(document);
  schedule.resize(841, 560);
  schedule.ApplySettings(WeekRowsPage());
  schedule.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&schedule));
  // Lines with fonts of their own: painting them reads their entries.
  const std::vector<std::string> first{
      folder.WriteCp932("first.nrk", "2024/5/1 one &f(DejaVu Sans,12)\n5/2 two\n")};
  notices.look = [] {};
  schedule.EntryList().LoadFiles(first);
  schedule.RefreshData();
  ASSERT_EQ(TodayLines(schedule), (std::vector<std::string>{"one"}));

  int32_t looks = 0;
  notices.look = [&] {
    ++looks;
    EXPECT_TRUE(CellsPointIntoTheList(schedule));
    // Under the address sanitizer a freed entry read here fails the test.
    schedule.grab();
  };
  const std::vector<std::string> next{
      folder.File("missing.nrk"),
      folder.WriteCp932("bad.nrk", "2024/5/1 three &f(DejaVu Sans,12)\n1/1\n")};
  schedule.EntryList().LoadFiles(next);
  EXPECT_EQ(looks, 2);
  schedule.RefreshData();
  EXPECT_EQ(TodayLines(schedule), (std::vector<std::string>{"three"}));
}

}  // namespace
}  // namespace pelo::test
