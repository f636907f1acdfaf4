#pragma once

// The picture an entry names with its command i. The core finds the file and checks its
// Windows bitmap header against the file: a plausible size, a known pixel format, and the
// file long enough for the palette and pixels the header promises. Decoding is the viewer's,
// which may refuse a picture the header check let through.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pelo {

// The widest and tallest picture a line shows, in pixels: taller than the day cell of any
// layout, and a decoded picture stays within 4 MiB.
inline constexpr int32_t kMaxPictureSide = 1024;

struct TIconFile {
  std::string Path;  // where it was found, with '/' separators
  int32_t Width = 0;
  int32_t Height = 0;

  friend bool operator==(const TIconFile&, const TIconFile&) = default;
};

// Whether a picture the header check accepted really decodes to its size. The viewer
// answers with its image decoder; without one the header check alone decides.
using TPictureCheck = std::function<bool(const TIconFile& picture)>;

// The size of the picture in a bitmap file of file_size bytes that starts with head (the
// first bytes of the file; more than the headers does no harm). Nothing when the header is
// no bitmap header, the picture is empty or larger than kMaxPictureSide either way, or the
// file is too short for what the header describes. The result has no path.
std::optional<TIconFile> CheckBitmapHeader(std::string_view head, std::uintmax_t file_size);

// Looks for the bitmap named in an entry: as written (a relative name taken from the data
// file's folder; '\' separators work too), then the same file name alone in the program's
// own folder. Only a regular file that passes CheckBitmapHeader, and the check when one is
// given, counts; a device, a pipe or a folder is simply not found, and nothing is read
// beyond the header.
std::optional<TIconFile> FindIconFile(std::string_view name, std::string_view data_folder,
                                      const TPictureCheck& check = {});

}  // namespace pelo
