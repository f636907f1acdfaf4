// Following the clock: what wakes the follower, what it tells and when it wakes next, with a
// clock the test moves by hand.

#include "app/TodayFollowers.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <vector>

#include "ManualClocks.h"

namespace pelo {
namespace {

using test::TManualClock;
constexpr int32_t kDay = 24 * 60 * 60;

void Fire(TTodayFollower& follower) {  // the midnight timer, as if its time had come
  QMetaObject::invokeMethod(const_cast<QTimer*>(&follower.MidnightTimer()), "timeout");
}
void Refocus(TTodayFollower&) {
  QEvent event(QEvent::ApplicationStateChange);
  QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
}
void Ask(TTodayFollower& follower) { follower.Check(); }

TEST(TodayFollowerTest, TellsEachNewDateOnceWhateverWakesIt) {
  struct Step {
    const char* name;
    void (*wake)(TTodayFollower&);
    TLocalTime now;
    std::vector<TDateRec> told;  // everything told so far
    int32_t left;                // seconds to the next midnight
  };
  const std::vector<Step> steps = {
      {"the same day, later", Ask, {{2024, 5, 1}, kDay - 1}, {}, 1},
      {"midnight", Fire, {{2024, 5, 2}, 2}, {{2024, 5, 2}}, kDay - 2},
      {"noon", Fire, {{2024, 5, 2}, kDay / 2}, {{2024, 5, 2}}, kDay / 2},
      {"a wake days later", Refocus, {{2024, 5, 9}, kDay}, {{2024, 5, 2}, {2024, 5, 9}}, 0},
      {"clock set back", Ask, {{2024, 5, 8}, 0}, {{2024, 5, 2}, {2024, 5, 9}, {2024, 5, 8}}, kDay},
  };
  TManualClock clock({{2024, 5, 1}, kDay - 15});  // 23:59:45
  std::vector<TDateRec> told;
  TTodayFollower follower(clock, {2024, 5, 1}, [&told](TDateRec today) { told.push_back(today); });
  EXPECT_TRUE(told.empty() && follower.MidnightTimer().remainingTime() > 16500);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    clock.now = step.now;
    step.wake(follower);
    EXPECT_EQ(told, step.told);
    EXPECT_EQ(follower.Today(), step.now.Date);
    // Armed again, for a little after the next midnight.
    EXPECT_NEAR(follower.MidnightTimer().remainingTime(), step.left * 1000 + 2000, 500);
  }
  // Started on another date than the clock's, it tells at once.
  TTodayFollower late(clock, {2024, 5, 1}, [&told](TDateRec today) { told.push_back(today); });
  EXPECT_EQ(told.back(), (TDateRec{2024, 5, 8}));
}

}  // namespace
}  // namespace pelo
