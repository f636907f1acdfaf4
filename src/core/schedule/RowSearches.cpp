#include "schedule/RowSearches.h"

#include <algorithm>
#include <utility>

#include "calendar/IntegerMath.h"
#include "datafiles/EntryLists.h"
#include "entries/AnnotationCodes.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "text/Texts.h"

namespace pelo {

bool TLineMatcher::Matches(const TEntry& entry, std::string_view shown) {
  if (search_.Empty()) return false;
  const auto [known, added] = entries_.try_emplace(&entry);
  TEntryState& state = known->second;
  if (added) state.source_found = search_.Found(list_.SourceLine(entry));
  if (state.source_found) return true;
  // Most entries show the same text on every day they fall on: it is looked at once.
  if (added || shown != state.shown) {
    state.shown.assign(shown);
    state.shown_found = search_.Found(shown);
  }
  return state.shown_found;
}

std::vector<TDayRow> MatchingRows(const TEntryList& list, std::vector<TDayRow> rows,
                                  std::string_view text) {
  TLineMatcher matcher(list, text);
  std::erase_if(rows, [&](const TDayRow& row) {
    return row.Entry == nullptr || !matcher.Matches(*row.Entry, row.Text);
  });
  return rows;
}

TCodeCharacters::TCodeCharacters() {
  constexpr TCalendarKind kKinds[] = {TCalendarKind::kClassic, TCalendarKind::kCurrent};
  constexpr TDateRec kSome{2000, 1, 1};
  // The codes: the letters after "%" that a line does not keep as written.
  std::string codes;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string code{'%', letter};
    if (PlainLineText(code, {}, kSome, kSome, kSome, kSome, kKinds[0]) != code) codes += code;
  }
  // A day every quarter of the calendar, base date and shown day alike, for the eras, the old
  // calendar, the rokuyo, the signs and the zodiac's animals; the two calendars take turns (no
  // era is shorter than half a year, and they write the same words otherwise).
  constexpr int32_t kDayStep = 91;
  std::size_t turn = 0;
  for (TDateRec day = kFirstCalendarDate; DayNumber(day) <= kLastCalendarDay;
       day = AddDays(day, kDayStep), ++turn) {
    AddFolded(PlainLineText(codes, {}, day, day, day, day, kKinds[turn % 2]));
  }
  // Counts of 0 to 102 years (ages, anniversaries, memorials), periods of some days, the
  // distance of a derived day either side of its occurrence and the blank before a code string.
  constexpr TDateRec kShown{2100, 6, 15};
  for (int32_t years = 0; years <= 102; ++years) {
    const TDateRec base{kShown.Year - years, 6, 10 + years % 10};
    const TDateRec start = AddDays(kShown, -(years % 5));
    const TDateRec end = AddDays(kShown, years % 7);
    const TDateRec derived = AddDays(kShown, (years % 2 == 0 ? 1 : -1) * (years * 37 + 1));
    AddFolded(PlainLineText(codes, years == 0 ? codes : std::string(), kShown, start, end, base,
                            kKinds[0]));
    AddFolded(DerivedLineText({}, {}, derived, start, end, base, kKinds[0]));
  }
  std::sort(characters_.begin(), characters_.end());
  characters_.erase(std::unique(characters_.begin(), characters_.end()), characters_.end());
}

void TCodeCharacters::AddFolded(std::string_view text) {
  const std::string folded = SearchFold(text);
  for (std::size_t pos = 0; pos < folded.size();) characters_.push_back(NextCodePoint(folded, pos));
  // Kept small while it is made.
  if (characters_.size() > 4096) {
    std::sort(characters_.begin(), characters_.end());
    characters_.erase(std::unique(characters_.begin(), characters_.end()), characters_.end());
  }
}

bool TCodeCharacters::Holds(char32_t c) const noexcept {
  return std::binary_search(characters_.begin(), characters_.end(), c);
}

TEntryMatcher::TEntryMatcher(const TEntryList& list, std::string_view text, TCalendarKind kind,
                             const TCodeCharacters* code_characters)
    : list_(list), search_(text), kind_(kind) {
  if (search_.Empty()) return;
  const std::string& needle = search_.Folded();
  for (std::size_t pos = 0; pos < needle.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(needle, pos);
    if (code_characters == nullptr || code_characters->Holds(c)) continue;
    beyond_codes_.emplace_back(needle.substr(start, pos - start));
  }
  for (int32_t position = 0; position < list.Count(); ++position) {
    const TEntry& entry = *list.Entry(position);
    if (entry.IsDeleted() || !entry.ErrorText.empty()) continue;
    if (entry.DayMark) day_marked_.push_back(&entry);
    const TMatchKind kind = KindOf(entry);
    if (kind == kNever) continue;
    kinds_.emplace_back(&entry, kind);
    candidates_.push_back(&entry);
  }
  std::sort(kinds_.begin(), kinds_.end(), [](const TEntryKind& a, const TEntryKind& b) {
    return std::less<const TEntry*>()(a.first, b.first);
  });
}

TEntryMatcher::TMatchKind TEntryMatcher::KindOf(const TEntry& entry) {
  literal_.clear();
  AppendSearchFold(list_.SourceLine(entry), literal_);
  if (search_.FoundFolded(literal_)) return kEveryDay;
  const bool derived = entry.DerivedDates && !entry.DerivedDates->Empty();
  if (HasFixedLineText(entry)) {
    bool found = false;
    if (entry.Times && entry.Times->Count() > 0) {
      TDatePack single;
      single.Entry = &entry;
      found = search_.Found(LineText(single, kind_));
    } else {
      found = search_.Found(CutLineText(entry.Text));
    }
    // A derived day shows its line without the times.
    if (found && !derived) return kEveryDay;
    if (!found && !derived) return kNever;
  }
  return CodesMayShow(entry) ? kByDay : kNever;
}

bool TEntryMatcher::CodesMayShow(const TEntry& entry) {
  if (beyond_codes_.empty()) return true;
  // What the line shows besides the codes' words: the entry's own characters (its data-file
  // line, folded already) and its times.
  if (entry.Times) AppendSearchFold(TimeListText(*entry.Times), literal_);
  return std::all_of(beyond_codes_.begin(), beyond_codes_.end(), [this](const std::string& c) {
    return literal_.find(c) != std::string::npos;
  });
}

TEntryMatcher::TMatchKind TEntryMatcher::KindOf(const TDatePack& pack) const noexcept {
  // Found by the entry's address alone: the packs of a table are many, their entries far apart.
  const auto known = std::lower_bound(kinds_.begin(), kinds_.end(), pack.Entry,
                                      [](const TEntryKind& item, const TEntry* entry) {
                                        return std::less<const TEntry*>()(item.first, entry);
                                      });
  return known != kinds_.end() && known->first == pack.Entry ? known->second : kNever;
}

bool TEntryMatcher::Matches(const TDatePack& pack) {
  const TMatchKind kind = KindOf(pack);
  return kind == kEveryDay || (kind == kByDay && search_.Found(LineText(pack, kind_)));
}

TCalendarSearch::TCalendarSearch(TEntryList& list, const TCalendar& calendar,
                                 const TFilterSet& filter, std::string_view text,
                                 int32_t table_first_year, const TDatePackList* table_packs,
                                 const TCodeCharacters* code_characters)
    : list_(list),
      calendar_(calendar),
      filter_(filter),
      matcher_(list, text, calendar.Kind(), code_characters),
      table_first_year_(table_first_year),
      table_packs_(table_packs) {}

int32_t TCalendarSearch::SpanStart(int32_t year) const noexcept {
  return table_first_year_ +
         static_cast<int32_t>(FloorDiv(year - table_first_year_, kSpanYears)) * kSpanYears;
}

void TCalendarSearch::VisitSpan(int32_t first_year, int32_t first_day, int32_t last_day,
                                const std::function<void(const TDatePack&, int32_t)>& visit) {
  // The cheap tests first: the table holds every entry's packs.
  const auto visit_match = [&](const TDatePack& pack) {
    const int32_t day = DayNumber(pack.Date());
    if (day < first_day || day > last_day || !matcher_.MayMatch(pack)) return;
    if (filter_.Passes(pack) && matcher_.Matches(pack)) visit(pack, day);
  };
  if (table_packs_ != nullptr && first_year == table_first_year_) {
    for (const TDatePack& pack : table_packs_->Packs()) visit_match(pack);
    return;
  }
  list_.VisitEntries(calendar_, first_year, kSpanYears, matcher_.DayMarked(), matcher_.Candidates(),
                     visit_match);
}

std::optional<TDateRec> TCalendarSearch::NextDay(TDateRec from, int32_t direction) {
  if (Empty()) return std::nullopt;
  // The days beyond from, within the calendar.
  const int32_t first_day = direction > 0 ? DayNumber(from) + 1 : kFirstCalendarDay;
  const int32_t last_day = direction > 0 ? kLastCalendarDay : DayNumber(from) - 1;
  const int32_t step = direction > 0 ? kSpanYears : -kSpanYears;
  for (int32_t year = SpanStart(from.Year);
       year <= kLastCalendarDate.Year && year + kSpanYears > kFirstCalendarDate.Year;
       year += step) {
    std::optional<TDateRec> best;
    int32_t best_day = 0;
    VisitSpan(year, first_day, last_day, [&](const TDatePack& pack, int32_t day) {
      if (!best || (direction > 0 ? day < best_day : day > best_day)) {
        best = pack.Date();
        best_day = day;
      }
    });
    if (best) return best;
  }
  return std::nullopt;
}

std::vector<TDayRow> TCalendarSearch::Rows(TDateRec first, TDateRec last, std::size_t max) {
  std::vector<TDayRow> rows;
  if (Empty()) return rows;
  const int32_t first_day = std::max(DayNumber(first), kFirstCalendarDay);
  const int32_t last_day = std::min(DayNumber(last), kLastCalendarDay);
  std::vector<TDatePack> found;
  std::vector<std::pair<int32_t, std::size_t>> order;  // day and place in found
  for (int32_t year = SpanStart(first.Year); year <= last.Year && rows.size() < max;
       year += kSpanYears) {
    found.clear();
    order.clear();
    VisitSpan(year, first_day, last_day, [&](const TDatePack& pack, int32_t day) {
      order.emplace_back(day, found.size());
      found.push_back(pack);
    });
    // By day, and within a day as they came; only the lines listed are ordered and made.
    const std::size_t listed = std::min(order.size(), max - rows.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(listed),
                      order.end());
    order.resize(listed);
    for (const auto& [day, index] : order) {
      const TDatePack& pack = found[index];
      rows.push_back({pack.Date(), pack.Kind, pack.Entry, LineText(pack, calendar_.Kind()), 0});
    }
  }
  return rows;
}

}  // namespace pelo
