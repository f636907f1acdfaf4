#pragma once

// Reading data and page files from the disk: whether anything is there, their bytes read
// whole (never written, never blocking), and the text those bytes hold.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/Cp932.h"

namespace pelo {

// Is anything at path? Only "no such file" counts as missing; a file we may not even look
// at exists, and fails later as one that cannot be opened. When something is there,
// read_only tells whether its owner may not write it.
bool DataFileExists(const std::string& path, bool& read_only);

enum class TFileReadStatus {
  kRead,
  kMissing,     // nothing is there
  kNotAFile,    // a folder, a FIFO, a socket or a device
  kUnreadable,  // it could not be opened or read
  kTooLarge,    // more than the most that was asked for
};

// Reads a regular file of at most max_size bytes whole (read_only is set once it is open).
TFileReadStatus ReadWholeFile(const std::string& path, std::size_t max_size, std::string& bytes,
                              bool& read_only);

// Reads a regular file of at most 64 MiB whole; false when it cannot be (read_only is set
// once the file is open).
bool ReadDataFile(const std::string& path, std::string& bytes, bool& read_only);

// The text of a data file: everything before the first NUL, decoded (DecodeFileText).
struct TDataFileText {
  TDecodedText decoded;
  bool cut_at_nul = false;  // a NUL ended the text
};
TDataFileText DataFileText(std::string_view bytes);

// A hash of a file's bytes: the bytes read again give the same value, other bytes (all but
// certainly) another.
std::size_t DataFileHash(std::string_view bytes) noexcept;

}  // namespace pelo
