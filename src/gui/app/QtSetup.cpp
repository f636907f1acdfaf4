#include "app/QtSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "app/FontSubstitutions.h"
#include "app/PlacementStores.h"
#include "widgets/Pictures.h"

namespace pelo {

namespace {

void InstallQtJapanese(QApplication& app) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return;
  }
  translator->setParent(&app);
  QCoreApplication::installTranslator(translator.release());
}

}  // namespace

void PrepareApplication(QApplication& app) {
  QApplication::setOrganizationName(QString::fromUtf8(kSettingsOrganization));
  QApplication::setApplicationName(QString::fromUtf8(kSettingsApplication));
  // The desktop entry's name. No display name: Qt would append it to every window title.
  QGuiApplication::setDesktopFileName(QStringLiteral("pelo"));
  QApplication::setWindowIcon(ApplicationIcon());
  InstallFontSubstitutions();
  InstallQtJapanese(app);
}

}  // namespace pelo
