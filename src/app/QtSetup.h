#pragma once

// What the viewer asks of Qt before its first window, in one place so that the widget tests
// run under the same conditions as the program.

class QApplication;

namespace pelo {

// The names the window placement is stored under and the desktop knows the program by, the
// window icon, the font substitutions and Qt's own texts in Japanese.
void PrepareApplication(QApplication& app);

// Loads Qt's own Japanese texts (the file dialog's labels and buttons, the standard buttons
// of message boxes) and makes Japanese the default locale, whatever the user's: the whole
// interface is Japanese. False when Qt's translations are not installed; Qt's texts then
// stay English.
bool InstallQtJapanese(QApplication& app);

}  // namespace pelo
