#pragma once

// TSchedule: the calendar grid the user looks at all day, a view of a schedule document. Days
// are laid out over the cells of a TGrid by TScheduleModel; every day cell shows its day-number
// label, the holiday name and the line list the document's day table holds for it. The widget
// tells the document which years it shows, turns the mouse (selection, double-click zoom, drag
// and drop of entries) and the keys into cursor moves and edits of the document, and repaints
// when the document says what changed.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "calendar/Calendars.h"
#include "calendar/Dates.h"
#include "datafiles/EntryLists.h"
#include "datafiles/Notices.h"
#include "schedule/DayTables.h"
#include "schedule/ScheduleDocuments.h"
#include "schedule/ScheduleModels.h"
#include "schedule/ScheduleSettings.h"
#include "text/Fonts.h"
#include "widgets/Grids.h"

class QKeyEvent;
class QMenu;
class QAction;

namespace pelo {

class TQtTextMeasurer;
class TQtLinePaintSink;
struct TMeasuredDocument;

class TSchedule : public TGrid, private TScheduleObserver {
  Q_OBJECT

 public:
  // A view of parts.Document, which outlives it; the document's notices answer every message
  // box, question and beep. The cells' update requests come here from now on.
  explicit TSchedule(TMeasuredDocument& parts, QWidget* parent = nullptr);
  ~TSchedule() override;

  // ---- cursor and navigation ----
  TDateRec CursorDate() const noexcept;
  TDateRec TopDate() const noexcept;
  TDateRec EndDate() const noexcept;
  int32_t Year() const noexcept;
  void SetYear(int32_t year);  // 1583..2150, else ignored
  int32_t Month() const noexcept;
  void SetMonth(int32_t month);  // 1..12, else ignored
  int32_t Day() const noexcept;
  void SetDay(int32_t day);           // 1..31, else ignored
  void SetCursorDate(TDateRec date);  // refusals are message boxes through notices
  void MoveDate(int32_t years, int32_t months, int32_t days);
  void JumpToday();
  void JumpDate(TDateRec date);

  // ---- settings ----
  // Takes every setting of the record; the record is kept for the double-click zoom.
  void ApplySettings(const TScheduleSettings& settings);
  // The settings in effect, the layout as the model has corrected it; Visible is false.
  TScheduleSettings GetSettings() const;
  // Each day's lines by their first time (TDayTable::SortByTime); the zoom keeps it.
  bool SortByTime() const noexcept { return settings_.SortByTime; }
  void SetSortByTime(bool sort);
  // Layout setters with the model's corrections (TScheduleModel::SetCycle, SetTerm).
  void SetCycle(int32_t value);
  void SetTerm(int32_t value);
  // No dragging of entries.
  bool ReadOnly() const noexcept { return read_only_; }
  void SetReadOnly(bool value) noexcept { read_only_ = value; }
  // Ask before a dropped entry is moved or copied.
  bool DragCheck() const noexcept { return drag_check_; }
  void SetDragCheck(bool value) noexcept { drag_check_ = value; }

  // ---- calendar ----
  // The classic tables or the calendar of today: the holidays, the entries' days and lines and
  // the day labels follow at once (the day table is rebuilt); the cursor keeps its date.
  void SetCalendarKind(TCalendarKind kind);
  // The clock moved on to another day (midnight, a wake from suspend, a change of the clock):
  // the today cell moves, the day table is built again for the patterns and codes counted
  // from today, and the cursor follows only when it stood on the old today.
  void SetToday(TDateRec today);

  // ---- data ----
  TScheduleDocument& Document() noexcept { return document_; }
  TEntryList& EntryList() noexcept { return document_.EntryList(); }
  const TEntryList& EntryList() const noexcept { return document_.EntryList(); }
  TDayTable& DayTable() noexcept { return document_.DayTable(); }
  const TDayTable& DayTable() const noexcept { return document_.DayTable(); }
  // Builds the document's table again, then puts the cursor on the entry when one is given.
  void RefreshData(std::optional<int32_t> focus = std::nullopt);
  // Selects line of the cursor day (scrolled into view); nothing when there is no such line.
  void SelectCursorLine(int32_t line);
  // The entry of the selected line of the cursor day (EntryAt); none without one.
  std::optional<int32_t> FocusedEntry() const;

  // ---- actions of the keys and the context menu ----
  // On the focused entry.
  void ToggleChecked();
  void CopyFocused();
  void CutFocused();
  void DeleteWithQuestion();
  // The newest entry of the clipboard, on the cursor date.
  void Paste();
  // One day fills the control, or the layout before it comes back.
  void ToggleZoom();
  // The context menu of the selected line (or of the cursor day without one), at the line.
  void ShowMenuForSelection();

  // ---- hit testing ----
  // The day of the cell under a point; none where no day cell is.
  std::optional<TDateRec> PointToDate(int x, int y) const;
  // What a point hits: nothing or an entry line.
  static constexpr int32_t kHitNothing = 0;
  static constexpr int32_t kHitLine = 3;
  struct THitInfo {
    int32_t Kind = kHitNothing;
    std::string Text;      // the line's text
    bool Wrapped = false;  // the text needs more than one line at the cell's width
    int32_t Entry = -1;    // the entry's position in the entry list
    QRect Rect;            // the line's rectangle
  };
  THitInfo HitTest(int x, int y) const;

  // ---- state to look at ----
  // The calendar (today, holidays, private marks), the layout model (read-only) and the
  // measured label sizes.
  const TCalendar& Calendar() const noexcept { return document_.Calendar(); }
  const TScheduleModel& Model() const noexcept { return model_; }
  int32_t TitleHeight() const noexcept { return title_height_; }
  int32_t DateLabelWidth() const noexcept { return date_label_width_; }
  int32_t DateLabelHeight() const noexcept { return date_label_height_; }
  // Whether a drag of an entry runs (between its start and the release).
  bool Dragging() const noexcept { return dragging_; }

 signals:                                // every event receives the sender
  void OnJump(pelo::TSchedule* sender);  // after every cursor move
  void OnFocusEntryChange(pelo::TSchedule* sender);
  void OnPreRefresh(pelo::TSchedule* sender);
  void OnRefresh(pelo::TSchedule* sender);
  void OnSetTable(pelo::TSchedule* sender, int index, int rate);
  void OnLoadFromFile(pelo::TSchedule* sender, const QString& path);
  void OnKeyDown(pelo::TSchedule* sender, QKeyEvent* event);  // keys the schedule does not handle
  void OnDetailsRequest(pelo::TSchedule* sender);  // the menu's 詳細: show the day's details

 protected:
  void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void DblClick(QMouseEvent* event) override;

  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Where the parts of a day cell lie, worked out the same way for painting, clicks and
  // hints.
  struct TDayLayout {
    TDateRec Date;
    QRect Inner;  // inside the frame
    int32_t FrameStyle = 0;
    bool HasLabel = false;
    QRect Label;
    QRect NumberBox;
    QRect InfoBox;
    bool InfoShown = false;
    std::string InfoText;
    uint32_t LabelBack = 0;
    uint32_t LabelText = 0;
    uint32_t InfoColor = 0;
    int32_t NumberHeight = 0;
    QRect Area;  // the entry area, holiday line included
    uint32_t AreaBack = 0;
    bool HasHolidayLine = false;
    QRect HolidayLine;
    QRect Lines;  // what the line list gets
  };

  // Shows a placement's notice, keeps the day table's years in step, moves the grid's
  // current cell, repaints and raises the events.
  void ShowPlacement(const TCursorPlacement& placement);
  // Grid size, fitting, the full reload when asked and the final placement of a rebuild.
  void FinishRebuild(const TRebuildResult& result);
  // RebuildLayout of the model followed by FinishRebuild.
  void RebuildLayout(bool reload);
  void SyncGrid(bool reset_scroll);
  void FitCells();
  void CheckYearWindow();
  void FullReload();
  // Fills the cells again from the packs as they are, when only the order of lines changed.
  void RefillLines();
  // Parses the fonts, resolves the colours and measures the labels of settings_.
  void TakeFontsAndColors();
  void PushDisplaySettings();
  void MeasureLabels();
  // The colours as painted: system colour codes mapped to the palette.
  void ResolveColors();
  QColor PaintColor(int32_t index) const;

  // What, besides its date, decides how a day cell looks.
  struct TDayFacts {
    bool Current = false;  // the grid's current cell
    bool Today = false;
    bool Holiday = false;
    bool OtherMonth = false;  // MonthReset on and the day outside the cursor's month
    int Weekday = 0;
  };
  TDayFacts DayFactsOf(int col, int row, TDateRec date) const;
  // The steps of a day cell's layout: frame, day-number label, entry area with its
  // background, holiday line and the room left for the lines.
  TDayLayout LayoutDay(int col, int row, TDateRec date, const QRect& rect) const;
  // Lays out the label inside out.Inner; returns the entry area beside it.
  QRect LayoutLabel(const TDayFacts& facts, TDayLayout& out) const;
  std::string DayInfoText(TDateRec date, int weekday) const;
  // The label's number and information boxes; returns the label as the texts size it.
  TRect PlaceLabelBoxes(TDayLayout& out) const;
  void ColorLabel(const TDayFacts& facts, TDayLayout& out) const;
  uint32_t AreaBackground(const TDayFacts& facts) const;
  void LayoutHolidayLine(const TDayFacts& facts, TDayLayout& out) const;
  // A title cell's colours and texts: the left text names the column or row, the right one
  // (the year, the week of the year) is shown only where both fit.
  struct TTitleLook {
    QColor Back;
    QColor Text;
    std::string Left;
    std::string Right;
  };
  TTitleLook TitleLookOf(int col, int row) const;
  void DrawTitleCell(int col, int row, const QRect& rect);
  void DrawDayCell(int col, int row, const QRect& rect);
  void DrawFrame(QRect rect, int32_t style);

  // The line list of the cursor day placed on its cell; null when the day lies outside the
  // table's window or its cell is not shown.
  TCellLineList* CursorList();
  // Places a day's line list on the entry area of its cell as last painted; false when the
  // day is not shown or has no room for lines.
  bool PlaceList(TDateRec date, TCellLineList& list) const;

  int32_t SelectUnderMouse(const QPoint& pos);
  void ShowMenuAt(const QPoint& pos);
  void EndDrag();
  bool DropAllowedAt(const QPoint& pos) const;
  void DropEntry(int32_t entry, bool copy);

  // The keys: a key with exactly these modifiers and what it does.
  struct TKeyBinding {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    void (*action)(TSchedule&);
  };
  static std::span<const TKeyBinding> KeyTable();
  // Left/Right and Up/Down without modifiers: a day along the way the days run, a cycle
  // across it (a month when the cycle is 31).
  void StepAcross(int32_t sign);
  void StepDown(int32_t sign);
  void MoveCycle(int32_t sign);
  // Alt with an arrow across the cycles: the view scrolls a cycle.
  void ScrollAcross(int32_t sign);
  void ScrollDown(int32_t sign);
  void ScrollView(int32_t direction);
  // The cursor day's line list: a line up or down, or to its first or last line.
  void ScrollCursorDay(int32_t direction);
  void SelectCursorDayEnd(bool last);
  void UndoStep();
  void RedoStep();
  bool ShowLineHint(const QPoint& pos, const QPoint& global_pos);
  std::string EntryText(int32_t entry) const;

  // The document's day table; its cells make their lines on first use, so even lookups that
  // change nothing a caller sees change them.
  TDayTable& Table() const noexcept { return document_.DayTable(); }
  // What the document tells its views.
  void BeforeRebuild(TScheduleDocument& document) override;
  void Changed(TScheduleDocument& document, TChange change) override;
  // Puts the cursor on the day nearest to it that shows the entry an edit answered, and
  // selects the entry's line there.
  void FocusEditedEntry(std::optional<int32_t> entry);

  TScheduleDocument& document_;
  TQtTextMeasurer& measurer_;
  TUserNotices& notices_;
  TScheduleModel model_;
  QMenu* drop_menu_ = nullptr;  // owned by this widget as a Qt child
  QAction* move_action_ = nullptr;
  QAction* copy_action_ = nullptr;

  // Every setting in effect but the layout, which the model keeps.
  TScheduleSettings settings_ = InitialScheduleSettings();
  bool read_only_ = false;
  bool drag_check_ = true;

  std::array<TFontSpec, kScheduleFontCount> fonts_;  // settings_.Fonts parsed
  std::array<uint32_t, kScheduleColorCount> paint_colors_{};
  int32_t title_height_ = 0;
  int32_t date_label_width_ = 0;
  int32_t date_label_height_ = 0;
  // The label margin: smaller on a low screen.
  int32_t label_margin_ = 4;
  // The record of the last ApplySettings (the double-click zoom goes back to it).
  TScheduleSettings kept_settings_;

  // Mouse state.
  int32_t down_kind_ = kHitNothing;
  bool button_down_ = false;
  bool dragging_ = false;
  bool double_clicked_ = false;
  QPoint down_pos_;
  std::optional<int32_t> drag_entry_;
  bool month_changed_ = false;
  bool menu_on_release_ = false;  // a right press asked for the context menu
  // Set while the schedule itself moves the grid's current cell (see SelectCell).
  bool placing_cursor_ = false;
  // Set while RefreshData places the cursor on a changed entry.
  bool suppress_focus_change_ = false;
};

}  // namespace pelo
