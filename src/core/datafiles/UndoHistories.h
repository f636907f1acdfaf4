#pragma once

// The undo history of the in-memory changes to the entry list: a linear list of tasks, each
// naming one entry by its position in the list. Loading a file clears it.
//
// Positions are only worth something while they name the same entry. Deleting never removes
// an entry, but the derived entries of a birthday entry are removed and made again whenever
// their parent changes, and that shifts every entry after them. So the entry list reports
// every insertion and removal here, and the tasks move their positions along; a task whose
// own entry was removed is detached (position -1) and from then on does nothing.

#include <cstdint>
#include <memory>
#include <vector>

namespace pelo {

class TEntry;
class TEntryList;

// A position that names no entry: what a task holds once its entry is gone.
inline constexpr int32_t kNoPosition = -1;

class TTask {
 public:
  explicit TTask(TEntryList& entry_list, int32_t position) noexcept
      : entry_list_(entry_list), position_(position) {}
  virtual ~TTask() = default;
  TTask(const TTask&) = delete;
  TTask& operator=(const TTask&) = delete;

  virtual void Undo() {}
  virtual void Redo() {}

  TEntryList& EntryList() const noexcept { return entry_list_; }
  // The position of the task's entry; kNoPosition once that entry was removed.
  int32_t Position() const noexcept { return position_; }

  // count entries were inserted at position at, or removed from there.
  void EntriesInserted(int32_t at, int32_t count) noexcept;
  void EntriesRemoved(int32_t at, int32_t count) noexcept;

 private:
  TEntryList& entry_list_;
  int32_t position_;
};

// An entry changed in place (edited, checked, moved): undone and redone by copying the
// entry as it was, or as it became, back over it.
class TEditEntryTask : public TTask {
 public:
  TEditEntryTask(TEntryList& entry_list, int32_t position, const TEntry& old_entry,
                 const TEntry& new_entry);
  ~TEditEntryTask() override;

  void Undo() override;
  void Redo() override;

 private:
  std::unique_ptr<TEntry> old_entry_;
  std::unique_ptr<TEntry> new_entry_;
};

// An entry added: undone by marking it deleted.
class TAddEntryTask : public TTask {
 public:
  using TTask::TTask;
  void Undo() override;
  void Redo() override;
};

// An entry deleted (marked): undone by taking the mark off again.
class TDeleteEntryTask : public TTask {
 public:
  using TTask::TTask;
  void Undo() override;
  void Redo() override;
};

class TUndoHistory {
 public:
  TUndoHistory();
  ~TUndoHistory();
  TUndoHistory(const TUndoHistory&) = delete;
  TUndoHistory& operator=(const TUndoHistory&) = delete;

  // Drops the tasks that could still be redone and appends task. Nothing while busy.
  void Record(std::unique_ptr<TTask> task);
  bool CanUndo() const noexcept;
  bool CanRedo() const noexcept;
  void Undo();
  void Redo();
  void UndoSteps(int32_t steps);
  void RedoSteps(int32_t steps);
  void Clear() noexcept;

  // The three recordings the entry list makes. Nothing while busy: the tasks themselves
  // change the list through the same operations that record.
  void RecordEdit(TEntryList& entry_list, int32_t position, const TEntry& old_entry,
                  const TEntry& new_entry);
  void RecordAdd(TEntryList& entry_list, int32_t position);
  void RecordDelete(TEntryList& entry_list, int32_t position);

  // Takes out the tasks whose entry was removed, keeping which of the others are done and
  // which undone; returns how many went.
  int32_t DropDetached();

  // Told by the entry list whenever entries are inserted or removed.
  void EntriesInserted(int32_t at, int32_t count) noexcept;
  void EntriesRemoved(int32_t at, int32_t count) noexcept;

  int32_t Count() const noexcept { return static_cast<int32_t>(tasks_.size()); }
  // Null when out of range.
  const TTask* Task(int32_t index) const noexcept;
  int32_t Position() const noexcept { return position_; }
  bool Busy() const noexcept { return busy_; }
  bool Undone() const noexcept { return undone_; }

 private:
  std::vector<std::unique_ptr<TTask>> tasks_;  // oldest first
  int32_t position_ = 0;                       // the task last done or undone
  bool busy_ = false;                          // an undo or redo is running
  bool undone_ = false;                        // the task at position_ is undone
};

}  // namespace pelo
