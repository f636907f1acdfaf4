#pragma once

// The state every request shares: the files, what the command line set, the token, and the
// answers already made. One request at a time reads the entry list; an answer is made once
// per state of the files and kept for the next request that asks for the same.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ServeContents.h"
#include "ServeFiles.h"
#include "calendar/Dates.h"

namespace pelo::serve {

struct TSiteSettings {
  TShownSettings shown;
  std::string token;          // empty: requests need none
  std::string fallback_host;  // for the feed's address when a request names no usable host
  bool tls = false;
};

// What a request asked for, and what its client already holds.
struct TConditions {
  std::string if_none_match;
  std::string if_modified_since;
};

// An answer: not modified, or its body.
struct TMadeAnswer {
  std::string etag;
  int64_t last_modified = 0;  // seconds since the epoch
  bool not_modified = false;
  std::shared_ptr<const std::string> body;  // null when not_modified
};

class TServeSite {
 public:
  using TTodayClock = std::function<TDateRec()>;
  using TMaker = std::function<std::string(TServeFiles& files)>;
  static constexpr std::size_t kKeptAnswers = 64;

  TServeSite(TServeFiles& files, TSiteSettings settings, TTodayClock today);

  const TSiteSettings& Settings() const noexcept { return settings_; }
  // Before the first request only.
  void SetFallbackHost(std::string host) { settings_.fallback_host = std::move(host); }
  TDateRec Today() const { return today_(); }

  // With the files brought up to date: not modified when conditions match the answer named
  // key (everything that tells it from the other answers but the files and today), else its
  // body, made by make unless it is kept.
  TMadeAnswer Answer(const std::string& key, TDateRec today, const TConditions& conditions,
                     const TMaker& make);

 private:
  TServeFiles& files_;
  TSiteSettings settings_;
  TTodayClock today_;
  std::string settings_tag_;  // what of the command line the answers depend on
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const std::string>> kept_;  // by ETag
  uint64_t kept_generation_ = 0;
};

// "Sun, 06 Nov 1994 08:49:37 GMT"; and back, -1 when it does not read.
std::string HttpDate(int64_t seconds);
int64_t ParseHttpDate(const std::string& text);

// Whether an If-None-Match list names etag (or is "*"); weak tags compare as strong ones.
bool EtagListed(std::string_view list, std::string_view etag);

}  // namespace pelo::serve
