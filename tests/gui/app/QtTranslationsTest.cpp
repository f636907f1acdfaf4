// Qt's own dialogs as the window opens them speak Japanese: no label, button, column title,
// tab, group title or shown list item is English, and the file lists show their types and
// dates in Japanese.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "ModalSteps.h"
#include "RecordingNotices.h"
#include "app/MainWindows.h"
#include "app/QtSetup.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::WhenModal;

// Texts that are rightly ASCII in a Japanese interface: a format's name, the OK button.
const std::set<QString> kAsciiAllowed = {QStringLiteral("iCalendar (*.ics)"), QStringLiteral("OK")};

// English, for a user: a word of ASCII letters and nothing that is not ASCII. Numbers, paths,
// sizes like "2 (2x1)" and symbols are no language.
bool LooksEnglish(const QString& text) {
  int letters_in_a_row = 0;
  bool word = false;
  for (const QChar c : text) {
    if (c.unicode() > 0x7f) return false;
    letters_in_a_row = c.isLetter() ? letters_in_a_row + 1 : 0;
    if (letters_in_a_row >= 2) word = true;
  }
  return word && !kAsciiAllowed.contains(text) && !text.startsWith(QLatin1Char('/'));
}

QString Plain(QString text) {
  if (Qt::mightBeRichText(text)) {
    QTextDocument document;
    document.setHtml(text);
    text = document.toPlainText();
  }
  return text.remove(QLatin1Char('&')).trimmed();
}

// The texts a user reads in a dialog, each with the widget it stands in, whatever page of
// its tabs or part of its options is open.
class TShownTexts {
 public:
  void Collect(QWidget& dialog) {
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
      if (Shown(dialog, *widget)) CollectFrom(*widget);
    }
  }
  std::set<std::string> English() const { return english_; }

 private:
  // Tab pages that are not current count: the user opens them.
  static bool Shown(QWidget& dialog, QWidget& widget) {
    for (QWidget* w = &widget; w != nullptr && w != &dialog; w = w->parentWidget()) {
      const bool tab_page =
          w->parentWidget() != nullptr && w->parentWidget()->inherits("QStackedWidget");
      if (w->isHidden() && !tab_page) return false;
    }
    return true;
  }

  void Add(QWidget& widget, const QString& text) {
    const QString plain = Plain(text);
    if (LooksEnglish(plain)) {
      english_.insert((widget.metaObject()->className() + std::string(" ") +
                       widget.objectName().toStdString() + ": " + plain.toStdString()));
    }
  }

  void CollectFrom(QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget)) Add(widget, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
      auto* tool = qobject_cast<QToolButton*>(&widget);
      if (tool == nullptr || tool->toolButtonStyle() != Qt::ToolButtonIconOnly) {
        Add(widget, button->text());
      }
    }
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) Add(widget, group->title());
    if (auto* tabs = qobject_cast<QTabWidget*>(&widget)) {
      for (int i = 0; i < tabs->count(); ++i) Add(widget, tabs->tabText(i));
    }
    // Paper sizes keep the names their standards give them: A4, JIS B5, ANSI C, A4 Extra.
    if (auto* combo = qobject_cast<QComboBox*>(&widget);
        combo != nullptr && !combo->isEditable() && combo->objectName() != "pageSizeCombo") {
      for (int i = 0; i < combo->count(); ++i) Add(widget, combo->itemText(i));
    }
    if (auto* header = qobject_cast<QHeaderView*>(&widget); header != nullptr && header->model()) {
      for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i)) continue;
        Add(widget, header->model()->headerData(i, header->orientation()).toString());
      }
    }
  }

  std::set<std::string> english_;
};

// The file list of a file dialog, every column but the name: type, size and date.
void CollectFileList(QFileDialog& dialog, const QString& folder, TShownTexts& texts,
                     std::set<std::string>& english) {
  dialog.setDirectory(folder);
  auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  // The detailed list, with its column titles.
  EXPECT_TRUE(view->isVisibleTo(&dialog));
  QAbstractItemModel* model = view->model();
  // The folder, and the data file where the filter lets it show.
  for (int i = 0; i < 200 && model->rowCount(view->rootIndex()) < 1; ++i) QTest::qWait(10);
  QTest::qWait(50);
  const int rows = model->rowCount(view->rootIndex());
  ASSERT_GE(rows, 1);
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column < model->columnCount(view->rootIndex()); ++column) {
      const QString text = model->index(row, column, view->rootIndex()).data().toString();
      if (LooksEnglish(text)) english.insert("file list: " + text.toStdString());
    }
  }
  texts.Collect(dialog);
}

// The print dialog's options are folded away behind a button beside OK and Cancel.
void UnfoldOptions(QWidget& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  int unfolded = 0;
  for (QAbstractButton* button : box->buttons()) {
    const QDialogButtonBox::ButtonRole role = box->buttonRole(button);
    if (role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::RejectRole) continue;
    button->click();
    ++unfolded;
  }
  EXPECT_EQ(unfolded, 1);
}

class QtTranslationsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_folder_.isValid() && files_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
    ASSERT_TRUE(QDir(files_.path()).mkdir(QStringLiteral("folder")));
    std::ofstream(files_.filePath(QStringLiteral("a.nrk")).toStdString()) << "1/1 x\n";
  }

  RecordingNotices notices_;
  QTemporaryDir settings_folder_;
  QTemporaryDir files_;
};

TEST_F(QtTranslationsTest, DialogsOfTheWindowShowNoEnglish) {
  struct Dialog {
    const char* action;
    const char* opened_by;  // a button of the first dialog that opens the one to read
    bool file_list;
    bool folded;  // options folded away behind a button
  };
  const Dialog dialogs[] = {{"OpenAction", nullptr, true, false},
                            {"ExportAction", nullptr, true, false},
                            {"PrintAction", nullptr, false, true},
                            {"PrintAction", "properties", false, false}};
  TMainWindow window({}, TDateRec{2024, 5, 1}, notices_);
  window.show();
  for (const Dialog& dialog : dialogs) {
    const std::string trace =
        std::string(dialog.action) + " " + (dialog.opened_by ? dialog.opened_by : "");
    TShownTexts texts;
    std::set<std::string> english;
    bool seen = false;
    const auto read = [&](QWidget& modal) {
      seen = true;
      if (auto* file_dialog = qobject_cast<QFileDialog*>(&modal); dialog.file_list) {
        ASSERT_NE(file_dialog, nullptr);
        EXPECT_TRUE(file_dialog->testOption(QFileDialog::DontUseNativeDialog));
        CollectFileList(*file_dialog, files_.path(), texts, english);
      } else {
        if (dialog.folded) UnfoldOptions(modal);
        texts.Collect(modal);
      }
      qobject_cast<QDialog*>(&modal)->reject();
    };
    WhenModal([&](QWidget& modal) {
      if (dialog.opened_by == nullptr) {
        read(modal);
        return;
      }
      auto* button = modal.findChild<QAbstractButton*>(QString::fromLatin1(dialog.opened_by));
      ASSERT_NE(button, nullptr);
      WhenModal(read);
      button->click();
      qobject_cast<QDialog*>(&modal)->reject();
    });
    auto* action = window.findChild<QAction*>(QString::fromLatin1(dialog.action));
    ASSERT_NE(action, nullptr) << trace;
    action->trigger();
    EXPECT_TRUE(seen) << trace;
    const std::set<std::string> shown = texts.English();
    english.insert(shown.begin(), shown.end());
    EXPECT_EQ(english, std::set<std::string>{}) << trace;
  }
}

}  // namespace
}  // namespace pelo

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // As the program does.
  pelo::PrepareApplication(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
