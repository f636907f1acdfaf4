#pragma once

// Qt's file dialog writes the sizes and dates of its file list in the system's locale, which
// is English wherever LANG is unset or English; the viewer speaks Japanese whatever the
// locale. Its file dialogs show the list through a model that writes them in the
// application's locale, which the start-up sets to Japanese.

#include <QIdentityProxyModel>

class QFileDialog;

namespace pelo {

class TFileListTexts : public QIdentityProxyModel {
  Q_OBJECT

 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Puts a TFileListTexts, owned by the dialog, between the dialog and its file list.
void ShowFileListInOurLocale(QFileDialog& dialog);

}  // namespace pelo
