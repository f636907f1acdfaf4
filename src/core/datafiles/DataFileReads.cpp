#include "datafiles/DataFileReads.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "text/Cp932.h"

namespace pelo {

namespace {

// The largest file taken as a data file. A real one holds some ten thousand lines (well
// under a megabyte); anything near this size is no data file, and reading it whole (and
// its decoded copy) could take all the memory there is.
constexpr off_t kMaxDataFileSize = off_t{64} * 1024 * 1024;

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

// Reads a regular file whole. Folders, pipes, sockets and devices are refused before they
// are opened and again after (the path may change in between); the descriptor never blocks
// and is only ever read. Other programs are kept from writing while we read when the
// system lets us take a shared lock; when it does not, we read all the same.
bool ReadDataFile(const std::string& path, std::string& bytes, bool& read_only) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const TFileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) return false;
  if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  read_only = IsReadOnly(info);
  if (info.st_size > kMaxDataFileSize) return false;
  flock(file.get(), LOCK_SH | LOCK_NB);

  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(file.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    // The file may grow while we read it.
    if (bytes.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxDataFileSize)) {
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

// CP932 never uses a byte below 0x40 as the second byte of a character, so the NUL, CR and
// LF found in the bytes are the characters themselves.
std::string DataFileText(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  return DecodeCp932(bytes);
}

std::size_t DataFileHash(std::string_view bytes) noexcept {
  return std::hash<std::string_view>{}(bytes);
}

}  // namespace pelo
