#include "datafiles/UndoHistories.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingNotices.h"
#include "datafiles/EntryLists.h"

namespace pelo {
namespace {

// A task that only writes down what is done with it.
class LogTask : public TTask {
 public:
  LogTask(TEntryList& list, std::string name, std::vector<std::string>& log, int32_t position = 0)
      : TTask(list, position), name_(std::move(name)), log_(log) {}
  const std::string& Name() const noexcept { return name_; }
  void Undo() override { log_.push_back("undo " + name_); }
  void Redo() override { log_.push_back("redo " + name_); }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

class UndoHistoryTest : public ::testing::Test {
 protected:
  void Record(TUndoHistory& undo, const std::string& name) {
    undo.Record(std::make_unique<LogTask>(list_, name, log_));
  }
  std::vector<std::string> Names(const TUndoHistory& undo) const {
    std::vector<std::string> names;
    for (int32_t i = 0; i < undo.Count(); ++i) {
      names.push_back(static_cast<const LogTask*>(undo.Task(i))->Name());
    }
    return names;
  }

  test::RecordingNotices notices_;
  TEntryList list_{notices_, {2024, 5, 10}};
  std::vector<std::string> log_;
};

TEST_F(UndoHistoryTest, Sequences) {
  // Each step: "+X" records X, "u" undoes, "r" redoes.
  struct Case {
    const char* what;
    std::vector<std::string> steps;
    std::vector<std::string> log;
    std::vector<std::string> tasks;
    int32_t position;
    bool undone;
    bool can_undo;
    bool can_redo;
  } const cases[] = {
      {"nothing recorded", {"u", "r"}, {}, {}, 0, false, false, false},
      {"one task", {"+A"}, {}, {"A"}, 0, false, true, false},
      {"one task undone", {"+A", "u"}, {"undo A"}, {"A"}, 0, true, false, true},
      {"a second undo does nothing", {"+A", "u", "u"}, {"undo A"}, {"A"}, 0, true, false, true},
      {"redo", {"+A", "u", "r"}, {"undo A", "redo A"}, {"A"}, 0, false, true, false},
      {"a second redo does nothing",
       {"+A", "u", "r", "r"},
       {"undo A", "redo A"},
       {"A"},
       0,
       false,
       true,
       false},
      {"A B undo undo redo, record C",
       {"+A", "+B", "u", "u", "r", "+C"},
       {"undo B", "undo A", "redo A"},
       {"A", "C"},
       1,
       false,
       true,
       false},
      {"recording after one undo drops the undone task",
       {"+A", "+B", "+C", "u", "+D"},
       {"undo C"},
       {"A", "B", "D"},
       2,
       false,
       true,
       false},
      {"recording after undoing everything drops everything",
       {"+A", "+B", "u", "u", "+C"},
       {"undo B", "undo A"},
       {"C"},
       0,
       false,
       true,
       false},
      {"redo walks forward",
       {"+A", "+B", "+C", "u", "u", "u", "r", "r"},
       {"undo C", "undo B", "undo A", "redo A", "redo B"},
       {"A", "B", "C"},
       1,
       false,
       true,
       true},
      {"undo in the middle",
       {"+A", "+B", "+C", "u", "u"},
       {"undo C", "undo B"},
       {"A", "B", "C"},
       1,
       true,
       true,
       true},
  };
  for (const Case& c : cases) {
    TUndoHistory undo;
    log_.clear();
    for (const std::string& step : c.steps) {
      if (step == "u") {
        undo.Undo();
      } else if (step == "r") {
        undo.Redo();
      } else {
        Record(undo, step.substr(1));
      }
    }
    EXPECT_EQ(log_, c.log) << c.what;
    EXPECT_EQ(Names(undo), c.tasks) << c.what;
    EXPECT_EQ(undo.Position(), c.position) << c.what;
    EXPECT_EQ(undo.Undone(), c.undone) << c.what;
    EXPECT_EQ(undo.CanUndo(), c.can_undo) << c.what;
    EXPECT_EQ(undo.CanRedo(), c.can_redo) << c.what;
    EXPECT_FALSE(undo.Busy()) << c.what;
  }
}

TEST_F(UndoHistoryTest, StepsRepeatOneStep) {
  TUndoHistory undo;
  for (const char* name : {"A", "B", "C"}) Record(undo, name);
  undo.UndoSteps(2);
  EXPECT_EQ(log_, (std::vector<std::string>{"undo C", "undo B"}));
  undo.RedoSteps(5);  // only two can be redone
  EXPECT_EQ(log_, (std::vector<std::string>{"undo C", "undo B", "redo B", "redo C"}));
  undo.UndoSteps(0);
  undo.RedoSteps(-1);
  EXPECT_EQ(log_.size(), 4u);
}

TEST_F(UndoHistoryTest, ClearForgetsEverything) {
  TUndoHistory undo;
  Record(undo, "A");
  Record(undo, "B");
  undo.Undo();
  undo.Clear();
  EXPECT_EQ(undo.Count(), 0);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());
  Record(undo, "C");
  EXPECT_EQ(Names(undo), (std::vector<std::string>{"C"}));
  EXPECT_EQ(undo.Position(), 0);
  EXPECT_FALSE(undo.Undone());
}

// A task that records while it runs, as EditEntry does when an edit task is undone.
class RecordingTask : public TTask {
 public:
  RecordingTask(TEntryList& list, TUndoHistory& undo, bool& busy_seen)
      : TTask(list, 0), undo_(undo), busy_seen_(busy_seen) {}
  void Undo() override { Run(); }
  void Redo() override { Run(); }

 private:
  void Run() {
    busy_seen_ = undo_.Busy();
    undo_.RecordAdd(EntryList(), 0);
    undo_.RecordDelete(EntryList(), 0);
    TEntry entry;
    undo_.RecordEdit(EntryList(), 0, entry, entry);
    undo_.Record(std::make_unique<TTask>(EntryList(), 0));
  }
  TUndoHistory& undo_;
  bool& busy_seen_;
};

TEST_F(UndoHistoryTest, NothingIsRecordedWhileATaskRuns) {
  TUndoHistory undo;
  bool busy_seen = false;
  undo.Record(std::make_unique<RecordingTask>(list_, undo, busy_seen));
  undo.Undo();
  EXPECT_TRUE(busy_seen);
  EXPECT_EQ(undo.Count(), 1);
  EXPECT_FALSE(undo.Busy());
  busy_seen = false;
  undo.Redo();
  EXPECT_TRUE(busy_seen);
  EXPECT_EQ(undo.Count(), 1);
  EXPECT_FALSE(undo.Busy());
}

TEST_F(UndoHistoryTest, TaskPositionsFollowInsertionsAndRemovals) {
  // Each case moves a task at position 10.
  struct Case {
    const char* what;
    bool insert;
    int32_t at;
    int32_t count;
    int32_t expected;
  } const cases[] = {
      {"insert before", true, 3, 5, 15},
      {"insert at the task's own place", true, 10, 2, 12},
      {"insert after", true, 11, 4, 10},
      {"remove before", false, 2, 5, 5},
      {"remove right before", false, 9, 1, 9},
      {"remove the task's entry", false, 10, 1, kNoPosition},
      {"remove a range holding it", false, 8, 5, kNoPosition},
      {"remove after", false, 11, 3, 10},
  };
  for (const Case& c : cases) {
    TTask task(list_, 10);
    if (c.insert) {
      task.EntriesInserted(c.at, c.count);
    } else {
      task.EntriesRemoved(c.at, c.count);
    }
    EXPECT_EQ(task.Position(), c.expected) << c.what;
  }
  // A detached task stays detached.
  TTask task(list_, 4);
  task.EntriesRemoved(4, 1);
  task.EntriesInserted(0, 3);
  task.EntriesRemoved(0, 1);
  EXPECT_EQ(task.Position(), kNoPosition);
}

// Tasks A, B and C of the entries at 1, 2 and 3, some undone; then one entry goes and its
// task with it. The others keep whether they are done, and the next step finds the right one.
TEST_F(UndoHistoryTest, DroppingDetachedTasksKeepsTheRestInStep) {
  struct Case {
    const char* what;
    int32_t undos;
    int32_t removed;  // the position of the entry that goes
    std::vector<std::string> tasks;
    bool can_undo;
    bool can_redo;
    const char* next;  // "u" or "r"
    std::vector<std::string> log;
  } const cases[] = {
      {"all done, the middle one goes", 0, 2, {"A", "C"}, true, false, "u", {"undo C"}},
      {"the last undone, the middle one goes", 1, 2, {"A", "C"}, true, true, "r", {"redo C"}},
      {"two undone, the middle one goes", 2, 2, {"A", "C"}, true, true, "r", {"redo C"}},
      {"all undone, the middle one goes", 3, 2, {"A", "C"}, false, true, "r", {"redo A"}},
      {"the only one done goes", 2, 1, {"B", "C"}, false, true, "r", {"redo B"}},
      {"the last undone goes", 1, 3, {"A", "B"}, true, false, "u", {"undo B"}},
      {"an entry without a task goes", 1, 7, {"A", "B", "C"}, true, true, "r", {"redo C"}},
  };
  for (const Case& c : cases) {
    TUndoHistory undo;
    int32_t position = 1;
    for (const char* name : {"A", "B", "C"}) {
      undo.Record(std::make_unique<LogTask>(list_, name, log_, position++));
    }
    for (int32_t i = 0; i < c.undos; ++i) undo.Undo();
    undo.EntriesRemoved(c.removed, 1);
    EXPECT_EQ(undo.DropDetached(), c.tasks.size() == 3 ? 0 : 1) << c.what;
    EXPECT_EQ(Names(undo), c.tasks) << c.what;
    EXPECT_EQ(undo.CanUndo(), c.can_undo) << c.what;
    EXPECT_EQ(undo.CanRedo(), c.can_redo) << c.what;
    log_.clear();
    if (std::string(c.next) == "u") {
      undo.Undo();
    } else {
      undo.Redo();
    }
    EXPECT_EQ(log_, c.log) << c.what;
  }
}

TEST_F(UndoHistoryTest, HistoryMovesEveryTask) {
  TUndoHistory undo;
  for (int32_t position : {0, 5, 9}) undo.RecordAdd(list_, position);
  undo.EntriesInserted(5, 2);
  undo.EntriesRemoved(0, 1);
  EXPECT_EQ(undo.Task(0)->Position(), kNoPosition);
  EXPECT_EQ(undo.Task(1)->Position(), 6);
  EXPECT_EQ(undo.Task(2)->Position(), 10);
  EXPECT_EQ(undo.Task(3), nullptr);
  EXPECT_EQ(undo.Task(-1), nullptr);
}

}  // namespace
}  // namespace pelo
