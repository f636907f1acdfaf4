#include "widgets/Grids.h"

#include <qdrawutil.h>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdint>

namespace pelo {
namespace {

// Extents and line widths are kept below this so that no walk over the shown cells (which
// stops at the client edge) can overflow an int.
constexpr int kMaxExtent = 1 << 20;

constexpr TGridOptions kDefaultOptions = TGridOptions(TGridOption::kFixedVertLine) |
                                         TGridOption::kFixedHorzLine | TGridOption::kVertLine |
                                         TGridOption::kHorzLine | TGridOption::kRangeSelect;

int ClampExtent(int extent) { return std::clamp(extent, 0, kMaxExtent); }

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);

// How many of the shown spans are fixed cells (they come first).
template <typename Spans>
std::size_t FixedSpanCount(const Spans& spans, int fixed) {
  std::size_t n = 0;
  while (n < spans.size() && spans[n].index < fixed) ++n;
  return n;
}

}  // namespace

TGrid::TGrid(QWidget* parent) : QWidget(parent) {
  cols_.default_extent = 64;
  rows_.default_extent = 24;
  options_ = kDefaultOptions;
  fixed_color_ = palette().color(QPalette::Button);
  color_ = kSilver;
  setFocusPolicy(Qt::StrongFocus);
  // The paint loop covers every pixel itself, like an erase of the background would.
  setAttribute(Qt::WA_OpaquePaintEvent);

  // Children owned by this widget through Qt's parent link.
  horz_bar_ = new QScrollBar(Qt::Horizontal, this);
  horz_bar_->setObjectName(QStringLiteral("horzScrollBar"));
  horz_bar_->hide();
  vert_bar_ = new QScrollBar(Qt::Vertical, this);
  vert_bar_->setObjectName(QStringLiteral("vertScrollBar"));
  vert_bar_->hide();
  connect(horz_bar_, &QScrollBar::valueChanged, this,
          [this](int value) { OnScroll(Qt::Horizontal, value); });
  connect(vert_bar_, &QScrollBar::valueChanged, this,
          [this](int value) { OnScroll(Qt::Vertical, value); });
  UpdateScrollBars();
}

TGrid::~TGrid() = default;

// ---------------------------------------------------------------------------------------------
// Properties

void TGrid::SetColCount(int count) { SetCount(cols_, count); }
void TGrid::SetRowCount(int count) { SetCount(rows_, count); }
void TGrid::SetFixedCols(int fixed) { SetFixed(cols_, fixed, kFixedColsError); }
void TGrid::SetFixedRows(int fixed) { SetFixed(rows_, fixed, kFixedRowsError); }

void TGrid::SetDefaultColWidth(int width) {
  cols_.default_extent = ClampExtent(width);
  cols_.extents.clear();
  GridChanged();
}

void TGrid::SetDefaultRowHeight(int height) {
  rows_.default_extent = ClampExtent(height);
  rows_.extents.clear();
  GridChanged();
}

int TGrid::ColWidth(int col) const {
  if (col < 0 || col >= cols_.count) throw EGridError(kGridIndexError);
  return cols_.Extent(col);
}

int TGrid::RowHeight(int row) const {
  if (row < 0 || row >= rows_.count) throw EGridError(kGridIndexError);
  return rows_.Extent(row);
}

void TGrid::SetColWidth(int col, int width) { SetExtent(cols_, col, width); }
void TGrid::SetRowHeight(int row, int height) { SetExtent(rows_, row, height); }

void TGrid::SetGridLineWidth(int width) {
  grid_line_width_ = ClampExtent(width);
  GridChanged();
}

void TGrid::SetOptions(TGridOptions options) {
  options_ = options;
  GridChanged();  // the lines decide the effective line widths
}

void TGrid::SetFixedColor(const QColor& color) {
  fixed_color_ = color;
  update();
}

void TGrid::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TGrid::SetScrollBars(TScrollStyle style) {
  scroll_bars_ = style;
  GridChanged();
}

void TGrid::SetBorderStyle(TBorderStyle style) {
  border_style_ = style;
  GridChanged();
}

void TGrid::SetDefaultDrawing(bool on) {
  default_drawing_ = on;
  update();
}

void TGrid::SetCol(int col) { FocusCell(col, current_.Row, true); }
void TGrid::SetRow(int row) { FocusCell(current_.Col, row, true); }

TGridRect TGrid::Selection() const noexcept {
  TGridRect sel{std::min(anchor_.Col, current_.Col), std::min(anchor_.Row, current_.Row),
                std::max(anchor_.Col, current_.Col), std::max(anchor_.Row, current_.Row)};
  if (options_.testFlag(TGridOption::kRowSelect)) {
    sel.Left = cols_.fixed;
    sel.Right = cols_.count - 1;
  }
  return sel;
}

void TGrid::SetLeftCol(int col) {
  if (col < 0 || col >= cols_.count) throw EGridError(kGridIndexError);
  SetFirst(cols_, col);
}

void TGrid::SetTopRow(int row) {
  if (row < 0 || row >= rows_.count) throw EGridError(kGridIndexError);
  SetFirst(rows_, row);
}

int TGrid::VisibleColCount() const {
  return WholeCount(cols_, VertLineWidth(), ClientRect().width());
}

int TGrid::VisibleRowCount() const {
  return WholeCount(rows_, HorzLineWidth(), ClientRect().height());
}

// ---------------------------------------------------------------------------------------------
// Current cell

bool TGrid::SelectCell(int /*col*/, int /*row*/) { return true; }

void TGrid::DblClick(QMouseEvent* /*event*/) {}

void TGrid::FocusCell(int col, int row, bool move_anchor) {
  CheckCell(col, row);
  if (!SelectCell(col, row)) return;
  MoveCurrent(col, row, move_anchor);
}

void TGrid::MoveCurrent(int col, int row, bool move_anchor) {
  // Without range selection the selection is always the current cell alone.
  if (!options_.testFlag(TGridOption::kRangeSelect)) move_anchor = true;
  const TGridRect old_sel = Selection();
  current_ = {col, row};
  if (move_anchor) anchor_ = current_;

  const QRect client = ClientRect();
  const int left = FirstShowing(cols_, VertLineWidth(), client.width(), col);
  const int top = FirstShowing(rows_, HorzLineWidth(), client.height(), row);
  if (left != cols_.first || top != rows_.first) {
    cols_.first = left;
    rows_.first = top;
    GridChanged();
    return;
  }
  InvalidateSelection(old_sel);
  InvalidateSelection(Selection());
}

void TGrid::CheckCell(int col, int row) const {
  if (col < 0 || col >= cols_.count || row < 0 || row >= rows_.count) {
    throw EGridError(kGridIndexError);
  }
}

void TGrid::KeepCellsInGrid() {
  current_.Col = std::clamp(current_.Col, 0, cols_.count - 1);
  current_.Row = std::clamp(current_.Row, 0, rows_.count - 1);
  anchor_.Col = std::clamp(anchor_.Col, 0, cols_.count - 1);
  anchor_.Row = std::clamp(anchor_.Row, 0, rows_.count - 1);
  cols_.first = std::clamp(cols_.first, cols_.fixed, cols_.count - 1);
  rows_.first = std::clamp(rows_.first, rows_.fixed, rows_.count - 1);
}

// ---------------------------------------------------------------------------------------------
// Geometry

int TGrid::VertLineWidth() const noexcept {
  return options_ & (TGridOptions(TGridOption::kFixedVertLine) | TGridOption::kVertLine)
             ? grid_line_width_
             : 0;
}

int TGrid::HorzLineWidth() const noexcept {
  return options_ & (TGridOptions(TGridOption::kFixedHorzLine) | TGridOption::kHorzLine)
             ? grid_line_width_
             : 0;
}

std::vector<TGrid::Span> TGrid::ShownSpans(const Axis& axis, int line, int client_extent) {
  std::vector<Span> spans;
  int pos = 0;
  for (int i = 0; i < axis.fixed && pos < client_extent; ++i) {
    spans.push_back({i, pos, axis.Extent(i)});
    pos += axis.Extent(i) + line;
  }
  for (int i = axis.first; i < axis.count && pos < client_extent; ++i) {
    spans.push_back({i, pos, axis.Extent(i)});
    pos += axis.Extent(i) + line;
  }
  return spans;
}

int TGrid::FixedExtent(const Axis& axis, int line) {
  int64_t pos = 0;
  for (int i = 0; i < axis.fixed; ++i) pos += axis.Extent(i) + line;
  return static_cast<int>(std::min<int64_t>(pos, INT32_MAX));
}

int TGrid::MaxFirst(const Axis& axis, int line, int client_extent) {
  const int64_t room = static_cast<int64_t>(client_extent) - FixedExtent(axis, line);
  int first = axis.count - 1;
  // The last cell must be whole; the line after it may be cut.
  int64_t used = axis.Extent(first);
  if (used > room) return first;
  while (first > axis.fixed) {
    const int64_t more = used + axis.Extent(first - 1) + line;
    if (more > room) break;
    used = more;
    --first;
  }
  return first;
}

int TGrid::FirstShowing(const Axis& axis, int line, int client_extent, int index) {
  if (index < axis.fixed) return axis.first;
  if (index < axis.first) return index;
  const int64_t room = static_cast<int64_t>(client_extent) - FixedExtent(axis, line);
  int first = axis.first;
  int64_t end = axis.Extent(index);
  for (int i = first; i < index; ++i) end += axis.Extent(i) + line;
  while (first < index && end > room) {
    end -= axis.Extent(first) + line;
    ++first;
  }
  return first;
}

int TGrid::WholeCount(const Axis& axis, int line, int client_extent) {
  const int64_t room = static_cast<int64_t>(client_extent) - FixedExtent(axis, line);
  int64_t pos = 0;
  int n = 0;
  for (int i = axis.first; i < axis.count && pos + axis.Extent(i) <= room; ++i) {
    ++n;
    pos += axis.Extent(i) + line;
  }
  return n;
}

QRect TGrid::ClientRect() const {
  QRect client = rect();
  if (border_style_ == TBorderStyle::kSingle) {
    client.adjust(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
  }
  if (vert_shown_) client.setRight(client.right() - vert_bar_->sizeHint().width());
  if (horz_shown_) client.setBottom(client.bottom() - horz_bar_->sizeHint().height());
  return client;
}

QRect TGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= cols_.count || row < 0 || row >= rows_.count) return {};
  const QRect client = ClientRect();
  const auto find = [](const std::vector<Span>& spans, int index) -> const Span* {
    for (const Span& span : spans) {
      if (span.index == index) return &span;
    }
    return nullptr;
  };
  const std::vector<Span> cols = ShownSpans(cols_, VertLineWidth(), client.width());
  const std::vector<Span> rows = ShownSpans(rows_, HorzLineWidth(), client.height());
  const Span* x = find(cols, col);
  const Span* y = find(rows, row);
  if (x == nullptr || y == nullptr) return {};
  const QRect cell(client.left() + x->pos, client.top() + y->pos, x->extent, y->extent);
  return cell.isEmpty() ? QRect() : cell;
}

TGridCoord TGrid::MouseCoord(int x, int y) const {
  const QRect client = ClientRect();
  if (!client.contains(x, y)) return {};
  const auto find = [](const std::vector<Span>& spans, int line, int pos) {
    for (const Span& span : spans) {
      if (pos >= span.pos && pos < span.pos + span.extent + line) return span.index;
    }
    return -1;
  };
  const int col =
      find(ShownSpans(cols_, VertLineWidth(), client.width()), VertLineWidth(), x - client.left());
  const int row =
      find(ShownSpans(rows_, HorzLineWidth(), client.height()), HorzLineWidth(), y - client.top());
  if (col < 0 || row < 0) return {};
  return {col, row};
}

QSize TGrid::sizeHint() const {
  const auto total = [](const Axis& axis, int line) {
    int64_t sum = 0;
    for (int i = 0; i < axis.count; ++i) sum += axis.Extent(i) + line;
    return static_cast<int>(std::min<int64_t>(sum, QWIDGETSIZE_MAX / 2));
  };
  const int frame = border_style_ == TBorderStyle::kSingle ? 2 * kBorderWidth : 0;
  return {total(cols_, VertLineWidth()) + frame, total(rows_, HorzLineWidth()) + frame};
}

void TGrid::SetCount(Axis& axis, int count) {
  count = std::max(count, 1);
  if (count == axis.count) return;
  if (axis.fixed >= count) axis.fixed = count - 1;
  if (!axis.extents.empty())
    axis.extents.resize(static_cast<std::size_t>(count), axis.default_extent);
  axis.count = count;
  KeepCellsInGrid();
  GridChanged();
}

void TGrid::SetFixed(Axis& axis, int fixed, const char* fixed_error) {
  if (fixed < 0) throw EGridError(kGridIndexError);
  if (fixed >= axis.count) throw EGridError(fixed_error);
  axis.fixed = fixed;
  // The cursor and the scrolled position leave the title cells.
  int TGridCoord::*field = &axis == &cols_ ? &TGridCoord::Col : &TGridCoord::Row;
  current_.*field = std::max(current_.*field, fixed);
  anchor_.*field = std::max(anchor_.*field, fixed);
  axis.first = std::max(axis.first, fixed);
  GridChanged();
}

void TGrid::SetExtent(Axis& axis, int index, int extent) {
  if (index < 0 || index >= axis.count) throw EGridError(kGridIndexError);
  if (axis.extents.empty()) {
    axis.extents.assign(static_cast<std::size_t>(axis.count), axis.default_extent);
  }
  axis.extents[static_cast<std::size_t>(index)] = ClampExtent(extent);
  GridChanged();
}

void TGrid::SetFirst(Axis& axis, int first) {
  first = std::max(first, axis.fixed);
  if (first == axis.first) return;
  axis.first = first;
  GridChanged();
}

void TGrid::GridChanged() {
  UpdateScrollBars();
  update();
}

// A scroll bar the style asks for shows only while there is something to scroll along its
// axis, so a grid that fits keeps its whole client area.
void TGrid::UpdateScrollBars() {
  QRect inner = rect();
  if (border_style_ == TBorderStyle::kSingle) {
    inner.adjust(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
  }
  const bool want_horz =
      scroll_bars_ == TScrollStyle::kHorizontal || scroll_bars_ == TScrollStyle::kBoth;
  const bool want_vert =
      scroll_bars_ == TScrollStyle::kVertical || scroll_bars_ == TScrollStyle::kBoth;
  const int bar_height = horz_bar_->sizeHint().height();
  const int bar_width = vert_bar_->sizeHint().width();
  bool need_horz = false;
  bool need_vert = false;
  // Each bar takes room from the other axis; two passes settle it since needs only grow.
  for (int pass = 0; pass < 2; ++pass) {
    const int width = inner.width() - (need_vert ? bar_width : 0);
    const int height = inner.height() - (need_horz ? bar_height : 0);
    need_horz = want_horz && (MaxFirst(cols_, VertLineWidth(), width) > cols_.fixed ||
                              cols_.first > cols_.fixed);
    need_vert = want_vert && (MaxFirst(rows_, HorzLineWidth(), height) > rows_.fixed ||
                              rows_.first > rows_.fixed);
  }
  horz_shown_ = need_horz;
  vert_shown_ = need_vert;
  const QRect client = ClientRect();

  const bool tracking = options_.testFlag(TGridOption::kThumbTracking);
  const auto place = [&](QScrollBar* bar, bool shown, const QRect& where, const Axis& axis,
                         int line, int client_extent) {
    const QSignalBlocker blocker(bar);
    bar->setVisible(shown);
    if (!shown) return;
    bar->setGeometry(where);
    bar->setTracking(tracking);
    bar->setRange(axis.fixed, std::max(MaxFirst(axis, line, client_extent), axis.first));
    bar->setSingleStep(1);
    bar->setPageStep(std::max(1, WholeCount(axis, line, client_extent)));
    bar->setValue(axis.first);
  };
  place(horz_bar_, need_horz, QRect(client.left(), client.bottom() + 1, client.width(), bar_height),
        cols_, VertLineWidth(), client.width());
  place(vert_bar_, need_vert, QRect(client.right() + 1, client.top(), bar_width, client.height()),
        rows_, HorzLineWidth(), client.height());
}

void TGrid::OnScroll(Qt::Orientation orientation, int value) {
  Axis& axis = orientation == Qt::Horizontal ? cols_ : rows_;
  if (value < 0 || value >= axis.count) return;
  SetFirst(axis, value);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TGrid::InvalidateCell(int col, int row) {
  const QRect cell = CellRect(col, row);
  if (!cell.isEmpty()) update(cell);
}

void TGrid::InvalidateSelection(const TGridRect& sel) {
  const QRect client = ClientRect();
  const std::vector<Span> rows = ShownSpans(rows_, HorzLineWidth(), client.height());
  QRect dirty;
  for (const Span& x : ShownSpans(cols_, VertLineWidth(), client.width())) {
    if (x.index < sel.Left || x.index > sel.Right) continue;
    for (const Span& y : rows) {
      if (y.index < sel.Top || y.index > sel.Bottom) continue;
      dirty |= QRect(client.left() + x.pos, client.top() + y.pos, x.extent, y.extent);
    }
  }
  if (!dirty.isEmpty()) update(dirty);
}

void TGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // DrawCell reaches the painter through Canvas() while this event runs.
  struct CanvasScope {
    QPainter*& slot;
    ~CanvasScope() { slot = nullptr; }
  } scope{canvas_};
  canvas_ = &painter;

  if (border_style_ == TBorderStyle::kSingle) qDrawWinPanel(&painter, rect(), palette(), true);
  const QRect client = ClientRect();
  if (horz_shown_ && vert_shown_) {
    // The square where the two scroll bars meet.
    painter.fillRect(QRect(vert_bar_->x(), horz_bar_->y(), vert_bar_->width(), horz_bar_->height()),
                     palette().color(QPalette::Window));
  }
  if (client.isEmpty()) return;
  painter.setClipRect(client);
  // The control's colour under everything: it is what shows right of the last column, below
  // the last row and in line gaps no line option covers.
  painter.fillRect(client, color_);

  const std::vector<Span> cols = ShownSpans(cols_, VertLineWidth(), client.width());
  const std::vector<Span> rows = ShownSpans(rows_, HorzLineWidth(), client.height());
  PaintLines(painter, cols, rows);
  PaintCells(painter, event->region(), cols, rows);
}

void TGrid::PaintLines(QPainter& painter, const std::vector<Span>& cols,
                       const std::vector<Span>& rows) {
  const int vert_line = VertLineWidth();
  const int horz_line = HorzLineWidth();
  if (vert_line == 0 && horz_line == 0) return;
  const QPoint origin = ClientRect().topLeft();
  const std::size_t fixed_cols = FixedSpanCount(cols, cols_.fixed);
  const std::size_t fixed_rows = FixedSpanCount(rows, rows_.fixed);

  // One area: the columns [c0, c1) by the rows [r0, r1) of the shown spans.
  const auto area = [&](std::size_t c0, std::size_t c1, std::size_t r0, std::size_t r1, bool vert,
                        bool horz, const QColor& color) {
    if (c0 >= c1 || r0 >= r1) return;
    const int x0 = cols[c0].pos;
    const int x1 = cols[c1 - 1].pos + cols[c1 - 1].extent + vert_line;
    const int y0 = rows[r0].pos;
    const int y1 = rows[r1 - 1].pos + rows[r1 - 1].extent + horz_line;
    if (vert && vert_line > 0) {
      for (std::size_t c = c0; c < c1; ++c) {
        painter.fillRect(origin.x() + cols[c].pos + cols[c].extent, origin.y() + y0, vert_line,
                         y1 - y0, color);
      }
    }
    if (horz && horz_line > 0) {
      for (std::size_t r = r0; r < r1; ++r) {
        painter.fillRect(origin.x() + x0, origin.y() + rows[r].pos + rows[r].extent, x1 - x0,
                         horz_line, color);
      }
    }
  };

  const bool fixed_vert = options_.testFlag(TGridOption::kFixedVertLine);
  const bool fixed_horz = options_.testFlag(TGridOption::kFixedHorzLine);
  const QColor fixed_line(Qt::black);
  area(0, fixed_cols, 0, fixed_rows, fixed_vert, fixed_horz, fixed_line);
  area(fixed_cols, cols.size(), 0, fixed_rows, fixed_vert, fixed_horz, fixed_line);
  area(0, fixed_cols, fixed_rows, rows.size(), fixed_vert, fixed_horz, fixed_line);
  // Between the scrollable cells the lines take the control's own colour, so the gaps read as
  // background; silver, the default, gets a darker grey to stay visible.
  const QColor line = color_.rgb() == kSilver.rgb() ? kGrey : color_;
  area(fixed_cols, cols.size(), fixed_rows, rows.size(), options_.testFlag(TGridOption::kVertLine),
       options_.testFlag(TGridOption::kHorzLine), line);
}

void TGrid::PaintCells(QPainter& painter, const QRegion& dirty, const std::vector<Span>& cols,
                       const std::vector<Span>& rows) {
  const QPoint origin = ClientRect().topLeft();
  const bool has_focus = hasFocus();
  const TGridRect sel = Selection();
  const bool focus_selected = options_.testFlag(TGridOption::kDrawFocusSelected) ||
                              options_.testFlag(TGridOption::kRowSelect);
  const bool focus_frame = !options_.testFlag(TGridOption::kRowSelect);
  for (const Span& y : rows) {
    for (const Span& x : cols) {
      const QRect cell(origin.x() + x.pos, origin.y() + y.pos, x.extent, y.extent);
      if (cell.isEmpty() || !dirty.intersects(cell)) continue;
      const bool fixed = x.index < cols_.fixed || y.index < rows_.fixed;
      const bool focused = has_focus && x.index == current_.Col && y.index == current_.Row;
      TGridDrawState state;
      if (fixed) state |= TGridDrawFlag::kFixed;
      if (focused) state |= TGridDrawFlag::kFocused;
      if (sel.Contains(x.index, y.index)) state |= TGridDrawFlag::kSelected;

      painter.save();
      if (default_drawing_) {
        QColor fill = color_;
        if (fixed) {
          fill = fixed_color_;
        } else if (state.testFlag(TGridDrawFlag::kSelected) && (!focused || focus_selected)) {
          fill = palette().color(QPalette::Highlight);
          painter.setPen(palette().color(QPalette::HighlightedText));
        }
        painter.fillRect(cell, fill);
      }
      DrawCell(x.index, y.index, cell, state);
      painter.restore();

      if (default_drawing_ && fixed) {
        // Raised edge: light above and left, dark below and right.
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), 1), light);
        painter.fillRect(QRect(cell.left(), cell.top(), 1, cell.height()), light);
        painter.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), dark);
        painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), dark);
      }
      if (default_drawing_ && focused && focus_frame) {
        painter.save();
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.restore();
      }
    }
  }
}

void TGrid::resizeEvent(QResizeEvent* /*event*/) { UpdateScrollBars(); }

// ---------------------------------------------------------------------------------------------
// Mouse and keyboard

bool TGrid::TakeFocus() {
  if (!(focusPolicy() & Qt::ClickFocus)) return true;
  setFocus(Qt::MouseFocusReason);
  // Some other widget may keep the focus; the press ends there.
  return window()->focusWidget() == this;
}

void TGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (!TakeFocus()) {
    selecting_ = false;
    return;
  }
  const QPoint pos = event->position().toPoint();
  const TGridCoord hit = MouseCoord(pos.x(), pos.y());
  // Title cells take no press (no sizing, no moving); outside the cells neither.
  if (hit.Col < cols_.fixed || hit.Row < rows_.fixed) return;
  selecting_ = true;
  // A plain press leaves the current cell alone: a derived grid places its own cursor first.
  if (event->modifiers().testFlag(Qt::ShiftModifier) && hit != current_ &&
      SelectCell(hit.Col, hit.Row)) {
    MoveCurrent(hit.Col, hit.Row, false);
  }
}

void TGrid::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  const TGridCoord hit = MouseCoord(pos.x(), pos.y());
  // Compared with the current cell, not the anchor: dragging back onto the anchor of a range
  // shrinks the range again.
  if (hit.Col < cols_.fixed || hit.Row < rows_.fixed || hit == current_) return;
  if (SelectCell(hit.Col, hit.Row)) MoveCurrent(hit.Col, hit.Row, false);
}

void TGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) selecting_ = false;
}

void TGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (!TakeFocus()) return;
  DblClick(event);
}

// The keys move within the scrollable cells; Home/End go to the first/last column (with Ctrl
// also the first/last row), the page keys by the rows shown whole. With range selection,
// Shift keeps the anchor so the selection grows.
void TGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods.testFlag(Qt::ControlModifier);
  const int first_col = cols_.fixed;
  const int first_row = rows_.fixed;
  const int last_col = cols_.count - 1;
  const int last_row = rows_.count - 1;
  const int page = std::max(1, VisibleRowCount());
  int col = current_.Col;
  int row = current_.Row;
  switch (event->key()) {
    case Qt::Key_Left:
      col = std::max(first_col, col - 1);
      break;
    case Qt::Key_Right:
      col = std::min(last_col, col + 1);
      break;
    case Qt::Key_Up:
      row = std::max(first_row, row - 1);
      break;
    case Qt::Key_Down:
      row = std::min(last_row, row + 1);
      break;
    case Qt::Key_Home:
      col = first_col;
      if (ctrl) row = first_row;
      break;
    case Qt::Key_End:
      col = last_col;
      if (ctrl) row = last_row;
      break;
    case Qt::Key_PageUp:
      row = std::max(first_row, row - page);
      break;
    case Qt::Key_PageDown:
      row = std::min(last_row, row + page);
      break;
    case Qt::Key_Tab:
      if (!options_.testFlag(TGridOption::kTabs)) {
        QWidget::keyPressEvent(event);
        return;
      }
      if (col < last_col) {
        ++col;
      } else if (row < last_row) {
        col = first_col;
        ++row;
      }
      break;
    case Qt::Key_Backtab:
      if (!options_.testFlag(TGridOption::kTabs)) {
        QWidget::keyPressEvent(event);
        return;
      }
      if (col > first_col) {
        --col;
      } else if (row > first_row) {
        col = last_col;
        --row;
      }
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  if (col == current_.Col && row == current_.Row) return;
  if (!SelectCell(col, row)) return;
  const bool extend = mods.testFlag(Qt::ShiftModifier) && event->key() != Qt::Key_Backtab;
  MoveCurrent(col, row, !extend);
}

bool TGrid::event(QEvent* event) {
  // With the tabs option Tab moves between cells instead of leaving the grid.
  if (event->type() == QEvent::KeyPress && options_.testFlag(TGridOption::kTabs)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        !key->modifiers().testFlag(Qt::ControlModifier)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::event(event);
}

// Only the current cell changes its look with the focus.
void TGrid::focusInEvent(QFocusEvent* /*event*/) { InvalidateCell(current_.Col, current_.Row); }

void TGrid::focusOutEvent(QFocusEvent* /*event*/) {
  selecting_ = false;
  InvalidateCell(current_.Col, current_.Row);
}

}  // namespace pelo
