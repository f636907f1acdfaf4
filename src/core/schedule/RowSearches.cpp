#include "schedule/RowSearches.h"

#include <algorithm>
#include <utility>

#include "calendar/IntegerMath.h"
#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"

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

TEntryMatcher::TEntryMatcher(const TEntryList& list, std::string_view text, TCalendarKind kind)
    : search_(text), kind_(kind) {
  if (search_.Empty()) return;
  for (int32_t position = 0; position < list.Count(); ++position) {
    const TEntry& entry = *list.Entry(position);
    if (entry.IsDeleted() || !entry.ErrorText.empty()) continue;
    bool every_day = search_.Found(list.SourceLine(entry));
    const bool derived = entry.DerivedDates && !entry.DerivedDates->Empty();
    if (!every_day && HasFixedLineText(entry)) {
      TDatePack single;
      single.Entry = &entry;
      const bool fixed_found = search_.Found(LineText(single, kind_));
      // A derived day shows its line without the times.
      every_day = fixed_found && !derived;
      if (!fixed_found && !derived) continue;
    }
    candidates_.push_back(&entry);
    every_day_.emplace(&entry, every_day);
  }
}

bool TEntryMatcher::Matches(const TDatePack& pack) {
  const auto known = every_day_.find(pack.Entry);
  if (known == every_day_.end()) return false;
  return known->second || search_.Found(LineText(pack, kind_));
}

TCalendarSearch::TCalendarSearch(TEntryList& list, const TCalendar& calendar,
                                 const TFilterSet& filter, std::string_view text,
                                 int32_t table_first_year, const TDatePackList* table_packs)
    : list_(list),
      calendar_(calendar),
      filter_(filter),
      matcher_(list, text, calendar.Kind()),
      table_first_year_(table_first_year),
      table_packs_(table_packs) {}

int32_t TCalendarSearch::SpanStart(int32_t year) const noexcept {
  return table_first_year_ +
         static_cast<int32_t>(FloorDiv(year - table_first_year_, kSpanYears)) * kSpanYears;
}

void TCalendarSearch::VisitSpan(int32_t first_year,
                                const std::function<void(const TDatePack&)>& visit) {
  const auto visit_match = [&](const TDatePack& pack) {
    if (filter_.Passes(pack) && matcher_.Matches(pack)) visit(pack);
  };
  if (table_packs_ != nullptr && first_year == table_first_year_) {
    for (const TDatePack& pack : table_packs_->Packs()) visit_match(pack);
    return;
  }
  list_.VisitEntries(calendar_, first_year, kSpanYears, matcher_.Candidates(), visit_match);
}

std::optional<TDateRec> TCalendarSearch::NextDay(TDateRec from, int32_t direction) {
  if (Empty()) return std::nullopt;
  const int32_t from_day = DayNumber(from);
  const int32_t step = direction > 0 ? kSpanYears : -kSpanYears;
  for (int32_t year = SpanStart(from.Year);
       year <= kLastCalendarDate.Year && year + kSpanYears > kFirstCalendarDate.Year;
       year += step) {
    std::optional<TDateRec> best;
    int32_t best_day = 0;
    VisitSpan(year, [&](const TDatePack& pack) {
      const int32_t day = DayNumber(pack.Date());
      if (day < kFirstCalendarDay || day > kLastCalendarDay) return;
      const bool beyond = direction > 0 ? day > from_day : day < from_day;
      const bool nearer = !best || (direction > 0 ? day < best_day : day > best_day);
      if (beyond && nearer) {
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
  for (int32_t year = SpanStart(first.Year); year <= last.Year && rows.size() < max;
       year += kSpanYears) {
    found.clear();
    VisitSpan(year, [&](const TDatePack& pack) {
      const int32_t day = DayNumber(pack.Date());
      if (day >= first_day && day <= last_day) found.push_back(pack);
    });
    std::stable_sort(found.begin(), found.end(), [](const TDatePack& a, const TDatePack& b) {
      return DayNumber(a.Date()) < DayNumber(b.Date());
    });
    // Only the lines listed are made.
    found.resize(std::min(found.size(), max - rows.size()));
    for (const TDatePack& pack : found) {
      rows.push_back({pack.Date(), pack.Kind, pack.Entry, LineText(pack, calendar_.Kind()), 0});
    }
  }
  return rows;
}

}  // namespace pelo
