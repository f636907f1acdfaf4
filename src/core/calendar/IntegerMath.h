#pragma once

// Integer helpers the date arithmetic and the layouts built on it share: division that rounds
// toward minus infinity, and wide intermediate values brought back into 32 bits. Codes,
// adjustments and steps in a data line may be any 32-bit values, so sums of them are worked
// out in 64 bits and clamped on the way back.

#include <algorithm>
#include <cstdint>

namespace pelo {

// The quotient rounded toward minus infinity; divisor != 0.
constexpr int64_t FloorDiv(int64_t a, int64_t b) noexcept {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The remainder that goes with FloorDiv: in [0, b) for b > 0.
constexpr int64_t FloorMod(int64_t a, int64_t b) noexcept { return a - FloorDiv(a, b) * b; }

// The bound years and months come back through: far outside any calendar, and far enough from
// int32_t's own limits that a few years or months more can still be added without overflow.
inline constexpr int64_t kFieldLimit = 1'000'000'000;

// v clamped to [low, high] as an int32_t (by default to the field bound).
constexpr int32_t ClampToInt32(int64_t v, int64_t low = -kFieldLimit,
                               int64_t high = kFieldLimit) noexcept {
  return static_cast<int32_t>(std::clamp(v, low, high));
}

static_assert(FloorDiv(-1, 12) == -1 && FloorDiv(12, 12) == 1 && FloorDiv(-12, 12) == -1);
static_assert(FloorMod(-1, 7) == 6 && FloorMod(13, 7) == 6 && FloorMod(-7, 7) == 0);

}  // namespace pelo
