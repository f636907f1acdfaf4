#pragma once

// The bound on what the entries of a file may make of memory. Cost grows with the days the
// entries fall on, not with the size of the file: a line that falls on every day makes about
// 1,500 packs in a four-year window, so a few kilobytes of such lines could take gigabytes.
// One window may make at most kDayPackBudget packs, and what the entries read from the files
// hold is counted in packs as well, against a budget of the same size.

#include <algorithm>
#include <cstddef>

#include "entries/DatePacks.h"

namespace pelo {

// Eight million packs, or as many as a growing vector of them holds in 1 GiB, whichever is
// less: while it grows a vector may take twice the size of its packs.
inline constexpr std::size_t kDayPackBudget =
    std::min<std::size_t>(8'000'000, (std::size_t{1} << 30) / (2 * sizeof(TDatePack)));

// What an object of bytes bytes counts in packs: at least one.
constexpr std::size_t PackShare(std::size_t bytes) noexcept {
  return std::max<std::size_t>(1, (bytes + sizeof(TDatePack) - 1) / sizeof(TDatePack));
}

class TPackBudget {
 public:
  explicit TPackBudget(std::size_t limit = kDayPackBudget) noexcept : left_(limit) {}

  // Takes count packs; false, taking nothing, when fewer are left. The first refusal spends
  // the budget: every later Take is refused too, so whatever stopped stays stopped.
  bool Take(std::size_t count = 1) noexcept {
    if (spent_ || count > left_) {
      spent_ = true;
      return false;
    }
    left_ -= count;
    return true;
  }
  // Something was refused.
  bool Spent() const noexcept { return spent_; }

 private:
  std::size_t left_;
  bool spent_ = false;
};

}  // namespace pelo
