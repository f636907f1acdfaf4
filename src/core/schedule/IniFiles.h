#pragma once

// A read-only ini file in the manner of the platform's profile functions, for the page
// settings files: "[Section]" headers, "Key=Value" lines, ";" comments. Section and key
// names compare without regard to ASCII case, keys and values are trimmed, the first
// section of a name and the first key of a name inside it win, and a value wrapped in
// double quotes loses them. The file is decoded once, whole: Shift-JIS (CP932), or UTF-8 as
// a data file is (DecodeFileText).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "datafiles/DataFileReads.h"

namespace pelo {

class TIniFile {
 public:
  // A page file is a few kilobytes; anything larger than this is no page file and reads as
  // empty rather than filling the memory.
  static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

  // An empty ini file: every key reads as its default.
  TIniFile() = default;

  // Reads the whole file. A missing, unreadable or oversized file, or anything that is not a
  // regular file (a folder, a device, a pipe), reads as empty: never an error.
  explicit TIniFile(const std::filesystem::path& file_name);
  // The same, telling what stood in the way of reading it.
  static TIniFile Read(const std::filesystem::path& file_name, TFileReadStatus& status);

  // From the raw bytes of a file.
  static TIniFile FromBytes(std::string_view bytes);
  // From text already decoded to UTF-8.
  static TIniFile FromText(std::string_view text);

  // The value of key in section, default_value when the key is missing. An empty value
  // ("Key=") is a value, not a missing key.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

  // As ReadString but with a wrapping pair of double quotes kept: for values whose own
  // syntax uses quotes at their ends.
  std::string ReadRawString(std::string_view section, std::string_view key,
                            std::string_view default_value) const;

  // A decimal integer ("-12", "+7") that fits in 32 bits, or "0x" / "0X" followed by one to
  // eight hexadecimal digits, taken as a 32-bit pattern ("0xFFFFFFFF" is -1), the way the
  // platform's own profile reading takes it. Anything else, trailing text included, gives
  // default_value.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

  // An integer as ReadInteger reads it; any number but 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  // True when the file holds a header of that section, even one without keys.
  bool SectionExists(std::string_view section) const;
  // True when the section holds the key, even with an empty value.
  bool KeyExists(std::string_view section, std::string_view key) const;

 private:
  // Keys upper-cased; values trimmed, quotes not yet taken off.
  using TKeys = std::unordered_map<std::string, std::string>;

  void Parse(std::string_view text);
  const std::string* Find(std::string_view section, std::string_view key) const;

  std::vector<TKeys> sections_;
  std::unordered_map<std::string, std::size_t> section_index_;  // upper-cased name
};

// The integer forms of TIniFile::ReadInteger. value is changed only on success.
bool ParseIniInteger(std::string_view text, int32_t& value);

}  // namespace pelo
