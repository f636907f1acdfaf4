#pragma once

// TTodayFollower: keeps a window's today on the clock's. A single-shot timer wakes a couple of
// seconds after the next local midnight; a coarse timer asks every minute, because after a
// suspend a timer fires late, and the clock or the time zone may change at any time; a change
// of the application's state (the user comes back) asks at once. Each time the clock is asked,
// and only a new date is told.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "calendar/Calendars.h"

class QEvent;

namespace pelo {

// How long after now the next day is surely there: the rest of the day and a margin, so a
// timer that fires a little early still finds the new date.
int64_t MillisecondsToNextDay(const TLocalTime& now) noexcept;

class TTodayFollower : public QObject {
  Q_OBJECT

 public:
  static constexpr int32_t kMidnightMarginMs = 2000;
  static constexpr int32_t kCoarseIntervalMs = 60 * 1000;

  // today: the date the window shows as today now; on_new_day gets every other date the clock
  // gives later. The clock must outlive the follower.
  TTodayFollower(const TClock& clock, TDateRec today, std::function<void(TDateRec)> on_new_day,
                 QObject* parent = nullptr);
  ~TTodayFollower() override;

  // Asks the clock, tells a new date and sets the midnight timer again.
  void Check();
  TDateRec Today() const noexcept { return today_; }
  // The timer of the next midnight (for a look from outside).
  const QTimer& MidnightTimer() const noexcept { return midnight_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TClock& clock_;
  TDateRec today_;
  std::function<void(TDateRec)> on_new_day_;
  QTimer midnight_;
  QTimer coarse_;
};

}  // namespace pelo
