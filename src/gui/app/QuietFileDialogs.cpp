#include "app/QuietFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace pelo {

// While the dialog goes, Qt's per-user settings folder is /dev/null, below which no file can
// be made, and then it is set back.
void TQuietDialogDeleter::operator()(QFileDialog* dialog) const {
  const QString user_folder =
      QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("probe"))
                    .fileName())
          .absolutePath();
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  delete dialog;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, user_folder);
}

}  // namespace pelo
