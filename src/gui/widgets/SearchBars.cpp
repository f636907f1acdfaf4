#include "widgets/SearchBars.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "calendar/DateTexts.h"
#include "datafiles/EntryLists.h"
#include "entries/Entries.h"
#include "entries/Times.h"
#include "schedule/DayRows.h"
#include "schedule/DayTables.h"
#include "schedule/RowSearches.h"
#include "text/SearchTexts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

enum TColumn { kDateColumn, kTimeColumn, kTextColumn, kSourceColumn, kColumnCount };
constexpr int kListHeight = 140;

}  // namespace

TSearchBar::TSearchBar(TSchedule& schedule, QWidget* parent)
    : QWidget(parent), schedule_(schedule), document_(schedule.Document()) {
  setObjectName("SearchBar");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* row = new QHBoxLayout();
  text_ = new QLineEdit(this);
  text_->setObjectName("SearchText");
  text_->setPlaceholderText(Q("検索"));
  text_->setClearButtonEnabled(true);
  text_->setMaxLength(kMaxSearchLength);
  span_ = new QComboBox(this);
  span_->setObjectName("SearchSpan");
  span_->addItems({Q(kShownYears), Q(kAllYears)});
  status_ = new QLabel(this);
  status_->setObjectName("SearchStatus");
  auto* close = new QToolButton(this);
  close->setObjectName("SearchClose");
  close->setText(Q("×"));
  close->setAutoRaise(true);
  row->addWidget(text_, 1);
  row->addWidget(span_);
  row->addWidget(status_);
  row->addWidget(close);
  layout->addLayout(row);

  list_ = new QTreeWidget(this);
  list_->setObjectName("SearchResults");
  list_->setColumnCount(kColumnCount);
  list_->setHeaderLabels({Q("日付"), Q("時刻"), Q("予定"), Q("ファイル:行")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setFixedHeight(kListHeight);
  list_->header()->setSectionResizeMode(kTextColumn, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  layout->addWidget(list_);

  typing_pause_ = new QTimer(this);
  typing_pause_->setSingleShot(true);
  typing_pause_->setInterval(kTypingPauseMs);
  connect(typing_pause_, &QTimer::timeout, this, &TSearchBar::Search);
  connect(text_, &QLineEdit::textChanged, typing_pause_, qOverload<>(&QTimer::start));
  connect(text_, &QLineEdit::returnPressed, this, [this] {
    if (SearchPending()) Search();
    JumpToItem(list_->currentItem() != nullptr ? list_->currentItem() : list_->topLevelItem(0));
  });
  connect(span_, &QComboBox::currentIndexChanged, this, &TSearchBar::Search);
  connect(list_, &QTreeWidget::itemActivated, this, &TSearchBar::JumpToItem);
  connect(close, &QToolButton::clicked, this, &TSearchBar::Close);
  // What the cells show changed: the lines are found again. A cursor move may show other
  // years.
  connect(&schedule_, &TSchedule::OnRefresh, this, [this] {
    if (isVisible()) Search();
  });
  connect(&schedule_, &TSchedule::OnJump, this, [this] {
    if (isVisible() && SpanYears() != searched_years_) Search();
  });
  hide();
}

TSearchBar::~TSearchBar() = default;

void TSearchBar::Open() {
  show();
  Search();
  text_->setFocus();
  text_->selectAll();
}

void TSearchBar::Close() {
  hide();
  schedule_.setFocus();
}

void TSearchBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TSearchBar::SearchPending() const { return typing_pause_->isActive(); }

std::pair<int32_t, int32_t> TSearchBar::SpanYears() const {
  if (span_->currentIndex() == 1) return {kFirstCalendarDate.Year, kLastCalendarDate.Year};
  return {schedule_.TopDate().Year, schedule_.EndDate().Year};
}

TCalendarSearch TSearchBar::CalendarSearch() {
  if (!code_characters_) code_characters_ = std::make_unique<const TCodeCharacters>();
  const TDayTable& table = document_.DayTable();
  return TCalendarSearch(document_.EntryList(), document_.Calendar(), table.Filter(),
                         text_->text().toStdString(), table.FirstYear(), table.Packs(),
                         code_characters_.get());
}

void TSearchBar::Search() {
  typing_pause_->stop();
  list_->clear();
  matches_.clear();
  searched_years_ = SpanYears();
  TCalendarSearch search = CalendarSearch();
  if (search.Empty()) {
    status_->clear();
    return;
  }
  const TDateRec first{searched_years_.first, 1, 1};
  const TDateRec last{searched_years_.second, 12, 31};
  for (const TDayRow& row : search.Rows(first, last, kMaxListed)) AddMatch(row);
  status_->setText(CountText());
  MarkMatchNearCursor();
}

QString TSearchBar::CountText() const {
  return QString::number(matches_.size()) + Q(matches_.size() < kMaxListed ? " 件" : " 件まで表示");
}

void TSearchBar::MarkMatchNearCursor() {
  if (matches_.empty()) return;
  // The first match from the cursor on, else the last before it: Enter in the text goes there.
  const int32_t cursor = DayNumber(schedule_.CursorDate());
  std::size_t index = 0;
  while (index + 1 < matches_.size() && DayNumber(matches_[index].Date) < cursor) ++index;
  QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(index));
  list_->setCurrentItem(item);
  list_->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void TSearchBar::AddMatch(const TDayRow& row) {
  const TEntry& entry = *row.Entry;
  auto* item = new QTreeWidgetItem(list_);
  item->setText(kDateColumn,
                Q(DateText(0, "/", 0, 0, 0, 0, row.Date, document_.Calendar().Kind())));
  if (entry.Times) item->setText(kTimeColumn, Q(TimeListText(*entry.Times)));
  item->setText(kTextColumn, Q(row.Text));
  item->setText(kSourceColumn, Q(RowSource(document_.EntryList(), entry)));
  item->setData(kDateColumn, Qt::UserRole, static_cast<int>(matches_.size()));
  matches_.push_back({row.Date, entry.ListIndex});
}

void TSearchBar::JumpToItem(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const int index = item->data(kDateColumn, Qt::UserRole).toInt();
  if (index < 0 || index >= static_cast<int>(matches_.size())) return;
  JumpTo(matches_[static_cast<std::size_t>(index)]);
}

void TSearchBar::JumpTo(TMatch match) {
  schedule_.JumpDate(match.Date);
  const int32_t line = document_.DayTable().LineOfEntry(match.Date, match.Position);
  if (line >= 0) schedule_.SelectCursorLine(line);
}

void TSearchBar::FindNext(int32_t direction) {
  if (SearchPending()) Search();
  TCalendarSearch search = CalendarSearch();
  if (search.Empty()) {
    Open();
    return;
  }
  if (const std::optional<TDateRec> day = search.NextDay(schedule_.CursorDate(), direction)) {
    schedule_.JumpDate(*day);
    SelectMatchingLine();
    ShowStatus(CountText());
    return;
  }
  QApplication::beep();
  ShowStatus(Q(direction > 0 ? kNoMoreAfter : kNoMoreBefore));
}

void TSearchBar::SelectMatchingLine() {
  const TCellLineList* cell = document_.DayTable().Cell(schedule_.CursorDate());
  TLineMatcher matcher(document_.EntryList(), text_->text().toStdString());
  for (int32_t line = 0; cell != nullptr && line < cell->Count(); ++line) {
    const TEntry* entry = cell->Info(line).Entry;
    if (entry != nullptr && matcher.Matches(*entry, cell->Text(line))) {
      schedule_.SelectCursorLine(line);
      return;
    }
  }
}

void TSearchBar::ShowStatus(const QString& text) {
  if (!isVisible()) show();
  status_->setText(text);
}

}  // namespace pelo
