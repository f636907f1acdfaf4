#include "schedule/ScheduleDocuments.h"

namespace pelo {

TScheduleDocument::TScheduleDocument(TUserNotices& notices, TDateRec today, TTextMeasurer* measurer,
                                     uint32_t select_color, std::size_t pack_budget)
    : notices_(notices),
      calendar_(today),
      entry_list_(notices, today, pack_budget),
      day_table_(calendar_.FirstYear(), measurer, select_color) {
  // The cells point at entries: they are emptied as soon as the entries go, so that nothing
  // painted while a load report or a message box is up reads a freed entry.
  entry_list_.OnEntriesFreed = [this](TEntryList& list) { day_table_.Fill(&list.DatePacks()); };
}

void TScheduleDocument::AddObserver(TScheduleObserver& observer) {
  observers_.push_back(&observer);
}

void TScheduleDocument::RemoveObserver(TScheduleObserver& observer) {
  std::erase(observers_, &observer);
}

void TScheduleDocument::Tell(TScheduleObserver::TChange change) {
  // An observer may add or remove observers while it is told.
  const std::vector<TScheduleObserver*> observers = observers_;
  for (TScheduleObserver* observer : observers) observer->Changed(*this, change);
}

// ---------------------------------------------------------------------------------------------
// What the day table holds

void TScheduleDocument::ShowYearsFrom(int32_t first_year) {
  if (first_year == day_table_.FirstYear()) return;
  day_table_.SetFirstYear(first_year);
  Rebuild();
}

void TScheduleDocument::Rebuild() {
  const std::vector<TScheduleObserver*> observers = observers_;
  for (TScheduleObserver* observer : observers) observer->BeforeRebuild(*this);
  // The table's build moves the calendar's window along with it.
  entry_list_.SetTable(calendar_, day_table_.FirstYear(), TDayTable::kYearCount);
  day_table_.Fill(&entry_list_.DatePacks());
  Tell(TScheduleObserver::TChange::kEntries);
  // Said once what was built is shown, so that nothing is drawn from what it replaced.
  entry_list_.TellBudgetStop();
}

void TScheduleDocument::SetCalendarKind(TCalendarKind kind) {
  if (kind == calendar_.Kind()) return;
  calendar_.SetKind(kind);
  day_table_.SetCalendarKind(kind);
  // Conditions and moves may test holidays: every entry is evaluated again.
  Rebuild();
}

void TScheduleDocument::RefillLines() {
  day_table_.Fill(nullptr);
  Tell(TScheduleObserver::TChange::kLines);
}

void TScheduleDocument::SetToday(TDateRec today) {
  if (today == calendar_.Today()) return;
  calendar_.SetToday(today);
  entry_list_.SetToday(today);
  Rebuild();
  Tell(TScheduleObserver::TChange::kToday);
}

// ---------------------------------------------------------------------------------------------
// Loading

void TScheduleDocument::LoadFiles(const std::vector<std::string>& names) {
  entry_list_.LoadFiles(names);
  Rebuild();
}

// ---------------------------------------------------------------------------------------------
// Editing

std::optional<int32_t> TScheduleDocument::RebuildFocusing(int32_t entry) {
  Rebuild();
  if (!HasEntry(entry)) return std::nullopt;
  return entry;
}

std::optional<int32_t> TScheduleDocument::ToggleChecked(int32_t entry) {
  if (!HasEntry(entry)) return std::nullopt;
  entry_list_.ToggleChecked(entry);
  return RebuildFocusing(entry);
}

void TScheduleDocument::Copy(int32_t entry) {
  if (HasEntry(entry)) entry_list_.CopyEntry(entry);
}

std::optional<int32_t> TScheduleDocument::Cut(int32_t entry) {
  if (!HasEntry(entry)) return std::nullopt;
  entry_list_.CutEntry(entry);
  return RebuildFocusing(entry);
}

std::optional<int32_t> TScheduleDocument::Delete(int32_t entry) {
  if (!HasEntry(entry)) return std::nullopt;
  entry_list_.DeleteEntry(entry);
  return RebuildFocusing(entry);
}

std::optional<int32_t> TScheduleDocument::Paste(TDateRec date) {
  const std::optional<int32_t> pasted = entry_list_.PasteEntry(0, date);
  if (!pasted) return std::nullopt;
  return RebuildFocusing(*pasted);
}

std::optional<int32_t> TScheduleDocument::MoveTo(int32_t entry, TDateRec date) {
  if (!HasEntry(entry)) return std::nullopt;
  entry_list_.MoveEntry(entry, date);
  return RebuildFocusing(entry);
}

std::optional<int32_t> TScheduleDocument::CopyTo(int32_t entry, TDateRec date) {
  if (!HasEntry(entry)) return std::nullopt;
  // A refused copy leaves the cursor on the entry it was to be made of.
  return RebuildFocusing(entry_list_.CopyEntryTo(entry, date).value_or(entry));
}

void TScheduleDocument::Undo() {
  entry_list_.UndoHistory().UndoSteps(1);
  Rebuild();
}

void TScheduleDocument::Redo() {
  entry_list_.UndoHistory().RedoSteps(1);
  Rebuild();
}

std::optional<TDateRec> TScheduleDocument::NearestDayOfEntry(int32_t entry, TDateRec near) const {
  return day_table_.FindEntryDate(entry, near);
}

}  // namespace pelo
