#pragma once

// TGrid: the owner-drawn grid the schedule is built on. It keeps the geometry (counts,
// fixed title columns and rows, extents, grid lines, the scrolled position), the current cell
// with its selection, paints by calling DrawCell for every visible cell, maps points to cells
// and moves the current cell with the keyboard and the mouse. Derived classes draw the cells.

#include <QColor>
#include <QFlags>
#include <QRect>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

class QPainter;
class QScrollBar;

namespace pelo {

// Messages of the grid's programming errors.
inline constexpr const char* kGridIndexError = "グリッドインデックス が範囲を超えています";
inline constexpr const char* kFixedColsError = "固定列の数は列数より小さくなければなりません";
inline constexpr const char* kFixedRowsError = "固定行の数は行数より小さくなければなりません";

// Raised for geometry requests no correct caller makes (an index outside the grid, too many
// fixed columns or rows).
class EGridError : public std::out_of_range {
 public:
  explicit EGridError(const std::string& message) : std::out_of_range(message) {}
};

enum class TGridOption : unsigned {
  kFixedVertLine = 1u << 0,
  kFixedHorzLine = 1u << 1,
  kVertLine = 1u << 2,
  kHorzLine = 1u << 3,
  kRangeSelect = 1u << 4,
  kDrawFocusSelected = 1u << 5,
  kTabs = 1u << 6,
  kRowSelect = 1u << 7,
  kThumbTracking = 1u << 8,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum class TGridDrawFlag : unsigned {
  kSelected = 1u << 0,
  kFocused = 1u << 1,
  kFixed = 1u << 2,
};
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

enum class TScrollStyle { kNone, kHorizontal, kVertical, kBoth };
enum class TBorderStyle { kNone, kSingle };

// A cell position; -1 in both fields means "no cell".
struct TGridCoord {
  int Col = -1;
  int Row = -1;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// An inclusive block of cells.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool Contains(int col, int row) const noexcept {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TGrid : public QWidget {
  Q_OBJECT

 public:
  // A single border is a sunken frame of this width around the cells (the usual 3-D edge).
  static constexpr int kBorderWidth = 2;

  explicit TGrid(QWidget* parent = nullptr);
  ~TGrid() override;

  int ColCount() const noexcept { return cols_.count; }
  int RowCount() const noexcept { return rows_.count; }
  // Below 1 counts as 1; the fixed count, current cell and scrolled position follow.
  void SetColCount(int count);
  void SetRowCount(int count);

  int FixedCols() const noexcept { return cols_.fixed; }
  int FixedRows() const noexcept { return rows_.fixed; }
  // 0 .. count - 1, else EGridError.
  void SetFixedCols(int fixed);
  void SetFixedRows(int fixed);

  int DefaultColWidth() const noexcept { return cols_.default_extent; }
  int DefaultRowHeight() const noexcept { return rows_.default_extent; }
  // Discards every individual extent of the axis.
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);

  // Individual extents; EGridError for an index outside the grid.
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int width);
  void SetRowHeight(int row, int height);
  // Whether individual extents exist (they appear with the first individual value).
  bool HasColWidths() const noexcept { return !cols_.extents.empty(); }
  bool HasRowHeights() const noexcept { return !rows_.extents.empty(); }

  int GridLineWidth() const noexcept { return grid_line_width_; }
  void SetGridLineWidth(int width);
  TGridOptions Options() const noexcept { return options_; }
  void SetOptions(TGridOptions options);
  QColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(const QColor& color);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  TScrollStyle ScrollBars() const noexcept { return scroll_bars_; }
  void SetScrollBars(TScrollStyle style);
  TBorderStyle BorderStyle() const noexcept { return border_style_; }
  void SetBorderStyle(TBorderStyle style);
  bool DefaultDrawing() const noexcept { return default_drawing_; }
  void SetDefaultDrawing(bool on);

  int Col() const noexcept { return current_.Col; }
  int Row() const noexcept { return current_.Row; }
  TGridCoord Anchor() const noexcept { return anchor_; }
  // FocusCell with the other coordinate unchanged, the anchor moving along.
  void SetCol(int col);
  void SetRow(int row);
  // The block spanned by the anchor and the current cell (whole rows with row selection).
  TGridRect Selection() const noexcept;

  int LeftCol() const noexcept { return cols_.first; }
  int TopRow() const noexcept { return rows_.first; }
  // EGridError outside the grid; a fixed index means the first scrollable one.
  void SetLeftCol(int col);
  void SetTopRow(int row);
  // Scrollable columns (rows) shown whole from LeftCol (TopRow) on.
  int VisibleColCount() const;
  int VisibleRowCount() const;

  // Asks SelectCell; when allowed makes (col, row) current (and the anchor too when asked or
  // when range selection is off) and scrolls it into view. EGridError outside the grid.
  void FocusCell(int col, int row, bool move_anchor);

  // In widget coordinates; empty when the cell is not shown (scrolled away, starting beyond
  // the client area, or of zero extent). A partly shown cell gives its whole rectangle, so
  // derived grids lay out its content as if it were whole and the painter clips it.
  QRect CellRect(int col, int row) const;
  // The cell under a widget point, a cell owning the line after it; (-1, -1) outside.
  TGridCoord MouseCoord(int x, int y) const;
  // The area the cells live in: inside the border, left of and above the scroll bars.
  QRect ClientRect() const;

  QSize sizeHint() const override;

 protected:
  // Draws one cell into Canvas(); called by the painting loop for every visible cell.
  virtual void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) = 0;
  // Veto before the current cell moves.
  virtual bool SelectCell(int col, int row);
  // A double click of the left button; nothing by default.
  virtual void DblClick(QMouseEvent* event);

  // The painter of the running paint event; null outside painting.
  QPainter* Canvas() const noexcept { return canvas_; }
  // Between a press on a scrollable cell and the release.
  bool IsSelecting() const noexcept { return selecting_; }

  void InvalidateCell(int col, int row);

  // Derived grids do their own work first and then hand the event on to these.
  void paintEvent(QPaintEvent* event) override;
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
  // One axis of the grid: columns along x or rows along y.
  struct Axis {
    int count = 5;
    int fixed = 1;
    int default_extent = 0;
    std::vector<int> extents;  // empty until the first individual value
    int first = 1;             // LeftCol / TopRow
    int Extent(int i) const { return extents.empty() ? default_extent : extents[i]; }
  };
  // A shown cell along an axis: its index, start and extent relative to the client area.
  struct Span {
    int index;
    int pos;
    int extent;
  };

  int VertLineWidth() const noexcept;  // the lines between columns
  int HorzLineWidth() const noexcept;  // the lines between rows
  // Fixed cells, then the scrollable ones from Axis::first, while they start inside
  // client_extent.
  static std::vector<Span> ShownSpans(const Axis& axis, int line, int client_extent);
  static int FixedExtent(const Axis& axis, int line);
  // Smallest first index that still shows the last cell whole.
  static int MaxFirst(const Axis& axis, int line, int client_extent);
  // The first index that shows `index` whole, moved from the current one as little as needed.
  static int FirstShowing(const Axis& axis, int line, int client_extent, int index);
  static int WholeCount(const Axis& axis, int line, int client_extent);

  void SetCount(Axis& axis, int count);
  void SetFixed(Axis& axis, int fixed, const char* fixed_error);
  void SetExtent(Axis& axis, int index, int extent);
  void SetFirst(Axis& axis, int first);
  void CheckCell(int col, int row) const;
  // Takes the focus for a press; false when another widget keeps it.
  bool TakeFocus();
  void KeepCellsInGrid();
  // Moves the current cell without asking SelectCell; repaints what changed.
  void MoveCurrent(int col, int row, bool move_anchor);
  void InvalidateSelection(const TGridRect& sel);
  // After any change of geometry: scroll bars, client area, repaint.
  void GridChanged();
  void UpdateScrollBars();
  void OnScroll(Qt::Orientation orientation, int value);

  void PaintLines(QPainter& painter, const std::vector<Span>& cols, const std::vector<Span>& rows);
  void PaintCells(QPainter& painter, const QRegion& dirty, const std::vector<Span>& cols,
                  const std::vector<Span>& rows);

  Axis cols_;
  Axis rows_;
  int grid_line_width_ = 1;
  TGridOptions options_;
  QColor fixed_color_;
  QColor color_;
  TScrollStyle scroll_bars_ = TScrollStyle::kBoth;
  TBorderStyle border_style_ = TBorderStyle::kSingle;
  bool default_drawing_ = true;
  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  bool selecting_ = false;
  QScrollBar* horz_bar_ = nullptr;  // owned by this widget as Qt children
  QScrollBar* vert_bar_ = nullptr;
  bool horz_shown_ = false;
  bool vert_shown_ = false;
  QPainter* canvas_ = nullptr;
};

}  // namespace pelo
