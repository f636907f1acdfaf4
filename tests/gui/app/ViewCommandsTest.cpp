// The main window's commands on what it shows: the order of lines, the export of the grid and
// of the shown days' entries (read back by libical), printing and their dialogs.

#include "app/ViewCommands.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ModalSteps.h"
#include "RecordingNotices.h"
#include "RunProcess.h"
#include "StartedWindows.h"
#include "app/GridPictures.h"
#include "app/MainWindows.h"
#include "app/PlacementStores.h"
#include "datafiles/EntryLists.h"
#include "text/Cp932.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::WhenModal;

constexpr TDateRec kToday{2024, 6, 3};  // a Monday

// Two lines on 6/3 that file order shows the wrong way round, and one without a time.
constexpr const char* kData =
    "2024/6/3 14:00 午後の会議\r\n"
    "2024/6/3 終日の予定\r\n"
    "2024/6/3 9:00 朝礼\r\n"
    "2024/6/5 水曜の予定\r\n";

class ViewCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_folder_.isValid() && data_folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_folder_.path());
    data_ = Write("a.nrk", kData);
  }

  QString Write(const char* name, const std::string& text) {
    const QString path = data_folder_.filePath(QString::fromLatin1(name));
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << EncodeCp932(text);
    return path;
  }
  QString Path(const char* name) const { return data_folder_.filePath(QString::fromLatin1(name)); }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // The window as the program starts it, with the data file and maybe a page.
  std::unique_ptr<TMainWindow> Start(QStringList arguments) {
    arguments.prepend(data_);
    auto window = std::make_unique<TMainWindow>(arguments, kToday, notices_);
    EXPECT_TRUE(test::ShowAndStartUp(*window));
    return window;
  }

  // A view of document with the data file, on a window of its own without the main window's.
  TSchedule* BareSchedule(TMeasuredDocument& document, QWidget& window, QSize size) {
    auto* schedule = new TSchedule(document, &window);
    schedule->resize(size);
    document.Document.LoadFiles({data_.toStdString()});
    schedule->JumpToday();
    return schedule;
  }

  // The first line of today's cell.
  static std::string FirstLine(TMainWindow& window) {
    const TCellLineList* cell = window.Schedule().DayTable().Cell(kToday);
    return cell != nullptr && cell->Count() > 0 ? cell->Text(0) : std::string();
  }
  static QString Stored() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo")
        .value(QStringLiteral("Schedule/SortByTime"), QStringLiteral("none"))
        .toString();
  }

  RecordingNotices notices_;
  QTemporaryDir settings_folder_;
  QTemporaryDir data_folder_;
  QString data_;
};

TEST_F(ViewCommandsTest, OrderOfLines) {
  const struct {
    const char* name;
    const char* page_key;  // ScheduleSortByTime in the page, or none
    const char* stored;    // Schedule/SortByTime before the start, or none
    int toggles;           // Ctrl+T presses
    bool at_start;
    bool at_end;
    const char* stored_after;
  } cases[] = {
      {"file order by default", nullptr, nullptr, 0, false, false, "none"},
      {"the page asks for time order", "1", nullptr, 0, true, true, "none"},
      {"the user's choice wins over the page", "1", "0", 0, false, false, "0"},
      {"Ctrl+T turns it on and it is kept", nullptr, nullptr, 1, false, true, "1"},
      {"twice: back, and still the user's", "1", nullptr, 2, true, true, "1"},
      {"off against the page", "1", nullptr, 1, true, false, "0"},
  };
  for (const auto& c : cases) {
    {
      QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
      settings.clear();
      if (c.stored) settings.setValue("Schedule/SortByTime", QString::fromLatin1(c.stored));
    }
    QStringList arguments;
    if (c.page_key != nullptr) {
      arguments << Write(
          "p.npg",
          std::string("[NerikaPage1]\r\nPageName=P\r\nScheduleSortByTime=") + c.page_key + "\r\n");
    }
    SCOPED_TRACE(c.name);
    auto window = Start(arguments);
    auto* toggle = window->findChild<QAction*>(QStringLiteral("SortByTimeAction"));
    // The toolbar shows the same toggle.
    auto* button = window->findChild<QToolButton*>(QStringLiteral("SortByTimeButton"));
    auto* reload = window->findChild<QAction*>(QStringLiteral("ReloadAction"));
    ASSERT_TRUE(toggle && button && reload);
    const auto expect_order = [&](bool by_time) {
      EXPECT_EQ(window->Schedule().SortByTime(), by_time);
      EXPECT_EQ(toggle->isChecked(), by_time);
      EXPECT_EQ(button->isChecked(), by_time);
      EXPECT_EQ(FirstLine(*window), by_time ? " 9:00 朝礼" : "14:00 午後の会議");
    };
    expect_order(c.at_start);
    for (int i = 0; i < c.toggles; ++i)
      QTest::keyClick(&window->Schedule(), Qt::Key_T, Qt::ControlModifier);
    expect_order(c.at_end);
    // F5 applies the pages again: the choice made in this run still wins over them.
    reload->trigger();
    expect_order(c.at_end);
    // The double-click zoom and its way back keep the order.
    window->Schedule().SetCycle(1);
    window->Schedule().ApplySettings(window->Schedule().GetSettings());
    EXPECT_EQ(window->Schedule().SortByTime(), c.at_end);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Stored(), QString::fromLatin1(c.stored_after));
  }
}

TEST_F(ViewCommandsTest, ExportsTheGridAndTheShownDays) {
  // The commands of a bare schedule, on a window of its own.
  TMeasuredDocument document(notices_, kToday);
  QWidget window;
  TSchedule* schedule = BareSchedule(document, window, {700, 400});
  TPlacementStore store;
  TViewCommands commands(window, *schedule, notices_, store, {});

  // The grid under its heading.
  ASSERT_TRUE(commands.ExportTo(Path("grid.png")));
  EXPECT_EQ(QImage(Path("grid.png")).size(), QSize(700, 400 + kHeadingHeight));
  ASSERT_TRUE(commands.ExportTo(Path("grid.PDF")));
  EXPECT_TRUE(Bytes(Path("grid.PDF")).startsWith("%PDF-"));

  // The shown days' lines as iCalendar, read back by libical: one event per line.
  ASSERT_TRUE(commands.ExportTo(Path("days.ics")));
  icalcomponent* calendar = icalparser_parse_string(Bytes(Path("days.ics")).constData());
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
  std::multiset<std::string> events;
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
       event != nullptr;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    const icaltimetype start = icalcomponent_get_dtstart(event);
    events.insert(std::string(icaltime_as_ical_string(start)) + " " +
                  icalcomponent_get_summary(event));
  }
  icalcomponent_free(calendar);
  EXPECT_EQ(events, (std::multiset<std::string>{"20240603T140000 午後の会議", "20240603 終日の予定",
                                                "20240603T090000 朝礼", "20240605 水曜の予定"}));

  // A file that cannot be written is a warning, and nothing else.
  notices_.Clear();
  EXPECT_FALSE(commands.ExportTo(QStringLiteral("/nonexistent-folder/x.ics")));
  EXPECT_FALSE(commands.ExportTo(QStringLiteral("/nonexistent-folder/x.png")));
  EXPECT_EQ(notices_.Messages(),
            (std::vector<std::string>{"/nonexistent-folder/x.ics に書き込めませんでした。",
                                      "/nonexistent-folder/x.png に書き込めませんでした。"}));
}

// Nothing is written onto a file the window reads: those of its command line, those the open
// dialog chose, its settings; the files stay as they were, also when the window closes.
TEST_F(ViewCommandsTest, RefusesFilesTheWindowReads) {
  namespace fs = std::filesystem;
  const QString page = Write("p.npg", "[NerikaPage1]\r\n");
  const QString chosen = Write("chosen.nrk", kData);
  auto window = Start({page});
  window->Schedule().EntryList().LoadFromFile(chosen.toStdString());
  TPlacementStore store;
  TViewCommands commands(*window, window->Schedule(), notices_, store, {data_, page});
  fs::create_directories(fs::path(store.FilePath()).parent_path());
  std::ofstream(store.FilePath()) << "[FormMain]\n";
  fs::create_symlink(store.FilePath(), Path("conf.ics").toStdString());
  fs::create_hard_link(chosen.toStdString(), Path("chosen.png").toStdString());
  std::vector<QByteArray> before;
  for (const QString& input : {data_, page, chosen}) before.push_back(Bytes(input));
  const struct {
    QString path;
    bool written;
  } cases[] = {{data_, false},
               {page, false},
               {Path("conf.ics"), false},
               {Path("chosen.png"), false},
               {Path("fresh.ics"), true}};
  for (const auto& c : cases) {
    notices_.Clear();
    EXPECT_EQ(commands.ExportTo(c.path), c.written) << c.path.toStdString();
    const std::vector<std::string> refusal = {c.path.toStdString() +
                                              "は読み込んでいるファイルなので書き込めません。"};
    EXPECT_EQ(notices_.Messages(), c.written ? std::vector<std::string>{} : refusal);
  }
  // Nor is the placement saved through settings that lead to a data file.
  fs::remove(store.FilePath());
  fs::create_symlink(chosen.toStdString(), store.FilePath());
  EXPECT_TRUE(window->close());
  std::vector<QByteArray> after;
  for (const QString& input : {data_, page, chosen}) after.push_back(Bytes(input));
  EXPECT_EQ(after, before);
}

TEST_F(ViewCommandsTest, PrintsLandscapeForAWideGrid) {
  const struct {
    QSize size;
    QPageLayout::Orientation orientation;
  } cases[] = {
      {{900, 600}, QPageLayout::Landscape},
      {{600, 900}, QPageLayout::Portrait},
      {{600, 600}, QPageLayout::Portrait},
  };
  for (const auto& c : cases) EXPECT_EQ(OrientationFor(c.size), c.orientation) << c.size.width();

  auto window = Start({});
  window->resize(900, 500);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(Path("printed.pdf"));
  printer.setPageOrientation(OrientationFor(window->Schedule().size()));
  ASSERT_TRUE(PrintPicture(window->Schedule(), {}, printer));
  EXPECT_GT(QFile(Path("printed.pdf")).size(), 1000);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  QPrinter nowhere;
  nowhere.setOutputFormat(QPrinter::PdfFormat);
  nowhere.setOutputFileName(QStringLiteral("/nonexistent-folder/printed.pdf"));
  EXPECT_FALSE(PrintPicture(window->Schedule(), {}, nowhere));
}

// What a PDF reader finds in a print: the entries and the heading as text, not an image,
// whether the printer paints the page itself or the print goes to a PDF file.
TEST_F(ViewCommandsTest, PrintsTextAndTheHeading) {
  const std::string pdftotext = test::FindProgram("pdftotext");
  if (pdftotext.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  TMeasuredDocument document(notices_, kToday);
  QWidget window;
  TSchedule* schedule = BareSchedule(document, window, {900, 500});
  const QString page = Write("monthly.npg", "[NerikaPage1]\r\n");
  TPlacementStore store;
  TViewCommands commands(window, *schedule, notices_, store, {page});
  const std::string span = ShownSpanText(schedule->TopDate(), schedule->EndDate(), std::nullopt);
  for (const bool to_file : {true, false}) {
    const QString pdf = Path(to_file ? "to-file.pdf" : "painted.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    if (to_file) {
      ASSERT_TRUE(commands.PrintTo(printer));
    } else {
      ASSERT_TRUE(
          PrintPicture(*schedule, ScheduleHeading(*schedule, QStringLiteral("monthly")), printer));
    }
    const test::ProcessResult text = test::RunProcess(pdftotext, {pdf.toStdString(), "-"});
    ASSERT_EQ(text.exit_code, 0) << text.err;
    // The font draws ～ and 〜 with one glyph, which reads back as the latter.
    const QString read = QString::fromStdString(text.out).replace(QChar(0x301C), QChar(0xFF5E));
    for (const std::string& expected :
         {std::string("午後の会議"), std::string("水曜の予定"), span, std::string("monthly")}) {
      EXPECT_TRUE(read.contains(QString::fromStdString(expected))) << expected << "\n" << text.out;
    }
  }
  EXPECT_TRUE(notices_.Messages().empty());
}

TEST_F(ViewCommandsTest, HeadingNamesTheShownSpan) {
  const struct {
    TDateRec top;
    TDateRec end;
    std::optional<TDateRec> month_of;
    const char* expected;
  } cases[] = {
      {{2026, 12, 7}, {2027, 1, 10}, std::nullopt, "2026年12月7日～2027年1月10日"},
      {{2026, 12, 1}, {2026, 12, 31}, std::nullopt, "2026年12月"},
      {{2024, 2, 1}, {2024, 2, 28}, std::nullopt, "2024年2月1日～2024年2月28日"},
      {{2026, 11, 30}, {2027, 1, 3}, TDateRec{2026, 12, 24}, "2026年12月"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShownSpanText(c.top, c.end, c.month_of), c.expected) << c.expected;
  }
}

TEST_F(ViewCommandsTest, CtrlPAndCtrlEOpenTheirDialogs) {
  auto window = Start({});
  window->resize(900, 500);
  QApplication::setActiveWindow(window.get());
  WhenModal([](QWidget& modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    dialog->reject();
  });
  QTest::keyClick(&window->Schedule(), Qt::Key_P, Qt::ControlModifier);

  // The export dialog says why it may not take a file the window reads and stays open for
  // another name; one without a suffix takes the chosen filter's.
  const QString folder = data_folder_.path();
  bool stayed = false;
  WhenModal([&](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "ExportDialog");
    dialog->setDirectory(folder);
    dialog->selectFile(QStringLiteral("a.nrk"));
    static_cast<QDialog*>(dialog)->accept();
    stayed = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
    dialog->selectNameFilter(QString::fromUtf8(kExportFilters[1]));
    emit dialog->filterSelected(QString::fromUtf8(kExportFilters[1]));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("month"));
    static_cast<QDialog*>(dialog)->accept();
  });
  // The print dialog took the focus with it.
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(&window->Schedule(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(notices_.Messages(),
            std::vector<std::string>{data_.toStdString() +
                                     "は読み込んでいるファイルなので書き込めません。"});
  EXPECT_TRUE(QFile::exists(Path("month.pdf")));
}

}  // namespace
}  // namespace pelo
