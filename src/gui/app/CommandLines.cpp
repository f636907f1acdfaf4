#include "app/CommandLines.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

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

void ApplyPages(TSchedule& schedule, const QStringList& arguments) {
  const int32_t screen_height = ScreenHeight();
  TPage page(screen_height);
  page.Reset(kPresetDefaultPage, screen_height);
  schedule.ApplySettings(page.Schedule);

  const std::string folder = ProgramFolder();
  if (!folder.empty()) {
    const std::string program_page = JoinPath(folder, kProgramPageFile);
    std::error_code error;
    if (std::filesystem::exists(program_page, error)) {
      ApplyPageFile(schedule, page, program_page);
    }
  }
  for (const std::string& path : ArgumentFiles(arguments, TArgumentKind::kPageFile)) {
    ApplyPageFile(schedule, page, path);
  }
}

void ApplyCommandLine(TSchedule& schedule, const QStringList& arguments) {
  ApplyPages(schedule, arguments);
  // Without arguments nothing is loaded at all, not even an empty list.
  if (arguments.isEmpty()) return;
  std::vector<std::string> names = ArgumentFiles(arguments, TArgumentKind::kDataFile);
  schedule.EntryList().LoadFiles(&names);
}

}  // namespace pelo
