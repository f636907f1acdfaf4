#pragma once

// A font description in one call: face and size, then the styles in their stored order.

#include <cstdint>
#include <string>
#include <utility>

#include "text/Fonts.h"

namespace pelo::test {

inline TFontSpec FontSpec(std::string name, int32_t size, bool bold = false, bool italic = false,
                          bool underline = false, bool strike_out = false, uint32_t color = 0) {
  return {.Name = std::move(name),
          .Size = size,
          .Bold = bold,
          .Italic = italic,
          .Underline = underline,
          .StrikeOut = strike_out,
          .Color = color};
}

}  // namespace pelo::test
