#pragma once

// The day pane: a dock beside the grid that follows the schedule's cursor day and shows it
// in plain, selectable widgets: the day with its weekday, era, holiday, rokuyo, old date and
// week; every line whole, in the cell's order; and for the selected line its note, its
// related files as links, where it was written, with buttons that open that place in the
// user's editor and copy the line. Its list and the grid select the same line.

#include <QDockWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/Dates.h"
#include "schedule/DayDetails.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace pelo {

class TSchedule;
class TUserNotices;

inline constexpr const char* kDayPaneObjectName = "dayPane";
inline constexpr const char* kDayPaneTitle = "日の詳細";

class TDayPane : public QDockWidget {
  Q_OBJECT

 public:
  // Questions (before a related file opens) go through notices.
  TDayPane(TSchedule& schedule, TUserNotices& notices, QWidget* parent = nullptr);

  // Shows the schedule's cursor day and selected line again.
  void ShowCursorDay();
  // The related file at index of the selected line: asked about, then opened when it is a
  // regular file; an executable one shows its folder instead; a missing one is said here.
  void OpenRelatedFile(int index);
  // The selected line's data file in the user's editor at its line.
  void OpenSource();
  // The selected line's text to the clipboard.
  void CopyLine();

  QLabel& Heading() const noexcept { return *heading_; }
  QListWidget& Lines() const noexcept { return *lines_; }
  QPlainTextEdit& Note() const noexcept { return *note_; }
  QLabel& Files() const noexcept { return *files_; }
  QLabel& Source() const noexcept { return *source_; }
  QLabel& Status() const noexcept { return *status_; }

 private:
  void CreateWidgets();
  void ShowDay(const TDayDetails& day);
  // The details of line row (none for -1).
  void ShowLine(int row);
  void LineChosen(int row);

  TSchedule& schedule_;
  TUserNotices& notices_;
  TDayDetails day_;
  TEntryDetails entry_;
  int shown_row_ = -1;
  // Owned by their Qt parents.
  QLabel* heading_ = nullptr;
  QListWidget* lines_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
  QLabel* files_ = nullptr;
  QLabel* source_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* editor_ = nullptr;
  QPushButton* copy_ = nullptr;
};

// The day's heading as the pane shows it: the date, then holiday, rokuyo, old date and week.
std::string DayHeadingText(const TDayDetails& day);

}  // namespace pelo
