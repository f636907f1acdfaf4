#include "entries/IconFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "calendar/Paths.h"

namespace pelo {

namespace {

// The file header (14 bytes) and the first 16 bytes of the bitmap header hold everything we
// look at: the header size, width, height, planes and bits per pixel.
constexpr std::size_t kHeaderBytes = 30;

uint32_t Le16(const unsigned char* p) noexcept {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Le32(const unsigned char* p) noexcept { return Le16(p) | (Le16(p + 2) << 16); }

// Width and height from the header of a Windows bitmap; nothing for any other content.
std::optional<TIconFile> ReadBitmapHeader(const unsigned char* bytes, std::size_t size) {
  if (size < 26 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t info_size = Le32(bytes + 14);
  TIconFile icon;
  uint32_t planes = 0;
  uint32_t bits = 0;
  if (info_size == 12) {
    // The old OS/2 core header: unsigned 16-bit sizes, bottom-up only.
    icon.Width = static_cast<int32_t>(Le16(bytes + 18));
    icon.Height = static_cast<int32_t>(Le16(bytes + 20));
    planes = Le16(bytes + 22);
    bits = Le16(bytes + 24);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  } else if (info_size == 40 || info_size == 52 || info_size == 56 || info_size == 108 ||
             info_size == 124) {
    if (size < kHeaderBytes) return std::nullopt;
    icon.Width = static_cast<int32_t>(Le32(bytes + 18));
    const auto height = static_cast<int32_t>(Le32(bytes + 22));
    // A negative height is a top-down picture; INT32_MIN has no positive size.
    if (height == INT32_MIN) return std::nullopt;
    icon.Height = height < 0 ? -height : height;
    planes = Le16(bytes + 26);
    bits = Le16(bytes + 28);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  if (icon.Width <= 0 || icon.Height == 0 || planes != 1) return std::nullopt;
  return icon;
}

// The file at path when it is a regular file that starts with a bitmap header. A pipe, a
// device or a folder never gets opened, and the open itself cannot block.
std::optional<TIconFile> ProbeFile(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::array<unsigned char, kHeaderBytes> bytes{};
  std::size_t size = 0;
  // The file may have been swapped for something else since the stat: ask the open file.
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    while (size < bytes.size()) {
      const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
      if (got <= 0) break;
      size += static_cast<std::size_t>(got);
    }
  }
  ::close(fd);
  std::optional<TIconFile> icon = ReadBitmapHeader(bytes.data(), size);
  if (icon) icon->Path = path;
  return icon;
}

}  // namespace

std::optional<TIconFile> FindIconFile(std::string_view name, std::string_view data_folder) {
  if (name.empty()) return std::nullopt;
  std::string written(name);
  std::replace(written.begin(), written.end(), '\\', '/');
  std::string folder(data_folder);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  if (auto icon = ProbeFile(JoinPath(folder, written))) return icon;
  const std::string program_folder = ProgramFolder();
  const std::string file_name = FileNameOf(written);
  if (program_folder.empty() || file_name.empty()) return std::nullopt;
  return ProbeFile(JoinPath(program_folder, file_name));
}

}  // namespace pelo
