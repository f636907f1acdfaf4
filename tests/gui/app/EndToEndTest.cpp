// The real pelo binary under a virtual X server: placement, the grid's pixels and SIGTERM;
// under openbox, driven by keys and clicks: sizes, dialogs, the files left behind, and data
// files changed under the running program. Skipped without Xvfb (or openbox and xdotool).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "RunProcess.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using pelo::test::FindProgram;
using std::chrono::milliseconds;

std::vector<char*> CStrings(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Asks done every step until it holds; false when it never did within the time.
template <typename Done>
bool Await(milliseconds timeout, Done done, milliseconds step = milliseconds(100)) {
  const auto deadline = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(step);
  }
  return true;
}

// A child process that never outlives the test: stopped (and reaped) on every path.
class Child {
 public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Stop(); }

  // argv[0] must be a path. Standard output and error go to log. fd3, when not -1, becomes
  // the child's descriptor 3.
  bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
             const std::string& log, int fd3 = -1) {
    // Everything the child needs is made before the fork: it only calls async-signal-safe
    // functions afterwards.
    std::vector<char*> args = CStrings(argv);
    std::vector<char*> vars = CStrings(env);
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
      const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      const int in = ::open("/dev/null", O_RDONLY);
      if (out >= 0) {
        ::dup2(out, 1);
        ::dup2(out, 2);
      }
      if (in >= 0) ::dup2(in, 0);
      if (fd3 >= 0) ::dup2(fd3, 3);
      ::setpgid(0, 0);
      ::execve(args[0], args.data(), vars.data());
      ::_exit(127);
    }
    pid_ = pid;
    return true;
  }

  // The wait status once the child has ended, nothing when it is still running at the end.
  std::optional<int> Wait(milliseconds timeout) {
    const auto ended = [this] {
      int status = 0;
      if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_)
        std::tie(pid_, status_) = std::pair(-1, status);
      return pid_ <= 0;
    };
    Await(timeout, ended, milliseconds(20));
    return status_;
  }

  void Signal(int number) const {
    if (pid_ > 0) ::kill(pid_, number);
  }

  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (Wait(milliseconds(3000))) return;
    ::kill(pid_, SIGKILL);
    Wait(milliseconds(3000));
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// "Absolute upper-left X:  20" and the like, from xwininfo.
std::optional<Geometry> ParseWindowInfo(const std::string& text) {
  auto field = [&text](const std::string& name) -> std::optional<int> {
    const std::size_t at = text.find(name);
    if (at == std::string::npos) return std::nullopt;
    return std::atoi(text.c_str() + at + name.size());
  };
  const auto left = field("Absolute upper-left X:");
  const auto top = field("Absolute upper-left Y:");
  const auto width = field("Width:");
  const auto height = field("Height:");
  if (!left || !top || !width || !height) return std::nullopt;
  if (text.find("IsViewable") == std::string::npos) return std::nullopt;
  return Geometry{*left, *top, *width, *height};
}

// 0x00BBGGRR, the way page files write colours.
QRgb FromBgr(uint32_t value) {
  return qRgb(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
              static_cast<int>((value >> 16) & 0xFF));
}

struct Box {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
  int count = 0;
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
    ++count;
  }
};

Box FindColor(const QImage& image, QRgb color) {
  Box box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) box.Add(x, y);
    }
  }
  return box;
}

// Text is drawn in black (and its anti-aliased edges); frames and grid lines are mid grey at
// their darkest.
bool IsInk(QRgb pixel) { return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 100; }

// Left edges of the runs of either colour along row y.
std::vector<int> RunStarts(const QImage& image, int y, QRgb color, QRgb other) {
  std::vector<int> starts;
  bool inside = false;
  for (int x = 0; x < image.width(); ++x) {
    const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
    const bool match = pixel == (color & 0xFFFFFF) || pixel == (other & 0xFFFFFF);
    if (match && !inside) starts.push_back(x);
    inside = match;
  }
  return starts;
}

// What the grid must show with the sample page (Cycle 7 in columns of weeks starting on
// Sunday, Term 5, the default colours), as far as a picture tells it.
struct GridCheck {
  std::vector<std::string> failures;
  void Expect(bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
  }
};

GridCheck CheckGrid(const QImage& window) {
  GridCheck check;
  // The day-number labels of ordinary days take the weekday title backgrounds.
  const QRgb sunday_label = FromBgr(13421823);    // colour 9: RGB(255, 204, 204)
  const QRgb saturday_label = FromBgr(16772795);  // colour 15: RGB(187, 238, 255)
  const QRgb sunday_cell = FromBgr(15658751);     // colour 17: RGB(255, 238, 238)
  const QRgb saturday_cell = FromBgr(16775918);   // colour 23: RGB(238, 250, 255)
  const QRgb holiday_label = FromBgr(13420799);   // colour 25: RGB(255, 200, 204)
  const QRgb today_cell = FromBgr(16772846);      // colour 27: RGB(238, 238, 255)
  const QRgb title_back = FromBgr(6710886);       // colour 1: RGB(102, 102, 102)

  const Box sunday = FindColor(window, sunday_label);
  const Box saturday = FindColor(window, saturday_label);
  const Box today = FindColor(window, today_cell);
  check.Expect(sunday.count >= 5 * 40, "Sunday labels: " + std::to_string(sunday.count));
  check.Expect(saturday.count >= 5 * 40, "Saturday labels: " + std::to_string(saturday.count));
  check.Expect(FindColor(window, sunday_cell).count >= 5 * 200, "Sunday cells");
  check.Expect(FindColor(window, saturday_cell).count >= 5 * 200, "Saturday cells");
  check.Expect(FindColor(window, title_back).count >= 200, "title row");
  check.Expect(today.count >= 400 && today.right - today.left >= 40,
               "today's cell: " + std::to_string(today.count) + " pixels");
  if (!check.failures.empty()) return check;

  // Weeks run down the columns: Sunday on top, Saturday at the bottom, six rows between.
  check.Expect(saturday.top > sunday.bottom, "Saturday below Sunday");
  const int pitch = (saturday.top - sunday.top) / 6;
  const int row_height = sunday.bottom - sunday.top + 1;
  // A Sunday that is a holiday has the holiday's label.
  const std::vector<int> columns =
      RunStarts(window, sunday.top + row_height / 2, sunday_label, holiday_label);
  check.Expect(columns.size() == 5, "week columns: " + std::to_string(columns.size()));
  if (!check.failures.empty() || pitch <= 0) return check;
  const int cell_width = columns[1] - columns[0];

  // Every Monday and Thursday holds "8:00 燃えるゴミ" and every Wednesday "19:00~20:30
  // 英会話教室", written from the label on: their text reaches well past the first third of the
  // cell, where no day-number label does.
  struct Row {
    int weekday;
    const char* name;
  };
  for (const Row row : {Row{1, "Monday"}, Row{3, "Wednesday"}, Row{4, "Thursday"}}) {
    const int top = sunday.top + row.weekday * pitch + 3;
    const int bottom = top + row_height - 6;
    for (std::size_t column = 0; column < columns.size(); ++column) {
      const int left = columns[column] + cell_width / 3;
      const int right = columns[column] + cell_width - 4;
      int ink = 0;
      for (int y = top; y <= bottom && y < window.height(); ++y) {
        for (int x = left; x <= right && x < window.width(); ++x) ink += IsInk(window.pixel(x, y));
      }
      check.Expect(ink >= 15, std::string(row.name) + " of week " + std::to_string(column + 1) +
                                  ": " + std::to_string(ink) + " text pixels");
    }
  }
  return check;
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    xvfb_ = FindProgram("Xvfb");
    if (xvfb_.empty()) GTEST_SKIP() << "Xvfb is not installed";
    xwininfo_ = FindProgram("xwininfo");
    import_ = FindProgram("import");
    ASSERT_FALSE(xwininfo_.empty()) << "xwininfo (x11-utils) is missing";
    ASSERT_FALSE(import_.empty()) << "import (imagemagick) is missing";

    char pattern[] = "/tmp/pelo-e2e-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
    fs::create_directories(home_ / "config");
    fs::create_directories(home_ / "runtime");
    fs::permissions(home_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  }

  void TearDown() override {
    pelo_.Stop();
    window_manager_.Stop();
    xvfb_process_.Stop();
    if (!home_.empty() && !HasFailure()) fs::remove_all(home_);
    if (HasFailure()) std::cerr << "kept for a look: " << home_ << "\n";
  }

  // Starts the server on a display it picks itself, which becomes display_.
  bool StartServer() {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const bool started = xvfb_process_.Start(
        {xvfb_, "-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
        {"PATH=/usr/bin:/bin"}, (home_ / "xvfb.log").string(), fds[1]);
    ::close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + milliseconds(15000);
    while (started && Clock::now() < deadline) {
      pollfd poll_fd{fds[0], POLLIN, 0};
      if (::poll(&poll_fd, 1, 200) <= 0) continue;
      char c;
      if (::read(fds[0], &c, 1) != 1) break;
      if (c == '\n') break;
      number += c;
    }
    ::close(fds[0]);
    display_ = ":" + number;
    return !number.empty();
  }

  std::vector<std::string> Environment() const {
    return {"DISPLAY=" + display_,
            "HOME=" + home_.string(),
            "XDG_CONFIG_HOME=" + (home_ / "config").string(),
            "XDG_RUNTIME_DIR=" + (home_ / "runtime").string(),
            "QT_QPA_PLATFORM=xcb",
            "LANG=C.UTF-8",
            "PATH=/usr/bin:/bin"};
  }

  fs::path SettingsFile() const { return home_ / "config" / "ZUKARA SOFT" / "Pelo.conf"; }

  QVariant Stored(const char* key) const {
    return QSettings(QString::fromStdString(SettingsFile().string()), QSettings::IniFormat)
        .value(QString("FormMain/") + key);
  }

  bool StartPelo(std::vector<std::string> argv) {
    argv.insert(argv.begin(), PELO_BINARY);
    return pelo_.Start(argv, Environment(), (home_ / "pelo.log").string());
  }

  // Runs a short command; its output, nothing when it failed or did not finish in time.
  std::optional<std::string> X(const std::vector<std::string>& argv) const {
    const std::string log = (home_ / "command.out").string();
    std::ofstream{log, std::ios::trunc};
    Child command;
    if (!command.Start(argv, Environment(), log)) return std::nullopt;
    const auto status = command.Wait(milliseconds(10000));
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return std::nullopt;
    std::ifstream in(log);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Window ids of the shown windows whose name or class matches, as xdotool lists them.
  std::vector<std::string> ShownWindows(const char* by, const std::string& pattern) const {
    std::vector<std::string> ids;
    std::istringstream lines(X({xdotool_, "search", "--onlyvisible", by, pattern}).value_or(""));
    for (std::string id; lines >> id;) ids.push_back(id);
    return ids;
  }

  // The first shown window of that name, once there is one; empty when none came.
  std::string AwaitWindow(const std::string& pattern) const {
    std::vector<std::string> ids;
    Await(milliseconds(20000), [&] { return !(ids = ShownWindows("--name", pattern)).empty(); });
    return ids.empty() ? std::string() : ids.front();
  }

  bool AwaitNoWindow(const std::string& pattern) const {
    return Await(milliseconds(10000), [&] { return ShownWindows("--name", pattern).empty(); });
  }

  // The title a window manager shows: _NET_WM_NAME.
  std::string Title(const std::string& id) const {
    const std::string text = X({xprop_, "-id", id, "_NET_WM_NAME"}).value_or("");
    const std::size_t open = text.find('"');
    return open == std::string::npos ? text : text.substr(open + 1, text.rfind('"') - open - 1);
  }

  std::optional<Geometry> WindowGeometry(const std::string& id) const {
    return ParseWindowInfo(X({xwininfo_, "-id", id}).value_or(""));
  }

  // Keys go to the window that has the focus: the one just opened, once it has it.
  void Keys(const std::string& id, const std::vector<std::string>& keys) const {
    X({xdotool_, "windowactivate", "--sync", id});
    std::vector<std::string> argv{xdotool_};
    argv.insert(argv.end(), keys.begin(), keys.end());
    X(argv);
  }

  // The server with openbox on it, ready for xdotool; skips the test without openbox or xdotool.
  void StartUnderWindowManager() {
    const std::string openbox = FindProgram("openbox");
    xdotool_ = FindProgram("xdotool");
    xprop_ = FindProgram("xprop");
    if (openbox.empty() || xdotool_.empty()) GTEST_SKIP() << "openbox or xdotool is not installed";
    ASSERT_FALSE(xprop_.empty()) << "xprop (x11-utils) is missing";
    ASSERT_TRUE(StartServer()) << "Xvfb did not start";
    ASSERT_TRUE(window_manager_.Start({openbox, "--sm-disable"}, Environment(),
                                      (home_ / "openbox.log").string()));
    ASSERT_TRUE(Await(milliseconds(15000), [&] {
      return X({xprop_, "-root", "_NET_SUPPORTING_WM_CHECK"}).value_or("").find("window id") !=
             std::string::npos;
    })) << "openbox did not start";
  }

  // A picture of a window as it is on the screen; a null image when none could be taken.
  QImage Shot(const std::string& id) const {
    const std::string shot = (home_ / "shot.png").string();
    if (!X({import_, "-window", id, shot})) return QImage();
    return QImage(QString::fromStdString(shot));
  }

  // Takes pictures of the window until seen holds for one; how long after since the first
  // picture that showed it was done, nothing when none did within the time.
  std::optional<milliseconds> AwaitPicture(const std::string& id, Clock::time_point since,
                                           const std::function<bool(const QImage&)>& seen) const {
    const auto deadline = since + milliseconds(10000);
    while (Clock::now() < deadline) {
      const QImage picture = Shot(id);
      // When the picture is done: the window showed it by then at the latest.
      const auto taken = Clock::now();
      if (!picture.isNull() && seen(picture)) {
        return std::chrono::duration_cast<milliseconds>(taken - since);
      }
    }
    return std::nullopt;
  }

  void EndPelo(milliseconds timeout = milliseconds(15000)) {
    pelo_.Signal(SIGTERM);
    const auto status = pelo_.Wait(timeout);
    ASSERT_TRUE(status.has_value()) << "pelo still runs " << timeout.count() << " ms after SIGTERM";
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
  }

  std::string xvfb_, xwininfo_, import_, xdotool_, xprop_;
  fs::path home_;
  std::string display_;
  Child xvfb_process_;
  Child window_manager_;
  Child pelo_;
};

TEST_F(EndToEndTest, SampleDataUnderAVirtualServer) {
  ASSERT_TRUE(StartServer()) << "Xvfb did not start";

  // A placement stored by an earlier run, without the maximised flag.
  fs::create_directories(SettingsFile().parent_path());
  std::ofstream(SettingsFile()) << "[FormMain]\nLeft=20\nTop=30\nWidth=900\nHeight=640\n";

  const std::string examples = std::string(PELO_SOURCE_DIR) + "/examples/";
  ASSERT_TRUE(StartPelo({examples + "sample.nrk", examples + "sample.npg"}));

  std::optional<Geometry> geometry;
  Await(milliseconds(20000), [&] {
    geometry = ParseWindowInfo(X({xwininfo_, "-name", "ぺろん - sample.nrk"}).value_or(""));
    return geometry || pelo_.Wait(milliseconds(0));
  });
  ASSERT_TRUE(geometry.has_value()) << "no window titled ぺろん - sample.nrk";
  EXPECT_EQ(std::tie(geometry->left, geometry->top, geometry->width, geometry->height),
            std::make_tuple(20, 30, 900, 640));

  // The grid may still be filling: look again until it shows everything or time is up.
  GridCheck check;
  Await(milliseconds(15000), [&] {
    const QImage screen = Shot("root");
    check = screen.isNull() ? GridCheck{{"no screenshot"}}
                            : CheckGrid(screen.copy(geometry->left, geometry->top, geometry->width,
                                                    geometry->height));
    return check.failures.empty();
  });
  for (const std::string& failure : check.failures) ADD_FAILURE() << failure;

  EndPelo();

  // Saved on the way out: the maximised flag is new, the bounds are the window's.
  for (const auto& [key, value] : {std::pair{"Maximized", "0"},
                                   {"Left", "20"},
                                   {"Top", "30"},
                                   {"Width", "900"},
                                   {"Height", "640"}}) {
    EXPECT_EQ(Stored(key).toString(), value) << key;
  }
}

// SIGTERM while the first of two load reports is up: the box goes, the start-up goes no
// further (no second report), the placement is saved and the program is gone within 2 s.
TEST_F(EndToEndTest, TermDuringAStartUpReportEndsTheProgram) {
  ASSERT_TRUE(StartServer()) << "Xvfb did not start";
  std::vector<std::string> files;
  for (const char* name : {"bad1.nrk", "bad2.nrk"}) {
    files.push_back((home_ / name).string());
    std::ofstream(files.back()) << "1/1\n";
  }
  ASSERT_TRUE(StartPelo(files));
  ASSERT_TRUE(
      Await(milliseconds(20000),
            [&] {
              return X({xwininfo_, "-name", "ねりかｴﾗｰ情報"}) || pelo_.Wait(milliseconds(0));
            }) &&
      !pelo_.Wait(milliseconds(0)))
      << "no load report";

  EndPelo(milliseconds(2000));
  for (const char* key : {"Maximized", "Left", "Top", "Width", "Height"}) {
    EXPECT_TRUE(Stored(key).isValid()) << key;
  }
}

TEST_F(EndToEndTest, FirstRunUnderAWindowManager) {
  StartUnderWindowManager();
  if (IsSkipped() || HasFatalFailure()) return;

  // Nothing stored yet; a data file with a line that does not parse besides the sample.
  const std::string examples = std::string(PELO_SOURCE_DIR) + "/examples/";
  const std::string bad = (home_ / "bad.nrk").string();
  std::ofstream(bad) << "1/1\n";
  ASSERT_TRUE(StartPelo({examples + "sample.nrk", examples + "sample.npg", bad}));

  // Window titles are exactly the captions, with nothing appended.
  const std::string report = AwaitWindow("ねりか");
  ASSERT_FALSE(report.empty()) << "no load report";
  EXPECT_EQ(Title(report), "ねりかｴﾗｰ情報");
  Keys(report, {"key", "Return"});
  ASSERT_TRUE(AwaitNoWindow("ねりか"));
  // The main window names its first file and the count of the others.
  const std::string main_window = AwaitWindow("^ぺろん - sample.nrk \\+1$");
  ASSERT_FALSE(main_window.empty()) << "no window titled ぺろん - sample.nrk +1";
  EXPECT_EQ(Title(main_window), "ぺろん - sample.nrk +1");

  // The first window takes two thirds of the 1280 x 800 screen.
  const std::optional<Geometry> first = WindowGeometry(main_window);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->width, 853);
  EXPECT_EQ(first->height, 533);

  // The date button, last in the toolbar.
  X({xdotool_, "mousemove", "--window", main_window, "302", "17", "click", "1"});
  const std::string date_dialog = AwaitWindow("年月日指定");
  ASSERT_FALSE(date_dialog.empty()) << "no date dialog";
  EXPECT_EQ(Title(date_dialog), "年月日指定");
  Keys(date_dialog, {"key", "Escape"});
  ASSERT_TRUE(AwaitNoWindow("年月日指定"));

  // The open button, first in the toolbar: a full path typed, then Return. The dialog goes
  // and takes its name completion with it: the main window is all that shows.
  X({xdotool_, "mousemove", "--window", main_window, "17", "17", "click", "1"});
  const std::string open_dialog = AwaitWindow("^開く$");
  ASSERT_FALSE(open_dialog.empty()) << "no open dialog";
  Keys(open_dialog, {"type", "--delay", "20", examples + "sample.nrk"});
  std::this_thread::sleep_for(milliseconds(500));
  Keys(open_dialog, {"key", "Return"});
  ASSERT_TRUE(AwaitNoWindow("^開く$"));
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(ShownWindows("--class", "^pelo$"), std::vector<std::string>{main_window});

  EndPelo();
  // The placement is all the program leaves.
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(home_ / "config")) {
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), home_ / "config"));
  }
  EXPECT_EQ(files, std::vector<std::string>{"ZUKARA SOFT/Pelo.conf"});

  // The next run opens exactly where this one closed, frame and all.
  ASSERT_TRUE(StartPelo({examples + "sample.nrk"}));
  const std::string again = AwaitWindow("^ぺろん - sample.nrk$");
  ASSERT_FALSE(again.empty()) << "no window in the second run";
  const std::optional<Geometry> second = WindowGeometry(again);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(std::tie(second->left, second->top, second->width, second->height),
            std::tie(first->left, first->top, first->width, first->height));
  EndPelo();
}

// Today as the program reads it, in the data files' form.
std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::to_string(local.tm_year + 1900) + "/" + std::to_string(local.tm_mon + 1) + "/" +
         std::to_string(local.tm_mday);
}

// A data file changed under a running pelo, by the test as an editor would: written in place,
// renamed over, turned into something unreadable, back again, and read again with F5 after an
// in-memory deletion. Each entry of today is drawn in a colour of its own, which the window
// either shows or not; nothing but F5 is typed to make it read a file.
TEST_F(EndToEndTest, LiveFilesUnderAWindowManager) {
  StartUnderWindowManager();
  if (IsSkipped() || HasFatalFailure()) return;
  fs::create_directories(SettingsFile().parent_path());
  std::ofstream(SettingsFile()) << "[FormMain]\nLeft=20\nTop=30\nWidth=900\nHeight=640\n";
  const std::string today = TodayText();
  const fs::path data = home_ / "live.nrk";
  // Written as the CP932 bytes of the text (ASCII and the code page's own kana only).
  std::ofstream(data, std::ios::binary) << today << " plain line\n";
  ASSERT_TRUE(StartPelo({data.string()}));
  const std::string main_window = AwaitWindow("^ぺろん - live.nrk$");
  ASSERT_FALSE(main_window.empty()) << "no window titled ぺろん - live.nrk";

  const QRgb green = qRgb(0, 255, 0);
  const QRgb magenta = qRgb(255, 0, 255);
  const auto shows = [](QRgb color) {
    return [color](const QImage& picture) { return FindColor(picture, color).count >= 10; };
  };
  const auto lacks = [](QRgb color) {
    return [color](const QImage& picture) { return FindColor(picture, color).count == 0; };
  };
  ASSERT_TRUE(AwaitPicture(main_window, Clock::now(), lacks(green)));

  // Written in place: the new line shows within a second.
  auto since = Clock::now();
  std::ofstream(data, std::ios::binary | std::ios::app)
      << today << " NEW &f(Sans,16,Bold,$00FF00)\n";
  auto seen = AwaitPicture(main_window, since, shows(green));
  ASSERT_TRUE(seen.has_value()) << "the new line never showed";
  EXPECT_LT(seen->count(), 1000) << "the new line showed after " << seen->count() << " ms";
  RecordProperty("written_in_place_ms", static_cast<int>(seen->count()));

  // A new file renamed over the old one, as editors save.
  since = Clock::now();
  std::ofstream(home_ / "live.tmp", std::ios::binary)
      << today << " RENAMED &f(Sans,16,Bold,$FF00FF)\n";
  fs::rename(home_ / "live.tmp", data);
  seen = AwaitPicture(main_window, since, [&](const QImage& picture) {
    return shows(magenta)(picture) && lacks(green)(picture);
  });
  ASSERT_TRUE(seen.has_value()) << "the renamed file never showed";
  EXPECT_LT(seen->count(), 1000) << "the renamed file showed after " << seen->count() << " ms";
  RecordProperty("renamed_over_ms", static_cast<int>(seen->count()));

  // Something that cannot be read: one box, and the last lines stay.
  fs::remove(data);
  fs::create_directory(data);
  // The boxes' caption is the program's name alone.
  const std::string box = AwaitWindow("^ぺろん$");
  ASSERT_EQ(ShownWindows("--name", "^ぺろん$"), std::vector<std::string>{box})
      << "no single message for the unreadable file";
  Keys(box, {"key", "Return"});
  std::ofstream(data / "inside") << "x";  // changes again, still unreadable: no second box
  std::this_thread::sleep_for(milliseconds(1000));
  EXPECT_EQ(ShownWindows("--name", "^ぺろん$"), std::vector<std::string>{});
  EXPECT_TRUE(AwaitPicture(main_window, Clock::now(), shows(magenta)));

  // Back with the bytes last read: nothing changes. The line deleted in memory (Alt+Delete,
  // answered with Return) comes back with F5.
  fs::remove_all(data);
  std::ofstream(data, std::ios::binary) << today << " RENAMED &f(Sans,16,Bold,$FF00FF)\n";
  std::this_thread::sleep_for(milliseconds(1000));
  Keys(main_window, {"key", "alt+Delete"});
  const std::string question = AwaitWindow("^ぺろん$");
  ASSERT_FALSE(question.empty()) << "no question for the deletion";
  Keys(question, {"key", "Return"});
  ASSERT_TRUE(AwaitPicture(main_window, Clock::now(), lacks(magenta))) << "the line stayed";
  since = Clock::now();
  Keys(main_window, {"key", "F5"});
  seen = AwaitPicture(main_window, since, shows(magenta));
  ASSERT_TRUE(seen.has_value()) << "F5 did not bring the line back";
  EXPECT_LT(seen->count(), 1000);
  RecordProperty("f5_ms", static_cast<int>(seen->count()));

  EndPelo();
}

}  // namespace
