#pragma once

// Where the main window goes at start: the placement the store holds, read value by value,
// then kept where the user can reach it on the screens there are now. Counted in 64 bits, so
// that no stored number, however large, can overflow the arithmetic or reach the window
// system; no Qt, so that a build without the viewer can fuzz it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelo {

// A rectangle of screen pixels: its left and top edge, its width and height.
struct TScreenRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TScreenRect&) const = default;
};

// The values of the store as text, each absent when it was never written.
struct TStoredPlacement {
  std::optional<std::string> Maximized = std::nullopt;
  std::optional<std::string> Left = std::nullopt;
  std::optional<std::string> Top = std::nullopt;
  std::optional<std::string> Width = std::nullopt;
  std::optional<std::string> Height = std::nullopt;
};

struct TWindowPlacement {
  bool Maximized = false;
  TScreenRect Bounds;  // the normal bounds; the window's own when it opens maximised
  bool operator==(const TWindowPlacement&) const = default;
};

// The strip at the top of a window where the user grabs it (its title bar), and how much of
// that strip must show on one screen for the window to count as reachable.
inline constexpr int32_t kGrabHeight = 24;
inline constexpr int32_t kGrabMinHeight = 8;
inline constexpr int32_t kGrabWidth = 48;

// The placement the window opens with. own: the window's bounds before anything is restored;
// areas: the available area of every screen; primary: that of the primary screen.
// - Maximized holds a decimal integer other than 0: maximised, and nothing else is read.
// - Nothing stored at all (the first run): two thirds of the primary area each way, no
//   smaller than own and never larger than the area, centred on it.
// - Otherwise Left, Top, Width and Height as stored, each one that is missing or no decimal
//   32-bit integer (and a size below 1) taking own's; then fitted to the area that shows most
//   of its top strip (a side larger than the area becomes the area's span) and kept there when
//   enough of the strip shows for the user to grab it; else centred on primary, no larger.
// Without a screen (no areas, or an empty primary) the window keeps own.
TWindowPlacement PlaceWindow(const TStoredPlacement& stored, const TScreenRect& own,
                             const std::vector<TScreenRect>& areas, const TScreenRect& primary);

}  // namespace pelo
