#pragma once

// From a request to its answer, with no socket in between: the method, the target and the
// few headers that matter in; the status, the headers and the body out. Everything the
// server answers goes through Respond, so this is what the tests and the fuzz target drive.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pelo::serve {

class TServeSite;

inline constexpr std::size_t kMaxTargetLength = 2048;
inline constexpr int32_t kMaxSpanYears = 4;

struct TServeRequest {
  std::string method;
  std::string target;  // as sent: path and query, percent-encoded
  std::string host;
  std::string authorization;
  std::string if_none_match;
  std::string if_modified_since;
};

struct TServeResponse {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name (case as written here); empty when there is none.
  std::string Header(std::string_view name) const;
};

TServeResponse Respond(const TServeRequest& request, TServeSite& site);

}  // namespace pelo::serve
