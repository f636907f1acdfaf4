#include "entries/Entries.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
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

// How many bytes TrimControl drops in front of text, and behind what is left.
std::size_t LeadingControls(std::string_view text) noexcept {
  std::size_t count = 0;
  while (count < text.size() && static_cast<unsigned char>(text[count]) <= 32) ++count;
  return count;
}
std::size_t TrailingControls(std::string_view text) noexcept {
  std::size_t count = 0;
  while (count < text.size() && static_cast<unsigned char>(text[text.size() - 1 - count]) <= 32) {
    ++count;
  }
  return count;
}

template <typename T>
std::unique_ptr<T> CopyOf(const std::unique_ptr<T>& source) {
  return source ? std::make_unique<T>(*source) : nullptr;
}

// Where view, a part of text, begins in it.
std::size_t OffsetIn(std::string_view text, std::string_view view) noexcept {
  return static_cast<std::size_t>(view.data() - text.data());
}

}  // namespace

// One command as written, "&" letter, the move, "(", the argument, ")", with where the move
// and the argument begin in the body.
struct TEntry::TCommand {
  char Letter;
  std::string_view Move;      // between the letter and "("
  std::string_view Argument;  // between the parentheses, trimmed
  std::size_t MoveAt;
  std::size_t ArgumentAt;
};

// What stays of a body once its commands are taken, and where it came from: each piece of the
// text, from its text offset up to the next piece's, was copied from its body offset on. No
// word runs across two pieces, since every piece but the last ends with the blank before a
// command.
class TEntry::TRemainingText {
 public:
  // Most lines have no command: their text is the body itself, looked at, not copied.
  std::string_view Text() const noexcept { return owned_ ? std::string_view(text_) : view_; }

  void Append(std::string_view piece, std::size_t body_offset) {
    if (piece.empty()) return;
    if (!owned_ && view_.empty() && body_offset == 0) {
      view_ = piece;
      return;
    }
    Own();
    // Until a piece moves, a text offset is its body offset: most lines need no piece.
    if (!pieces_.empty() || body_offset != text_.size()) {
      pieces_.push_back({text_.size(), body_offset});
    }
    text_.append(piece);
  }
  // Drops the blanks (bytes up to 32) in front, and with at_end those at the end too.
  void Trim(bool at_end) {
    Own();
    if (const std::size_t count = LeadingControls(text_); count > 0) {
      if (pieces_.empty()) pieces_.push_back({0, 0});
      text_.erase(0, count);
      // Pieces that lay wholly in the dropped part go; the one it ends in begins later.
      std::vector<TPiece> kept;
      for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const TPiece piece = pieces_[i];
        const std::size_t end = i + 1 < pieces_.size() ? pieces_[i + 1].Text : SIZE_MAX;
        if (end <= count) continue;
        const std::size_t cut = piece.Text < count ? count - piece.Text : 0;
        kept.push_back({piece.Text + cut - count, piece.Body + cut});
      }
      pieces_ = std::move(kept);
    }
    if (at_end) text_.resize(text_.size() - TrailingControls(text_));
  }
  // Where the byte at offset of the text (or the end of the text) stands in the body.
  std::size_t BodyOffset(std::size_t offset) const noexcept {
    const auto after =
        std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                         [](std::size_t value, const TPiece& piece) { return value < piece.Text; });
    if (after == pieces_.begin()) return offset;
    const TPiece& piece = *std::prev(after);
    return piece.Body + (offset - piece.Text);
  }

 private:
  struct TPiece {
    std::size_t Text;  // where the piece begins in text_
    std::size_t Body;  // and in the body
  };
  // From here on the text is text_: a copy of what was only looked at so far.
  void Own() {
    if (owned_) return;
    text_.assign(view_);
    owned_ = true;
  }
  std::string_view view_;  // the text while not owned_: a part of the body, at its start
  bool owned_ = false;
  std::string text_;
  std::vector<TPiece> pieces_;
};

TEntry::TEntry() : Dates(std::make_unique<TDateSetList>()), Text(kNewEntryText) { Dates->Add(); }

TEntry::TEntry(TForParsing) noexcept {}

TEntry::~TEntry() = default;

TParseError TEntry::ParseLine(std::string_view line, const TLineContext& context) {
  // The line may be this entry's own Text, which is emptied below: then it is copied first.
  std::string own_copy;
  const std::less<const char*> before;
  if (!Text.empty() && !before(line.data(), Text.data()) &&
      before(line.data(), Text.data() + Text.size())) {
    own_copy.assign(line);
    line = own_copy;
  }
  const std::string_view as_read = line;
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
  if (rest.empty()) return {};

  // The prefixes, each at most once and in this order.
  if (rest.front() == ';' || rest.front() == 'x') {
    SetDeletedMark(true, context.Today);
    rest = TrimControl(rest.substr(1));
    if (rest.empty()) return {};
  } else if (rest.starts_with(kCheckedMark)) {
    SetCheckedMark(true, context.Today);
    rest = TrimControl(rest.substr(kCheckedMark.size()));
    if (rest.empty()) return {};
  }
  if (rest.front() == '#' || rest.starts_with(kHashMark)) {
    HashMarked = true;
    rest.remove_prefix(rest.front() == '#' ? 1 : kHashMark.size());
    if (rest.empty()) return {};
  }
  if (rest.front() == '@') {
    DayMark = true;
    rest.remove_prefix(1);
    if (rest.empty()) return {};
  }
  if (rest.size() >= 2 && rest[0] >= 'A' && rest[0] <= 'Z' && rest[1] == ':') {
    Category = rest[0] - 'A';
    rest.remove_prefix(2);
    if (rest.empty()) return {};
  }

  TParseError error = ParseBody(rest, context).InContext({}, OffsetIn(as_read, rest));
  if (error.Failed()) {
    ErrorText = error.Message();
    Text = as_read;
  }
  return error;
}

TParseError TEntry::ParseBody(std::string_view rest, const TLineContext& context) {
  TRemainingText remaining;
  if (TParseError error = TakeCommands(rest, context, remaining); error.Failed()) return error;
  const std::string_view text = remaining.Text();

  // A time word inside the quoted text is text, not a time.
  const std::size_t quote = text.find('"');
  std::string_view words = text;
  bool have_date = false;
  for (int round = 0; round < 2; ++round) {
    words = TrimControl(words);
    const std::size_t space = words.find(' ');
    if (space == std::string_view::npos) {
      if (!have_date) return {kNoSeparatorError, remaining.BodyOffset(OffsetIn(text, words))};
      break;
    }
    const std::string_view word = words.substr(0, space);
    const std::size_t word_pos = OffsetIn(text, word);
    if ((quote == std::string::npos || word_pos < quote) && IsTimeWord(word)) {
      auto times = std::make_unique<TTimeSetList>();
      if (TParseError error = times->ParseTimeSetList(word); error.Failed()) {
        return std::move(error).InContext(kTimePrefix, remaining.BodyOffset(word_pos));
      }
      Times = std::move(times);
    } else if (have_date) {
      break;  // the word begins the data text
    } else {
      auto dates = std::make_unique<TDateSetList>();
      if (TParseError error = dates->ParseDateSetList(word, context.Today, context.Budget);
          error.Failed()) {
        return std::move(error).InContext(kDatePrefix, remaining.BodyOffset(word_pos));
      }
      Dates = std::move(dates);
      have_date = true;
    }
    words.remove_prefix(space);
  }

  std::string_view data = TrimControl(words);
  const std::size_t data_pos = OffsetIn(text, data);
  if (!data.empty() && data.front() == '"' && data.back() == '"') {
    data = data.size() >= 2 ? data.substr(1, data.size() - 2) : std::string_view();
  }
  if (data.empty()) return {kNoDataError, remaining.BodyOffset(data_pos)};
  Text.assign(data);
  return {};
}

TParseError TEntry::TakeCommands(std::string_view body, const TLineContext& context,
                                 TRemainingText& remaining) {
  // What stays is the text of remaining followed by rest, the part of body not looked at yet.
  // Taking a command keeps what came before it and moves rest past it, so every byte is looked
  // at a bounded number of times however many commands the line holds.
  // A body that begins with " &" has no command.
  if (body.starts_with(" &")) {
    remaining.Append(body, 0);
    return {};
  }
  std::string_view rest = body;
  std::size_t quote = body.find('"');  // the first quote of what stays: never inside text
  bool taken = false;
  for (;;) {
    const std::size_t base = body.size() - rest.size();  // where rest begins in body
    const std::string_view text = remaining.Text();
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
      return {kCommandError, base + amp};
    }
    // Without its parentheses "&" is plain text ("Tom &dad").
    const std::size_t open = rest.find('(', amp);
    if (open == std::string_view::npos) break;
    const std::size_t close = rest.find(')', open);
    if (close == std::string_view::npos) break;
    const std::string_view move = rest.substr(amp + 2, open - amp - 2);
    const std::string_view argument = TrimControl(rest.substr(open + 1, close - open - 1));
    const TCommand command{letter, move, argument, OffsetIn(body, move), OffsetIn(body, argument)};
    if (TParseError error = ApplyCommand(command, context); error.Failed()) return error;

    remaining.Append(rest.substr(0, amp), base);
    rest.remove_prefix(close + 1);
    taken = true;
    // What stays loses its leading blanks after every command.
    remaining.Trim(false);
    if (remaining.Text().empty()) rest.remove_prefix(LeadingControls(rest));
  }
  remaining.Append(rest, body.size() - rest.size());
  if (taken) remaining.Trim(true);
  return {};
}

TParseError TEntry::ApplyCommand(const TCommand& command, const TLineContext& context) {
  switch (command.Letter) {
    case '&':
    case '!':
    case 'a': {
      TDateSetList list;
      if (command.Letter == 'a') {
        list.IsShift = true;
      } else {
        list.MustMatch = command.Letter == '&';
        if (!ReadMove(command.Move, list.MoveDays, list.MoveStep)) {
          return {kMoveDaysError, command.MoveAt};
        }
      }
      if (TParseError error =
              list.ParseDateSetList(command.Argument, context.Today, context.Budget);
          error.Failed()) {
        return std::move(error).InContext(kConditionPrefix, command.ArgumentAt);
      }
      if (!Conditions) Conditions = std::make_unique<TDateSetListList>();
      Conditions->Add(std::move(list));
      break;
    }
    case 'd': {
      auto list = std::make_unique<TDateSetList>();
      if (TParseError error =
              list->ParseDateSetList(command.Argument, context.Today, context.Budget);
          error.Failed()) {
        return std::move(error).InContext(kConditionPrefix, command.ArgumentAt);
      }
      DerivedDates = std::move(list);
      break;
    }
    case 'c': {
      TDateSet set;
      if (TParseError error = set.ParseDateSet(command.Argument, context.Today); error.Failed()) {
        return std::move(error).InContext(kInputPrefix, command.ArgumentAt);
      }
      if (!Marks) Marks = std::make_unique<TDateSet>();
      Marks->Assign(set);
      break;
    }
    case 'f':
      Font = std::make_unique<TFontSpec>();
      TextToFont(command.Argument, *Font);
      break;
    case 'o':
      Annotation = command.Argument;
      break;
    case 'x':
      // A second x replaces the items of the first.
      Extras = std::make_unique<std::vector<std::string>>(SplitCommaList(command.Argument));
      break;
    case 'i':
      if (std::optional<TIconFile> icon =
              FindIconFile(command.Argument, context.DataFolder, context.PictureCheck)) {
        Icon = std::make_unique<TIconFile>(std::move(*icon));
      } else {
        return {kIconError, command.ArgumentAt};
      }
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
  Font = CopyOf(other->Font);
  Category = other->Category;
  DayMark = other->DayMark;
  HashMarked = other->HashMarked;
  FileIndex = other->FileIndex;
  LineNo = other->LineNo;
  Text = other->Text;
  Annotation = other->Annotation;
  NoteLines = CopyOf(other->NoteLines);
  Extras = CopyOf(other->Extras);
  Icon = CopyOf(other->Icon);
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
  if (!Font) Font = CopyOf(default_entry.Font);
  if (default_entry.HashMarked) HashMarked = true;
  if (default_entry.DayMark) DayMark = true;
  if (Category == kDefaultCategory && default_entry.Category != kDefaultCategory) {
    Category = default_entry.Category;
  }
  if (Annotation.empty()) Annotation = default_entry.Annotation;
  if (!Extras) Extras = CopyOf(default_entry.Extras);
  if (!Icon) Icon = CopyOf(default_entry.Icon);
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
