#include "AgendaInputs.h"

#include <string_view>

#include "datafiles/DataFileReads.h"
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

// What stood in the way of reading a page file, in the words of the warning.
std::string_view ProblemText(TFileReadStatus status) {
  switch (status) {
    case TFileReadStatus::kMissing:
      return "not found";
    case TFileReadStatus::kNotAFile:
      return "is not a regular file";
    case TFileReadStatus::kTooLarge:
      return "is too large for a page file";
    case TFileReadStatus::kUnreadable:
    case TFileReadStatus::kRead:
      break;
  }
  return "cannot be read";
}

// "page file 'PATH' not found; its settings are not used", and the same for every reason.
std::string PageFileWarning(const std::string& path, TFileReadStatus status) {
  return Concat({"page file '", path, "' ", ProblemText(status), "; its settings are not used"});
}

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
    TFileReadStatus status = TFileReadStatus::kRead;
    const TIniFile ini = TIniFile::Read(path, status);
    if (status != TFileReadStatus::kRead) {
      warnings.push_back(PageFileWarning(path, status));
      continue;
    }
    TPage page(kScreenHeight);
    if (page.Read(ini, kPageSection)) filter = page.Schedule.Filter;
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
