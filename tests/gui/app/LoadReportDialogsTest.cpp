// The load-error report window: its texts and controls, the lines in order, the heading, the close
// button that keeps to the right edge, and the modal run with its beep.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "ChildWidgets.h"
#include "ModalSteps.h"
#include "RecordingNotices.h"
#include "app/LoadReportDialogs.h"

namespace pelo {
namespace {

using test::Child;
using test::RecordingNotices;

QString Q(const char* text) { return QString::fromUtf8(text); }

const std::vector<std::string> kLines = {
    "2024/13/1 会議 … 月の指定が不正です",
    "毎週月曜 … 日付の指定がありません",
    "&x 9:00 … 不明なコマンドです",
};

TEST(LoadReportDialogTest, TextsAndControls) {
  TLoadReportDialog dialog;
  EXPECT_EQ(dialog.objectName(), "LoadReportDialog");
  EXPECT_EQ(dialog.windowTitle(), Q("ねりかｴﾗｰ情報"));
  EXPECT_EQ(dialog.size(), QSize(490, 267));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(Child<QLabel>(dialog, "Message")->text(),
            Q("ﾃﾞｰﾀﾌｧｲﾙの読み込み中にｴﾗｰが発生しました！"));
  EXPECT_FALSE(Child<QLabel>(dialog, "Icon")->pixmap().isNull());
  EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "Lines")->isReadOnly());
  const auto* close = Child<QPushButton>(dialog, "CloseButton");
  EXPECT_EQ(close->text(), Q("閉じる"));
  EXPECT_TRUE(close->isDefault());
}

TEST(LoadReportDialogTest, LinesInOrderAndTheHeading) {
  struct Case {
    std::string heading;
    const char* label;
  };
  const std::vector<Case> cases = {
      {"", "ﾃﾞｰﾀﾌｧｲﾙの読み込み中にｴﾗｰが発生しました！"},
      {"予定.nrk を読込み中にエラーが発生しました。",
       "予定.nrk を読込み中にエラーが発生しました。"},
  };
  for (const Case& c : cases) {
    TLoadReportDialog dialog;
    dialog.SetLines(kLines);
    dialog.SetHeading(c.heading);
    EXPECT_EQ(Child<QLabel>(dialog, "Message")->text(), Q(c.label));
    const QStringList shown = Child<QPlainTextEdit>(dialog, "Lines")->toPlainText().split('\n');
    ASSERT_EQ(shown.size(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(shown[i].toStdString(), kLines[i]);
  }
}

TEST(LoadReportDialogTest, CloseButtonKeepsToTheRightEdge) {
  TLoadReportDialog dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const auto* close = Child<QPushButton>(dialog, "CloseButton");
  const auto* bottom = Child<QWidget>(dialog, "ButtonBar");
  EXPECT_EQ(bottom->height(), 35);
  for (const auto& [width, left] :
       std::vector<std::pair<int, int>>{{640, 545}, {300, 205}, {490, 395}}) {
    dialog.setFixedSize(width, 267);
    QApplication::processEvents();
    EXPECT_EQ(bottom->width(), width);
    EXPECT_EQ(close->geometry(), QRect(left, 4, 75, 25)) << width;
  }
}

TEST(LoadReportDialogTest, ModalRunBeepsFirstAndClosesWithTheButton) {
  RecordingNotices notices;
  bool seen = false;
  test::WhenModal([&](QWidget& window) {
    auto* dialog = qobject_cast<TLoadReportDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    seen = true;
    // The beep sounded before the window came up.
    ASSERT_EQ(notices.events.size(), 1u);
    EXPECT_EQ(notices.events[0].kind, RecordingNotices::Kind::kBeep);
    EXPECT_EQ(notices.events[0].beep, TBeepKind::kExclamation);
    EXPECT_EQ(Child<QLabel>(*dialog, "Message")->text(), Q("a.nrk を読込み中"));
    // The notes on the file's text after its bad lines.
    EXPECT_EQ(Child<QPlainTextEdit>(*dialog, "Lines")->toPlainText(), Q("x … y\nz … NUL"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "CloseButton"), Qt::LeftButton);
  });
  EXPECT_FALSE(ExecuteLoadReportDialog({"a.nrk を読込み中", {"x … y"}, {"z … NUL"}}, notices));
  EXPECT_TRUE(seen);
}

TEST(LoadReportDialogTest, EnterPressesTheCloseButton) {
  RecordingNotices notices;
  test::WhenModal([](QWidget& window) { QTest::keyClick(&window, Qt::Key_Return); });
  EXPECT_FALSE(ExecuteLoadReportDialog({"", {"x"}}, notices));
}

}  // namespace
}  // namespace pelo
