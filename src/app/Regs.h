#pragma once

// The window placement store: per-user settings in the style of the registry (one group per
// window, named after the window's object name; string values), kept through QSettings in
// its native format: the registry under "Software\ZUKARA SOFT\<application>" on Windows, an
// ini file under the user's configuration folder elsewhere. Tests give it a folder of their
// own with QSettings::setPath(NativeFormat, UserScope, folder) before creating it.

#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QSettings;
class QWidget;

namespace pelo {

inline constexpr const char* kRegOrganization = "ZUKARA SOFT";
inline constexpr const char* kRegApplication = "Pelo";

class TReg {
 public:
  // An empty application name stands for the executable's name.
  explicit TReg(const std::string& application = kRegApplication);
  ~TReg();
  TReg(const TReg&) = delete;
  TReg& operator=(const TReg&) = delete;

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback) const;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  // A value that is missing or no decimal integer yields fallback.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t fallback) const;
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  // An integer that is not 0.
  bool ReadBool(const std::string& section, const std::string& ident, bool fallback) const;
  void WriteBool(const std::string& section, const std::string& ident, bool value);

  // Maximised, or the stored bounds (each value defaulting to the window's own), kept where
  // the user can reach the window.
  void Restore(QWidget* window);
  // Left and Top in the normal state, Width and Height too unless the window has a fixed
  // size; Maximized always. Written at once.
  void Save(QWidget* window);

 private:
  std::unique_ptr<QSettings> settings_;
};

// The strip at the top of a window where the user grabs it (its title bar), and how much of
// that strip must show on one screen for the window to count as reachable.
inline constexpr int kGrabHeight = 24;
inline constexpr int kGrabMinHeight = 8;
inline constexpr int kGrabWidth = 48;

// bounds when its top strip shows enough on one of the available areas; otherwise bounds
// moved into the middle of primary_area, shrunk to fit it. No areas: bounds unchanged.
QRect KeepOnScreen(const QRect& bounds, const std::vector<QRect>& available_areas,
                   const QRect& primary_area);

}  // namespace pelo
