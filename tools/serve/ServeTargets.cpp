#include "ServeTargets.h"

#include "text/Texts.h"

namespace pelo::serve {

namespace {

int HexValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Percent-decodes text onto out; in a parameter '+' stands for a blank.
bool Decode(std::string_view text, bool plus_is_blank, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return false;
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    } else if (c == '+' && plus_is_blank) {
      c = ' ';
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    out += c;
  }
  return true;
}

// Reads exactly digits decimal digits.
bool ReadDigits(std::string_view text, std::size_t digits, int32_t& value) noexcept {
  if (text.size() != digits) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

bool ParseTarget(std::string_view target, TTarget& parsed) {
  parsed = {};
  if (target.empty() || target.front() != '/') return false;
  const std::size_t question = target.find('?');
  if (!Decode(target.substr(0, question), false, parsed.path)) return false;
  if (question == std::string_view::npos) return true;
  std::string_view query = target.substr(question + 1);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    std::string name;
    std::string value;
    if (!Decode(pair.substr(0, eq), true, name)) return false;
    if (eq != std::string_view::npos && !Decode(pair.substr(eq + 1), true, value)) return false;
    parsed.params.emplace_back(std::move(name), std::move(value));
  }
  return true;
}

const std::string* FindParam(const TTarget& target, std::string_view name) {
  for (const auto& [key, value] : target.params) {
    if (key == name) return &value;
  }
  return nullptr;
}

bool ParseIsoDate(std::string_view text, TDateRec& date) noexcept {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  TDateRec read;
  if (!ReadDigits(text.substr(0, 4), 4, read.Year) ||
      !ReadDigits(text.substr(5, 2), 2, read.Month) ||
      !ReadDigits(text.substr(8, 2), 2, read.Day)) {
    return false;
  }
  if (CheckCalendarRange(read) != kDateUsable) return false;
  date = read;
  return true;
}

bool ParseIsoMonth(std::string_view text, int32_t& year, int32_t& month) noexcept {
  int32_t y = 0;
  int32_t m = 0;
  if (text.size() != 7 || text[4] != '-' || !ReadDigits(text.substr(0, 4), 4, y) ||
      !ReadDigits(text.substr(5, 2), 2, m) || m < 1 || m > 12) {
    return false;
  }
  const TDateRec last{y, m, DaysInMonth(y, m)};
  if (DayNumber(last) < kFirstCalendarDay || y > kLastCalendarDate.Year) return false;
  year = y;
  month = m;
  return true;
}

std::string IsoDate(TDateRec date) {
  return Concat({NumberText(date.Year, 4, kPadZero), "-", NumberText(date.Month, 2, kPadZero), "-",
                 NumberText(date.Day, 2, kPadZero)});
}

std::string IsoMonth(int32_t year, int32_t month) {
  return Concat({NumberText(year, 4, kPadZero), "-", NumberText(month, 2, kPadZero)});
}

std::string TargetForLog(std::string_view target) {
  std::string out;
  std::size_t at = 0;
  while (at < target.size()) {
    const std::size_t start = target.find_first_of("?&", at);
    if (start == std::string_view::npos) break;
    out.append(target.substr(at, start + 1 - at));
    at = start + 1;
    if (target.substr(at, 6) == "token=") {
      out += "token=***";
      const std::size_t next = target.find('&', at);
      at = next == std::string_view::npos ? target.size() : next;
    }
  }
  out.append(target.substr(std::min(at, target.size())));
  return out;
}

}  // namespace pelo::serve
