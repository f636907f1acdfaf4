#pragma once

// Keeps what the window shows in step with the files on the disk. Every loaded data file and
// every page file of the command line is watched, and so is each one's folder: an editor that
// saves by renaming a new file over the old one, or a file that vanished and comes back, shows
// there. Once the changes have been quiet for a moment, each changed data file is read again
// in place of its entries (TEntryList::ReloadFile), the page files are applied again, and the
// schedule is rebuilt on the same cursor date. Then, and only then, the user hears of it: the
// load report of the bad lines that are new, one message for a file that cannot be read (its
// last good entries stay until it can), and a note, never a box, when in-memory changes of a
// changed file went with it.

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "datafiles/EntryLists.h"

namespace pelo {

class TSchedule;
class TScheduleDocument;
class TUserNotices;

class TLiveFiles : public QObject {
  Q_OBJECT

 public:
  // How long the files must stay unchanged before they are read: an editor's save is
  // several writes, and a copy many.
  static constexpr int kQuietMs = 300;

  // apply_pages applies the page files again, in their order, over the built-in page.
  TLiveFiles(TSchedule& schedule, TUserNotices& notices, std::function<void()> apply_pages,
             QObject* parent = nullptr);

  // Watches the data files the schedule's entry list holds now and the given page files; called
  // after every load of files. What was noted about the files before is forgotten.
  void WatchLoadedFiles(std::vector<std::string> page_files);
  // Reads every file again now, the same bytes as well (F5): every in-memory change goes, and
  // one note says so.
  void ReloadAll();

  // The paths watched, for a look from the tests.
  QStringList WatchedPaths() const;

 signals:
  // In-memory changes were dropped by a reload (text says which file's), or F5 read every
  // file again.
  void Note(const QString& text);
  // A reload has rebuilt the schedule.
  void Reloaded();

 private:
  void PathChanged(const QString& path);
  void FolderChanged(const QString& folder);
  // The quiet time is over: read the changed files, unless a box or a drag is under way (an
  // answer pending must not find the entries replaced); then it waits another while.
  void ReadChanged();
  // Reads the data files and page files among paths; even_unchanged as in ReloadFile.
  void Reload(const std::set<std::string>& paths, bool even_unchanged);
  // What a reload of the file at index has to tell, after the schedule was rebuilt; the note
  // on its dropped in-memory changes only when note_dropped_edits.
  void Tell(int32_t index, const TEntryList::TReloadResult& result, bool note_dropped_edits);
  // The page files, then the data files the entry list holds.
  std::vector<std::string> Paths() const;
  // Adds the paths and folders the watcher lost (a file renamed over or gone and back).
  void Rewatch();

  // What the file system says of a path: a file renamed over, written or gone differs.
  struct TStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t mode = 0;
    int64_t size = 0;
    int64_t modified_ns = 0;
    friend bool operator==(const TStamp&, const TStamp&) = default;
  };
  static TStamp StampOf(const std::string& path);

  TSchedule& schedule_;          // a drag holds its entry's position until the drop
  TScheduleDocument& document_;  // the schedule's: the files read again, the table rebuilt
  TUserNotices& notices_;
  std::function<void()> apply_pages_;
  QFileSystemWatcher watcher_;
  QTimer quiet_;
  std::vector<std::string> page_files_;
  std::set<std::string> changed_;
  std::map<std::string, TStamp> stamps_;  // of every watched path, as last seen
  // The file indexes whose unreadable state was told; told again only after a good read.
  std::set<int32_t> told_unreadable_;
};

}  // namespace pelo
