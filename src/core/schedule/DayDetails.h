#pragma once

// Everything one day and one entry hold, in words: what the day pane and the grid's
// accessible cells show. A day is read from its cell in the day table (the lines exactly as
// the cell shows them, in its order) and from the calendar; an entry from the entry list
// (its note, its related files, where in which file it was written).

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/Dates.h"

namespace pelo {

class TCalendar;
class TDayTable;
class TEntry;
class TEntryList;

// One line of a day cell.
struct TDayLineDetails {
  std::string Time;  // the entry's times as the line starts with them; empty without
  std::string Text;  // the rest of the line, whole
  // The meaning of the line's icons: "済", "分類 A", "分類 B", "メモ", "関連ファイル", "絵".
  std::vector<std::string> Icons;
  std::string PeriodDay;  // "3日目/7日間" on a day of a longer period, else empty
  int32_t Entry = -1;     // the entry's position in the entry list
};

struct TDayDetails {
  TDateRec Date;
  std::string Heading;  // "2026年12月7日(月) 令和8年"
  std::string Holiday;  // the holiday's name, empty on other days
  std::string Rokuyo;   // empty where the calendar has none
  std::string OldDate;  // "旧10/28", empty where the calendar has none
  int32_t Week = 0;     // week of the year
  std::vector<TDayLineDetails> Lines;
};

// The day as the calendar and the day table's cell for it tell it; week_start is the
// weekday weeks begin on (0 = Sunday). No lines outside the table's window.
TDayDetails DayDetailsOf(const TCalendar& calendar, const TDayTable& table, TDateRec date,
                         int32_t week_start);

// "12月7日 月曜日 友引、8:00 燃えるゴミ、…": the day and its lines in one sentence, for
// reading aloud.
std::string DaySummary(const TDayDetails& day);

// A line's text with its time, its period day and its icons, as one line of a list.
std::string DayLineText(const TDayLineDetails& line);

// What a related file's name leads to.
enum class TFileState {
  kRegular,     // a file that may be opened
  kExecutable,  // a regular file that could be run: only its folder is shown
  kMissing,     // nothing is there
  kOther,       // a folder, a device, ...: never opened
};

struct TRelatedFile {
  std::string Written;  // the name as the line has it
  std::string Path;     // read relative to the data file's folder when it is relative
  TFileState State = TFileState::kMissing;
};

struct TEntryDetails {
  std::string Note;  // the attached lines, joined by '\n'
  std::vector<TRelatedFile> Files;
  std::string Source;      // "sample.nrk:12"
  std::string SourceLine;  // the line as written in the file
  std::string DataFile;    // the data file's path as given
  int32_t LineNo = 0;      // the line in it, from 1
};

// The entry's note, related files and source; the files' states are looked up now.
TEntryDetails EntryDetailsOf(const TEntryList& list, const TEntry& entry);

// The path a related file's name stands for: '\' read as '/', a relative name joined to
// data_file's folder.
std::string RelatedFilePath(const std::string& data_file, const std::string& written);

// What is at path now.
TFileState FileStateOf(const std::string& path);

}  // namespace pelo
