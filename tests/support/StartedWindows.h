#pragma once

// The main window shown and its start-up sequence run to the end, as the program's event loop
// runs it; the caller asserts the result.

#include <QCoreApplication>
#include <QEventLoop>

#include "app/MainWindows.h"

namespace pelo::test {

[[nodiscard]] inline bool ShowAndStartUp(TMainWindow& window) {
  window.show();
  for (int i = 0; i < 200 && !window.StartedUp(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return window.StartedUp();
}

}  // namespace pelo::test
