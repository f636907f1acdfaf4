#include "widgets/ScheduleAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

#include "schedule/DayDetails.h"
#include "text/Texts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

// One shown day. Cells hold no state of their own: everything is read from the schedule when
// asked, so a cell stays right across moves and rebuilds.
class TDayCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TDayCell(TSchedule* schedule, int row, int column)
      : schedule_(schedule), row_(row), column_(column) {}

  bool isValid() const override { return schedule_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return schedule_->window()->windowHandle(); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(schedule_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QRect cell = schedule_->CellRect(column_ + 1, row_ + 1);
    return QRect(schedule_->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface
               ? static_cast<QAccessibleTableCellInterface*>(this)
               : nullptr;
  }

  bool isSelected() const override { return Date() == schedule_->CursorDate(); }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  TDateRec Date() const { return schedule_->Model().CellToDate(column_ + 1, row_ + 1); }

  TSchedule* schedule_;
  int row_;
  int column_;
};

QString TDayCell::text(QAccessible::Text t) const {
  const TDateRec date = Date();
  if (date.Day == 0 || (t != QAccessible::Name && t != QAccessible::Description)) return {};
  const TDayDetails day = DayDetailsOf(schedule_->Calendar(), schedule_->DayTable(), date,
                                       schedule_->Model().FixTopWeek());
  if (t == QAccessible::Description) return QString::fromStdString(DaySummary(day));
  std::string name = day.Heading;
  for (const std::string* part : {&day.Holiday, &day.Rokuyo}) {
    if (!part->empty()) name += Concat({" ", *part});
  }
  return QString::fromStdString(name);
}

QAccessible::State TDayCell::state() const {
  QAccessible::State state;
  state.selectable = true;
  state.focusable = true;
  state.selected = isSelected();
  state.focused = state.selected && schedule_->hasFocus();
  return state;
}

// The grid: rows and columns of day cells as the layout shows them.
class TScheduleTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TScheduleTable(TSchedule* schedule)
      : QAccessibleWidget(schedule, QAccessible::Table), schedule_(schedule) {}
  ~TScheduleTable() override {
    for (const QAccessible::Id id : cells_) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    const int columns = columnCount();
    return columns > 0 && index >= 0 ? cellAt(index / columns, index % columns) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    return cell != nullptr ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
  }
  QAccessibleInterface* focusChild() const override { return CursorCell(); }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override { return CursorCell() != nullptr ? 1 : 0; }
  QList<QAccessibleInterface*> selectedCells() const override {
    QAccessibleInterface* cell = CursorCell();
    return cell != nullptr ? QList<QAccessibleInterface*>{cell} : QList<QAccessibleInterface*>{};
  }
  QString columnDescription(int) const override { return {}; }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return schedule_->Model().CellColumns(); }
  int rowCount() const override { return schedule_->Model().CellRows(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  QAccessibleInterface* CursorCell() const {
    return cellAt(schedule_->Model().Row() - 1, schedule_->Model().Col() - 1);
  }

  TSchedule* schedule_;
  // The interfaces of the cells asked for, by row and column; Qt keeps them by their ids.
  mutable QHash<int, QAccessible::Id> cells_;
};

QAccessibleInterface* TScheduleTable::cellAt(int row, int column) const {
  if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
  // Rows and columns stay far below 2^16: one key holds both.
  const int key = (row << 16) | column;
  if (const auto found = cells_.constFind(key); found != cells_.constEnd()) {
    return QAccessible::accessibleInterface(found.value());
  }
  auto* cell = new TDayCell(schedule_, row, column);
  cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
  return cell;
}

}  // namespace

QAccessibleInterface* ScheduleAccessibleFactory(const QString& class_name, QObject* object) {
  auto* schedule = qobject_cast<TSchedule*>(object);
  if (class_name != QLatin1String("pelo::TSchedule") || schedule == nullptr) return nullptr;
  return new TScheduleTable(schedule);
}

void InstallScheduleAccessibility() { QAccessible::installFactory(&ScheduleAccessibleFactory); }

void AnnounceCursorMoves(TSchedule& schedule) {
  QObject::connect(&schedule, &TSchedule::OnJump, &schedule, [](TSchedule* sender) {
    // Only the table has cells to name (the factory may not be installed).
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(sender);
    if (table == nullptr || table->tableInterface() == nullptr) return;
    const TScheduleModel& model = sender->Model();
    const int index = (model.Row() - 1) * model.CellColumns() + model.Col() - 1;
    for (const QAccessible::Event type : {QAccessible::Selection, QAccessible::Focus}) {
      if (type == QAccessible::Focus && !sender->hasFocus()) continue;
      QAccessibleEvent event(sender, type);
      event.setChild(index);
      QAccessible::updateAccessibility(&event);
    }
  });
}

}  // namespace pelo
