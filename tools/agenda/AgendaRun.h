#pragma once

// The whole of pelo-agenda as one call: the command line read, the files loaded and the days
// printed, with what goes to standard output and standard error handed in as streams.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "entries/PackBudgets.h"

namespace pelo::agenda {

inline constexpr int kExitFileProblem = 1;
inline constexpr int kExitUsage = 2;

// Runs the program on args (without the program name); returns its exit status. Today is
// --today, else the system clock's date. pack_budget bounds the day packs and the loaded
// entries (TEntryList).
int RunAgenda(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              std::size_t pack_budget = kDayPackBudget);

}  // namespace pelo::agenda
