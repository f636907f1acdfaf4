#include "schedule/DayDetails.h"

#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "calendar/Calendars.h"
#include "calendar/DateTexts.h"
#include "calendar/Kyurekis.h"
#include "datafiles/EntryLists.h"
#include "entries/DatePacks.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "schedule/CellLineLists.h"
#include "schedule/DayRows.h"
#include "schedule/DayTables.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo {

namespace {

std::vector<std::string> IconWords(const TLineInfo& info) {
  std::vector<std::string> words;
  if (info.Checked) words.emplace_back("済");
  if (info.RankA) words.emplace_back("分類 A");
  if (info.RankB) words.emplace_back("分類 B");
  if (info.HasMemo) words.emplace_back("メモ");
  if (info.HasRelFiles) words.emplace_back("関連ファイル");
  if (info.HasPicture) words.emplace_back("絵");
  return words;
}

// "3日目/7日間" for a day of a period of more than one day.
std::string PeriodDayText(const TDatePack& pack) {
  if (pack.Kind != kPackFirst && pack.Kind != kPackMiddle && pack.Kind != kPackLast) return {};
  const int32_t first = DayNumber(TDateRec(pack.Period.PeriodStart));
  const int32_t last = DayNumber(TDateRec(pack.Period.PeriodEnd));
  const int32_t day = DayNumber(pack.Date());
  if (first == 0 || last <= first || day < first || day > last) return {};
  std::string text;
  AppendNumber(text, day - first + 1);
  text += "日目/";
  AppendNumber(text, last - first + 1);
  text += "日間";
  return text;
}

// The pack behind a line: the n-th pack of the line's entry for its n-th line, since lines of
// one entry keep the order of their packs.
const TDatePack* PackOfLine(const std::vector<const TDatePack*>& packs, const TEntry* entry,
                            int32_t nth) {
  for (const TDatePack* pack : packs) {
    if (pack->Entry == entry && nth-- == 0) return pack;
  }
  return nullptr;
}

TDayLineDetails LineDetailsOf(const TCellLine& line, const TDatePack* pack) {
  TDayLineDetails details;
  details.Text = line.Text;
  details.Icons = IconWords(line.Info);
  const TEntry* entry = line.Info.Entry;
  if (entry == nullptr) return details;
  details.Entry = entry->ListIndex;
  const bool derived = pack != nullptr && pack->Kind == kPackDerived;
  if (!derived && entry->Times && entry->Times->Count() > 0) {
    std::string time = TimeListText(*entry->Times);
    if (line.Text.size() > time.size() && line.Text.starts_with(time) &&
        line.Text[time.size()] == ' ') {
      details.Text = line.Text.substr(time.size() + 1);
      // The cell pads a one-digit hour to line its times up; a list of its own needs no pad.
      const std::size_t start = time.find_first_not_of(' ');
      if (start != std::string::npos) details.Time = time.substr(start);
    }
  }
  if (pack != nullptr) details.PeriodDay = PeriodDayText(*pack);
  return details;
}

}  // namespace

TDayDetails DayDetailsOf(const TCalendar& calendar, const TDayTable& table, TDateRec date,
                         int32_t week_start) {
  TDayDetails day;
  day.Date = date;
  const TCalendarKind kind = calendar.Kind();
  day.Heading = Concat({DateText(0, "", 0, 0, 0, 0, date, kind), " ", YearText(0, 9, date, kind)});
  if (calendar.IsHoliday(date)) day.Holiday = calendar.HolidayName(date);
  day.Rokuyo = RokuyoName(date, kind);
  day.OldDate = LunarDateText(date, kind);
  day.Week = WeekOfYear(week_start, date);
  const TCellLineList* cell = table.Cell(date);
  if (cell == nullptr) return day;
  const std::vector<const TDatePack*> packs = table.PacksOf(date);
  for (int32_t i = 0; i < cell->Count(); ++i) {
    const TEntry* entry = cell->Info(i).Entry;
    int32_t nth = 0;
    for (int32_t k = 0; k < i; ++k) nth += cell->Info(k).Entry == entry ? 1 : 0;
    day.Lines.push_back(
        LineDetailsOf(TCellLine{cell->Text(i), cell->Info(i)}, PackOfLine(packs, entry, nth)));
  }
  return day;
}

std::string DaySummary(const TDayDetails& day) {
  const int32_t weekday = WeekdayOf(day.Date);
  std::string text;
  AppendNumber(text, day.Date.Month);
  text += "月";
  AppendNumber(text, day.Date.Day);
  text += Concat({"日 ", WeekdayText(2, weekday)});
  for (const std::string* part : {&day.Holiday, &day.Rokuyo}) {
    if (!part->empty()) text += Concat({" ", *part});
  }
  for (const TDayLineDetails& line : day.Lines) {
    text += "、";
    if (!line.Time.empty()) text += Concat({line.Time, " "});
    text += line.Text;
  }
  return text;
}

std::string DayLineText(const TDayLineDetails& line) {
  std::string text = line.Time.empty() ? line.Text : Concat({line.Time, " ", line.Text});
  if (!line.PeriodDay.empty()) text += Concat({" (", line.PeriodDay, ")"});
  for (const std::string& icon : line.Icons) text += Concat({" [", icon, "]"});
  return text;
}

std::string RelatedFilePath(const std::string& data_file, const std::string& written) {
  std::string name = written;
  std::replace(name.begin(), name.end(), '\\', '/');
  return JoinPath(FolderOf(data_file), name);
}

TFileState FileStateOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return TFileState::kMissing;
  if (!S_ISREG(info.st_mode)) return TFileState::kOther;
  if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) return TFileState::kExecutable;
  return TFileState::kRegular;
}

TEntryDetails EntryDetailsOf(const TEntryList& list, const TEntry& entry) {
  TEntryDetails details;
  if (entry.NoteLines) {
    for (std::size_t i = 0; i < entry.NoteLines->size(); ++i) {
      if (i > 0) details.Note += '\n';
      details.Note += (*entry.NoteLines)[i];
    }
  }
  details.DataFile = list.FileList().Path(entry.FileIndex);
  if (entry.Extras) {
    for (const std::string& written : *entry.Extras) {
      TRelatedFile file{written, RelatedFilePath(details.DataFile, written)};
      file.State = FileStateOf(file.Path);
      details.Files.push_back(std::move(file));
    }
  }
  details.Source = RowSource(list, entry);
  details.SourceLine = std::string(list.SourceLine(entry));
  details.LineNo = SourceLine(entry);
  return details;
}

}  // namespace pelo
