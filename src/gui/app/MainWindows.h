#pragma once

// The main window: the strip with the navigation toolbar and the date panel on top, the
// schedule below. It runs the start-up sequence when it is first shown (placement, calendar,
// pages, command line, data files, today), opens data files from its open dialog, switches
// between the classic calendar and the calendar of today, and keeps the window placement and
// that choice between runs.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/CommandLines.h"
#include "app/QuietFileDialogs.h"
#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"
#include "datafiles/Notices.h"

class QAction;
class QCloseEvent;
class QFileDialog;
class QLabel;
class QToolBar;
class QWidget;

namespace pelo {

class TDateJumpDialog;
class TDayPane;
class TLiveFiles;
class TSearchBar;
class TClock;
class TTodayFollower;
class TQtNotices;
class TPlacementStore;
class TSchedule;
struct TMeasuredDocument;
class TViewCommands;

inline constexpr const char* kMainCaption = "ぺろん";
inline constexpr const char* kMainFontFace = "ＭＳ Ｐゴシック";
// Where the calendar choice is kept, beside the window placement: 1 for the calendar of today.
inline constexpr const char* kCalendarSettingsGroup = "Calendar";
inline constexpr const char* kCalendarSettingsKey = "Current";
// Where the day pane's state is kept: Visible (off on the first run) and Width in pixels.
inline constexpr const char* kDayPaneSettingsGroup = "DayPane";
inline constexpr const char* kDayPaneVisibleKey = "Visible";
inline constexpr const char* kDayPaneWidthKey = "Width";

// The open dialog's filters, in Qt's "caption (patterns)" form.
inline constexpr std::array<const char*, 3> kOpenFilters = {"ねりかファイル(..nrk) (*.nrk)",
                                                            "旧ねりかファイル（.dat） (*.dat)",
                                                            "すべてのファイル(*.*) (*)"};

// The calendar chosen in the last run: the classic one until the calendar of today was.
TCalendarKind StoredCalendarKind(const TPlacementStore& store);

// A toolbar button's hint: what it does, and the key that does the same if there is one,
// as "次月 (Shift+→)".
QString ToolbarHint(const char* hint, const char* keys);
// The window's title for the loaded data files: "ぺろん" alone, with the first file's name,
// and "+2" for two more: "ぺろん - a.nrk +2".
QString WindowTitleFor(const std::vector<std::string>& paths);

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The placement before the stored one is restored.
  static constexpr int kInitialLeft = 287;
  static constexpr int kInitialTop = 121;
  static constexpr int kInitialWidth = 484;
  static constexpr int kInitialHeight = 308;
  static constexpr int kStripHeight = 34;
  static constexpr int kDatePanelWidth = 140;
  static constexpr int kButtonSize = 26;
  // In a window too narrow for the toolbar beside the whole date.
  static constexpr int kCompactButtonSize = 24;

  // arguments: the command line without the program's name; today: the date the schedule's
  // calendar takes as today. Message boxes and load reports go through the window's own
  // notices.
  TMainWindow(QStringList arguments, TDateRec today, QWidget* parent = nullptr);
  // The same with notices of the caller's (the tests' recorder); they must outlive the window.
  TMainWindow(QStringList arguments, TDateRec today, TUserNotices& notices,
              QWidget* parent = nullptr);
  ~TMainWindow() override;

  TSchedule& Schedule() const noexcept { return *schedule_; }
  // The date dialog wrapper; null until the date button was first used.
  TDateJumpDialog* DateJumpDialog() const noexcept { return date_jump_dialog_.get(); }
  // True once the start-up sequence has run to its end.
  bool StartedUp() const noexcept { return started_up_; }

  // ---- handlers ----
  // The start-up sequence, when the window is first shown. The placement is restored at
  // once; the rest runs from the event loop. Only the first call does anything.
  void StartOnFirstShow();
  // Asks for data files in the open dialog and loads them in place of the loaded ones.
  void OpenDataFiles();
  // Asks for a date (or an offset) in the date dialog and moves the cursor there.
  void AskJumpDate();
  // The cursor of sender moved: the date panel shows its date.
  void ShowCursorDate(TSchedule* sender);
  // Enables the "today" button exactly when the cursor is not on today.
  void UpdateTodayButton();
  // Keeps today on clock's from now on (see TTodayFollower): at once when its date is
  // another, and again at every midnight, wake and change of the clock. The clock must
  // outlive the window.
  void FollowClock(const TClock& clock);
  // The clock's date moved on: the schedule's today, the today button and the date panel.
  void MoveToday(TDateRec today);
  // What keeps today on the clock's; null until FollowClock.
  TTodayFollower* TodayFollower() const noexcept { return today_follower_.get(); }
  // Shows the schedule in the calendar of kind (the table is rebuilt, the cursor stays) and
  // sets the toolbar's toggle to match.
  void SetCalendarKind(TCalendarKind kind);
  // A note about the files, which needs no answer: the date panel's tip.
  void ShowNote(const QString& text);
  // Watches the files and reads them again when they change (F5: all at once).
  TLiveFiles& LiveFiles() const noexcept { return *live_files_; }
  // Ctrl+F opens it, F3 and Shift+F3 walk the days with a match.
  TSearchBar& SearchBar() const noexcept { return *search_bar_; }
  // Beside the grid; F9 or the toolbar's toggle shows and hides it.
  TDayPane& DayPane() const noexcept { return *day_pane_; }

  // Runs StartOnFirstShow before the window is first shown.
  void setVisible(bool visible) override;

 signals:
  // The start-up sequence has loaded the files, rebuilt the day table and jumped to today.
  void StartUpFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct TButton;

  TMainWindow(QStringList arguments, TDateRec today, TUserNotices* notices, QWidget* parent);
  static std::span<const TButton> ButtonTable();

  void CreateWidgets(TDateRec today);
  void CreateActions();
  void CreateToolBar();
  void CreateOpenDialog();
  void CreateLiveFiles();
  void CreateSearchBar();
  void CreateDayPane();
  void RestoreDayPane();
  // What the schedule shows before any page is applied.
  void ApplyInitialSettings();

  // Steps 2 to 7 of the start-up sequence.
  void StartUp();
  // The pages once more after a page file changed on disk; the calendar's toggle and the
  // user's order of lines follow as at the start-up.
  void ApplyPagesAgain();
  // The placement and the choices beside it, at close.
  void SaveSettings();
  // Replaces the loaded files, rebuilds the day table and goes to today.
  void LoadDataFiles(const std::vector<std::string>& names);
  void ShowLoadedFilesInTitle();

  QStringList arguments_;
  std::unique_ptr<TQtNotices> own_notices_;  // null when the caller gave notices
  TUserNotices& notices_;
  // The schedule the window's views show; it outlives them (the central widget goes first).
  std::unique_ptr<TMeasuredDocument> document_;
  std::unique_ptr<TPlacementStore> placement_store_;
  std::unique_ptr<TDateJumpDialog> date_jump_dialog_;
  // Made on first use; a child of the window, for the modality, that goes before the window.
  std::unique_ptr<QFileDialog, TQuietDialogDeleter> open_dialog_;
  // Print, export and the order of lines.
  std::unique_ptr<TViewCommands> view_commands_;
  bool show_handled_ = false;
  bool placement_restored_ = false;
  bool started_up_ = false;
  bool closed_ = false;

  // Owned by their Qt parents.
  TSchedule* schedule_ = nullptr;
  QLabel* date_panel_ = nullptr;  // the cursor's date, right of the toolbar
  QToolBar* tool_bar_ = nullptr;
  std::vector<QAction*> actions_;  // in toolbar order
  QAction* jump_today_ = nullptr;
  QAction* calendar_current_ = nullptr;  // checked while the calendar of today is shown
  TLiveFiles* live_files_ = nullptr;
  TSearchBar* search_bar_ = nullptr;
  TDayPane* day_pane_ = nullptr;
  std::unique_ptr<TTodayFollower> today_follower_;  // null until FollowClock
};

}  // namespace pelo
