#include "datafiles/DatePackLists.h"

#include "entries/Entries.h"

namespace pelo {

TPackFilter::TPackFilter(const TFilterSet& filter) noexcept : filter_(filter) {
  for (std::size_t i = 0; i < open_.size(); ++i) open_[i] = filter[i].Empty();
}

bool TPackFilter::Passes(const TDatePack& pack) const noexcept {
  const TEntry* entry = pack.Entry;
  if (entry == nullptr) return false;
  const auto allows = [this](std::size_t set, int32_t value) {
    return open_[set] || filter_[set].Contains(value);
  };
  // Sets 2 and 3 test two marks that no line of a data file can give an entry: 0 for every
  // entry. They stay in the filter, whose text form has eight sets.
  return allows(0, entry->IsDeleted() ? 1 : 0) && allows(1, entry->IsChecked() ? 1 : 0) &&
         allows(2, 0) && allows(3, 0) && allows(4, entry->HashMarked ? 1 : 0) &&
         allows(5, entry->Category) && allows(6, pack.Kind) && allows(7, entry->FileIndex);
}

}  // namespace pelo
