// The day pane in the main window: shown and kept like the window's placement, following the
// cursor and the selected line both ways, the note of a line, related files opened only after
// the question, and the source handed to the user's editor.

#include "app/DayPanes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "RecordingNotices.h"
#include "app/MainWindows.h"
#include "app/QtSetup.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

using test::RecordingNotices;

constexpr TDateRec kToday{2027, 2, 1};

// Takes the URLs the desktop would have opened.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

class DayPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_folder_.isValid());
    ASSERT_TRUE(data_folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened_, "Open");
  }
  void TearDown() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  std::unique_ptr<TMainWindow> Start(const QString& file) {
    auto window = std::make_unique<TMainWindow>(QStringList{file}, kToday, notices_);
    window->show();
    for (int i = 0; i < 200 && !window->StartedUp(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(window->StartedUp());
    return window;
  }

  QString Write(const char* name, const std::string& bytes) {
    const QString path = data_folder_.filePath(QString::fromLatin1(name));
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
  }

  // The related files' data file, with the cursor on its day and the pane open.
  std::unique_ptr<TMainWindow> StartOnRelatedFiles() {
    Write("memo.txt", "m");
    QFile::setPermissions(Write("run.sh", "#!/bin/sh\n"), QFile::ReadOwner | QFile::ExeOwner);
    auto window =
        Start(Write("a.nrk", EncodeCp932("2027/2/3 会議 &x(memo.txt,run.sh,none.txt)\n")));
    window->Schedule().JumpDate({2027, 2, 3});
    window->DayPane().show();
    return window;
  }

  RecordingNotices notices_;
  UrlRecorder opened_;
  QTemporaryDir settings_folder_;
  QTemporaryDir data_folder_;
};

TEST_F(DayPaneTest, OffOnTheFirstRunThenF9AndItsStateIsKept) {
  const QString sample = QStringLiteral(PELO_EXAMPLES_DIR "/sample.nrk");
  {
    auto window = Start(sample);
    EXPECT_FALSE(window->DayPane().isVisible());
    QTest::keyClick(&window->Schedule(), Qt::Key_F9);
    EXPECT_TRUE(window->DayPane().isVisible());
    EXPECT_TRUE(window->close());
  }
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
  EXPECT_EQ(settings.value("DayPane/Visible").toString(), "1");
  const int width = settings.value("DayPane/Width").toInt();
  EXPECT_GT(width, 0);
  auto window = Start(sample);
  EXPECT_TRUE(window->DayPane().isVisible());
  EXPECT_EQ(window->DayPane().width(), width);
  QTest::keyClick(&window->Schedule(), Qt::Key_F9);
  EXPECT_FALSE(window->DayPane().isVisible());
}

TEST_F(DayPaneTest, ValentinesDayShowsItsNoteAndSource) {
  auto window = Start(QStringLiteral(PELO_EXAMPLES_DIR "/sample.nrk"));
  TDayPane& pane = window->DayPane();
  pane.show();
  window->Schedule().JumpDate({2027, 2, 14});
  EXPECT_TRUE(pane.Heading().text().startsWith(QString::fromUtf8("2027年2月14日(日) 平成39年")))
      << pane.Heading().text().toStdString();
  QListWidget& lines = pane.Lines();
  int valentine = -1;
  for (int i = 0; i < lines.count(); ++i) {
    if (lines.item(i)->text() == QString::fromUtf8("バレンタイン [メモ]")) valentine = i;
  }
  ASSERT_GE(valentine, 0);
  lines.setCurrentRow(valentine);
  EXPECT_EQ(pane.Note().toPlainText(), QString::fromUtf8("チョコレートを買う\nついでに花も"));
  EXPECT_EQ(pane.Source().text(), QString::fromUtf8("sample.nrk:17\n2027/2/14 バレンタイン"));
  // The grid selected the same line.
  const TEntry* entry = window->Schedule().EntryList().Entry(window->Schedule().FocusedEntry());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Text, "バレンタイン");
  QTest::mouseClick(pane.findChild<QPushButton*>("dayPaneCopy"), Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("バレンタイン"));
}

TEST_F(DayPaneTest, TheGridsSelectionAndTabReachThePane) {
  auto window = Start(Write("a.nrk", EncodeCp932("2027/2/3 一\n2027/2/3 二\n2027/2/3 三\n")));
  TDayPane& pane = window->DayPane();
  pane.show();
  window->Schedule().JumpDate({2027, 2, 3});
  EXPECT_EQ(pane.Lines().count(), 3);
  for (int line : {2, 0, 1}) {
    window->Schedule().SelectCursorLine(line);
    EXPECT_EQ(pane.Lines().currentRow(), line);
    EXPECT_EQ(pane.Source().text().left(7), QStringLiteral("a.nrk:%1").arg(line + 1));
  }
  window->activateWindow();
  window->Schedule().setFocus();
  QTest::keyClick(&window->Schedule(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &pane.Lines());
}

TEST_F(DayPaneTest, RelatedFilesOpenOnlyAfterTheQuestion) {
  auto window = StartOnRelatedFiles();
  TDayPane& pane = window->DayPane();
  ASSERT_EQ(pane.Lines().count(), 1);
  EXPECT_TRUE(pane.Files().text().contains(QString::fromUtf8("none.txt</a> (見つかりません)")));
  const std::string folder = data_folder_.path().toStdString();
  struct Row {
    int index;
    bool answer;
    std::string question;  // empty: nothing is asked
    QString opened;        // empty: nothing is opened
  };
  const std::vector<Row> rows = {
      {0, false, "\"" + folder + "/memo.txt\" を開きますか？", {}},
      {0, true, "\"" + folder + "/memo.txt\" を開きますか？", data_folder_.filePath("memo.txt")},
      // A program is not run: its folder is shown.
      {1, true, "\"" + folder + "\" を開きますか？", data_folder_.path()},
      {2, true, "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.index);
    notices_.Clear();
    opened_.urls.clear();
    notices_.answers = {row.answer};
    pane.OpenRelatedFile(row.index);
    const std::vector<std::string> asked = notices_.Messages();
    EXPECT_EQ(asked, row.question.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{row.question});
    EXPECT_EQ(opened_.urls, row.opened.isEmpty()
                                ? std::vector<QUrl>{}
                                : std::vector<QUrl>{QUrl::fromLocalFile(row.opened)});
  }
  EXPECT_EQ(pane.Status().text().toStdString(), folder + "/none.txt が見つかりません。");
}

TEST_F(DayPaneTest, TheEditorGetsTheLineAndTheFile) {
  const QString log = data_folder_.filePath("args.txt");
  const QString editor = Write("editor.sh",
                               "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$PELO_LOG.part\" && "
                               "mv \"$PELO_LOG.part\" \"$PELO_LOG\"\n");
  QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner);
  qputenv("PELO_LOG", log.toLocal8Bit());
  // A variable holding a command with its own argument is split like a shell's words.
  qputenv("VISUAL", ("\"" + editor + "\" -n").toLocal8Bit());
  const QString data = Write("a.nrk", EncodeCp932("2027/2/3 一\n2027/2/3 二\n"));
  auto window = Start(data);
  TDayPane& pane = window->DayPane();
  pane.show();
  window->Schedule().JumpDate({2027, 2, 3});
  window->Schedule().SelectCursorLine(1);
  QTest::mouseClick(pane.findChild<QPushButton*>("dayPaneEditor"), Qt::LeftButton);
  for (int i = 0; i < 300 && !QFile::exists(log); ++i) QTest::qWait(10);
  qunsetenv("VISUAL");
  EXPECT_TRUE(pane.Status().text().isEmpty());
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLocal8Bit(file.readAll()), "-n\n+2\n" + data + "\n");
}

}  // namespace
}  // namespace pelo

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pelo::PrepareApplication(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "DayPanesTest.moc"
