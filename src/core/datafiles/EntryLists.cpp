#include "datafiles/EntryLists.h"

#include <climits>
#include <cmath>
#include <iterator>
#include <utility>

#include "calendar/Calendars.h"
#include "datafiles/DataFileReads.h"
#include "entries/Occurrences.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::string_view kNotFoundTail = " というファイルが見つかりません！";
constexpr std::string_view kReadOnlyHead = "ﾃﾞｰﾀﾌｧｲﾙ ";
constexpr std::string_view kReadOnlyTail = " のﾃﾞｰﾀは変更することができません。";
constexpr std::string_view kBudgetStopHead = "ﾃﾞｰﾀが多すぎます！ ";
constexpr std::string_view kBudgetStopMiddle = " の ";
constexpr std::string_view kBudgetStopTail = " 行目で打ち切り、それまでの予定だけを表示します。";

// Birthday entries and what their derived entries carry.
constexpr std::string_view kBirthCode1 = "%b1";
constexpr std::string_view kBirthCode2 = "%b2";
constexpr int32_t kUnknownBirthYear = 9999;
constexpr TDateRec kLatestDate{kCodeLatest, kCodeLatest, kCodeLatest};

// What an entry read from a file counts against the pack budget: the entry itself, and each
// date set of its lists as that is read.
constexpr std::size_t kEntryShare = PackShare(sizeof(TEntry));
constexpr std::size_t kDateSetShare = PackShare(sizeof(TDateSet));
// A birthday entry makes at most this many copies of itself.
constexpr std::size_t kMaxLifeEventEntries = 5;

std::size_t PackShareOf(const TEntry& entry) noexcept {
  std::size_t sets = entry.Dates ? entry.Dates->Count() : 0;
  if (entry.DerivedDates) sets += entry.DerivedDates->Count();
  if (entry.Conditions) {
    for (const TDateSetList& list : entry.Conditions->Items()) sets += list.Count();
  }
  return kEntryShare + sets * kDateSetShare;
}

// ---- Derived entries ---------------------------------------------------------------------

// A condition that must match, moving nothing.
TDateSetList& AddCondition(TEntry& entry) {
  if (!entry.Conditions) entry.Conditions = std::make_unique<TDateSetListList>();
  TDateSetList list;
  list.MustMatch = true;
  list.MoveStep = 0;
  list.MoveDays = 0;
  return entry.Conditions->Add(std::move(list));
}

TDateSet SetStartingOn(TDateRec date) {
  TDateSet set;
  set.StartOrCreate().GetOrCreate(kValuePart) = date;
  return set;
}

std::unique_ptr<TEntry> CopyOfParent(TEntry& parent) {
  auto copy = std::make_unique<TEntry>();
  copy->Assign(&parent);
  copy->Parent = &parent;
  return copy;
}

// The first date set of an entry copied from the parent, which has one.
TDateSet& FirstSet(TEntry& entry) { return *entry.Dates->Item(0); }

// The entries a birthday entry with a death date stands for, one function each.

// The birthdays from the death day on.
std::unique_ptr<TEntry> BirthdaysFromDeath(TEntry& parent, TDateRec death, TDateRec today) {
  auto entry = CopyOfParent(parent);
  FirstSet(*entry).EndOrCreate().GetOrCreate(kValuePart) = kLatestDate;
  TDateSet from_death;
  if (from_death.ParseDateSet(Concat({TDateClass(death).ToText(), "~>/>/>"}), today).Failed()) {
    // Codes that have no text of their own: the same date set made directly.
    from_death = SetStartingOn(death);
    from_death.EndOrCreate().GetOrCreate(kValuePart) = kLatestDate;
  }
  AddCondition(*entry).Add(std::move(from_death));
  entry->Annotation = "%c";
  return entry;
}

// The death day: counted from the birth when its year is known, else on its own.
std::unique_ptr<TEntry> DeathDay(TEntry& parent, TDateRec death, bool birth_year_known) {
  auto entry = CopyOfParent(parent);
  if (birth_year_known) {
    TDateRec& step = FirstSet(*entry).StartOrCreate().GetOrCreate(kStepPart);
    step.Year = 0;
    step.Day = 1;
    AddCondition(*entry).Add(SetStartingOn(death));
    entry->Annotation = "*%q";
  } else {
    entry->SetFirstDate(death);
    TDateSet& set = FirstSet(*entry);
    set.StartOrCreate().Remove(kStepPart);
    set.RemoveEnd();
    entry->Annotation = "*死去";
  }
  return entry;
}

// A memorial day (the seventh, the forty-ninth) days after the death.
std::unique_ptr<TEntry> MemorialDay(TEntry& parent, TDateRec death, int32_t days,
                                    std::string_view name, bool second_kind) {
  auto entry = CopyOfParent(parent);
  TDateSet& set = FirstSet(*entry);
  TDateParts& start = set.StartOrCreate();
  start.GetOrCreate(kValuePart) = death;
  start.GetOrCreate(kAdjustPart).Day = days;
  set.RemoveEnd();
  if (second_kind) {
    entry->Annotation = Concat({ReplaceAll(parent.Annotation, kBirthCode2, ""), name});
  }
  return entry;
}

// Every anniversary of the death from the next year on.
std::unique_ptr<TEntry> DeathAnniversaries(TEntry& parent, TDateRec death, bool second_kind) {
  auto entry = CopyOfParent(parent);
  TDateSet& set = FirstSet(*entry);
  TDateParts& start = set.StartOrCreate();
  start.GetOrCreate(kValuePart) = death;
  set.EndOrCreate().GetOrCreate(kValuePart).Year = kCodeLatest;
  start.GetOrCreate(kStepPart) = TDateRec{1, 0, 0};
  const int32_t next_year = death.Year < INT32_MAX ? death.Year + 1 : death.Year;
  TDateSet from_next_year = SetStartingOn({next_year, death.Month, death.Day});
  from_next_year.StartOrCreate().GetOrCreate(kStepPart) = TDateRec{0, 0, 1};
  from_next_year.EndOrCreate().GetOrCreate(kValuePart) = kLatestDate;
  AddCondition(*entry).Add(std::move(from_next_year));
  entry->Annotation = second_kind ? "%v%x" : "%v";
  return entry;
}

}  // namespace

bool HasLifeEventCode(std::string_view annotation) noexcept {
  return annotation.find(kBirthCode1) != std::string_view::npos ||
         annotation.find(kBirthCode2) != std::string_view::npos;
}

std::vector<std::unique_ptr<TEntry>> MakeLifeEventEntries(TEntry& parent, TDateRec today) {
  std::vector<std::unique_ptr<TEntry>> made;
  // A derived entry makes none of its own: its parent's rebuild would free it and leave
  // what it made pointing at nothing.
  if (parent.Parent != nullptr || !HasLifeEventCode(parent.Annotation)) return made;
  if (!parent.Dates || parent.Dates->Empty() || !parent.Dates->Item(0)->HasEnd()) return made;
  const TDateSet& first = *parent.Dates->Item(0);
  const TDateRec birth =
      first.Start() != nullptr ? first.Start()->GetOrZero(kValuePart) : TDateRec{};
  TDateRec death = first.End()->GetOrZero(kValuePart);
  const bool birth_year_known = birth.Year != kUnknownBirthYear;
  if (birth_year_known) {
    if (death.Year == kCodeEvery) death.Year = birth.Year;
    if (death.Month == kCodeEvery) death.Month = birth.Month;
    if (death.Day == kCodeEvery) death.Day = birth.Day;
  }
  const bool second_kind = parent.Annotation.view().find(kBirthCode2) != std::string::npos;

  if (birth_year_known) made.push_back(BirthdaysFromDeath(parent, death, today));
  made.push_back(DeathDay(parent, death, birth_year_known));
  made.push_back(MemorialDay(parent, death, 6, " 【初七日】", second_kind));
  made.push_back(MemorialDay(parent, death, 48, " 【四十九日】", second_kind));
  made.push_back(DeathAnniversaries(parent, death, second_kind));
  return made;
}

// ---- TFileList ---------------------------------------------------------------------------

int32_t TFileList::AddFile(std::string path) {
  items_.push_back({std::move(path), std::make_unique<TFileOption>()});
  return Count() - 1;
}

TFileOption* TFileList::Option(int32_t index) noexcept {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].option.get();
}

const TFileOption* TFileList::Option(int32_t index) const noexcept {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].option.get();
}

const std::string& TFileList::Path(int32_t index) const noexcept {
  static const std::string kNone;
  if (index < 0 || index >= Count()) return kNone;
  return items_[static_cast<std::size_t>(index)].path;
}

// ---- TEntryList: loading -----------------------------------------------------------------

struct TEntryList::TLoadBatch {
  // Day-marked entries (each after its derived entries) in reading order, and where each
  // one's group begins: the groups go to the front of the list, the last read first.
  std::vector<std::unique_ptr<TEntry>> marked;
  std::vector<std::size_t> marked_groups;
  std::vector<std::unique_ptr<TEntry>> others;

  // The day-marked entries in the order they stand in the list.
  std::vector<std::unique_ptr<TEntry>> TakeMarked() {
    std::vector<std::unique_ptr<TEntry>> in_list_order;
    in_list_order.reserve(marked.size());
    std::size_t group_end = marked.size();
    for (auto group = marked_groups.rbegin(); group != marked_groups.rend(); ++group) {
      for (std::size_t i = *group; i < group_end; ++i)
        in_list_order.push_back(std::move(marked[i]));
      group_end = *group;
    }
    marked.clear();
    return in_list_order;
  }
};

namespace {

// Sets the loading flag for as long as a file's lines are read, whatever happens.
class TLoadingGuard {
 public:
  explicit TLoadingGuard(bool& loading) noexcept : loading_(loading) { loading_ = true; }
  ~TLoadingGuard() { loading_ = false; }
  TLoadingGuard(const TLoadingGuard&) = delete;
  TLoadingGuard& operator=(const TLoadingGuard&) = delete;

 private:
  bool& loading_;
};

}  // namespace

TEntryList::TEntryList(TUserNotices& notices, TDateRec today, std::size_t pack_budget)
    : notices_(notices), today_(today), pack_budget_(pack_budget), load_budget_(pack_budget) {}

TEntryList::~TEntryList() = default;

void TEntryList::LoadFiles(const std::vector<std::string>& names) {
  Clear();
  for (const std::string& name : names) LoadFromFile(name);
}

bool TEntryList::LoadFromFile(const std::string& path) {
  bool read_only = false;
  if (!DataFileExists(path, read_only)) {
    notices_.Beep(TBeepKind::kExclamation);
    notices_.Warning(Concat({path, kNotFoundTail}));
    return false;
  }
  if (OnLoadFromFile) OnLoadFromFile(*this, path);
  const int32_t file_index = file_list_.AddFile(path);
  std::string bytes;
  const bool read = ReadDataFile(path, bytes, read_only);
  file_list_.Option(file_index)->FileReadOnly = read_only;
  return LoadRead(file_index, path, read, std::move(bytes));
}

bool TEntryList::LoadFromBytes(const std::string& path, std::string bytes) {
  if (OnLoadFromFile) OnLoadFromFile(*this, path);
  const int32_t file_index = file_list_.AddFile(path);
  return LoadRead(file_index, path, true, std::move(bytes));
}

namespace {

// Takes the text of a file's bytes into option.Source, with the notes on how it was read.
void TakeText(TFileOption& option, std::string_view bytes, TLoadErrorCollector& report) {
  TDataFileText read = DataFileText(bytes);
  option.Source = TSourceText(std::move(read.decoded.text));
  const TSourceText& source = option.Source;
  if (read.decoded.bad_places > 0) {
    const int32_t line_no = source.LineAt(read.decoded.first_bad);
    report.AddNote(BadBytesNote(source.Line(line_no), line_no, read.decoded.bad_places));
  }
  if (read.cut_at_nul) {
    const int32_t line_no = source.LineAt(source.Size());
    report.AddNote(NulNote(source.Line(line_no), line_no));
  }
}

// Reads the attached-text block whose "%" line is line_no into current (dropped when there is
// no entry yet) and moves line_no to its closing line; false when it has none.
bool ReadBlock(const TSourceText& source, int32_t& line_no, TEntry* current) {
  // Only a line that is "%" and nothing else closes the block.
  std::vector<std::string> block;
  while (line_no < source.LineCount()) {
    const std::string_view raw = source.Line(++line_no);
    if (raw == "%") {
      if (current != nullptr) {
        current->NoteLines = std::make_unique<std::vector<std::string>>(std::move(block));
      }
      return true;
    }
    block.emplace_back(raw);
  }
  return false;
}

}  // namespace

bool TEntryList::LoadRead(int32_t file_index, const std::string& path, bool read,
                          std::string bytes) {
  bool ok = read;
  TLoadErrorCollector report;
  if (ok) {
    TFileOption& option = *file_list_.Option(file_index);
    option.BytesHash = DataFileHash(bytes);
    TakeText(option, bytes, report);
    bytes = std::string();
    TLoadBatch batch;
    {
      const TLoadingGuard guard(loading_);
      ok = ParseLines(option, file_index, FolderOf(path), batch, report);
      JoinBatch(batch);
    }
    option.Report = report;
  }
  // Loading is never undone. The history goes before anything is shown, so that nothing
  // can undo a task of the old list while a message box is up.
  undo_.Clear();

  // The bad lines read before a failure stand in the list like any others, so they are
  // reported as well, before the failure itself.
  if (!report.Empty()) {
    report.SetHeading(ErrorReportHeading(path));
    report.Execute(notices_);
  }
  if (!ok) {
    notices_.Beep(TBeepKind::kExclamation);
    notices_.Warning(CannotOpenMessage(path));
    return false;
  }
  return true;
}

bool TEntryList::ParseLines(TFileOption& option, int32_t file_index, std::string_view folder,
                            TLoadBatch& batch, TLoadErrorCollector& report) {
  const TLineContext context{std::string(folder), &load_budget_, PictureCheck, today_};
  const TSourceText& source = option.Source;
  TEntry* current = nullptr;  // the entry of the last entry line: attached texts go there
  int32_t line_no = 0;
  while (line_no < source.LineCount()) {
    ++line_no;
    const std::string_view line = TrimControl(source.Line(line_no));
    if (line.empty()) continue;
    if (line.front() == '=') {
      // Errors in a default line are not reported.
      option.DefaultEntry = std::make_unique<TEntry>(TEntry::TForParsing{});
      static_cast<void>(option.DefaultEntry->ParseLine(line, context));
    } else if (line == "%") {
      if (!ReadBlock(source, line_no, current)) return false;
    } else {
      current = ReadEntryLine(line, line_no, file_index, option, context, batch, report);
    }
    // The pack budget ran out at this line: the file ends here.
    if (load_budget_.Spent()) {
      RecordBudgetStop(file_list_.Path(file_index), line_no);
      break;
    }
  }
  return true;
}

TEntry* TEntryList::ReadEntryLine(std::string_view line, int32_t line_no, int32_t file_index,
                                  const TFileOption& option, const TLineContext& context,
                                  TLoadBatch& batch, TLoadErrorCollector& report) {
  const TPackBudget budget_before = load_budget_;
  if (!load_budget_.Take(kEntryShare)) return nullptr;
  auto entry = std::make_unique<TEntry>(TEntry::TForParsing{});
  const TParseError error = entry->ParseLine(line, context);
  if (error.Failed()) {
    if (!report.Listing()) {
      // Never shown and no longer listed: it holds nothing, not even its share of the budget.
      load_budget_ = budget_before;
      report.CountUnlisted();
      return nullptr;
    }
    report.Add(ErrorReportLine(entry->Text, error.Message()));
  }
  entry->LineNo = line_no;
  entry->FileIndex = file_index;
  // Before the day-mark test: a default can make the entry day-marked.
  if (option.DefaultEntry) entry->MergeDefaults(*option.DefaultEntry);
  // The entries a birthday entry makes copy its lists: they are counted before they are made.
  std::vector<std::unique_ptr<TEntry>> derived;
  if (!load_budget_.Spent() && (!HasLifeEventCode(entry->Annotation) ||
                                load_budget_.Take(kMaxLifeEventEntries * PackShareOf(*entry)))) {
    derived = MakeLifeEventEntries(*entry, today_);
  }
  std::vector<std::unique_ptr<TEntry>>& target = entry->DayMark ? batch.marked : batch.others;
  if (entry->DayMark) batch.marked_groups.push_back(batch.marked.size());
  target.insert(target.end(), std::make_move_iterator(derived.begin()),
                std::make_move_iterator(derived.end()));
  TEntry* made = entry.get();
  target.push_back(std::move(entry));
  return made;
}

void TEntryList::JoinBatch(TLoadBatch& batch) {
  std::vector<std::unique_ptr<TEntry>> marked = batch.TakeMarked();
  entries_.insert(entries_.end(), std::make_move_iterator(batch.others.begin()),
                  std::make_move_iterator(batch.others.end()));
  entries_.insert(entries_.begin(), std::make_move_iterator(marked.begin()),
                  std::make_move_iterator(marked.end()));
  batch = TLoadBatch();
}

void TEntryList::Clear() {
  // The tasks name positions of the entries that go now.
  undo_.Clear();
  packs_.Clear();  // the packs point at the entries
  file_list_.ClearFiles();
  entries_.clear();
  load_budget_ = TPackBudget(pack_budget_);
  budget_stop_ = {};
  if (OnEntriesFreed) OnEntriesFreed(*this);
}

// ---- TEntryList: reading a loaded file again ---------------------------------------------

TEntryList::TReloadResult TEntryList::ReloadFile(int32_t file_index, bool even_unchanged) {
  TReloadResult result;
  TFileOption* option = file_list_.Option(file_index);
  if (option == nullptr) return result;
  const std::string path = file_list_.Path(file_index);
  TFileOption fresh;
  std::string bytes;
  if (!DataFileExists(path, fresh.FileReadOnly)) {
    result.Outcome = TReloadOutcome::kMissing;
    return result;
  }
  if (!ReadDataFile(path, bytes, fresh.FileReadOnly)) {
    result.Outcome = TReloadOutcome::kUnreadable;
    return result;
  }
  fresh.BytesHash = DataFileHash(bytes);
  if (fresh.BytesHash == option->BytesHash && !even_unchanged) {
    option->FileReadOnly = fresh.FileReadOnly;
    return result;
  }
  if (OnLoadFromFile) OnLoadFromFile(*this, path);
  TLoadErrorCollector report;
  TakeText(fresh, bytes, report);
  bytes = std::string();

  // Read against the budget as it stands without the file's entries; a failure leaves the
  // budget and its stop as they were.
  const TPackBudget budget_before = load_budget_;
  const TBudgetStop stop_before = budget_stop_;
  RecountLoadBudget(file_index);
  if (budget_stop_.path == path) budget_stop_ = {};
  TLoadBatch batch;
  bool read = false;
  {
    const TLoadingGuard guard(loading_);
    read = ParseLines(fresh, file_index, FolderOf(path), batch, report);
  }
  if (!read) {
    load_budget_ = budget_before;
    budget_stop_ = stop_before;
    result.Outcome = TReloadOutcome::kUnreadable;
    return result;
  }

  result.Outcome = TReloadOutcome::kReloaded;
  result.EditsDropped = CountTasksOfFile(file_index) > 0;
  packs_.Clear();  // the packs point at the entries
  ReplaceFileEntries(file_index, batch);
  undo_.DropDetached();
  if (OnEntriesFreed) OnEntriesFreed(*this);
  report.SetHeading(ErrorReportHeading(path));
  result.NewBadLines = report.NewSince(option->Report);
  fresh.Report = std::move(report);
  *option = std::move(fresh);
  return result;
}

void TEntryList::RecountLoadBudget(int32_t file_index) {
  load_budget_ = TPackBudget(pack_budget_);
  for (const auto& entry : entries_) {
    if (entry->FileIndex != file_index) load_budget_.Take(PackShareOf(*entry));
  }
}

int32_t TEntryList::CountTasksOfFile(int32_t file_index) const {
  int32_t count = 0;
  for (int32_t i = 0; i < undo_.Count(); ++i) {
    const TEntry* entry = Entry(undo_.Task(i)->Position());
    if (entry != nullptr && entry->FileIndex == file_index) ++count;
  }
  return count;
}

// The file's loaded entries stand in two blocks: its day-marked ones among the others at the
// front of the list, the rest among the other files' in file order; entries added in memory
// follow at the end. The new entries take the places of the two blocks; a block the file did
// not have goes where the order of the list puts it. Every removal and insertion is told to
// the undo history, whose tasks of the file's entries are left without an entry.
void TEntryList::ReplaceFileEntries(int32_t file_index, TLoadBatch& batch) {
  int32_t front_end = 0;
  while (front_end < Count() && entries_[static_cast<std::size_t>(front_end)]->DayMark) {
    ++front_end;
  }
  std::vector<std::unique_ptr<TEntry>> kept;
  kept.reserve(entries_.size());
  int32_t kept_front_end = 0;
  int32_t marked_at = -1;
  int32_t others_at = -1;
  for (int32_t i = 0; i < Count(); ++i) {
    std::unique_ptr<TEntry>& entry = entries_[static_cast<std::size_t>(i)];
    const auto here = static_cast<int32_t>(kept.size());
    if (entry->FileIndex != file_index) {
      if (i < front_end) kept_front_end = here + 1;
      kept.push_back(std::move(entry));
      continue;
    }
    if (i < front_end && marked_at < 0) marked_at = here;
    if (i >= front_end && others_at < 0) others_at = here;
    undo_.EntriesRemoved(here, 1);
  }
  const auto first_where = [&kept](int32_t from, int32_t to, auto&& test) {
    while (from < to && !test(*kept[static_cast<std::size_t>(from)])) ++from;
    return from;
  };
  // Day-marked entries of later files stand before those of earlier ones.
  if (marked_at < 0) {
    marked_at =
        first_where(0, kept_front_end, [&](const TEntry& e) { return e.FileIndex < file_index; });
  }
  if (others_at < 0) {
    others_at = first_where(kept_front_end, static_cast<int32_t>(kept.size()),
                            [&](const TEntry& e) { return e.FileIndex > file_index; });
  }
  std::vector<std::unique_ptr<TEntry>> marked = batch.TakeMarked();
  entries_ = std::move(kept);
  InsertEntries(others_at, std::move(batch.others));
  InsertEntries(marked_at, std::move(marked));
  batch = TLoadBatch();
}

std::string_view TEntryList::SourceLine(const TEntry& entry) const noexcept {
  const TEntry& read = entry.Parent != nullptr ? *entry.Parent : entry;
  const TFileOption* option = file_list_.Option(read.FileIndex);
  return option != nullptr ? option->Source.Line(read.LineNo) : std::string_view();
}

// ---- TEntryList: the day packs -----------------------------------------------------------

void TEntryList::SetTable(TCalendar& calendar, int32_t first_year, int32_t year_count) {
  packs_.Clear();
  BuildTable(calendar, first_year, year_count, packs_.Packs(), nullptr);
}

void TEntryList::VisitTable(TCalendar& calendar, int32_t first_year, int32_t year_count,
                            const TPackVisitor& visit) {
  std::vector<TDatePack> packs;
  BuildTable(calendar, first_year, year_count, packs, &visit);
}

void TEntryList::BuildTable(TCalendar& calendar, int32_t first_year, int32_t year_count,
                            std::vector<TDatePack>& packs, const TPackVisitor* visit) {
  // Holidays and private marks of days outside the calendar's window would silently be
  // missing: the window starts with the table's years.
  calendar.SetFirstYear(first_year);
  const TPatternContext range{first_year, first_year + year_count - 1, 0};
  TPackBudget budget(pack_budget_);
  const TEntry* stopped_at = nullptr;
  const int32_t count = Count();
  for (int32_t i = 0; i < count; ++i) {
    TEntry& entry = *entries_[static_cast<std::size_t>(i)];
    entry.ListIndex = i;
    if (stopped_at != nullptr || entry.IsDeleted() || !entry.ErrorText.empty()) continue;
    if (OnSetTable) {
      // Rounded to the nearest, halves to even (the default rounding mode).
      const auto rate = static_cast<int32_t>(std::nearbyint((i + 1) * 100.0 / count));
      OnSetTable(*this, i, rate);
    }
    const std::size_t first_new = packs.size();
    Occurrences(entry, calendar, range, packs, budget);
    for (std::size_t k = first_new; k < packs.size(); ++k) {
      packs[k].Entry = &entry;
      // Marked as they come: the entries of later positions may ask for private holidays.
      if (entry.DayMark) calendar.MarkPrivateHoliday(packs[k].Date());
      if (visit != nullptr) (*visit)(packs[k]);
    }
    if (visit != nullptr) packs.clear();
    if (budget.Spent()) stopped_at = &entry;
  }
  if (stopped_at != nullptr) {
    RecordBudgetStop(file_list_.Path(stopped_at->FileIndex), stopped_at->LineNo);
  }
}

void TEntryList::VisitEntries(TCalendar& calendar, int32_t first_year, int32_t year_count,
                              std::span<const TEntry* const> marking,
                              std::span<const TEntry* const> entries,
                              const TPackVisitor& visit) const {
  calendar.SetFirstYear(first_year);
  const TPatternContext range{first_year, first_year + year_count - 1, 0};
  TPackBudget budget(pack_budget_);
  std::vector<TDatePack> packs;
  const auto walk = [&](const TEntry& entry, const TPackVisitor* visit_pack) {
    if (entry.IsDeleted() || !entry.ErrorText.empty() || budget.Spent()) return;
    packs.clear();
    Occurrences(entry, calendar, range, packs, budget);
    for (TDatePack& pack : packs) {
      pack.Entry = &entry;
      if (entry.DayMark) calendar.MarkPrivateHoliday(pack.Date());
      if (visit_pack != nullptr) (*visit_pack)(pack);
    }
  };
  for (const TEntry* entry : marking) walk(*entry, nullptr);
  for (const TEntry* entry : entries) walk(*entry, &visit);
}

void TEntryList::RecordBudgetStop(const std::string& path, int32_t line_no) {
  if (budget_stop_.line_no == 0) budget_stop_ = {path, line_no, false};
}

void TEntryList::TellBudgetStop() {
  if (budget_stop_.line_no == 0 || budget_stop_.told) return;
  budget_stop_.told = true;
  notices_.Beep(TBeepKind::kExclamation);
  notices_.Warning(Concat({kBudgetStopHead, budget_stop_.path, kBudgetStopMiddle,
                           NumberText(budget_stop_.line_no), kBudgetStopTail}));
}

// ---- TEntryList: entries -----------------------------------------------------------------

TEntry* TEntryList::Entry(int32_t position) noexcept {
  if (position < 0 || position >= Count()) return nullptr;
  return entries_[static_cast<std::size_t>(position)].get();
}

const TEntry* TEntryList::Entry(int32_t position) const noexcept {
  if (position < 0 || position >= Count()) return nullptr;
  return entries_[static_cast<std::size_t>(position)].get();
}

const TEntry* TEntryList::ClipboardItem(int32_t index) const noexcept {
  if (index < 0 || index >= ClipboardCount()) return nullptr;
  return clipboard_[clipboard_.size() - 1 - static_cast<std::size_t>(index)].get();
}

bool TEntryList::CanModify(const TEntry& entry) {
  if (loading_) return true;
  // An entry of no loaded file has no read-only attribute to obey.
  const TFileOption* option = file_list_.Option(entry.FileIndex);
  if (option == nullptr || !option->FileReadOnly) return true;
  notices_.Beep(TBeepKind::kInformation);
  notices_.Information(
      Concat({kReadOnlyHead, FileNameOf(file_list_.Path(entry.FileIndex)), kReadOnlyTail}));
  return false;
}

const TEntry* TEntryList::DefaultsOf(const TEntry& entry) const noexcept {
  const TFileOption* option = file_list_.Option(entry.FileIndex);
  return option != nullptr ? option->DefaultEntry.get() : nullptr;
}

void TEntryList::InsertEntries(int32_t position, std::vector<std::unique_ptr<TEntry>> entries) {
  if (entries.empty()) return;
  const auto count = static_cast<int32_t>(entries.size());
  entries_.insert(entries_.begin() + position, std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
  undo_.EntriesInserted(position, count);
}

// ---- TEntryList: editing -----------------------------------------------------------------

int32_t TEntryList::AddEntry(int32_t position, std::unique_ptr<TEntry> entry) {
  if (!entry || position < -1 || position > Count()) return -1;
  if (!CanModify(*entry)) return -1;
  // A new entry in the list is nobody's derived entry.
  entry->Parent = nullptr;
  if (const TEntry* defaults = DefaultsOf(*entry)) entry->MergeDefaults(*defaults);
  if (position == -1) position = Count();
  std::vector<std::unique_ptr<TEntry>> one;
  one.push_back(std::move(entry));
  InsertEntries(position, std::move(one));
  undo_.RecordAdd(*this, position);
  ExpandLifeEvents(position);
  return position;
}

void TEntryList::EditEntry(int32_t position, const TEntry* entry) {
  TEntry* target = Entry(position);
  if (entry == nullptr || target == nullptr || !CanModify(*target)) return;
  TEntry old_entry;
  old_entry.Assign(target);
  target->Assign(entry);
  // entry may be one of the derived entries the rebuild below frees: copied first.
  undo_.RecordEdit(*this, position, old_entry, *target);
  RebuildDerived(position);
}

void TEntryList::DeleteEntry(int32_t position) {
  TEntry* target = Entry(position);
  if (target == nullptr || !CanModify(*target)) return;
  if (HasLifeEventCode(target->Annotation)) position = RemoveDerived(position);
  undo_.RecordDelete(*this, position);
  target->SetDeletedMark(true, today_);
}

void TEntryList::ToggleChecked(int32_t position) {
  TEntry* target = Entry(position);
  if (target == nullptr || !CanModify(*target)) return;
  TEntry old_entry;
  old_entry.Assign(target);
  target->SetCheckedMark(!target->IsChecked(), today_);
  undo_.RecordEdit(*this, position, old_entry, *target);
  if (HasLifeEventCode(target->Annotation)) RebuildDerived(position);
}

void TEntryList::MoveEntry(int32_t position, TDateRec date) {
  TEntry* target = Entry(position);
  if (target == nullptr || !CanModify(*target)) return;
  TEntry old_entry;
  old_entry.Assign(target);
  target->SetFirstDate(date);
  undo_.RecordEdit(*this, position, old_entry, *target);
  if (HasLifeEventCode(target->Annotation)) RebuildDerived(position);
}

std::optional<int32_t> TEntryList::CopyEntryTo(int32_t position, TDateRec date) {
  const TEntry* source = Entry(position);
  if (source == nullptr || !CanModify(*source)) return std::nullopt;
  auto copy = std::make_unique<TEntry>();
  copy->Assign(source);
  copy->SetFirstDate(date);
  entries_.push_back(std::move(copy));
  return Count() - 1;
}

void TEntryList::CopyEntry(int32_t position) {
  const TEntry* source = Entry(position);
  if (source == nullptr) return;
  auto copy = std::make_unique<TEntry>();
  copy->Assign(source);
  clipboard_.push_back(std::move(copy));
}

void TEntryList::CutEntry(int32_t position) {
  CopyEntry(position);
  DeleteEntry(position);
}

std::optional<int32_t> TEntryList::PasteEntry(int32_t index, std::optional<TDateRec> date) {
  const TEntry* item = ClipboardItem(std::max(index, 0));
  if (item == nullptr) return std::nullopt;
  // A copy taken before a reload may name a file that is no longer loaded: neither its
  // read-only attribute nor its defaults can be known, and an entry of no file would stand
  // apart from every file in the list. Such a paste is refused; the copy stays in the
  // clipboard for when the file is loaded again.
  if (file_list_.Option(item->FileIndex) == nullptr) return std::nullopt;
  auto copy = std::make_unique<TEntry>();
  copy->Assign(item);
  if (date) copy->SetFirstDate(*date);
  const int32_t added = AddEntry(-1, std::move(copy));
  if (added < 0) return std::nullopt;
  return added;
}

// ---- TEntryList: derived entries ---------------------------------------------------------

int32_t TEntryList::ExpandLifeEvents(int32_t position) {
  TEntry* parent = Entry(position);
  if (parent == nullptr) return position;
  std::vector<std::unique_ptr<TEntry>> made = MakeLifeEventEntries(*parent, today_);
  const auto count = static_cast<int32_t>(made.size());
  InsertEntries(position, std::move(made));
  return position + count;
}

int32_t TEntryList::RemoveDerived(int32_t position) {
  const TEntry* parent = Entry(position);
  if (parent == nullptr) return position;
  while (position > 0 && entries_[static_cast<std::size_t>(position - 1)]->Parent == parent) {
    entries_.erase(entries_.begin() + (position - 1));
    undo_.EntriesRemoved(position - 1, 1);
    --position;
  }
  return position;
}

void TEntryList::RebuildDerived(int32_t position) { ExpandLifeEvents(RemoveDerived(position)); }

void TEntryList::MarkDeleted(int32_t position, bool on) {
  TEntry* target = Entry(position);
  if (target == nullptr) return;
  const bool life_event = HasLifeEventCode(target->Annotation);
  if (on) {
    if (life_event) RemoveDerived(position);
    target->SetDeletedMark(true, today_);
  } else {
    target->SetDeletedMark(false, today_);
    if (life_event) RebuildDerived(position);
  }
}

}  // namespace pelo
