#include "schedule/ICalendars.h"

#include <charconv>
#include <unordered_map>
#include <utility>

#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "text/ChunkedStreams.h"
#include "text/Paths.h"
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

// "20241231T093000", a floating local time, appended to out.
void AppendIcsDateTime(std::string& out, TDateRec date, int32_t minutes) {
  AppendNumber(out, date.Year, 4);
  AppendNumber(out, date.Month, 2);
  AppendNumber(out, date.Day, 2);
  out += 'T';
  AppendNumber(out, minutes / 60, 2);
  AppendNumber(out, minutes % 60, 2);
  out += "00";
}

// A short property holding a date and time, with its line end: never long enough to fold.
void AppendIcsDateTimeLine(std::string& out, std::string_view name, TDateRec date,
                           int32_t minutes) {
  out += name;
  AppendIcsDateTime(out, date, minutes);
  out += kCrLf;
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

void AppendEscapedIcsText(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size() + 8);
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
}

void AppendFoldedIcsLine(std::string& out, std::string_view line) {
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
}

// 64-bit FNV-1a: small, and the same on every machine and in every run.
constexpr uint64_t kFnvBasis = 14695981039346656037ull;

uint64_t FnvMix(uint64_t hash, std::string_view bytes) noexcept {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// The part of a UID hash that depends on the file alone: its name without the folder, so
// that the same file moved or opened through another path keeps its UIDs.
uint64_t UidFileHash(std::string_view path) noexcept {
  return FnvMix(FnvMix(kFnvBasis, FileNameOf(path)), ":");
}

// What tells an event from the others of its day: the file, the pack's kind and the line
// as written. Neither the line's number nor its place in the day goes in, so that adding,
// removing or moving other lines changes nothing.
uint64_t UidLineHash(uint64_t file_hash, int32_t kind, std::string_view source_line) noexcept {
  char digits[16];
  const char* const end = std::to_chars(digits, digits + sizeof digits, kind).ptr;
  const uint64_t hash =
      FnvMix(file_hash, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  return FnvMix(FnvMix(hash, ":"), source_line);
}

void AppendEventUid(std::string& out, uint64_t line_hash, std::string_view ics_date,
                    int32_t repeat) {
  static constexpr char kHex[] = "0123456789abcdef";
  char hex[16];
  for (int i = 15; i >= 0; --i, line_hash >>= 4) hex[i] = kHex[line_hash & 15];
  out.append(hex, sizeof hex);
  out += '-';
  out += ics_date;
  out += '-';
  AppendNumber(out, repeat);
  out += "@pelo";
}

}  // namespace

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
  AppendEscapedIcsText(out, text);
  return out;
}

std::string FoldIcsLine(std::string_view line) {
  std::string out;
  AppendFoldedIcsLine(out, line);
  return out;
}

std::string EventUid(std::string_view path, std::string_view source_line, int32_t kind,
                     TDateRec date, int32_t repeat) {
  std::string out;
  AppendEventUid(out, UidLineHash(UidFileHash(path), kind, source_line), IcsDate(date), repeat);
  return out;
}

namespace {

// Writes the events of rows in day order; what is the same for a whole day or a whole file
// is made once.
class TIcsEventWriter {
 public:
  TIcsEventWriter(const TEntryList& list, std::string& out, TDateRec today)
      : list_(list), out_(out) {
    stamp_line_ = "DTSTAMP:";
    AppendIcsDateTime(stamp_line_, today, 0);
    stamp_line_ += "Z\r\n";
  }

  void Write(const TDayRow& row) {
    const TEntry& entry = *row.Entry;
    if (day_text_.empty() || row.Date != day_) StartDay(row.Date);
    out_ += "BEGIN:VEVENT\r\n";
    scratch_ = "UID:";
    const uint64_t line_hash = LineHash(entry, row.Kind);
    // Identical lines on one day are told apart by their count; a hash shared by chance
    // counts the same way, so the UIDs of one output never repeat.
    AppendEventUid(scratch_, line_hash, day_text_, RepeatOf(line_hash));
    AppendFoldedIcsLine(out_, scratch_);
    out_ += stamp_line_;
    if (row.Kind != kPackDerived && HasTimes(entry)) {
      const TTimeSet& set = *entry.Times->Item(0);
      const TEventTimes times = EventTimes(row.Date, set.Start, set.End ? &*set.End : nullptr);
      AppendIcsDateTimeLine(out_, "DTSTART:", times.StartDate, times.StartMinutes);
      if (times.HasEnd) AppendIcsDateTimeLine(out_, "DTEND:", times.EndDate, times.EndMinutes);
    } else {
      out_ += all_day_lines_;
    }
    scratch_ = "SUMMARY:";
    AppendEscapedIcsText(scratch_, WithoutTimes(row));
    AppendFoldedIcsLine(out_, scratch_);
    out_ += "END:VEVENT\r\n";
  }

 private:
  void StartDay(TDateRec date) {
    day_ = date;
    day_text_ = IcsDate(date);
    repeats_.clear();
    all_day_lines_.clear();
    AppendFoldedIcsLine(all_day_lines_, Concat({"DTSTART;VALUE=DATE:", day_text_}));
    AppendFoldedIcsLine(all_day_lines_, Concat({"DTEND;VALUE=DATE:", IcsDate(AddDays(date, 1))}));
  }

  // How many rows of day_ before this one had the same line hash. A day holds a few rows:
  // a list scanned is quicker than a map.
  int32_t RepeatOf(uint64_t line_hash) {
    for (auto& [hash, count] : repeats_) {
      if (hash == line_hash) return count++;
    }
    repeats_.emplace_back(line_hash, 1);
    return 0;
  }

  // A repeating entry shows on many days: its line is hashed once per kind.
  uint64_t LineHash(const TEntry& entry, int32_t kind) {
    const uint64_t key = reinterpret_cast<uintptr_t>(&entry) * 8 + static_cast<uint64_t>(kind & 7);
    const auto [place, added] = line_hashes_.try_emplace(key, 0);
    if (added) place->second = UidLineHash(FileHash(entry), kind, list_.SourceLine(entry));
    return place->second;
  }

  uint64_t FileHash(const TEntry& entry) {
    // The list hands out one string per file (and one for no file): its address is the key.
    const std::string& path = list_.FileList().Path(entry.FileIndex);
    const auto [place, added] = file_hashes_.try_emplace(&path, 0);
    if (added) place->second = UidFileHash(path);
    return place->second;
  }

  const TEntryList& list_;
  std::string& out_;
  std::string stamp_line_;
  TDateRec day_;
  std::string day_text_;       // "20241231" of day_; empty before the first row
  std::string all_day_lines_;  // DTSTART and DTEND of an all-day event on day_, folded
  std::unordered_map<const std::string*, uint64_t> file_hashes_;
  std::unordered_map<uint64_t, uint64_t> line_hashes_;  // by entry address * 8 + kind
  std::vector<std::pair<uint64_t, int32_t>> repeats_;   // line hash and count, on day_
  std::string scratch_;
};

}  // namespace

void WriteICalendar(std::ostream& stream, const TEntryList& list, const std::vector<TDayRow>& rows,
                    TDateRec today, const std::vector<std::string>& calendar_properties) {
  TChunkedStream chunks(stream);
  std::string& out = chunks.Text();
  AppendFoldedIcsLine(out, "BEGIN:VCALENDAR");
  AppendFoldedIcsLine(out, "VERSION:2.0");
  AppendFoldedIcsLine(out, "PRODID:-//Pelo//pelo-agenda//JA");
  AppendFoldedIcsLine(out, "CALSCALE:GREGORIAN");
  for (const std::string& property : calendar_properties) AppendFoldedIcsLine(out, property);
  TIcsEventWriter events(list, out, today);
  for (const TDayRow& row : rows) {
    events.Write(row);
    chunks.EndPart();
  }
  AppendFoldedIcsLine(out, "END:VCALENDAR");
}

}  // namespace pelo
