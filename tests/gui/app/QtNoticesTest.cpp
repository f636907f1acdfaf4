// The viewer's user notices: message boxes with the program's caption and Japanese buttons,
// the OK/Cancel question, and the load-error report window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "ModalSteps.h"
#include "app/LoadReportDialogs.h"
#include "app/QtNotices.h"

namespace pelo {
namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// What a message box showed, and the button to leave it with.
struct Shown {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QStringList button_texts;
};

void AnswerBox(Shown& shown, QMessageBox::StandardButton answer) {
  test::WhenModal([&shown, answer](QWidget& window) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr);
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) texts << button->text();
    texts.sort();
    shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), texts};
    QTest::mouseClick(box->button(answer), Qt::LeftButton);
  });
}

TEST(QtNoticesTest, InformationAndWarningBoxes) {
  struct Case {
    std::function<void(TQtNotices&, const std::string&)> show;
    QMessageBox::Icon icon;
  };
  const std::vector<Case> cases = {
      {[](TQtNotices& n, const std::string& t) { n.Information(t); }, QMessageBox::Information},
      {[](TQtNotices& n, const std::string& t) { n.Warning(t); }, QMessageBox::Warning},
  };
  TQtNotices notices;
  for (const Case& c : cases) {
    Shown shown;
    AnswerBox(shown, QMessageBox::Ok);
    c.show(notices, "ファイル a.nrk が見つかりません");
    EXPECT_EQ(shown.caption, Q("ぺろん"));
    EXPECT_EQ(shown.text, Q("ファイル a.nrk が見つかりません"));
    EXPECT_EQ(shown.icon, c.icon);
    EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(shown.button_texts, QStringList{"OK"});
  }
}

TEST(QtNoticesTest, ConfirmIsTrueForOkOnly) {
  TQtNotices notices;
  for (const auto& [answer, expected] : std::vector<std::pair<QMessageBox::StandardButton, bool>>{
           {QMessageBox::Ok, true}, {QMessageBox::Cancel, false}}) {
    Shown shown;
    AnswerBox(shown, answer);
    EXPECT_EQ(notices.Confirm("削除しますか？"), expected);
    EXPECT_EQ(shown.caption, Q("ぺろん"));
    EXPECT_EQ(shown.text, Q("削除しますか？"));
    EXPECT_EQ(shown.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(shown.button_texts, (QStringList{"OK", Q("キャンセル")}));
  }
  // Escape is Cancel.
  test::WhenModal([](QWidget& window) { QTest::keyClick(&window, Qt::Key_Escape); });
  EXPECT_FALSE(notices.Confirm("移動しますか？"));
}

TEST(QtNoticesTest, BoxesOpenOverTheParent) {
  QWidget main_window;
  TQtNotices notices(&main_window);
  QWidget* parent = nullptr;
  test::WhenModal([&parent](QWidget& window) {
    parent = window.parentWidget();
    QTest::keyClick(&window, Qt::Key_Return);
  });
  notices.Information("x");
  EXPECT_EQ(parent, &main_window);
}

TEST(QtNoticesTest, LoadErrorsShowTheReportWindow) {
  TQtNotices notices;
  QString label;
  QString memo;
  test::WhenModal([&](QWidget& window) {
    auto* dialog = qobject_cast<TLoadReportDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    label = dialog->findChild<QLabel*>("Message")->text();
    memo = dialog->findChild<QPlainTextEdit*>("Lines")->toPlainText();
    dialog->findChild<QPushButton*>("CloseButton")->click();
  });
  notices.ShowLoadErrors({"b.nrk を読込み中にエラーが発生しました。", {"1 … e1", "2 … e2"}});
  EXPECT_EQ(label, Q("b.nrk を読込み中にエラーが発生しました。"));
  EXPECT_EQ(memo, Q("1 … e1\n2 … e2"));
}

TEST(QtNoticesTest, EveryBeepKindReturnsAtOnce) {
  TQtNotices notices;
  for (TBeepKind kind : {TBeepKind::kPlain, TBeepKind::kExclamation, TBeepKind::kQuestion,
                         TBeepKind::kInformation}) {
    notices.Beep(kind);
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace pelo
