#include "app/LiveFiles.h"

#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "datafiles/LoadErrors.h"
#include "datafiles/Notices.h"
#include "text/Paths.h"
#include "text/Texts.h"
#include "widgets/Schedules.h"

namespace pelo {

namespace {

constexpr std::string_view kEditsDroppedTail =
    " がディスク上で変更されたので読み直しました。このファイルの画面上での変更は破棄されました。";
// F5 reads every file whether it changed or not.
constexpr std::string_view kAllReadAgain = "すべてのファイルを読み直しました。";
constexpr std::string_view kAllReadAgainEditsDropped =
    "すべてのファイルを読み直し、画面上での変更を破棄しました。";

QString ToQPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The folder a path names its file in, as the watcher reports it.
QString FolderPath(const std::string& path) { return QFileInfo(ToQPath(path)).absolutePath(); }

}  // namespace

TLiveFiles::TStamp TLiveFiles::StampOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {true,
          static_cast<uint64_t>(info.st_dev),
          static_cast<uint64_t>(info.st_ino),
          static_cast<uint64_t>(info.st_mode),
          static_cast<int64_t>(info.st_size),
          static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

TLiveFiles::TLiveFiles(TSchedule& schedule, TUserNotices& notices,
                       std::function<void()> apply_pages, QObject* parent)
    : QObject(parent),
      schedule_(schedule),
      document_(schedule.Document()),
      notices_(notices),
      apply_pages_(std::move(apply_pages)) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(kQuietMs);
  connect(&quiet_, &QTimer::timeout, this, &TLiveFiles::ReadChanged);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TLiveFiles::PathChanged);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TLiveFiles::FolderChanged);
}

void TLiveFiles::WatchLoadedFiles(std::vector<std::string> page_files) {
  quiet_.stop();
  changed_.clear();
  told_unreadable_.clear();
  page_files_ = std::move(page_files);
  stamps_.clear();
  for (const std::string& path : Paths()) stamps_[path] = StampOf(path);
  if (const QStringList watched = WatchedPaths(); !watched.isEmpty()) {
    watcher_.removePaths(watched);
  }
  Rewatch();
}

QStringList TLiveFiles::WatchedPaths() const { return watcher_.files() + watcher_.directories(); }

std::vector<std::string> TLiveFiles::Paths() const {
  const TFileList& files = document_.EntryList().FileList();
  std::vector<std::string> paths = page_files_;
  for (int32_t i = 0; i < files.Count(); ++i) paths.push_back(files.Path(i));
  return paths;
}

void TLiveFiles::Rewatch() {
  QStringList paths;
  for (const std::string& path : Paths()) {
    paths << ToQPath(path) << FolderPath(path);
  }
  paths.removeDuplicates();
  const QStringList watched = WatchedPaths();
  QStringList missing;
  for (const QString& path : paths) {
    if (!watched.contains(path) && QFileInfo::exists(path)) missing << path;
  }
  // Paths that cannot be watched (too many watches, say) are refused quietly: they are
  // still read again by F5.
  if (!missing.isEmpty()) watcher_.addPaths(missing);
}

void TLiveFiles::PathChanged(const QString& path) {
  const std::string local = ToLocalPath(path);
  stamps_[local] = StampOf(local);
  changed_.insert(local);
  quiet_.start();
}

// Anything in the folder changed: only our files whose stamp moved count, so that a busy
// folder (another program's log beside a data file) never keeps the quiet time from ending.
void TLiveFiles::FolderChanged(const QString& folder) {
  bool any = false;
  for (const std::string& path : Paths()) {
    if (FolderPath(path) != folder) continue;
    TStamp& known = stamps_[path];
    const TStamp now = StampOf(path);
    if (now == known) continue;
    known = now;
    changed_.insert(path);
    any = true;
  }
  if (any) quiet_.start();
}

void TLiveFiles::ReadChanged() {
  if (QApplication::activeModalWidget() != nullptr || schedule_.Dragging()) {
    quiet_.start();
    return;
  }
  const std::set<std::string> paths = std::move(changed_);
  changed_.clear();
  Reload(paths, false);
}

void TLiveFiles::ReloadAll() {
  // A drag holds the position of its entry until the drop.
  if (schedule_.Dragging()) return;
  quiet_.stop();
  changed_.clear();
  const std::vector<std::string> all = Paths();
  Reload(std::set<std::string>(all.begin(), all.end()), true);
}

void TLiveFiles::Reload(const std::set<std::string>& paths, bool even_unchanged) {
  TEntryList& list = document_.EntryList();
  std::vector<std::pair<int32_t, TEntryList::TReloadResult>> results;
  bool rebuild = false;
  for (int32_t i = 0; i < list.FileList().Count(); ++i) {
    if (paths.count(list.FileList().Path(i)) == 0) continue;
    results.emplace_back(i, list.ReloadFile(i, even_unchanged));
    rebuild = rebuild || results.back().second.Outcome == TEntryList::TReloadOutcome::kReloaded;
  }
  bool pages = false;
  for (const std::string& page : page_files_) pages = pages || paths.count(page) > 0;
  // The page files first: a new layout rebuilds the table by itself when it has to.
  if (pages) apply_pages_();
  if (rebuild) document_.Rebuild();
  Rewatch();
  bool edits_dropped = false;
  for (const auto& [index, result] : results) {
    Tell(index, result, !even_unchanged);
    edits_dropped = edits_dropped || result.EditsDropped;
  }
  // F5 is one key for every file: one note, and no file said to have changed on the disk.
  if (even_unchanged) {
    const std::string_view note = edits_dropped ? kAllReadAgainEditsDropped : kAllReadAgain;
    emit Note(QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
  }
  if (rebuild || pages) emit Reloaded();
}

void TLiveFiles::Tell(int32_t index, const TEntryList::TReloadResult& result,
                      bool note_dropped_edits) {
  const std::string& path = document_.EntryList().FileList().Path(index);
  switch (result.Outcome) {
    case TEntryList::TReloadOutcome::kUnreadable:
      if (!told_unreadable_.insert(index).second) return;
      notices_.Beep(TBeepKind::kExclamation);
      notices_.Warning(CannotOpenMessage(path));
      return;
    case TEntryList::TReloadOutcome::kMissing:
      return;
    case TEntryList::TReloadOutcome::kReloaded:
    case TEntryList::TReloadOutcome::kUnchanged:
      told_unreadable_.erase(index);
      break;
  }
  if (note_dropped_edits && result.EditsDropped) {
    emit Note(QString::fromStdString(Concat({FileNameOf(path), kEditsDroppedTail})));
  }
  if (!result.NewBadLines.Empty()) notices_.ShowLoadErrors(result.NewBadLines);
}

}  // namespace pelo
