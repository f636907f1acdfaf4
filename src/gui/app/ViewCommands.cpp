#include "app/ViewCommands.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <iterator>
#include <sstream>
#include <utility>

#include "app/FileListTexts.h"
#include "app/GridPictures.h"
#include "app/PlacementStores.h"
#include "calendar/Calendars.h"
#include "datafiles/Notices.h"
#include "schedule/DayRows.h"
#include "schedule/ICalendars.h"
#include "text/Texts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// The suffixes of kExportFilters, in the same order.
constexpr const char* kExportSuffixes[] = {"png", "pdf", "ics"};

bool WriteFile(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const auto size = static_cast<qint64>(bytes.size());
  return file.write(bytes.data(), size) == size && file.flush();
}

}  // namespace

TViewCommands::TViewCommands(QWidget& window, TSchedule& schedule, TUserNotices& notices)
    : window_(window), schedule_(schedule), notices_(notices) {
  CreateActions(window);
}

TViewCommands::~TViewCommands() = default;

void TViewCommands::CreateActions(QWidget& window) {
  const auto add = [&window](const char* name, const char* caption, Qt::Key key) {
    auto* action = new QAction(Q(caption), &window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(QKeySequence(Qt::ControlModifier | key));
    window.addAction(action);
    return action;
  };
  connect(add("PrintAction", "印刷...", Qt::Key_P), &QAction::triggered, this,
          &TViewCommands::Print);
  connect(add("ExportAction", "エクスポート...", Qt::Key_E), &QAction::triggered, this,
          &TViewCommands::Export);
  sort_action_ = add("SortByTimeAction", "時刻順に並べる", Qt::Key_T);
  sort_action_->setCheckable(true);
  connect(sort_action_, &QAction::triggered, this, &TViewCommands::SetSortByTime);
}

void ApplyChosenOrder(TSchedule& schedule) {
  const TPlacementStore store(kSettingsApplication);
  schedule.SetSortByTime(store.ReadBool(kOrderGroup, kOrderKey, schedule.SortByTime()));
}

void TViewCommands::RestoreChoices() {
  // A choice made in this run (the pages may be applied again while it runs) beats the
  // stored one.
  if (order_chosen_) {
    schedule_.SetSortByTime(sort_action_->isChecked());
  } else {
    ApplyChosenOrder(schedule_);
  }
  sort_action_->setChecked(schedule_.SortByTime());
}

void TViewCommands::SaveChoices() {
  if (!order_chosen_) return;
  TPlacementStore store(kSettingsApplication);
  store.WriteBool(kOrderGroup, kOrderKey, schedule_.SortByTime());
}

void TViewCommands::SetSortByTime(bool sort) {
  schedule_.SetSortByTime(sort);
  sort_action_->setChecked(sort);
  order_chosen_ = true;
}

void TViewCommands::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(window_.windowTitle());
  printer.setPageOrientation(OrientationFor(schedule_.size()));
  QPrintDialog dialog(&printer, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PrintPicture(schedule_, printer)) notices_.Warning("印刷できませんでした。");
}

void TViewCommands::CreateExportDialog() {
  export_dialog_.reset(new QFileDialog(&window_));
  QFileDialog& dialog = *export_dialog_;
  dialog.setObjectName("ExportDialog");
  dialog.setWindowTitle(Q("エクスポート"));
  // Qt's own dialog, as the open dialog: it speaks Japanese whatever the user's locale.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowFileListInOurLocale(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const char* filter : kExportFilters) filters << Q(filter);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QLatin1String(kExportSuffixes[0]));
  // A name typed without a suffix takes that of the chosen filter.
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
    const auto index = filters.indexOf(f);
    if (index >= 0 && index < static_cast<qsizetype>(std::size(kExportSuffixes))) {
      dialog.setDefaultSuffix(QLatin1String(kExportSuffixes[index]));
    }
  });
}

void TViewCommands::Export() {
  if (!export_dialog_) CreateExportDialog();
  if (export_dialog_->exec() != QDialog::Accepted) return;
  const QStringList files = export_dialog_->selectedFiles();
  if (!files.isEmpty()) ExportTo(files.first());
}

bool TViewCommands::ExportTo(const QString& path) {
  const std::optional<TPictureFormat> format = PictureFormatOf(path);
  const bool written =
      format ? SavePicture(schedule_, path, *format) : WriteFile(path, ShownDaysICalendar());
  if (!written) {
    notices_.Warning(Concat({path.toStdString(), " に書き込めませんでした。"}));
  }
  return written;
}

std::string TViewCommands::ShownDaysICalendar() const {
  // The rows are made over a calendar of their own: the walk marks private holidays on it.
  TCalendar calendar = schedule_.Calendar();
  const std::vector<TDayRow> rows =
      DayRows(schedule_.EntryList(), calendar, schedule_.GetSettings().Filter, schedule_.TopDate(),
              schedule_.EndDate());
  std::ostringstream text;
  WriteICalendar(text, schedule_.EntryList(), rows, calendar.Today());
  return std::move(text).str();
}

}  // namespace pelo
