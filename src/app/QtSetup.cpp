#include "app/QtSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "app/FontSubstitutions.h"
#include "app/Regs.h"
#include "schedule/widgets/Pictures.h"

namespace pelo {

void PrepareApplication(QApplication& app) {
  QApplication::setOrganizationName(QString::fromUtf8(kRegOrganization));
  QApplication::setApplicationName(QString::fromUtf8(kRegApplication));
  // The desktop entry's name. No display name: Qt would append it to every window title.
  QGuiApplication::setDesktopFileName(QStringLiteral("pelo"));
  QApplication::setWindowIcon(ApplicationIcon());
  InstallFontSubstitutions();
  InstallQtJapanese(app);
}

bool InstallQtJapanese(QApplication& app) {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  translator->setParent(&app);
  return QCoreApplication::installTranslator(translator.release());
}

}  // namespace pelo
