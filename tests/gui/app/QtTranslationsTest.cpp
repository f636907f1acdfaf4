// Qt's own dialogs as the window opens them speak Japanese: no label, button, column title,
// tab, group title, list item or file list entry is English.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
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
#include <QToolButton>
#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "ModalSteps.h"
#include "RecordingNotices.h"
#include "app/MainWindows.h"

namespace pelo {
namespace {

using test::WhenModal;

// English for a user: a word of ASCII letters and nothing beyond ASCII. Numbers, paths and
// "2 (2x1)" are no language; a format's name and OK are rightly ASCII in Japanese too.
bool LooksEnglish(const QString& text) {
  int letters_in_a_row = 0;
  bool word = false;
  for (const QChar c : text) {
    if (c.unicode() > 0x7f) return false;
    letters_in_a_row = c.isLetter() ? letters_in_a_row + 1 : 0;
    word = word || letters_in_a_row >= 2;
  }
  return word && text != "iCalendar (*.ics)" && text != "OK" && !text.startsWith('/');
}

// The English texts a user reads in a dialog, on every page of its tabs.
std::set<std::string> EnglishTexts(QWidget& dialog) {
  std::set<std::string> english;
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    bool shown = true;
    for (QWidget* w = widget; w != &dialog; w = w->parentWidget()) {
      shown = shown && (!w->isHidden() || w->parentWidget()->inherits("QStackedWidget"));
    }
    QStringList texts;
    if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
    auto* tool = qobject_cast<QToolButton*>(widget);
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button && !(tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)) {
      texts << button->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) texts << group->title();
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    }
    // Paper sizes keep the names their standards give them: A4, JIS B5, ANSI C, A4 Extra.
    if (auto* combo = qobject_cast<QComboBox*>(widget);
        combo && !combo->isEditable() && combo->objectName() != "pageSizeCombo") {
      for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model()) {
      for (int i = 0; i < header->count(); ++i) {
        texts << header->model()->headerData(i, header->orientation()).toString();
      }
    }
    for (QString& text : texts) {
      if (shown && LooksEnglish(text.remove('&'))) {
        english.insert(widget->objectName().toStdString() + ": " + text.toStdString());
      }
    }
  }
  return english;
}

// The detailed file list of a file dialog on folder: every column but the name.
void AddFileList(QFileDialog& dialog, const QString& folder, std::set<std::string>& english) {
  dialog.setDirectory(folder);
  auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisibleTo(&dialog));
  QTest::qWait(200);  // the folder is read in the background
  const QModelIndex root = view->rootIndex();
  ASSERT_GE(view->model()->rowCount(root), 1);
  for (int row = 0; row < view->model()->rowCount(root); ++row) {
    for (int column = 1; column < view->model()->columnCount(root); ++column) {
      const QString text = view->model()->index(row, column, root).data().toString();
      if (LooksEnglish(text)) english.insert("file list: " + text.toStdString());
    }
  }
}

// The print dialog folds its options away behind the one button beside OK and Cancel.
void UnfoldOptions(QWidget& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  const auto is_fold = [box](QAbstractButton* b) {
    return box->buttonRole(b) == QDialogButtonBox::ResetRole;
  };
  const QList<QAbstractButton*> buttons = box->buttons();
  ASSERT_EQ(std::count_if(buttons.begin(), buttons.end(), is_fold), 1);
  for (QAbstractButton* button : buttons)
    if (is_fold(button)) button->click();
}

TEST(QtTranslationsTest, DialogsOfTheWindowShowNoEnglish) {
  QTemporaryDir settings_folder, files;
  ASSERT_TRUE(settings_folder.isValid() && files.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder.path());
  ASSERT_TRUE(QDir(files.path()).mkdir(QStringLiteral("folder")));
  std::ofstream(files.filePath(QStringLiteral("a.nrk")).toStdString()) << "1/1 x\n";
  // The action, and a button of its dialog that opens the one to read.
  const std::pair<const char*, const char*> dialogs[] = {{"OpenAction", nullptr},
                                                         {"ExportAction", nullptr},
                                                         {"PrintAction", nullptr},
                                                         {"PrintAction", "properties"}};
  test::RecordingNotices notices;
  TMainWindow window({}, TDateRec{2024, 5, 1}, notices);
  window.show();
  for (const auto& [action, opened_by] : dialogs) {
    std::set<std::string> english;
    bool read = false;
    const auto read_dialog = [&](QWidget& modal) {
      read = true;
      if (auto* file_dialog = qobject_cast<QFileDialog*>(&modal)) {
        AddFileList(*file_dialog, files.path(), english);
      }
      if (qobject_cast<QPrintDialog*>(&modal) != nullptr) UnfoldOptions(modal);
      english.merge(EnglishTexts(modal));
      qobject_cast<QDialog*>(&modal)->reject();
    };
    WhenModal([&](QWidget& modal) {
      if (opened_by == nullptr) return read_dialog(modal);
      WhenModal(read_dialog);
      modal.findChild<QAbstractButton*>(QString::fromLatin1(opened_by))->click();
      qobject_cast<QDialog*>(&modal)->reject();
    });
    window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    EXPECT_TRUE(read) << action;
    EXPECT_EQ(english, std::set<std::string>{}) << action;
  }
}

}  // namespace
}  // namespace pelo
