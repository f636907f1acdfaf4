#include "app/TodayFollowers.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <utility>

namespace pelo {

int64_t MillisecondsToNextDay(const TLocalTime& now) noexcept {
  constexpr int64_t kDaySeconds = 24 * 60 * 60;
  const int64_t left = kDaySeconds - std::clamp<int64_t>(now.Second, 0, kDaySeconds);
  return left * 1000 + TTodayFollower::kMidnightMarginMs;
}

TTodayFollower::TTodayFollower(const TClock& clock, TDateRec today,
                               std::function<void(TDateRec)> on_new_day, QObject* parent)
    : QObject(parent), clock_(clock), today_(today), on_new_day_(std::move(on_new_day)) {
  setObjectName("TodayFollower");
  midnight_.setSingleShot(true);
  // A coarse timer may be late by a twentieth of its day-long interval.
  midnight_.setTimerType(Qt::PreciseTimer);
  connect(&midnight_, &QTimer::timeout, this, &TTodayFollower::Check);
  coarse_.setInterval(kCoarseIntervalMs);
  connect(&coarse_, &QTimer::timeout, this, &TTodayFollower::Check);
  coarse_.start();
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
  Check();
}

TTodayFollower::~TTodayFollower() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TTodayFollower::Check() {
  const TLocalTime now = clock_.Now();
  midnight_.start(static_cast<int>(MillisecondsToNextDay(now)));
  if (now.Date == today_) return;
  today_ = now.Date;
  on_new_day_(today_);
}

bool TTodayFollower::eventFilter(QObject* watched, QEvent* event) {
  if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationStateChange) {
    Check();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pelo
