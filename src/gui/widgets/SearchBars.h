#pragma once

// The search bar over a schedule: a text box searched once the user pauses in typing, a
// choice of span (the years the grid shows, or every year of the calendar) and the list of
// the lines that match, with their date, time, text and file:line. A line matches when the
// text is in the line as its cell shows it or in the line of its data file, with ASCII case
// and full-/half-width forms folded (schedule/RowSearches.h). Enter or a double click on a
// match moves the cursor to its day and selects the line; FindNext finds the next day with a
// match anywhere in the calendar. The bar is no dialog: the grid stays usable while it is open.
//
// The matches are days and entry positions: every rebuild of the schedule (a file read again,
// an edit) searches again.

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "calendar/Dates.h"

class QComboBox;
class QTimer;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace pelo {

class TSchedule;
class TScheduleDocument;
class TCalendarSearch;
class TCodeCharacters;
struct TDayRow;

class TSearchBar : public QWidget {
  Q_OBJECT

 public:
  // The texts of the span choice and the message at either end of FindNext.
  static constexpr const char* kShownYears = "表示中の年";
  static constexpr const char* kAllYears = "すべての年";
  static constexpr const char* kNoMoreAfter = "これより後に見つかりません";
  static constexpr const char* kNoMoreBefore = "これより前に見つかりません";

  // The list stops here: a text found on nearly every day lists nothing worth reading, and
  // the list would take long to fill. FindNext is not bounded by it.
  static constexpr std::size_t kMaxListed = 2000;
  // How long typing must pause before the list follows it: a search of a large file takes
  // longer than the gap between two keys.
  static constexpr int kTypingPauseMs = 150;

  explicit TSearchBar(TSchedule& schedule, QWidget* parent = nullptr);
  ~TSearchBar() override;

  // Shows the bar with its text selected for typing over.
  void Open();
  // Hides it; the keys go back to the grid.
  void Close();
  // The next (direction 1) or previous (-1) day after or before the cursor's on which a match
  // falls: the cursor goes there and the day's first matching line is selected. At the end of
  // the span the cursor stays and the bar says so. Without a text to look for, the bar opens.
  void FindNext(int32_t direction);

  // One match: a day and the position of the entry whose line it is.
  struct TMatch {
    TDateRec Date;
    int32_t Position = 0;
  };
  const std::vector<TMatch>& Matches() const noexcept { return matches_; }
  // Typed text waits for the pause before the list follows it.
  bool SearchPending() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Fills the list with the matches of the span.
  void Search();
  // The search of the text, over the calendar of the schedule and its day table.
  TCalendarSearch CalendarSearch();
  // The first and last year searched.
  std::pair<int32_t, int32_t> SpanYears() const;
  void AddMatch(const TDayRow& row);
  // A copy: the jump may search again.
  void JumpTo(TMatch match);
  // Selects the first line of the cursor's day that matches.
  void SelectMatchingLine();
  void JumpToItem(QTreeWidgetItem* item);
  void ShowStatus(const QString& text);
  // How many matches the list holds, for the status beside the text.
  QString CountText() const;
  // Makes the match nearest the cursor the list's current one.
  void MarkMatchNearCursor();

  TSchedule& schedule_;          // the cursor the matches move
  TScheduleDocument& document_;  // the schedule's: what is searched
  QLineEdit* text_ = nullptr;
  QComboBox* span_ = nullptr;
  QLabel* status_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QTimer* typing_pause_ = nullptr;
  // Made for the first search: what the codes of the lines may write.
  std::unique_ptr<const TCodeCharacters> code_characters_;
  std::vector<TMatch> matches_;  // in date order, as listed
  std::pair<int32_t, int32_t> searched_years_{0, 0};
};

}  // namespace pelo
