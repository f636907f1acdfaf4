#include "entries/IconFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/Paths.h"

namespace pelo {

namespace {

// The file header and a Windows bitmap header: everything the check reads.
constexpr std::size_t kHeaderBytes = 54;
constexpr uint32_t kFileHeaderSize = 14;
// The old OS/2 core header: unsigned 16-bit sizes, three-byte palette entries, bottom-up only
// and never compressed.
constexpr uint32_t kCoreHeaderSize = 12;

enum TCompression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct TBitmapLayout {
  uint32_t info_size = 0;
  uint32_t pixel_offset = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: stored top-down
  uint32_t planes = 0;
  uint32_t bits = 0;
  uint32_t compression = kRgb;
  uint32_t colors_used = 0;  // 0: as many as the bits can tell apart
};

uint32_t Le16(std::string_view bytes, std::size_t at) noexcept {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
         (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}

uint32_t Le32(std::string_view bytes, std::size_t at) noexcept {
  return Le16(bytes, at) | (Le16(bytes, at + 2) << 16);
}

std::optional<TBitmapLayout> ReadLayout(std::string_view head) {
  if (head.size() < 18 || head[0] != 'B' || head[1] != 'M') return std::nullopt;
  TBitmapLayout layout;
  layout.info_size = Le32(head, 14);
  layout.pixel_offset = Le32(head, 10);
  if (layout.info_size == kCoreHeaderSize) {
    if (head.size() < kFileHeaderSize + kCoreHeaderSize) return std::nullopt;
    layout.width = Le16(head, 18);
    layout.height = Le16(head, 20);
    layout.planes = Le16(head, 22);
    layout.bits = Le16(head, 24);
    return layout;
  }
  const uint32_t info = layout.info_size;
  if (info != 40 && info != 52 && info != 56 && info != 108 && info != 124) return std::nullopt;
  if (head.size() < kHeaderBytes) return std::nullopt;
  layout.width = static_cast<int32_t>(Le32(head, 18));
  layout.height = static_cast<int32_t>(Le32(head, 22));
  layout.planes = Le16(head, 26);
  layout.bits = Le16(head, 28);
  layout.compression = Le32(head, 30);
  layout.colors_used = Le32(head, 46);
  return layout;
}

// A pixel format a bitmap can have: the compression must fit the bits per pixel.
bool FormatKnown(const TBitmapLayout& layout) {
  const uint32_t bits = layout.bits;
  if (layout.planes != 1) return false;
  if (layout.info_size == kCoreHeaderSize) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
  }
  switch (layout.compression) {
    case kRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitFields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

// The headers, the colour masks and the palette, which all come before the pixels; nothing
// when the palette holds more colours than the pixels can name.
std::optional<uint64_t> BytesBeforePixels(const TBitmapLayout& layout) {
  uint64_t bytes = uint64_t{kFileHeaderSize} + layout.info_size;
  if (layout.info_size == 40 && layout.compression == kBitFields) bytes += 12;
  if (layout.bits <= 8) {
    const uint64_t most = uint64_t{1} << layout.bits;
    const uint64_t colors = layout.colors_used != 0 ? layout.colors_used : most;
    if (colors > most) return std::nullopt;
    bytes += colors * (layout.info_size == kCoreHeaderSize ? 3 : 4);
  }
  return bytes;
}

// Whether the file holds the palette and the pixels the header describes. Compressed pixels
// have no size of their own; they need at least their end mark.
bool FitsFile(const TBitmapLayout& layout, std::uintmax_t file_size) {
  const std::optional<uint64_t> before = BytesBeforePixels(layout);
  if (!before || layout.pixel_offset < *before) return false;
  uint64_t pixel_bytes = 2;
  if (layout.compression == kRgb || layout.compression == kBitFields) {
    const uint64_t row_bytes = (static_cast<uint64_t>(layout.width) * layout.bits + 31) / 32 * 4;
    pixel_bytes =
        row_bytes * static_cast<uint64_t>(layout.height < 0 ? -layout.height : layout.height);
  }
  return uint64_t{layout.pixel_offset} + pixel_bytes <= file_size;
}

}  // namespace

std::optional<TIconFile> CheckBitmapHeader(std::string_view head, std::uintmax_t file_size) {
  const std::optional<TBitmapLayout> layout = ReadLayout(head);
  if (!layout || !FormatKnown(*layout)) return std::nullopt;
  const int64_t height = layout->height < 0 ? -layout->height : layout->height;
  if (layout->width < 1 || layout->width > kMaxPictureSide || height < 1 ||
      height > kMaxPictureSide) {
    return std::nullopt;
  }
  // Compressed pixels are always stored bottom-up.
  if (layout->height < 0 && layout->compression != kRgb && layout->compression != kBitFields) {
    return std::nullopt;
  }
  if (!FitsFile(*layout, file_size)) return std::nullopt;
  return TIconFile{{}, static_cast<int32_t>(layout->width), static_cast<int32_t>(height)};
}

namespace {

// The file at path when it is a regular file that passes the header check and the given
// check. A pipe, a device or a folder never gets opened, and the open itself cannot block.
std::optional<TIconFile> ProbeFile(const std::string& path, const TPictureCheck& check) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::array<char, kHeaderBytes> bytes{};
  std::size_t size = 0;
  // The file may have been swapped for something else since the stat: ask the open file.
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  while (regular && size < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (got <= 0) break;
    size += static_cast<std::size_t>(got);
  }
  ::close(fd);
  if (!regular) return std::nullopt;
  std::optional<TIconFile> icon = CheckBitmapHeader(std::string_view(bytes.data(), size),
                                                    static_cast<std::uintmax_t>(info.st_size));
  if (!icon) return std::nullopt;
  icon->Path = path;
  if (check && !check(*icon)) return std::nullopt;
  return icon;
}

}  // namespace

std::optional<TIconFile> FindIconFile(std::string_view name, std::string_view data_folder,
                                      const TPictureCheck& check) {
  if (name.empty()) return std::nullopt;
  std::string written(name);
  std::replace(written.begin(), written.end(), '\\', '/');
  std::string folder(data_folder);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  if (auto icon = ProbeFile(JoinPath(folder, written), check)) return icon;
  const std::string program_folder = ProgramFolder();
  const std::string file_name = FileNameOf(written);
  if (program_folder.empty() || file_name.empty()) return std::nullopt;
  return ProbeFile(JoinPath(program_folder, file_name), check);
}

}  // namespace pelo
