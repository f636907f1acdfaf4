#include "app/QtNotices.h"

#include <QApplication>
#include <QMessageBox>

#include "app/LoadReportDialogs.h"

namespace pelo {

namespace {

QString Caption() { return QString::fromUtf8(kNoticeCaption); }

}  // namespace

// The platform has one beep; every kind sounds it.
void TQtNotices::Beep(TBeepKind /*kind*/) { QApplication::beep(); }

void TQtNotices::Information(const std::string& text) {
  QMessageBox::information(parent_, Caption(), QString::fromStdString(text), QMessageBox::Ok);
}

void TQtNotices::Warning(const std::string& text) {
  QMessageBox::warning(parent_, Caption(), QString::fromStdString(text), QMessageBox::Ok);
}

bool TQtNotices::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, Caption(), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

void TQtNotices::ShowLoadErrors(const TLoadErrorReport& report) {
  ExecuteLoadReportDialog(report, *this, parent_);
}

}  // namespace pelo
