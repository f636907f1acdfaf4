#include "app/MainWindows.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>
#include <span>

#include "app/DateJumpDialogs.h"
#include "app/DayPanes.h"
#include "app/FileListTexts.h"
#include "app/LiveFiles.h"
#include "app/PlacementStores.h"
#include "app/QtNotices.h"
#include "app/TodayFollowers.h"
#include "app/ViewCommands.h"
#include "calendar/DateTexts.h"
#include "text/FileIdentities.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Pictures.h"
#include "widgets/ScheduleAccessibility.h"
#include "widgets/Schedules.h"
#include "widgets/SearchBars.h"

namespace pelo {

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

QIcon ToolbarIcon(int picture) {
  QIcon icon;
  icon.addPixmap(ToolbarPicture(picture, 1.0));
  icon.addPixmap(ToolbarPicture(picture, 2.0));
  return icon;
}

// Gives the toolbar all the room it asks for and the date panel the rest, from its full width
// down to that of the widest date: in a narrow window (a small screen at double scale) every
// button stays on the toolbar instead of hiding behind its overflow.
class TStripFitter : public QObject {
 public:
  TStripFitter(QWidget& strip, QToolBar& tool_bar, QLabel& date_panel, int panel_width)
      : QObject(&strip),
        strip_(strip),
        tool_bar_(tool_bar),
        date_panel_(date_panel),
        panel_width_(panel_width) {
    strip.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &strip_ && event->type() == QEvent::Resize) Fit();
    return QObject::eventFilter(watched, event);
  }

 private:
  void Fit() {
    const int widest = date_panel_.fontMetrics().horizontalAdvance(Q("2000/12/28(水)")) +
                       2 * date_panel_.frameWidth() + 4;
    const int narrowest = std::min(widest, panel_width_);
    // Where even that leaves too little room, the buttons draw closer together.
    SetButtonSize(TMainWindow::kButtonSize);
    if (strip_.width() - tool_bar_.sizeHint().width() < narrowest) {
      SetButtonSize(TMainWindow::kCompactButtonSize);
    }
    const int room = strip_.width() - tool_bar_.sizeHint().width();
    date_panel_.setFixedWidth(std::clamp(room, narrowest, panel_width_));
  }

  void SetButtonSize(int side) {
    for (QAction* action : tool_bar_.actions()) {
      auto* button = qobject_cast<QToolButton*>(tool_bar_.widgetForAction(action));
      if (button != nullptr) button->setFixedSize(side, side);
    }
  }

  QWidget& strip_;
  QToolBar& tool_bar_;
  QLabel& date_panel_;
  int panel_width_;
};

}  // namespace

TCalendarKind StoredCalendarKind(const TPlacementStore& store) {
  return store.ReadBool(kCalendarSettingsGroup, kCalendarSettingsKey, false)
             ? TCalendarKind::kCurrent
             : TCalendarKind::kClassic;
}

// The toolbar, left to right. Each navigation button calls exactly one schedule operation.
// keys: the schedule's key that does the same, named in the hint; the week and day buttons
// have none, their keys follow the layout.
struct TMainWindow::TButton {
  enum TKind { kOpen, kMove, kToday, kDateJump, kCalendar, kOrder };
  const char* name;
  const char* hint;
  const char* caption;
  const char* keys;
  int picture;
  TKind kind;
  int32_t years = 0;
  int32_t months = 0;
  int32_t days = 0;
};

std::span<const TMainWindow::TButton> TMainWindow::ButtonTable() {
  static const TButton kButtons[] = {
      {"Open", "開く", "開く", "", 0, TButton::kOpen},
      {"PreviousYear", "前年", "前年", "Shift+↑", 1, TButton::kMove, -1, 0, 0},
      {"PreviousMonth", "前月", "前月", "Shift+←", 2, TButton::kMove, 0, -1, 0},
      {"PreviousWeek", "前週にジャンプ", "前週", "", 3, TButton::kMove, 0, 0, -7},
      {"PreviousDay", "前日にジャンプ", "前日", "", 4, TButton::kMove, 0, 0, -1},
      {"Today", "今日", "今日", "Home", 5, TButton::kToday},
      {"NextDay", "次日にジャンプ", "次日", "", 6, TButton::kMove, 0, 0, 1},
      {"NextWeek", "次週にジャンプ", "次週", "", 7, TButton::kMove, 0, 0, 7},
      {"NextMonth", "次月", "次月", "Shift+→", 8, TButton::kMove, 0, 1, 0},
      {"NextYear", "次年", "次年", "Shift+↓", 9, TButton::kMove, 1, 0, 0},
      // Its caption is never shown.
      {"DateJump", "指定年月日にジャンプ", "", "", 10, TButton::kDateJump},
      // A toggle: checked, holidays, old dates and eras are those of today's calendar.
      {"CalendarCurrent", "現在の暦（祝日と旧暦）", "現在の暦", "Ctrl+K", 12, TButton::kCalendar},
      // A toggle: checked, each day's lines go by their time. The action is the view
      // commands', with their caption and key.
      {"SortByTime", "時刻順に並べる", "", "Ctrl+T", 13, TButton::kOrder},
  };
  return kButtons;
}

QString ToolbarHint(const char* hint, const char* keys) {
  if (*keys == '\0') return Q(hint);
  return Q(hint) + QStringLiteral(" (") + Q(keys) + QLatin1Char(')');
}

QString WindowTitleFor(const std::vector<std::string>& paths) {
  QString title = Q(kMainCaption);
  if (paths.empty()) return title;
  title += QStringLiteral(" - ") + QFileInfo(QFile::decodeName(paths.front().c_str())).fileName();
  if (paths.size() > 1) title += QStringLiteral(" +%1").arg(paths.size() - 1);
  return title;
}

TMainWindow::TMainWindow(QStringList arguments, TDateRec today, QWidget* parent)
    : TMainWindow(std::move(arguments), today, nullptr, parent) {}

TMainWindow::TMainWindow(QStringList arguments, TDateRec today, TUserNotices& notices,
                         QWidget* parent)
    : TMainWindow(std::move(arguments), today, &notices, parent) {}

TMainWindow::TMainWindow(QStringList arguments, TDateRec today, TUserNotices* notices,
                         QWidget* parent)
    : QMainWindow(parent),
      arguments_(std::move(arguments)),
      own_notices_(notices != nullptr ? nullptr : std::make_unique<TQtNotices>(this)),
      notices_(notices != nullptr ? *notices : *own_notices_),
      placement_store_(std::make_unique<TPlacementStore>(kSettingsApplication)) {
  CreateWidgets(today);
  // Before the toolbar, which shows its order toggle.
  view_commands_ =
      std::make_unique<TViewCommands>(*this, *schedule_, notices_, *placement_store_, arguments_);
  CreateActions();
  CreateToolBar();
  CreateLiveFiles();
  CreateSearchBar();
  CreateDayPane();
  ApplyInitialSettings();
}

TMainWindow::~TMainWindow() {
  // The schedule answers through notices_, which may be our own member: it goes before the
  // members do, not afterwards with the rest of the children.
  std::unique_ptr<QWidget> central(takeCentralWidget());
}

void TMainWindow::CreateWidgets(TDateRec today) {
  // The group the placement is stored under, which the user finds in the settings file.
  setObjectName("FormMain");
  setWindowTitle(Q(kMainCaption));
  QFont font(Q(kMainFontFace));
  font.setPixelSize(12);
  setFont(font);
  move(kInitialLeft, kInitialTop);
  resize(kInitialWidth, kInitialHeight);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* strip = new QWidget(central);
  strip->setObjectName("Strip");
  strip->setFixedHeight(kStripHeight);
  auto* strip_layout = new QHBoxLayout(strip);
  strip_layout->setContentsMargins(0, 0, 0, 0);
  strip_layout->setSpacing(0);

  tool_bar_ = new QToolBar(strip);
  tool_bar_->setObjectName("ToolBar");
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->setIconSize(QSize(kToolbarPictureSize, kToolbarPictureSize));
  tool_bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tool_bar_->setContentsMargins(2, 2, 2, 2);
  // The buttons have room around their pictures already.
  tool_bar_->layout()->setSpacing(0);
  strip_layout->addWidget(tool_bar_, 1, Qt::AlignLeft | Qt::AlignTop);

  date_panel_ = new QLabel(strip);
  date_panel_->setObjectName("DatePanel");
  date_panel_->setFixedWidth(kDatePanelWidth);
  date_panel_->setAlignment(Qt::AlignCenter);
  date_panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  date_panel_->setLineWidth(2);
  date_panel_->setAutoFillBackground(true);
  QPalette palette = date_panel_->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, QColor(0, 255, 255));
  date_panel_->setPalette(palette);
  QFont date_font(Q(kMainFontFace));
  date_font.setPixelSize(16);
  date_font.setBold(true);
  date_panel_->setFont(date_font);
  strip_layout->addWidget(date_panel_);
  new TStripFitter(*strip, *tool_bar_, *date_panel_, kDatePanelWidth);
  layout->addWidget(strip);

  auto* frame = new QFrame(central);
  frame->setObjectName("ScheduleFrame");
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(1);
  auto* inner = new QVBoxLayout(frame);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->setSpacing(0);
  document_ = std::make_unique<TMeasuredDocument>(notices_, today);
  schedule_ = new TSchedule(*document_, frame);
  schedule_->setObjectName("Schedule");
  schedule_->setAccessibleName(Q("予定表"));
  AnnounceCursorMoves(*schedule_);
  inner->addWidget(schedule_);
  layout->addWidget(frame, 1);
  setCentralWidget(central);

  connect(schedule_, &TSchedule::OnJump, this, &TMainWindow::ShowCursorDate);
  // Keys go to the schedule as soon as the window is active.
  schedule_->setFocus();
}

void TMainWindow::CreateActions() {
  for (const TButton& button : ButtonTable()) {
    QAction* action = button.kind == TButton::kOrder ? &view_commands_->SortAction()
                                                     : new QAction(Q(button.caption), this);
    action->setIcon(ToolbarIcon(button.picture));
    action->setObjectName(QLatin1String(button.name) + QLatin1String("Action"));
    action->setToolTip(ToolbarHint(button.hint, button.keys));
    switch (button.kind) {
      case TButton::kOpen:
        connect(action, &QAction::triggered, this, &TMainWindow::OpenDataFiles);
        break;
      case TButton::kDateJump:
        connect(action, &QAction::triggered, this, &TMainWindow::AskJumpDate);
        break;
      case TButton::kToday:
        connect(action, &QAction::triggered, this, [this] { schedule_->JumpToday(); });
        jump_today_ = action;
        break;
      case TButton::kMove:
        connect(action, &QAction::triggered, this,
                [this, &button] { schedule_->MoveDate(button.years, button.months, button.days); });
        break;
      case TButton::kCalendar:
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        connect(action, &QAction::triggered, this, [this](bool checked) {
          SetCalendarKind(checked ? TCalendarKind::kCurrent : TCalendarKind::kClassic);
        });
        calendar_current_ = action;
        break;
      case TButton::kOrder:
        break;
    }
    actions_.push_back(action);
  }
}

void TMainWindow::CreateToolBar() {
  const std::span<const TButton> buttons = ButtonTable();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].kind == TButton::kDateJump || buttons[i].kind == TButton::kCalendar) {
      // A blank gap, where the divider after "開く" is a line.
      auto* gap = new QWidget(tool_bar_);
      gap->setObjectName("Separator");
      gap->setFixedWidth(8);
      tool_bar_->addWidget(gap);
    }
    tool_bar_->addAction(actions_[i]);
    QWidget* widget = tool_bar_->widgetForAction(actions_[i]);
    widget->setObjectName(QLatin1String(buttons[i].name) + QLatin1String("Button"));
    widget->setFixedSize(kButtonSize, kButtonSize);
    // A screen reader names the button as its hint does.
    widget->setAccessibleName(actions_[i]->toolTip());
    if (buttons[i].kind == TButton::kOpen) {
      tool_bar_->addSeparator()->setObjectName("Divider");
    }
  }
}

void TMainWindow::CreateOpenDialog() {
  open_dialog_.reset(new QFileDialog(this));
  QFileDialog& dialog = *open_dialog_;
  dialog.setObjectName("OpenDialog");
  // Qt's own dialog, not the desktop's: it speaks Japanese whatever the user's locale.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowFileListInOurLocale(dialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(QStringLiteral("nrk"));
  QStringList filters;
  for (const char* filter : kOpenFilters) filters << Q(filter);
  dialog.setNameFilters(filters);
  // Qt's dialog has no read-only box to hide: it only ever opens, so there is nothing to ask.

  // Return in the name box closes the dialog but may leave the name completion's popup on
  // screen, holding the keyboard: it goes with the dialog.
  connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
    for (QCompleter* completer : dialog.findChildren<QCompleter*>()) completer->popup()->hide();
  });
}

void TMainWindow::ApplyInitialSettings() {
  // Four weeks with their titles until the pages are applied. ReadOnly is no page setting and
  // stays as set here.
  TScheduleSettings settings = schedule_->GetSettings();
  settings.Term = 4;
  settings.DispTitle = true;
  schedule_->ApplySettings(settings);
  schedule_->SetReadOnly(true);
}

void TMainWindow::setVisible(bool visible) {
  // Before the window system has the window: a position given then is that of the frame's
  // outer corner, as Save stores it (given later it would be the inner one, and the window
  // would creep by its title bar from one run to the next).
  if (visible) StartOnFirstShow();
  QMainWindow::setVisible(visible);
}

void TMainWindow::StartOnFirstShow() {
  if (show_handled_) return;
  show_handled_ = true;
  // The placement goes on before the window is mapped, so the window never jumps; the rest
  // waits for the event loop, so that the boxes of loading open over a window the user sees.
  placement_store_->Restore(this);
  RestoreDayPane();
  placement_restored_ = true;
  // The calendar of the last run, unless a page asks for another; chosen before any file is
  // loaded, so the table with the entries is built once.
  SetCalendarKind(StoredCalendarKind(*placement_store_));
  QMetaObject::invokeMethod(this, &TMainWindow::StartUp, Qt::QueuedConnection);
}

void TMainWindow::StartUp() {
  // Closed (a quit signal, say) before the event loop got here: loading now would only open
  // boxes over a window that is gone.
  if (closed_) return;
  ApplyCommandLine(*schedule_, arguments_, [this] { return !closed_; });
  // Closed while a load report was up: the rest would only open more boxes.
  if (closed_) return;
  // A page may have chosen the calendar: the toggle follows.
  SetCalendarKind(schedule_->Calendar().Kind());
  view_commands_->RestoreChoices();
  schedule_->RefreshData();
  schedule_->JumpToday();
  live_files_->WatchLoadedFiles(ArgumentFiles(arguments_, TArgumentKind::kPageFile));
  ShowLoadedFilesInTitle();
  started_up_ = true;
  UpdateTodayButton();
  emit StartUpFinished();
}

void TMainWindow::ApplyPagesAgain() {
  ApplyPages(*schedule_, arguments_);
  SetCalendarKind(schedule_->Calendar().Kind());
  view_commands_->RestoreChoices();
}

void TMainWindow::LoadDataFiles(const std::vector<std::string>& names) {
  document_->Document.LoadFiles(names);
  schedule_->JumpToday();
  live_files_->WatchLoadedFiles(ArgumentFiles(arguments_, TArgumentKind::kPageFile));
  ShowLoadedFilesInTitle();
}

void TMainWindow::ShowLoadedFilesInTitle() {
  const TFileList& files = schedule_->EntryList().FileList();
  std::vector<std::string> paths;
  for (int32_t i = 0; i < files.Count(); ++i) paths.push_back(files.Path(i));
  setWindowTitle(WindowTitleFor(paths));
}

void TMainWindow::OpenDataFiles() {
  if (!open_dialog_) CreateOpenDialog();
  if (open_dialog_->exec() != QDialog::Accepted) return;
  std::vector<std::string> names;
  for (const QString& file : open_dialog_->selectedFiles()) names.push_back(LocalPath(file));
  LoadDataFiles(names);
}

void TMainWindow::AskJumpDate() {
  if (!date_jump_dialog_) {
    date_jump_dialog_ = std::make_unique<TDateJumpDialog>(notices_, schedule_->Calendar().Today());
    date_jump_dialog_->SetDateRefusal(
        [this](TDateRec date) { return schedule_->Model().DateRefusal(date); });
  }
  date_jump_dialog_->SetDate(schedule_->CursorDate());
  date_jump_dialog_->SetCalendarKind(schedule_->Calendar().Kind());
  if (!date_jump_dialog_->Execute(this)) return;
  const TDateRec date = date_jump_dialog_->Date();
  if (date_jump_dialog_->Relative()) {
    schedule_->MoveDate(date.Year, date.Month, date.Day);
  } else {
    schedule_->JumpDate(date);
  }
}

void TMainWindow::ShowCursorDate(TSchedule* sender) {
  date_panel_->setText(QString::fromStdString(
      DateText(0, "/", 0, 0, 0, 0, sender->CursorDate(), sender->Calendar().Kind())));
  // Qt has no idle callback. A cursor move or a new day change what the "today" button shows,
  // so its state follows every jump at once, and MoveToday sets it too.
  UpdateTodayButton();
}

void TMainWindow::UpdateTodayButton() {
  jump_today_->setEnabled(!schedule_->Calendar().IsToday(schedule_->CursorDate()));
}

void TMainWindow::FollowClock(const TClock& clock) {
  today_follower_ = std::make_unique<TTodayFollower>(clock, schedule_->Calendar().Today(),
                                                     [this](TDateRec today) { MoveToday(today); });
}

void TMainWindow::MoveToday(TDateRec today) {
  // A cursor on the old today moves with it (the date panel follows the jump); any other
  // stays where the user put it.
  schedule_->SetToday(today);
  UpdateTodayButton();
}

void TMainWindow::SetCalendarKind(TCalendarKind kind) {
  calendar_current_->setChecked(kind == TCalendarKind::kCurrent);
  if (kind == schedule_->Calendar().Kind()) return;
  schedule_->SetCalendarKind(kind);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  // Closed before it was ever shown, the window still stands at its initial placement, which
  // must not overwrite the stored one (nor the calendar choice, read with it). Closed twice
  // (a quit signal during a box, then the box's end), it is saved once.
  if (placement_restored_ && !closed_) SaveSettings();
  closed_ = true;
  event->accept();
}

void TMainWindow::SaveSettings() {
  // A settings file that is a link to a file the window reads would be written over it.
  if (SameFileAsAny(placement_store_->FilePath(), view_commands_->ReadFiles())) {
    std::cerr << "pelo: " << placement_store_->FilePath()
              << " is a file the window reads; the placement is not saved\n";
    return;
  }
  placement_store_->WriteBool(kCalendarSettingsGroup, kCalendarSettingsKey,
                              schedule_->Calendar().Kind() == TCalendarKind::kCurrent);
  view_commands_->SaveChoices();
  placement_store_->WriteBool(kDayPaneSettingsGroup, kDayPaneVisibleKey, day_pane_->isVisible());
  if (day_pane_->isVisible()) {
    placement_store_->WriteInteger(kDayPaneSettingsGroup, kDayPaneWidthKey, day_pane_->width());
  }
  // Last: it writes the file, with the values above.
  placement_store_->Save(this);
}

void TMainWindow::CreateLiveFiles() {
  live_files_ = new TLiveFiles(
      *schedule_, notices_, [this] { ApplyPagesAgain(); }, this);
  live_files_->setObjectName("LiveFiles");
  connect(live_files_, &TLiveFiles::Note, this, &TMainWindow::ShowNote);
  auto* reload = new QAction(Q("すべてのファイルを読み直す"), this);
  reload->setObjectName("ReloadAction");
  reload->setShortcut(QKeySequence(Qt::Key_F5));
  connect(reload, &QAction::triggered, live_files_, &TLiveFiles::ReloadAll);
  addAction(reload);
}

void TMainWindow::ShowNote(const QString& text) {
  // The date panel keeps the note as its tip; it shows for a while where the user looks,
  // without a box to close.
  date_panel_->setToolTip(text);
  if (isActiveWindow()) {
    QToolTip::showText(date_panel_->mapToGlobal(date_panel_->rect().bottomLeft()), text,
                       date_panel_);
  }
}

void TMainWindow::CreateSearchBar() {
  search_bar_ = new TSearchBar(*schedule_, centralWidget());
  // Between the strip and the grid.
  static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(1, search_bar_);
  struct TFindKey {
    const char* name;
    QKeySequence keys;
    int32_t direction;
  };
  const TFindKey keys[] = {{"FindNextAction", QKeySequence(Qt::Key_F3), 1},
                           {"FindPreviousAction", QKeySequence(Qt::SHIFT | Qt::Key_F3), -1}};
  for (const TFindKey& key : keys) {
    auto* action = new QAction(this);
    action->setObjectName(key.name);
    action->setShortcut(key.keys);
    connect(action, &QAction::triggered, search_bar_,
            [this, direction = key.direction] { search_bar_->FindNext(direction); });
    addAction(action);
  }
  auto* find = new QAction(Q("検索"), this);
  find->setObjectName("FindAction");
  find->setShortcut(QKeySequence::Find);
  connect(find, &QAction::triggered, search_bar_, &TSearchBar::Open);
  addAction(find);
}

void TMainWindow::CreateDayPane() {
  day_pane_ = new TDayPane(*schedule_, notices_, this);
  addDockWidget(Qt::RightDockWidgetArea, day_pane_);
  // Off until the user asks for it: the first screen stays the grid alone.
  day_pane_->hide();
  QAction* toggle = day_pane_->toggleViewAction();
  toggle->setObjectName("DayPaneAction");
  toggle->setIcon(QIcon(RenderPicture(QStringLiteral(":/toolbar/daypane.svg"),
                                      QSize(kToolbarPictureSize, kToolbarPictureSize), 2.0)));
  toggle->setToolTip(ToolbarHint("日の詳細を表示", "F9"));
  toggle->setShortcut(QKeySequence(Qt::Key_F9));
  // Among the toggles, before the order of lines.
  tool_bar_->insertAction(actions_.back(), toggle);
  QWidget* button = tool_bar_->widgetForAction(toggle);
  button->setObjectName("DayPaneButton");
  button->setFixedSize(kButtonSize, kButtonSize);
  button->setAccessibleName(toggle->toolTip());
  addAction(toggle);
  connect(schedule_, &TSchedule::OnDetailsRequest, day_pane_, [this] {
    day_pane_->show();
    day_pane_->ShowCursorDay();
  });
  // Tab goes from the grid into the pane's lines and on through the pane.
  QWidget::setTabOrder(schedule_, &day_pane_->Lines());
}

void TMainWindow::RestoreDayPane() {
  if (!placement_store_->ReadBool(kDayPaneSettingsGroup, kDayPaneVisibleKey, false)) return;
  day_pane_->show();
  const int width = placement_store_->ReadInteger(kDayPaneSettingsGroup, kDayPaneWidthKey, 0);
  if (width > 0) resizeDocks({day_pane_}, {width}, Qt::Horizontal);
}

}  // namespace pelo
