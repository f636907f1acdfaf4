#include "schedule/widgets/Schedules.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "schedule/widgets/QtTextMeasurers.h"

namespace pelo {

// First cut: the interface compiles and the widget shows a grid; the behaviour follows.

TSchedule::TSchedule(TUserNotices& notices, QWidget* parent)
    : TxCustomGrid(parent),
      notices_(notices),
      measurer_(std::make_unique<TQtTextMeasurer>(this)),
      data_list_(std::make_unique<TDataList>(notices)),
      data_table_(std::make_unique<TDataTable>(measurer_.get())) {
  setObjectName(QStringLiteral("Schedule"));
}

TSchedule::~TSchedule() = default;

TDateRec TSchedule::CursorDate() const noexcept { return model_.CursorDate(); }
TDateRec TSchedule::TopDate() const noexcept { return model_.TopDate(); }
TDateRec TSchedule::EndDate() const noexcept { return model_.EndDate(); }
int32_t TSchedule::Year() const noexcept { return model_.Year(); }
void TSchedule::SetYear(int32_t) {}
int32_t TSchedule::Month() const noexcept { return model_.Month(); }
void TSchedule::SetMonth(int32_t) {}
int32_t TSchedule::Day() const noexcept { return model_.Day(); }
void TSchedule::SetDay(int32_t) {}
void TSchedule::SetCursorDate(TDateRec) {}
void TSchedule::MoveDate(int32_t, int32_t, int32_t) {}
void TSchedule::JumpToday() {}
void TSchedule::JumpDate(TDateRec) {}
void TSchedule::ApplySettings(const TScheduleSettings&) {}
TScheduleSettings TSchedule::GetSettings() const { return TScheduleSettings{}; }
bool TSchedule::Vertical() const noexcept { return model_.Vertical(); }
void TSchedule::SetVertical(bool) {}
int32_t TSchedule::Cycle() const noexcept { return model_.Cycle(); }
void TSchedule::SetCycle(int32_t) {}
int32_t TSchedule::Term() const noexcept { return model_.Term(); }
void TSchedule::SetTerm(int32_t) {}
int32_t TSchedule::FixTopMonth() const noexcept { return model_.FixTopMonth(); }
void TSchedule::SetFixTopMonth(int32_t) {}
int32_t TSchedule::FixTopDay() const noexcept { return model_.FixTopDay(); }
void TSchedule::SetFixTopDay(int32_t) {}
int32_t TSchedule::FixTopWeek() const noexcept { return model_.FixTopWeek(); }
void TSchedule::SetFixTopWeek(int32_t) {}
void TSchedule::SetDayUpper(bool) {}
void TSchedule::SetDispTitle(bool) {}
void TSchedule::SetDispDay(bool) {}
void TSchedule::SetDayInfo(int32_t) {}
void TSchedule::SetDispHoliday(bool) {}
bool TSchedule::MonthReset() const noexcept { return model_.MonthReset(); }
void TSchedule::SetMonthReset(bool) {}
void TSchedule::SetReturn(bool) {}
void TSchedule::SetSpace(int32_t) {}
void TSchedule::SetPersent(int32_t) {}
void TSchedule::SetCheckedIconVisible(bool) {}
void TSchedule::SetRankIconVisible(bool) {}
void TSchedule::SetMemoIconVisible(bool) {}
void TSchedule::SetRelFilesIconVisible(bool) {}
void TSchedule::SetMarkIconVisible(bool) {}
void TSchedule::SetDataIconVisible(bool) {}
void TSchedule::SetTitle3D(int32_t) {}
void TSchedule::SetToday3D(int32_t) {}
void TSchedule::SetCursor3D(int32_t) {}
void TSchedule::SetNormal3D(int32_t) {}
void TSchedule::SetLineWidth(int32_t) {}
void TSchedule::SetFilterSet(const TFilterSet& filter) { filter_ = filter; }
TDataList& TSchedule::DataList() noexcept { return *data_list_; }
TDataTable& TSchedule::DataTable() noexcept { return *data_table_; }
void TSchedule::RefreshData(int32_t) {}
void TSchedule::ReloadTable(int32_t) {}
int32_t TSchedule::FocusedEntry() const { return -1; }
TDateRec TSchedule::PointToDate(int, int) const { return TDateRec{}; }
TSchedule::THitInfo TSchedule::HitTest(int, int) const { return THitInfo{}; }
uint32_t TSchedule::ScheduleColor(int32_t index) const { return colors_.at(index); }
const TFontSpec& TSchedule::ScheduleFont(int32_t index) const { return fonts_.at(index); }

void TSchedule::DrawCell(int, int, const QRect&, TGridDrawState) {}
bool TSchedule::SelectCell(int col, int row) { return TxCustomGrid::SelectCell(col, row); }
void TSchedule::DblClick(QMouseEvent* event) { TxCustomGrid::DblClick(event); }
void TSchedule::resizeEvent(QResizeEvent* event) { TxCustomGrid::resizeEvent(event); }
void TSchedule::mousePressEvent(QMouseEvent* event) { TxCustomGrid::mousePressEvent(event); }
void TSchedule::mouseMoveEvent(QMouseEvent* event) { TxCustomGrid::mouseMoveEvent(event); }
void TSchedule::mouseReleaseEvent(QMouseEvent* event) { TxCustomGrid::mouseReleaseEvent(event); }
void TSchedule::mouseDoubleClickEvent(QMouseEvent* event) {
  TxCustomGrid::mouseDoubleClickEvent(event);
}
void TSchedule::keyPressEvent(QKeyEvent* event) { TxCustomGrid::keyPressEvent(event); }
void TSchedule::focusInEvent(QFocusEvent* event) { TxCustomGrid::focusInEvent(event); }
void TSchedule::focusOutEvent(QFocusEvent* event) { TxCustomGrid::focusOutEvent(event); }
bool TSchedule::event(QEvent* event) { return TxCustomGrid::event(event); }

}  // namespace pelo
