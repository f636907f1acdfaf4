#pragma once

// The loaded data files and the one ordered list of all their entries: reading the files
// (line ends, NUL, default lines, attached-text blocks, day-marked entries first), the
// entries derived from birthday entries, and the in-memory editing with its undo history.
// Nothing is ever written to a data file.
//
// Order of the list: day-marked entries first (the last one read in front), then the files
// in the order given with their entries in line order; derived entries stand right before
// their parent. Positions name entries: deleting only marks an entry, and the undo history
// follows every insertion and removal of derived entries.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Dates.h"
#include "datafiles/DatePackLists.h"
#include "datafiles/LoadErrors.h"
#include "datafiles/Notices.h"
#include "datafiles/SourceTexts.h"
#include "datafiles/UndoHistories.h"
#include "entries/Entries.h"
#include "entries/PackBudgets.h"

namespace pelo {

class TCalendar;

// What the list keeps about one loaded file.
struct TFileOption {
  // The owner may not write the file: its entries refuse every change.
  bool FileReadOnly = false;
  // Built from the file's last default line ("=...") read so far; null without one.
  std::unique_ptr<TEntry> DefaultEntry;
  // The file's text as last read, with the lines its entries came from.
  TSourceText Source;
  // The load report of the file as last read, and a hash of the bytes read: what a reload
  // compares with.
  TLoadErrorCollector Report;
  std::size_t BytesHash = 0;
};

// The loaded files in load order; a file's position is the FileIndex of its entries.
class TFileList {
 public:
  // Appends the path exactly as given, with a fresh option; returns its index.
  int32_t AddFile(std::string path);
  // Null when index names no file.
  TFileOption* Option(int32_t index) noexcept;
  const TFileOption* Option(int32_t index) const noexcept;
  // The path as given; empty when index names no file.
  const std::string& Path(int32_t index) const noexcept;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void ClearFiles() noexcept { items_.clear(); }

 private:
  struct TItem {
    std::string path;
    std::unique_ptr<TFileOption> option;
  };
  std::vector<TItem> items_;
};

class TEntryList {
 public:
  // Called with the path just before a file is read. It must not change the list.
  using TLoadFromFileEvent = std::function<void(TEntryList& sender, const std::string& path)>;

  // today: the day the marks of the lines read (";", "ﾚ") and of deleting and checking are
  // dated, and whose century two-digit years belong to. pack_budget bounds the day packs of
  // one window (SetTable) and, counted in packs, what the entries read from the files may
  // hold (see PackBudgets.h).
  TEntryList(TUserNotices& notices, TDateRec today, std::size_t pack_budget = kDayPackBudget);
  ~TEntryList();
  TEntryList(const TEntryList&) = delete;
  TEntryList& operator=(const TEntryList&) = delete;
  // The clock moved on: marks made and files read from now on are dated on today.
  void SetToday(TDateRec today) noexcept { today_ = today; }

  // ---- Loading ----
  // Starts afresh and loads the files in order.
  void LoadFiles(const std::vector<std::string>& names);
  // Reads one file and adds its entries; false when it was not found or could not be read
  // whole (what was read before a failure stays).
  bool LoadFromFile(const std::string& path);
  // Loads bytes as if they had been read from a file at path (which need not exist), with
  // everything LoadFromFile does after reading: for feeding the loader without a file.
  bool LoadFromBytes(const std::string& path, std::string bytes);
  // Frees every entry and forgets the files. The clipboard stays.
  void Clear();

  // ---- Reading a loaded file again ----
  enum class TReloadOutcome {
    kReloaded,    // the file's entries were replaced by what it holds now
    kUnchanged,   // the same bytes as last read (or no such file index): nothing changed
    kMissing,     // nothing is at the path any more: the entries stay
    kUnreadable,  // it could not be read whole: the entries stay
  };
  struct TReloadResult {
    TReloadOutcome Outcome = TReloadOutcome::kUnchanged;
    // In-memory changes to the file's entries went with them (their undo steps too).
    bool EditsDropped = false;
    // What the load report says that it did not when the file was last read (the bad lines
    // that were not bad then, new notes); empty: nothing new.
    TLoadErrorReport NewBadLines;
  };
  // Reads the file at file_index again and puts what it holds now in place of its entries,
  // where they stood in the list (see the order above); every other file keeps its entries
  // and their in-memory changes. The file keeps its index and path. Unless even_unchanged,
  // the same bytes as last read change nothing. The day packs are left empty (OnEntriesFreed
  // is called). Nothing is shown here: the caller tells the user once it has built what it
  // shows again.
  TReloadResult ReloadFile(int32_t file_index, bool even_unchanged);
  // The line of its data file an entry was read from (its parent's for a derived entry);
  // empty when that file is no longer loaded.
  std::string_view SourceLine(const TEntry& entry) const noexcept;

  // ---- Entries ----
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  // Null when position is out of range.
  TEntry* Entry(int32_t position) noexcept;
  const TEntry* Entry(int32_t position) const noexcept;
  // False, after telling the user, when the entry's file is read-only. Always true while
  // a file is being read.
  bool CanModify(const TEntry& entry);

  // ---- Editing (an operation given a position out of range does nothing) ----
  // Inserts entry at position (-1 appends) after merging its file's defaults, records the
  // addition and makes the derived entries. Returns the position the entry went to (the
  // first derived entry's, when some were made), or -1 when it was refused.
  int32_t AddEntry(int32_t position, std::unique_ptr<TEntry> entry);
  // Copies entry over the entry at position; nothing when entry is null.
  void EditEntry(int32_t position, const TEntry* entry);
  // Marks the entry deleted today (it stays in the list).
  void DeleteEntry(int32_t position);
  void ToggleChecked(int32_t position);
  // Pins the entry to date.
  void MoveEntry(int32_t position, TDateRec date);
  // Appends a copy pinned to date, unrecorded and without derived entries; answers the
  // copy's position, none when the entry's file refuses changes.
  std::optional<int32_t> CopyEntryTo(int32_t position, TDateRec date);
  // A copy to the front of the clipboard.
  void CopyEntry(int32_t position);
  void CutEntry(int32_t position);
  // Adds a copy of clipboard item index (0 the newest), pinned to date when one is given;
  // answers the new entry's position, none when there is no such item or it was refused.
  std::optional<int32_t> PasteEntry(int32_t index, std::optional<TDateRec> date);

  // ---- Derived entries of birthday entries ("%b1", "%b2" with a death date) ----
  // Both return the parent's position afterwards.
  int32_t ExpandLifeEvents(int32_t position);
  int32_t RemoveDerived(int32_t position);
  // Sets or removes the deleted mark without asking and without recording: the undo of an
  // addition and of a deletion. A birthday entry loses its derived entries with the mark
  // and gets them back without it.
  void MarkDeleted(int32_t position, bool on);

  // ---- Parts ----
  TFileList& FileList() noexcept { return file_list_; }
  const TFileList& FileList() const noexcept { return file_list_; }
  TUndoHistory& UndoHistory() noexcept { return undo_; }
  const TUndoHistory& UndoHistory() const noexcept { return undo_; }
  int32_t ClipboardCount() const noexcept { return static_cast<int32_t>(clipboard_.size()); }
  // 0 is the newest copy; null when out of range.
  const TEntry* ClipboardItem(int32_t index) const noexcept;
  bool Loading() const noexcept { return loading_; }

  TLoadFromFileEvent OnLoadFromFile;
  // Called as soon as entries were freed by a clear (every load starts with one) or a file
  // read again, before anything is shown to the user: whatever holds pointers to entries or
  // day packs (the day table's cells) lets go of them there, since a message box or a load
  // report runs an event loop that may paint. The day packs are empty at that moment.
  std::function<void(TEntryList& sender)> OnEntriesFreed;
  // Asked while a file is read whether a picture of command i decodes; a picture that does
  // not is reported as not found. Empty: the header check alone decides.
  TPictureCheck PictureCheck;

  // ---- The day table's part ----
  // Called before each visible entry is evaluated, with its position and the share of the
  // list done so far in percent.
  using TSetTableEvent = std::function<void(TEntryList& sender, int32_t index, int32_t rate)>;

  // Rebuilds the day packs of every visible entry (not deleted, parsed without error) over
  // the years first_year .. first_year + year_count - 1, in list order, with the calendar's
  // today and holidays; stores every entry's ListIndex. The calendar's window is set to start
  // at first_year (TCalendar::SetFirstYear) and the days of day-marked entries are marked in
  // it as private holidays. When the pack budget runs out the packs end there (see
  // TellBudgetStop).
  void SetTable(TCalendar& calendar, int32_t first_year, int32_t year_count);
  const TDatePackList& DatePacks() const noexcept { return packs_; }
  // The same loop, handing each pack (its entry link set) to visit as soon as its entry is
  // done instead of keeping it: only one entry's packs are held at a time. The stored packs
  // stay as they were.
  using TPackVisitor = std::function<void(const TDatePack& pack)>;
  void VisitTable(TCalendar& calendar, int32_t first_year, int32_t year_count,
                  const TPackVisitor& visit);
  // The same walk over some entries of the list only, for a search that knows which entries
  // it looks for: the calendar's window is set as above and the days of the day-marked entries
  // given in marking are marked first, since the days of the others may depend on them
  // (deleted and bad entries are skipped in both). The pack budget bounds each call.
  void VisitEntries(TCalendar& calendar, int32_t first_year, int32_t year_count,
                    std::span<const TEntry* const> marking, std::span<const TEntry* const> entries,
                    const TPackVisitor& visit) const;
  // Tells the user at which file and line the pack budget stopped the loading or a build of
  // the packs, once for as long as the list holds its files; nothing when it stopped nowhere.
  // Called once what was built is shown, so that nothing is drawn from what the build
  // replaced while the message is up.
  void TellBudgetStop();

  TSetTableEvent OnSetTable;

 private:
  // The entries of one file while it is read; they join the list when it is done.
  struct TLoadBatch;

  // SetTable's loop: the packs of each entry are appended to packs, then handed to visit
  // (when given), which keeps only the entry's packs.
  void BuildTable(TCalendar& calendar, int32_t first_year, int32_t year_count,
                  std::vector<TDatePack>& packs, const TPackVisitor* visit);
  // Keeps the first place where the pack budget ran out since the files were loaded.
  void RecordBudgetStop(const std::string& path, int32_t line_no);

  // Everything after a file was read (read false: it could not be) or given as bytes.
  bool LoadRead(int32_t file_index, const std::string& path, bool read, std::string bytes);
  // Reads the lines of option.Source, the text of the file at file_index, into batch, with
  // the bad lines in report; false when an attached-text block is not closed.
  bool ParseLines(TFileOption& option, int32_t file_index, std::string_view folder,
                  TLoadBatch& batch, TLoadErrorCollector& report);
  // One entry line into batch; the entry made, or null when none was: the budget ran out,
  // or the line is bad past the listed ones and only counted.
  TEntry* ReadEntryLine(std::string_view line, int32_t line_no, int32_t file_index,
                        const TFileOption& option, const TLineContext& context, TLoadBatch& batch,
                        TLoadErrorCollector& report);
  void JoinBatch(TLoadBatch& batch);
  // The parts of ReloadFile: what every entry but those of the file holds, taken afresh from
  // the pack budget; the undo steps of the file's entries; the file's entries replaced.
  void RecountLoadBudget(int32_t file_index);
  int32_t CountTasksOfFile(int32_t file_index) const;
  void ReplaceFileEntries(int32_t file_index, TLoadBatch& batch);
  // Inserts entries before position and tells the undo history.
  void InsertEntries(int32_t position, std::vector<std::unique_ptr<TEntry>> entries);
  // The default entry of the entry's file, or null.
  const TEntry* DefaultsOf(const TEntry& entry) const noexcept;
  // Removes and makes again the derived entries of the entry at position.
  void RebuildDerived(int32_t position);

  TUserNotices& notices_;
  TDateRec today_;
  std::vector<std::unique_ptr<TEntry>> entries_;
  TFileList file_list_;
  TUndoHistory undo_;
  std::vector<std::unique_ptr<TEntry>> clipboard_;  // the newest last
  TDatePackList packs_;
  bool loading_ = false;  // a file's lines are being read
  std::size_t pack_budget_;
  TPackBudget load_budget_;  // what the loaded entries hold; refilled by Clear
  struct TBudgetStop {
    std::string path;
    int32_t line_no = 0;  // 0: no stop
    bool told = false;
  } budget_stop_;
};

// The entries a birthday entry with a death date stands for, in the order they go before
// it, each with its parent link set: 5, or 4 when the birth year is not given (9999). None
// for any other entry, and none for an entry that is itself derived. today as for a line
// read (TLineContext).
std::vector<std::unique_ptr<TEntry>> MakeLifeEventEntries(TEntry& parent, TDateRec today);

// "%b1" or "%b2" in an annotation.
bool HasLifeEventCode(std::string_view annotation) noexcept;

}  // namespace pelo
