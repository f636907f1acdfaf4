#include "text/FileIdentities.h"

#include <sys/stat.h>

#include <algorithm>

#include "text/Texts.h"

namespace pelo {

namespace {

constexpr const char* kInputTail = "は読み込んでいるファイルなので書き込めません。";
constexpr const char* kNotRegularTail = "は通常のファイルではないので書き込めません。";

bool StatOf(const std::string& path, struct stat& status) {
  return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

}  // namespace

TFileKind FileKindOf(const std::string& path) {
  struct stat status {};
  if (!StatOf(path, status)) return TFileKind::kMissing;
  return S_ISREG(status.st_mode) ? TFileKind::kRegular : TFileKind::kOther;
}

bool FileIdentityOf(const std::string& path, TFileIdentity& identity) {
  struct stat status {};
  if (!StatOf(path, status)) return false;
  identity = {status.st_dev, status.st_ino};
  return true;
}

bool SameFileAsAny(const std::string& path, const std::vector<std::string>& others) {
  TFileIdentity target;
  if (!FileIdentityOf(path, target)) return false;
  return std::any_of(others.begin(), others.end(), [&target](const std::string& other) {
    TFileIdentity identity;
    return FileIdentityOf(other, identity) && identity == target;
  });
}

std::string RefusedOutput(const std::string& path, const std::string& name,
                          const std::vector<std::string>& inputs) {
  if (SameFileAsAny(path, inputs)) return Concat({name, kInputTail});
  if (FileKindOf(path) == TFileKind::kOther) return Concat({name, kNotRegularTail});
  return {};
}

}  // namespace pelo
