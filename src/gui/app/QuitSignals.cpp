#include "app/QuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace pelo {

namespace {

// The write end of the pipe of the one active instance, -1 when none is active. A signal
// handler may only touch lock-free atomics.
std::atomic<int> g_write_fd{-1};
static_assert(std::atomic<int>::is_always_lock_free);
// Signals caught since the active instance was made, and whether a later one ends the process.
std::atomic<int> g_caught{0};
std::atomic<bool> g_exit_on_later{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnQuitSignal(int signal_number) {
  // _exit is safe in a handler: nothing is flushed or destroyed.
  if (g_caught.fetch_add(1) > 0 && g_exit_on_later.load()) ::_exit(128 + signal_number);
  const int saved_errno = errno;
  const int fd = g_write_fd.load();
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(signal_number);
    // A full pipe already holds a request to quit; losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = saved_errno;
}

}  // namespace

TQuitSignals::TQuitSignals(TLaterSignals later, QObject* parent) : QObject(parent) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  int expected = -1;
  if (!g_write_fd.compare_exchange_strong(expected, fds[1])) {
    ::close(fds[0]);
    ::close(fds[1]);
    return;
  }
  read_fd_ = fds[0];
  write_fd_ = fds[1];
  g_caught.store(0);
  g_exit_on_later.store(later == TLaterSignals::kExit);
  notifier_ = std::make_unique<QSocketNotifier>(read_fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TQuitSignals::ReadPipe);

  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &old_term_);
  ::sigaction(SIGINT, &action, &old_int_);
  active_ = true;
}

TQuitSignals::~TQuitSignals() {
  if (!active_) return;
  ::sigaction(SIGTERM, &old_term_, nullptr);
  ::sigaction(SIGINT, &old_int_, nullptr);
  g_write_fd.store(-1);
  g_exit_on_later.store(false);
  notifier_.reset();  // before its descriptor goes
  ::close(read_fd_);
  ::close(write_fd_);
}

void TQuitSignals::ReadPipe() {
  unsigned char bytes[16];
  ssize_t count;
  while ((count = ::read(read_fd_, bytes, sizeof bytes)) > 0) {
    for (ssize_t i = 0; i < count; ++i) emit Received(bytes[i]);
  }
}

}  // namespace pelo
