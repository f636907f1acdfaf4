#include "app/QuietFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "app/PlacementStores.h"

namespace pelo {

// While the dialog goes, Qt's per-user settings folder is /dev/null, below which no file can
// be made, and then it is set back.
void TQuietDialogDeleter::operator()(QFileDialog* dialog) const {
  const QString user_folder = UserSettingsFolder();
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  delete dialog;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, user_folder);
}

TOutputFileDialog::TOutputFileDialog(QWidget* parent, std::function<bool(const QString&)> may_take)
    : QFileDialog(parent), may_take_(std::move(may_take)) {}

void TOutputFileDialog::accept() {
  const QStringList files = selectedFiles();
  if (!files.isEmpty() && !QFileInfo(files.first()).isDir() && !may_take_(files.first())) return;
  QFileDialog::accept();
}

}  // namespace pelo
