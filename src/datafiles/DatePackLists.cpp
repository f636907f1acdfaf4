#include "datafiles/DatePackLists.h"

#include "entries/Datas.h"

namespace pelo {

namespace {

// A set tests a pack's value; an empty set lets everything through.
bool Allows(const TSmallSet& set, int32_t value) noexcept {
  return set.Empty() || set.Contains(value);
}

}  // namespace

bool PassesFilter(const TDatePack& pack, const TFilterSet& filter) noexcept {
  const TData* entry = pack.Entry;
  if (entry == nullptr) return false;
  return Allows(filter[0], entry->IsDeleted() ? 1 : 0) &&
         Allows(filter[1], entry->IsChecked() ? 1 : 0) &&
         Allows(filter[2], entry->MarkFlag ? 1 : 0) &&
         Allows(filter[3], entry->FilterFlag ? 1 : 0) &&
         Allows(filter[4], entry->HashMarked ? 1 : 0) && Allows(filter[5], entry->Category) &&
         Allows(filter[6], pack.Kind) && Allows(filter[7], entry->FileIndex);
}

int32_t TDatePackList::EntryAt(TDateRec date, const TFilterSet& filter, int32_t k) const noexcept {
  if (k < 0) return -1;
  for (const TDatePack& pack : packs_) {
    if (pack.Date() != date || !PassesFilter(pack, filter)) continue;
    if (k-- == 0) return pack.Entry->ListIndex;
  }
  return -1;
}

int32_t TDatePackList::IndexOnDate(TDateRec date, const TFilterSet& filter,
                                   int32_t position) const noexcept {
  int32_t k = 0;
  for (const TDatePack& pack : packs_) {
    if (pack.Date() != date || !PassesFilter(pack, filter)) continue;
    if (pack.Entry->ListIndex == position) return k;
    ++k;
  }
  return -1;
}

}  // namespace pelo
