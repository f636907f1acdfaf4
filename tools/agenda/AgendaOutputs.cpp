#include "AgendaOutputs.h"

#include <algorithm>
#include <ostream>

#include "calendar/Calendars.h"
#include "calendar/DateTexts.h"
#include "calendar/Kyurekis.h"
#include "datafiles/DatePackLists.h"
#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "schedule/DayTables.h"
#include "text/ChunkedStreams.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo::agenda {

namespace {

// YYYY/MM/DD, zero-padded.
void AppendAgendaDate(std::string& out, TDateRec date) {
  AppendNumber(out, date.Year, 4);
  out += '/';
  AppendNumber(out, date.Month, 2);
  out += '/';
  AppendNumber(out, date.Day, 2);
}

// A cell line on one output line: tabs and line breaks (a CR LF pair as one) become blanks.
void AppendOneLine(std::string& out, std::string_view text) {
  std::size_t run = 0;  // the start of the bytes not yet appended
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\t' && c != '\r' && c != '\n') continue;
    out.append(text.substr(run, i - run));
    out += ' ';
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    run = i + 1;
  }
  out.append(text.substr(run));
}

// The date, weekday and holiday columns of a TSV row, each with its tab.
std::string TsvDayColumns(const TCalendar& calendar, TDateRec date) {
  std::string columns;
  AppendAgendaDate(columns, date);
  columns += '\t';
  columns += WeekdayKanji(WeekdayOf(date));
  columns += '\t';
  if (calendar.HolidayCode(date) > 0) columns += calendar.HolidayName(date);
  columns += '\t';
  return columns;
}

// "2024/5/1(水)", two blanks and the holiday name when the day is one, and the line end.
void AppendTextHeading(std::string& out, const TCalendar& calendar, TDateRec date) {
  AppendNumber(out, date.Year);
  out += '/';
  AppendNumber(out, date.Month);
  out += '/';
  AppendNumber(out, date.Day);
  out += '(';
  out += WeekdayKanji(WeekdayOf(date));
  out += ')';
  if (calendar.HolidayCode(date) > 0) {
    out += "  ";
    out += calendar.HolidayName(date);
  }
  out += '\n';
}

}  // namespace

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
    AppendAgendaDate(out, day);
    out += '\t';
    out += WeekdayKanji(WeekdayOf(day));
    out += '\t';
    AppendNumber(out, code);
    out += '\t';
    if (code >= 0) out += calendar.HolidayName(day);
    out += '\t';
    out += RokuyoName(day, kind);
    out += '\t';
    out += LunarDateText(day, kind);
    out += '\t';
    if (era.Era >= 0) {
      out += EraName(era.Era, kind);
      AppendNumber(out, era.Year);
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

void WriteTextOutput(std::ostream& stream, const TCalendar& calendar,
                     const std::vector<TDayRow>& rows) {
  TChunkedStream chunks(stream);
  std::string& out = chunks.Text();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TDayRow& row = rows[i];
    if (i == 0 || rows[i - 1].Date != row.Date) AppendTextHeading(out, calendar, row.Date);
    out += "  ";
    AppendOneLine(out, row.Text);
    out += '\n';
    chunks.EndPart();
  }
}

void WriteTsvOutput(std::ostream& stream, const TCalendar& calendar, const TEntryList& list,
                    const std::vector<TDayRow>& rows) {
  TChunkedStream chunks(stream);
  std::string& out = chunks.Text();
  TRowSources sources(list);
  std::string day_columns;  // of the day of the row before
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TDayRow& row = rows[i];
    if (i == 0 || rows[i - 1].Date != row.Date) day_columns = TsvDayColumns(calendar, row.Date);
    out += day_columns;
    AppendNumber(out, row.Kind);
    out += '\t';
    sources.Append(out, *row.Entry);
    out += '\t';
    AppendOneLine(out, row.Text);
    out += '\n';
    chunks.EndPart();
  }
}

}  // namespace pelo::agenda
