#pragma once

// What the fuzz targets of the viewer's side share: one quiet application for the whole run,
// on the offscreen platform unless another one was asked for, and notices that answer
// nothing.

#include <QApplication>
#include <cstdlib>
#include <string>

#include "datafiles/Notices.h"

namespace pelo::fuzz {

// Qt's own warnings about broken input (a bitmap that seeks past its end, a font that is not
// there) are expected by the thousand and would only slow the run down.
inline QApplication& Application() {
  static int argc = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 1;
  }();
  static char name[] = "pelo-fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

// Nobody to tell: refusals and load errors are part of the game.
class TSilentNotices : public TUserNotices {
 public:
  void Beep(TBeepKind) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowLoadErrors(const TLoadErrorReport&) override {}
};

inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace pelo::fuzz
