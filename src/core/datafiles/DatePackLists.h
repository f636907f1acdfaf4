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
  bool Passes(const TDatePack& pack) const noexcept;

 private:
  const TFilterSet& filter_;
  std::array<bool, TFilterSet::kCount> open_{};  // the set is empty: no test
};

class TDatePackList {
 public:
  void Clear() noexcept { packs_.clear(); }
  std::size_t Count() const noexcept { return packs_.size(); }
  const std::vector<TDatePack>& Packs() const noexcept { return packs_; }
  std::vector<TDatePack>& Packs() noexcept { return packs_; }

  // The entry position (ListIndex) of the k-th pack (from 0) that passes the filter and lies
  // on date, counting in list order; -1 when there is none.
  int32_t EntryAt(TDateRec date, const TFilterSet& filter, int32_t k) const noexcept;
  // How many filtered packs on date come before the first one of the entry at position;
  // -1 when the entry has none there.
  int32_t IndexOnDate(TDateRec date, const TFilterSet& filter, int32_t position) const noexcept;

 private:
  std::vector<TDatePack> packs_;
};

}  // namespace pelo
