// Arbitrary bytes as a whole pelo-agenda run, in-process: the command line and the two files
// it may name. The input is ARGUMENTS \0 DATA FILE \0 PAGE FILE, the arguments one per line;
// the argument "DATA" names the data file and "PAGE" the page file, both in a folder of the
// fuzzer's own (a part left out leaves its file missing). Arguments that could name a file
// elsewhere (an absolute path, "..") are dropped, so that no run reads what lies around it.
// Today is fixed before each run, so the same input always runs the same. Beyond not
// crashing: the status is 0, 1 or 2, and bad usage prints nothing on standard output.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "AgendaRun.h"
#include "FuzzSupport.h"

namespace {

using pelo::fuzz::Check;
using pelo::fuzz::kFuzzPackBudget;

// The folder of the two files, removed when the fuzzer ends.
class TFuzzFolder {
 public:
  TFuzzFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelo-agenda-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
  }
  ~TFuzzFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TFuzzFolder(const TFuzzFolder&) = delete;
  TFuzzFolder& operator=(const TFuzzFolder&) = delete;

  // Writes bytes as name, or removes it when there are none to write.
  std::string Place(const char* name, const std::string_view* bytes) const {
    const std::filesystem::path file = path_ / name;
    std::error_code error;
    std::filesystem::remove(file, error);
    if (bytes != nullptr) {
      std::ofstream out(file, std::ios::binary);
      out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    }
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

std::vector<std::string_view> Split(std::string_view text, char separator, std::size_t most) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < most) {
    const std::size_t end = text.find(separator);
    if (end == std::string_view::npos) break;
    parts.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  parts.push_back(text);
  return parts;
}

bool NamesAnotherPlace(std::string_view argument) {
  return argument.starts_with('/') || argument.find("..") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TFuzzFolder folder;
  const std::vector<std::string_view> parts =
      Split(std::string_view(reinterpret_cast<const char*>(data), size), '\0', 3);
  const std::string data_file = folder.Place("a.nrk", parts.size() > 1 ? &parts[1] : nullptr);
  const std::string page_file = folder.Place("p.npg", parts.size() > 2 ? &parts[2] : nullptr);

  // A fixed today first; a --today of the input comes later and wins.
  std::vector<std::string> args{"--today", "2024/5/10"};
  for (const std::string_view argument : Split(parts[0], '\n', SIZE_MAX)) {
    if (argument == "DATA") {
      args.push_back(data_file);
    } else if (argument == "PAGE") {
      args.push_back(page_file);
    } else if (!NamesAnotherPlace(argument)) {
      args.emplace_back(argument);
    }
  }

  std::ostringstream out;
  std::ostringstream err;
  const int status = pelo::agenda::RunAgenda(args, out, err, kFuzzPackBudget);
  Check(status == 0 || status == pelo::agenda::kExitFileProblem ||
        status == pelo::agenda::kExitUsage);
  if (status == pelo::agenda::kExitUsage) Check(out.str().empty());
  return 0;
}
