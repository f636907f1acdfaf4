#include "entries/Entries.h"

#include <utility>

#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::string_view kNewEntryText = "データ";

constexpr std::string_view kNoSeparatorError = "日付とデータの区切りがない";
constexpr std::string_view kNoDataError = "データがない";
constexpr std::string_view kCommandError = "&ｺﾏﾝﾄﾞが間違っています。";
constexpr std::string_view kMoveDaysError = "&ｺﾏﾝﾄﾞの移動日数が間違っています。";
constexpr std::string_view kIconError = "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。";

constexpr std::string_view kDatePrefix = "日付の";
constexpr std::string_view kTimePrefix = "時間の";
constexpr std::string_view kConditionPrefix = "条件の";
constexpr std::string_view kInputPrefix = "入力の";

constexpr std::string_view kCommandLetters = "&!dcfoxai";

// The half-width katakana marks (the bytes 0xDA and 0xDB in the files).
constexpr std::string_view kCheckedMark = "ﾚ";
constexpr std::string_view kHashMark = "ﾛ";

std::string Prefixed(std::string_view prefix, std::string_view error) {
  return Concat({prefix, error});
}

// The text between the command letter and "(" of & and !: "" no move, "2", "-1", "<", ">",
// each optionally followed by "^step".
bool ReadMove(std::string_view text, int32_t& move_days, int32_t& move_step) noexcept {
  move_days = 0;
  move_step = 1;
  if (text.empty()) return true;
  if (const std::size_t caret = text.find('^'); caret != std::string_view::npos) {
    int32_t step = 0;
    // A step of 0 would move a day by nothing, forever; INT32_MIN has no magnitude.
    if (!ParseInt32(text.substr(caret + 1), step) || step == 0 || step == INT32_MIN) {
      return false;
    }
    move_step = step;
    text = text.substr(0, caret);
  }
  if (text == "<") {
    move_days = -kUnboundedMove;
  } else if (text == ">") {
    move_days = kUnboundedMove;
  } else if (!ParseInt32(text, move_days)) {
    return false;
  }
  return true;
}

// How many bytes TrimControl drops in front of text.
std::size_t LeadingControls(std::string_view text) noexcept {
  std::size_t count = 0;
  while (count < text.size() && static_cast<unsigned char>(text[count]) <= 32) ++count;
  return count;
}

template <typename T>
std::unique_ptr<T> CopyOf(const std::unique_ptr<T>& source) {
  return source ? std::make_unique<T>(*source) : nullptr;
}

}  // namespace

TEntry::TEntry() : Dates(std::make_unique<TDateSetList>()), Text(kNewEntryText) { Dates->Add(); }

TEntry::~TEntry() = default;

bool TEntry::ParseLine(std::string_view line, const TLineContext& context) {
  // The line may be this entry's own Text, which is emptied below.
  const std::string as_read(line);
  ErrorText.clear();
  Dates.reset();
  Times.reset();
  Conditions.reset();
  DerivedDates.reset();
  Marks.reset();
  Font.reset();
  Extras.reset();
  // A picture from an earlier text of the entry must not stay with the new one.
  Icon.reset();
  Category = kDefaultCategory;
  DayMark = false;
  HashMarked = false;
  Text.clear();
  Annotation.clear();

  std::string_view rest = as_read;
  if (!rest.empty() && rest.front() == '=') rest.remove_prefix(1);
  if (rest.empty()) return true;

  // The prefixes, each at most once and in this order.
  if (rest.front() == ';' || rest.front() == 'x') {
    SetDeletedMark(true, context.Today);
    rest = TrimControl(rest.substr(1));
    if (rest.empty()) return true;
  } else if (rest.starts_with(kCheckedMark)) {
    SetCheckedMark(true, context.Today);
    rest = TrimControl(rest.substr(kCheckedMark.size()));
    if (rest.empty()) return true;
  }
  if (rest.front() == '#' || rest.starts_with(kHashMark)) {
    HashMarked = true;
    rest.remove_prefix(rest.front() == '#' ? 1 : kHashMark.size());
    if (rest.empty()) return true;
  }
  if (rest.front() == '@') {
    DayMark = true;
    rest.remove_prefix(1);
    if (rest.empty()) return true;
  }
  if (rest.size() >= 2 && rest[0] >= 'A' && rest[0] <= 'Z' && rest[1] == ':') {
    Category = rest[0] - 'A';
    rest.remove_prefix(2);
    if (rest.empty()) return true;
  }

  std::string error = ParseBody(rest, context);
  if (error.empty()) return true;
  ErrorText = std::move(error);
  Text = as_read;
  return false;
}

std::string TEntry::ParseBody(std::string_view rest, const TLineContext& context) {
  std::string text;
  if (std::string error = TakeCommands(rest, context, text); !error.empty()) return error;

  // A time word inside the quoted text is text, not a time.
  const std::size_t quote = text.find('"');
  std::string_view words = text;
  bool have_date = false;
  for (int round = 0; round < 2; ++round) {
    words = TrimControl(words);
    const std::size_t space = words.find(' ');
    if (space == std::string_view::npos) {
      if (!have_date) return std::string(kNoSeparatorError);
      break;
    }
    const std::string_view word = words.substr(0, space);
    const auto word_pos = static_cast<std::size_t>(word.data() - text.data());
    if ((quote == std::string::npos || word_pos < quote) && IsTimeWord(word)) {
      auto times = std::make_unique<TTimeSetList>();
      const std::string error = times->ParseTimeSetList(word);
      if (!error.empty()) return Prefixed(kTimePrefix, error);
      Times = std::move(times);
    } else if (have_date) {
      break;  // the word begins the data text
    } else {
      auto dates = std::make_unique<TDateSetList>();
      const std::string error = dates->ParseDateSetList(word, context.Today, context.Budget);
      if (!error.empty()) return Prefixed(kDatePrefix, error);
      Dates = std::move(dates);
      have_date = true;
    }
    words.remove_prefix(space);
  }

  std::string_view data = TrimControl(words);
  if (!data.empty() && data.front() == '"' && data.back() == '"') {
    data = data.size() >= 2 ? data.substr(1, data.size() - 2) : std::string_view();
  }
  if (data.empty()) return std::string(kNoDataError);
  Text.assign(data);
  return {};
}

std::string TEntry::TakeCommands(std::string_view body, const TLineContext& context,
                                 std::string& text) {
  // What stays is text followed by rest, the part of body not looked at yet. Taking a command
  // keeps what came before it and moves rest past it, so every byte is looked at a bounded
  // number of times however many commands the line holds.
  text.clear();
  // A body that begins with " &" has no command.
  if (body.starts_with(" &")) {
    text.assign(body);
    return {};
  }
  std::string_view rest = body;
  std::size_t quote = body.find('"');  // the first quote of what stays: never inside text
  bool taken = false;
  for (;;) {
    const std::size_t base = body.size() - rest.size();  // where rest begins in body
    // The next " &"; its blank may be the last byte kept before the command just taken.
    std::size_t amp = 0;
    if (text.empty() || text.back() != ' ' || !rest.starts_with('&')) {
      const std::size_t space = rest.find(" &");
      if (space == std::string_view::npos) break;
      amp = space + 1;
    }
    if (quote != std::string_view::npos && quote < base) quote = body.find('"', base);
    // An "&" inside the quoted text belongs to the text.
    if (quote != std::string_view::npos && base + amp > quote) break;
    const char letter = amp + 1 < rest.size() ? rest[amp + 1] : '\0';
    if (letter == '\0' || kCommandLetters.find(letter) == std::string_view::npos) {
      return std::string(kCommandError);
    }
    // Without its parentheses "&" is plain text ("Tom &dad").
    const std::size_t open = rest.find('(', amp);
    if (open == std::string_view::npos) break;
    const std::size_t close = rest.find(')', open);
    if (close == std::string_view::npos) break;
    std::string error = ApplyCommand(letter, rest.substr(amp + 2, open - amp - 2),
                                     TrimControl(rest.substr(open + 1, close - open - 1)), context);
    if (!error.empty()) return error;

    text.append(rest.substr(0, amp));
    rest.remove_prefix(close + 1);
    taken = true;
    // What stays loses its leading blanks after every command.
    text.erase(0, LeadingControls(text));
    if (text.empty()) rest.remove_prefix(LeadingControls(rest));
  }
  text.append(rest);
  if (taken) text = std::string(TrimControl(text));
  return {};
}

std::string TEntry::ApplyCommand(char letter, std::string_view move_text, std::string_view argument,
                                 const TLineContext& context) {
  switch (letter) {
    case '&':
    case '!':
    case 'a': {
      TDateSetList list;
      if (letter == 'a') {
        list.IsShift = true;
      } else {
        list.MustMatch = letter == '&';
        if (!ReadMove(move_text, list.MoveDays, list.MoveStep)) {
          return std::string(kMoveDaysError);
        }
      }
      const std::string error = list.ParseDateSetList(argument, context.Today, context.Budget);
      if (!error.empty()) return Prefixed(kConditionPrefix, error);
      if (!Conditions) Conditions = std::make_unique<TDateSetListList>();
      Conditions->Add(std::move(list));
      break;
    }
    case 'd': {
      auto list = std::make_unique<TDateSetList>();
      const std::string error = list->ParseDateSetList(argument, context.Today, context.Budget);
      if (!error.empty()) return Prefixed(kConditionPrefix, error);
      DerivedDates = std::move(list);
      break;
    }
    case 'c': {
      TDateSet set;
      const std::string error = set.ParseDateSet(argument, context.Today);
      if (!error.empty()) return Prefixed(kInputPrefix, error);
      if (!Marks) Marks = std::make_unique<TDateSet>();
      Marks->Assign(set);
      break;
    }
    case 'f':
      Font.emplace();
      TextToFont(argument, *Font);
      break;
    case 'o':
      Annotation = argument;
      break;
    case 'x':
      // A second x replaces the items of the first.
      Extras = std::make_unique<std::vector<std::string>>(SplitCommaList(argument));
      break;
    case 'i':
      Icon = FindIconFile(argument, context.DataFolder, context.PictureCheck);
      if (!Icon) return std::string(kIconError);
      break;
    default:
      break;
  }
  return {};
}

bool TEntry::IsTimeWord(std::string_view word) noexcept {
  const std::size_t colon = word.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return word.find_first_not_of("0123456789:~aApPmM,") == std::string_view::npos;
}

void TEntry::Assign(const TEntry* other) {
  if (other == nullptr || other == this) return;
  Dates = CopyOf(other->Dates);
  Times = CopyOf(other->Times);
  Conditions = CopyOf(other->Conditions);
  DerivedDates = CopyOf(other->DerivedDates);
  Marks = CopyOf(other->Marks);
  Font = other->Font;
  Category = other->Category;
  DayMark = other->DayMark;
  HashMarked = other->HashMarked;
  FileIndex = other->FileIndex;
  LineNo = other->LineNo;
  FilterFlag = other->FilterFlag;
  MarkFlag = other->MarkFlag;
  Text = other->Text;
  Annotation = other->Annotation;
  NoteLines = CopyOf(other->NoteLines);
  Extras = CopyOf(other->Extras);
  Icon = other->Icon;
  ErrorText = other->ErrorText;
  ListIndex = other->ListIndex;
}

void TEntry::MergeDefaults(const TEntry& default_entry) {
  if (&default_entry == this) return;
  if (default_entry.Dates) {
    if (!Dates) Dates = std::make_unique<TDateSetList>();
    Dates->Merge(*default_entry.Dates);
  }
  if (!Times) Times = CopyOf(default_entry.Times);
  if (!Conditions) Conditions = CopyOf(default_entry.Conditions);
  if (!DerivedDates) DerivedDates = CopyOf(default_entry.DerivedDates);
  if (!Font) Font = default_entry.Font;
  if (default_entry.HashMarked) HashMarked = true;
  if (default_entry.DayMark) DayMark = true;
  if (Category == kDefaultCategory && default_entry.Category != kDefaultCategory) {
    Category = default_entry.Category;
  }
  if (Annotation.empty()) Annotation = default_entry.Annotation;
  if (!Extras) Extras = CopyOf(default_entry.Extras);
  if (!Icon) Icon = default_entry.Icon;
}

void TEntry::SetCheckedMark(bool on, TDateRec today) {
  if (on) {
    if (!Marks) Marks = std::make_unique<TDateSet>();
    Marks->StartOrCreate().GetOrCreate(kValuePart) = today;
  } else if (Marks) {
    Marks->RemoveStart();
    if (!Marks->HasEnd()) Marks.reset();
  }
}

void TEntry::SetDeletedMark(bool on, TDateRec today) {
  if (on) {
    if (!Marks) {
      Marks = std::make_unique<TDateSet>();
      Marks->RemoveStart();
    }
    Marks->EndOrCreate().GetOrCreate(kValuePart) = today;
  } else if (Marks) {
    Marks->RemoveEnd();
    if (!Marks->HasStart()) Marks.reset();
  }
}

namespace {

// A side of the marks holds a day: "&c(~2024/1/5)" reads its empty start as 0/0/0, which
// names no day and so marks nothing.
bool HoldsMarkDate(const TDateParts* parts) noexcept {
  return parts != nullptr && parts->Value() && *parts->Value() != kNullDate;
}

}  // namespace

bool TEntry::IsChecked() const noexcept { return Marks && HoldsMarkDate(Marks->Start()); }

bool TEntry::IsDeleted() const noexcept { return Marks && HoldsMarkDate(Marks->End()); }

TDateRec TEntry::FirstDate() const noexcept {
  if (!Dates || Dates->Empty()) return kNullDate;
  const TDateParts* start = Dates->Item(0)->Start();
  if (start == nullptr || !start->Value()) return kNullDate;
  return *start->Value();
}

void TEntry::SetFirstDate(TDateRec date) {
  if (!Dates) Dates = std::make_unique<TDateSetList>();
  if (Dates->Empty()) Dates->Add();
  TDateSet& set = *Dates->Item(0);
  TDateParts& start = set.StartOrCreate();
  start.Remove(kAdjustPart);
  if (start.Value() && start.Step()) {
    const TDateRec value = *start.Value();
    TDateRec& step = *start.Get(kStepPart);
    if (value.Year == 0) step.Year = 0;
    if (value.Month == 0) step.Month = 0;
    if (value.Day == 0) step.Day = 0;
  }
  // A relative end keeps the period's length; the end goes before the start is pinned,
  // since whether the steps go with it depends on the codes as they were.
  if (set.HasEnd() && !set.End()->Relative()) set.RemoveEnd();
  start.GetOrCreate(kValuePart) = date;
  // A pinned start is a day, no longer an offset from today: left relative, the entry
  // would fall on no day at all.
  start.SetRelative(false);
}

}  // namespace pelo
