// SIGTERM and SIGINT reported on the event loop: each signal once, in order, never from inside
// the handler; one active instance at a time; the earlier handlers back afterwards; a second
// signal ends the process at once where that was asked for.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <csignal>
#include <vector>

#include "app/QuitSignals.h"

namespace pelo {
namespace {

volatile std::sig_atomic_t g_earlier_handler_calls = 0;
extern "C" void EarlierHandler(int) { g_earlier_handler_calls = g_earlier_handler_calls + 1; }

std::vector<int> Numbers(const QSignalSpy& spy) {
  std::vector<int> numbers;
  for (const QList<QVariant>& arguments : spy) numbers.push_back(arguments.at(0).toInt());
  return numbers;
}

// Lets the event loop see the pipe.
void Drain(const QSignalSpy& spy, qsizetype expected) {
  for (int i = 0; i < 100 && spy.count() < expected; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QCoreApplication::processEvents();
}

class QuitSignalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    struct sigaction action {};
    action.sa_handler = EarlierHandler;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(sigaction(SIGTERM, &action, &saved_term_), 0);
    ASSERT_EQ(sigaction(SIGINT, &action, &saved_int_), 0);
    g_earlier_handler_calls = 0;
  }
  void TearDown() override {
    sigaction(SIGTERM, &saved_term_, nullptr);
    sigaction(SIGINT, &saved_int_, nullptr);
  }

  struct sigaction saved_term_ {};
  struct sigaction saved_int_ {};
};

TEST_F(QuitSignalsTest, EachSignalIsReportedOnceInOrderFromTheEventLoop) {
  TQuitSignals quit_signals;
  ASSERT_TRUE(quit_signals.Active());
  QSignalSpy spy(&quit_signals, &TQuitSignals::Received);
  struct Case {
    std::vector<int> raised;
  };
  const std::vector<Case> cases = {{{SIGTERM}}, {{SIGINT}}, {{SIGINT, SIGTERM, SIGTERM}}};
  for (const Case& c : cases) {
    spy.clear();
    for (int number : c.raised) ASSERT_EQ(std::raise(number), 0);
    // Nothing yet: the handler only writes into the pipe.
    EXPECT_EQ(spy.count(), 0);
    Drain(spy, static_cast<qsizetype>(c.raised.size()));
    EXPECT_EQ(Numbers(spy), c.raised);
  }
  EXPECT_EQ(g_earlier_handler_calls, 0);
}

TEST_F(QuitSignalsTest, OnlyOneInstanceCatchesAtATime) {
  TQuitSignals first;
  QSignalSpy first_spy(&first, &TQuitSignals::Received);
  {
    TQuitSignals second;
    EXPECT_FALSE(second.Active());
    QSignalSpy second_spy(&second, &TQuitSignals::Received);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    Drain(first_spy, 1);
    EXPECT_EQ(Numbers(first_spy), std::vector<int>{SIGTERM});
    EXPECT_EQ(second_spy.count(), 0);
  }
  // The inactive one going away leaves the first one catching.
  first_spy.clear();
  ASSERT_EQ(std::raise(SIGINT), 0);
  Drain(first_spy, 1);
  EXPECT_EQ(Numbers(first_spy), std::vector<int>{SIGINT});
  EXPECT_EQ(g_earlier_handler_calls, 0);
}

TEST_F(QuitSignalsTest, TheEarlierHandlersComeBackAndANewInstanceCatchesAgain) {
  { TQuitSignals quit_signals; }
  ASSERT_EQ(std::raise(SIGTERM), 0);
  ASSERT_EQ(std::raise(SIGINT), 0);
  EXPECT_EQ(g_earlier_handler_calls, 2);

  TQuitSignals again;
  ASSERT_TRUE(again.Active());
  QSignalSpy spy(&again, &TQuitSignals::Received);
  ASSERT_EQ(std::raise(SIGTERM), 0);
  Drain(spy, 1);
  EXPECT_EQ(Numbers(spy), std::vector<int>{SIGTERM});
  EXPECT_EQ(g_earlier_handler_calls, 2);
}

// In a child process of its own, which raises the signals and then ends normally with 0
// unless a signal ended it first.
TEST_F(QuitSignalsTest, ASecondSignalEndsTheProcessWhereAsked) {
  const struct {
    TLaterSignals later;
    std::vector<int> raised;
    int status;
  } cases[] = {
      {TLaterSignals::kExit, {SIGTERM}, 0},
      {TLaterSignals::kExit, {SIGTERM, SIGINT}, 128 + SIGINT},
      {TLaterSignals::kExit, {SIGINT, SIGTERM, SIGTERM}, 128 + SIGTERM},
      {TLaterSignals::kReport, {SIGTERM, SIGTERM, SIGINT}, 0},
  };
  for (const auto& c : cases) {
    TQuitSignals quit_signals(c.later);
    ASSERT_TRUE(quit_signals.Active());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int number : c.raised) std::raise(number);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.raised.size() << " signals";
  }
  EXPECT_EQ(g_earlier_handler_calls, 0);
}

}  // namespace
}  // namespace pelo
