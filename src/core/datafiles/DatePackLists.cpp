#include "datafiles/DatePackLists.h"

#include "entries/Entries.h"

namespace pelo {

TPackFilter::TPackFilter(const TFilterSet& filter) noexcept : filter_(filter) {
  for (std::size_t i = 0; i < open_.size(); ++i) open_[i] = filter[i].Empty();
}

bool TPackFilter::PassesEntry(const TEntry& entry) const noexcept {
  // Sets 2 and 3 test two marks that no line of a data file can give an entry: 0 for every
  // entry. They stay in the filter, whose text form has eight sets.
  return Allows(0, entry.IsDeleted() ? 1 : 0) && Allows(1, entry.IsChecked() ? 1 : 0) &&
         Allows(2, 0) && Allows(3, 0) && Allows(4, entry.HashMarked ? 1 : 0) &&
         Allows(5, entry.Category) && Allows(7, entry.FileIndex);
}

}  // namespace pelo
