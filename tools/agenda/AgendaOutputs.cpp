#include "AgendaOutputs.h"

#include <algorithm>

#include "calendar/Calendars.h"
#include "calendar/DateTexts.h"
#include "calendar/Kyurekis.h"
#include "datafiles/DatePackLists.h"
#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "schedule/DayTables.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo::agenda {

namespace {

std::string HolidayOf(const TCalendar& calendar, TDateRec date) {
  return calendar.HolidayCode(date) > 0 ? calendar.HolidayName(date) : std::string();
}

// A cell line on one output line: tabs and line breaks (a CR LF pair as one) become blanks.
std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
  }
  return out;
}

}  // namespace

std::string AgendaDateText(TDateRec date) {
  return Concat({NumberText(date.Year, 4, kPadZero), "/", NumberText(date.Month, 2, kPadZero), "/",
                 NumberText(date.Day, 2, kPadZero)});
}

std::string DaysTable(TCalendar& calendar, TDateRec from, TDateRec to) {
  calendar.SetFirstYear(WindowFirstYear(from));
  const TCalendarKind kind = calendar.Kind();
  std::string out;
  const int32_t last = DayNumber(to);
  for (TDateRec day = from; DayNumber(day) <= last; day = AddDays(day, 1)) {
    // A long span takes the holiday window along, as the grid does when it is scrolled.
    if (day.Year >= calendar.FirstYear() + TCalendar::kYearCount) {
      calendar.SetFirstYear(WindowFirstYear(day));
    }
    const int32_t code = calendar.HolidayCode(day);
    const TEraYear era = EraOf(day, kind);
    out += AgendaDateText(day);
    out += '\t';
    out += WeekdayKanji(WeekdayOf(day));
    out += '\t';
    out += std::to_string(code);
    out += '\t';
    if (code >= 0) out += calendar.HolidayName(day);
    out += '\t';
    out += RokuyoName(day, kind);
    out += '\t';
    out += LunarDateText(day, kind);
    out += '\t';
    if (era.Era >= 0) {
      out += EraName(era.Era, kind);
      out += std::to_string(era.Year);
    }
    out += '\t';
    out += ZodiacAnimal(day.Year);
    out += '\t';
    out += ZodiacSign(day.Month, day.Day);
    out += '\n';
    if (day == kLastCalendarDate) break;
  }
  return out;
}

std::string TextOutput(const TCalendar& calendar, const std::vector<TDayRow>& rows) {
  std::string out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TDayRow& row = rows[i];
    if (i == 0 || rows[i - 1].Date != row.Date) {
      out += Concat({std::to_string(row.Date.Year), "/", std::to_string(row.Date.Month), "/",
                     std::to_string(row.Date.Day), "(", WeekdayKanji(WeekdayOf(row.Date)), ")"});
      if (const std::string holiday = HolidayOf(calendar, row.Date); !holiday.empty()) {
        out += "  ";
        out += holiday;
      }
      out += '\n';
    }
    out += "  ";
    out += OneLine(row.Text);
    out += '\n';
  }
  return out;
}

std::string TsvOutput(const TCalendar& calendar, const TEntryList& list,
                      const std::vector<TDayRow>& rows) {
  std::string out;
  for (const TDayRow& row : rows) {
    out += AgendaDateText(row.Date);
    out += '\t';
    out += WeekdayKanji(WeekdayOf(row.Date));
    out += '\t';
    out += HolidayOf(calendar, row.Date);
    out += '\t';
    out += std::to_string(row.Kind);
    out += '\t';
    out += RowSource(list, *row.Entry);
    out += '\t';
    out += OneLine(row.Text);
    out += '\n';
  }
  return out;
}

}  // namespace pelo::agenda
