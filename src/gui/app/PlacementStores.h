#pragma once

// The window placement store: per-user settings in the style of the registry (one group per
// window, named after the window's object name; string values), kept through QSettings in
// its native format: the registry under "Software\ZUKARA SOFT\<application>" on Windows, an
// ini file under the user's configuration folder elsewhere. Tests give it a folder of their
// own with QSettings::setPath(NativeFormat, UserScope, folder) before creating it.
// A stored file that is no regular file (a FIFO would block the start) or larger than any the
// program writes is not read: the store starts from nothing, says so once on standard error,
// and Save puts a file of its own in that one's place.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

class QSettings;
class QString;
class QTemporaryDir;
class QWidget;

namespace pelo {

inline constexpr const char* kSettingsOrganization = "ZUKARA SOFT";
inline constexpr const char* kSettingsApplication = "Pelo";
// The largest settings file that is read; the program's own are a few hundred bytes.
inline constexpr std::uintmax_t kMaxSettingsFileSize = 1 << 20;

// The folder QSettings keeps the user's native settings files in.
QString UserSettingsFolder();

class TPlacementStore {
 public:
  // An empty application name stands for the executable's name.
  explicit TPlacementStore(const std::string& application = kSettingsApplication);
  ~TPlacementStore();
  TPlacementStore(const TPlacementStore&) = delete;
  TPlacementStore& operator=(const TPlacementStore&) = delete;

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback) const;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  // A value that is missing or no decimal integer yields fallback.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t fallback) const;
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  // An integer that is not 0.
  bool ReadBool(const std::string& section, const std::string& ident, bool fallback) const;
  void WriteBool(const std::string& section, const std::string& ident, bool value);

  // Maximised, or the stored bounds (each value defaulting to the window's own) kept where the
  // user can reach the window, or on the first run a comfortable share of the screen
  // (PlaceWindow).
  void Restore(QWidget* window);
  // Left and Top in the normal state, Width and Height too unless the window has a fixed
  // size; Maximized always. Written at once, with every value written before.
  void Save(QWidget* window);

  // The settings file on disk.
  std::string FilePath() const;
  // False when the file there was not read (see above).
  bool ReadStored() const noexcept { return scratch_ == nullptr; }

 private:
  // A refused file's replacement, atomically; only what stands there itself (a regular file or
  // a FIFO, never what a link points to) is replaced.
  void ReplaceRefusedFile() const;

  // The stored text, nothing when the value was never written.
  std::optional<std::string> Value(const std::string& section, const std::string& ident) const;

  std::string file_path_;
  // Holds the values while the stored file is refused; null when it was read.
  std::unique_ptr<QTemporaryDir> scratch_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace pelo
