#include "ServeSites.h"

#include <algorithm>
#include <ctime>

#include "text/Texts.h"

namespace pelo::serve {

namespace {

constexpr int32_t kEpochDayNumber = 40587;  // DayNumber of 1970/1/1
constexpr int64_t kSecondsPerDay = 86400;

uint64_t Fnv1a64(std::string_view bytes, uint64_t hash = 14695981039346656037ull) noexcept {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string HexText(uint64_t value) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) hex[static_cast<std::size_t>(i)] = kHex[value & 15];
  return hex;
}

}  // namespace

TServeSite::TServeSite(TServeFiles& files, TSiteSettings settings, TTodayClock today)
    : files_(files),
      settings_(std::move(settings)),
      today_(std::move(today)),
      settings_tag_(
          Concat({settings_.shown.calendar == TCalendarKind::kCurrent ? "current" : "classic",
                  settings_.shown.grep ? Concat({"|grep:", *settings_.shown.grep}) : ""})) {}

TMadeAnswer TServeSite::Answer(const std::string& key, TDateRec today,
                               const TConditions& conditions, const TMaker& make) {
  const std::lock_guard lock(mutex_);
  files_.Refresh(TServeFiles::TClock::now());
  if (files_.Generation() != kept_generation_) {
    kept_.clear();
    kept_generation_ = files_.Generation();
  }
  TMadeAnswer answer;
  // A new day changes the answers too (today's mark, the default span), files or not.
  const int64_t day_start = (DayNumber(today) - kEpochDayNumber) * kSecondsPerDay;
  answer.last_modified = std::max(files_.LastModified(), day_start);
  answer.etag =
      Concat({"\"",
              HexText(Fnv1a64(Concat({key, "|", settings_tag_, "|",
                                      std::to_string(DayNumber(today)), "|", files_.StampText()}))),
              "\""});
  if (!conditions.if_none_match.empty()) {
    answer.not_modified = EtagListed(conditions.if_none_match, answer.etag);
  } else if (!conditions.if_modified_since.empty()) {
    const int64_t since = ParseHttpDate(conditions.if_modified_since);
    answer.not_modified = since >= 0 && answer.last_modified <= since;
  }
  if (answer.not_modified) return answer;
  if (const auto found = kept_.find(answer.etag); found != kept_.end()) {
    answer.body = found->second;
    return answer;
  }
  if (kept_.size() >= kKeptAnswers) kept_.clear();
  answer.body = std::make_shared<const std::string>(make(files_));
  kept_.emplace(answer.etag, answer.body);
  return answer;
}

std::string HttpDate(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[40];
  const std::size_t size = std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
  return std::string(text, size);
}

int64_t ParseHttpDate(const std::string& text) {
  std::tm parts{};
  const char* const end = strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S GMT", &parts);
  if (end == nullptr || *end != '\0') return -1;
  return static_cast<int64_t>(timegm(&parts));
}

bool EtagListed(std::string_view list, std::string_view etag) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (item.substr(0, 2) == "W/") item.remove_prefix(2);
    if (item == "*" || item == etag) return true;
  }
  return false;
}

}  // namespace pelo::serve
