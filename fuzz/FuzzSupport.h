#pragma once

// What the fuzz targets share.

#include <cstddef>
#include <cstdlib>

namespace pelo::fuzz {

// The pack budget of the entry lists fuzzed: far below the program's, so that every input
// stays quick and the budget's stop is reached often.
inline constexpr std::size_t kFuzzPackBudget = 20000;

// A broken promise is a finding.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace pelo::fuzz
