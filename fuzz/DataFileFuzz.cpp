// Arbitrary bytes as a whole data file: loaded into an entry list as the viewer loads a file,
// then the day packs of four years and the day table filled from them, so that the walk of
// every date expression, the conditions, the derived days and the line texts are fuzzed too.
// Today and the day information are fixed, so every run of an input is the same. Beyond not
// crashing, the table must keep its promises: one line per pack, no line wider than the
// limit, and the lookups between lines and entries agreeing with each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar/DateInfos.h"
#include "calendar/Texts.h"
#include "datafiles/DataLists.h"
#include "datafiles/DataTables.h"
#include "entries/AnnotationCodes.h"
#include "entries/Datas.h"

namespace {

constexpr int32_t kFirstYear = 2023;

// Nobody to tell: loading problems are part of the game.
class TSilentNotices : public pelo::TUserNotices {
 public:
  void Beep(pelo::TBeepKind) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowLoadErrors(const pelo::TLoadErrorReport&) override {}
};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelo;
  // The table's 1488 cells are made once; every Fill empties them.
  static TDataTable& table = []() -> TDataTable& {
    DateInfo().SetToday({2024, 5, 10});
    static TDataTable made;
    made.SetFirstYear(kFirstYear);
    return made;
  }();
  // Refilled for every input: it also clears the private holidays the last one marked.
  DateInfo().SetToday({2024, 5, 10});
  DateInfo().FillYears(kFirstYear);

  TSilentNotices notices;
  TDataList list(notices);
  list.LoadFromBytes("fuzz.nrk", std::string(reinterpret_cast<const char*>(data), size));
  list.SetTable(kFirstYear, TDataTable::kYearCount);
  const TFilterSet everything;
  table.SetFilter(everything);
  table.Fill(&list.DatePacks());

  // Every pack lies in the window and gets its line.
  int64_t lines = 0;
  for (int32_t year = kFirstYear; year < kFirstYear + TDataTable::kYearCount; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= 31; ++day) {
        const TViewList* cell = table.Cell({year, month, day});
        Check(cell != nullptr);
        Check(day <= DaysInMonth(year, month) || cell->Count() == 0);
        for (int32_t i = 0; i < cell->Count(); ++i) {
          Check(SjisWidth(cell->Text(i)) <= kMaxLineTextWidth);
          Check(cell->Info(i).Data != nullptr);
        }
        lines += cell->Count();
      }
    }
  }
  Check(lines == static_cast<int64_t>(list.DatePacks().Count()));

  // The first and the last pack: their entry is found on their day, at the line that
  // IndexOnDate names, and EntryAt gives the entry back.
  const auto& packs = list.DatePacks().Packs();
  for (const TDatePack* pack :
       {packs.empty() ? nullptr : &packs.front(), packs.empty() ? nullptr : &packs.back()}) {
    if (pack == nullptr) continue;
    const int32_t position = pack->Entry->ListIndex;
    Check(list.GetData(position) == pack->Entry);
    const int32_t k = list.DatePacks().IndexOnDate(pack->Date(), everything, position);
    Check(k >= 0);
    Check(list.DatePacks().EntryAt(pack->Date(), everything, k) == position);
    TDateRec found = pack->Date();
    Check(table.FindEntryDate(position, found) && found == pack->Date());
    table.FocusDate(pack->Date());
    table.FocusEntry(position);
    Check(table.FocusedDate() == pack->Date() && table.FocusedEntry() == position);
    Check(table.Cell(pack->Date())->Selected() == k);
  }
  return 0;
}
