#pragma once

// Whether a path names a file the program reads, told by what the file system knows the file
// as (its device and inode, links followed), not by its name: "a.nrk", "./a.nrk", a symbolic
// link to it and a hard link of it are one file. Whatever the program writes is checked
// against what it reads first, so that no output ever lands on an input.

#include <sys/types.h>
#include <string>
#include <vector>

namespace pelo {

struct TFileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  bool operator==(const TFileIdentity&) const = default;
};

// What a path leads to, links followed.
enum class TFileKind {
  kMissing,  // nothing there (or nothing we may look at)
  kRegular,
  kOther,  // a folder, a FIFO, a device, a socket
};

TFileKind FileKindOf(const std::string& path);

// False (identity untouched) when the path leads to nothing.
bool FileIdentityOf(const std::string& path, TFileIdentity& identity);

// True when path leads to an existing file that one of others leads to as well.
bool SameFileAsAny(const std::string& path, const std::vector<std::string>& others);

// Why an output may not go to path, as the line the user reads (name: the path as the user
// gave it); empty when it may. It may not when path is one of the inputs, or when something
// other than a regular file stands there (a FIFO would block the writer, a device or a
// folder cannot take a file).
std::string RefusedOutput(const std::string& path, const std::string& name,
                          const std::vector<std::string>& inputs);

}  // namespace pelo
