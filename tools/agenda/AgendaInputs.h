#pragma once

// What pelo-agenda and pelo-serve read: the data files, loaded as the viewer loads them with their
// problems told on standard error (TConsoleNotices), and the filter of the page files.

#include <optional>
#include <string>
#include <vector>

#include "InputOptions.h"
#include "calendar/Dates.h"
#include "schedule/DayRows.h"
#include "text/SmallSets.h"

namespace pelo {
class TCalendar;
class TEntryList;
}  // namespace pelo

namespace pelo::agenda {

// Loads the data files in order into one entry list (emptied first). False when one of them
// was missing or could not be read; what did load stays.
bool LoadDataFiles(TEntryList& list, const std::vector<std::string>& paths);

// The filter of the page files: each file is read (its section "NerikaPage1"), and the last
// one whose section holds a page sets the filter. A file that cannot be read (missing, a
// folder, a FIFO, a device, unreadable, too large) changes nothing and adds a line to
// warnings. filter keeps its value when no file holds a page.
void ReadPageFilter(const std::vector<std::string>& paths, TFilterSet& filter,
                    std::vector<std::string>& warnings);

// The filter the rows pass: the default page's, then the page files' (ReadPageFilter), then
// --filter.
TFilterSet ShownFilter(const TInputOptions& inputs, std::vector<std::string>& warnings);

// The rows of the days from from to to that pass filter and, with grep, hold its text.
std::vector<TDayRow> ShownRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                               const std::optional<std::string>& grep, TDateRec from, TDateRec to);

}  // namespace pelo::agenda
