#pragma once

// How every file the program writes reaches the disk: into a new file beside the target, which
// takes the target's place by a rename only once everything was written. A full disk or any
// other failure leaves the file that was there as it was, and no half-written file behind.

#include <QString>
#include <functional>
#include <string>

class QIODevice;

namespace pelo {

// write fills the new file; false from it gives the file up. False when anything failed.
bool SaveAtomically(const QString& path, const std::function<bool(QIODevice&)>& write);

// All of bytes into device; false when not all of them went.
bool WriteBytes(QIODevice& device, const std::string& bytes);

// The bytes as the whole new content of path.
bool SaveBytesAtomically(const QString& path, const std::string& bytes);

}  // namespace pelo
