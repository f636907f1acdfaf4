#pragma once

// Drives a modal window from inside its own event loop: the steps run once the window is the
// active modal widget, and whatever they leave open is closed, so a failing test never blocks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace pelo::test {

inline void WhenModal(std::function<void(QWidget&)> steps, int tries_left = 200) {
  QTimer::singleShot(tries_left == 200 ? 0 : 10, [steps = std::move(steps), tries_left] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      if (tries_left > 0) {
        WhenModal(steps, tries_left - 1);
      } else {
        ADD_FAILURE() << "no modal window came up";
      }
      return;
    }
    steps(*modal);
    if (QApplication::activeModalWidget() == modal) {
      ADD_FAILURE() << "the steps left the modal window open";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->done(QDialog::Rejected);
      } else {
        modal->close();
      }
    }
  });
}

}  // namespace pelo::test
