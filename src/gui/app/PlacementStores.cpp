#include "app/PlacementStores.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "app/OutputFiles.h"
#include "app/WindowPlacements.h"
#include "text/FileIdentities.h"
#include "text/Texts.h"

namespace pelo {

namespace {

QString Key(const std::string& section, const std::string& ident) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(ident);
}

TScreenRect ToScreenRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// A regular file of the size the program writes. Nothing there to read is fine too: the file
// is made when the placement is saved.
bool Readable(const std::string& path) {
  switch (FileKindOf(path)) {
    case TFileKind::kMissing:
      return true;
    case TFileKind::kOther:
      return false;
    case TFileKind::kRegular:
      break;
  }
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size <= kMaxSettingsFileSize;
}

// A window whose size the user cannot change (a dialog border) keeps the size it was made with.
bool HasFixedSize(const QWidget* window) {
  return window->minimumSize() == window->maximumSize() ||
         window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace

QString UserSettingsFolder() {
  return QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("probe"))
                       .fileName())
      .absolutePath();
}

TPlacementStore::TPlacementStore(const std::string& application) {
  QString name = QString::fromStdString(application);
  if (name.isEmpty()) name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  const QString organization = QString::fromUtf8(kSettingsOrganization);
  // Where QSettings reads, found before it does: it reads as soon as it is made.
  const QString path = UserSettingsFolder() + '/' + organization + '/' + name + ".conf";
  file_path_ = QFile::encodeName(path).toStdString();
  if (Readable(file_path_)) {
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            organization, name);
    return;
  }
  std::cerr << "pelo: " << file_path_
            << " is not read (not a regular file, or larger than 1 MiB); the window starts "
               "at its default placement\n";
  scratch_ = std::make_unique<QTemporaryDir>();
  settings_ = std::make_unique<QSettings>(scratch_->filePath(QStringLiteral("refused.conf")),
                                          QSettings::IniFormat);
}

TPlacementStore::~TPlacementStore() = default;

std::optional<std::string> TPlacementStore::Value(const std::string& section,
                                                  const std::string& ident) const {
  const QVariant value = settings_->value(Key(section, ident));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

std::string TPlacementStore::ReadString(const std::string& section, const std::string& ident,
                                        const std::string& fallback) const {
  return Value(section, ident).value_or(fallback);
}

void TPlacementStore::WriteString(const std::string& section, const std::string& ident,
                                  const std::string& value) {
  settings_->setValue(Key(section, ident), QString::fromStdString(value));
}

int32_t TPlacementStore::ReadInteger(const std::string& section, const std::string& ident,
                                     int32_t fallback) const {
  const std::optional<std::string> text = Value(section, ident);
  int32_t number = fallback;
  return text.has_value() && ParseInt32(*text, number) ? number : fallback;
}

void TPlacementStore::WriteInteger(const std::string& section, const std::string& ident,
                                   int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

bool TPlacementStore::ReadBool(const std::string& section, const std::string& ident,
                               bool fallback) const {
  return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TPlacementStore::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TPlacementStore::Restore(QWidget* window) {
  const std::string section = window->objectName().toStdString();
  const TStoredPlacement stored{Value(section, "Maximized"), Value(section, "Left"),
                                Value(section, "Top"), Value(section, "Width"),
                                Value(section, "Height")};
  std::vector<TScreenRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    areas.push_back(ToScreenRect(screen->availableGeometry()));
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  const TWindowPlacement placement =
      PlaceWindow(stored, ToScreenRect(QRect(window->pos(), window->size())), areas,
                  primary != nullptr ? ToScreenRect(primary->availableGeometry()) : TScreenRect{});
  if (placement.Maximized) {
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return;
  }
  // Left and Top are the outer corner (as pos() reports it); Width and Height the size Qt
  // gives the window, so a restore followed by a save stores the same numbers again whether
  // or not the window manager has added its frame yet.
  const TScreenRect& bounds = placement.Bounds;
  window->move(bounds.Left, bounds.Top);
  window->resize(bounds.Width, bounds.Height);
}

void TPlacementStore::Save(QWidget* window) {
  const std::string section = window->objectName().toStdString();
  const Qt::WindowStates state = window->windowState();
  if (!(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
    WriteInteger(section, "Left", window->pos().x());
    WriteInteger(section, "Top", window->pos().y());
    if (!HasFixedSize(window)) {
      WriteInteger(section, "Width", window->width());
      WriteInteger(section, "Height", window->height());
    }
  }
  WriteBool(section, "Maximized", state.testFlag(Qt::WindowMaximized));
  settings_->sync();
  if (scratch_ != nullptr) ReplaceRefusedFile();
}

std::string TPlacementStore::FilePath() const { return file_path_; }

void TPlacementStore::ReplaceRefusedFile() const {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(file_path_, error);
  if (error || !(std::filesystem::is_regular_file(status) || std::filesystem::is_fifo(status))) {
    return;
  }
  QFile scratch(settings_->fileName());
  if (!scratch.open(QIODevice::ReadOnly)) return;
  SaveBytesAtomically(QFile::decodeName(file_path_.c_str()), scratch.readAll().toStdString());
}

}  // namespace pelo
