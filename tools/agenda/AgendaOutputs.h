#pragma once

// What pelo-agenda prints: the calendar information of each day, and the lines the schedule
// grid shows, as text for people and as TSV (the iCalendar form is the core's, ICalendars.h).

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "calendar/Dates.h"
#include "schedule/DayRows.h"

namespace pelo {
class TCalendar;
class TEntryList;
}  // namespace pelo

namespace pelo::agenda {

// One TSV row per day from from to to: date, weekday, holiday code, holiday, rokuyo, old
// date, era with its year, zodiac animal, western sign, all in the calendar's kind. The
// holidays are the calendar's, its window set to start at WindowFirstYear(from) as for the
// rows and moved on the same way (from the year before) when the span leaves it.
std::string DaysTable(TCalendar& calendar, TDateRec from, TDateRec to);

// A heading per day with lines ("2024/5/1(水)", two blanks and the holiday name when the day
// is one in the calendar), then the lines indented by two blanks.
// Written to stream as it is made.
void WriteTextOutput(std::ostream& stream, const TCalendar& calendar,
                     const std::vector<TDayRow>& rows);

// DATE WEEKDAY HOLIDAY KIND SOURCE TEXT, tab-separated, one row per line; written to stream
// as it is made.
void WriteTsvOutput(std::ostream& stream, const TCalendar& calendar, const TEntryList& list,
                    const std::vector<TDayRow>& rows);

}  // namespace pelo::agenda
