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

// The catalogue is a resource of the static library: nothing else refers to it, so it is
// registered by name; Q_INIT_RESOURCE must stand outside every namespace.
static void InitTranslationResources() { Q_INIT_RESOURCE(pelo_qt_extra_ja); }

namespace pelo {

namespace {

bool InstallTranslator(QApplication& app, const QString& name, const QString& folder) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), name, QStringLiteral("_"),
                        folder)) {
    return false;
  }
  translator->setParent(&app);
  QCoreApplication::installTranslator(translator.release());
  return true;
}

void InstallQtJapanese(QApplication& app) {
  // Dates, sizes and file types in the file dialogs' lists follow the default locale.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  InstallTranslator(app, QStringLiteral("qtbase"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  // Ours, for the texts Qt's catalogue lacks; installed last, so it is asked first.
  InitTranslationResources();
  InstallTranslator(app, QStringLiteral("pelo_qt_extra"), QStringLiteral(":/translations"));
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
