// Arbitrary bytes as a whole data file: loaded into an entry list as the viewer loads a file,
// then the day packs of four years and the day table filled from them, so that the walk of
// every date expression, the conditions, the derived days and the line texts are fuzzed too.
// The window and today are chosen by the input (a hash of it, so that any mutation may move
// them): a quarter of the inputs look at the calendar's first years, a quarter at its last, a
// quarter at a window of our time and the rest anywhere between. The same input always runs
// the same. Beyond not crashing, the table must keep its promises: one line per pack, no line
// wider than the limit, and the lookups between lines and entries agreeing with each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "calendar/Calendars.h"
#include "calendar/Dates.h"
#include "datafiles/EntryLists.h"
#include "entries/AnnotationCodes.h"
#include "entries/Entries.h"
#include "schedule/DayTables.h"
#include "text/Texts.h"

namespace {

using pelo::fuzz::Check;
using pelo::fuzz::kFuzzPackBudget;

// The windows the viewer can show: from the one of the calendar's first day to the one of its
// last (the window begins the year before the first shown day).
constexpr int32_t kEarliestWindow = pelo::kFirstCalendarDate.Year - 1;
constexpr int32_t kLatestWindow = pelo::kLastCalendarDate.Year - 1;
constexpr int32_t kPresentWindow = 2023;

struct TWindow {
  int32_t first_year;
  pelo::TDateRec today;
};

TWindow WindowOf(const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 1099511628211ull;
  }
  const auto pick = [&hash](uint64_t count) {
    const auto value = static_cast<int32_t>(hash % count);
    hash /= count;
    return value;
  };
  TWindow window{};
  switch (pick(4)) {
    case 0:
      window.first_year = kEarliestWindow + pick(3);
      break;
    case 1:
      window.first_year = kLatestWindow - pick(3);
      break;
    case 2:
      window.first_year = kPresentWindow;
      break;
    default:
      window.first_year = kEarliestWindow + pick(kLatestWindow - kEarliestWindow + 1);
      break;
  }
  // Today lies in the window, on a day of the calendar.
  const pelo::TDateRec day = pelo::AddDays({window.first_year + 1, 1, 1}, pick(731));
  window.today = pelo::DayNumber(day) < pelo::kFirstCalendarDay  ? pelo::kFirstCalendarDate
                 : pelo::DayNumber(day) > pelo::kLastCalendarDay ? pelo::kLastCalendarDate
                                                                 : day;
  return window;
}

// Nobody to tell: loading problems are part of the game.
class TSilentNotices : public pelo::TUserNotices {
 public:
  void Beep(pelo::TBeepKind) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowLoadErrors(const pelo::TLoadErrorReport&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelo;
  // The table's 1488 cells are made once; every Fill empties them.
  static TDayTable table(0);
  const TWindow window = WindowOf(data, size);
  const int32_t first_year = window.first_year;
  table.SetFirstYear(first_year);
  TCalendar calendar(window.today);

  TSilentNotices notices;
  TEntryList list(notices, window.today, kFuzzPackBudget);
  list.LoadFromBytes("fuzz.nrk", std::string(reinterpret_cast<const char*>(data), size));
  list.SetTable(calendar, first_year, TDayTable::kYearCount);
  const TFilterSet everything;
  table.SetFilter(everything);
  // Both orders of a day's lines, by the input's length.
  table.SetSortByTime(size % 2 == 1);
  table.Fill(&list.DatePacks());

  // Every pack lies in the window and gets its line.
  int64_t lines = 0;
  for (int32_t year = first_year; year < first_year + TDayTable::kYearCount; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= 31; ++day) {
        const TCellLineList* cell = table.Cell({year, month, day});
        Check(cell != nullptr);
        Check(day <= DaysInMonth(year, month) || cell->Count() == 0);
        for (int32_t i = 0; i < cell->Count(); ++i) {
          Check(SjisWidth(cell->Text(i)) <= kMaxLineTextWidth);
          Check(cell->Info(i).Entry != nullptr);
        }
        lines += cell->Count();
      }
    }
  }
  Check(lines == static_cast<int64_t>(list.DatePacks().Count()));
  Check(list.DatePacks().Count() <= kFuzzPackBudget);

  // The first and the last pack: their entry is found on their day, at the line that
  // LineOfEntry names, which shows that entry.
  const auto& packs = list.DatePacks().Packs();
  for (const TDatePack* pack :
       {packs.empty() ? nullptr : &packs.front(), packs.empty() ? nullptr : &packs.back()}) {
    if (pack == nullptr) continue;
    const int32_t position = pack->Entry->ListIndex;
    Check(list.Entry(position) == pack->Entry);
    const int32_t k = table.LineOfEntry(pack->Date(), position);
    Check(k >= 0);
    Check(table.Cell(pack->Date())->Info(k).Entry == pack->Entry);
    // The search walks from days of the calendar only; the window may reach beyond it.
    if (CheckCalendarRange(pack->Date()) != kDateUsable) continue;
    TDateRec found = pack->Date();
    Check(table.FindEntryDate(position, found) && found == pack->Date());
    table.FocusDate(pack->Date());
    table.FocusEntry(position);
    Check(table.FocusedDate() == pack->Date() && table.FocusedEntry() == position);
    Check(table.Cell(pack->Date())->Selected() == k);
  }
  return 0;
}
