#include "schedule/IniFiles.h"

#include "text/Cp932.h"
#include "text/Texts.h"

namespace pelo {

namespace {

int32_t HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

bool ParseIniInteger(std::string_view text, int32_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    if (digits.size() > 8) return false;
    uint32_t bits = 0;
    for (const char c : digits) {
      const int32_t digit = HexDigit(c);
      if (digit < 0) return false;
      bits = (bits << 4) | static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(bits);
    return true;
  }
  return ParseInt32(text, value);
}

TIniFile::TIniFile(const std::filesystem::path& file_name) {
  TFileReadStatus status = TFileReadStatus::kRead;
  *this = Read(file_name, status);
}

TIniFile TIniFile::Read(const std::filesystem::path& file_name, TFileReadStatus& status) {
  std::string bytes;
  bool read_only = false;
  status = ReadWholeFile(file_name.string(), kMaxFileSize, bytes, read_only);
  if (status != TFileReadStatus::kRead) return TIniFile();
  return FromBytes(bytes);
}

TIniFile TIniFile::FromBytes(std::string_view bytes) {
  return FromText(DecodeFileText(bytes).text);
}

TIniFile TIniFile::FromText(std::string_view text) {
  TIniFile ini;
  ini.Parse(text);
  return ini;
}

void TIniFile::Parse(std::string_view text) {
  // Keys before the first header, and every key of a repeated section, belong nowhere: the
  // first section of a name is the only one ever looked at.
  TKeys* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    // CR LF, LF and CR all end a line; the empty lines between CR and LF are skipped below.
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimControl(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      // A header without its "]" still names a section: the rest of the line.
      std::string_view name = line.substr(1);
      name = name.substr(0, name.find(']'));
      const bool added =
          section_index_.emplace(AsciiUpper(TrimControl(name)), sections_.size()).second;
      if (added) {
        sections_.emplace_back();
        current = &sections_.back();
      } else {
        current = nullptr;
      }
      continue;
    }
    const std::size_t equal = line.find('=');
    if (equal == std::string_view::npos || current == nullptr) continue;
    const std::string_view key = TrimControl(line.substr(0, equal));
    if (key.empty()) continue;
    current->emplace(AsciiUpper(key), std::string(TrimControl(line.substr(equal + 1))));
  }
}

const std::string* TIniFile::Find(std::string_view section, std::string_view key) const {
  const auto section_it = section_index_.find(AsciiUpper(TrimControl(section)));
  if (section_it == section_index_.end()) return nullptr;
  const TKeys& keys = sections_[section_it->second];
  const auto key_it = keys.find(AsciiUpper(TrimControl(key)));
  return key_it == keys.end() ? nullptr : &key_it->second;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  const std::string* value = Find(section, key);
  return std::string(value != nullptr ? WithoutQuotes(*value) : default_value);
}

std::string TIniFile::ReadRawString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  const std::string* value = Find(section, key);
  return value != nullptr ? *value : std::string(default_value);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int32_t default_value) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return default_value;
  int32_t number = default_value;
  return ParseIniInteger(WithoutQuotes(*value), number) ? number : default_value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const {
  return section_index_.contains(AsciiUpper(TrimControl(section)));
}

bool TIniFile::KeyExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

}  // namespace pelo
