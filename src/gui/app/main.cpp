// pelo: the viewer. Data files (.nrk, .dat) and page files (.npg) are named on the command
// line; the window shows the schedule until it is closed, or until SIGTERM or SIGINT closes
// it the same way (the placement is saved either way; a second signal ends it at once). With
// --export it writes the grid's picture instead, without a window.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/HeadlessExports.h"
#include "app/MainWindows.h"
#include "app/QtSetup.h"
#include "app/QuitSignals.h"
#include "calendar/Calendars.h"
#include "widgets/ScheduleAccessibility.h"
#include "widgets/Schedules.h"

namespace {

// A box still open runs an event loop of its own; it goes first, or the window's close would
// wait behind it. A box that refuses to close stays, and the loop gives up on it. Then every
// event loop ends, and any box the start-up would still open returns at once.
void CloseForQuit(QWidget& window) {
  for (int tries = 0; tries < 32; ++tries) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) break;
    modal->close();
  }
  window.close();
  QCoreApplication::exit(0);
}

// For measuring the start-up (only when PELO_STARTUP_TIMING is set): the first paint of the
// schedule after the start-up sequence, written to standard error once it is done, with the
// wall-clock time so that a script can count from the moment it started the program.
class TFirstPaintWatch : public QObject {
 public:
  TFirstPaintWatch(QWidget& target, const QElapsedTimer& since_main)
      : target_(target), since_main_(since_main) {}

  void Arm() { target_.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &target_ && event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      target_.removeEventFilter(this);
      // The paint itself runs after this filter; a zero timer fires once it is on screen.
      QTimer::singleShot(0, this, [this] { Report(); });
    }
    return false;
  }

 private:
  void Report() const {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long epoch_ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    std::fprintf(stderr, "pelo: grid painted %lld ms after main, at epoch ms %lld\n",
                 static_cast<long long>(since_main_.elapsed()), epoch_ms);
    std::fflush(stderr);
  }

  QWidget& target_;
  const QElapsedTimer& since_main_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  // A picture for a script, without a window: decided before Qt picks its platform.
  if (pelo::AsksForExport(std::vector<std::string>(argv + 1, argv + argc))) {
    return pelo::RunHeadlessExport(argc, argv);
  }
  QElapsedTimer since_main;
  since_main.start();
  const pelo::TRuntimeFolder runtime_folder;
  QApplication app(argc, argv);
  // Caught as soon as there is an event loop to report them to, so that a signal arriving
  // while the window is being made still closes it normally; a second one ends it at once.
  pelo::TQuitSignals quit_signals(pelo::TLaterSignals::kExit);
  pelo::PrepareApplication(app);
  pelo::InstallScheduleAccessibility();
  QStringList arguments = QApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  // Today comes from the clock, and moves on with it while the window is open.
  const pelo::TSystemClock clock;
  pelo::TMainWindow window(arguments, clock.Today());
  window.FollowClock(clock);
  QObject::connect(&quit_signals, &pelo::TQuitSignals::Received, &window,
                   [&window] { CloseForQuit(window); });

  TFirstPaintWatch paint_watch(window.Schedule(), since_main);
  if (std::getenv("PELO_STARTUP_TIMING") != nullptr) {
    QObject::connect(&window, &pelo::TMainWindow::StartUpFinished, &paint_watch,
                     [&paint_watch] { paint_watch.Arm(); });
  }

  window.show();
  return QApplication::exec();
}
