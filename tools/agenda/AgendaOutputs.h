#pragma once

// What pelo-agenda prints.

#include <string>

#include "calendar/Dates.h"

namespace pelo::agenda {

// YYYY/MM/DD, zero-padded.
std::string AgendaDateText(TDateRec date);

// One TSV row per day from from to to: date, weekday, holiday code, holiday, rokuyo, old
// date, era with its year, zodiac animal, western sign.
std::string DaysTable(TDateRec from, TDateRec to);

}  // namespace pelo::agenda
