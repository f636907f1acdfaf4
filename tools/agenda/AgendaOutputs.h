#pragma once

// What pelo-agenda prints: the calendar information of each day, and the lines the schedule
// grid shows, as text for people, as TSV and as an iCalendar file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Dates.h"
#include "text/SmallSets.h"

namespace pelo {
class TCalendar;
class TEntry;
class TEntryList;
struct TTime;
}  // namespace pelo

namespace pelo::agenda {

// YYYY/MM/DD, zero-padded.
std::string AgendaDateText(TDateRec date);

// One TSV row per day from from to to: date, weekday, holiday code, holiday, rokuyo, old
// date, era with its year, zodiac animal, western sign, all in the calendar's kind. The
// holidays are the calendar's, its window set to start at AgendaFirstYear(from) as for the
// rows and moved on the same way (from the year before) when the span leaves it.
std::string DaysTable(TCalendar& calendar, TDateRec from, TDateRec to);

// One line of a day cell.
struct TAgendaRow {
  TDateRec Date;
  int32_t Kind = 0;               // the pack's kind, 0..4
  const TEntry* Entry = nullptr;  // not owned
  std::string Text;               // exactly the cell's line
  int32_t Place = 0;              // 0 for the day's first line
};

// The first year of the viewer's day-table window for a grid whose first shown day is from.
int32_t AgendaFirstYear(TDateRec from) noexcept;

// The lines the day cells from from to to show, days in order and, within a day, in pack-list
// order: the day packs of the list over the window of AgendaFirstYear(from) that pass filter,
// built with the calendar (TEntryList::VisitTable, which also marks its private holidays).
// The packs are streamed: only those shown are kept.
std::vector<TAgendaRow> AgendaRows(TEntryList& list, TCalendar& calendar, const TFilterSet& filter,
                                   TDateRec from, TDateRec to);

// "a.nrk:12": the file name without folder and the line of the entry (of the parent for an
// entry made from a birthday entry).
std::string RowSource(const TEntryList& list, const TEntry& entry);

// A heading per day with lines ("2024/5/1(水)", two blanks and the holiday name when the day
// is one in the calendar), then the lines indented by two blanks.
std::string TextOutput(const TCalendar& calendar, const std::vector<TAgendaRow>& rows);

// DATE WEEKDAY HOLIDAY KIND SOURCE TEXT, tab-separated, one row per line.
std::string TsvOutput(const TCalendar& calendar, const TEntryList& list,
                      const std::vector<TAgendaRow>& rows);

// An RFC 5545 calendar with one event per line, CRLF line ends, folded at 75 octets. Nothing
// in it depends on the clock: the stamp is today's date, the UIDs come from the rows.
std::string IcsOutput(const TEntryList& list, const std::vector<TAgendaRow>& rows, TDateRec today);

// ---- Pieces of the iCalendar form ----

// A clock time on a day: minutes from the day's midnight, 24:00 and later on the next day.
// A twelve-hour time is read as the cell shows it (hour mod 12, pm from 12 on): "12:00pm"
// shows as "0:00pm" and is noon.
int32_t ClockMinutes(const TTime& time) noexcept;

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

// The event's UID: the hash of the file's path and the line, the date and the place within
// the day. Stable for the same files and unique within one output.
std::string EventUid(std::string_view path, int32_t line_no, TDateRec date, int32_t place);

}  // namespace pelo::agenda
