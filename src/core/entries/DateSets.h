#pragma once

// Date expressions: the code triple, the two sides of a date set with their
// adjustments and steps, the set itself, the lists an entry holds, and the parser
// of their text form ("12/25", "2000/1/1~2000/1/7", "12/MO2", "H12/4/1", "1/31+1^2" ...).
//
// The evaluation walks these objects for every entry and every rebuild of the day table, so
// reading a code is a plain member access: the triples are values, never allocated apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/Dates.h"
#include "text/ParseErrors.h"

namespace pelo {

class TCalendar;
class TPackBudget;

// The step "^_": only the first and the last day of a period.
inline constexpr int32_t kEndsOnlyStep = 2147483647;
// MoveDays of "<" and ">": move as far as it takes.
inline constexpr int32_t kUnboundedMove = 2147483647;

// ---- TDateClass --------------------------------------------------------------------------

// One code triple (year, month, day); the day pack's shown day. A plain value: the day table
// holds hundreds of thousands of packs.
class TDateClass {
 public:
  TDateClass() = default;
  explicit TDateClass(TDateRec date) noexcept : date_(date) {}

  int32_t Year() const noexcept { return date_.Year; }
  int32_t Month() const noexcept { return date_.Month; }
  int32_t Day() const noexcept { return date_.Day; }
  const TDateRec& Date() const noexcept { return date_; }

  // "2000/1/1"; codes as their words ("毎/12/25").
  std::string ToText() const;

 protected:
  TDateRec date_;
};

// Takes every code of source except "?" (-10), which keeps target's own code.
void MergeDateCodes(TDateRec& target, TDateRec source) noexcept;

// ---- TDateParts --------------------------------------------------------------------------

// Indexes of the three triples of a side.
inline constexpr int32_t kValuePart = 0;
inline constexpr int32_t kAdjustPart = 1;
inline constexpr int32_t kStepPart = 2;

// One side (start or end) of a date set: the code triple, the amounts added
// after resolving it, and the repetition steps. Each triple may be absent.
class TDateParts {
 public:
  // Null when absent.
  const TDateRec* Get(int32_t index) const noexcept {
    const auto& part = parts_[Slot(index)];
    return part ? &*part : nullptr;
  }
  TDateRec* Get(int32_t index) noexcept {
    auto& part = parts_[Slot(index)];
    return part ? &*part : nullptr;
  }
  // A missing triple is made as (0, 0, 0).
  TDateRec& GetOrCreate(int32_t index) noexcept {
    auto& part = parts_[Slot(index)];
    if (!part) part.emplace();
    return *part;
  }
  void Remove(int32_t index) noexcept { parts_[Slot(index)].reset(); }
  // The triple, or (0, 0, 0) when absent: what an absent adjustment or step amounts to.
  TDateRec GetOrZero(int32_t index) const noexcept {
    return parts_[Slot(index)].value_or(TDateRec{});
  }

  const std::optional<TDateRec>& Value() const noexcept { return parts_[kValuePart]; }
  const std::optional<TDateRec>& Step() const noexcept { return parts_[kStepPart]; }

  // The side's text began with "+" or "-": the triple is an offset from a base date.
  bool Relative() const noexcept { return relative_; }
  void SetRelative(bool relative) noexcept { relative_ = relative; }

  void Assign(const TDateParts& other) { *this = other; }
  // The value code by code (MergeDateCodes), adjustment and step when other has them, and
  // the relative flag.
  void Merge(const TDateParts& other) noexcept;
  // The value resolved against reference, plus the adjustment when the day exists. The
  // null date when there is no value or no such day.
  TDateRec ResolveParts(const TCalendar& calendar, TPatternContext context,
                        TDateRec reference) const noexcept;

  // Reads one side ("2000/1/1", "12/MO2^2", "+1", "H12/4/1"). On an error ("年が間違って
  // います。", placed at the field, the step or the adjustment that does not read) this side
  // is left as it was. Two-digit years are taken in today's century (as written without a
  // today).
  TParseError ParseDateParts(std::string_view text, TDateRec today = {});

  friend bool operator==(const TDateParts&, const TDateParts&) = default;

 private:
  // Indexes come from our own code; the assertions build catches a slip.
  static constexpr std::size_t Slot(int32_t index) noexcept {
    return static_cast<std::size_t>(index);
  }

  std::array<std::optional<TDateRec>, 3> parts_{};
  bool relative_ = false;
};

// ---- TDateSet ----------------------------------------------------------------------------

// One date set: a start and, for a period, an end. Most sets are single days, so the end is
// held apart and costs a pointer when there is none.
class TDateSet {
 public:
  // A new set has a start without any triple and no end.
  TDateSet() : start_(std::in_place) {}
  // Copies are deep.
  TDateSet(const TDateSet& other);
  TDateSet& operator=(const TDateSet& other);
  TDateSet(TDateSet&&) noexcept = default;
  TDateSet& operator=(TDateSet&&) noexcept = default;

  bool HasStart() const noexcept { return start_.has_value(); }
  const TDateParts* Start() const noexcept { return start_ ? &*start_ : nullptr; }
  TDateParts* Start() noexcept { return start_ ? &*start_ : nullptr; }
  TDateParts& StartOrCreate() {
    if (!start_) start_.emplace();
    return *start_;
  }
  void RemoveStart() noexcept { start_.reset(); }

  bool HasEnd() const noexcept { return end_ != nullptr; }
  const TDateParts* End() const noexcept { return end_.get(); }
  TDateParts* End() noexcept { return end_.get(); }
  TDateParts& EndOrCreate() {
    if (!end_) end_ = std::make_unique<TDateParts>();
    return *end_;
  }
  // A fixed date (all three start codes non-zero) has nothing to repeat without its end,
  // so it loses its steps together with the end.
  void RemoveEnd() noexcept;

  void Assign(const TDateSet& other) { *this = other; }
  // The start by TDateParts::Merge; other's end, when it has one, replaces this end.
  void Merge(const TDateSet& other);

  // Reads "start~end" or a single side. On an error ("開始..." or "終了...", or "空") the set
  // is left as it was. today as for ParseDateParts.
  TParseError ParseDateSet(std::string_view text, TDateRec today = {});
  // Gives a period a daily step and every "every" field of a fixed start a step of 1.
  void Normalize();

  friend bool operator==(const TDateSet& a, const TDateSet& b) noexcept;

 private:
  std::optional<TDateParts> start_;
  std::unique_ptr<TDateParts> end_;
};

// ---- TDateSetList ------------------------------------------------------------------------

// The date sets of a date word or of a condition command, with the condition's
// settings.
class TDateSetList {
 public:
  bool MustMatch = false;  // "&" true, "!" false
  int32_t MoveStep = 1;    // days per move step
  int32_t MoveDays = 0;    // 0 none, ±kUnboundedMove unbounded
  bool IsShift = false;    // command a

  std::size_t Count() const noexcept { return items_.size(); }
  bool Empty() const noexcept { return items_.empty(); }
  // Null when out of range.
  const TDateSet* Item(std::size_t index) const noexcept {
    return index < items_.size() ? &items_[index] : nullptr;
  }
  TDateSet* Item(std::size_t index) noexcept {
    return index < items_.size() ? &items_[index] : nullptr;
  }
  const std::vector<TDateSet>& Items() const noexcept { return items_; }
  TDateSet& Add(TDateSet set = {}) { return items_.emplace_back(std::move(set)); }
  void Clear() noexcept { items_.clear(); }

  void Assign(const TDateSetList& other) { *this = other; }
  // A file default: its set i merged into set i, its further sets appended as copies;
  // MustMatch and MoveDays taken from it.
  void Merge(const TDateSetList& default_list);

  // Reads a comma list of date sets and appends them. On an error
  // ("2番目の開始年が間違っています。", "空") nothing is added. Each set takes its share of
  // budget (when given) as it is read; when the budget refuses, the list ends with the sets
  // read so far, and that is no error. today as for ParseDateParts.
  TParseError ParseDateSetList(std::string_view text, TDateRec today = {},
                               TPackBudget* budget = nullptr);

  friend bool operator==(const TDateSetList&, const TDateSetList&) = default;

 private:
  std::vector<TDateSet> items_;
};

// ---- TDateSetListList --------------------------------------------------------------------

// The condition lists of an entry, in the order written.
class TDateSetListList {
 public:
  std::size_t Count() const noexcept { return lists_.size(); }
  const TDateSetList* Item(std::size_t index) const noexcept {
    return index < lists_.size() ? &lists_[index] : nullptr;
  }
  TDateSetList* Item(std::size_t index) noexcept {
    return index < lists_.size() ? &lists_[index] : nullptr;
  }
  const std::vector<TDateSetList>& Items() const noexcept { return lists_; }
  TDateSetList& Add(TDateSetList list) { return lists_.emplace_back(std::move(list)); }
  void Clear() noexcept { lists_.clear(); }
  void Assign(const TDateSetListList& other) { *this = other; }

  friend bool operator==(const TDateSetListList&, const TDateSetListList&) = default;

 private:
  std::vector<TDateSetList> lists_;
};

// ---- TDateStartEnd -----------------------------------------------------------------------

// A period: of an occurrence, of its base, or the base of relative expressions. Plain
// records: a day pack holds three periods and the day table hundreds of thousands of packs.
struct TDateStartEnd {
  TDateRec PeriodStart;
  TDateRec PeriodEnd;
};

}  // namespace pelo
