#pragma once

// The schedule's context menu: on a line the entry's actions (詳細, コピー, 切り取り, 貼り付け,
// チェック, 削除, エディタで開く), on a day without one the day's (貼り付け, この日だけ表示,
// 今日へ); each with the key that does the same, greyed where it cannot act. Also the one way
// the program hands a data file to the user's editor.

#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QMenu;
class QPoint;
class QWidget;

namespace pelo {

class TSchedule;

enum class TMenuAction {
  kDetails,
  kCopy,
  kCut,
  kPaste,
  kCheck,
  kDelete,
  kEditor,
  kOnlyThisDay,
  kToday,
};

// What decides which items a menu holds and which of them can act.
struct TMenuState {
  bool OnLine = false;         // the click fell on an entry line
  bool EntryWritable = false;  // the line's entry may change (its file is not read-only)
  bool ClipboardFilled = false;
  bool CursorWritable = false;  // a pasted entry may be added (its file is not read-only)
  bool HasSource = false;       // the entry's data file is known
};

struct TMenuItem {
  TMenuAction Action;
  const char* Text;
  QKeySequence Keys;
  bool Enabled = true;
};

// The items in menu order.
std::vector<TMenuItem> ScheduleMenuItems(const TMenuState& state);

// The state of the schedule's menu for its selected line (on_line) or its cursor day.
TMenuState ScheduleMenuState(TSchedule& schedule, bool on_line);

// A new menu of the items; each action carries its TMenuAction as data.
QMenu* MakeScheduleMenu(const std::vector<TMenuItem>& items, QWidget* parent);

// Does what the action stands for on the schedule's focused entry or cursor day.
void RunMenuAction(TSchedule& schedule, TMenuAction action);

// Shows the menu at global and runs what was chosen.
void ExecScheduleMenu(TSchedule& schedule, bool on_line, const QPoint& global);

// The data file in $VISUAL or $EDITOR as "EDITOR +LINE FILE" (the variable split like a
// shell's word list), else in the desktop's handler of the file; false when nothing started.
bool OpenInEditor(const std::string& file, int32_t line);

}  // namespace pelo
