#pragma once

// What pelo-serve shows of the files: the iCalendar feed of a span (the writer pelo-agenda
// uses) and the days of a page, each built afresh from the entry list.

#include <optional>
#include <string>
#include <vector>

#include "ServePages.h"
#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "schedule/DayRows.h"
#include "text/SmallSets.h"

namespace pelo {
class TEntryList;
}

namespace pelo::serve {

// What the command line set for every answer.
struct TShownSettings {
  TCalendarKind calendar = TCalendarKind::kClassic;
  std::optional<std::string> grep;
};

// The rows of from..to however long the span: one day table's window of years at a time.
std::vector<TDayRow> SpanRows(TEntryList& list, const TFilterSet& filter,
                              const TShownSettings& settings, TDateRec from, TDateRec to,
                              TDateRec today);

// The feed: a calendar that clients read again every hour.
std::string FeedBody(TEntryList& list, const TFilterSet& filter, const TShownSettings& settings,
                     TDateRec from, TDateRec to, TDateRec today);

// The days from..to for a page, with their lines and, with notes, each line's note. The
// rokuyo and the old date are those of the calendar of today whatever settings.calendar is.
std::vector<TPageDay> PageDays(TEntryList& list, const TFilterSet& filter,
                               const TShownSettings& settings, TDateRec from, TDateRec to,
                               TDateRec today, bool notes);

}  // namespace pelo::serve
