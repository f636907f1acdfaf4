#pragma once

// Qt's file dialog writes its folder history and view to the user's Qt settings
// (QtProject.conf) when it is destroyed, and nothing switches that off. The window placement
// is the only thing the viewer may write: the viewer's file dialogs go through this deleter.

class QFileDialog;

namespace pelo {

// Destroys a file dialog without letting Qt store its state.
struct TQuietDialogDeleter {
  void operator()(QFileDialog* dialog) const;
};

}  // namespace pelo
