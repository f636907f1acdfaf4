#pragma once

// The data and page files as they are on disk: their stamps are looked at, at most once a
// second, and a file that changed is read again as the viewer does; one that vanished or can
// no longer be read keeps its last good entries, and says so.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/EntryLists.h"
#include "datafiles/Notices.h"
#include "text/SmallSets.h"

namespace pelo::serve {

// What stat tells of a file; all zero for one that is not there.
struct TFileStamp {
  int64_t ModifiedNs = 0;  // since the epoch
  int64_t Size = -1;
  uint64_t Inode = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};
TFileStamp StampOf(const std::string& path) noexcept;

class TServeFiles {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kCheckInterval{1000};

  // Loads the data files (their problems go to notices) and takes the filter of the page
  // files and of filter_option, as pelo-agenda does. A data file that is missing now is
  // never loaded (AllLoaded tells): the caller should not go on without it.
  TServeFiles(TUserNotices& notices, TDateRec today, std::vector<std::string> data_files,
              std::vector<std::string> page_files, std::optional<TFilterSet> filter_option);

  // Looks at the stamps unless it did less than kCheckInterval before now, and reads a
  // changed file again. True when anything shown may have changed.
  bool Refresh(TClock::time_point now);

  bool AllLoaded() const noexcept { return all_loaded_; }
  TEntryList& List() noexcept { return *list_; }
  const TFilterSet& Filter() const noexcept { return filter_; }
  // Counts every change seen: what a cache of made answers keys on.
  uint64_t Generation() const noexcept { return generation_; }
  // Every file's stamp and the filter, as text: the same for the same files in any run.
  std::string StampText() const;
  // The latest modification of the files, in seconds since the epoch.
  int64_t LastModified() const noexcept;
  // One line per data file that is missing or unreadable now, in Japanese, for the page.
  const std::vector<std::string>& Problems() const noexcept { return problems_; }
  // Warnings of the page files (a page file not found), for the log.
  const std::vector<std::string>& Warnings() const noexcept { return warnings_; }

 private:
  static bool Troubled(TEntryList::TReloadOutcome outcome) noexcept {
    return outcome == TEntryList::TReloadOutcome::kMissing ||
           outcome == TEntryList::TReloadOutcome::kUnreadable;
  }
  void ReadFilter();
  void ListProblems();

  std::unique_ptr<TEntryList> list_;
  std::vector<std::string> data_files_;
  std::vector<std::string> page_files_;
  std::optional<TFilterSet> filter_option_;
  TFilterSet filter_;
  std::vector<TEntryList::TReloadOutcome> outcomes_;  // of the last read, by data file
  std::vector<TFileStamp> data_stamps_;
  std::vector<TFileStamp> page_stamps_;
  std::vector<std::string> problems_;
  std::vector<std::string> warnings_;
  TClock::time_point checked_{};
  bool checked_once_ = false;
  bool all_loaded_ = true;
  uint64_t generation_ = 0;
};

}  // namespace pelo::serve
