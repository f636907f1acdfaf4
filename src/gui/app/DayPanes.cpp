#include "app/DayPanes.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "datafiles/Notices.h"
#include "entries/Entries.h"
#include "schedule/CellLineLists.h"
#include "text/Paths.h"
#include "text/Texts.h"
#include "widgets/ScheduleMenus.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* SelectableLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  return label;
}

// The related files as links by their index; the state of each is said beside it.
QString FilesHtml(const std::vector<TRelatedFile>& files) {
  QStringList items;
  for (std::size_t i = 0; i < files.size(); ++i) {
    QString item =
        QStringLiteral("<a href=\"%1\">%2</a>").arg(i).arg(Q(files[i].Written).toHtmlEscaped());
    if (files[i].State == TFileState::kMissing) item += QString::fromUtf8(" (見つかりません)");
    items << item;
  }
  return items.join(QStringLiteral("<br>"));
}

}  // namespace

std::string DayHeadingText(const TDayDetails& day) {
  std::string text = day.Heading;
  for (const std::string* part : {&day.Holiday, &day.Rokuyo, &day.OldDate}) {
    if (!part->empty()) text += Concat({"\n", *part});
  }
  text += "\n第";
  AppendNumber(text, day.Week);
  text += "週";
  return text;
}

TDayPane::TDayPane(TSchedule& schedule, TUserNotices& notices, QWidget* parent)
    : QDockWidget(QString::fromUtf8(kDayPaneTitle), parent),
      schedule_(schedule),
      notices_(notices) {
  setObjectName(QLatin1String(kDayPaneObjectName));
  setAccessibleName(QString::fromUtf8(kDayPaneTitle));
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  CreateWidgets();
  for (auto signal : {&TSchedule::OnJump, &TSchedule::OnFocusEntryChange, &TSchedule::OnRefresh}) {
    connect(&schedule_, signal, this, [this] { ShowCursorDay(); });
  }
  // A hidden pane follows nothing (its list would announce its moves to a screen reader);
  // shown, it catches up at once.
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) ShowCursorDay();
  });
}

void TDayPane::CreateWidgets() {
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  heading_ = SelectableLabel("dayPaneHeading", body);
  heading_->setAccessibleName(QString::fromUtf8("日付"));
  layout->addWidget(heading_);
  lines_ = new QListWidget(body);
  lines_->setObjectName("dayPaneLines");
  lines_->setAccessibleName(QString::fromUtf8("この日の予定"));
  lines_->setWordWrap(true);
  lines_->setTextElideMode(Qt::ElideNone);
  layout->addWidget(lines_, 2);
  note_ = new QPlainTextEdit(body);
  note_->setObjectName("dayPaneNote");
  note_->setAccessibleName(QString::fromUtf8("メモ"));
  note_->setReadOnly(true);
  layout->addWidget(note_, 1);
  files_ = SelectableLabel("dayPaneFiles", body);
  files_->setAccessibleName(QString::fromUtf8("関連ファイル"));
  files_->setTextFormat(Qt::RichText);
  layout->addWidget(files_);
  source_ = SelectableLabel("dayPaneSource", body);
  source_->setAccessibleName(QString::fromUtf8("記述場所"));
  source_->setTextFormat(Qt::PlainText);
  layout->addWidget(source_);
  status_ = SelectableLabel("dayPaneStatus", body);
  status_->setTextFormat(Qt::PlainText);
  layout->addWidget(status_);
  auto* buttons = new QHBoxLayout;
  editor_ = new QPushButton(QString::fromUtf8("エディタで開く"), body);
  editor_->setObjectName("dayPaneEditor");
  copy_ = new QPushButton(QString::fromUtf8("コピー"), body);
  copy_->setObjectName("dayPaneCopy");
  buttons->addWidget(editor_);
  buttons->addWidget(copy_);
  layout->addLayout(buttons);
  setWidget(body);

  connect(lines_, &QListWidget::currentRowChanged, this, &TDayPane::LineChosen);
  connect(files_, &QLabel::linkActivated, this,
          [this](const QString& link) { OpenRelatedFile(link.toInt()); });
  connect(editor_, &QPushButton::clicked, this, &TDayPane::OpenSource);
  connect(copy_, &QPushButton::clicked, this, &TDayPane::CopyLine);
}

void TDayPane::ShowCursorDay() {
  if (isHidden()) return;
  const TDateRec date = schedule_.CursorDate();
  day_ = DayDetailsOf(schedule_.Calendar(), schedule_.DayTable(), date,
                      schedule_.Model().FixTopWeek());
  const TCellLineList* cell = schedule_.DayTable().Cell(date);
  const int selected = cell != nullptr && cell->Count() > 0 ? cell->Selected() : -1;
  ShowDay(day_);
  lines_->blockSignals(true);
  lines_->setCurrentRow(selected);
  lines_->blockSignals(false);
  ShowLine(selected);
}

void TDayPane::ShowDay(const TDayDetails& day) {
  heading_->setText(Q(DayHeadingText(day)));
  lines_->blockSignals(true);
  // Only a change of the lines refills the list, so a selection made in it stays put.
  bool same = lines_->count() == static_cast<int>(day.Lines.size());
  for (int i = 0; same && i < lines_->count(); ++i) {
    same = lines_->item(i)->text() == Q(DayLineText(day.Lines[static_cast<std::size_t>(i)]));
  }
  if (!same) {
    lines_->clear();
    for (const TDayLineDetails& line : day.Lines) lines_->addItem(Q(DayLineText(line)));
  }
  lines_->blockSignals(false);
}

void TDayPane::ShowLine(int row) {
  shown_row_ = row;
  entry_ = TEntryDetails{};
  status_->clear();
  const bool has_line = row >= 0 && row < static_cast<int>(day_.Lines.size());
  if (has_line) {
    const TEntry* entry =
        schedule_.EntryList().Entry(day_.Lines[static_cast<std::size_t>(row)].Entry);
    if (entry != nullptr) entry_ = EntryDetailsOf(schedule_.EntryList(), *entry);
  }
  note_->setPlainText(Q(entry_.Note));
  files_->setText(FilesHtml(entry_.Files));
  source_->setText(entry_.Source.empty() ? QString()
                                         : Q(Concat({entry_.Source, "\n", entry_.SourceLine})));
  editor_->setEnabled(!entry_.DataFile.empty());
  copy_->setEnabled(has_line);
}

void TDayPane::LineChosen(int row) {
  if (row < 0 || row == shown_row_) return;
  // The grid follows, and its focus change brings the line's details here; a line the grid
  // cannot select (its day is not shown) is shown all the same.
  schedule_.SelectCursorLine(row);
  if (row != shown_row_) ShowLine(row);
}

void TDayPane::OpenRelatedFile(int index) {
  if (index < 0 || index >= static_cast<int>(entry_.Files.size())) return;
  const TRelatedFile& file = entry_.Files[static_cast<std::size_t>(index)];
  const TFileState state = FileStateOf(file.Path);
  if (state == TFileState::kMissing || state == TFileState::kOther) {
    status_->setText(
        Q(Concat({file.Path, state == TFileState::kMissing ? " が見つかりません。"
                                                           : " はファイルではありません。"})));
    return;
  }
  // A program is never started from here: its folder is shown instead.
  const std::string target = state == TFileState::kExecutable ? FolderOf(file.Path) : file.Path;
  notices_.Beep(TBeepKind::kQuestion);
  if (!notices_.Confirm(Concat({"\"", target, "\" を開きますか？"}))) return;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Q(target)))) {
    status_->setText(Q(Concat({target, " を開くことができません。"})));
  }
}

void TDayPane::OpenSource() {
  if (!OpenInEditor(entry_.DataFile, entry_.LineNo)) {
    status_->setText(Q(Concat({entry_.DataFile, " をエディタで開くことができません。"})));
  }
}

void TDayPane::CopyLine() {
  if (shown_row_ < 0 || shown_row_ >= static_cast<int>(day_.Lines.size())) return;
  const TDayLineDetails& line = day_.Lines[static_cast<std::size_t>(shown_row_)];
  QApplication::clipboard()->setText(
      Q(line.Time.empty() ? line.Text : Concat({line.Time, " ", line.Text})));
}

}  // namespace pelo
