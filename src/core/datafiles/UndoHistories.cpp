#include "datafiles/UndoHistories.h"

#include <utility>

#include "datafiles/EntryLists.h"
#include "entries/Entries.h"
#include "text/Texts.h"

namespace pelo {

namespace {

// The entry's text for a caption; a task whose entry has gone shows an empty one.
std::string TextOf(const TData* entry) { return entry != nullptr ? entry->Text : std::string(); }

std::string Caption(std::string_view kind, std::string_view text) {
  return Concat({" - ", kind, "[", text, "]"});
}

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

TData* TTask::Entry() const { return data_list_.GetData(position_); }

// ---- TTaskEditData -----------------------------------------------------------------------

TTaskEditData::TTaskEditData(TDataList& data_list, int32_t position, const TData& old_data,
                             const TData& new_data)
    : TTask(data_list, position),
      old_data_(std::make_unique<TData>()),
      new_data_(std::make_unique<TData>()) {
  old_data_->Assign(&old_data);
  new_data_->Assign(&new_data);
}

TTaskEditData::~TTaskEditData() = default;

std::string TTaskEditData::GetName() const { return Caption("データ修正", new_data_->Text); }

void TTaskEditData::Undo() { DataList().EditData(Position(), old_data_.get()); }

void TTaskEditData::Redo() { DataList().EditData(Position(), new_data_.get()); }

// ---- TTaskAddData, TTaskDelData ----------------------------------------------------------

std::string TTaskAddData::GetName() const { return Caption("データ追加", TextOf(Entry())); }

// A birthday entry's derived entries go and come back with the mark: undoing an addition
// must not leave them shown, and undoing a deletion must bring them back.
void TTaskAddData::Undo() { DataList().MarkDeleted(Position(), true); }

void TTaskAddData::Redo() { DataList().MarkDeleted(Position(), false); }

std::string TTaskDelData::GetName() const { return Caption("データ削除", TextOf(Entry())); }

void TTaskDelData::Undo() { DataList().MarkDeleted(Position(), false); }

void TTaskDelData::Redo() { DataList().MarkDeleted(Position(), true); }

// ---- TUndo -------------------------------------------------------------------------------

TUndo::TUndo() = default;

TUndo::~TUndo() = default;

void TUndo::Record(std::unique_ptr<TTask> task) {
  if (busy_ || !task) return;
  // The redo tail goes; an undone current task goes with it.
  const std::size_t keep = static_cast<std::size_t>(undone_ ? position_ : position_ + 1);
  if (keep < tasks_.size()) tasks_.resize(keep);
  tasks_.push_back(std::move(task));
  position_ = Count() - 1;
  undone_ = false;
}

bool TUndo::CanUndo() const noexcept {
  if (tasks_.empty()) return false;
  return !(position_ < 1 && undone_);
}

bool TUndo::CanRedo() const noexcept {
  if (tasks_.empty()) return false;
  return !(position_ >= Count() - 1 && !undone_);
}

void TUndo::Undo() {
  if (busy_) return;
  const TBusyGuard guard(busy_);
  if (!CanUndo()) return;
  if (undone_) --position_;
  tasks_[static_cast<std::size_t>(position_)]->Undo();
  undone_ = true;
}

void TUndo::Redo() {
  if (busy_) return;
  const TBusyGuard guard(busy_);
  if (!CanRedo()) return;
  if (!undone_) ++position_;
  tasks_[static_cast<std::size_t>(position_)]->Redo();
  undone_ = false;
}

void TUndo::UndoSteps(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) Undo();
}

void TUndo::RedoSteps(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) Redo();
}

void TUndo::Clear() noexcept {
  tasks_.clear();
  position_ = 0;
  undone_ = false;
}

void TUndo::RecordEdit(TDataList& data_list, int32_t position, const TData& old_data,
                       const TData& new_data) {
  if (busy_) return;
  Record(std::make_unique<TTaskEditData>(data_list, position, old_data, new_data));
}

void TUndo::RecordAdd(TDataList& data_list, int32_t position) {
  if (busy_) return;
  Record(std::make_unique<TTaskAddData>(data_list, position));
}

void TUndo::RecordDelete(TDataList& data_list, int32_t position) {
  if (busy_) return;
  Record(std::make_unique<TTaskDelData>(data_list, position));
}

void TUndo::EntriesInserted(int32_t at, int32_t count) noexcept {
  for (const auto& task : tasks_) task->EntriesInserted(at, count);
}

void TUndo::EntriesRemoved(int32_t at, int32_t count) noexcept {
  for (const auto& task : tasks_) task->EntriesRemoved(at, count);
}

const TTask* TUndo::Task(int32_t index) const noexcept {
  if (index < 0 || index >= Count()) return nullptr;
  return tasks_[static_cast<std::size_t>(index)].get();
}

}  // namespace pelo
