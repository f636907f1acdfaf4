#pragma once

// The web page of the schedule: a month as a grid of days (a list of days on a narrow
// screen) and one day with the notes of its lines, in Japanese, plain HTML with no script.
// Every text from the files is escaped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Dates.h"

namespace pelo::serve {

// One shown line and the note (the "%" block) of its entry; notes are shown on a day's page.
struct TPageLine {
  std::string Text;
  std::vector<std::string> Note;
};

struct TPageDay {
  TDateRec Date;
  std::string Holiday;  // empty when the day is none
  bool Closed = false;  // a holiday or a private holiday: drawn as a Sunday
  bool Today = false;
  std::string Rokuyo;
  std::string LunarDate;
  std::vector<TPageLine> Lines;
};

// What is around the days: the links, the feed's address and the problems of the files.
struct TPageFrame {
  std::string FeedUrl;    // webcal://host/calendar.ics
  std::string LinkQuery;  // appended to every link ("?token=..."), or empty
  std::vector<std::string> Problems;
};

// The month's days in order, from the 1st.
std::string MonthPageHtml(int32_t year, int32_t month, const std::vector<TPageDay>& days,
                          const TPageFrame& frame);
std::string DayPageHtml(const TPageDay& day, const TPageFrame& frame);

// A one-line reason on a small page, for the 4xx answers.
std::string ErrorPageHtml(std::string_view reason);

// &, <, >, " and ' as character references.
std::string EscapeHtml(std::string_view text);

}  // namespace pelo::serve
