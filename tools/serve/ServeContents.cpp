#include "ServeContents.h"

#include <algorithm>
#include <sstream>

#include "AgendaInputs.h"
#include "calendar/Calendars.h"
#include "calendar/Kyurekis.h"
#include "datafiles/EntryLists.h"
#include "entries/Entries.h"
#include "schedule/ICalendars.h"

namespace pelo::serve {

namespace {

// DayRows evaluates the years of its window, from.Year - 1 .. from.Year + 2.
constexpr int32_t kYearsPerPass = 3;

}  // namespace

std::vector<TDayRow> SpanRows(TEntryList& list, const TFilterSet& filter,
                              const TShownSettings& settings, TDateRec from, TDateRec to,
                              TDateRec today) {
  TCalendar calendar(today, settings.calendar);
  std::vector<TDayRow> rows;
  for (TDateRec start = from; DayNumber(start) <= DayNumber(to);) {
    const TDateRec window_end{start.Year + kYearsPerPass - 1, 12, 31};
    const TDateRec end = DayNumber(window_end) < DayNumber(to) ? window_end : to;
    std::vector<TDayRow> part =
        agenda::ShownRows(list, calendar, filter, settings.grep, start, end);
    rows.insert(rows.end(), std::make_move_iterator(part.begin()),
                std::make_move_iterator(part.end()));
    if (end == to) break;
    start = AddDays(end, 1);
  }
  return rows;
}

std::string FeedBody(TEntryList& list, const TFilterSet& filter, const TShownSettings& settings,
                     TDateRec from, TDateRec to, TDateRec today) {
  const std::vector<TDayRow> rows = SpanRows(list, filter, settings, from, to, today);
  // Room for the whole feed at once: a body of tens of megabytes that grows by doubling spends
  // as long on copying itself as on being written.
  constexpr std::size_t kBytesPerEvent = 192;
  std::string room;
  room.reserve((rows.size() + 8) * kBytesPerEvent);
  std::ostringstream out(std::move(room));
  WriteICalendar(
      out, list, rows, today,
      {"X-WR-CALNAME:ぺろん", "REFRESH-INTERVAL;VALUE=DURATION:PT1H", "X-PUBLISHED-TTL:PT1H"});
  return std::move(out).str();
}

std::vector<TPageDay> PageDays(TEntryList& list, const TFilterSet& filter,
                               const TShownSettings& settings, TDateRec from, TDateRec to,
                               TDateRec today, bool notes) {
  TCalendar calendar(today, settings.calendar);
  const std::vector<TDayRow> rows =
      agenda::ShownRows(list, calendar, filter, settings.grep, from, to);
  std::vector<TPageDay> days;
  std::size_t next = 0;
  for (TDateRec date = from; DayNumber(date) <= DayNumber(to); date = AddDays(date, 1)) {
    TPageDay& day = days.emplace_back();
    day.Date = date;
    if (calendar.IsHoliday(date)) day.Holiday = calendar.HolidayName(date);
    day.Closed = calendar.IsHoliday(date) || calendar.IsPrivateHoliday(date);
    day.Today = date == today;
    day.Rokuyo = RokuyoName(date, TCalendarKind::kCurrent);
    day.LunarDate = LunarDateText(date, TCalendarKind::kCurrent);
    for (; next < rows.size() && rows[next].Date == date; ++next) {
      TPageLine& line = day.Lines.emplace_back();
      line.Text = rows[next].Text;
      const TEntry& entry = *rows[next].Entry;
      const TEntry& read = entry.Parent != nullptr ? *entry.Parent : entry;
      if (notes && read.NoteLines) line.Note = *read.NoteLines;
    }
    if (date == kLastCalendarDate) break;
  }
  return days;
}

}  // namespace pelo::serve
