#include "entries/Occurrences.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "calendar/DatePatterns.h"
#include "calendar/IntegerMath.h"
#include "entries/Entries.h"

namespace pelo {

namespace {

// ---- Arithmetic on wide values -----------------------------------------------------------
// Codes, adjustments and steps are any 32-bit values a line may hold; sums of them are kept
// in 64 bits so that no odd line can overflow into a year inside the range.

// The month brought into 1..12, the year carried.
constexpr void CarryMonth(int64_t& year, int64_t& month) noexcept {
  const int64_t years = FloorDiv(month - 1, 12);
  year += years;
  month -= years * 12;
}

// Years a walked day may have: DayNumber's domain, with room for the year after the range.
constexpr int64_t kFirstWalkYear = 1;
constexpr int64_t kLastWalkYear = 9999;

// The first day of the Gregorian calendar.
constexpr int64_t kFirstGregorianDay = DayNumber(1582, 10, 15);

// Day numbers beyond everything a year of 1..10000 gives.
constexpr int64_t kBeforeAllDays = -(int64_t{1} << 40);
constexpr int64_t kAfterAllDays = int64_t{1} << 40;

// The day number of a date whose fields may run over: a month 13 is the next January, a day
// 32 or 0 the day after or before the month. End dates are built field by field without a
// carry and are read this way.
int64_t SerialDay(int64_t year, int64_t month, int64_t day) noexcept {
  if (month < 1 || month > 12) CarryMonth(year, month);  // a real month needs no division
  if (year < 1) return kBeforeAllDays;
  // A later year is counted in whole cycles of 400 years, all alike, from one in the domain:
  // a day far back (a large negative day) may still be a day of the calendar.
  int64_t cycles = 0;
  if (year > 10000) {
    cycles = (year - 9601) / 400;
    year -= cycles * 400;
  }
  const int64_t serial = DayNumber(static_cast<int32_t>(year), static_cast<int32_t>(month), 1) +
                         cycles * kDaysPer400Years + (day - 1);
  return std::min(serial, kAfterAllDays);
}

int64_t SerialDay(TDateRec date) noexcept { return SerialDay(date.Year, date.Month, date.Day); }

int32_t Sign(int64_t v) noexcept { return v > 0 ? 1 : (v < 0 ? -1 : 0); }
int64_t Magnitude(int64_t v) noexcept { return v < 0 ? -v : v; }

// A step of days this long leaves every calendar at once; longer ones are cut to it, which
// keeps them inside AddToDate's amounts.
constexpr int64_t kLongestStep = int64_t{1} << 30;
int64_t CutStep(int64_t step) noexcept { return std::clamp(step, -kLongestStep, kLongestStep); }

// A day the walk can use: inside DayNumber's domain, a real month and day field.
bool UsableDay(TDateRec date) noexcept {
  return date.Year >= kFirstWalkYear && date.Year <= kLastWalkYear && date.Month >= 1 &&
         date.Month <= 12 && date.Day >= 1 && date.Day <= 31;
}

// ---- The range ---------------------------------------------------------------------------

struct TWalkRange {
  const TCalendar* calendar = nullptr;  // today, holidays and marks for every resolution
  TPatternContext context;              // handed to every pattern resolution
  int32_t y1 = 0;
  int32_t y2 = 0;
  int64_t first_day = 0;  // day number of Y1/1/1
  int64_t last_day = 0;   // day number of Y2/12/31
  bool valid = false;
};

TWalkRange MakeRange(const TCalendar& calendar, TPatternContext range) noexcept {
  TWalkRange r;
  r.calendar = &calendar;
  r.context = range;
  r.y1 = range.FirstYear;
  r.y2 = range.LastYear;
  // The walk reaches one year past Y2; both must stay inside DayNumber's domain.
  r.valid = r.y1 >= 1 && r.y1 <= r.y2 && r.y2 < kLastWalkYear;
  r.first_day = SerialDay(r.y1, 1, 1);
  r.last_day = SerialDay(r.y2, 12, 31);
  return r;
}

// ---- Conditions --------------------------------------------------------------------------

// A move never needs more steps than the range has days, plus this many for a day that
// starts a little outside it.
constexpr int64_t kMoveMargin = 400;

bool SpecHolds(const TDateSet& set, const TWalkRange& r, TDateRec day) {
  const TDateParts* start_parts = set.Start();
  if (start_parts == nullptr || !start_parts->Value()) return false;
  const TDateRec value = *start_parts->Value();

  // Fields not given take the day's own; "[" and "]" resolve to no real field and so never
  // hold: a condition has no base period to read them from.
  const TDateRec resolved = start_parts->ResolveParts(*r.calendar, r.context, day);
  if (!UsableDay(resolved)) return false;

  // A repeated field moves up to the last value of its step grid not above the day's.
  int64_t year = resolved.Year;
  int64_t month = resolved.Month;
  int64_t day_field = resolved.Day;
  if (const auto& step = start_parts->Step()) {
    const auto move_up = [](int64_t& field, int64_t step_value, int64_t target) {
      if (step_value != 0 && field < target) {
        field += step_value * ((target - field) / step_value);
      }
    };
    move_up(year, step->Year, day.Year);
    move_up(month, step->Month, day.Month);
    move_up(day_field, step->Day, day.Day);
  }
  // "12/30~1/2" on 1/1 began in the year before.
  if (value.Year == kCodeEvery && day.Month < value.Month) year -= 1;

  const int64_t start_day = SerialDay(year, month, day_field);
  const int64_t tested_day = SerialDay(day);
  int64_t end_day = start_day;
  if (const TDateParts* end_parts = set.End()) {
    const TDateRec end_value = end_parts->GetOrZero(kValuePart);
    if (end_parts->Relative()) {
      end_day = SerialDay(AddToDate(resolved, AmountOf(end_value)));
    } else {
      const TDateRec start{ClampToInt32(year), ClampToInt32(month), ClampToInt32(day_field)};
      TDateRec end = end_parts->ResolveParts(*r.calendar, r.context, start);
      if (end == kNullDate) {
        end_day = kAfterAllDays;  // no such end day: no upper limit
      } else {
        if (end_value.Year == kCodeEvery && end_value.Month > 0 && end_value.Month < start.Month) {
          end.Year += 1;
        }
        end_day = SerialDay(end);
      }
    }
  }
  return start_day <= tested_day && tested_day <= end_day;
}

bool InListIn(const TDateSetList& list, const TWalkRange& r, TDateRec day) {
  for (const TDateSet& set : list.Items()) {
    if (SpecHolds(set, r, day)) return true;
  }
  return false;
}

bool ApplyConditionIn(const TDateSetList& list, const TWalkRange& r, TDateRec& day) {
  if (list.IsShift) {
    const TDateSet* first = list.Item(0);
    if (first != nullptr && first->Start() != nullptr && first->Start()->Value()) {
      day = AddToDate(day, AmountOf(*first->Start()->Value()));
    }
    return true;
  }
  if (list.MoveDays == 0) return InListIn(list, r, day) == list.MustMatch;

  // A day may not move out of the range's years, unless it already lay outside on that side.
  const bool began_below = day.Year < r.y1;
  const bool began_above = day.Year > r.y2;
  const auto stopped = [&] {
    return (!began_below && day.Year < r.y1) || (!began_above && day.Year > r.y2);
  };

  // Every move is bounded: by the stops above and, for a day that lies beyond them already
  // or a step of 0, by a count of steps no longer than the range. A move that runs out of
  // steps never found its day, and the candidate is dropped.
  const int64_t move = Sign(list.MoveDays) * Magnitude(list.MoveStep);
  const auto move_step = static_cast<int32_t>(CutStep(move));
  const int64_t max_moves = std::max<int64_t>(0, r.last_day - r.first_day + 1) + kMoveMargin;
  int64_t moves = 0;
  const auto step = [&] {
    if (move_step == 0 || ++moves > max_moves) return false;
    day = AddDays(day, move_step);
    return day.Year >= kFirstWalkYear && day.Year <= kLastWalkYear;
  };

  if (list.MoveDays == kUnboundedMove || list.MoveDays == -kUnboundedMove) {
    while (InListIn(list, r, day) == list.MustMatch && !stopped()) {
      if (!step()) return false;
    }
  } else {
    int64_t count = 0;
    const auto counting = [&] {
      return list.MoveDays > 0 ? count < list.MoveDays : count > list.MoveDays;
    };
    while (counting() && !stopped()) {
      if (InListIn(list, r, day) == list.MustMatch) count += move;
      if (!step()) return false;
    }
    while (InListIn(list, r, day) != list.MustMatch && !stopped()) {
      if (!step()) return false;
    }
  }
  return !stopped();
}

// ---- The walk ----------------------------------------------------------------------------

// A derived date set reads the period of each occurrence when it names "[" or "]".
bool ReadsBasePeriod(const TDateSet& set) noexcept {
  const auto names_base = [](const TDateParts* parts) {
    if (parts == nullptr || !parts->Value()) return false;
    const TDateRec v = *parts->Value();
    for (const int32_t code : {v.Year, v.Month, v.Day}) {
      if (code == kCodeBaseStart || code == kCodeBaseEnd) return true;
    }
    return false;
  };
  return names_base(set.Start()) || names_base(set.End());
}

// The codes "[" and "]" of a date set that has no base period to read them from (a main
// date) stand for 1 and 12 in every field; only in the month do they mean anything (January
// and December).
constexpr int32_t kNoBaseFirst = 1;
constexpr int32_t kNoBaseLast = 12;

// How far a month loop that crosses years looks beyond the range: a year, and as much again
// as the start's adjustment reaches, within reason. A month step of a fixed start would
// otherwise walk from any year of the file to the range.
constexpr int64_t kMaxReachYears = 50;

// What the symbolic codes of a year or month field stand for in one walk.
struct TFieldSymbols {
  int64_t every;       // the empty field
  int64_t earliest;    // <
  int64_t latest;      // >
  int64_t today;       // *
  int64_t base_start;  // [
  int64_t base_end;    // ]
};

// A year or month code's value: what a symbol stands for, else the number as written ("?"
// too: the steps that give it a meaning look for it first).
constexpr int64_t FieldValue(int32_t code, const TFieldSymbols& symbols) noexcept {
  switch (code) {
    case kCodeEvery:
      return symbols.every;
    case kCodeEarliest:
      return symbols.earliest;
    case kCodeLatest:
      return symbols.latest;
    case kCodeToday:
      return symbols.today;
    case kCodeBaseStart:
      return symbols.base_start;
    case kCodeBaseEnd:
      return symbols.base_end;
    default:
      return code;
  }
}

// One walk of days from a start day: where it runs and where it stands.
struct TWalkState {
  TDateRec start;
  int64_t start_day = 0;
  int64_t end_day = 0;
  int64_t step = 0;  // days between candidates; negative backwards, 0 for one day only
  TDateRec cur;
  int64_t cur_day = 0;
  bool first_candidate = true;
};

class TWalker {
 public:
  TWalker(const TDateSet& set, const TWalkRange& r, const TDateStartEnd* base,
          const TDateSetListList* conditions, std::span<const TDatePack> base_list,
          std::vector<TDatePack>& out, TPackBudget& budget)
      : r_(r),
        base_(base),
        base_list_(base_list),
        out_(out),
        budget_(budget),
        today_(r.calendar->Today()) {
    const TDateParts& start = *set.Start();
    value_ = start.GetOrZero(kValuePart);
    adjust_ = AmountOf(start.GetOrZero(kAdjustPart));
    step_ = AmountOf(start.GetOrZero(kStepPart));
    has_step_ = start.Step().has_value();
    relative_ = start.Relative();
    if (const TDateParts* end = set.End()) {
      has_end_ = true;
      end_value_ = end->GetOrZero(kValuePart);
      end_adjust_ = AmountOf(end->GetOrZero(kAdjustPart));
      end_relative_ = end->Relative();
    }
    if (conditions != nullptr && conditions->Count() > 0) conditions_ = conditions;
    if (base_ != nullptr) {
      base_first_ = base_->PeriodStart;
      base_last_ = base_->PeriodEnd;
      base_first_day_ = SerialDay(base_first_);
      base_last_day_ = SerialDay(base_last_);
    }
    derived_ = base_ != nullptr || !base_list_.empty();
    lone_day_ = step_.Days == 0 && !has_end_ && !derived_;
    // A walk of its first and last day only steps back when its end lies before its start.
    walks_back_ = step_.Days < 0 || step_.Days == kEndsOnlyStep;
    // A day of the month by number or by weekday (not "this week", which may begin in the
    // month before), moved on by the adjustment if at all, starts in its month or later.
    const bool starts_in_its_month =
        !relative_ && adjust_.Days >= 0 &&
        (IsPlainDayCode(value_.Day) || value_.Day == kCodeEvery ||
         (value_.Day >= kCodeEveryWeek && value_.Day <= kCodeLastWeekEnd));
    months_past_range_empty_ = starts_in_its_month && !walks_back_ && conditions_ == nullptr;
  }

  void Run();

 private:
  // The year loop's steps, in the order Run takes them.
  // The start year before its alignment, or none: "?" is a default's placeholder, and such a
  // year has no day.
  std::optional<int64_t> StartYear() const noexcept;
  // The first year of the step grid not before Y1 (not after Y2 backwards).
  int64_t AlignedYear(int64_t year) const noexcept;
  // The end year, against the aligned start year.
  int64_t EndYear(int64_t year) const noexcept;
  // The start month of each year of the loop, before its adjustment; none for "?".
  std::optional<int64_t> StartMonth() const noexcept;
  // end_year_ and end_month_ against this year's start month, carried from first_end_year.
  void SetEndMonth(int64_t first_end_year, int64_t month) noexcept;
  // Moves year on by the year step; false when the loop is done.
  bool NextYear(int64_t& year) const noexcept;
  // What the year and month symbols stand for in this walk. every: the empty field's value;
  // "[" and "]" read the base period, or stand for the values given when there is none.
  TFieldSymbols YearSymbols(int64_t every, int64_t no_base_first,
                            int64_t no_base_last) const noexcept;
  TFieldSymbols MonthSymbols(int64_t every) const noexcept;

  void Month(int64_t year, int64_t month);
  // Whether the month loop has passed the end month.
  bool PassedEnd(int64_t year, int64_t month) const noexcept;
  void Day(int64_t year, int64_t month, int32_t day_code);
  // Whether a walk from start that no condition moves shows no day for certain: it starts
  // after the range and never walks back, or it is one day before the range. Most walks of
  // the years around the range are of this kind, and need not be made.
  bool MissesRange(TDateRec start) const noexcept;
  // The pack of a lone day (see lone_day_) that MissesRange let through: the walk would make
  // just this one.
  void AddLoneDay(TDateRec start, TDateRec base_day);
  void Walk(TDateRec start, TDateRec base_day, bool ran_first_pass);
  int64_t EndDay(TDateRec start, int64_t start_day) const;
  int32_t KindOf(int64_t cur_day, int64_t start_day, int64_t end_day, int64_t step) const;

  // The walk's steps, in the order Walk takes them.
  // A walk that starts before the range (after it, backwards) begins there: a daily walk at
  // its first (last) day, any other on the first day of its step grid there. False when the
  // walk ends before it reaches the range.
  bool EnterRange(TWalkState& w) const noexcept;
  // The second condition pass over a candidate day: the filters, and with moving_too the
  // moving lists. Every list runs, so a later move still places the day the period ends on.
  bool PassesConditions(TDateRec& day, bool moving_too) const;
  // Whether a candidate that passed the conditions is shown: in the range's years, and a
  // derived day outside its base period (or near a base occurrence, whose index goes to
  // nearest), any other within its own period.
  bool InItsPeriod(TDateRec day, const TWalkState& w, int32_t& nearest) const;
  void AddPack(TDateRec day, int32_t kind, TDateRec start, TDateRec base_day, int32_t nearest);
  // One step on; false when the walk has passed its end or the range.
  bool StepOn(TWalkState& w) const noexcept;

  // The reference of a relative start: the base period's first day, or today.
  TDateRec Reference() const noexcept { return base_ != nullptr ? base_first_ : today_; }

  const TWalkRange& r_;
  const TDateStartEnd* base_;
  std::span<const TDatePack> base_list_;
  std::vector<TDatePack>& out_;
  TPackBudget& budget_;
  const TDateSetListList* conditions_ = nullptr;
  TDateRec today_;

  TDateRec value_;
  TDateAmount adjust_, step_;
  bool has_step_ = false;
  bool relative_ = false;
  bool has_end_ = false;
  TDateRec end_value_;
  TDateAmount end_adjust_;
  bool end_relative_ = false;

  TDateRec base_first_, base_last_;
  int64_t base_first_day_ = 0;
  int64_t base_last_day_ = 0;
  bool derived_ = false;
  // A date set of single days: no step, no end, not derived. Without conditions each such
  // start is a day of its own, the most common walk by far.
  bool lone_day_ = false;
  bool walks_back_ = false;
  // The months after the range give no day: each start lies in its month or later, and
  // neither the walk nor a condition goes back from there.
  bool months_past_range_empty_ = false;

  int64_t base_year_ = 0;  // the start year before its alignment
  int64_t loop_year_ = 0;  // the year of the year loop the months walked belong to
  int64_t end_year_ = 0;   // the end year of the loops, carried by the end month
  int64_t end_month_ = 0;
};

void TWalker::Run() {
  const std::optional<int64_t> start_year = StartYear();
  if (!start_year) return;
  base_year_ = *start_year;
  int64_t year = AlignedYear(base_year_);
  if (has_end_) end_year_ = EndYear(year);

  // The year loop: from the grid's first year up to one past Y2 (or down to Y1).
  const int64_t first_end_year = end_year_;
  do {
    loop_year_ = year;
    if (const std::optional<int64_t> start_month = StartMonth()) {
      int64_t y = year;
      int64_t m = *start_month + adjust_.Months;
      CarryMonth(y, m);
      if (has_end_) SetEndMonth(first_end_year, m);
      Month(y, m);
    }
  } while (NextYear(year));
}

TFieldSymbols TWalker::YearSymbols(int64_t every, int64_t no_base_first,
                                   int64_t no_base_last) const noexcept {
  return {every,
          r_.y1,
          r_.y2,
          today_.Year,
          base_ != nullptr ? base_first_.Year : no_base_first,
          base_ != nullptr ? base_last_.Year : no_base_last};
}

TFieldSymbols TWalker::MonthSymbols(int64_t every) const noexcept {
  return {every,
          1,
          12,
          today_.Month,
          base_ != nullptr ? base_first_.Month : kNoBaseFirst,
          base_ != nullptr ? base_last_.Month : kNoBaseLast};
}

std::optional<int64_t> TWalker::StartYear() const noexcept {
  int64_t year = 0;
  if (relative_) {
    year = int64_t{Reference().Year} + value_.Year;
  } else if (value_.Year == kCodeKeep) {
    return std::nullopt;
  } else {
    year = FieldValue(value_.Year, YearSymbols(r_.y1, kNoBaseFirst, kNoBaseLast));
  }
  return year + adjust_.Years;
}

int64_t TWalker::AlignedYear(int64_t year) const noexcept {
  const int64_t y1 = r_.y1;
  const int64_t y2 = r_.y2;
  const int64_t year_step = step_.Years;
  if (year_step > 0 && year < y1) return y1 - (y1 - year) % year_step;
  if (year_step < 0 && year > y2) return y2 + (year - y2) % -year_step;
  return year;
}

int64_t TWalker::EndYear(int64_t year) const noexcept {
  // An empty end year is the start's own; with an every-year start the range's last.
  const int64_t every = value_.Year != kCodeEvery ? year : r_.y2;
  return FieldValue(end_value_.Year, YearSymbols(every, r_.y1, r_.y2)) + end_adjust_.Years;
}

std::optional<int64_t> TWalker::StartMonth() const noexcept {
  if (relative_) return int64_t{Reference().Month} + value_.Month;
  if (value_.Month == kCodeKeep) return std::nullopt;
  return FieldValue(value_.Month, MonthSymbols(1));
}

void TWalker::SetEndMonth(int64_t first_end_year, int64_t month) noexcept {
  // An empty end month is the last month of the start's month grid in the year, or December
  // with an every-month start.
  int64_t every = 12;
  if (value_.Month != kCodeEvery) {
    const int64_t month_step = step_.Months;
    every = month_step >= 1 ? 12 - (12 - month) % month_step : month;
  }
  end_year_ = first_end_year;
  end_month_ = FieldValue(end_value_.Month, MonthSymbols(every)) + end_adjust_.Months;
  CarryMonth(end_year_, end_month_);
}

bool TWalker::NextYear(int64_t& year) const noexcept {
  const int64_t year_step = step_.Years;
  if (year_step == 0) return false;
  year += year_step;
  if (year_step > 0 && year > int64_t{r_.y2} + 1) return false;
  if (year_step < 0 && year < r_.y1) return false;
  return !has_end_ || (year_step > 0 ? year <= end_year_ : year >= end_year_);
}

bool TWalker::PassedEnd(int64_t year, int64_t month) const noexcept {
  const int64_t month_step = step_.Months;
  if (step_.Years == 0) {
    const int64_t here = year * 12 + month;
    const int64_t end = end_year_ * 12 + end_month_;
    return month_step > 0 ? here > end : here < end;
  }
  return month_step > 0 ? month > end_month_ : month < end_month_;
}

void TWalker::Month(int64_t year, int64_t month) {
  const int64_t month_step = step_.Months;
  // A period without a year step runs its months on across the years.
  const bool across_years = has_end_ && step_.Years == 0;

  // Such a loop only looks at the months near the range (see kMaxReachYears); months are
  // counted from year 0 here.
  const int64_t reach = std::min<int64_t>(
      kMaxReachYears, 1 + Magnitude(adjust_.Years) + (Magnitude(adjust_.Months) + 11) / 12 +
                          (Magnitude(adjust_.Days) + 364) / 365);
  const int64_t low_index = (int64_t{r_.y1} - reach) * 12;
  const int64_t high_index = (int64_t{r_.y2} + 1 + reach) * 12 + 11;

  for (;;) {
    if (across_years && month_step != 0) {
      // Whole steps over the months far before (backwards: after) the range.
      const int64_t index = year * 12 + (month - 1);
      const int64_t size = Magnitude(month_step);
      const int64_t gap = month_step > 0 ? low_index - index : index - high_index;
      if (gap > 0) {
        month += (gap + size - 1) / size * month_step;
        CarryMonth(year, month);
        if (PassedEnd(year, month)) break;
      }
      const int64_t now = year * 12 + (month - 1);
      if (month_step > 0 ? now > high_index : now < low_index) break;
    }

    if (year > r_.y2 && month_step >= 0 && months_past_range_empty_) break;
    if (year >= kFirstWalkYear && year <= kLastWalkYear) {
      if (!relative_ && value_.Day >= kCodeEveryWeek && value_.Day < kCodeNthWeekFirst) {
        // Every week: the first to the fifth such weekday of the month, in that order.
        for (int32_t n = 1; n <= 5; ++n) Day(year, month, value_.Day + 7 * n);
      } else {
        Day(year, month, value_.Day);
      }
    }

    if (month_step == 0) break;
    month += month_step;
    if (across_years) {
      CarryMonth(year, month);
    } else if (month < 1 || month > 12) {
      break;
    }
    if (has_end_ && PassedEnd(year, month)) break;
  }
}

void TWalker::Day(int64_t year, int64_t month, int32_t day_code) {
  const auto y = static_cast<int32_t>(year);
  const auto m = static_cast<int32_t>(month);

  // Start day.
  TDateRec start;
  if (relative_) {
    start = AddDays(TDateRec{y, m, Reference().Day}, value_.Day);
  } else {
    int32_t day = 0;
    switch (day_code) {
      case kCodeToday:
      case kCodeKeep:
        day = today_.Day;
        break;
      case kCodeLatest:
        day = DaysInMonth(y, m);
        break;
      case kCodeBaseStart:
        day = base_ != nullptr ? base_first_.Day : kNoBaseFirst;
        break;
      case kCodeBaseEnd:
        day = base_ != nullptr ? base_last_.Day : kNoBaseLast;
        break;
      case kCodeEvery:
      case kCodeEarliest:
        day = 1;
        break;
      default: {
        start = IsPlainDayCode(day_code)
                    ? ResolvePlainDay(y, m, day_code)
                    : ResolveDatePattern(*r_.calendar, r_.context, TDateRec{y, m, day_code},
                                         TDateRec{0, 1, 1});
        if (start == kNullDate) return;  // the month has no such day
        break;
      }
    }
    if (day != 0) {
      // Today's 31st in April, the base's 30th in February: no such day, as a written 31st
      // is none in April.
      if (day > DaysInMonth(y, m)) return;
      start = TDateRec{y, m, day};
    }
  }
  // Codes the resolution passes through (no day of any month) give no day.
  if (!UsableDay(start)) return;
  // Moving by no days only brings a day past its month's end into the next month.
  if (adjust_.Days != 0 || start.Day > DaysInMonth(start.Year, start.Month)) {
    start = AddDays(start, adjust_.Days);
    if (!UsableDay(start)) return;
  }

  // The base date: the start year before its alignment, moved by every carry (of the month
  // adjustment, a relative start, a month step, the day adjustment) that took the resolved
  // start out of its loop year.
  const TDateRec base_day{ClampToInt32(base_year_ + (start.Year - loop_year_)), start.Month,
                          start.Day};
  if (conditions_ == nullptr) {
    if (MissesRange(start)) return;
    if (lone_day_) {
      AddLoneDay(start, base_day);
      return;
    }
  }

  // First condition pass: the moving lists, or all of them for a walk that is not daily.
  bool ran_first_pass = false;
  if (conditions_ != nullptr) {
    const bool every_list = step_.Days != 1 && step_.Days != -1;
    for (const TDateSetList& list : conditions_->Items()) {
      if (list.MoveDays == 0 && !every_list) continue;
      ran_first_pass = true;
      if (!ApplyConditionIn(list, r_, start)) return;  // no start this time
    }
    if (!UsableDay(start)) return;
  }
  Walk(start, base_day, ran_first_pass);
}

bool TWalker::MissesRange(TDateRec start) const noexcept {
  return (start.Year > r_.y2 && !walks_back_) || (start.Year < r_.y1 && step_.Days == 0);
}

void TWalker::AddLoneDay(TDateRec start, TDateRec base_day) {
  if (!budget_.Take()) return;
  AddPack(start, kPackSingle, start, base_day, -1);
  out_.back().Period.PeriodEnd = start;
}

int64_t TWalker::EndDay(TDateRec start, int64_t start_day) const {
  int64_t year = 0;
  int64_t month = 0;
  int64_t day = 0;
  if (has_end_) {
    TDateRec end;
    if (end_relative_) {
      end = AddToDate(base_ != nullptr ? base_last_ : start, AmountOf(end_value_));
    } else {
      end = ResolveDatePattern(*r_.calendar, r_.context, end_value_, start);
      if (end == kNullDate) {
        end = start;
      } else {
        if (end_value_.Year == kCodeEvery && end_value_.Month > 0 &&
            end_value_.Month < start.Month) {
          end.Year += 1;  // a period across the new year
        }
        // "[" and "]" take the base period's fields; without one they stand for 1 and 12.
        const auto base_field = [](int32_t code, int32_t& field, int32_t first, int32_t last) {
          if (code == kCodeBaseStart) field = first;
          if (code == kCodeBaseEnd) field = last;
        };
        const bool b = base_ != nullptr;
        base_field(end_value_.Year, end.Year, b ? base_first_.Year : kNoBaseFirst,
                   b ? base_last_.Year : kNoBaseLast);
        base_field(end_value_.Month, end.Month, b ? base_first_.Month : kNoBaseFirst,
                   b ? base_last_.Month : kNoBaseLast);
        base_field(end_value_.Day, end.Day, b ? base_first_.Day : kNoBaseFirst,
                   b ? base_last_.Day : kNoBaseLast);
      }
    }
    // Field by field, without a carry; SerialDay reads what runs over.
    year = int64_t{end.Year} + end_adjust_.Years;
    month = int64_t{end.Month} + end_adjust_.Months;
    day = int64_t{end.Day} + end_adjust_.Days;
  } else {
    year = start.Year;
    month = start.Month;
    if (step_.Days > 0) {
      day = DaysInMonth(start.Year, start.Month);
    } else if (step_.Days < 0) {
      day = 1;
    } else {
      day = start.Day;
    }
    // Within the start's own month: plain arithmetic on its day number.
    if (year <= int64_t{r_.y2} + 1) return start_day + (day - start.Day);
  }
  // Carried and rolled as a date first, so that a borrow may bring it back; then cut: the
  // walk never looks past the year after the range.
  return std::min(SerialDay(year, month, day), SerialDay(int64_t{r_.y2} + 1, 12, 31));
}

int32_t TWalker::KindOf(int64_t cur_day, int64_t start_day, int64_t end_day, int64_t step) const {
  if (derived_) return kPackDerived;
  if (start_day == end_day) return kPackSingle;
  if (!has_step_ || step_.Days == kEndsOnlyStep || step == 1 || step == -1) {
    if (value_.Day == kCodeEvery) return kPackSingle;  // an every-day walk
    if (cur_day == start_day) return kPackFirst;
    if (cur_day == end_day && has_end_ && end_value_ != kNullDate) return kPackLast;
    return kPackMiddle;
  }
  return kPackSingle;
}

void TWalker::Walk(TDateRec start, TDateRec base_day, bool ran_first_pass) {
  TWalkState w;
  w.start = start;
  w.start_day = SerialDay(start);
  w.end_day = EndDay(start, w.start_day);
  w.step = step_.Days;
  if (w.step == kEndsOnlyStep) w.step = CutStep(w.end_day - w.start_day);  // first and last day
  w.cur = start;
  w.cur_day = w.start_day;
  if (!EnterRange(w)) return;

  const std::size_t first_record = out_.size();
  TDateRec last = w.cur;
  for (;;) {
    const int32_t kind = KindOf(w.cur_day, w.start_day, w.end_day, w.step);
    // The moving lists act on a single day that the first pass has not moved already.
    const bool moving_too = kind == kPackSingle && (!w.first_candidate || !ran_first_pass);
    TDateRec candidate = w.cur;
    bool keep = PassesConditions(candidate, moving_too);
    last = candidate;
    int32_t nearest = -1;
    if (keep) keep = InItsPeriod(candidate, w, nearest);
    // The window's packs are spent: the walk ends as if its period ended here.
    if (keep && !budget_.Take()) break;
    if (keep) AddPack(candidate, kind, start, base_day, nearest);
    if (!StepOn(w)) break;
  }

  // Every day of the walk belongs to the period that ends on its last candidate.
  for (std::size_t i = first_record; i < out_.size(); ++i) {
    out_[i].Period.PeriodEnd = last;
  }
}

bool TWalker::EnterRange(TWalkState& w) const noexcept {
  const int64_t step = w.step;
  if (!((step > 0 && w.cur_day < r_.first_day) || (step < 0 && w.cur_day > r_.last_day))) {
    return true;
  }
  // A walk that ends before the range (after it, backwards) never reaches it. From the
  // Gregorian calendar on the landing below lands exactly and would find that out at length:
  // a move of decades rolls over every month.
  if (w.start_day >= kFirstGregorianDay &&
      (step > 0 ? w.end_day < r_.first_day : w.end_day > r_.last_day)) {
    return false;
  }
  const int64_t size = step > 0 ? step : -step;
  // Days to move over, counted as AddToDate counts them: every year by the Gregorian rule,
  // where day numbers before 1582/10/15 follow the Julian calendar. offset is the difference
  // at the start, found by a first landing.
  const auto land = [&](int64_t offset) {
    const int64_t gap =
        step > 0 ? r_.first_day - (w.start_day + offset) : (w.start_day + offset) - r_.last_day;
    const int64_t skip = gap <= 0 ? 0 : (gap + size - 1) / size * step;
    w.cur = AddDays(w.start, static_cast<int32_t>(CutStep(skip)));
    w.cur_day = SerialDay(w.cur);
    return w.cur_day - (w.start_day + skip);
  };
  if (const int64_t offset = land(0); offset != 0) land(offset);
  // A walk that would end before reaching the range has nothing to show.
  if (step > 0 ? (w.cur_day > w.end_day || w.cur_day > r_.last_day)
               : (w.cur_day < w.end_day || w.cur_day < r_.first_day)) {
    return false;
  }
  // The start of a daily walk is clamped, not skipped: its first candidate stays the first.
  w.first_candidate = size == 1;
  return true;
}

bool TWalker::PassesConditions(TDateRec& day, bool moving_too) const {
  bool keep = true;
  if (conditions_ == nullptr) return keep;
  for (const TDateSetList& list : conditions_->Items()) {
    if (list.IsShift || (list.MoveDays != 0 && !moving_too)) continue;
    if (!ApplyConditionIn(list, r_, day)) keep = false;
  }
  return keep;
}

bool TWalker::InItsPeriod(TDateRec day, const TWalkState& w, int32_t& nearest) const {
  if (day.Year < r_.y1 || day.Year > r_.y2 || !UsableDay(day)) return false;
  const int64_t serial = day == w.cur ? w.cur_day : SerialDay(day);
  // A derived day is tested against the occurrence it comes from (so a derived period that
  // ends before it starts keeps its first day), any other against its own period.
  if (base_ != nullptr) return serial < base_first_day_ || serial > base_last_day_;
  if (!base_list_.empty()) {
    nearest = NearestBase(day, base_list_);
    return nearest >= 0;
  }
  return w.step < 0 ? w.end_day <= serial && serial <= w.start_day
                    : w.start_day <= serial && serial <= w.end_day;
}

void TWalker::AddPack(TDateRec day, int32_t kind, TDateRec start, TDateRec base_day,
                      int32_t nearest) {
  TDatePack& pack = out_.emplace_back(day);
  pack.Kind = kind;
  pack.Period.PeriodStart = start;
  pack.BaseDate = base_day;
  if (base_ != nullptr) {
    pack.ProgressRange = *base_;
  } else if (nearest >= 0) {
    pack.ProgressRange = base_list_[static_cast<std::size_t>(nearest)].Period;
  }
}

bool TWalker::StepOn(TWalkState& w) const noexcept {
  if (w.step == 0) return false;
  w.cur = AddDays(w.cur, static_cast<int32_t>(w.step));
  // Day numbers and AddToDate count alike from 1582/10/15 on; before it the day number is
  // read afresh.
  if (w.cur_day >= kFirstGregorianDay && w.cur_day + w.step >= kFirstGregorianDay) {
    w.cur_day += w.step;
  } else {
    w.cur_day = SerialDay(w.cur);
  }
  w.first_candidate = false;
  return w.step > 0 ? w.cur_day <= w.end_day && w.cur.Year <= r_.y2
                    : w.cur_day >= w.end_day && w.cur.Year >= r_.y1;
}

// The decades searched for a base occurrence of derived days when the range holds none.
constexpr int32_t kSearchDecade = 10;
constexpr int32_t kSearchLastYear = 2150;
constexpr int32_t kSearchFirstYear = 1583;

}  // namespace

// ---- Public operations -------------------------------------------------------------------

void Enumerate(const TDateSet& set, const TCalendar& calendar, TPatternContext range,
               const TDateStartEnd* base, const TDateSetListList* conditions,
               std::span<const TDatePack> base_list, std::vector<TDatePack>& out,
               TPackBudget& budget) {
  if (set.Start() == nullptr || budget.Spent()) return;
  const TWalkRange r = MakeRange(calendar, range);
  if (!r.valid) return;
  TWalker(set, r, base, conditions, base_list, out, budget).Run();
}

std::vector<TDatePack> Enumerate(const TDateSet& set, const TCalendar& calendar,
                                 TPatternContext range, const TDateStartEnd* base,
                                 const TDateSetListList* conditions,
                                 std::span<const TDatePack> base_list) {
  std::vector<TDatePack> out;
  TPackBudget budget;
  Enumerate(set, calendar, range, base, conditions, base_list, out, budget);
  return out;
}

void EvaluateList(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
                  const TDateStartEnd* base, const TDateSetListList* conditions,
                  std::vector<TDatePack>& out, TPackBudget& budget) {
  for (const TDateSet& set : list.Items()) {
    Enumerate(set, calendar, range, base, conditions, {}, out, budget);
  }
}

std::vector<TDatePack> EvaluateList(const TDateSetList& list, const TCalendar& calendar,
                                    TPatternContext range, const TDateStartEnd* base,
                                    const TDateSetListList* conditions) {
  std::vector<TDatePack> out;
  TPackBudget budget;
  EvaluateList(list, calendar, range, base, conditions, out, budget);
  return out;
}

void Occurrences(const TEntry& entry, const TCalendar& calendar, TPatternContext range,
                 std::vector<TDatePack>& out, TPackBudget& budget) {
  if (!entry.Dates || entry.Dates->Empty() || !MakeRange(calendar, range).valid) return;
  const TDateSetListList* conditions = entry.Conditions.get();
  const std::size_t first = out.size();
  EvaluateList(*entry.Dates, calendar, range, nullptr, conditions, out, budget);
  if (!entry.DerivedDates || entry.DerivedDates->Empty()) return;

  // The occurrences the derived days are counted from: those shown, or else the nearest
  // found decade by decade outside the range (these are not shown).
  std::vector<TDatePack> outward;
  std::span<const TDatePack> bases(out.data() + first, out.size() - first);
  if (bases.empty()) {
    const int32_t y1 = range.FirstYear;
    const int32_t y2 = range.LastYear;
    // The search goes on while either side still has a decade inside the calendar, so that
    // a date long past is found even when the future runs out first.
    for (int32_t a = 0;; ++a) {
      const int32_t up_last = y2 + kSearchDecade + kSearchDecade * a;
      if (up_last <= kSearchLastYear) {
        EvaluateList(*entry.Dates, calendar,
                     TPatternContext{up_last - kSearchDecade + 1, up_last, range.WeekStart},
                     nullptr, conditions, outward, budget);
      }
      const int32_t down_first = y1 - kSearchDecade - kSearchDecade * a;
      if (outward.empty() && down_first >= kSearchFirstYear) {
        EvaluateList(*entry.Dates, calendar,
                     TPatternContext{down_first, down_first + kSearchDecade - 1, range.WeekStart},
                     nullptr, conditions, outward, budget);
      }
      if (!outward.empty() || budget.Spent()) break;
      if (up_last + kSearchDecade > kSearchLastYear &&
          down_first - kSearchDecade < kSearchFirstYear) {
        break;
      }
    }
    bases = outward;
  }
  if (bases.empty()) return;

  std::vector<TDatePack> derived;
  for (const TDateSet& set : entry.DerivedDates->Items()) {
    if (ReadsBasePeriod(set)) {
      for (const TDatePack& base : bases) {
        if (base.Kind != kPackSingle && base.Kind != kPackFirst) continue;
        const std::size_t made = derived.size();
        const TDateStartEnd base_period = base.Period;
        Enumerate(set, calendar, range, &base_period, nullptr, {}, derived, budget);
        for (std::size_t i = made; i < derived.size(); ++i) derived[i].BaseDate = base.BaseDate;
      }
    } else {
      Enumerate(set, calendar, range, nullptr, nullptr, bases, derived, budget);
    }
  }
  out.insert(out.end(), derived.begin(), derived.end());
}

std::vector<TDatePack> Occurrences(const TEntry& entry, const TCalendar& calendar,
                                   TPatternContext range) {
  std::vector<TDatePack> out;
  TPackBudget budget;
  Occurrences(entry, calendar, range, out, budget);
  return out;
}

bool InList(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
            TDateRec day) {
  return InListIn(list, MakeRange(calendar, range), day);
}

bool ApplyCondition(const TDateSetList& list, const TCalendar& calendar, TPatternContext range,
                    TDateRec& day) {
  return ApplyConditionIn(list, MakeRange(calendar, range), day);
}

int32_t NearestBase(TDateRec day, std::span<const TDatePack> base_list) {
  const int64_t target = SerialDay(day);
  int32_t nearest = -1;
  int64_t best = 0;
  for (std::size_t i = 0; i < base_list.size(); ++i) {
    const TDatePack& base = base_list[i];
    if (base.Kind != kPackSingle && base.Kind != kPackFirst && base.Kind != kPackLast) continue;
    if (SerialDay(base.Period.PeriodStart) <= target &&
        target <= SerialDay(base.Period.PeriodEnd)) {
      continue;
    }
    const int64_t distance = Magnitude(SerialDay(base.Date()) - target);
    if (nearest < 0 || distance < best) {
      nearest = static_cast<int32_t>(i);
      best = distance;
    }
  }
  return nearest;
}

}  // namespace pelo
