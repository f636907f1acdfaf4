#pragma once

// The picture an entry names with its command i. The core only finds the file and reads the
// size from its Windows bitmap header; the viewer decodes the picture itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelo {

struct TIconFile {
  std::string Path;  // where it was found, with '/' separators
  int32_t Width = 0;
  int32_t Height = 0;

  friend bool operator==(const TIconFile&, const TIconFile&) = default;
};

// Looks for the bitmap named in an entry: as written (a relative name taken from the data
// file's folder; '\' separators work too), then the same file name alone in the program's
// own folder. Only a regular file with a readable bitmap header counts; a device, a pipe or
// a folder is simply not found, and nothing is ever read beyond the header.
std::optional<TIconFile> FindIconFile(std::string_view name, std::string_view data_folder);

}  // namespace pelo
