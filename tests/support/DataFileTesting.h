#pragma once

// What the data-file tests share: a temporary folder that cleans up after itself, writing
// files as CP932 bytes, and a snapshot of a folder (names, modes, sizes, content hashes) to
// show that loading and editing never touch a data file.

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "text/Cp932.h"

namespace pelo::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelo-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    // Read-only files and folders made by a test must not stop the cleaning.
    for (const auto& item : std::filesystem::recursive_directory_iterator(path_, error)) {
      std::filesystem::permissions(item.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes bytes as they are.
  std::string WriteBytes(std::string_view name, std::string_view bytes) const {
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file);
    return file;
  }
  // Writes UTF-8 text as the CP932 bytes a data file holds.
  std::string WriteCp932(std::string_view name, std::string_view utf8) const {
    return WriteBytes(name, EncodeCp932(utf8));
  }

 private:
  std::string path_;
};

// 64-bit FNV-1a of a file's bytes.
inline uint64_t HashFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  uint64_t hash = 14695981039346656037ull;
  char c;
  while (in.get(c)) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

struct FileState {
  uintmax_t size = 0;
  unsigned mode = 0;
  uint64_t hash = 0;
  int64_t mtime_ns = 0;
  friend bool operator==(const FileState&, const FileState&) = default;
};

// Every entry of a folder by name (regular files with their size, mode, hash and
// modification time; anything else by its mode alone).
inline std::map<std::string, FileState> Snapshot(const std::string& folder) {
  std::map<std::string, FileState> states;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    struct stat info {};
    lstat(item.path().c_str(), &info);
    FileState state;
    state.mode = info.st_mode;
    if (S_ISREG(info.st_mode)) {
      state.size = static_cast<uintmax_t>(info.st_size);
      state.hash = HashFile(item.path().string());
      state.mtime_ns =
          static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    states[item.path().filename().string()] = state;
  }
  return states;
}

}  // namespace pelo::test
