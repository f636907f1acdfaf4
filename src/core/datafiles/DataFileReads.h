#pragma once

// Reading a data file from the disk: whether anything is there, its bytes read whole (never
// written, never blocking), and the text those bytes hold.

#include <cstddef>
#include <string>
#include <string_view>

namespace pelo {

// Is anything at path? Only "no such file" counts as missing; a file we may not even look
// at exists, and fails later as one that cannot be opened. When something is there,
// read_only tells whether its owner may not write it.
bool DataFileExists(const std::string& path, bool& read_only);

// Reads a regular file of at most 64 MiB whole; false when it cannot be (read_only is set
// once the file is open).
bool ReadDataFile(const std::string& path, std::string& bytes, bool& read_only);

// The text of a file: everything before the first NUL, decoded from CP932.
std::string DataFileText(std::string_view bytes);

// A hash of a file's bytes: the bytes read again give the same value, other bytes (all but
// certainly) another.
std::size_t DataFileHash(std::string_view bytes) noexcept;

}  // namespace pelo
