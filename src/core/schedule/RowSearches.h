#pragma once

// Finding the lines of the days that hold a text: a line matches when the text is in the line
// as its cell shows it (annotation codes expanded) or in the line of the data file its entry
// was read from, both folded as a search folds them (text/SearchTexts.h). Lines already made
// are matched one by one (TLineMatcher); the days of the whole calendar are found by matching
// the entries first and walking only the days of those that may match (TCalendarSearch).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "calendar/CalendarKinds.h"
#include "calendar/Calendars.h"
#include "datafiles/DatePackLists.h"
#include "schedule/DayRows.h"
#include "text/SearchTexts.h"

namespace pelo {

class TEntry;
class TEntryList;

// One text looked for in many lines. An entry falls on many days, so whether its data-file
// line holds the text is found once per entry, and its shown text again only when it differs
// from the last one (annotation codes); the entries must outlive the matcher.
class TLineMatcher {
 public:
  TLineMatcher(const TEntryList& list, std::string_view text) : list_(list), search_(text) {}

  bool Empty() const noexcept { return search_.Empty(); }
  // Whether the line shown for entry matches; false for every line when the text is empty.
  bool Matches(const TEntry& entry, std::string_view shown);

 private:
  const TEntryList& list_;
  TTextSearch search_;
  struct TEntryState {
    bool source_found = false;
    std::string shown;  // the entry's shown text last looked at
    bool shown_found = false;
  };
  std::unordered_map<const TEntry*, TEntryState> entries_;
};

// The rows that match text, in their order; none for an empty text.
std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text);

// The characters annotation codes may write into a line, folded as a search folds them: what
// every code (any letter after "%") writes, with the words of derived days and the blank before
// a code string, over days, periods and base dates across the calendar in both calendars. An
// entry whose codes alone could bring a text into its line is walked only when each character
// of the text is one of these or stands in the entry's data-file line. Made once per searcher
// of many texts: it takes some milliseconds.
class TCodeCharacters {
 public:
  TCodeCharacters();
  bool Holds(char32_t c) const noexcept;

 private:
  void AddFolded(std::string_view text);

  std::vector<char32_t> characters_;  // sorted once made
};

// The same test, made entry by entry before any day is walked: an entry whose data-file line
// holds the text, or whose line reads the same on every day and holds it, matches on all its
// days; an entry whose line changes from day to day (codes, derived days) is looked at day by
// day; every other entry never matches and need not be walked at all.
class TEntryMatcher {
 public:
  // kind: the calendar the lines' codes read. Without code characters every entry with codes
  // is walked.
  TEntryMatcher(const TEntryList& list, std::string_view text, TCalendarKind kind,
                const TCodeCharacters* code_characters = nullptr);

  bool Empty() const noexcept { return search_.Empty(); }
  // The entries that may match on some day, in list order.
  const std::vector<const TEntry*>& Candidates() const noexcept { return candidates_; }
  // The day-marked entries, whose days every walk marks first, in list order.
  const std::vector<const TEntry*>& DayMarked() const noexcept { return day_marked_; }
  // Whether the line of a pack matches; false for a pack of no candidate.
  bool Matches(const TDatePack& pack);
  // Whether the pack is one of a candidate, before its line is looked at.
  bool MayMatch(const TDatePack& pack) const noexcept { return KindOf(pack) != kNever; }

 private:
  enum TMatchKind : uint8_t { kNever, kEveryDay, kByDay };
  TMatchKind KindOf(const TEntry& entry);
  TMatchKind KindOf(const TDatePack& pack) const noexcept;
  // Whether the line of an entry with codes may hold the text on some day; literal_ holds
  // the entry's folded data-file line.
  bool CodesMayShow(const TEntry& entry);

  const TEntryList& list_;
  TTextSearch search_;
  TCalendarKind kind_;
  // The characters of the folded text no code writes, each as UTF-8.
  std::vector<std::string> beyond_codes_;
  std::string literal_;  // the folded data-file line of the entry looked at
  std::vector<const TEntry*> candidates_;
  std::vector<const TEntry*> day_marked_;
  using TEntryKind = std::pair<const TEntry*, TMatchKind>;
  std::vector<TEntryKind> kinds_;  // of the candidates, by address
};

// The days of the whole calendar (kFirstCalendarDate .. kLastCalendarDate) with a line that
// passes a filter and holds a text, found a span of years at a time. The spans are aligned on
// the first year of the day table and its span reads the table's packs, so the days it shows
// are searched as it shows them and no more is walked than the answer needs.
class TCalendarSearch {
 public:
  static constexpr int32_t kSpanYears = 4;

  // The list, filter and table packs must outlive the search, which walks a calendar of its
  // own made from calendar. table_packs: the day packs of the years from table_first_year on
  // (the day table's), or null.
  TCalendarSearch(TEntryList& list, const TCalendar& calendar, const TFilterSet& filter,
                  std::string_view text, int32_t table_first_year, const TDatePackList* table_packs,
                  const TCodeCharacters* code_characters = nullptr);

  bool Empty() const noexcept { return matcher_.Empty(); }
  // The nearest day after (direction 1) or before (-1) from with a matching line; none up to
  // the calendar's end.
  std::optional<TDateRec> NextDay(TDateRec from, int32_t direction);
  // The matching lines of the days first..last, days in order and, within a day, in
  // pack-list order; the earliest max of them. Place is left 0.
  std::vector<TDayRow> Rows(TDateRec first, TDateRec last, std::size_t max);

 private:
  // Hands visit each matching pack of the span that starts at first_year and its day number,
  // in pack-list order, for the days first_day .. last_day only.
  void VisitSpan(int32_t first_year, int32_t first_day, int32_t last_day,
                 const std::function<void(const TDatePack&, int32_t)>& visit);
  // The first year of the span that holds year.
  int32_t SpanStart(int32_t year) const noexcept;

  TEntryList& list_;
  TCalendar calendar_;  // its window moves with the walk
  TPackFilter filter_;
  TEntryMatcher matcher_;
  int32_t table_first_year_;
  const TDatePackList* table_packs_;
};

}  // namespace pelo
