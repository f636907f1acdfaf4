#include "app/CommandLines.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "datafiles/EntryLists.h"
#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "text/Paths.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

int32_t ScreenHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  // Without a screen nothing is shown anyway; the normal-height page is the sensible one.
  return screen != nullptr ? screen->geometry().height() : TPage::kSmallScreenHeight;
}

// Reads section "NerikaPage1" of a page file into the page and applies its schedule part.
void ApplyPageFile(TSchedule& schedule, TPage& page, const std::string& path) {
  const TIniFile ini{std::filesystem::path(path)};
  // Whether the section held a page does not matter: without one the settings are as they
  // were and are applied once more.
  page.Read(ini, kPageSection);
  schedule.ApplySettings(page.Schedule);
  if (page.Calendar.has_value()) schedule.SetCalendarKind(*page.Calendar);
}

}  // namespace

TArgumentKind ArgumentKind(const QString& argument) {
  const QString upper = argument.toUpper();
  if (upper.contains(QLatin1String(".NRK"))) return TArgumentKind::kDataFile;
  if (upper.contains(QLatin1String(".NPG"))) return TArgumentKind::kPageFile;
  if (upper.contains(QLatin1String(".DAT"))) return TArgumentKind::kDataFile;
  return TArgumentKind::kIgnored;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::vector<std::string> ArgumentFiles(const QStringList& arguments, TArgumentKind kind) {
  std::vector<std::string> paths;
  for (const QString& argument : arguments) {
    if (ArgumentKind(argument) == kind) paths.push_back(LocalPath(argument));
  }
  return paths;
}

std::string ProgramPageFile() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return {};
  std::string program_page = JoinPath(folder, kProgramPageFile);
  std::error_code error;
  return std::filesystem::exists(program_page, error) ? program_page : std::string();
}

std::vector<std::string> ArgumentInputs(const QStringList& arguments) {
  std::vector<std::string> inputs = ArgumentFiles(arguments, TArgumentKind::kPageFile);
  const std::vector<std::string> data_files = ArgumentFiles(arguments, TArgumentKind::kDataFile);
  inputs.insert(inputs.end(), data_files.begin(), data_files.end());
  if (std::string program_page = ProgramPageFile(); !program_page.empty()) {
    inputs.insert(inputs.begin(), std::move(program_page));
  }
  return inputs;
}

QString PageName(const QStringList& arguments) {
  std::vector<std::string> pages = ArgumentFiles(arguments, TArgumentKind::kPageFile);
  if (pages.empty()) pages.push_back(ProgramPageFile());
  return QFileInfo(QFile::decodeName(pages.back().c_str())).completeBaseName();
}

void ApplyPages(TSchedule& schedule, const QStringList& arguments) {
  const int32_t screen_height = ScreenHeight();
  TPage page(screen_height);
  page.Reset(kPresetDefaultPage, screen_height);
  schedule.ApplySettings(page.Schedule);

  if (const std::string program_page = ProgramPageFile(); !program_page.empty()) {
    ApplyPageFile(schedule, page, program_page);
  }
  for (const std::string& path : ArgumentFiles(arguments, TArgumentKind::kPageFile)) {
    ApplyPageFile(schedule, page, path);
  }
}

bool ApplyCommandLine(TSchedule& schedule, const QStringList& arguments,
                      const std::function<bool()>& go_on) {
  ApplyPages(schedule, arguments);
  // Without arguments nothing is loaded at all, not even an empty list.
  if (arguments.isEmpty()) return true;
  TEntryList& list = schedule.EntryList();
  list.Clear();
  bool all_read = true;
  for (const std::string& name : ArgumentFiles(arguments, TArgumentKind::kDataFile)) {
    if (!go_on()) return false;
    if (!list.LoadFromFile(name)) all_read = false;
  }
  return all_read;
}

}  // namespace pelo
