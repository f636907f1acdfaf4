#pragma once

// TSchedule: the calendar grid the user looks at all day. Days are laid out over the cells of
// a TGrid by TScheduleModel; every day cell shows its day-number label, the holiday
// name and the line list the day table holds for it. The widget owns the calendar, the entry
// list and the day table, rebuilds the table when the entries or the shown years change, and
// handles the mouse (selection, double-click zoom, drag and drop of entries) and the keys.
//
// The calendar is the schedule's own: its private marks come from the schedule's entries and
// its holiday window follows the schedule's table, so it lives where both are built.

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "calendar/Calendars.h"
#include "calendar/Dates.h"
#include "datafiles/EntryLists.h"
#include "datafiles/Notices.h"
#include "schedule/DayTables.h"
#include "schedule/ScheduleModels.h"
#include "schedule/ScheduleSettings.h"
#include "text/Fonts.h"
#include "text/SmallSets.h"
#include "widgets/Grids.h"

class QKeyEvent;
class QMenu;
class QAction;

namespace pelo {

class TQtTextMeasurer;
class TQtLinePaintSink;

class TSchedule : public TGrid {
  Q_OBJECT

 public:
  // The calendar (on today), the entry list and the day table are made here; notices answer
  // every message box, question and beep. pack_budget bounds the entry list's day packs
  // (TEntryList).
  TSchedule(TUserNotices& notices, TDateRec today, QWidget* parent = nullptr,
            std::size_t pack_budget = kDayPackBudget);
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
  void ApplySettings(const TScheduleSettings& settings);
  TScheduleSettings GetSettings() const;

  bool Vertical() const noexcept;
  void SetVertical(bool value);
  int32_t Cycle() const noexcept;
  void SetCycle(int32_t value);
  int32_t Term() const noexcept;
  void SetTerm(int32_t value);
  int32_t FixTopMonth() const noexcept;
  void SetFixTopMonth(int32_t value);
  int32_t FixTopDay() const noexcept;
  void SetFixTopDay(int32_t value);
  int32_t FixTopWeek() const noexcept;
  void SetFixTopWeek(int32_t value);
  bool DayUpper() const noexcept { return day_upper_; }
  void SetDayUpper(bool value);
  bool DispTitle() const noexcept { return disp_title_; }
  void SetDispTitle(bool value);
  bool DispDay() const noexcept { return disp_day_; }
  void SetDispDay(bool value);
  int32_t DayInfo() const noexcept { return day_info_; }
  void SetDayInfo(int32_t value);
  bool DispHoliday() const noexcept { return disp_holiday_; }
  void SetDispHoliday(bool value);
  bool MonthReset() const noexcept;
  void SetMonthReset(bool value);
  bool Return() const noexcept { return return_; }
  void SetReturn(bool value);
  int32_t Space() const noexcept { return space_; }
  void SetSpace(int32_t value);
  int32_t Persent() const noexcept { return persent_; }
  void SetPersent(int32_t value);
  bool CheckedIconVisible() const noexcept { return icons_[0]; }
  void SetCheckedIconVisible(bool value);
  bool RankIconVisible() const noexcept { return icons_[1]; }
  void SetRankIconVisible(bool value);
  bool MemoIconVisible() const noexcept { return icons_[2]; }
  void SetMemoIconVisible(bool value);
  bool RelFilesIconVisible() const noexcept { return icons_[3]; }
  void SetRelFilesIconVisible(bool value);
  bool MarkIconVisible() const noexcept { return icons_[4]; }
  void SetMarkIconVisible(bool value);
  bool DataIconVisible() const noexcept { return icons_[5]; }
  void SetDataIconVisible(bool value);
  int32_t Title3D() const noexcept { return title_3d_; }
  void SetTitle3D(int32_t value);
  int32_t Today3D() const noexcept { return today_3d_; }
  void SetToday3D(int32_t value);
  int32_t Cursor3D() const noexcept { return cursor_3d_; }
  void SetCursor3D(int32_t value);
  int32_t Normal3D() const noexcept { return normal_3d_; }
  void SetNormal3D(int32_t value);
  int32_t LineWidth() const noexcept { return line_width_; }
  void SetLineWidth(int32_t value);
  bool ReadOnly() const noexcept { return read_only_; }
  void SetReadOnly(bool value) noexcept { read_only_ = value; }
  bool DragCheck() const noexcept { return drag_check_; }
  void SetDragCheck(bool value) noexcept { drag_check_ = value; }
  const TFilterSet& FilterSet() const noexcept { return filter_; }
  void SetFilterSet(const TFilterSet& filter);

  // ---- data ----
  TEntryList& EntryList() noexcept;
  TDayTable& DayTable() noexcept;
  void RefreshData(int32_t entry_index);  // -1: no entry to focus
  void ReloadTable(int32_t entry_index);
  // The entry of the selected line of the cursor day (EntryAt), -1 for none.
  int32_t FocusedEntry() const;

  // ---- hit testing ----
  TDateRec PointToDate(int x, int y) const;  // day 0: no day cell there
  struct THitInfo {
    int32_t Kind = 0;      // 0 nothing, 3 an entry line
    std::string Text;      // the line's text
    bool Wrapped = false;  // the text needs more than one line at the cell's width
    int32_t Entry = -1;    // the entry's position in the entry list
    QRect Rect;            // the line's rectangle
  };
  THitInfo HitTest(int x, int y) const;

  // ---- additions beyond the shared interface ----
  // The calendar (today, holidays, private marks), the layout model (read-only), the measured
  // label sizes and the colours in effect.
  const TCalendar& Calendar() const noexcept { return calendar_; }
  const TScheduleModel& Model() const noexcept { return model_; }
  int32_t TitleHeight() const noexcept { return title_height_; }
  int32_t DateLabelWidth() const noexcept { return date_label_width_; }
  int32_t DateLabelHeight() const noexcept { return date_label_height_; }
  uint32_t ScheduleColor(int32_t index) const;
  const TFontSpec& ScheduleFont(int32_t index) const;
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
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // What a mouse press hit: nothing or an entry line.
  static constexpr int32_t kHitNothing = 0;
  static constexpr int32_t kHitLine = 3;

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
  void PushDisplaySettings();
  void MeasureLabels();
  // The colours as painted: system colour codes mapped to the palette.
  void ResolveColors();
  QColor PaintColor(int32_t index) const;

  TDayLayout LayoutDay(int col, int row, TDateRec date, const QRect& rect) const;
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
  void EndDrag();
  bool DropAllowedAt(const QPoint& pos) const;
  void DropEntry(int32_t entry, bool copy);
  void MoveEntryTo(int32_t entry, TDateRec date);
  void CopyEntryTo(int32_t entry, TDateRec date);
  void ToggleZoom();
  void HandleKey(QKeyEvent* event, Qt::KeyboardModifiers mods);
  void ScrollView(int32_t direction);
  void Paste();
  void DeleteWithQuestion();
  bool ShowLineHint(const QPoint& pos, const QPoint& global_pos);
  std::string EntryText(int32_t entry) const;

  TUserNotices& notices_;
  TCalendar calendar_;  // before the model, which reads it
  TScheduleModel model_;
  std::unique_ptr<TQtTextMeasurer> measurer_;
  std::unique_ptr<TEntryList> entry_list_;
  std::unique_ptr<TDayTable> day_table_;
  QMenu* drop_menu_ = nullptr;  // owned by this widget as a Qt child
  QAction* move_action_ = nullptr;
  QAction* copy_action_ = nullptr;

  bool day_upper_ = false;
  bool disp_title_ = false;
  bool disp_day_ = true;
  int32_t day_info_ = 1;
  bool disp_holiday_ = true;
  bool return_ = false;
  int32_t space_ = 2;
  int32_t persent_ = 100;
  // Checked, Rank, Memo, RelFiles, Mark, Data.
  std::array<bool, 6> icons_{true, true, true, true, false, false};
  int32_t title_3d_ = 1;
  int32_t today_3d_ = -2;
  int32_t cursor_3d_ = 2;
  int32_t normal_3d_ = 0;
  int32_t line_width_ = 1;
  bool read_only_ = false;
  bool drag_check_ = true;
  TFilterSet filter_;

  std::array<TFontSpec, kScheduleFontCount> fonts_;
  std::array<uint32_t, kScheduleColorCount> colors_{};
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
  int32_t drag_entry_ = -1;
  bool month_changed_ = false;
  // Set while the schedule itself moves the grid's current cell (see SelectCell).
  bool placing_cursor_ = false;
  // Set while RefreshData places the cursor on a changed entry.
  bool suppress_focus_change_ = false;
};

}  // namespace pelo
