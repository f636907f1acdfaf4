#pragma once

// The viewer's command line: which arguments are data files and which page files, and what
// the start-up makes of them. The window and the headless export read it the same way.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace pelo {

class TSchedule;

// The page file beside the executable, applied before those of the command line.
inline constexpr const char* kProgramPageFile = "Pelo.npg";

// How a command-line argument is taken: a data file when its upper-cased text holds ".NRK"
// anywhere (tested first), else a page file when it holds ".NPG", else a data file of the
// older form when it holds ".DAT", else it is ignored.
enum class TArgumentKind { kIgnored, kDataFile, kPageFile };
TArgumentKind ArgumentKind(const QString& argument);

// A path as the bytes the file system knows it by, as the core takes paths.
std::string LocalPath(const QString& path);

// The command line's arguments of one kind, in their order, as local paths.
std::vector<std::string> ArgumentFiles(const QStringList& arguments, TArgumentKind kind);

// The program's page file beside the executable, when there is one; else empty.
std::string ProgramPageFile();

// Every file the command line makes the program read: the program's page file, then the
// page and data files of arguments. An output must go to none of them.
std::vector<std::string> ArgumentInputs(const QStringList& arguments);

// The name of the page a picture shows, as its heading carries it: the base name of the last
// page file that applies ("sample" for sample.npg); empty for the built-in page alone.
QString PageName(const QStringList& arguments);

// Steps 2 to 4 of the start-up, also when a page file changes on disk: the built-in default
// page (in its small-screen form on a low screen), the program's page file beside the
// executable, then the page files of arguments in order (a page that names a calendar sets
// it).
void ApplyPages(TSchedule& schedule, const QStringList& arguments);

// Steps 2 to 5 of the start-up: the pages as ApplyPages applies them, then the data files of
// arguments, loaded but not yet shown (RefreshData follows). Before each file go_on is asked
// whether to load it (a quit asked for while a report was up stops the start-up there).
// False when a data file could not be read (it is missing, say) or loading was stopped.
bool ApplyCommandLine(
    TSchedule& schedule, const QStringList& arguments,
    const std::function<bool()>& go_on = [] { return true; });

}  // namespace pelo
