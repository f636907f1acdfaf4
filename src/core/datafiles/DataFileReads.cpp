#include "datafiles/DataFileReads.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>

namespace pelo {

namespace {

// The largest file taken as a data file. A real one holds some ten thousand lines (well
// under a megabyte); anything near this size is no data file, and reading it whole (and
// its decoded copy) could take all the memory there is.
constexpr std::size_t kMaxDataFileSize = std::size_t{64} * 1024 * 1024;

// Closes a descriptor (and so drops its lock) on every path.
class TFileHandle {
 public:
  explicit TFileHandle(int fd) noexcept : fd_(fd) {}
  ~TFileHandle() {
    if (fd_ >= 0) close(fd_);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int get() const noexcept { return fd_; }

 private:
  int fd_;
};

bool FileExists(const std::string& path, struct stat& info) {
  if (path.empty()) return false;
  if (stat(path.c_str(), &info) == 0) return true;
  info = {};
  return errno != ENOENT && errno != ENOTDIR;
}

// The owner's write bit decides, not whether we could write: root may write anything.
bool IsReadOnly(const struct stat& info) noexcept { return (info.st_mode & S_IWUSR) == 0; }

}  // namespace

bool DataFileExists(const std::string& path, bool& read_only) {
  struct stat info {};
  if (!FileExists(path, info)) return false;
  read_only = IsReadOnly(info);
  return true;
}

// Folders, pipes, sockets and devices are refused before they are opened and again after
// (the path may change in between); the descriptor never blocks and is only ever read. Other
// programs are kept from writing while we read when the system lets us take a shared lock;
// when it does not, we read all the same.
TFileReadStatus ReadWholeFile(const std::string& path, std::size_t max_size, std::string& bytes,
                              bool& read_only) {
  struct stat info {};
  if (!FileExists(path, info)) return TFileReadStatus::kMissing;
  if (info.st_mode != 0 && !S_ISREG(info.st_mode)) return TFileReadStatus::kNotAFile;
  const TFileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0 || fstat(file.get(), &info) != 0) return TFileReadStatus::kUnreadable;
  if (!S_ISREG(info.st_mode)) return TFileReadStatus::kNotAFile;
  read_only = IsReadOnly(info);
  if (static_cast<std::uintmax_t>(info.st_size) > max_size) return TFileReadStatus::kTooLarge;
  flock(file.get(), LOCK_SH | LOCK_NB);

  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(file.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return TFileReadStatus::kUnreadable;
    }
    // The file may grow while we read it.
    if (bytes.size() + static_cast<std::size_t>(n) > max_size) return TFileReadStatus::kTooLarge;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return TFileReadStatus::kRead;
}

bool ReadDataFile(const std::string& path, std::string& bytes, bool& read_only) {
  return ReadWholeFile(path, kMaxDataFileSize, bytes, read_only) == TFileReadStatus::kRead;
}

// Neither encoding uses a byte below 0x40 inside a character of more than one byte, so the
// NUL, CR and LF found in the bytes are the characters themselves.
TDataFileText DataFileText(std::string_view bytes) {
  TDataFileText text;
  const std::size_t nul = bytes.find('\0');
  text.cut_at_nul = nul != std::string_view::npos;
  text.decoded = DecodeFileText(bytes.substr(0, nul));
  return text;
}

std::size_t DataFileHash(std::string_view bytes) noexcept {
  return std::hash<std::string_view>{}(bytes);
}

}  // namespace pelo
