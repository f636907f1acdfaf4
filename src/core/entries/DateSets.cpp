#include "entries/DateSets.h"

#include <iterator>

#include "calendar/DatePatterns.h"
#include "calendar/DateTexts.h"
#include "entries/ListParsing.h"
#include "entries/PackBudgets.h"
#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::string_view kStepErrors[3] = {"隔年が間違っています。", "隔月が間違っています。",
                                             "隔日が間違っています。"};
constexpr std::string_view kAdjustErrors[3] = {
    "加減年が間違っています。", "加減月が間違っています。", "加減日が間違っています。"};
constexpr std::string_view kYearError = "年が間違っています。";
constexpr std::string_view kMonthError = "月が間違っています。";
constexpr std::string_view kDayError = "日が間違っています。";
constexpr std::string_view kWeekError = "週が間違っています。";

// What is read of a side after its first "/" and after its second: the file format gives the
// fields there at most 12 characters, and a longer side's rest is ignored.
constexpr int32_t kFieldTextWidth = 12;
// The end of a "start~end" date set is read up to this width.
constexpr int32_t kEndTextWidth = 255;

// The symbols every field shares.
bool CommonSymbol(std::string_view text, int32_t& code) noexcept {
  if (text.empty()) {
    code = kCodeEvery;
  } else if (text.size() != 1) {
    return false;
  } else {
    switch (text[0]) {
      case '*':
        code = kCodeToday;
        break;
      case '[':
        code = kCodeBaseStart;
        break;
      case ']':
        code = kCodeBaseEnd;
        break;
      case '<':
        code = kCodeEarliest;
        break;
      case '>':
        code = kCodeLatest;
        break;
      case '?':
        code = kCodeKeep;
        break;
      default:
        return false;
    }
  }
  return true;
}

// "", "+" 1, "-" -1, "_" first and last day only, or a number; a final "W" multiplies by 7.
bool ReadStep(std::string_view text, int32_t& step) noexcept {
  int64_t factor = 1;
  if (!text.empty() && (text.back() == 'W' || text.back() == 'w')) {
    factor = 7;
    text.remove_suffix(1);
  }
  int32_t base = 0;
  if (text.empty() || text == "+") {
    base = 1;
  } else if (text == "-") {
    base = -1;
  } else if (text == "_") {
    base = kEndsOnlyStep;
  } else if (!ParseInt32(text, base)) {
    return false;
  }
  // A week step that does not fit (such as "_W") reads as nothing rather than wrapping.
  const int64_t product = base * factor;
  if (product > INT32_MAX || product < INT32_MIN) return false;
  step = static_cast<int32_t>(product);
  return true;
}

// Where the adjustment of field begins: its first "+", or failing that its first "-", when
// that sign is not the field's first character; npos when there is none.
std::size_t AdjustSign(std::string_view field) noexcept {
  std::size_t sign = field.find('+');
  if (sign == std::string_view::npos || sign == 0) {
    sign = field.find('-');
    if (sign == 0) sign = std::string_view::npos;
  }
  return sign;
}

bool ReadYear(std::string_view text, int32_t this_year, int32_t& year) {
  if (CommonSymbol(text, year)) return true;
  int64_t era_offset = -1;
  switch (text[0]) {
    case 'H':
    case 'h':
      era_offset = 1988;
      break;
    case 'M':
    case 'm':
      era_offset = 1867;
      break;
    case 'S':
    case 's':
      era_offset = 1925;
      break;
    case 'T':
    case 't':
      era_offset = 1911;
      break;
    default:
      break;
  }
  int32_t number = 0;
  if (!ParseInt32(era_offset >= 0 ? text.substr(1) : text, number)) return false;
  int64_t value = number;
  if (era_offset >= 0) {
    value += era_offset;
  } else if (text[0] != '+' && text[0] != '-' && value >= 1 && value <= 99) {
    // Two-digit years belong to the current century.
    value += this_year / 100 * 100;
  }
  if (value > INT32_MAX) return false;
  year = static_cast<int32_t>(value);
  return true;
}

bool ReadMonth(std::string_view text, bool relative, int32_t& month) noexcept {
  if (CommonSymbol(text, month)) return true;
  int32_t number = 0;
  if (!ParseInt32(text, number)) return false;
  if (!relative && (number < 0 || number > 12)) return false;
  month = number;
  return true;
}

// The day value; the error is placed at the field's start.
TParseError ReadDay(std::string_view field, bool relative, int32_t& day) {
  const std::string text = AsciiUpper(field);
  if (CommonSymbol(text, day)) return {};
  if (text == "HD") {
    day = kCodeHoliday;
  } else if (text == "PH") {
    day = kCodePrivateHoliday;
  } else if (text == "SD") {
    day = kCodeVernalEquinox;
  } else if (text == "AD") {
    day = kCodeAutumnalEquinox;
  } else if (text == "_") {
    day = kCodeMonthEnd;
  } else if (text[0] == '+' || text[0] == '-' || (text[0] >= '0' && text[0] <= '9')) {
    int32_t number = 0;
    if (!ParseInt32(text, number) || (!relative && (number < 0 || number > 31))) {
      return {kDayError, 0};
    }
    day = number;
  } else {
    static constexpr std::string_view kWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    int32_t weekday = -1;
    for (int32_t w = 0; w < 7; ++w) {
      if (text.compare(0, 2, kWeekdays[w]) == 0) weekday = w;
    }
    int32_t n = 0;
    if (weekday < 0) return {kWeekError, 0};
    if (text.size() > 2) {
      const char c = text[2];
      if (c == '*') {
        n = -1;
      } else if (c == '_') {
        n = 6;
      } else if (c >= '0' && c <= '6') {
        n = c - '0';
      } else {
        return {kWeekError, 0};
      }
    }
    day = kCodeEveryWeek + weekday + 7 * n;
  }
  return {};
}

}  // namespace

// ---- TDateClass --------------------------------------------------------------------------

void MergeDateCodes(TDateRec& target, TDateRec source) noexcept {
  if (source.Year != kCodeKeep) target.Year = source.Year;
  if (source.Month != kCodeKeep) target.Month = source.Month;
  if (source.Day != kCodeKeep) target.Day = source.Day;
}

std::string TDateClass::ToText() const {
  // Weekday style -1: no weekday after the date. Western years name no era, so the text is the
  // same in either calendar.
  return DateText(0, "/", 0, 0, 0, -1, date_, TCalendarKind::kClassic);
}

// ---- TDateParts --------------------------------------------------------------------------

void TDateParts::Merge(const TDateParts& other) noexcept {
  if (other.parts_[kValuePart]) MergeDateCodes(GetOrCreate(kValuePart), *other.parts_[kValuePart]);
  if (other.parts_[kAdjustPart]) parts_[kAdjustPart] = other.parts_[kAdjustPart];
  if (other.parts_[kStepPart]) parts_[kStepPart] = other.parts_[kStepPart];
  relative_ = other.relative_;
}

TDateRec TDateParts::ResolveParts(const TCalendar& calendar, TPatternContext context,
                                  TDateRec reference) const noexcept {
  const auto& value = parts_[kValuePart];
  if (!value) return kNullDate;
  const TDateRec date = ResolveDatePattern(calendar, context, *value, reference);
  if (date == kNullDate || !parts_[kAdjustPart]) return date;
  return AddToDate(date, AmountOf(*parts_[kAdjustPart]));
}

TParseError TDateParts::ParseDateParts(std::string_view text, TDateRec today) {
  if (text.empty()) return {kEmptyError, 0};
  const bool relative = text[0] == '+' || text[0] == '-';

  // fields[0..2]: year, month, day, each beginning at starts[i] in text; a side without "/" is
  // a day, with one a month and day.
  std::array<std::string_view, 3> fields{};
  std::array<std::size_t, 3> starts{};
  const std::size_t first_slash = text.find('/');
  if (first_slash == std::string_view::npos) {
    fields[2] = text;
  } else {
    const std::string_view before = text.substr(0, first_slash);
    const std::string_view after = CutToSjisWidth(text.substr(first_slash + 1), kFieldTextWidth);
    const std::size_t second_slash = after.find('/');
    if (second_slash == std::string_view::npos) {
      fields[1] = before;
      fields[2] = after;
      starts[2] = first_slash + 1;
    } else {
      fields[0] = before;
      fields[1] = after.substr(0, second_slash);
      fields[2] = CutToSjisWidth(after.substr(second_slash + 1), kFieldTextWidth);
      starts[1] = first_slash + 1;
      starts[2] = first_slash + 1 + second_slash + 1;
    }
  }

  std::array<int32_t, 3> steps{};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t caret = fields[i].find('^');
    if (caret == std::string_view::npos) continue;
    if (!ReadStep(fields[i].substr(caret + 1), steps[i])) {
      return {kStepErrors[i], starts[i] + caret + 1};
    }
    fields[i] = fields[i].substr(0, caret);
  }
  std::array<int32_t, 3> adjusts{};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t sign = AdjustSign(fields[i]);
    if (sign == std::string_view::npos) continue;
    if (!ParseInt32(fields[i].substr(sign), adjusts[i]))
      return {kAdjustErrors[i], starts[i] + sign};
    fields[i] = fields[i].substr(0, sign);
  }
  TDateRec value;
  if (!ReadYear(fields[0], today.Year, value.Year)) return {kYearError, starts[0]};
  if (!ReadMonth(fields[1], relative, value.Month)) return {kMonthError, starts[1]};
  if (TParseError error = ReadDay(fields[2], relative, value.Day); error.Failed()) {
    return std::move(error).InContext({}, starts[2]);
  }

  parts_[kValuePart] = value;
  if (adjusts[0] != 0 || adjusts[1] != 0 || adjusts[2] != 0) {
    parts_[kAdjustPart] = TDateRec{adjusts[0], adjusts[1], adjusts[2]};
  } else {
    parts_[kAdjustPart].reset();
  }
  if (steps[0] != 0 || steps[1] != 0 || steps[2] != 0) {
    parts_[kStepPart] = TDateRec{steps[0], steps[1], steps[2]};
  } else {
    parts_[kStepPart].reset();
  }
  relative_ = relative;
  return {};
}

// ---- TDateSet ----------------------------------------------------------------------------

TDateSet::TDateSet(const TDateSet& other)
    : start_(other.start_),
      end_(other.end_ ? std::make_unique<TDateParts>(*other.end_) : nullptr) {}

TDateSet& TDateSet::operator=(const TDateSet& other) {
  if (this != &other) *this = TDateSet(other);
  return *this;
}

bool operator==(const TDateSet& a, const TDateSet& b) noexcept {
  if (a.start_ != b.start_ || a.HasEnd() != b.HasEnd()) return false;
  return !a.HasEnd() || *a.end_ == *b.end_;
}

void TDateSet::RemoveEnd() noexcept {
  if (!end_) return;
  end_.reset();
  if (start_ && start_->Value()) {
    const TDateRec& value = *start_->Value();
    if (value.Year != 0 && value.Month != 0 && value.Day != 0) start_->Remove(kStepPart);
  }
}

void TDateSet::Merge(const TDateSet& other) {
  if (other.start_) StartOrCreate().Merge(*other.start_);
  if (other.end_) end_ = std::make_unique<TDateParts>(*other.end_);
}

TParseError TDateSet::ParseDateSet(std::string_view text, TDateRec today) {
  if (text.empty()) return {kEmptyError, 0};
  std::string_view start_text = text;
  std::optional<std::string_view> end_text;
  const std::size_t tilde = text.find('~');
  if (tilde != std::string_view::npos) {
    // With a "~" an empty side means "0": every field the same as the start's (or every).
    start_text = text.substr(0, tilde);
    if (start_text.empty()) start_text = "0";
    end_text = CutToSjisWidth(text.substr(tilde + 1), kEndTextWidth);
    if (end_text->empty()) end_text = "0";
  }
  TDateParts start;
  if (TParseError error = start.ParseDateParts(start_text, today); error.Failed()) {
    return std::move(error).InContext(kStartPrefix, 0);
  }
  std::unique_ptr<TDateParts> end;
  if (end_text) {
    end = std::make_unique<TDateParts>();
    if (TParseError error = end->ParseDateParts(*end_text, today); error.Failed()) {
      return std::move(error).InContext(kEndPrefix, tilde + 1);
    }
  }
  start_ = std::move(start);
  end_ = std::move(end);
  Normalize();
  return {};
}

void TDateSet::Normalize() {
  if (!start_ || !start_->Value()) return;
  // A period is walked day by day.
  if (end_ && !start_->Step()) start_->GetOrCreate(kStepPart) = TDateRec{0, 0, 1};
  if (start_->Relative()) return;
  // An "every" field repeats: 12/25 every year, 25 every month, 0 every day.
  const TDateRec value = *start_->Value();
  if (value.Year != 0 && value.Month != 0 && value.Day != 0) return;
  TDateRec& step = start_->GetOrCreate(kStepPart);
  if (value.Year == 0 && step.Year == 0) step.Year = 1;
  if (value.Month == 0 && step.Month == 0) step.Month = 1;
  if (value.Day == 0 && step.Day == 0) step.Day = 1;
}

// ---- TDateSetList ------------------------------------------------------------------------

void TDateSetList::Merge(const TDateSetList& default_list) {
  const std::vector<TDateSet>& defaults = default_list.items_;
  for (std::size_t i = 0; i < defaults.size(); ++i) {
    if (i < items_.size()) {
      items_[i].Merge(defaults[i]);
    } else {
      items_.push_back(defaults[i]);
    }
  }
  MustMatch = default_list.MustMatch;
  MoveDays = default_list.MoveDays;
}

TParseError TDateSetList::ParseDateSetList(std::string_view text, TDateRec today,
                                           TPackBudget* budget) {
  std::vector<TDateSet> sets;
  TParseError error = ParseListItems(
      text, sets,
      [today](TDateSet& set, std::string_view item) { return set.ParseDateSet(item, today); },
      [budget] { return budget == nullptr || budget->Take(PackShare(sizeof(TDateSet))); });
  if (!error.Failed()) {
    items_.insert(items_.end(), std::make_move_iterator(sets.begin()),
                  std::make_move_iterator(sets.end()));
  }
  return error;
}

}  // namespace pelo
