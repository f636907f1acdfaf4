// The main window's live files: a data file changed on the disk is read again after a quiet
// moment, without a key, in place of its entries only; what the user is told about it; F5; the
// page files of the command line.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordingNotices.h"
#include "StartedWindows.h"
#include "app/LiveFiles.h"
#include "app/MainWindows.h"
#include "text/Cp932.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

using test::RecordingNotices;
namespace fs = std::filesystem;

constexpr TDateRec kToday{2024, 5, 1};

class LiveFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_folder_.isValid());
    ASSERT_TRUE(data_folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
  }

  std::string Path(const char* name) const {
    return data_folder_.filePath(QString::fromLatin1(name)).toStdString();
  }

  // UTF-8 text written as CP932 bytes, in place (the file keeps its inode).
  std::string Write(const char* name, const std::string& text) const {
    std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
    out << EncodeCp932(text);
    return Path(name);
  }

  // A new file renamed over the old one, as editors save.
  void Replace(const char* name, const std::string& text) const {
    const std::string fresh = Path("fresh.tmp");
    std::ofstream(fresh, std::ios::binary | std::ios::trunc) << EncodeCp932(text);
    fs::rename(fresh, Path(name));
  }

  // The window on a.nrk (holding a), b.nrk and the page p.npg, started up.
  void Start(const std::string& a = "2024/5/1 a1\n") {
    Write("a.nrk", a);
    Write("b.nrk", "2024/5/1 b1\n");
    Write("p.npg", "[NerikaPage1]\nPageName=p\nScheduleTerm=5\n");
    const QStringList arguments{QString::fromStdString(Path("a.nrk")),
                                QString::fromStdString(Path("b.nrk")),
                                QString::fromStdString(Path("p.npg"))};
    window_ = std::make_unique<TMainWindow>(arguments, kToday, notices_);
    ASSERT_TRUE(test::ShowAndStartUp(*window_));
    notices_.Clear();
  }

  TSchedule& Schedule() const { return window_->Schedule(); }

  // The lines a day shows.
  std::vector<std::string> Shown(TDateRec date) const {
    std::vector<std::string> lines;
    const TCellLineList* list = Schedule().DayTable().Cell(date);
    for (int32_t i = 0; list != nullptr && i < list->Count(); ++i) lines.push_back(list->Text(i));
    return lines;
  }

  // Waits for the next reload; false when none came within two seconds.
  bool AwaitReload() const {
    QSignalSpy reloaded(&window_->LiveFiles(), &TLiveFiles::Reloaded);
    return reloaded.wait(2000);
  }

  QTemporaryDir settings_folder_;
  QTemporaryDir data_folder_;
  RecordingNotices notices_;
  std::unique_ptr<TMainWindow> window_;
};

using Lines = std::vector<std::string>;

// A change on the disk and what the window shows of a's and b's lines afterwards.
struct ChangeCase {
  const char* name;
  std::function<void()> change;
  Lines today;
};

TEST_F(LiveFilesTest, ChangesShowWithoutAKeyKeepingTheCursorAndTheOtherFile) {
  const ChangeCase cases[] = {
      {"written in place",
       [this] { Write("a.nrk", "2024/5/1 a1\n2024/5/1 a2\n"); },
       {"a1", "a2", "b1"}},
      {"renamed over", [this] { Replace("a.nrk", "2024/5/1 a3\n"); }, {"a3", "b1"}},
      {"several writes in a row",
       [this] {
         for (int i = 0; i < 5; ++i) {
           Write("a.nrk", "2024/5/1 a" + std::to_string(i) + "\n");
           QTest::qWait(20);
         }
       },
       {"a4", "b1"}},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    Schedule().JumpDate({2024, 5, 3});
    int32_t reads = 0;
    Schedule().EntryList().OnLoadFromFile = [&reads](TEntryList&, const std::string&) { ++reads; };
    QSignalSpy reloaded(&window_->LiveFiles(), &TLiveFiles::Reloaded);
    c.change();
    ASSERT_TRUE(reloaded.wait(2000));
    QTest::qWait(TLiveFiles::kQuietMs * 2);
    EXPECT_EQ(reloaded.count(), 1);  // quiet once, read once
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(Shown(kToday), c.today);
    EXPECT_EQ(Schedule().CursorDate(), (TDateRec{2024, 5, 3}));
    EXPECT_EQ(Schedule().Model().Term(), 5);
    EXPECT_TRUE(notices_.events.empty());
    // Still watched, renamed over or not: the next change shows too.
    Write("a.nrk", "2024/5/1 again\n");
    ASSERT_TRUE(AwaitReload());
    EXPECT_EQ(Shown(kToday), (Lines{"again", "b1"}));
  }
}

TEST_F(LiveFilesTest, ABusyFolderDoesNotHoldAChangeBack) {
  Start();
  QSignalSpy reloaded(&window_->LiveFiles(), &TLiveFiles::Reloaded);
  Write("a.nrk", "2024/5/1 a1\n2024/5/1 a2\n");
  // Another program makes files beside the data file more often than the quiet time.
  for (int i = 0; i < 12 && reloaded.count() == 0; ++i) {
    Write(("noise-" + std::to_string(i)).c_str(), "x");
    QTest::qWait(TLiveFiles::kQuietMs / 3);
  }
  EXPECT_EQ(reloaded.count(), 1);
  EXPECT_EQ(Shown(kToday), (Lines{"a1", "a2", "b1"}));
}

TEST_F(LiveFilesTest, EditsOfTheChangedFileGoWithANoteOnly) {
  Start();
  TEntryList& list = Schedule().EntryList();
  list.ToggleChecked(0);  // a1
  list.DeleteEntry(1);    // b1
  Schedule().RefreshData();
  ASSERT_EQ(Shown(kToday), (Lines{"a1"}));
  QSignalSpy notes(&window_->LiveFiles(), &TLiveFiles::Note);
  Write("a.nrk", "2024/5/1 a1\n2024/5/1 a2\n");
  ASSERT_TRUE(AwaitReload());
  EXPECT_FALSE(list.Entry(0)->IsChecked());
  EXPECT_EQ(Shown(kToday), (Lines{"a1", "a2"}));  // b1 stays deleted
  ASSERT_EQ(notes.count(), 1);
  const QString note = notes.front().front().toString();
  EXPECT_TRUE(note.startsWith("a.nrk ")) << note.toStdString();
  EXPECT_EQ(window_->findChild<QLabel*>("DatePanel")->toolTip(), note);
  EXPECT_TRUE(notices_.events.empty());  // no box
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(LiveFilesTest, OnlyNewBadLinesAreReported) {
  Start("1/1\n2024/5/1 a1\n");
  Write("a.nrk", "1/1\n2024/5/1 a1\n2024/5/1 Tom &Jerry\n");
  ASSERT_TRUE(AwaitReload());
  const auto reports = notices_.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].heading, "a.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(reports[0].lines, (Lines{"2024/5/1 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}));
}

TEST_F(LiveFilesTest, AVanishedFileKeepsItsLinesAndComesBack) {
  Start();
  fs::remove(Path("a.nrk"));
  QTest::qWait(TLiveFiles::kQuietMs * 3);
  EXPECT_EQ(Shown(kToday), (Lines{"a1", "b1"}));
  EXPECT_TRUE(notices_.events.empty());
  Write("a.nrk", "2024/5/1 back\n");
  ASSERT_TRUE(AwaitReload());
  EXPECT_EQ(Shown(kToday), (Lines{"back", "b1"}));
}

TEST_F(LiveFilesTest, AnUnreadableFileKeepsItsLinesWithOneReport) {
  Start();
  fs::remove(Path("a.nrk"));
  fs::create_directory(Path("a.nrk"));
  QTest::qWait(TLiveFiles::kQuietMs * 3);
  fs::create_directory(Path("a.nrk") + "/inside");  // changes again, still no file
  QTest::qWait(TLiveFiles::kQuietMs * 3);
  EXPECT_EQ(Shown(kToday), (Lines{"a1", "b1"}));
  EXPECT_EQ(notices_.Messages(), (Lines{Path("a.nrk") + " を開くことができません！"}));
  fs::remove_all(Path("a.nrk"));
  Write("a.nrk", "2024/5/1 good again\n");
  ASSERT_TRUE(AwaitReload());
  EXPECT_EQ(Shown(kToday), (Lines{"good again", "b1"}));
  EXPECT_EQ(window_->Schedule().EntryList().FileList().Count(), 2);
}

// F5 says what it did, in one note: nothing changed on the disk.
TEST_F(LiveFilesTest, F5ReadsEveryFileAgainDroppingEveryEdit) {
  const struct {
    const char* what;
    std::function<void(TEntryList&)> edit;
    const char* note;
  } cases[] = {
      {"deleted in memory",
       [](TEntryList& list) {
         list.DeleteEntry(0);
         list.DeleteEntry(1);
       },
       "すべてのファイルを読み直し、画面上での変更を破棄しました。"},
      {"ticked in memory", [](TEntryList& list) { list.ToggleChecked(1); },
       "すべてのファイルを読み直し、画面上での変更を破棄しました。"},
      {"no change", [](TEntryList&) {}, "すべてのファイルを読み直しました。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    c.edit(Schedule().EntryList());
    Schedule().RefreshData();
    QSignalSpy reloaded(&window_->LiveFiles(), &TLiveFiles::Reloaded);
    QSignalSpy notes(&window_->LiveFiles(), &TLiveFiles::Note);
    QTest::keyClick(window_.get(), Qt::Key_F5);
    EXPECT_EQ(reloaded.count(), 1);
    EXPECT_EQ(Shown(kToday), (Lines{"a1", "b1"}));
    EXPECT_FALSE(Schedule().EntryList().Entry(1)->IsChecked());
    ASSERT_EQ(notes.count(), 1);
    EXPECT_EQ(notes.front().front().toString().toStdString(), c.note);
    EXPECT_TRUE(notices_.events.empty());
  }
}

TEST_F(LiveFilesTest, PageFilesOfTheCommandLineAreAppliedAgain) {
  Start();
  ASSERT_EQ(Schedule().Model().Term(), 5);
  Schedule().JumpDate({2024, 6, 12});
  Replace("p.npg", "[NerikaPage1]\nPageName=p\nScheduleTerm=3\n");
  ASSERT_TRUE(AwaitReload());
  EXPECT_EQ(Schedule().Model().Term(), 3);
  EXPECT_EQ(Schedule().CursorDate(), (TDateRec{2024, 6, 12}));
  const QStringList watched = window_->LiveFiles().WatchedPaths();
  for (const char* name : {"a.nrk", "b.nrk", "p.npg"}) {
    EXPECT_TRUE(watched.contains(QString::fromStdString(Path(name)))) << name;
  }
}

}  // namespace
}  // namespace pelo
