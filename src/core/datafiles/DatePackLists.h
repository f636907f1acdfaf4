#pragma once

// The day packs of every visible entry over the day table's years, in entry-list order (and,
// for one entry, in the order its occurrences came), and the filter that decides which of
// them a schedule shows.

#include <array>
#include <cstdint>
#include <vector>

#include "calendar/Dates.h"
#include "entries/DatePacks.h"
#include "text/SmallSets.h"

namespace pelo {

// The eight filter tests of a pack: deleted, checked, two marks that are 0 in every entry,
// hash mark, category, kind, file index. An empty set lets everything through. The empty sets
// are found once, for running a filter over many packs (a four-year table holds hundreds of
// thousands). Refers to the filter, which must outlive it.
class TPackFilter {
 public:
  explicit TPackFilter(const TFilterSet& filter) noexcept;
  bool Passes(const TDatePack& pack) const noexcept {
    return pack.Entry != nullptr && PassesEntry(*pack.Entry) && PassesKind(pack.Kind);
  }
  // The two halves of Passes: the tests of the pack's entry, the same for all its packs, and
  // the test of its kind.
  bool PassesEntry(const TEntry& entry) const noexcept;
  bool PassesKind(int32_t kind) const noexcept { return Allows(6, kind); }

 private:
  bool Allows(std::size_t set, int32_t value) const noexcept {
    return open_[set] || filter_[set].Contains(value);
  }

  const TFilterSet& filter_;
  std::array<bool, TFilterSet::kCount> open_{};  // the set is empty: no test
};

class TDatePackList {
 public:
  void Clear() noexcept {
    packs_.clear();
    ++generation_;
  }
  std::size_t Count() const noexcept { return packs_.size(); }
  const std::vector<TDatePack>& Packs() const noexcept { return packs_; }
  std::vector<TDatePack>& Packs() noexcept {
    ++generation_;
    return packs_;
  }
  // Changes whenever the packs may have: with Clear and with every hand-out for writing. What
  // refers to packs by their place (the day table) can tell that its places are gone.
  uint64_t Generation() const noexcept { return generation_; }

 private:
  std::vector<TDatePack> packs_;
  uint64_t generation_ = 0;
};

}  // namespace pelo
