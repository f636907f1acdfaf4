// Arbitrary bytes as one line of a data file: decoded from CP932 as the loader does, parsed,
// copied, merged as a default and pinned, and every text form of the result built. Beyond not
// crashing: an error is the one the entry keeps, and it is placed inside the line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "entries/Entries.h"
#include "text/Cp932.h"
#include "text/Texts.h"

namespace {

std::size_t TextsOf(const pelo::TDateSetList* list) {
  if (list == nullptr) return 0;
  std::size_t size = 0;
  for (const pelo::TDateSet& set : list->Items()) {
    for (const pelo::TDateParts* parts : {set.Start(), set.End()}) {
      if (parts == nullptr) continue;
      for (int32_t i = 0; i < 3; ++i) {
        if (const pelo::TDateRec* triple = parts->Get(i)) {
          size += pelo::TDateClass(*triple).ToText().size();
        }
      }
    }
  }
  return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line =
      pelo::DecodeCp932(std::string_view(reinterpret_cast<const char*>(data), size));

  const pelo::TLineContext context{.Today = {2024, 5, 10}};
  pelo::TEntry entry;
  const pelo::TParseError error = entry.ParseLine(line, context);
  pelo::fuzz::Check(error.Message() == entry.ErrorText && error.Position() <= line.size());
  pelo::TEntry trimmed;
  static_cast<void>(trimmed.ParseLine(pelo::TrimControl(line), context));

  pelo::TEntry copy;
  copy.Assign(&entry);
  copy.MergeDefaults(trimmed);
  copy.SetFirstDate({2024, 3, 1});
  copy.SetCheckedMark(!copy.IsChecked(), context.Today);
  copy.SetDeletedMark(!copy.IsDeleted(), context.Today);

  std::size_t total = copy.Text.size() + copy.ErrorText.view().size() + TextsOf(entry.Dates.get()) +
                      TextsOf(copy.Dates.get()) + TextsOf(entry.DerivedDates.get());
  if (entry.Conditions) {
    for (const pelo::TDateSetList& list : entry.Conditions->Items()) total += TextsOf(&list);
  }
  if (entry.Times) total += pelo::TimeListText(*entry.Times).size();
  if (entry.Font) total += pelo::FontToText(*entry.Font).size();
  return total == SIZE_MAX ? 1 : 0;
}
