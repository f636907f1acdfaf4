#include "AgendaInputs.h"

#include <filesystem>

#include "datafiles/EntryLists.h"
#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "schedule/RowSearches.h"
#include "schedule/ScheduleSettings.h"
#include "text/Texts.h"

namespace pelo::agenda {

namespace {

// The page files are read as on a screen of ordinary height; only the filter is taken, and
// that is the same on every screen.
constexpr int32_t kScreenHeight = 768;

}  // namespace

bool LoadDataFiles(TEntryList& list, const std::vector<std::string>& paths) {
  // LoadFiles without losing which file failed.
  list.Clear();
  bool all_read = true;
  for (const std::string& path : paths) {
    if (!list.LoadFromFile(path)) all_read = false;
  }
  return all_read;
}

void ReadPageFilter(const std::vector<std::string>& paths, TFilterSet& filter,
                    std::vector<std::string>& warnings) {
  for (const std::string& path : paths) {
    // A file we may not look at is there all the same: it reads as empty, as in the viewer.
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
      warnings.push_back(Concat({"page file '", path, "' not found; its settings are not used"}));
      continue;
    }
    TPage page(kScreenHeight);
    if (page.Read(TIniFile(path), kPageSection)) filter = page.Schedule.Filter;
  }
}

TFilterSet ShownFilter(const TInputOptions& inputs, std::vector<std::string>& warnings) {
  TFilterSet filter = TScheduleSettings{}.Filter;
  ReadPageFilter(inputs.page_files, filter, warnings);
  if (inputs.filter) filter = *inputs.filter;
  return filter;
}

std::vector<TDayRow> ShownRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                               const std::optional<std::string>& grep, TDateRec from, TDateRec to) {
  std::vector<TDayRow> rows = DayRows(list, calendar, filter, from, to);
  if (grep) rows = MatchingRows(list, std::move(rows), *grep);
  return rows;
}

}  // namespace pelo::agenda
