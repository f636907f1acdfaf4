#include "widgets/Schedules.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QToolTip>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "calendar/DateTexts.h"
#include "calendar/IntegerMath.h"
#include "calendar/Kyurekis.h"
#include "entries/Entries.h"
#include "text/Texts.h"
#include "widgets/Colors.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/QtTextMeasurers.h"
#include "widgets/ScheduleMenus.h"

namespace pelo {

namespace {

// A drag starts once the mouse has left the press by more than this, in x or in y.
constexpr int kDragThreshold = 10;

constexpr char kMoveQuestionHead[] = "\"";
constexpr char kMoveQuestionMiddle[] = "\" を ";
constexpr char kMoveQuestionTail[] = " に移動します。よろしいですか？";
constexpr char kCopyQuestionTail[] = " にｺﾋﾟｰします。よろしいですか？";
constexpr char kDeleteQuestionTail[] = "\" を削除してもよろしいですか？";
constexpr char kMoveItem[] = "この日に移動(&M)";
constexpr char kCopyItem[] = "この日にコピー(&C)";
constexpr char kCancelItem[] = "ｷｬﾝｾﾙ";

// The pixels of a frame style, whatever a caller set.
int FrameWidth(int32_t style) {
  return static_cast<int>(std::min<int64_t>(std::abs(int64_t{style}), kMaxFrameWidth));
}

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

std::string TwoDigits(int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", static_cast<int>(((value % 100) + 100) % 100));
  return buffer;
}

// A colour with bits in the top byte names one of the platform's system colours by its
// index; the nearest roles of the palette stand in for them.
QColor SystemColor(uint32_t code, const QPalette& palette) {
  switch (code & 0xFFu) {
    case 0:   // scroll bar
    case 15:  // button face
    case 22:  // light 3D
      return palette.color(QPalette::Button);
    case 1:   // desktop
    case 16:  // button shadow
    case 17:  // grey text
      return palette.color(QPalette::Dark);
    case 2:   // active caption
    case 13:  // highlight
      return palette.color(QPalette::Highlight);
    case 14:  // highlight text
    case 9:   // caption text
      return palette.color(QPalette::HighlightedText);
    case 4:  // menu
      return palette.color(QPalette::Window);
    case 5:  // window
      return palette.color(QPalette::Base);
    case 6:   // window frame
    case 21:  // dark 3D
      return palette.color(QPalette::Shadow);
    case 7:  // menu text
    case 8:  // window text
      return palette.color(QPalette::WindowText);
    case 18:  // button text
      return palette.color(QPalette::ButtonText);
    case 20:  // button highlight
      return palette.color(QPalette::Light);
    case 23:  // tooltip text
      return palette.color(QPalette::ToolTipText);
    case 24:  // tooltip background
      return palette.color(QPalette::ToolTipBase);
    default:
      return palette.color(QPalette::Window);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Making and settings

TSchedule::TSchedule(TMeasuredDocument& parts, QWidget* parent)
    : TGrid(parent),
      document_(parts.Document),
      measurer_(parts.Measurer),
      notices_(parts.Document.Notices()),
      model_(parts.Document.Calendar()) {
  measurer_.SetWidget(this);
  setObjectName(QStringLiteral("Schedule"));
  SetBorderStyle(TBorderStyle::kNone);
  SetScrollBars(TScrollStyle::kNone);
  SetOptions(TGridOptions(TGridOption::kVertLine) | TGridOption::kHorzLine);
  SetDefaultDrawing(false);
  SetGridLineWidth(settings_.LineWidth);

  const QScreen* screen = QGuiApplication::primaryScreen();
  label_margin_ = screen != nullptr && screen->geometry().height() < 600 ? 2 : 4;

  TakeFontsAndColors();

  drop_menu_ = new QMenu(this);
  drop_menu_->setObjectName(QStringLiteral("dropMenu"));
  move_action_ = drop_menu_->addAction(QString::fromUtf8(kMoveItem));
  copy_action_ = drop_menu_->addAction(QString::fromUtf8(kCopyItem));
  drop_menu_->addSeparator();
  drop_menu_->addAction(QString::fromUtf8(kCancelItem));
  drop_menu_->setDefaultAction(move_action_);

  EntryList().OnSetTable = [this](TEntryList&, int32_t index, int32_t rate) {
    emit OnSetTable(this, index, rate);
  };
  EntryList().OnLoadFromFile = [this](TEntryList&, const std::string& path) {
    emit OnLoadFromFile(this, ToQString(path));
  };
  document_.AddObserver(*this);
  PushDisplaySettings();

  resize(169, 177);
  RebuildLayout(true);
  kept_settings_ = GetSettings();
}

TSchedule::~TSchedule() {
  document_.RemoveObserver(*this);
  EntryList().OnSetTable = nullptr;
  EntryList().OnLoadFromFile = nullptr;
  measurer_.SetWidget(nullptr);
}

void TSchedule::ApplySettings(const TScheduleSettings& settings) {
  const int64_t old_cells = int64_t{model_.Cycle()} * model_.Term();
  const int64_t new_cells = int64_t{settings.Cycle} * settings.Term;
  const bool reload =
      !(settings.Filter == settings_.Filter) || new_cells - old_cells > kMaxCellCount;
  const bool reorder = settings.SortByTime != settings_.SortByTime;
  settings_ = settings;
  model_.AssignLayout(settings);
  document_.SetFilter(settings_.Filter);
  document_.SetSortByTime(settings_.SortByTime);
  TakeFontsAndColors();
  PushDisplaySettings();
  kept_settings_ = settings;
  if (reorder && !reload) RefillLines();
  RebuildLayout(reload);
}

void TSchedule::SetSortByTime(bool sort) {
  if (sort == settings_.SortByTime) return;
  settings_.SortByTime = sort;
  kept_settings_.SortByTime = sort;
  document_.SetSortByTime(sort);
  RefillLines();
}

TScheduleSettings TSchedule::GetSettings() const {
  TScheduleSettings out = settings_;
  static_cast<TScheduleLayout&>(out) = model_.Layout();
  out.Visible = false;
  for (int32_t i = 0; i < kScheduleFontCount; ++i) out.Fonts[i] = FontToText(fonts_[i]);
  return out;
}

void TSchedule::TakeFontsAndColors() {
  for (int32_t i = 0; i < kScheduleFontCount; ++i) {
    fonts_[i] = TFontSpec{};
    TextToFont(settings_.Fonts[i], fonts_[i]);
  }
  ResolveColors();
  fonts_[kFontEntryText].Color = paint_colors_[kColorEntryText];
  MeasureLabels();
}

void TSchedule::ResolveColors() {
  for (std::size_t i = 0; i < paint_colors_.size(); ++i) {
    const uint32_t color = settings_.Colors[i];
    paint_colors_[i] = (color >> 24) != 0 ? FromQColor(SystemColor(color, palette())) : color;
  }
  SetColor(ToQColor(paint_colors_[kColorControlBack]));
}

QColor TSchedule::PaintColor(int32_t index) const {
  return ToQColor(paint_colors_.at(static_cast<std::size_t>(index)));
}

void TSchedule::MeasureLabels() {
  const QFontMetrics& title = measurer_.Metrics(fonts_[kFontTitle], 100);
  const QFontMetrics& number = measurer_.Metrics(fonts_[kFontDayNumber], 100);
  title_height_ = title.height() + 4;
  date_label_width_ = number.horizontalAdvance(QStringLiteral("28")) + 4;
  date_label_height_ = number.height() + 4;
}

void TSchedule::PushDisplaySettings() {
  Table().SetDisplay(
      CellDisplayOf(settings_, fonts_[kFontEntryText], paint_colors_[kColorSelectedLine]));
}

void TSchedule::SetCycle(int32_t value) { FinishRebuild(model_.SetCycle(value)); }
void TSchedule::SetTerm(int32_t value) { FinishRebuild(model_.SetTerm(value)); }

// ---------------------------------------------------------------------------------------------
// Layout

void TSchedule::RebuildLayout(bool reload) { FinishRebuild(model_.RebuildLayout(reload)); }

void TSchedule::SyncGrid(bool reset_scroll) {
  SetGridLineWidth(settings_.LineWidth);
  SetColCount(model_.GridColumns());
  SetRowCount(model_.GridRows());
  if (FixedCols() != 1) SetFixedCols(1);
  if (FixedRows() != 1) SetFixedRows(1);
  if (reset_scroll) {
    SetLeftCol(1);
    SetTopRow(1);
  }
}

void TSchedule::FinishRebuild(const TRebuildResult& result) {
  if (!result.rebuilt) return;
  SyncGrid(result.grid_resized);
  FitCells();
  if (result.reload) FullReload();
  ShowPlacement(result.placement);
  update();
}

void TSchedule::FitCells() {
  const TCellSizes sizes =
      model_.FitCells(width(), height(), title_height_, settings_.LineWidth, settings_.DispTitle);
  SetDefaultColWidth(sizes.day_column_width);
  SetDefaultRowHeight(sizes.day_row_height);
  SetColWidth(0, sizes.title_column_width);
  SetRowHeight(0, sizes.title_row_height);
  // The division leaves a few pixels over; the last columns and rows take one more each, so
  // the cells reach the control's right and bottom edges.
  const int32_t line = settings_.LineWidth;
  const int64_t columns = model_.GridColumns() - 1;
  const int64_t rows = model_.GridRows() - 1;
  const int64_t rest_across =
      width() - columns * (line + sizes.day_column_width) - sizes.title_column_width;
  const int64_t rest_down =
      height() - rows * (line + sizes.day_row_height) - sizes.title_row_height;
  for (int64_t i = 0; i < std::min(rest_across, columns); ++i) {
    SetColWidth(static_cast<int>(columns - i), sizes.day_column_width + 1);
  }
  for (int64_t i = 0; i < std::min(rest_down, rows); ++i) {
    SetRowHeight(static_cast<int>(rows - i), sizes.day_row_height + 1);
  }
}

void TSchedule::resizeEvent(QResizeEvent* event) {
  TGrid::resizeEvent(event);
  FitCells();
}

// ---------------------------------------------------------------------------------------------
// Cursor

TDateRec TSchedule::CursorDate() const noexcept { return model_.CursorDate(); }
TDateRec TSchedule::TopDate() const noexcept { return model_.TopDate(); }
TDateRec TSchedule::EndDate() const noexcept { return model_.EndDate(); }
int32_t TSchedule::Year() const noexcept { return model_.Year(); }
int32_t TSchedule::Month() const noexcept { return model_.Month(); }
int32_t TSchedule::Day() const noexcept { return model_.Day(); }

void TSchedule::SetYear(int32_t year) { ShowPlacement(model_.SetYear(year)); }
void TSchedule::SetMonth(int32_t month) { ShowPlacement(model_.SetMonth(month)); }
void TSchedule::SetDay(int32_t day) { ShowPlacement(model_.SetDay(day)); }
void TSchedule::SetCursorDate(TDateRec date) { ShowPlacement(model_.SetCursorDate(date)); }
void TSchedule::MoveDate(int32_t years, int32_t months, int32_t days) {
  ShowPlacement(model_.MoveDate(years, months, days));
}
void TSchedule::JumpToday() { ShowPlacement(model_.JumpToday()); }
void TSchedule::JumpDate(TDateRec date) { ShowPlacement(model_.JumpDate(date)); }

void TSchedule::ShowPlacement(const TCursorPlacement& placement) {
  switch (placement.notice) {
    case TCursorNotice::kOutOfRange:
    case TCursorNotice::kNonexistent:
      notices_.Beep(TBeepKind::kPlain);
      notices_.Information(CursorNoticeText(placement.notice));
      break;
    case TCursorNotice::kCannotShow:
      notices_.Beep(TBeepKind::kExclamation);
      notices_.Information(CursorNoticeText(placement.notice));
      break;
    case TCursorNotice::kNone:
      break;
  }
  if (!placement.moved) return;
  // Cheap when nothing changed; run after every placement because a grid size change moves
  // TopDate as well, not only a relayout of the cursor.
  CheckYearWindow();
  placing_cursor_ = true;
  FocusCell(placement.column, placement.row, true);
  placing_cursor_ = false;
  if (placement.relayout || placement.notice == TCursorNotice::kCannotShow) update();
  Table().FocusDate(model_.CursorDate());
  emit OnJump(this);
  if (!suppress_focus_change_) emit OnFocusEntryChange(this);
}

// The grid base may move its current cell by itself while the mouse is held down; here the
// cursor date and the current cell always go together, so only the schedule's own placements
// are let through (a press places the cursor before the grid sees it).
bool TSchedule::SelectCell(int col, int row) {
  return placing_cursor_ && model_.CellHasDate(col, row);
}

// ---------------------------------------------------------------------------------------------
// Refresh cycle

void TSchedule::BeforeRebuild(TScheduleDocument& /*document*/) { emit OnPreRefresh(this); }

void TSchedule::Changed(TScheduleDocument& /*document*/, TChange change) {
  if (change == TChange::kEntries) emit OnRefresh(this);
  update();
}

void TSchedule::SetCalendarKind(TCalendarKind kind) {
  if (kind == Calendar().Kind()) return;
  // Every entry is evaluated again: conditions and moves may test holidays. The cursor stays
  // where it is; its day's first line is the focused one, as after any rebuild.
  document_.SetCalendarKind(kind);
  Table().FocusDate(model_.CursorDate());
  emit OnFocusEntryChange(this);
}

void TSchedule::SetToday(TDateRec today) {
  const TDateRec old_today = Calendar().Today();
  if (today == old_today || CheckCalendarRange(today) != kDateUsable) return;
  const bool cursor_on_today = model_.CursorDate() == old_today;
  document_.SetToday(today);
  if (cursor_on_today) {
    JumpToday();
  } else {
    Table().FocusDate(model_.CursorDate());
    emit OnFocusEntryChange(this);
  }
}

void TSchedule::RefreshData(std::optional<int32_t> focus) {
  document_.Rebuild();
  FocusEditedEntry(focus);
}

void TSchedule::FocusEditedEntry(std::optional<int32_t> entry) {
  if (!entry) return;
  TDayTable& table = DayTable();
  const std::optional<TDateRec> day = table.FindEntryDate(*entry, table.FocusedDate());
  if (!day) return;
  table.FocusEntry(*entry);
  suppress_focus_change_ = true;
  SetCursorDate(table.FocusedDate());
  suppress_focus_change_ = false;
  // The placement may have built the table again; select the entry's line again and scroll
  // it into view.
  if (model_.CursorDate() == *day) {
    const int32_t line = table.LineOfEntry(*day, *entry);
    if (TCellLineList* list = CursorList(); list != nullptr && line >= 0) list->SelectLine(line);
  }
  update();
}

void TSchedule::FullReload() {
  // The table's build moves the calendar's window along with it.
  Table().SetFirstYear(model_.TopDate().Year - 1);
  document_.Rebuild();
}

void TSchedule::RefillLines() {
  document_.RefillLines();
  Table().FocusDate(model_.CursorDate());
}

void TSchedule::CheckYearWindow() { document_.ShowYearsFrom(model_.TopDate().Year - 1); }

std::optional<int32_t> TSchedule::FocusedEntry() const {
  const TCellLineList* list = Table().Cell(model_.CursorDate());
  if (list == nullptr || list->Count() == 0) return std::nullopt;
  const int32_t selected = list->Selected();
  if (selected < 0 || selected >= list->Count()) return std::nullopt;
  const TEntry* entry = list->Info(selected).Entry;
  if (entry == nullptr) return std::nullopt;
  return entry->ListIndex;
}

std::string TSchedule::EntryText(int32_t entry) const {
  const TEntry* found = EntryList().Entry(entry);
  return found != nullptr ? found->Text : std::string();
}

// ---------------------------------------------------------------------------------------------
// Hit testing

std::optional<TDateRec> TSchedule::PointToDate(int x, int y) const {
  const int line = GridLineWidth();
  const int col_step = line + DefaultColWidth();
  const int row_step = line + DefaultRowHeight();
  if (col_step <= 0 || row_step <= 0) return std::nullopt;
  const int col = (x - ColWidth(0) - line) / col_step + 1;
  if (col >= ColCount()) return std::nullopt;
  const int row = (y - RowHeight(0) - line) / row_step + 1;
  if (row >= RowCount()) return std::nullopt;
  // A cell of a month layout past the month's last day shows no date.
  const TDateRec date = model_.CellToDate(col, row);
  if (date.Day == 0) return std::nullopt;
  return date;
}

TSchedule::THitInfo TSchedule::HitTest(int x, int y) const {
  THitInfo info;
  const std::optional<TDateRec> date = PointToDate(x, y);
  if (!date) return info;
  TCellLineList* list = Table().Cell(*date);
  if (list == nullptr || list->Count() == 0 || !PlaceList(*date, *list)) return info;
  const int32_t line = list->LineAtPoint(x, y);
  if (line < 0) return info;
  info.Kind = kHitLine;
  info.Text = list->Text(line);
  info.Wrapped = list->IsWrapped(line);
  const TEntry* entry = list->Info(line).Entry;
  info.Entry = entry != nullptr ? entry->ListIndex : -1;
  info.Rect = ToQRect(list->LineRect(line));
  return info;
}

bool TSchedule::PlaceList(TDateRec date, TCellLineList& list) const {
  const int col = model_.DateToCol(date);
  const int row = model_.DateToRow(date);
  if (col < 1 || col > model_.CellColumns() || row < 1 || row > model_.CellRows()) return false;
  const QRect rect = CellRect(col, row);
  if (rect.isEmpty()) return false;
  const TDayLayout layout = LayoutDay(col, row, date, rect);
  if (layout.Lines.isEmpty()) return false;
  list.SetCellRect(ToTRect(layout.Lines));
  return true;
}

TCellLineList* TSchedule::CursorList() {
  TCellLineList* list = Table().Cell(model_.CursorDate());
  if (list == nullptr || !PlaceList(model_.CursorDate(), *list)) return nullptr;
  return list;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TSchedule::DrawCell(int col, int row, const QRect& rect, TGridDrawState /*state*/) {
  QPainter& painter = *Canvas();
  // Nothing of a cell may reach its neighbours or the grid lines.
  painter.setClipRect(rect, Qt::IntersectClip);
  if (col == 0 || row == 0) {
    DrawTitleCell(col, row, rect);
  } else {
    DrawDayCell(col, row, rect);
  }
}

void TSchedule::DrawFrame(QRect rect, int32_t style) {
  if (style == 0) return;
  QPainter& painter = *Canvas();
  const QColor light = PaintColor(kColorLightEdge);
  const QColor dark = PaintColor(kColorDarkEdge);
  const QColor& top_left = style > 0 ? light : dark;
  const QColor& bottom_right = style > 0 ? dark : light;
  const int width = FrameWidth(style);
  for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), top_left);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), top_left);
    painter.fillRect(QRect(rect.left() + 1, rect.bottom(), rect.width() - 1, 1), bottom_right);
    painter.fillRect(QRect(rect.right(), rect.top() + 1, 1, rect.height() - 1), bottom_right);
    rect.adjust(1, 1, -1, -1);
  }
}

TSchedule::TTitleLook TSchedule::TitleLookOf(int col, int row) const {
  const bool vertical = model_.Vertical();
  const int32_t cycle = model_.Cycle();
  TTitleLook look{PaintColor(kColorTitleBack), PaintColor(kColorTitleText), {}, {}};
  const bool weekday_title = vertical ? row == 0 : col == 0;
  if (weekday_title) {
    const int index = vertical ? col : row;
    if (cycle == 7) {
      const auto weekday = static_cast<int>(FloorMod(WeekdayOf(model_.TopDate()) + index - 1, 7));
      look.Text = PaintColor(kColorWeekdayText + weekday);
      if (!(col == 0 && row == 0)) {
        look.Back = PaintColor(kColorWeekdayBack + weekday);
        look.Left = WeekdayText(0, weekday);
      }
    } else if (cycle == 31 && index > 0) {
      look.Left = std::to_string(index);
    }
    return look;
  }
  const TDateRec date = vertical ? model_.CellToDate(1, row) : model_.CellToDate(col, 1);
  if (date.Day == 0) return look;
  const std::string month = Concat({std::to_string(date.Month), "月"});
  if (cycle == 7) {
    const int32_t week_start = model_.FixTopWeek();
    look.Left = Concat({month, " ", std::to_string(WeekOfMonth(week_start, date)), "w"});
    look.Right = Concat(
        {"'", TwoDigits(date.Year), " ", std::to_string(WeekOfYear(week_start, date)), "週"});
  } else if (cycle == 31) {
    look.Left = month;
    look.Right = Concat({"'", TwoDigits(date.Year)});
  } else if (cycle == 1) {
    look.Left = month;
  }
  return look;
}

void TSchedule::DrawTitleCell(int col, int row, const QRect& rect) {
  QPainter& painter = *Canvas();
  const TTitleLook look = TitleLookOf(col, row);
  painter.fillRect(rect, look.Back);
  DrawFrame(rect, settings_.Title3D);
  if (look.Left.empty()) return;
  painter.setFont(measurer_.Font(fonts_[kFontTitle], 100));
  painter.setPen(look.Text);
  const QFontMetrics& metrics = measurer_.Metrics(fonts_[kFontTitle], 100);
  const int frame = FrameWidth(settings_.Title3D);
  // The texts keep two pixels from the frame.
  const QRect box = rect.adjusted(frame + 2, frame, -frame - 2, -frame);
  const QString left = ToQString(look.Left);
  const QString right = ToQString(look.Right);
  const int left_width = metrics.horizontalAdvance(left);
  constexpr int kGap = 4;
  if (right.isEmpty() || left_width + kGap + metrics.horizontalAdvance(right) > box.width()) {
    // The left text says what the title is about; the right one only adds to it, so it goes
    // when both do not fit, and a left text wider than the cell shows its beginning.
    const Qt::Alignment across =
        left_width <= box.width() && right.isEmpty() ? Qt::AlignHCenter : Qt::AlignLeft;
    painter.drawText(box, across | Qt::AlignVCenter | Qt::TextSingleLine, left);
    return;
  }
  painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, left);
  painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, right);
}

namespace {

// Null for a rectangle without room, so that isEmpty() tells.
QRect WithRoom(const QRect& rect) { return rect.width() > 0 && rect.height() > 0 ? rect : QRect(); }

}  // namespace

TSchedule::TDayFacts TSchedule::DayFactsOf(int col, int row, TDateRec date) const {
  TDayFacts facts;
  facts.Current = col == Col() && row == Row();
  facts.Today = Calendar().IsToday(date);
  facts.Holiday = Calendar().IsHoliday(date);
  facts.OtherMonth = model_.MonthReset() && date.Month != model_.CursorMonth();
  facts.Weekday = WeekdayOf(date);
  return facts;
}

TSchedule::TDayLayout TSchedule::LayoutDay(int col, int row, TDateRec date,
                                           const QRect& rect) const {
  const TDayFacts facts = DayFactsOf(col, row, date);
  TDayLayout out;
  out.Date = date;
  out.FrameStyle = facts.Current ? settings_.Cursor3D
                   : facts.Today ? settings_.Today3D
                                 : settings_.Normal3D;
  const int frame = FrameWidth(out.FrameStyle);
  out.Inner = WithRoom(rect.adjusted(frame, frame, -frame, -frame));
  out.Area = out.Inner;
  if (settings_.DispDay && !out.Inner.isEmpty()) out.Area = WithRoom(LayoutLabel(facts, out));
  if (out.Area.isEmpty()) return out;
  out.AreaBack = AreaBackground(facts);
  LayoutHolidayLine(facts, out);
  return out;
}

QRect TSchedule::LayoutLabel(const TDayFacts& facts, TDayLayout& out) const {
  out.HasLabel = true;
  out.InfoText = DayInfoText(out.Date, facts.Weekday);
  const TRect label = PlaceLabelBoxes(out);
  ColorLabel(facts, out);
  // The entry area: below the label or right of it.
  const QRect& inner = out.Inner;
  return settings_.DayUpper
             ? QRect(QPoint(inner.left(), std::max(label.Bottom, inner.top())), inner.bottomRight())
             : QRect(QPoint(std::max(label.Right, inner.left()), inner.top()), inner.bottomRight());
}

std::string TSchedule::DayInfoText(TDateRec date, int weekday) const {
  switch (settings_.DayInfo) {
    case kDayInfoWeekday:
      return WeekdayText(0, weekday);
    case kDayInfoRokuyo:
      return RokuyoName(date, Calendar().Kind());
    case kDayInfoLunarDate:
      return LunarDateText(date, Calendar().Kind());
    case kDayInfoEntryCount: {
      const TCellLineList* list = Table().Cell(date);
      return std::to_string(list != nullptr ? list->Count() : 0) + "件";
    }
    default:
      return {};
  }
}

TRect TSchedule::PlaceLabelBoxes(TDayLayout& out) const {
  const QFontMetrics& metrics = measurer_.Metrics(fonts_[kFontDayNumber], 100);
  const int number_width = metrics.horizontalAdvance(QString::number(out.Date.Day));
  const int number_height = metrics.height();
  const int info_width = metrics.horizontalAdvance(ToQString(out.InfoText));
  const int p = label_margin_;
  out.NumberHeight = number_height;
  // Boxes as (left, top, right, bottom) with right and bottom outside, like the lists'
  // rectangles. The label spans the inner rectangle's width on top, its height at the left;
  // the texts decide its other extent.
  const QRect& inner = out.Inner;
  TRect label{inner.left(), inner.top(), inner.left() + inner.width(),
              inner.top() + inner.height()};
  TRect number_box;
  TRect info_box;
  if (!settings_.DayUpper) {
    label.Right = label.Left + p + std::max(number_width, info_width);
    number_box = {label.Left, label.Top, label.Right,
                  std::min(label.Top + number_height + p, label.Bottom)};
    info_box = {label.Left, label.Bottom - number_height - p - 2, label.Right, label.Bottom - 2};
    out.InfoShown = info_box.Top >= number_box.Bottom - 2;
  } else {
    label.Bottom = label.Top + p + number_height;
    number_box = {label.Left, label.Top, std::min(label.Left + number_width + p, label.Right),
                  label.Bottom};
    info_box = {label.Right - info_width - p - 2, label.Top, label.Right - 2, label.Bottom};
    out.InfoShown = info_box.Left >= number_box.Right - 2;
  }
  out.Label = ToQRect(label).intersected(inner);
  out.NumberBox = ToQRect(number_box);
  out.InfoBox = ToQRect(info_box);
  if (out.InfoText.empty()) out.InfoShown = false;
  return label;
}

void TSchedule::ColorLabel(const TDayFacts& facts, TDayLayout& out) const {
  if (facts.Holiday) {
    out.LabelBack = paint_colors_[kColorHolidayLabelBack];
    out.LabelText = paint_colors_[kColorHolidayText];
  } else {
    out.LabelText = paint_colors_[kColorWeekdayText + facts.Weekday];
    out.LabelBack = paint_colors_[kColorWeekdayBack + facts.Weekday];
  }
  if (facts.OtherMonth) out.LabelBack = paint_colors_[kColorOtherMonthLabelBack];
  switch (settings_.DayInfo) {
    case kDayInfoRokuyo:
      out.InfoColor = paint_colors_[kColorRokuyoText +
                                    std::clamp(RokuyoIndex(out.Date, Calendar().Kind()), 0, 5)];
      break;
    case kDayInfoLunarDate:
      out.InfoColor = paint_colors_[kColorLunarDateText];
      break;
    default:
      out.InfoColor = out.LabelText;
      break;
  }
}

uint32_t TSchedule::AreaBackground(const TDayFacts& facts) const {
  if (facts.OtherMonth) return paint_colors_[kColorOtherMonthCellBack];
  if (facts.Today) return paint_colors_[kColorTodayCellBack];
  if (facts.Current) return paint_colors_[kColorCursorCellBack];
  if (facts.Holiday) return paint_colors_[kColorHolidayCellBack];
  return paint_colors_[kColorCellBack + facts.Weekday];
}

void TSchedule::LayoutHolidayLine(const TDayFacts& facts, TDayLayout& out) const {
  const QRect& area = out.Area;
  QRect lines = area;
  if (facts.Holiday && settings_.DispHoliday) {
    // A negative or huge spacing from a page must not move the lines out of the area.
    const int64_t font_height =
        std::abs(int64_t{measurer_.FontHeight(fonts_[kFontHolidayName], 100)}) + settings_.Spacing;
    const int line_height = area.height() < font_height
                                ? area.height() + 1
                                : static_cast<int>(std::max<int64_t>(font_height, 0));
    out.HasHolidayLine = true;
    out.HolidayLine = QRect(area.left(), area.top(), area.width(), std::max(line_height, 0));
    lines.setTop(area.top() + line_height + 1);
  }
  out.Lines = WithRoom(lines);
}

void TSchedule::DrawDayCell(int col, int row, const QRect& rect) {
  QPainter& painter = *Canvas();
  const TDateRec date = model_.CellToDate(col, row);
  if (date.Day == 0) {
    painter.fillRect(rect, PaintColor(kColorEmptyCell));
    return;
  }
  const TDayLayout layout = LayoutDay(col, row, date, rect);
  DrawFrame(rect, layout.FrameStyle);

  if (layout.HasLabel && !layout.Label.isEmpty()) {
    painter.fillRect(layout.Label, ToQColor(layout.LabelBack));
    painter.save();
    painter.setClipRect(layout.Label, Qt::IntersectClip);
    painter.setFont(measurer_.Font(fonts_[kFontDayNumber], 100));
    painter.setPen(ToQColor(layout.LabelText));
    painter.drawText(layout.NumberBox, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::number(date.Day));
    if (layout.InfoShown) {
      const QFontMetrics& info_metrics = measurer_.Metrics(fonts_[kFontDayInfo], 100);
      const QString info = ToQString(layout.InfoText);
      const int width = info_metrics.horizontalAdvance(info);
      const QRect& box = layout.InfoBox;
      const int x = width > box.width() ? box.left() + 2 : box.left() + (box.width() - width) / 2;
      const int y = box.top() + (box.height() - layout.NumberHeight) / 2;
      painter.setClipRect(box, Qt::IntersectClip);
      painter.setFont(measurer_.Font(fonts_[kFontDayInfo], 100));
      painter.setPen(ToQColor(layout.InfoColor));
      painter.drawText(QPoint(x, y + info_metrics.ascent()), info);
    }
    painter.restore();
  }
  if (layout.Area.isEmpty()) return;

  painter.fillRect(layout.Area, ToQColor(layout.AreaBack));
  if (layout.HasHolidayLine && !layout.HolidayLine.isEmpty()) {
    painter.save();
    painter.setClipRect(layout.HolidayLine.intersected(layout.Area), Qt::IntersectClip);
    const QFontMetrics& metrics = measurer_.Metrics(fonts_[kFontHolidayName], 100);
    painter.setFont(measurer_.Font(fonts_[kFontHolidayName], 100));
    painter.setPen(PaintColor(kColorHolidayText));
    painter.drawText(QPoint(layout.HolidayLine.left(), layout.HolidayLine.top() + metrics.ascent()),
                     ToQString(Calendar().HolidayName(date)));
    painter.restore();
  }

  if (layout.Lines.isEmpty()) return;
  TCellLineList* list = Table().Cell(date);
  if (list == nullptr || list->Count() == 0) return;
  list->SetActive(hasFocus() && col == Col() && row == Row());
  list->SetCellRect(ToTRect(layout.Lines));
  list->SetColor(layout.AreaBack);
  TQtLinePaintSink sink(painter, measurer_);
  list->Paint(ToTRect(layout.Lines), sink);
}

// ---------------------------------------------------------------------------------------------
// Mouse

int32_t TSchedule::SelectUnderMouse(const QPoint& pos) {
  const std::optional<TDateRec> point_date = PointToDate(pos.x(), pos.y());
  if (!point_date) return kHitNothing;
  const TDateRec date = *point_date;
  TLineClick click;
  if (TCellLineList* list = Table().Cell(date); list != nullptr && PlaceList(date, *list)) {
    click = list->Click(pos.x(), pos.y());
  }
  month_changed_ = date.Month != model_.CursorMonth();
  if (date == model_.CursorDate()) {
    // The focused entry may have changed with the click (another line) or not; listeners
    // hear of it either way.
    emit OnFocusEntryChange(this);
  } else {
    SetCursorDate(date);
  }
  return click.Hit ? kHitLine : kHitNothing;
}

void TSchedule::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (!double_clicked_) {
    down_kind_ = SelectUnderMouse(pos);
    button_down_ = true;
    down_pos_ = pos;
  }
  double_clicked_ = false;
  TGrid::mousePressEvent(event);
}

void TSchedule::mouseDoubleClickEvent(QMouseEvent* event) {
  double_clicked_ = true;
  TGrid::mouseDoubleClickEvent(event);
}

void TSchedule::DblClick(QMouseEvent* /*event*/) {
  if (down_kind_ == kHitNothing) ToggleZoom();
}

void TSchedule::ToggleZoom() {
  if (model_.Cycle() == 1 && model_.Term() == 1) {
    ApplySettings(kept_settings_);
  } else {
    kept_settings_ = GetSettings();
    SetCycle(1);
    SetTerm(1);
  }
}

bool TSchedule::DropAllowedAt(const QPoint& pos) const {
  return !(pos.x() < 0 || pos.x() > width() || pos.y() < RowHeight(0) || pos.y() > height());
}

void TSchedule::EndDrag() {
  dragging_ = false;
  unsetCursor();
}

void TSchedule::mouseMoveEvent(QMouseEvent* event) {
  if (read_only_) return;
  const QPoint pos = event->position().toPoint();
  const Qt::MouseButtons held = event->buttons() & (Qt::LeftButton | Qt::RightButton);
  if (held == Qt::NoButton) EndDrag();
  if (!dragging_ && down_kind_ == kHitLine && button_down_ && held != Qt::NoButton &&
      (std::abs(pos.x() - down_pos_.x()) > kDragThreshold ||
       std::abs(pos.y() - down_pos_.y()) > kDragThreshold)) {
    drag_entry_ = FocusedEntry();
    dragging_ = drag_entry_.has_value();
  }
  if (dragging_) setCursor(DropAllowedAt(pos) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
  TGrid::mouseMoveEvent(event);
}

void TSchedule::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  button_down_ = false;
  // Here the double click takes the place of the second press, so its mark ends with the
  // release that follows it.
  double_clicked_ = false;
  const bool dropped = dragging_ && DropAllowedAt(pos);
  if (dropped) {
    EndDrag();
    const std::optional<TDateRec> date = PointToDate(pos.x(), pos.y());
    if (date && *date != model_.CursorDate()) SelectUnderMouse(pos);
  }
  const std::optional<int32_t> entry = std::exchange(drag_entry_, std::nullopt);
  if (dropped && entry && event->button() == Qt::RightButton) {
    const QAction* chosen = drop_menu_->exec(event->globalPosition().toPoint());
    if (chosen == move_action_) {
      FocusEditedEntry(document_.MoveTo(*entry, model_.CursorDate()));
    } else if (chosen == copy_action_) {
      FocusEditedEntry(document_.CopyTo(*entry, model_.CursorDate()));
    }
    return;
  }
  TGrid::mouseReleaseEvent(event);
  if (dropped && entry) {
    DropEntry(*entry, event->modifiers() == Qt::ControlModifier);
    return;
  }
  EndDrag();
  if (std::exchange(menu_on_release_, false) && event->button() == Qt::RightButton) {
    ShowMenuAt(pos);
  }
  if (model_.MonthReset() && month_changed_) {
    month_changed_ = false;
    SetCursorDate(model_.CursorDate());
  }
}

void TSchedule::DropEntry(int32_t entry, bool copy) {
  if (EntryList().Entry(entry) == nullptr) return;
  if (drag_check_) {
    notices_.Beep(TBeepKind::kQuestion);
    const std::string question =
        Concat({kMoveQuestionHead, EntryText(entry), kMoveQuestionMiddle,
                DateText(0, "/", 0, 0, 0, 0, model_.CursorDate(), Calendar().Kind()),
                copy ? kCopyQuestionTail : kMoveQuestionTail});
    if (!notices_.Confirm(question)) return;
  }
  const TDateRec day = model_.CursorDate();
  FocusEditedEntry(copy ? document_.CopyTo(entry, day) : document_.MoveTo(entry, day));
}

// ---------------------------------------------------------------------------------------------
// Keys

std::span<const TSchedule::TKeyBinding> TSchedule::KeyTable() {
  constexpr Qt::KeyboardModifiers kPlain = Qt::NoModifier;
  constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
  constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
  constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
  static const TKeyBinding kTable[] = {
      {kPlain, Qt::Key_Left, [](TSchedule& s) { s.StepAcross(-1); }},
      {kPlain, Qt::Key_Right, [](TSchedule& s) { s.StepAcross(1); }},
      {kPlain, Qt::Key_Up, [](TSchedule& s) { s.StepDown(-1); }},
      {kPlain, Qt::Key_Down, [](TSchedule& s) { s.StepDown(1); }},
      {kPlain, Qt::Key_Home, [](TSchedule& s) { s.JumpToday(); }},
      {kPlain, Qt::Key_PageUp, [](TSchedule& s) { s.ScrollCursorDay(-1); }},
      {kPlain, Qt::Key_PageDown, [](TSchedule& s) { s.ScrollCursorDay(1); }},
      {kPlain, Qt::Key_Delete, [](TSchedule& s) { s.ToggleChecked(); }},
      {kShift, Qt::Key_Left, [](TSchedule& s) { s.MoveDate(0, -1, 0); }},
      {kShift, Qt::Key_Right, [](TSchedule& s) { s.MoveDate(0, 1, 0); }},
      {kShift, Qt::Key_Up, [](TSchedule& s) { s.MoveDate(-1, 0, 0); }},
      {kShift, Qt::Key_Down, [](TSchedule& s) { s.MoveDate(1, 0, 0); }},
      {kShift, Qt::Key_Insert, [](TSchedule& s) { s.Paste(); }},
      {kShift, Qt::Key_Delete, [](TSchedule& s) { s.CutFocused(); }},
      {kCtrl, Qt::Key_Left, [](TSchedule& s) { s.MoveDate(0, -4, 0); }},
      {kCtrl, Qt::Key_Right, [](TSchedule& s) { s.MoveDate(0, 4, 0); }},
      {kCtrl, Qt::Key_Up, [](TSchedule& s) { s.MoveDate(-10, 0, 0); }},
      {kCtrl, Qt::Key_Down, [](TSchedule& s) { s.MoveDate(10, 0, 0); }},
      {kCtrl, Qt::Key_Home, [](TSchedule& s) { s.SelectCursorDayEnd(false); }},
      {kCtrl, Qt::Key_End, [](TSchedule& s) { s.SelectCursorDayEnd(true); }},
      {kCtrl, Qt::Key_Insert, [](TSchedule& s) { s.CopyFocused(); }},
      {kCtrl, Qt::Key_C, [](TSchedule& s) { s.CopyFocused(); }},
      {kCtrl, Qt::Key_Delete, [](TSchedule& s) { s.CutFocused(); }},
      {kCtrl, Qt::Key_X, [](TSchedule& s) { s.CutFocused(); }},
      {kCtrl, Qt::Key_V, [](TSchedule& s) { s.Paste(); }},
      {kCtrl, Qt::Key_Z, [](TSchedule& s) { s.UndoStep(); }},
      {kCtrl, Qt::Key_Q, [](TSchedule& s) { s.RedoStep(); }},
      // The redo keys of other desktop programs.
      {kCtrl, Qt::Key_Y, [](TSchedule& s) { s.RedoStep(); }},
      {kCtrl | kShift, Qt::Key_Z, [](TSchedule& s) { s.RedoStep(); }},
      {kAlt, Qt::Key_Left, [](TSchedule& s) { s.ScrollAcross(-1); }},
      {kAlt, Qt::Key_Right, [](TSchedule& s) { s.ScrollAcross(1); }},
      {kAlt, Qt::Key_Up, [](TSchedule& s) { s.ScrollDown(-1); }},
      {kAlt, Qt::Key_Down, [](TSchedule& s) { s.ScrollDown(1); }},
      {kAlt, Qt::Key_Delete, [](TSchedule& s) { s.DeleteWithQuestion(); }},
      {kPlain, Qt::Key_Menu, [](TSchedule& s) { s.ShowMenuForSelection(); }},
      {kShift, Qt::Key_F10, [](TSchedule& s) { s.ShowMenuForSelection(); }},
  };
  return kTable;
}

// The key table first. Beyond it, None, Shift, Alt or Ctrl alone do nothing; any other
// combination is the listeners' (OnKeyDown).
void TSchedule::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods =
      event->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  for (const TKeyBinding& binding : KeyTable()) {
    if (binding.modifiers == mods && binding.key == event->key()) {
      binding.action(*this);
      event->accept();
      return;
    }
  }
  if (mods != Qt::NoModifier && mods != Qt::ShiftModifier && mods != Qt::AltModifier &&
      mods != Qt::ControlModifier) {
    emit OnKeyDown(this, event);
    return;
  }
  event->accept();
}

void TSchedule::StepAcross(int32_t sign) {
  if (model_.Vertical()) {
    MoveDate(0, 0, sign);
  } else {
    MoveCycle(sign);
  }
}

void TSchedule::StepDown(int32_t sign) {
  if (model_.Vertical()) {
    MoveCycle(sign);
  } else {
    MoveDate(0, 0, sign);
  }
}

void TSchedule::MoveCycle(int32_t sign) {
  if (model_.Cycle() == 31) {
    MoveDate(0, sign, 0);
  } else {
    MoveDate(0, 0, sign * model_.Cycle());
  }
}

void TSchedule::ScrollAcross(int32_t sign) {
  if (!model_.Vertical()) ScrollView(sign);
}

void TSchedule::ScrollDown(int32_t sign) {
  if (model_.Vertical()) ScrollView(sign);
}

void TSchedule::ScrollCursorDay(int32_t direction) {
  if (TCellLineList* list = CursorList()) {
    if (direction < 0 && list->CanScrollUp()) list->ScrollUp();
    if (direction > 0 && list->CanScrollDown()) list->ScrollDown();
  }
  emit OnFocusEntryChange(this);
}

void TSchedule::SelectCursorDayEnd(bool last) {
  TCellLineList* list = CursorList();
  if (list == nullptr || list->Count() == 0) return;
  if (last) {
    list->MoveLast();
  } else {
    list->MoveFirst();
  }
  // The selected line, and with it the focused entry, may have changed.
  emit OnFocusEntryChange(this);
}

void TSchedule::SelectCursorLine(int32_t line) {
  TCellLineList* list = CursorList();
  if (list == nullptr || line < 0 || line >= list->Count()) return;
  list->SelectLine(line);
  update();
  emit OnFocusEntryChange(this);
}

void TSchedule::ToggleChecked() {
  if (const std::optional<int32_t> entry = FocusedEntry()) {
    FocusEditedEntry(document_.ToggleChecked(*entry));
  }
}

void TSchedule::CopyFocused() {
  if (const std::optional<int32_t> entry = FocusedEntry()) document_.Copy(*entry);
}

void TSchedule::CutFocused() {
  if (const std::optional<int32_t> entry = FocusedEntry()) FocusEditedEntry(document_.Cut(*entry));
}

void TSchedule::UndoStep() { document_.Undo(); }

void TSchedule::RedoStep() { document_.Redo(); }

void TSchedule::Paste() { FocusEditedEntry(document_.Paste(model_.CursorDate())); }

void TSchedule::DeleteWithQuestion() {
  const std::optional<int32_t> entry = FocusedEntry();
  if (!entry) return;
  notices_.Beep(TBeepKind::kQuestion);
  if (!notices_.Confirm(Concat({kMoveQuestionHead, EntryText(*entry), kDeleteQuestionTail}))) {
    return;
  }
  FocusEditedEntry(document_.Delete(*entry));
}

// Scrolling keeps the current cell and moves the dates under it. The day table follows the
// first shown year like after any other move, so scrolled-in days show their entries; the
// cursor date changed, so the listeners hear of it as of any other move.
void TSchedule::ScrollView(int32_t direction) {
  if (model_.ScrollCycle(direction)) {
    CheckYearWindow();
    placing_cursor_ = true;
    FocusCell(model_.Col(), model_.Row(), true);
    placing_cursor_ = false;
    Table().FocusDate(model_.CursorDate());
    emit OnJump(this);
    emit OnFocusEntryChange(this);
  }
  update();
}

// ---------------------------------------------------------------------------------------------
// Context menu

void TSchedule::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() != QContextMenuEvent::Mouse) {
    ShowMenuForSelection();
    return;
  }
  // While entries can be dragged a right press may start a drag that ends in the drop menu:
  // the context menu waits for a release without a drag.
  if (!read_only_ && button_down_) {
    menu_on_release_ = true;
    return;
  }
  ShowMenuAt(event->pos());
}

void TSchedule::ShowMenuAt(const QPoint& pos) {
  // A right click selects what it falls on first, as a left one does.
  SelectUnderMouse(pos);
  ExecScheduleMenu(*this, HitTest(pos.x(), pos.y()).Kind == kHitLine, mapToGlobal(pos));
}

void TSchedule::ShowMenuForSelection() {
  const TCellLineList* list = CursorList();
  const bool on_line = list != nullptr && FocusedEntry().has_value();
  QPoint at = CellRect(model_.Col(), model_.Row()).center();
  if (on_line) at = ToQRect(list->LineRect(list->Selected())).bottomLeft();
  ExecScheduleMenu(*this, on_line, mapToGlobal(at));
}

// ---------------------------------------------------------------------------------------------
// Hints

bool TSchedule::ShowLineHint(const QPoint& pos, const QPoint& global_pos) {
  const THitInfo hit = HitTest(pos.x(), pos.y());
  if (hit.Kind != kHitLine || settings_.Wrap || !hit.Wrapped) return false;
  QToolTip::showText(global_pos, ToQString(hit.Text), this, hit.Rect);
  return true;
}

bool TSchedule::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (!ShowLineHint(help->pos(), help->globalPos())) {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return TGrid::event(event);
}

}  // namespace pelo
