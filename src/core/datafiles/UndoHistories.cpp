#include "datafiles/UndoHistories.h"

#include <utility>

#include "datafiles/EntryLists.h"
#include "entries/Entries.h"

namespace pelo {

namespace {

// Clears the busy flag however the task ends.
class TBusyGuard {
 public:
  explicit TBusyGuard(bool& busy) noexcept : busy_(busy) { busy_ = true; }
  ~TBusyGuard() { busy_ = false; }
  TBusyGuard(const TBusyGuard&) = delete;
  TBusyGuard& operator=(const TBusyGuard&) = delete;

 private:
  bool& busy_;
};

}  // namespace

// ---- TTask -------------------------------------------------------------------------------

void TTask::EntriesInserted(int32_t at, int32_t count) noexcept {
  if (position_ != kNoPosition && position_ >= at) position_ += count;
}

void TTask::EntriesRemoved(int32_t at, int32_t count) noexcept {
  if (position_ == kNoPosition || position_ < at) return;
  // The task's own entry went: it must never touch whichever entry takes its place.
  position_ = position_ < at + count ? kNoPosition : position_ - count;
}

// ---- TEditEntryTask ----------------------------------------------------------------------

TEditEntryTask::TEditEntryTask(TEntryList& entry_list, int32_t position, const TEntry& old_entry,
                               const TEntry& new_entry)
    : TTask(entry_list, position),
      old_entry_(std::make_unique<TEntry>()),
      new_entry_(std::make_unique<TEntry>()) {
  old_entry_->Assign(&old_entry);
  new_entry_->Assign(&new_entry);
}

TEditEntryTask::~TEditEntryTask() = default;

void TEditEntryTask::Undo() { EntryList().EditEntry(Position(), old_entry_.get()); }

void TEditEntryTask::Redo() { EntryList().EditEntry(Position(), new_entry_.get()); }

// ---- TAddEntryTask, TDeleteEntryTask -----------------------------------------------------

// A birthday entry's derived entries go and come back with the mark: undoing an addition
// must not leave them shown, and undoing a deletion must bring them back.
void TAddEntryTask::Undo() { EntryList().MarkDeleted(Position(), true); }

void TAddEntryTask::Redo() { EntryList().MarkDeleted(Position(), false); }

void TDeleteEntryTask::Undo() { EntryList().MarkDeleted(Position(), false); }

void TDeleteEntryTask::Redo() { EntryList().MarkDeleted(Position(), true); }

// ---- TUndoHistory ------------------------------------------------------------------------

TUndoHistory::TUndoHistory() = default;

TUndoHistory::~TUndoHistory() = default;

void TUndoHistory::Record(std::unique_ptr<TTask> task) {
  if (busy_ || !task) return;
  // The redo tail goes; an undone current task goes with it.
  const std::size_t keep = static_cast<std::size_t>(undone_ ? position_ : position_ + 1);
  if (keep < tasks_.size()) tasks_.resize(keep);
  tasks_.push_back(std::move(task));
  position_ = Count() - 1;
  undone_ = false;
}

bool TUndoHistory::CanUndo() const noexcept {
  if (tasks_.empty()) return false;
  return !(position_ < 1 && undone_);
}

bool TUndoHistory::CanRedo() const noexcept {
  if (tasks_.empty()) return false;
  return !(position_ >= Count() - 1 && !undone_);
}

void TUndoHistory::Undo() {
  if (busy_) return;
  const TBusyGuard guard(busy_);
  if (!CanUndo()) return;
  if (undone_) --position_;
  tasks_[static_cast<std::size_t>(position_)]->Undo();
  undone_ = true;
}

void TUndoHistory::Redo() {
  if (busy_) return;
  const TBusyGuard guard(busy_);
  if (!CanRedo()) return;
  if (!undone_) ++position_;
  tasks_[static_cast<std::size_t>(position_)]->Redo();
  undone_ = false;
}

void TUndoHistory::UndoSteps(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) Undo();
}

void TUndoHistory::RedoSteps(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) Redo();
}

void TUndoHistory::Clear() noexcept {
  tasks_.clear();
  position_ = 0;
  undone_ = false;
}

int32_t TUndoHistory::DropDetached() {
  // The tasks done: those before position_, and the one there unless it is undone.
  const int32_t done_before = tasks_.empty() ? 0 : position_ + (undone_ ? 0 : 1);
  int32_t done = done_before;
  std::vector<std::unique_ptr<TTask>> kept;
  kept.reserve(tasks_.size());
  for (int32_t i = 0; i < Count(); ++i) {
    std::unique_ptr<TTask>& task = tasks_[static_cast<std::size_t>(i)];
    if (task->Position() != kNoPosition) {
      kept.push_back(std::move(task));
    } else if (i < done_before) {
      --done;
    }
  }
  const auto dropped = static_cast<int32_t>(tasks_.size() - kept.size());
  tasks_ = std::move(kept);
  // The same state told the way Undo and Redo read it: the last task done, or, with none
  // done, the first one undone.
  position_ = done > 0 ? done - 1 : 0;
  undone_ = done == 0 && !tasks_.empty();
  return dropped;
}

void TUndoHistory::RecordEdit(TEntryList& entry_list, int32_t position, const TEntry& old_entry,
                              const TEntry& new_entry) {
  if (busy_) return;
  Record(std::make_unique<TEditEntryTask>(entry_list, position, old_entry, new_entry));
}

void TUndoHistory::RecordAdd(TEntryList& entry_list, int32_t position) {
  if (busy_) return;
  Record(std::make_unique<TAddEntryTask>(entry_list, position));
}

void TUndoHistory::RecordDelete(TEntryList& entry_list, int32_t position) {
  if (busy_) return;
  Record(std::make_unique<TDeleteEntryTask>(entry_list, position));
}

void TUndoHistory::EntriesInserted(int32_t at, int32_t count) noexcept {
  for (const auto& task : tasks_) task->EntriesInserted(at, count);
}

void TUndoHistory::EntriesRemoved(int32_t at, int32_t count) noexcept {
  for (const auto& task : tasks_) task->EntriesRemoved(at, count);
}

const TTask* TUndoHistory::Task(int32_t index) const noexcept {
  if (index < 0 || index >= Count()) return nullptr;
  return tasks_[static_cast<std::size_t>(index)].get();
}

}  // namespace pelo
