#include "app/ViewCommands.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <iterator>
#include <sstream>
#include <utility>

#include "app/CommandLines.h"
#include "app/FileListTexts.h"
#include "app/GridPictures.h"
#include "app/OutputFiles.h"
#include "app/PlacementStores.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "datafiles/Notices.h"
#include "schedule/DayRows.h"
#include "schedule/ICalendars.h"
#include "text/FileIdentities.h"
#include "text/Texts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// The suffixes of kExportFilters, in the same order.
constexpr const char* kExportSuffixes[] = {"png", "pdf", "ics"};

}  // namespace

TViewCommands::TViewCommands(QWidget& window, TSchedule& schedule, TUserNotices& notices,
                             TPlacementStore& store, QStringList arguments)
    : window_(window),
      schedule_(schedule),
      notices_(notices),
      store_(store),
      arguments_(std::move(arguments)) {
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

void ApplyChosenOrder(TSchedule& schedule, const TPlacementStore& store) {
  schedule.SetSortByTime(store.ReadBool(kOrderGroup, kOrderKey, schedule.SortByTime()));
}

void TViewCommands::RestoreChoices() {
  // A choice made in this run (the pages may be applied again while it runs) beats the
  // stored one.
  if (order_chosen_) {
    schedule_.SetSortByTime(sort_action_->isChecked());
  } else {
    ApplyChosenOrder(schedule_, store_);
  }
  sort_action_->setChecked(schedule_.SortByTime());
}

void TViewCommands::SaveChoices() {
  if (!order_chosen_) return;
  store_.WriteBool(kOrderGroup, kOrderKey, schedule_.SortByTime());
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
  PrintTo(printer);
}

bool TViewCommands::PrintTo(QPrinter& printer) {
  const TPictureHeading heading = ScheduleHeading(schedule_, PageName(arguments_));
  const QString file = printer.outputFileName();
  if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty()) {
    if (PrintPicture(schedule_, heading, printer)) return true;
    notices_.Warning("印刷できませんでした。");
    return false;
  }
  // The printer's own PDF writer hides a failed write: the file is written as an export is.
  if (!MayWrite(file)) return false;
  return WriteOutput(file, [&](QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Pelo"));
    writer.setTitle(printer.docName());
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    return PrintPicture(schedule_, heading, writer);
  });
}

void TViewCommands::CreateExportDialog() {
  export_dialog_.reset(
      new TOutputFileDialog(&window_, [this](const QString& path) { return MayWrite(path); }));
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
  if (!MayWrite(path)) return false;
  const std::optional<TPictureFormat> format = PictureFormatOf(path);
  if (!format) {
    const std::string text = ShownDaysICalendar();
    return WriteOutput(path, [&text](QIODevice& device) { return WriteBytes(device, text); });
  }
  const TPictureHeading heading = ScheduleHeading(schedule_, PageName(arguments_));
  return WriteOutput(
      path, [&](QIODevice& device) { return WritePicture(schedule_, heading, *format, device); });
}

std::vector<std::string> TViewCommands::ReadFiles() const {
  std::vector<std::string> files = ArgumentInputs(arguments_);
  // The data files loaded now, those of the open dialog among them.
  const TFileList& loaded = schedule_.EntryList().FileList();
  for (int32_t i = 0; i < loaded.Count(); ++i) files.push_back(loaded.Path(i));
  return files;
}

bool TViewCommands::MayWrite(const QString& path) {
  std::vector<std::string> inputs = ReadFiles();
  inputs.push_back(store_.FilePath());
  const std::string refusal = RefusedOutput(LocalPath(path), path.toStdString(), inputs);
  if (refusal.empty()) return true;
  notices_.Warning(refusal);
  return false;
}

bool TViewCommands::WriteOutput(const QString& path, const std::function<bool(QIODevice&)>& write) {
  if (SaveAtomically(path, write)) return true;
  notices_.Warning(Concat({path.toStdString(), " に書き込めませんでした。"}));
  return false;
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
