#include "text/Paths.h"

#include <unistd.h>

#include <array>

namespace pelo {

namespace {

std::size_t LastSeparator(std::string_view path) noexcept { return path.find_last_of("/\\"); }

}  // namespace

std::string ProgramFolder() {
  // readlink does not terminate the text and cuts it silently, so a full buffer counts as
  // a failure.
  std::array<char, 4096> buffer{};
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return {};
  return FolderOf(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
}

std::string FolderOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::string_view::npos) return {};
  // The root keeps its '/': the folder of "/a.bmp" is "/", not the empty text.
  if (separator == 0) return std::string(path.substr(0, 1));
  return std::string(path.substr(0, separator));
}

std::string FileNameOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::string_view::npos) return std::string(path);
  return std::string(path.substr(separator + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty() || (!name.empty() && name.front() == '/')) return std::string(name);
  std::string path(folder);
  if (path.back() != '/') path.push_back('/');
  path += name;
  return path;
}

}  // namespace pelo
