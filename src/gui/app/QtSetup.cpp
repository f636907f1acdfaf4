#include "app/QtSetup.h"

#include <stdlib.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

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

TRuntimeFolder::TRuntimeFolder() {
  const char* named = std::getenv("XDG_RUNTIME_DIR");
  if (named != nullptr && *named != '\0') return;
  std::string pattern = "/tmp/pelo-runtime-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return;
  path_ = pattern;
  ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
}

TRuntimeFolder::~TRuntimeFolder() {
  if (path_.empty()) return;
  ::unsetenv("XDG_RUNTIME_DIR");
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

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
