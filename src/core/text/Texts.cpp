#include "text/Texts.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace pelo {

namespace {

// Widths come from our own code, never from a file; the cap only keeps a slip from asking
// for gigabytes of padding.
constexpr std::size_t kMaxPadWidth = 1024;

constexpr bool IsBlank(unsigned char c) noexcept { return c >= 1 && c <= 32; }

}  // namespace

std::string NumberText(int32_t number, int32_t width, int32_t pad_kind, bool pad_right,
                       bool grouping, bool plus_sign) {
  const bool negative = number < 0;
  // Unsigned so that INT32_MIN has a magnitude too.
  const uint32_t magnitude =
      negative ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
  std::string digits = std::to_string(magnitude);
  if (grouping) {
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
      if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
      grouped.push_back(digits[i]);
    }
    digits = std::move(grouped);
  }
  std::string text = negative ? Concat({"-", digits}) : digits;
  const std::size_t wanted = std::min<std::size_t>(width > 0 ? width : 0, kMaxPadWidth);
  if (text.size() < wanted) {
    const char pad = pad_kind == kPadZero ? '0' : ' ';
    const std::size_t count = wanted - text.size();
    if (pad_right) {
      text.append(count, pad);
    } else if (pad == '0' && negative) {
      // Zeros go between the sign and the digits: -5 in width 4 is -005, never 00-5.
      text.insert(1, count, '0');
    } else {
      text.insert(0, count, pad);
    }
  }
  if (plus_sign && number > 0) text.insert(0, 1, '+');
  return text;
}

void AppendNumber(std::string& out, int32_t number, int32_t zero_width) {
  // The magnitude unsigned, so that INT32_MIN has one too; the sign goes before the zeros.
  const uint32_t magnitude =
      number < 0 ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
  char digits[16];
  char* const last = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  if (number < 0) out += '-';
  const auto written = static_cast<std::size_t>(last - digits) + (number < 0 ? 1 : 0);
  const std::size_t wanted = std::min<std::size_t>(zero_width > 0 ? zero_width : 0, kMaxPadWidth);
  if (written < wanted) out.append(wanted - written, '0');
  out.append(digits, last);
}

std::string FullWidthNumber(int32_t number) {
  const std::string ascii = std::to_string(number);
  std::string text;
  text.reserve(ascii.size() * 3);
  for (const char c : ascii) {
    if (c >= '0' && c <= '9') {
      AppendUtf8(text, U'\uFF10' + static_cast<char32_t>(c - '0'));
    } else if (c == '-') {
      text += "－";
    } else {
      text += "＋";
    }
  }
  return text;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string text;
  text.reserve(size);
  for (const std::string_view part : parts) text += part;
  return text;
}

bool NextCommaItem(std::string& text, std::string& item) {
  if (text.empty()) {
    item.clear();
    return false;
  }
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) {
    item = std::move(text);
    text.clear();
  } else {
    item = text.substr(0, comma);
    text.erase(0, comma + 1);
  }
  return true;
}

std::string ReplaceAll(std::string_view text, std::string_view code, std::string_view replacement) {
  std::string result(text);
  if (code.empty()) return result;
  std::size_t pos = result.find(code);
  while (pos != std::string::npos) {
    result.replace(pos, code.size(), replacement);
    pos = result.find(code, pos + replacement.size());
  }
  return result;
}

TCommaListReader::TCommaListReader(std::string_view text) noexcept
    // A NUL byte ends the text, as it ends a line of a data file; past it an unquoted item
    // could never advance.
    : text_(text.substr(0, text.find('\0'))) {
  while (pos_ < text_.size() && IsBlank(static_cast<unsigned char>(text_[pos_]))) ++pos_;
}

bool TCommaListReader::Next(std::string& item) {
  const std::size_t size = text_.size();
  if (pos_ >= size) return false;
  auto at = [this](std::size_t i) { return static_cast<unsigned char>(text_[i]); };
  item.clear();
  item_quoted_ = text_[pos_] == '"';
  item_begin_ = item_quoted_ ? pos_ + 1 : pos_;
  if (item_quoted_) {
    // An unclosed quote takes the rest of the text as its item: nothing is lost.
    ++pos_;
    while (pos_ < size) {
      if (text_[pos_] == '"') {
        if (pos_ + 1 < size && text_[pos_ + 1] == '"') {
          item.push_back('"');
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      item.push_back(text_[pos_++]);
    }
  } else {
    const std::size_t begin = pos_;
    while (pos_ < size && !IsBlank(at(pos_)) && text_[pos_] != ',') ++pos_;
    item.assign(text_.substr(begin, pos_ - begin));
  }
  while (pos_ < size && IsBlank(at(pos_))) ++pos_;
  if (pos_ < size && text_[pos_] == ',') {
    ++pos_;
    while (pos_ < size && IsBlank(at(pos_))) ++pos_;
  }
  return true;
}

std::size_t TCommaListReader::TextOffset(std::size_t offset) const noexcept {
  if (!item_quoted_) return item_begin_ + offset;
  std::size_t at = item_begin_;
  for (; offset > 0 && at < text_.size(); --offset) at += text_[at] == '"' ? 2 : 1;
  return at;
}

std::vector<std::string> SplitCommaList(std::string_view text) {
  std::vector<std::string> items;
  TCommaListReader reader(text);
  for (std::string item; reader.Next(item);) items.push_back(std::move(item));
  return items;
}

bool ParseInt32(std::string_view text, int32_t& value) {
  std::size_t pos = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    pos = 1;
  }
  if (pos >= text.size()) return false;
  // The magnitude may reach 2^31 for INT32_MIN; stop as soon as it cannot fit.
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{2147483648}) return false;
  }
  const int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > INT32_MAX) return false;
  value = static_cast<int32_t>(signed_value);
  return true;
}

std::string_view TrimControl(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) noexcept {
  if (pos >= text.size()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return kReplacementChar;
  }
  if (text.size() - pos < length) {
    ++pos;
    return kReplacementChar;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacementChar;
    }
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return kReplacementChar;
  }
  pos += length;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementChar;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

int32_t SjisCharWidth(char32_t c) noexcept {
  return (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
}

int32_t SjisWidth(std::string_view text) noexcept {
  int32_t width = 0;
  std::size_t pos = 0;
  while (pos < text.size()) width += SjisCharWidth(NextCodePoint(text, pos));
  return width;
}

std::string_view CutToSjisWidth(std::string_view text, int32_t max_width) noexcept {
  int32_t width = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t next = pos;
    width += SjisCharWidth(NextCodePoint(text, next));
    if (width > max_width) break;
    pos = next;
  }
  return text.substr(0, pos);
}

}  // namespace pelo
