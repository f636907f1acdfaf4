// Arbitrary bytes as the placement store's file (Pelo.conf): the values of its FormMain group
// placed on a few screen layouts. Beyond not crashing (or overflowing, which the sanitizer
// catches), the placement must keep its promises: a maximised window keeps its own bounds;
// any other has a size, no larger than a screen on which part of its top strip shows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/WindowPlacements.h"
#include "schedule/IniFiles.h"

namespace {

using pelo::TScreenRect;

struct TLayout {
  std::vector<TScreenRect> areas;
  TScreenRect primary;
};

constexpr TScreenRect kDesign{287, 121, 484, 308};

const std::vector<TLayout>& Layouts() {
  static const std::vector<TLayout> layouts = {
      {{{0, 0, 1920, 1040}}, {0, 0, 1920, 1040}},
      {{{-1280, 200, 1280, 1024}, {0, 0, 2560, 1440}}, {0, 0, 2560, 1440}},
      {{{0, 0, 320, 240}}, {0, 0, 320, 240}},
  };
  return layouts;
}

bool StripShowsOn(const TScreenRect& window, const TScreenRect& area) {
  const int64_t strip_bottom = int64_t{window.Top} + std::min(24, window.Height);
  return window.Left < int64_t{area.Left} + area.Width &&
         int64_t{window.Left} + window.Width > area.Left &&
         window.Top < int64_t{area.Top} + area.Height && strip_bottom > area.Top;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelo;
  const TIniFile ini =
      TIniFile::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto value = [&ini](std::string_view key) -> std::optional<std::string> {
    if (!ini.KeyExists("FormMain", key)) return std::nullopt;
    return ini.ReadString("FormMain", key, "");
  };
  const TStoredPlacement stored{value("Maximized"), value("Left"), value("Top"), value("Width"),
                                value("Height")};

  for (const TLayout& layout : Layouts()) {
    const TWindowPlacement placed = PlaceWindow(stored, kDesign, layout.areas, layout.primary);
    if (placed.Maximized) {
      if (!(placed.Bounds == kDesign)) std::abort();
      continue;
    }
    const TScreenRect& bounds = placed.Bounds;
    if (bounds.Width <= 0 || bounds.Height <= 0) std::abort();
    bool on_a_screen = false;
    for (const TScreenRect& area : layout.areas) {
      on_a_screen = on_a_screen || (bounds.Width <= area.Width && bounds.Height <= area.Height &&
                                    StripShowsOn(bounds, area));
    }
    if (!on_a_screen) std::abort();
  }
  return 0;
}
