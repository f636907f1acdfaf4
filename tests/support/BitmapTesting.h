#pragma once

// Windows bitmap files made byte by byte, for the tests of the header check and of the
// decoding: every field can be set to what a broken or lying file would hold.

#include <cstdint>
#include <optional>
#include <string>

namespace pelo::test {

struct TBitmapLayout {
  uint32_t info_size = 40;  // 12: the old core header with 16-bit sizes
  int32_t width = 16;
  int32_t height = 16;  // negative: top-down
  uint32_t planes = 1;
  uint32_t bits = 24;
  uint32_t compression = 0;  // 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t colors_used = 0;
  int32_t offset_shift = 0;  // moves the pixel offset away from where the pixels start
  // Pixel bytes written; by default as many as uncompressed pixels need, or an RLE end mark.
  std::optional<uint32_t> pixel_bytes = std::nullopt;
};

inline void Put16(std::string& bytes, uint32_t value) {
  bytes.push_back(static_cast<char>(value & 0xFF));
  bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void Put32(std::string& bytes, uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

inline std::string Bitmap(const TBitmapLayout& layout) {
  const bool core = layout.info_size == 12;
  std::string info;
  Put32(info, layout.info_size);
  if (core) {
    Put16(info, static_cast<uint32_t>(layout.width));
    Put16(info, static_cast<uint32_t>(layout.height));
  } else {
    Put32(info, static_cast<uint32_t>(layout.width));
    Put32(info, static_cast<uint32_t>(layout.height));
  }
  Put16(info, layout.planes);
  Put16(info, layout.bits);
  if (!core) {
    Put32(info, layout.compression);
    for (int i = 0; i < 3; ++i) Put32(info, 0);  // image size, resolution
    Put32(info, layout.colors_used);
    Put32(info, 0);
  }
  info.resize(layout.info_size, '\0');
  if (layout.info_size == 40 && layout.compression == 3) {  // colour masks: 5-6-5 or 8-8-8
    const bool wide = layout.bits == 32;
    Put32(info, wide ? 0xFF0000 : 0xF800);
    Put32(info, wide ? 0x00FF00 : 0x07E0);
    Put32(info, wide ? 0x0000FF : 0x001F);
  }
  if (layout.bits <= 8 && layout.bits > 0) {  // a palette of grey levels
    const uint32_t colors = layout.colors_used != 0 ? layout.colors_used : 1u << layout.bits;
    for (uint32_t i = 0; i < colors; ++i) info.append(core ? 3 : 4, static_cast<char>(i));
  }
  const bool compressed = layout.compression == 1 || layout.compression == 2;
  uint32_t pixel_bytes = compressed ? 2 : 0;
  if (layout.pixel_bytes) {
    pixel_bytes = *layout.pixel_bytes;
  } else if (!compressed) {
    const int64_t rows = layout.height < 0 ? -int64_t{layout.height} : layout.height;
    const int64_t width = layout.width < 0 ? 0 : layout.width;
    pixel_bytes = static_cast<uint32_t>((width * layout.bits + 31) / 32 * 4 * rows);
  }

  std::string bytes = "BM";
  const uint32_t offset = 14 + static_cast<uint32_t>(info.size());
  Put32(bytes, offset + pixel_bytes);
  Put32(bytes, 0);
  Put32(bytes, offset + static_cast<uint32_t>(layout.offset_shift));
  bytes += info;
  std::string pixels(pixel_bytes, '\x55');
  if (compressed && pixel_bytes >= 2) pixels.replace(pixel_bytes - 2, 2, std::string("\0\1", 2));
  return bytes + pixels;
}

}  // namespace pelo::test
