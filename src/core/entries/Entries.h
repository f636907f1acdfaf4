#pragma once

// One schedule entry and its line format: the prefix marks, the "&" commands, the time and
// date words and the text shown in the schedule.
//
//   ;x ﾚ  deleted / checked today      # ﾛ  hash mark      @  private-holiday days
//   A: .. Z:  category                 &&(..) &!(..) &a(..) &d(..) &c(..) &f(..) &o(..)
//                                      &x(..) &i(..)  commands
//   12/25 10:00 会議    10:00 12/25 会議    12/25 "quoted text"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Dates.h"
#include "entries/DateSets.h"
#include "entries/IconFiles.h"
#include "entries/Times.h"
#include "text/Fonts.h"
#include "text/ParseErrors.h"
#include "text/RareTexts.h"

namespace pelo {

// The category of a line without a letter prefix: C.
inline constexpr int32_t kDefaultCategory = 2;

class TPackBudget;

// What a line needs from where it was read.
struct TLineContext {
  // The folder of the data file, for the pictures of command i; empty: the current folder.
  std::string DataFolder{};
  // What the date lists of the line may take (see ParseDateSetList); null: no bound.
  TPackBudget* Budget = nullptr;
  // Whether a picture of command i decodes; empty: the header check alone decides.
  TPictureCheck PictureCheck{};
  // The day the marks ";" and "ﾚ" are dated, and whose century two-digit years belong to.
  // Without one (the null date) the marks hold no day and two-digit years stay as written.
  TDateRec Today{};
};

class TEntry {
 public:
  // A new entry: one empty date set and the text "データ".
  TEntry();
  // An entry about to be given its line by ParseLine, which sets every field: nothing is
  // made that the parse would throw away.
  struct TForParsing {};
  explicit TEntry(TForParsing) noexcept;
  ~TEntry();
  // Copies are made with Assign, which leaves the parent link alone.
  TEntry(const TEntry&) = delete;
  TEntry& operator=(const TEntry&) = delete;

  std::unique_ptr<TDateSetList> Dates;
  std::unique_ptr<TTimeSetList> Times;
  std::unique_ptr<TDateSetListList> Conditions;  // commands &, ! and a, in order
  std::unique_ptr<TDateSetList> DerivedDates;    // command d
  // Start value: the day the entry was checked; end value: the day it was deleted.
  std::unique_ptr<TDateSet> Marks;
  // Command f; an empty face means the cell's own face. (The rare parts are held apart: a
  // file holds a hundred thousand entries.)
  std::unique_ptr<TFontSpec> Font;
  int32_t Category = kDefaultCategory;  // A: .. Z: as 0..25
  bool DayMark = false;                 // "@": the entry's days are private holidays
  bool HashMarked = false;              // "#" or "ﾛ"
  int32_t FileIndex = 0;                // set by the loader
  int32_t LineNo = 0;                   // set by the loader, from 1
  std::string Text;      // the text shown; the whole line as read after a failed parse
  TRareText Annotation;  // command o
  std::unique_ptr<std::vector<std::string>> NoteLines;  // the "%" block, set by the loader
  std::unique_ptr<std::vector<std::string>> Extras;     // command x
  std::unique_ptr<TIconFile> Icon;                      // command i
  TRareText ErrorText;    // the message of the last parse's error, empty after a good parse
  int32_t ListIndex = 0;  // set by the entry list
  // For an entry made from a birthday entry, that entry. Not owned, not copied by Assign.
  TEntry* Parent = nullptr;

  // Reads one trimmed line. On an error, placed in line ("日付の2番目の終了年が間違って
  // います。" at that year), its message is also kept in ErrorText; what was read before the
  // error stays.
  TParseError ParseLine(std::string_view line, const TLineContext& context = {});
  // The line after its prefix marks: commands, then the time and date words, then the text.
  // The error is placed in rest.
  TParseError ParseBody(std::string_view rest, const TLineContext& context = {});
  // "10:00", "9:00~17:00,19:00", "9:00pm": only digits, ":", "~", ",", a/p/m, with a ":"
  // that is not the first character.
  static bool IsTimeWord(std::string_view word) noexcept;

  // A deep copy of other (all but the parent link). Nothing for itself or null.
  void Assign(const TEntry* other);
  // Applies a file's default entry: the dates set by set, and of the other fields only
  // what this entry lacks. Marks, Text and NoteLines are never taken.
  void MergeDefaults(const TEntry& default_entry);

  // Checked or deleted on today; off removes the mark again (today is not read).
  void SetCheckedMark(bool on, TDateRec today);
  void SetDeletedMark(bool on, TDateRec today);
  bool IsChecked() const noexcept;
  bool IsDeleted() const noexcept;

  // The value codes of the first date set's start; the null date when there are none.
  TDateRec FirstDate() const noexcept;
  // Pins the first date set to one day (moving or copying an entry to a day).
  void SetFirstDate(TDateRec date);

 private:
  struct TCommand;
  class TRemainingText;

  // Takes the commands off body, the first " &" first, and applies them in order; remaining
  // gets what stays (trimmed once a command was taken). The error is placed in body.
  TParseError TakeCommands(std::string_view body, const TLineContext& context,
                           TRemainingText& remaining);
  TParseError ApplyCommand(const TCommand& command, const TLineContext& context);
};

}  // namespace pelo
