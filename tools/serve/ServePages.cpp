#include "ServePages.h"

#include <initializer_list>

#include "ServeTargets.h"
#include "calendar/DateTexts.h"
#include "text/Texts.h"

namespace pelo::serve {

namespace {

// Phones get the days as a list, desktops a grid of weeks; Saturdays blue, Sundays and
// holidays red, today framed.
constexpr std::string_view kStyle =
    "body{font-family:'IPAPGothic','Noto Sans CJK JP',sans-serif;margin:0;padding:8px;"
    "color:#222;background:#fff}"
    "h1{font-size:1.3em;margin:4px 0}"
    "nav{display:flex;flex-wrap:wrap;gap:8px 16px;align-items:baseline;margin:4px 0 8px}"
    "a{color:#05a}.problem{color:#a00;font-weight:bold;margin:4px 0}"
    "ol.month{list-style:none;padding:0;margin:0;display:grid;"
    "grid-template-columns:repeat(7,minmax(0,1fr));border-left:1px solid #bbb;"
    "border-top:1px solid #bbb}"
    "ol.month>li{border-right:1px solid #bbb;border-bottom:1px solid #bbb;min-height:6em;"
    "padding:2px 4px;overflow-wrap:anywhere}"
    "ol.month>li.wd{min-height:0;text-align:center;font-weight:bold;background:#f2f2f2}"
    "ol.month>li.blank{background:#f7f7f7}"
    ".d{font-weight:bold;text-decoration:none;color:#222}.sat .d{color:#1746c8}"
    ".sun .d,.hol .d{color:#d01818}.hol .hn{color:#d01818}"
    ".today{background:#fff5cc;box-shadow:inset 0 0 0 2px #e0a000}"
    ".info{font-size:.75em;color:#666;margin-left:4px}"
    "ul.lines{list-style:none;margin:2px 0 0;padding:0;font-size:.85em}"
    "ul.lines>li{border-top:1px dotted #ccc;padding:1px 0}"
    ".note{white-space:pre-wrap;font-size:.9em;color:#444;margin:2px 0 4px 1em}"
    "@media (max-width:640px){ol.month{display:block;border:0}"
    "ol.month>li{min-height:0;border:0;border-bottom:1px solid #ccc;padding:6px 2px}"
    "ol.month>li.wd,ol.month>li.blank{display:none}ul.lines{font-size:1em}}";

void Append(std::string& out, std::initializer_list<std::string_view> parts) {
  for (const std::string_view part : parts) out.append(part);
}

constexpr const char* kWeekdayClass[7] = {"sun", "", "", "", "", "", "sat"};

void AppendHead(std::string& out, std::string_view title) {
  out += "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">";
  out += "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">";
  out += "<title>";
  out += EscapeHtml(title);
  out += "</title><style>";
  out += kStyle;
  out += "</style></head><body>\n";
}

void AppendLink(std::string& out, const TPageFrame& frame, std::string_view href,
                std::string_view text, std::string_view css_class = {}) {
  out += "<a";
  if (!css_class.empty()) Append(out, {" class=\"", css_class, "\""});
  Append(out, {" href=\"", EscapeHtml(Concat({href, frame.LinkQuery})), "\">", EscapeHtml(text),
               "</a>"});
}

void AppendProblems(std::string& out, const TPageFrame& frame) {
  for (const std::string& problem : frame.Problems) {
    Append(out, {"<p class=\"problem\">", EscapeHtml(problem), "</p>\n"});
  }
}

std::string DayClasses(const TPageDay& day) {
  std::string classes = kWeekdayClass[WeekdayOf(day.Date)];
  if (day.Closed) classes += " hol";
  if (day.Today) classes += " today";
  return classes;
}

// The holiday, rokuyo and old date beside a day's number.
void AppendDayInfo(std::string& out, const TPageDay& day) {
  if (!day.Holiday.empty())
    Append(out, {" <span class=\"hn\">", EscapeHtml(day.Holiday), "</span>"});
  if (day.Today) out += " <strong>今日</strong>";
  Append(out, {"<span class=\"info\">", EscapeHtml(day.Rokuyo), " ", EscapeHtml(day.LunarDate),
               "</span>"});
}

void AppendLines(std::string& out, const TPageDay& day, bool with_notes) {
  if (day.Lines.empty()) return;
  out += "<ul class=\"lines\">";
  for (const TPageLine& line : day.Lines) {
    Append(out, {"<li>", EscapeHtml(line.Text)});
    if (with_notes && !line.Note.empty()) {
      out += "<div class=\"note\">";
      for (std::size_t i = 0; i < line.Note.size(); ++i) {
        if (i > 0) out += '\n';
        out += EscapeHtml(line.Note[i]);
      }
      out += "</div>";
    }
    out += "</li>";
  }
  out += "</ul>";
}

void AppendFoot(std::string& out, const TPageFrame& frame) {
  Append(out,
         {"<p><a href=\"", EscapeHtml(frame.FeedUrl),
          "\">購読</a> <span class=\"info\">(カレンダーのアプリに ", EscapeHtml(frame.FeedUrl),
          " を登録すると、この予定がいつも最新で表示されます)</span></p>\n", "</body></html>\n"});
}

std::string MonthTitle(int32_t year, int32_t month) {
  return Concat({NumberText(year), "年", NumberText(month), "月"});
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string MonthPageHtml(int32_t year, int32_t month, const std::vector<TPageDay>& days,
                          const TPageFrame& frame) {
  std::string out;
  AppendHead(out, Concat({MonthTitle(year, month), " - ぺろん"}));
  Append(out, {"<h1>", MonthTitle(year, month), "</h1>\n<nav>"});
  const int32_t prev_year = month == 1 ? year - 1 : year;
  const int32_t prev_month = month == 1 ? 12 : month - 1;
  const int32_t next_year = month == 12 ? year + 1 : year;
  const int32_t next_month = month == 12 ? 1 : month + 1;
  if (DayNumber({prev_year, prev_month, DaysInMonth(prev_year, prev_month)}) >= kFirstCalendarDay) {
    AppendLink(out, frame, Concat({"/?month=", IsoMonth(prev_year, prev_month)}),
               Concat({"« ", MonthTitle(prev_year, prev_month)}), "prev");
  }
  AppendLink(out, frame, "/", "今月");
  if (next_year <= kLastCalendarDate.Year) {
    AppendLink(out, frame, Concat({"/?month=", IsoMonth(next_year, next_month)}),
               Concat({MonthTitle(next_year, next_month), " »"}), "next");
  }
  out += "</nav>\n";
  AppendProblems(out, frame);
  out += "<ol class=\"month\">";
  for (int32_t w = 0; w < 7; ++w) {
    Append(out, {"<li class=\"wd ", kWeekdayClass[w], "\">", WeekdayKanji(w), "</li>"});
  }
  if (!days.empty()) {
    for (int32_t i = 0; i < WeekdayOf(days.front().Date); ++i) out += "<li class=\"blank\"></li>";
  }
  for (const TPageDay& day : days) {
    Append(out, {"\n<li class=\"", DayClasses(day), "\">"});
    AppendLink(out, frame, Concat({"/day/", IsoDate(day.Date)}),
               Concat({NumberText(day.Date.Day), "(", WeekdayKanji(WeekdayOf(day.Date)), ")"}),
               "d");
    AppendDayInfo(out, day);
    AppendLines(out, day, false);
    out += "</li>";
  }
  out += "</ol>\n";
  AppendFoot(out, frame);
  return out;
}

std::string DayPageHtml(const TPageDay& day, const TPageFrame& frame) {
  const TDateRec date = day.Date;
  const std::string title = Concat({MonthTitle(date.Year, date.Month), NumberText(date.Day), "日(",
                                    WeekdayKanji(WeekdayOf(date)), ")"});
  std::string out;
  AppendHead(out, Concat({title, " - ぺろん"}));
  Append(out, {"<div class=\"", DayClasses(day), "\"><h1><span class=\"d\">", title, "</span>"});
  AppendDayInfo(out, day);
  out += "</h1></div>\n<nav>";
  if (DayNumber(date) > kFirstCalendarDay) {
    AppendLink(out, frame, Concat({"/day/", IsoDate(AddDays(date, -1))}), "« 前の日", "prev");
  }
  AppendLink(out, frame, Concat({"/?month=", IsoMonth(date.Year, date.Month)}),
             MonthTitle(date.Year, date.Month));
  if (DayNumber(date) < kLastCalendarDay) {
    AppendLink(out, frame, Concat({"/day/", IsoDate(AddDays(date, 1))}), "次の日 »", "next");
  }
  out += "</nav>\n";
  AppendProblems(out, frame);
  if (day.Lines.empty()) out += "<p>予定はありません。</p>\n";
  AppendLines(out, day, true);
  out += '\n';
  AppendFoot(out, frame);
  return out;
}

std::string ErrorPageHtml(std::string_view reason) {
  std::string out;
  AppendHead(out, "ぺろん");
  Append(out, {"<p class=\"problem\">", EscapeHtml(reason), "</p>\n</body></html>\n"});
  return out;
}

}  // namespace pelo::serve
