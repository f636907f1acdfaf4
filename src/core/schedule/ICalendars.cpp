#include "schedule/ICalendars.h"

#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "text/Texts.h"

namespace pelo {

namespace {

constexpr int32_t kMinutesPerDay = 24 * 60;
constexpr std::size_t kIcsLineOctets = 75;
constexpr std::string_view kCrLf = "\r\n";

// "20241231".
std::string IcsDate(TDateRec date) {
  return Concat({NumberText(date.Year, 4, kPadZero), NumberText(date.Month, 2, kPadZero),
                 NumberText(date.Day, 2, kPadZero)});
}

// "20241231T093000", a floating local time.
std::string IcsDateTime(TDateRec date, int32_t minutes) {
  return Concat({IcsDate(date), "T", NumberText(minutes / 60, 2, kPadZero),
                 NumberText(minutes % 60, 2, kPadZero), "00"});
}

bool HasTimes(const TEntry& entry) noexcept { return entry.Times && entry.Times->Count() > 0; }

// The line without the time text the cell puts in front of it.
std::string_view WithoutTimes(const TDayRow& row) {
  std::string_view text = row.Text;
  if (row.Kind == kPackDerived || !HasTimes(*row.Entry)) return text;
  const std::string prefix = TimeListText(*row.Entry->Times) + ' ';
  if (text.substr(0, prefix.size()) == prefix) text.remove_prefix(prefix.size());
  return text;
}

}  // namespace

int32_t ClockMinutes(const TTime& time) noexcept {
  int32_t hour = time.Hour < 0 ? 0 : time.Hour;
  if (time.TwelveHour) hour = hour % 12 + (hour >= 12 ? 12 : 0);
  const int32_t minute = time.Minute < 0 ? 0 : time.Minute;
  return hour * 60 + minute;
}

TEventTimes EventTimes(TDateRec date, const TTime& start, const TTime* end) noexcept {
  TEventTimes times;
  const int32_t start_total = ClockMinutes(start);
  times.StartDate = AddDays(date, start_total / kMinutesPerDay);
  times.StartMinutes = start_total % kMinutesPerDay;
  if (end != nullptr) {
    int32_t end_total = ClockMinutes(*end);
    // 23:30~1:00 ends on the next day; 26:00~1:00 on the day after the start's (02:00).
    while (end_total <= start_total) end_total += kMinutesPerDay;
    times.HasEnd = true;
    times.EndDate = AddDays(date, end_total / kMinutesPerDay);
    times.EndMinutes = end_total % kMinutesPerDay;
  }
  return times;
}

std::string EscapeIcsText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case ';':
        out += "\\;";
        break;
      case ',':
        out += "\\,";
        break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "\\n";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        // A TEXT value may hold no control character but the tab.
        out += (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F ? ' ' : c;
    }
  }
  return out;
}

std::string FoldIcsLine(std::string_view line) {
  std::string out;
  std::size_t room = kIcsLineOctets;  // the blank that starts a continuation counts
  while (line.size() > room) {
    std::size_t cut = room;
    // Back to the start of the character the cut would fall into.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = room;  // no character start at all: nothing better to do
    out.append(line.substr(0, cut));
    out += kCrLf;
    out += ' ';
    line.remove_prefix(cut);
    room = kIcsLineOctets - 1;
  }
  out.append(line);
  out += kCrLf;
  return out;
}

std::string EventUid(std::string_view path, int32_t line_no, TDateRec date, int32_t place) {
  // 64-bit FNV-1a: small, and the same on every machine and in every run.
  uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](std::string_view bytes) {
    for (const char c : bytes) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ull;
    }
  };
  mix(path);
  mix(":");
  mix(std::to_string(line_no));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kHex[hash & 15];
  // The date and the place make it unique within one output whatever the hash does.
  return Concat({hex, "-", IcsDate(date), "-", std::to_string(place), "@pelo"});
}

std::string ICalendarText(const TEntryList& list, const std::vector<TDayRow>& rows,
                          TDateRec today) {
  std::string out;
  const auto line = [&out](std::string_view text) { out += FoldIcsLine(text); };
  line("BEGIN:VCALENDAR");
  line("VERSION:2.0");
  line("PRODID:-//Pelo//pelo-agenda//JA");
  line("CALSCALE:GREGORIAN");
  const std::string stamp = Concat({"DTSTAMP:", IcsDateTime(today, 0), "Z"});
  for (const TDayRow& row : rows) {
    const TEntry& entry = *row.Entry;
    line("BEGIN:VEVENT");
    line(Concat({"UID:", EventUid(list.FileList().Path(entry.FileIndex), SourceLine(entry),
                                  row.Date, row.Place)}));
    line(stamp);
    if (row.Kind != kPackDerived && HasTimes(entry)) {
      const TTimeSet& set = *entry.Times->Item(0);
      const TEventTimes times = EventTimes(row.Date, set.Start, set.End ? &*set.End : nullptr);
      line(Concat({"DTSTART:", IcsDateTime(times.StartDate, times.StartMinutes)}));
      if (times.HasEnd) line(Concat({"DTEND:", IcsDateTime(times.EndDate, times.EndMinutes)}));
    } else {
      line(Concat({"DTSTART;VALUE=DATE:", IcsDate(row.Date)}));
      line(Concat({"DTEND;VALUE=DATE:", IcsDate(AddDays(row.Date, 1))}));
    }
    line(Concat({"SUMMARY:", EscapeIcsText(WithoutTimes(row))}));
    line("END:VEVENT");
  }
  line("END:VCALENDAR");
  return out;
}

}  // namespace pelo
