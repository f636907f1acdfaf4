#include "ServeFiles.h"

#include <sys/stat.h>

#include <algorithm>

#include "AgendaInputs.h"
#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo::serve {

TFileStamp StampOf(const std::string& path) noexcept {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
          static_cast<int64_t>(info.st_size), static_cast<uint64_t>(info.st_ino)};
}

TServeFiles::TServeFiles(TUserNotices& notices, TDateRec today, std::vector<std::string> data_files,
                         std::vector<std::string> page_files,
                         std::optional<TFilterSet> filter_option)
    : list_(std::make_unique<TEntryList>(notices, today)),
      data_files_(std::move(data_files)),
      page_files_(std::move(page_files)),
      filter_option_(filter_option),
      outcomes_(data_files_.size(), TEntryList::TReloadOutcome::kUnchanged) {
  for (std::size_t i = 0; i < data_files_.size(); ++i) {
    data_stamps_.push_back(StampOf(data_files_[i]));
    if (!list_->LoadFromFile(data_files_[i])) {
      all_loaded_ = false;
      outcomes_[i] = TEntryList::TReloadOutcome::kUnreadable;
    }
  }
  for (const std::string& path : page_files_) page_stamps_.push_back(StampOf(path));
  ReadFilter();
  ListProblems();
}

void TServeFiles::ReadFilter() {
  warnings_.clear();
  agenda::TInputOptions inputs;
  inputs.page_files = page_files_;
  inputs.filter = filter_option_;
  filter_ = agenda::ShownFilter(inputs, warnings_);
}

void TServeFiles::ListProblems() {
  problems_.clear();
  for (std::size_t i = 0; i < data_files_.size(); ++i) {
    if (!Troubled(outcomes_[i])) continue;
    const char* const what =
        outcomes_[i] == TEntryList::TReloadOutcome::kMissing ? "が見つかりません" : "を読めません";
    problems_.push_back(Concat({"ファイル ", FileNameOf(data_files_[i]), " ", what,
                                "。前に読めた内容を表示しています。"}));
  }
}

bool TServeFiles::Refresh(TClock::time_point now) {
  if (checked_once_ && now - checked_ < kCheckInterval) return false;
  checked_once_ = true;
  checked_ = now;
  bool changed = false;
  for (std::size_t i = 0; i < data_files_.size(); ++i) {
    const TFileStamp stamp = StampOf(data_files_[i]);
    // A troubled file is tried again each time: it may be whole again with the old stamp.
    if (stamp == data_stamps_[i] && !Troubled(outcomes_[i])) continue;
    data_stamps_[i] = stamp;
    const TEntryList::TReloadOutcome outcome =
        list_->ReloadFile(static_cast<int32_t>(i), /*even_unchanged=*/false).Outcome;
    if (outcome == TEntryList::TReloadOutcome::kReloaded || outcome != outcomes_[i]) {
      changed = true;
    }
    outcomes_[i] = outcome;
  }
  for (std::size_t i = 0; i < page_files_.size(); ++i) {
    const TFileStamp stamp = StampOf(page_files_[i]);
    if (stamp == page_stamps_[i]) continue;
    page_stamps_[i] = stamp;
    changed = true;
  }
  if (changed) {
    ReadFilter();
    ListProblems();
    ++generation_;
  }
  return changed;
}

std::string TServeFiles::StampText() const {
  std::string text;
  for (const auto* stamps : {&data_stamps_, &page_stamps_}) {
    for (const TFileStamp& stamp : *stamps) {
      text += Concat({std::to_string(stamp.ModifiedNs), ",", std::to_string(stamp.Size), ",",
                      std::to_string(stamp.Inode), ";"});
    }
  }
  return text + FilterSetToText(filter_);
}

int64_t TServeFiles::LastModified() const noexcept {
  int64_t latest = 0;
  for (const TFileStamp& stamp : data_stamps_) latest = std::max(latest, stamp.ModifiedNs);
  for (const TFileStamp& stamp : page_stamps_) latest = std::max(latest, stamp.ModifiedNs);
  return latest / 1'000'000'000;
}

}  // namespace pelo::serve
