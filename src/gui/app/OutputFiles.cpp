#include "app/OutputFiles.h"

#include <QSaveFile>

namespace pelo {

bool SaveAtomically(const QString& path, const std::function<bool(QIODevice&)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!write(file) || file.error() != QFileDevice::NoError) {
    file.cancelWriting();
    return false;
  }
  // Flushes and renames; a write that failed on the way (a full disk) fails it, and the new
  // file goes.
  return file.commit();
}

bool WriteBytes(QIODevice& device, const std::string& bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  return device.write(bytes.data(), size) == size;
}

bool SaveBytesAtomically(const QString& path, const std::string& bytes) {
  return SaveAtomically(path, [&bytes](QIODevice& device) { return WriteBytes(device, bytes); });
}

}  // namespace pelo
