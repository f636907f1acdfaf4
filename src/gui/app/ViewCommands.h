#pragma once

// The commands of the main window that work on what it shows: print the grid (Ctrl+P),
// export it as a PNG image or a PDF, or the entries of the shown days as iCalendar (Ctrl+E),
// and show each day's lines in time order (Ctrl+T, a toggle). The user's choice of order is
// kept beside the window placement and wins over the pages' from the next start on. Nothing
// is ever written onto a file the window reads, and every file is written whole or not at all.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include <functional>

#include "app/QuietFileDialogs.h"

class QAction;
class QFileDialog;
class QIODevice;
class QPrinter;
class QWidget;

namespace pelo {

class TPlacementStore;
class TSchedule;
class TUserNotices;

// Where the choice of order is stored: group and key beside the window placement.
inline constexpr const char* kOrderGroup = "Schedule";
inline constexpr const char* kOrderKey = "SortByTime";

// The export dialog's filters, in Qt's "caption (patterns)" form: PNG, PDF, iCalendar.
inline constexpr const char* kExportFilters[] = {"PNG 画像 (*.png)", "PDF 文書 (*.pdf)",
                                                 "iCalendar (*.ics)"};

// The order of lines the user chose in the window, if ever, over the pages' (the window at
// start-up, and pelo --export, which draws what the window would show).
void ApplyChosenOrder(TSchedule& schedule, const TPlacementStore& store);

class TViewCommands : public QObject {
  Q_OBJECT

 public:
  // The actions are the window's (objects named PrintAction, ExportAction, SortByTimeAction),
  // so that their keys work wherever its focus is. schedule, notices and store must outlive
  // the commands, which go before the window. arguments: the window's command line (its page
  // files are read, and the last one names the page).
  TViewCommands(QWidget& window, TSchedule& schedule, TUserNotices& notices, TPlacementStore& store,
                QStringList arguments);
  ~TViewCommands() override;

  // After the pages: the choice of order made in this run, else the stored one, if the user
  // ever made one.
  void RestoreChoices();
  // At close: a choice of order made in this run is stored.
  void SaveChoices();

  // The print dialog, then PrintTo.
  void Print();
  // The grid on printer (landscape for a wide grid), under its heading; printed to a PDF
  // file, that file is written as an export is. A failure is a warning; false then.
  bool PrintTo(QPrinter& printer);
  // The save dialog, then ExportTo. A name the dialog may not take is said in a warning, and
  // the dialog stays.
  void Export();
  // By the name's suffix: the grid as PNG (.png) or PDF (.pdf), else the entries of the shown
  // days as iCalendar. A file that cannot or may not be written is a warning; false then.
  bool ExportTo(const QString& path);
  // Every file the window reads but its settings: an output must go to none of them, nor to
  // the settings.
  std::vector<std::string> ReadFiles() const;
  // False, after a warning that says why, when nothing may be written to path.
  bool MayWrite(const QString& path);
  // The toggle, as the user would use it.
  void SetSortByTime(bool sort);
  // The toggle's action (Ctrl+T), for the toolbar.
  QAction& SortAction() const noexcept { return *sort_action_; }

 private:
  void CreateActions(QWidget& window);
  void CreateExportDialog();
  // write into path atomically; a failure is a warning.
  bool WriteOutput(const QString& path, const std::function<bool(QIODevice&)>& write);
  // The iCalendar form of the shown days' lines, made by the writer pelo-agenda uses.
  std::string ShownDaysICalendar() const;

  QWidget& window_;
  TSchedule& schedule_;
  TUserNotices& notices_;
  TPlacementStore& store_;
  const QStringList arguments_;
  QAction* sort_action_ = nullptr;  // owned by the window as a Qt child
  bool order_chosen_ = false;
  std::unique_ptr<QFileDialog, TQuietDialogDeleter> export_dialog_;
};

}  // namespace pelo
