#pragma once

// Qt's file dialog writes its folder history and view to the user's Qt settings
// (QtProject.conf) when it is destroyed, and nothing switches that off. The window placement
// is the only thing the viewer may write: the viewer's file dialogs go through this deleter.
// A save dialog may also refuse a name, and stay open for another.

#include <QFileDialog>
#include <functional>

namespace pelo {

// Destroys a file dialog without letting Qt store its state.
struct TQuietDialogDeleter {
  void operator()(QFileDialog* dialog) const;
};

// A file dialog that asks before it closes on a file: when may_take says no (having told the
// user why), the dialog stays where it is. A folder is never asked about: the dialog opens it.
class TOutputFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  TOutputFileDialog(QWidget* parent, std::function<bool(const QString&)> may_take);

  void accept() override;

 private:
  std::function<bool(const QString&)> may_take_;
};

}  // namespace pelo
