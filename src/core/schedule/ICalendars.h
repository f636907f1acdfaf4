#pragma once

// The iCalendar form (RFC 5545) of day rows: one event per line of a day cell, all-day or
// timed by the entry's first time, the way pelo-agenda prints it and the viewer exports it.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Dates.h"
#include "schedule/DayRows.h"

namespace pelo {

class TEntryList;
struct TTime;

// An RFC 5545 calendar with one event per row, CRLF line ends, folded at 75 octets, written
// to stream as it is made. Nothing in it depends on the clock: the stamp is today's date, the
// UIDs come from the rows. calendar_properties ("NAME:VALUE", unfolded) follow the calendar's
// own lines.
void WriteICalendar(std::ostream& stream, const TEntryList& list, const std::vector<TDayRow>& rows,
                    TDateRec today, const std::vector<std::string>& calendar_properties = {});

// ---- Pieces of the iCalendar form ----

// The start and end of a timed event, from the row's date and its entry's first time set:
// the end, when there is one, lies after the start (an end not after it is on the next day).
struct TEventTimes {
  TDateRec StartDate;
  int32_t StartMinutes = 0;  // 0..1439
  bool HasEnd = false;
  TDateRec EndDate;
  int32_t EndMinutes = 0;
};
TEventTimes EventTimes(TDateRec date, const TTime& start, const TTime* end) noexcept;

// A TEXT value: backslash, semicolon, comma and line breaks escaped, other control
// characters as blanks.
std::string EscapeIcsText(std::string_view text);

// One content line with its CRLF, folded so that no line passes 75 octets and no UTF-8
// character is cut.
std::string FoldIcsLine(std::string_view line);

// The event's UID: the FNV-1a 64 hash of the file's name (without its folder), the pack's
// kind and the entry's line as written in the file, then the date and repeat, the count of
// the same line on that day before it. The same line on the same day keeps its UID however
// the other lines change, and however often the file is read.
std::string EventUid(std::string_view path, std::string_view source_line, int32_t kind,
                     TDateRec date, int32_t repeat);

}  // namespace pelo
