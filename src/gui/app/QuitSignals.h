#pragma once

// SIGTERM and SIGINT, turned into a Qt signal on the user-interface thread: the handler only
// writes the signal's number into a pipe, and a socket notifier on the other end of the pipe
// reports it from the event loop, where closing the window is safe (and saves its placement).
// A program that asks for it ends at once on the second signal: the first one is being
// handled, and something keeps it from ending (a user who signals again means it).

#include <QObject>
#include <csignal>
#include <memory>

class QSocketNotifier;

namespace pelo {

// What a signal after the first one does.
enum class TLaterSignals {
  kReport,  // reported like the first
  kExit,    // ends the process at once (_exit with 128 + the signal's number)
};

class TQuitSignals : public QObject {
  Q_OBJECT

 public:
  // Catches SIGTERM and SIGINT from now on. Only one instance may exist at a time; a second
  // one, or one whose pipe could not be made, catches nothing (Active() is false).
  explicit TQuitSignals(TLaterSignals later = TLaterSignals::kReport, QObject* parent = nullptr);
  // The handlers that were there before come back.
  ~TQuitSignals() override;
  TQuitSignals(const TQuitSignals&) = delete;
  TQuitSignals& operator=(const TQuitSignals&) = delete;

  bool Active() const noexcept { return active_; }

 signals:
  void Received(int signal_number);

 private:
  void ReadPipe();

  bool active_ = false;
  int read_fd_ = -1;
  int write_fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction old_term_ {};
  struct sigaction old_int_ {};
};

}  // namespace pelo
