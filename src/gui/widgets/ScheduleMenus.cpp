#include "widgets/ScheduleMenus.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QProcess>
#include <QUrl>

#include "datafiles/EntryLists.h"
#include "schedule/DayDetails.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

// Whether the entry's file lets it change, without the refusal's message box: the menu only
// greys the item.
bool FileWritable(const TEntryList& list, const TEntry* entry) {
  if (entry == nullptr) return false;
  const TFileOption* option = list.FileList().Option(entry->FileIndex);
  return option != nullptr && !option->FileReadOnly;
}

}  // namespace

std::vector<TMenuItem> ScheduleMenuItems(const TMenuState& state) {
  const bool paste = state.ClipboardFilled && state.CursorWritable;
  if (!state.OnLine) {
    return {
        {TMenuAction::kPaste, "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), paste},
        {TMenuAction::kOnlyThisDay, "この日だけ表示(&O)", QKeySequence(), true},
        {TMenuAction::kToday, "今日へ(&T)", QKeySequence(Qt::Key_Home), true},
    };
  }
  const bool writable = state.EntryWritable;
  return {
      {TMenuAction::kDetails, "詳細(&I)", QKeySequence(Qt::Key_F9), true},
      {TMenuAction::kCopy, "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), true},
      {TMenuAction::kCut, "切り取り(&X)", QKeySequence(Qt::CTRL | Qt::Key_X), writable},
      {TMenuAction::kPaste, "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), paste},
      {TMenuAction::kCheck, "チェック(&K)", QKeySequence(Qt::Key_Delete), writable},
      {TMenuAction::kDelete, "削除(&D)", QKeySequence(Qt::ALT | Qt::Key_Delete), writable},
      {TMenuAction::kEditor, "エディタで開く(&E)", QKeySequence(), state.HasSource},
  };
}

TMenuState ScheduleMenuState(TSchedule& schedule, bool on_line) {
  const TEntryList& list = schedule.EntryList();
  const TEntry* entry = list.Entry(schedule.FocusedEntry().value_or(-1));
  TMenuState state;
  state.OnLine = on_line && entry != nullptr;
  state.EntryWritable = FileWritable(list, entry);
  state.ClipboardFilled = list.ClipboardCount() > 0;
  state.CursorWritable = FileWritable(list, list.ClipboardItem(0));
  state.HasSource = entry != nullptr && !list.FileList().Path(entry->FileIndex).empty();
  return state;
}

QMenu* MakeScheduleMenu(const std::vector<TMenuItem>& items, QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("scheduleMenu"));
  for (const TMenuItem& item : items) {
    QAction* action = menu->addAction(QString::fromUtf8(item.Text));
    // The key is shown; the schedule's own key handling does the work.
    action->setShortcut(item.Keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setEnabled(item.Enabled);
    action->setData(static_cast<int>(item.Action));
    // The details and editor items lead away from the grid; a line sets them apart.
    if (item.Action == TMenuAction::kDetails || item.Action == TMenuAction::kDelete) {
      menu->addSeparator();
    }
  }
  return menu;
}

void RunMenuAction(TSchedule& schedule, TMenuAction action) {
  switch (action) {
    case TMenuAction::kDetails:
      emit schedule.OnDetailsRequest(&schedule);
      break;
    case TMenuAction::kCopy:
      schedule.CopyFocused();
      break;
    case TMenuAction::kCut:
      schedule.CutFocused();
      break;
    case TMenuAction::kPaste:
      schedule.Paste();
      break;
    case TMenuAction::kCheck:
      schedule.ToggleChecked();
      break;
    case TMenuAction::kDelete:
      schedule.DeleteWithQuestion();
      break;
    case TMenuAction::kEditor:
      if (const TEntry* entry = schedule.EntryList().Entry(schedule.FocusedEntry().value_or(-1))) {
        const TEntryDetails details = EntryDetailsOf(schedule.EntryList(), *entry);
        OpenInEditor(details.DataFile, details.LineNo);
      }
      break;
    case TMenuAction::kOnlyThisDay:
      schedule.ToggleZoom();
      break;
    case TMenuAction::kToday:
      schedule.JumpToday();
      break;
  }
}

void ExecScheduleMenu(TSchedule& schedule, bool on_line, const QPoint& global) {
  QMenu* menu =
      MakeScheduleMenu(ScheduleMenuItems(ScheduleMenuState(schedule, on_line)), &schedule);
  const QAction* chosen = menu->exec(global);
  const auto action =
      chosen != nullptr ? static_cast<TMenuAction>(chosen->data().toInt()) : TMenuAction::kDetails;
  const bool run = chosen != nullptr;
  menu->deleteLater();
  if (run) RunMenuAction(schedule, action);
}

bool OpenInEditor(const std::string& file, int32_t line) {
  if (file.empty()) return false;
  const QString path = QString::fromStdString(file);
  QString editor = qEnvironmentVariable("VISUAL");
  if (editor.trimmed().isEmpty()) editor = qEnvironmentVariable("EDITOR");
  QStringList words = QProcess::splitCommand(editor);
  if (words.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  const QString program = words.takeFirst();
  words << QStringLiteral("+%1").arg(line) << path;
  return QProcess::startDetached(program, words);
}

}  // namespace pelo
