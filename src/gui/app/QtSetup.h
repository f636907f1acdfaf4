#pragma once

// What the viewer asks of Qt before its first window, in one place so that the widget tests
// run under the same conditions as the program.

class QApplication;

namespace pelo {

// The names the window placement is stored under and the desktop knows the program by, the
// window icon, the font substitutions, and Qt's own texts (the file dialog's labels and
// buttons, the standard buttons of message boxes, the dates of the file lists) in Japanese
// whatever the user's locale: the whole interface is Japanese. Qt's catalogue comes from Qt's
// translations; the few texts it lacks come from our own, built in.
void PrepareApplication(QApplication& app);

}  // namespace pelo
