// The main window: the toolbar and its buttons, the date panel and dialog, the command line's
// data and page files, the load report, the open dialog and the placement saved on close.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ChildWidgets.h"
#include "ManualClocks.h"
#include "ModalSteps.h"
#include "RecordingNotices.h"
#include "StartedWindows.h"
#include "app/DateJumpDialogs.h"
#include "app/MainWindows.h"
#include "app/PlacementStores.h"
#include "app/TodayFollowers.h"
#include "schedule/CellLineLists.h"
#include "schedule/DayTables.h"
#include "text/Cp932.h"
#include "text/Paths.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

using test::Child;
using test::RecordingNotices;
using test::WhenModal;

constexpr TDateRec kToday{2024, 5, 1};
constexpr const char* kRangeMessage = "ねりかのカレンダーは 1582/11/1 から 2150/12/31 までです。";

QString Q(const char* text) { return QString::fromUtf8(text); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_folder_.isValid());
    ASSERT_TRUE(data_folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
  }

  // The window as the program starts it: shown, and its start-up sequence run to the end.
  std::unique_ptr<TMainWindow> Start(const QStringList& arguments = {}) {
    auto window = std::make_unique<TMainWindow>(arguments, kToday, notices);
    EXPECT_TRUE(test::ShowAndStartUp(*window));
    return window;
  }

  // UTF-8 text written as the CP932 bytes of a data or page file.
  QString Write(const char* name, const std::string& text) {
    const QString path = data_folder_.filePath(QString::fromLatin1(name));
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << EncodeCp932(text);
    return path;
  }

  static void Click(TMainWindow& window, const char* button) {
    QTest::mouseClick(Child<QToolButton>(window, button), Qt::LeftButton);
  }
  static QString DatePanel(TMainWindow& window) {
    return Child<QLabel>(window, "DatePanel")->text();
  }
  static void TypeDate(QWidget& form, const char* year, const char* month, const char* day) {
    Child<QComboBox>(form, "YearBox")->setEditText(year);
    Child<QComboBox>(form, "MonthBox")->setEditText(month);
    Child<QComboBox>(form, "DayBox")->setEditText(day);
    QTest::mouseClick(Child<QPushButton>(form, "OkButton"), Qt::LeftButton);
  }
  static bool TodayEnabled(TMainWindow& window) {
    return Child<QToolButton>(window, "TodayButton")->isEnabled();
  }
  static std::vector<std::string> LoadedFiles(TMainWindow& window) {
    std::vector<std::string> paths;
    const TFileList& files = window.Schedule().EntryList().FileList();
    for (int32_t i = 0; i < files.Count(); ++i) paths.push_back(files.Path(i));
    return paths;
  }

  std::map<std::string, std::string> StoredPlacement() const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
    settings.beginGroup("FormMain");
    std::map<std::string, std::string> values;
    for (const QString& key : settings.childKeys()) {
      values[key.toStdString()] = settings.value(key).toString().toStdString();
    }
    return values;
  }

  RecordingNotices notices;
  QTemporaryDir settings_folder_;
  QTemporaryDir data_folder_;
};

TEST_F(MainWindowTest, WindowAndToolbar) {
  TMainWindow window({}, kToday, notices);
  EXPECT_EQ(window.objectName(), "FormMain");
  EXPECT_EQ(window.pos(), QPoint(287, 121));
  EXPECT_EQ(window.size(), QSize(484, 308));
  EXPECT_EQ(window.font().pixelSize(), 12);
  EXPECT_EQ(window.Schedule().objectName(), "Schedule");
  EXPECT_TRUE(window.Schedule().ReadOnly());
  // Until the pages come: four weeks with their titles, no mark or picture icons.
  const TScheduleSettings shown = window.Schedule().GetSettings();
  EXPECT_EQ(std::make_pair(shown.Cycle, shown.Term), std::make_pair(7, 4));
  EXPECT_TRUE(shown.DispTitle);
  EXPECT_FALSE(shown.MarkIconVisible || shown.DataIconVisible);
  EXPECT_EQ(Child<QWidget>(window, "Strip")->height(), 34);
  QLabel* date_panel = Child<QLabel>(window, "DatePanel");
  EXPECT_EQ(date_panel->width(), 140);
  EXPECT_TRUE(date_panel->font().bold());
  EXPECT_EQ(date_panel->font().pixelSize(), 16);
  EXPECT_EQ(date_panel->palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(date_panel->palette().color(QPalette::WindowText), QColor(0, 255, 255));

  struct Button {
    const char *name, *hint, *caption;
  };
  const std::vector<Button> buttons = {
      {"OpenButton", "開く", "開く"},
      {},  // the divider
      {"PreviousYearButton", "前年 (Shift+↑)", "前年"},
      {"PreviousMonthButton", "前月 (Shift+←)", "前月"},
      {"PreviousWeekButton", "前週にジャンプ", "前週"},
      {"PreviousDayButton", "前日にジャンプ", "前日"},
      {"TodayButton", "今日 (Home)", "今日"},
      {"NextDayButton", "次日にジャンプ", "次日"},
      {"NextWeekButton", "次週にジャンプ", "次週"},
      {"NextMonthButton", "次月 (Shift+→)", "次月"},
      {"NextYearButton", "次年 (Shift+↓)", "次年"},
      {},  // the separator
      {"DateJumpButton", "指定年月日にジャンプ", ""},
      {},  // the separator
      {"CalendarCurrentButton", "現在の暦（祝日と旧暦） (Ctrl+K)", "現在の暦"},
      {"DayPaneButton", "日の詳細を表示 (F9)", "日の詳細"},
      {"SortByTimeButton", "時刻順に並べる (Ctrl+T)", "時刻順に並べる"},
  };
  QToolBar* tool_bar = Child<QToolBar>(window, "ToolBar");
  const QList<QAction*> actions = tool_bar->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(buttons.size()));
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    QWidget* widget = tool_bar->widgetForAction(actions[i]);
    if (buttons[i].name == nullptr) {
      EXPECT_TRUE(actions[i]->isSeparator() || widget->objectName() == "Separator") << i;
      continue;
    }
    ASSERT_NE(widget, nullptr) << buttons[i].name;
    EXPECT_EQ(widget->objectName(), buttons[i].name);
    auto* button = qobject_cast<QToolButton*>(widget);
    ASSERT_NE(button, nullptr) << buttons[i].name;
    EXPECT_EQ(button->toolTip(), Q(buttons[i].hint)) << buttons[i].name;
    // A screen reader names the button by its hint.
    EXPECT_EQ(button->accessibleName(), Q(buttons[i].hint)) << buttons[i].name;
    EXPECT_EQ(button->text(), Q(buttons[i].caption)) << buttons[i].name;
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << buttons[i].name;
    EXPECT_EQ(button->size(), QSize(26, 26)) << buttons[i].name;
    EXPECT_FALSE(button->icon().isNull()) << buttons[i].name;
  }
  EXPECT_EQ(tool_bar->iconSize(), QSize(19, 19));
  // The calendar's and the day pane's toggles, off until the start-up.
  for (const QAction* toggle : {actions[actions.size() - 3], actions[actions.size() - 2]}) {
    EXPECT_TRUE(toggle->isCheckable() && !toggle->isChecked());
  }
  EXPECT_EQ(actions[actions.size() - 2]->shortcut(), QKeySequence(Qt::Key_F9));

  // The start-up shows today, so the today button is off.
  ASSERT_TRUE(test::ShowAndStartUp(window));
  EXPECT_EQ(window.Schedule().CursorDate(), kToday);
  EXPECT_EQ(DatePanel(window), Q("2024/5/1(水)"));
  EXPECT_FALSE(TodayEnabled(window));
  EXPECT_TRUE(LoadedFiles(window).empty());
  EXPECT_EQ(window.windowTitle(), Q("ぺろん"));  // the title names the loaded files
  EXPECT_TRUE(notices.events.empty());
}

// The key a hint names does what the button does, and a toggle's button shows it.
TEST_F(MainWindowTest, TheKeysTheHintsNameDoWhatTheButtonsDo) {
  const std::pair<const char*, QKeyCombination> cases[] = {
      {"PreviousYearButton", QKeyCombination(Qt::ShiftModifier, Qt::Key_Up)},
      {"PreviousMonthButton", QKeyCombination(Qt::ShiftModifier, Qt::Key_Left)},
      {"TodayButton", QKeyCombination(Qt::Key_Home)},
      {"NextMonthButton", QKeyCombination(Qt::ShiftModifier, Qt::Key_Right)},
      {"NextYearButton", QKeyCombination(Qt::ShiftModifier, Qt::Key_Down)},
      {"CalendarCurrentButton", QKeyCombination(Qt::ControlModifier, Qt::Key_K)},
      {"SortByTimeButton", QKeyCombination(Qt::ControlModifier, Qt::Key_T)},
  };
  auto window = Start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  TSchedule& schedule = window->Schedule();
  const auto state = [&schedule] {
    return std::make_tuple(schedule.CursorDate(), schedule.Calendar().Kind(),
                           schedule.SortByTime());
  };
  for (const auto& [name, keys] : cases) {
    auto* button = Child<QToolButton>(*window, name);
    schedule.JumpDate({2024, 1, 31});
    const auto before = state();
    Click(*window, name);
    const auto by_button = state();
    EXPECT_NE(by_button, before) << name;
    if (button->isCheckable()) Click(*window, name);  // off again
    schedule.JumpDate({2024, 1, 31});
    ASSERT_EQ(state(), before) << name;
    QTest::keyClick(&schedule, keys.key(), keys.keyboardModifiers());
    EXPECT_EQ(state(), by_button) << name;
    EXPECT_EQ(button->isChecked(), button->isCheckable()) << name;
    if (button->isCheckable()) Click(*window, name);
  }
}

TEST_F(MainWindowTest, ButtonsMoveTheCursor) {
  struct Case {
    TDateRec from;  // none: on from the row before
    const char* button;
    int32_t cycle;
    TDateRec to;
    const char* panel;
  };
  const std::vector<Case> cases = {
      {{2024, 5, 1}, "PreviousYearButton", 7, {2023, 5, 1}, "2023/5/1(月)"},
      {{2024, 5, 31}, "PreviousMonthButton", 7, {2024, 4, 30}, "2024/4/30(火)"},
      {{2024, 5, 1}, "PreviousWeekButton", 7, {2024, 4, 24}, "2024/4/24(水)"},
      {{2024, 5, 1}, "PreviousWeekButton", 31, {2024, 4, 24}, "2024/4/24(水)"},
      {{2024, 3, 1}, "PreviousDayButton", 7, {2024, 2, 29}, "2024/2/29(木)"},
      {{2020, 1, 1}, "TodayButton", 7, {2024, 5, 1}, "2024/5/1(水)"},
      {{2024, 2, 29}, "NextDayButton", 7, {2024, 3, 1}, "2024/3/1(金)"},
      {{2024, 12, 28}, "NextWeekButton", 7, {2025, 1, 4}, "2025/1/4(土)"},
      {{2024, 5, 1}, "NextWeekButton", 31, {2024, 5, 8}, "2024/5/8(水)"},
      {{2023, 1, 31}, "NextMonthButton", 7, {2023, 2, 28}, "2023/2/28(火)"},
      {{}, "NextDayButton", 7, {2023, 3, 1}, "2023/3/1(水)"},
      {{2024, 1, 31}, "NextMonthButton", 31, {2024, 2, 29}, "2024/2/29(木)"},
      {{2024, 2, 29}, "NextYearButton", 7, {2025, 2, 28}, "2025/2/28(金)"},
      // Before the calendar: refused, the cursor stays.
      {{1582, 12, 31}, "PreviousYearButton", 7, {1582, 12, 31}, "1582/12/31(金)"},
  };
  auto window = Start();
  for (const Case& c : cases) {
    TScheduleSettings settings = window->Schedule().GetSettings();
    settings.Cycle = c.cycle;
    window->Schedule().ApplySettings(settings);
    if (c.from.Year != 0) window->Schedule().JumpDate(c.from);
    Click(*window, c.button);
    EXPECT_EQ(window->Schedule().CursorDate(), c.to) << c.button << " cycle " << c.cycle;
    EXPECT_EQ(DatePanel(*window), Q(c.panel)) << c.button << " cycle " << c.cycle;
    const bool refused = c.to == c.from;
    EXPECT_EQ(notices.Messages(),
              refused ? std::vector<std::string>{kRangeMessage} : std::vector<std::string>{});
    EXPECT_EQ(notices.events.empty(), !refused);
    notices.Clear();
  }
}

TEST_F(MainWindowTest, TodayButtonFollowsEveryMove) {
  struct Step {
    const char* button;  // null: a jump of the schedule's own
    TDateRec jump;
    bool enabled;
  };
  const Step steps[] = {
      {"NextDayButton", {}, true},      {"PreviousDayButton", {}, false},
      {"PreviousWeekButton", {}, true}, {"TodayButton", {}, false},
      {nullptr, {2024, 5, 2}, true},    {nullptr, {2024, 5, 1}, false},
      {"NextYearButton", {}, true},     {"PreviousYearButton", {}, false},
  };
  auto window = Start();
  ASSERT_FALSE(TodayEnabled(*window));
  for (const Step& step : steps) {
    step.button ? Click(*window, step.button) : window->Schedule().JumpDate(step.jump);
    EXPECT_EQ(TodayEnabled(*window), step.enabled) << DatePanel(*window).toStdString();
  }
}

TEST_F(MainWindowTest, DateDialogJumpsAbsolutelyAndRelatively) {
  auto window = Start();
  window->Schedule().JumpDate({2024, 3, 15});
  WhenModal([](QWidget& modal) {
    auto* dialog = qobject_cast<TDateJumpForm*>(&modal);
    ASSERT_NE(dialog, nullptr);
    // It opens on the cursor date.
    EXPECT_EQ(Child<QComboBox>(modal, "YearBox")->currentText(), "2024");
    EXPECT_EQ(Child<QComboBox>(modal, "MonthBox")->currentText(), "3");
    EXPECT_EQ(Child<QComboBox>(modal, "DayBox")->currentText(), "15");
    TypeDate(modal, "2030", "2", "3");
  });
  Click(*window, "DateJumpButton");
  EXPECT_EQ(window->Schedule().CursorDate(), (TDateRec{2030, 2, 3}));
  EXPECT_EQ(DatePanel(*window), Q("2030/2/3(日)"));
  TDateJumpDialog* wrapper = window->DateJumpDialog();
  ASSERT_NE(wrapper, nullptr);

  // Cancelled: nothing moves, and the wrapper is the same one.
  WhenModal([](QWidget& modal) {
    Child<QComboBox>(modal, "YearBox")->setEditText("1999");
    QTest::mouseClick(Child<QPushButton>(modal, "CancelButton"), Qt::LeftButton);
  });
  Click(*window, "DateJumpButton");
  EXPECT_EQ(window->Schedule().CursorDate(), (TDateRec{2030, 2, 3}));
  EXPECT_EQ(window->DateJumpDialog(), wrapper);

  // A date the schedule would refuse keeps the form open with what was typed.
  WhenModal([](QWidget& modal) {
    Child<QComboBox>(modal, "EraBox")->setCurrentIndex(kEraChoiceHeisei);
    TypeDate(modal, "38", "2", "30");
    EXPECT_TRUE(modal.isVisible());
    EXPECT_EQ(Child<QComboBox>(modal, "YearBox")->currentText(), "38");
    QTest::mouseClick(Child<QPushButton>(modal, "CancelButton"), Qt::LeftButton);
  });
  notices.Clear();
  Click(*window, "DateJumpButton");
  EXPECT_EQ(window->Schedule().CursorDate(), (TDateRec{2030, 2, 3}));
  EXPECT_EQ(notices.Messages(), std::vector<std::string>{"日付が存在しません。"});

  // Relative moves.
  window->Schedule().JumpDate({2024, 1, 31});
  WhenModal([](QWidget& modal) {
    QTest::mouseClick(Child<QCheckBox>(modal, "RelativeBox"), Qt::LeftButton);
    auto* steps = Child<TStepButtons>(modal, "YearSteps");
    QTest::mouseClick(steps->findChild<QToolButton*>("Up"), Qt::LeftButton);
    Child<QLineEdit>(modal, "MonthOffset")->setText("1");
    Child<QLineEdit>(modal, "DayOffset")->setText("-3");
    QTest::mouseClick(Child<QPushButton>(modal, "OkButton"), Qt::LeftButton);
  });
  Click(*window, "DateJumpButton");
  // With a day part nothing clamps: 2025/2/(31 - 3).
  EXPECT_EQ(window->Schedule().CursorDate(), (TDateRec{2025, 2, 28}));
  EXPECT_EQ(DatePanel(*window), Q("2025/2/28(金)"));
  ASSERT_NE(window->DateJumpDialog(), nullptr);
  EXPECT_TRUE(window->DateJumpDialog()->Relative());

  // The next run opens on today in absolute mode; OK there jumps to today.
  WhenModal([](QWidget& modal) {
    EXPECT_FALSE(Child<QCheckBox>(modal, "RelativeBox")->isChecked());
    EXPECT_EQ(Child<QComboBox>(modal, "YearBox")->currentText(), "2024");
    EXPECT_EQ(Child<QComboBox>(modal, "MonthBox")->currentText(), "5");
    QTest::mouseClick(Child<QPushButton>(modal, "OkButton"), Qt::LeftButton);
  });
  Click(*window, "DateJumpButton");
  EXPECT_EQ(window->Schedule().CursorDate(), kToday);
  EXPECT_FALSE(TodayEnabled(*window));
}

TEST(ArgumentKindTest, DataFilesFirstThenPageFiles) {
  const std::pair<TArgumentKind, std::vector<const char*>> cases[] = {
      {TArgumentKind::kDataFile,
       {"a.nrk", "/home/u/予定.NRK", "b.Nrk", "x.nrk.npg", "my.nrkfiles/list", "old.dat",
        "OLD.DAT"}},
      {TArgumentKind::kPageFile, {"a.npg", "a.NPG", "c.npg.bak", "x.dat.npg"}},
      {TArgumentKind::kIgnored, {"data", "nrk", "a.nr k", ""}},
  };
  for (const auto& [kind, arguments] : cases) {
    for (const char* argument : arguments) EXPECT_EQ(ArgumentKind(Q(argument)), kind) << argument;
  }
}

TEST_F(MainWindowTest, CommandLineLoadsDataFilesInOrderAfterThePages) {
  const QString first = Write("first.nrk", "1/1 a\n");
  const QString odd = Write("x.nrk.npg", "1/2 b\n");
  const QString upper = Write("UPPER.NRK", "1/3 c\n");
  const QString page = Write("a.NPG", "[NerikaPage1]\nPageName=p\nScheduleTerm=6\n");
  auto window = Start({first, page, odd, Q("notes.txt"), upper});
  EXPECT_EQ(LoadedFiles(*window), (std::vector<std::string>{first.toStdString(), odd.toStdString(),
                                                            upper.toStdString()}));
  EXPECT_EQ(window->windowTitle(), Q("ぺろん - first.nrk +2"));
  EXPECT_EQ(window->Schedule().Model().Term(), 6);
  EXPECT_EQ(window->Schedule().CursorDate(), kToday);
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(MainWindowTest, TheLastPageWithAPageDecidesEverySetting) {
  const QString one = Write("one.npg",
                            "[NerikaPage1]\nPageName=one\nScheduleTerm=6\nScheduleDayInfo=3\n"
                            "ScheduleCycle=14\n");
  const QString two = Write("two.npg", "[NerikaPage1]\nPageName=two\nScheduleDayInfo=2\n");
  // No page name: no page, nothing changes.
  const QString none = Write("none.npg", "[NerikaPage1]\nScheduleTerm=2\n");
  const QString lower = Write("lower.npg", "[NerikaPage1]\nPageName=x\nScheduleTerm=5\n");
  const QString missing = data_folder_.filePath("missing.npg");

  const std::tuple<QStringList, int32_t, int32_t, int32_t> cases[] = {
      // cycle, term, day info
      {{}, 7, 4, 1},
      {{one}, 14, 6, 3},
      {{one, two}, 7, 4, 2},
      {{two, one}, 14, 6, 3},
      {{one, none}, 14, 6, 3},
      {{one, missing}, 14, 6, 3},
      {{one, two, lower}, 7, 5, 1},
  };
  for (const auto& [arguments, cycle, term, day_info] : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    auto window = Start(arguments);
    EXPECT_EQ(window->Schedule().Model().Cycle(), cycle);
    EXPECT_EQ(window->Schedule().Model().Term(), term);
    EXPECT_EQ(window->Schedule().GetSettings().DayInfo, day_info);
  }
}

TEST_F(MainWindowTest, ThePageBesideTheProgramComesBeforeTheCommandLine) {
  const std::string beside = JoinPath(ProgramFolder(), kProgramPageFile);
  ASSERT_FALSE(std::filesystem::exists(beside));
  // Removed again however the test ends.
  const std::unique_ptr<const std::string, void (*)(const std::string*)> removal(
      &beside, [](const std::string* path) { std::filesystem::remove(*path); });
  std::ofstream(beside, std::ios::binary)
      << EncodeCp932("[NerikaPage1]\nPageName=beside\nScheduleTerm=3\nScheduleDayInfo=4\n");
  const std::tuple<QStringList, int32_t, int32_t> cases[] = {
      // term, day info
      {{}, 3, 4},
      {{Write("p.npg", "[NerikaPage1]\nPageName=p\nScheduleDayInfo=2\n")}, 4, 2},
      // A section without a page leaves the program's page in force.
      {{Write("q.npg", "[NerikaPage1]\nScheduleDayInfo=2\n")}, 3, 4},
  };
  for (const auto& [arguments, term, day_info] : cases) {
    auto window = Start(arguments);
    EXPECT_EQ(window->Schedule().Model().Term(), term) << arguments.join(' ').toStdString();
    EXPECT_EQ(window->Schedule().GetSettings().DayInfo, day_info);
  }
}

TEST_F(MainWindowTest, BadLinesAreReportedOncePerFileWithExactlyItsLines) {
  const QString bad = Write("bad.nrk", "1/1\n1/2 ok\n1/4 Tom &Jerry\n1/5 fine\n");
  const QString good = Write("good.nrk", "1/6 fine\n");
  auto window = Start({bad, good});
  const auto reports = notices.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].heading, "bad.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(reports[0].lines,
            (std::vector<std::string>{"1/1 … 日付とデータの区切りがない",
                                      "1/4 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}));
  EXPECT_TRUE(notices.Messages().empty());
  EXPECT_EQ(LoadedFiles(*window).size(), 2u);
  EXPECT_EQ(window->Schedule().CursorDate(), kToday);
}

// The open dialog in Japanese; cancelled, it changes nothing and leaves nothing on disk but the
// placement.
TEST_F(MainWindowTest, TheOpenDialogCancelledChangesNothing) {
  QTemporaryDir folder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
  const QString first = Write("first.nrk", "1/1 a\n");
  auto window = Start({first});
  window->Schedule().JumpDate({2024, 7, 7});
  notices.Clear();
  WhenModal([](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "OpenDialog");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->defaultSuffix(), "nrk");
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{Q("ねりかファイル(..nrk) (*.nrk)"),
                           Q("旧ねりかファイル（.dat） (*.dat)"), Q("すべてのファイル(*.*) (*)")}));
    // Qt's own texts in Japanese, whatever the locale the tests run in.
    const std::vector<std::pair<QFileDialog::DialogLabel, const char*>> labels = {
        {QFileDialog::LookIn, "アドレス:"},         {QFileDialog::FileName, "ファイル名(&N):"},
        {QFileDialog::FileType, "ファイルの種類:"}, {QFileDialog::Accept, "開く(&O)"},
        {QFileDialog::Reject, "キャンセル"},
    };
    for (const auto& [label, text] : labels) EXPECT_EQ(dialog->labelText(label), Q(text));
    EXPECT_EQ(dialog->windowTitle(), Q("開く"));
    // A name that is no file is answered in Japanese as well.
    QString missing;
    WhenModal([&missing](QWidget& box) {
      missing = qobject_cast<QMessageBox*>(&box)->text();
      qobject_cast<QMessageBox*>(&box)->accept();
    });
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("missing.nrk");
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    EXPECT_EQ(missing,
              Q("missing.nrk\nファイルが見つかりません。\n正しいファイル名が入力されているかを確認"
                "してください。"));
    dialog->reject();
  });
  Click(*window, "OpenButton");
  EXPECT_EQ(LoadedFiles(*window), std::vector<std::string>{first.toStdString()});
  EXPECT_EQ(window->windowTitle(), Q("ぺろん - first.nrk"));
  EXPECT_EQ(DatePanel(*window), Q("2024/7/7(日)"));
  EXPECT_TRUE(notices.events.empty());
  EXPECT_TRUE(window->close());
  window.reset();
  std::vector<std::string> files;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(folder.path().toStdString())) {
    if (!entry.is_directory()) {
      files.push_back(
          std::filesystem::relative(entry.path(), folder.path().toStdString()).string());
    }
  }
  EXPECT_EQ(files, std::vector<std::string>{"ZUKARA SOFT/Pelo.conf"});
  // The settings folder is the same as before for whatever comes next.
  EXPECT_EQ(
      QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo").fileName(),
      folder.filePath("ZUKARA SOFT/Pelo.conf"));
}

TEST_F(MainWindowTest, ConfirmingTheOpenDialogReplacesTheFilesAndGoesToToday) {
  const QString first = Write("first.nrk", "1/1 a\n");
  const QString second = Write("second.nrk", "1/2 b\n");
  const QString third = Write("third.dat", "1/3 c\n");
  auto window = Start({first});
  window->Schedule().JumpDate({2024, 7, 7});
  const QString folder = data_folder_.path();
  WhenModal([folder](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(folder);
    dialog->selectFile(QStringLiteral("\"second.nrk\" \"third.dat\""));
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  Click(*window, "OpenButton");
  EXPECT_EQ(LoadedFiles(*window),
            (std::vector<std::string>{second.toStdString(), third.toStdString()}));
  EXPECT_EQ(window->windowTitle(), Q("ぺろん - second.nrk +1"));
  EXPECT_EQ(window->Schedule().CursorDate(), kToday);
  EXPECT_FALSE(TodayEnabled(*window));

  // The same file again reloads it and still returns to today.
  window->Schedule().JumpDate({2024, 8, 8});
  WhenModal([second](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    // Typed over what the last run left selected.
    auto* name_edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name_edit, nullptr);
    name_edit->setText(QFileInfo(second).fileName());
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  Click(*window, "OpenButton");
  EXPECT_EQ(LoadedFiles(*window), std::vector<std::string>{second.toStdString()});
  EXPECT_EQ(window->windowTitle(), Q("ぺろん - second.nrk"));
  EXPECT_EQ(window->Schedule().CursorDate(), kToday);
}

TEST_F(MainWindowTest, PlacementIsRestoredAtStartAndSavedOnClose) {
  {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
    settings.beginGroup("FormMain");
    settings.setValue("Left", "40");
    settings.setValue("Top", "30");
    settings.setValue("Width", "600");
    settings.setValue("Height", "400");
  }
  auto window = Start();
  EXPECT_EQ(window->pos(), QPoint(40, 30));
  EXPECT_EQ(window->size(), QSize(600, 400));
  window->resize(640, 420);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(
      StoredPlacement(),
      (std::map<std::string, std::string>{
          {"Left", "40"}, {"Top", "30"}, {"Width", "640"}, {"Height", "420"}, {"Maximized", "0"}}));
}

TEST_F(MainWindowTest, ClosedBeforeTheEventLoopRunsTheStartUpLoadsNothing) {
  EXPECT_TRUE(TMainWindow({}, kToday, notices).close());
  EXPECT_TRUE(StoredPlacement().empty());  // never shown, nothing saved
  const QString bad = Write("bad.nrk", "1/1\n");
  TMainWindow window({bad}, kToday, notices);
  window.show();
  EXPECT_TRUE(window.close());
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(window.StartedUp());
  EXPECT_TRUE(LoadedFiles(window).empty());
  EXPECT_TRUE(notices.events.empty());
  // The placement was restored when the window was shown, so it is saved.
  EXPECT_EQ(StoredPlacement().size(), 5u);
}

// Ctrl+K and the toggle switch the calendar: the table is rebuilt with the holidays its
// conditions test, the cursor stays, and the date dialog offers the eras of the calendar.
TEST_F(MainWindowTest, CtrlKSwitchesTheCalendarAndKeepsTheCursor) {
  const QString data = Write("h.nrk", "2026/2/1~2026/2/28 祝日 &&(HD)\n");
  auto window = Start({data});
  constexpr TDateRec kBirthday{2026, 2, 23};
  window->Schedule().JumpDate(kBirthday);
  auto* toggle = Child<QToolButton>(*window, "CalendarCurrentButton");
  const auto lines = [&window] {
    const TCellLineList* cell = window->Schedule().DayTable().Cell(kBirthday);
    return cell != nullptr ? cell->Count() : -1;
  };
  const auto era_choices = [this, &window] {
    int count = 0;
    WhenModal([&count](QWidget& modal) {
      count = Child<QComboBox>(modal, "EraBox")->count();
      QTest::mouseClick(Child<QPushButton>(modal, "CancelButton"), Qt::LeftButton);
    });
    Click(*window, "DateJumpButton");
    return count;
  };
  EXPECT_EQ(lines(), 0);
  EXPECT_EQ(era_choices(), 5);

  // A shortcut reaches the active window only; the dialog has just left it.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(&window->Schedule(), Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(window->Schedule().Calendar().Kind(), TCalendarKind::kCurrent);
  EXPECT_TRUE(toggle->isChecked());
  EXPECT_EQ(window->Schedule().CursorDate(), kBirthday);
  EXPECT_EQ(window->Schedule().Calendar().HolidayName(kBirthday), "天皇誕生日");
  EXPECT_EQ(lines(), 1);
  EXPECT_EQ(DatePanel(*window), Q("2026/2/23(月)"));
  EXPECT_EQ(era_choices(), 6);

  Click(*window, "CalendarCurrentButton");
  EXPECT_EQ(window->Schedule().Calendar().Kind(), TCalendarKind::kClassic);
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_EQ(window->Schedule().CursorDate(), kBirthday);
  EXPECT_EQ(lines(), 0);
  EXPECT_TRUE(notices.events.empty());
}

// The choice is kept in the settings beside the placement; a page that says which calendar it
// wants wins over it, a page that does not leaves it.
TEST_F(MainWindowTest, TheCalendarChoiceIsKeptBetweenRunsAndPagesMayChooseIt) {
  const QString current = Write("current.npg", "[NerikaPage1]\nPageName=c\nCalendarCurrent=1\n");
  const QString classic = Write("classic.npg", "[NerikaPage1]\nPageName=k\nCalendarCurrent=0\n");
  const QString silent = Write("silent.npg", "[NerikaPage1]\nPageName=s\n");
  const auto stored = [] {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo")
        .value("Calendar/Current");
  };
  const struct {
    QStringList pages;
    bool toggle;  // clicked once the window runs
    bool current;
  } runs[] = {
      {{}, false, false},
      {{}, true, true},
      {{}, false, true},
      {{silent}, false, true},
      {{classic}, false, false},
      {{current}, false, true},
      {{current, silent}, true, false},
      {{current}, false, true},
      {{current, classic}, false, false},
  };
  EXPECT_FALSE(stored().isValid());
  for (const auto& run : runs) {
    SCOPED_TRACE(run.pages.join(' ').toStdString() + (run.toggle ? " toggled" : ""));
    auto window = Start(run.pages);
    if (run.toggle) Click(*window, "CalendarCurrentButton");
    const TCalendarKind expected = run.current ? TCalendarKind::kCurrent : TCalendarKind::kClassic;
    EXPECT_EQ(window->Schedule().Calendar().Kind(), expected);
    EXPECT_EQ(Child<QToolButton>(*window, "CalendarCurrentButton")->isChecked(), run.current);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(stored().toString(), run.current ? "1" : "0");
  }
}

TEST_F(MainWindowTest, EveryButtonAndTheWholeDateFitTheFirstWindow) {
  // The first window on a 1280 x 800 screen, also at double scale (QT_SCALE_FACTOR=2, its own
  // size), and a wide one that leaves the date panel its full width (0: whatever is left).
  const std::pair<QSize, int> cases[] = {{{853, 533}, 140}, {{484, 308}, 0}, {{1200, 800}, 140}};
  for (const auto& [size, panel_width] : cases) {
    SCOPED_TRACE(size.width());
    auto window = Start();
    window->resize(size);
    QCoreApplication::processEvents();
    // The rightmost button shows, and so every other.
    QWidget* rightmost = Child<QWidget>(*window, "CalendarCurrentButton");
    EXPECT_TRUE(rightmost->isVisible());
    EXPECT_TRUE(Child<QToolBar>(*window, "ToolBar")->rect().contains(rightmost->geometry()));
    window->Schedule().JumpDate({2024, 12, 28});
    QLabel* panel = Child<QLabel>(*window, "DatePanel");
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    EXPECT_TRUE(panel_width == 0 || panel->width() == panel_width) << panel->width();
  }
}

TEST_F(MainWindowTest, PastMidnightTodayMovesOnAndTheCursorStaysWhereTheUserPutIt) {
  // The cursor before midnight, after it, and the date panel then.
  const std::tuple<TDateRec, TDateRec, const char*> cases[] = {
      {{2024, 5, 1}, {2024, 5, 2}, "2024/5/2(木)"},
      {{2024, 5, 20}, {2024, 5, 20}, "2024/5/20(月)"},
      {{2024, 5, 2}, {2024, 5, 2}, "2024/5/2(木)"}};
  // The period ends today: "%l" counts the days left.
  const QString data = Write("d.nrk", "2024/5/1~2024/5/* 締切 %l\n");
  for (const auto& [cursor, after, panel] : cases) {
    SCOPED_TRACE(panel);
    auto window = Start({data});
    test::TManualClock clock({kToday, 24 * 3600 - 15});  // 23:59:45
    window->FollowClock(clock);
    TSchedule& schedule = window->Schedule();
    schedule.JumpDate(cursor);
    ASSERT_EQ(schedule.DayTable().Cell(kToday)->Text(0), "締切 残り 1日");
    clock.now = {{2024, 5, 2}, 2};
    window->TodayFollower()->Check();
    EXPECT_TRUE(schedule.Calendar().IsToday({2024, 5, 2}));
    EXPECT_EQ(schedule.CursorDate(), after);
    EXPECT_EQ(schedule.DayTable().Cell(kToday)->Text(0), "締切 残り 2日");
    EXPECT_EQ(DatePanel(*window), Q(panel));
    EXPECT_EQ(TodayEnabled(*window), !(after == TDateRec{2024, 5, 2}));
    QTest::keyClick(&schedule, Qt::Key_Home);
    EXPECT_EQ(schedule.CursorDate(), (TDateRec{2024, 5, 2}));
    EXPECT_FALSE(TodayEnabled(*window));
  }
}

}  // namespace
}  // namespace pelo
