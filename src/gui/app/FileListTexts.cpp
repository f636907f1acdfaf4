#include "app/FileListTexts.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>

namespace pelo {

namespace {

// The columns of Qt's file system model.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

}  // namespace

QVariant TFileListTexts::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  const int column = index.column();
  if (role != Qt::DisplayRole || files == nullptr ||
      (column != kSizeColumn && column != kDateColumn)) {
    return QIdentityProxyModel::data(index, role);
  }
  const QModelIndex source = mapToSource(index);
  if (column == kDateColumn)
    return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
  // A folder has no size to show.
  if (files->isDir(source)) return QString();
  return QLocale().formattedDataSize(files->size(source));
}

void ShowFileListInOurLocale(QFileDialog& dialog) {
  dialog.setProxyModel(new TFileListTexts(&dialog));
}

}  // namespace pelo
