// The window placement store, against a settings folder of its own: first run, window states,
// absurd or unseen placements, fixed sizes, and settings files that are not read.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/PlacementStores.h"

namespace pelo {
namespace {

using Values = std::map<std::string, std::string>;

const Values kNormal = {{"Left", "10"}, {"Top", "20"}, {"Width", "300"}, {"Height", "200"}};

Values With(Values values, const char* maximized) {
  values["Maximized"] = maximized;
  return values;
}

class PlacementStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
    Place(window);
  }

  // The main window before its placement is restored.
  static void Place(QWidget& window) {
    window.setObjectName("FormMain");
    window.move(287, 121);
    window.resize(484, 308);
  }

  // What another program would find stored, read without TPlacementStore.
  Values Stored(const char* group = "FormMain") const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
    settings.beginGroup(group);
    Values values;
    for (const QString& key : settings.childKeys()) {
      values[key.toStdString()] = settings.value(key).toString().toStdString();
    }
    return values;
  }

  void Store(const Values& values, const char* group = "FormMain") {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZUKARA SOFT", "Pelo");
    settings.beginGroup(group);
    for (const auto& [key, value] : values) {
      settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
    }
  }

  QString SettingsFile() const { return folder_.path() + "/ZUKARA SOFT/Pelo.conf"; }

  QTemporaryDir folder_;
  QWidget window;
};

TEST_F(PlacementStoreTest, FirstRunTakesTwoThirdsOfTheScreenAndSavesAllFiveValues) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QRect expected(0, 0, area.width() * 2 / 3, area.height() * 2 / 3);
  expected.moveCenter(area.center());
  ASSERT_GT(expected.width(), 484);
  TPlacementStore store;
  store.Restore(&window);
  EXPECT_EQ(QRect(window.pos(), window.size()), expected);
  EXPECT_FALSE(window.isMaximized());
  EXPECT_TRUE(Stored().empty());

  store.Save(&window);
  EXPECT_EQ(Stored(), (Values{{"Left", std::to_string(expected.left())},
                              {"Top", std::to_string(expected.top())},
                              {"Width", std::to_string(expected.width())},
                              {"Height", std::to_string(expected.height())},
                              {"Maximized", "0"}}));
  // Written at once, as strings under the window's group.
  QFile file(SettingsFile());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains("[FormMain]"));
  EXPECT_TRUE(text.contains(QStringLiteral("Width=%1").arg(expected.width())));
}

TEST_F(PlacementStoreTest, SaveOfAShownWindowAndRestoreInTheNextRun) {
  {
    TPlacementStore store;
    window.move(100, 50);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    store.Save(&window);
  }
  EXPECT_EQ(Stored(),
            With({{"Left", "100"}, {"Top", "50"}, {"Width", "400"}, {"Height", "300"}}, "0"));
  QWidget next;
  Place(next);
  TPlacementStore store;
  store.Restore(&next);
  EXPECT_EQ(next.pos(), QPoint(100, 50));
  EXPECT_EQ(next.size(), QSize(400, 300));
  // Restoring and saving again stores the same numbers.
  next.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
  store.Save(&next);
  EXPECT_EQ(Stored()["Left"], "100");
  EXPECT_EQ(Stored()["Width"], "400");
}

TEST_F(PlacementStoreTest, MaximisedOrMinimisedKeepsTheEarlierNormalBounds) {
  Store(With(kNormal, "0"));
  TPlacementStore store;
  window.showMaximized();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  store.Save(&window);
  EXPECT_EQ(Stored(), With(kNormal, "1"));

  // The next start opens maximised and reads nothing else.
  QWidget next;
  Place(next);
  store.Restore(&next);
  EXPECT_TRUE(next.windowState().testFlag(Qt::WindowMaximized));
  EXPECT_EQ(next.pos(), QPoint(287, 121));
  EXPECT_EQ(next.size(), QSize(484, 308));
  // Minimised, it stores only that it is not maximised.
  next.setWindowState(Qt::WindowMinimized);
  store.Save(&next);
  EXPECT_EQ(Stored(), With(kNormal, "0"));
}

TEST_F(PlacementStoreTest, AFixedSizeWindowStoresNoSize) {
  QWidget dialog;
  dialog.setObjectName("DateJumpForm");
  dialog.move(40, 30);
  dialog.setFixedSize(394, 119);
  TPlacementStore store;
  store.Save(&dialog);
  EXPECT_EQ(Stored("DateJumpForm"), (Values{{"Left", "40"}, {"Top", "30"}, {"Maximized", "0"}}));
  EXPECT_TRUE(Stored("FormMain").empty());
  // The group is the window's object name.
  window.setObjectName("FormOther");
  store.Save(&window);
  EXPECT_TRUE(Stored("FormMain").empty());
  EXPECT_EQ(Stored("FormOther").size(), 5u);
}

TEST_F(PlacementStoreTest, AbsurdValuesGiveAWindowOnTheScreenAndAreNotSavedBack) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const std::string max = "2147483647";
  const std::string min = "-2147483648";
  // What is stored, and the size kept (none: any that fits).
  const std::vector<std::pair<Values, QSize>> cases = {
      {{{"Left", max}, {"Top", max}, {"Width", max}, {"Height", max}}, {}},
      {{{"Left", min}, {"Top", min}, {"Width", min}, {"Height", min}}, {}},
      {{{"Left", "10"}, {"Top", "20"}, {"Width", "100000"}, {"Height", "100000"}}, {}},
      {{{"Left", max}, {"Width", max}}, {}},
      {{{"Top", min}, {"Height", max}}, {}},
      {{{"Left", "99999999999"}, {"Width", "abc"}, {"Height", "12.5"}}, {}},
      // Off every screen: back into view.
      {{{"Left", "-20000"}, {"Top", "-20000"}, {"Width", "400"}, {"Height", "300"}}, {400, 300}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& [stored, kept] = cases[i];
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    Store(stored);
    QWidget next;
    Place(next);
    TPlacementStore store;
    store.Restore(&next);
    const QRect placed(next.pos(), next.size());
    EXPECT_TRUE(area.contains(placed))
        << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
    EXPECT_TRUE(!kept.isValid() || placed.size() == kept);
    store.Save(&next);
    for (const char* size : {"Width", "Height"}) {
      const int32_t saved = std::stoi(Stored()[size]);
      EXPECT_GT(saved, 0) << size;
      EXPECT_LE(saved, std::string(size) == "Width" ? area.width() : area.height()) << size;
    }
  }
}

TEST_F(PlacementStoreTest, IntegerAndFlagReading) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"123", 123}, {"-7", -7},    {"+8", 8},           {"abc", 99},
      {"", 99},     {"12abc", 99}, {"99999999999", 99}, {" 5", 99},
  };
  TPlacementStore store;
  for (const auto& [text, expected] : cases) {
    store.WriteString("Test", "Value", text);
    EXPECT_EQ(store.ReadInteger("Test", "Value", 99), expected) << text;
  }
  EXPECT_EQ(store.ReadInteger("Test", "Missing", 42), 42);
  EXPECT_EQ(store.ReadString("Test", "Missing", "none"), "none");
  store.WriteInteger("Test", "Value", -15);
  EXPECT_EQ(store.ReadString("Test", "Value", ""), "-15");
  const std::vector<std::pair<std::string, bool>> flags = {
      {"1", true}, {"0", false}, {"2", true}, {"-1", true}, {"yes", false}};
  for (const auto& [text, expected] : flags) {
    store.WriteString("Test", "Flag", text);
    EXPECT_EQ(store.ReadBool("Test", "Flag", false), expected) << text;
  }
  EXPECT_TRUE(store.ReadBool("Test", "Flag", true));  // "yes" is no number: the default
}

// The file is looked at before QSettings reads it (a FIFO would block the start for good):
// what is not read leaves the defaults and one line on standard error, and the save puts a
// file of the store's own where it may do so safely.
TEST_F(PlacementStoreTest, ASettingsFileThatIsNoSmallRegularFileIsNotRead) {
  namespace fs = std::filesystem;
  const fs::path path = SettingsFile().toStdString();
  const std::string stored = "[FormMain]\nLeft=5\nTop=6\nWidth=300\nHeight=200\n";
  const auto padded = [&stored](std::uintmax_t size) {
    return stored + "; " + std::string(size - stored.size() - 3, 'x') + "\n";
  };
  const struct {
    const char* kind;
    std::function<void()> make;
    bool read;
    bool restored;        // the stored placement (5, 6) came back
    fs::file_type after;  // what stands at the path after a save
  } cases[] = {
      {"nothing", [] {}, true, false, fs::file_type::regular},
      {"small", [&] { std::ofstream(path) << stored; }, true, true, fs::file_type::regular},
      {"1 MiB", [&] { std::ofstream(path) << padded(kMaxSettingsFileSize); }, true, true,
       fs::file_type::regular},
      {"larger", [&] { std::ofstream(path) << padded(kMaxSettingsFileSize + 1); }, false, false,
       fs::file_type::regular},
      {"fifo", [&] { ::mkfifo(path.c_str(), 0600); }, false, false, fs::file_type::regular},
      {"folder", [&] { fs::create_directory(path); }, false, false, fs::file_type::directory},
      {"link to a device", [&] { fs::create_symlink("/dev/null", path); }, false, false,
       fs::file_type::symlink},
  };
  for (const auto& c : cases) {
    fs::remove_all(path.parent_path());
    fs::create_directories(path.parent_path());
    c.make();
    std::ostringstream err;
    std::streambuf* const saved = std::cerr.rdbuf(err.rdbuf());
    {
      TPlacementStore store;
      EXPECT_EQ(store.FilePath(), path.string()) << c.kind;
      EXPECT_EQ(store.ReadStored(), c.read) << c.kind;
      QWidget window;
      Place(window);
      store.Restore(&window);
      EXPECT_EQ(window.pos() == QPoint(5, 6), c.restored) << c.kind;
      window.move(40, 50);
      store.Save(&window);
    }
    std::cerr.rdbuf(saved);
    const std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.read ? 0 : 1) << c.kind << ": " << said;
    EXPECT_EQ(fs::symlink_status(path).type(), c.after) << c.kind;
    if (c.after == fs::file_type::regular) {
      EXPECT_EQ(Stored()["Left"], "40") << c.kind;
    }
  }
}

}  // namespace
}  // namespace pelo
