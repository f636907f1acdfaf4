#include "app/WindowPlacements.h"

#include <algorithm>

#include "text/Texts.h"

namespace pelo {

namespace {

int32_t StoredOr(const std::optional<std::string>& text, int32_t fallback) {
  int32_t value = fallback;
  return text.has_value() && ParseInt32(*text, value) ? value : fallback;
}

int64_t Right(const TScreenRect& rect) { return int64_t{rect.Left} + rect.Width; }
int64_t Bottom(const TScreenRect& rect) { return int64_t{rect.Top} + rect.Height; }

// How far two spans [begin, end) overlap.
int64_t Overlap(int64_t begin, int64_t end, int64_t other_begin, int64_t other_end) {
  return std::max<int64_t>(0, std::min(end, other_end) - std::max(begin, other_begin));
}

// How much of the window's top strip, where the user grabs it, shows on the area.
struct TStripShown {
  int64_t Width = 0;
  int64_t Height = 0;
};

TStripShown StripShown(const TScreenRect& window, const TScreenRect& area) {
  const int64_t strip_height = std::min(kGrabHeight, window.Height);
  return {Overlap(window.Left, Right(window), area.Left, Right(area)),
          Overlap(window.Top, window.Top + strip_height, area.Top, Bottom(area))};
}

bool Grabbable(const TScreenRect& window, const TScreenRect& area) {
  const TStripShown shown = StripShown(window, area);
  return shown.Width > 0 && shown.Height > 0 && shown.Width >= std::min(kGrabWidth, window.Width) &&
         shown.Height >= std::min(kGrabMinHeight, window.Height);
}

// No larger than the area; a side that has to shrink takes the area's whole span.
TScreenRect FittedTo(TScreenRect window, const TScreenRect& area) {
  if (window.Width > area.Width) {
    window.Width = area.Width;
    window.Left = area.Left;
  }
  if (window.Height > area.Height) {
    window.Height = area.Height;
    window.Top = area.Top;
  }
  return window;
}

// A size no larger than the area's, put in its middle.
TScreenRect CentredOn(int32_t width, int32_t height, const TScreenRect& area) {
  width = std::min(width, area.Width);
  height = std::min(height, area.Height);
  return {static_cast<int32_t>(area.Left + (int64_t{area.Width} - width) / 2),
          static_cast<int32_t>(area.Top + (int64_t{area.Height} - height) / 2), width, height};
}

// The screens may have changed since the placement was stored (a monitor unplugged, a lower
// resolution), or the store holds numbers no screen has: the window is fitted to the screen
// that shows most of its top strip, and a window still out of reach comes back onto the
// primary screen.
TScreenRect KeepReachable(const TScreenRect& window, const std::vector<TScreenRect>& areas,
                          const TScreenRect& primary) {
  const TScreenRect* home = nullptr;
  int64_t most_shown = 0;
  for (const TScreenRect& area : areas) {
    const TStripShown shown = StripShown(window, area);
    if (shown.Width * shown.Height > most_shown) {
      most_shown = shown.Width * shown.Height;
      home = &area;
    }
  }
  if (home != nullptr) {
    const TScreenRect fitted = FittedTo(window, *home);
    if (Grabbable(fitted, *home)) return fitted;
  }
  return CentredOn(window.Width, window.Height, primary);
}

bool NothingStored(const TStoredPlacement& stored) {
  return !stored.Maximized && !stored.Left && !stored.Top && !stored.Width && !stored.Height;
}

}  // namespace

TWindowPlacement PlaceWindow(const TStoredPlacement& stored, const TScreenRect& own,
                             const std::vector<TScreenRect>& areas, const TScreenRect& primary) {
  if (StoredOr(stored.Maximized, 0) != 0) return {true, own};
  if (areas.empty() || primary.Width <= 0 || primary.Height <= 0) return {false, own};
  if (NothingStored(stored)) {
    // The window's initial size is too small to read a week on today's screens.
    const auto share = [](int32_t length) { return static_cast<int32_t>(int64_t{length} * 2 / 3); };
    return {false, CentredOn(std::max(own.Width, share(primary.Width)),
                             std::max(own.Height, share(primary.Height)), primary)};
  }
  TScreenRect window{StoredOr(stored.Left, own.Left), StoredOr(stored.Top, own.Top),
                     StoredOr(stored.Width, own.Width), StoredOr(stored.Height, own.Height)};
  // A size of nothing cannot be grabbed either; the window keeps its own.
  if (window.Width <= 0) window.Width = own.Width;
  if (window.Height <= 0) window.Height = own.Height;
  return {false, KeepReachable(window, areas, primary)};
}

}  // namespace pelo
