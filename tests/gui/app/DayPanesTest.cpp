// The day pane in the main window: kept between runs, following the grid's line both ways, a
// line's note, related files opened only after the question, the source in the user's editor.

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
#include "StartedWindows.h"
#include "app/MainWindows.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

using test::RecordingNotices;

constexpr TDateRec kToday{2027, 2, 1};
const QString kSample = QStringLiteral(PELO_EXAMPLES_DIR "/sample.nrk");

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
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened_, "Open");
  }
  void TearDown() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  std::unique_ptr<TMainWindow> Start(const QString& file) {
    auto window = std::make_unique<TMainWindow>(QStringList{file}, kToday, notices_);
    EXPECT_TRUE(test::ShowAndStartUp(*window));
    return window;
  }

  QString Write(const char* name, const std::string& bytes) {
    const QString path = data_folder_.filePath(QString::fromLatin1(name));
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
  }

  // A data file (of text, or the sample), its day under the cursor and the pane open.
  std::unique_ptr<TMainWindow> StartOn(const char* text, TDateRec day) {
    auto window = Start(text ? Write("a.nrk", EncodeCp932(text)) : kSample);
    window->DayPane().show();
    window->Schedule().JumpDate(day);
    return window;
  }

  RecordingNotices notices_;
  UrlRecorder opened_;
  QTemporaryDir settings_folder_;
  QTemporaryDir data_folder_;
};

TEST_F(DayPaneTest, OffOnTheFirstRunThenF9AndItsStateIsKept) {
  {
    auto window = Start(kSample);
    EXPECT_FALSE(window->DayPane().isVisible());
    QTest::keyClick(&window->Schedule(), Qt::Key_F9);
    EXPECT_TRUE(window->DayPane().isVisible());
    EXPECT_TRUE(window->close());
  }
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
  EXPECT_EQ(settings.value("DayPane/Visible").toString(), "1");
  const int width = settings.value("DayPane/Width").toInt();
  EXPECT_GT(width, 0);
  auto window = Start(kSample);
  EXPECT_TRUE(window->DayPane().isVisible());
  EXPECT_EQ(window->DayPane().width(), width);
  QTest::keyClick(&window->Schedule(), Qt::Key_F9);
  EXPECT_FALSE(window->DayPane().isVisible());
}

TEST_F(DayPaneTest, ValentinesDayShowsItsNoteAndSource) {
  auto window = StartOn(nullptr, {2027, 2, 14});
  TDayPane& pane = window->DayPane();
  EXPECT_EQ(pane.Heading().text(), QString::fromUtf8("2027年2月14日(日) 平成39年\n第7週"));
  const auto found =
      pane.Lines().findItems(QString::fromUtf8("バレンタイン [メモ]"), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  pane.Lines().setCurrentItem(found.front());
  EXPECT_EQ(pane.Note().toPlainText(), QString::fromUtf8("チョコレートを買う\nついでに花も"));
  EXPECT_EQ(pane.Source().text(), QString::fromUtf8("sample.nrk:17\n2027/2/14 バレンタイン"));
  // The grid selected the same line.
  const TEntry* entry =
      window->Schedule().EntryList().Entry(window->Schedule().FocusedEntry().value_or(-1));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Text, "バレンタイン");
  QTest::mouseClick(pane.findChild<QPushButton*>("dayPaneCopy"), Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("バレンタイン"));
}

TEST_F(DayPaneTest, TheGridsSelectionAndTabReachThePane) {
  auto window = StartOn("2027/2/3 一\n2027/2/3 二\n2027/2/3 三\n", {2027, 2, 3});
  TDayPane& pane = window->DayPane();
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
  Write("memo.txt", "m");
  QFile::setPermissions(Write("run.sh", "#!/bin/sh\n"), QFile::ReadOwner | QFile::ExeOwner);
  auto window = StartOn("2027/2/3 会議 &x(memo.txt,run.sh,none.txt)\n", {2027, 2, 3});
  TDayPane& pane = window->DayPane();
  EXPECT_TRUE(pane.Files().text().contains(QString::fromUtf8("none.txt</a> (見つかりません)")));
  const std::string folder = data_folder_.path().toStdString();
  const std::string memo = folder + "/memo.txt";
  struct Row {
    int index;
    bool answer;
    std::vector<std::string> asked;
    std::vector<QUrl> opened;
  };
  const std::vector<std::string> ask_memo = {"\"" + memo + "\" を開きますか？"};
  const Row rows[] = {
      {0, false, ask_memo, {}},
      {0, true, ask_memo, {QUrl::fromLocalFile(QString::fromStdString(memo))}},
      // A program is not run: its folder is shown.
      {1, true, {"\"" + folder + "\" を開きますか？"}, {QUrl::fromLocalFile(data_folder_.path())}},
      {2, true, {}, {}},
  };
  for (const Row& row : rows) {
    notices_.Clear();
    opened_.urls.clear();
    notices_.answers = {row.answer};
    pane.OpenRelatedFile(row.index);
    EXPECT_EQ(notices_.Messages(), row.asked) << row.index;
    EXPECT_EQ(opened_.urls, row.opened) << row.index;
  }
  EXPECT_EQ(pane.Status().text().toStdString(), folder + "/none.txt が見つかりません。");
}

TEST_F(DayPaneTest, TheEditorGetsTheLineAndTheFile) {
  const QString log = data_folder_.filePath("args.txt");
  const std::string to = " '" + log.toStdString();  // written whole, then moved in place
  const QString editor = Write("editor.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" >" + to +
                                                ".part' && mv" + to + ".part'" + to + "'\n");
  QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner);
  // A variable holding a command with its own argument is split like a shell's words.
  qputenv("VISUAL", ("\"" + editor + "\" -n").toLocal8Bit());
  auto window = StartOn("2027/2/3 一\n2027/2/3 二\n", {2027, 2, 3});
  TDayPane& pane = window->DayPane();
  window->Schedule().SelectCursorLine(1);
  QTest::mouseClick(pane.findChild<QPushButton*>("dayPaneEditor"), Qt::LeftButton);
  for (int i = 0; i < 300 && !QFile::exists(log); ++i) QTest::qWait(10);
  qunsetenv("VISUAL");
  EXPECT_TRUE(pane.Status().text().isEmpty());
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLocal8Bit(file.readAll()),
            "-n\n+2\n" + data_folder_.filePath("a.nrk") + "\n");
}

}  // namespace
}  // namespace pelo

#include "DayPanesTest.moc"
