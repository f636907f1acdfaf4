#pragma once

// What pelo-agenda reads: the data files, loaded as the viewer loads them with their problems
// told on standard error (TConsoleNotices), and the filter of the page files.

#include <string>
#include <vector>

#include "text/SmallSets.h"

namespace pelo {
class TEntryList;
}

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

}  // namespace pelo::agenda
