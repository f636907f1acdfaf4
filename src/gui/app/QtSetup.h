#pragma once

// What the viewer asks of Qt before its first window, in one place so that the widget tests
// run under the same conditions as the program.

#include <string>

class QApplication;

namespace pelo {

// Qt wants a runtime folder of the user's and says so in English on standard error when
// XDG_RUNTIME_DIR does not name one. Made before QApplication: without that variable, a
// private folder (0700, under /tmp) for the run, removed again at the end.
class TRuntimeFolder {
 public:
  TRuntimeFolder();
  ~TRuntimeFolder();
  TRuntimeFolder(const TRuntimeFolder&) = delete;
  TRuntimeFolder& operator=(const TRuntimeFolder&) = delete;

  // The private folder; empty when the environment named one already.
  const std::string& Path() const noexcept { return path_; }

 private:
  std::string path_;
};

// The names the window placement is stored under and the desktop knows the program by, the
// window icon, the font substitutions, and Qt's own texts (the file dialog's labels and
// buttons, the standard buttons of message boxes, the dates of the file lists) in Japanese
// whatever the user's locale: the whole interface is Japanese. Qt's catalogue comes from Qt's
// translations; the few texts it lacks come from our own, built in.
void PrepareApplication(QApplication& app);

}  // namespace pelo
