#include "app/Regs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

#include "calendar/Texts.h"

namespace pelo {

namespace {

QString Key(const std::string& section, const std::string& ident) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(ident);
}

// A window whose size the user cannot change (a dialog border) keeps its design size.
bool HasFixedSize(const QWidget* window) {
  return window->minimumSize() == window->maximumSize() ||
         window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace

TReg::TReg(const std::string& application) {
  QString name = QString::fromStdString(application);
  if (name.isEmpty()) name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QString::fromUtf8(kRegOrganization), name);
}

TReg::~TReg() = default;

std::string TReg::ReadString(const std::string& section, const std::string& ident,
                             const std::string& fallback) const {
  const QVariant value = settings_->value(Key(section, ident));
  if (!value.isValid()) return fallback;
  return value.toString().toStdString();
}

void TReg::WriteString(const std::string& section, const std::string& ident,
                       const std::string& value) {
  settings_->setValue(Key(section, ident), QString::fromStdString(value));
}

int32_t TReg::ReadInteger(const std::string& section, const std::string& ident,
                          int32_t fallback) const {
  const QVariant value = settings_->value(Key(section, ident));
  if (!value.isValid()) return fallback;
  int32_t number = fallback;
  return ParseInt32(value.toString().toStdString(), number) ? number : fallback;
}

void TReg::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

bool TReg::ReadBool(const std::string& section, const std::string& ident, bool fallback) const {
  return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TReg::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TReg::Restore(QWidget* window) {
  const std::string section = window->objectName().toStdString();
  if (ReadBool(section, "Maximized", false)) {
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return;
  }
  const QPoint position = window->pos();
  int32_t width = ReadInteger(section, "Width", window->width());
  int32_t height = ReadInteger(section, "Height", window->height());
  const int32_t top = ReadInteger(section, "Top", position.y());
  const int32_t left = ReadInteger(section, "Left", position.x());
  // A size of nothing cannot be grabbed either; the window keeps its own.
  if (width <= 0) width = window->width();
  if (height <= 0) height = window->height();

  // The screens may have changed since the placement was stored (a monitor unplugged, a lower
  // resolution): a window out of reach comes back onto the primary screen.
  QRect bounds(left, top, width, height);
  std::vector<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    areas.push_back(screen->availableGeometry());
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) bounds = KeepOnScreen(bounds, areas, primary->availableGeometry());

  // Left and Top are the outer corner (as pos() reports it); Width and Height the size Qt
  // gives the window, so a restore followed by a save stores the same numbers again whether
  // or not the window manager has added its frame yet.
  window->move(bounds.topLeft());
  window->resize(bounds.size());
}

void TReg::Save(QWidget* window) {
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
}

QRect KeepOnScreen(const QRect& bounds, const std::vector<QRect>& available_areas,
                   const QRect& primary_area) {
  if (available_areas.empty() || !primary_area.isValid()) return bounds;
  const QRect grab_strip(bounds.left(), bounds.top(), bounds.width(),
                         std::min(kGrabHeight, bounds.height()));
  const int need_width = std::min(kGrabWidth, grab_strip.width());
  const int need_height = std::min(kGrabMinHeight, grab_strip.height());
  for (const QRect& area : available_areas) {
    const QRect shown = grab_strip.intersected(area);
    if (!shown.isEmpty() && shown.width() >= need_width && shown.height() >= need_height) {
      return bounds;
    }
  }
  QRect placed(0, 0, std::min(bounds.width(), primary_area.width()),
               std::min(bounds.height(), primary_area.height()));
  placed.moveCenter(primary_area.center());
  return placed;
}

}  // namespace pelo
