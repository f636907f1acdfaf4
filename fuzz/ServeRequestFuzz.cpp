// Arbitrary requests through pelo-serve's mapping, in-process and without a socket. The input
// is METHOD \n TARGET \n AUTHORIZATION \n IF-NONE-MATCH \n IF-MODIFIED-SINCE \n HOST (parts
// left out are empty); each request goes to a site without a token and to one with. Beyond
// not crashing: only the statuses the server knows, a refusal is one line, an answer of the
// token site without the token is a refusal, and nothing from the target reaches a page
// unescaped.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "ServeFiles.h"
#include "ServeRequests.h"
#include "ServeSites.h"
#include "datafiles/ConsoleNotices.h"

namespace {

using pelo::fuzz::Check;
using namespace pelo::serve;

constexpr pelo::TDateRec kToday{2026, 12, 7};
constexpr std::string_view kToken = "fuzz-token-0123456789";

// A data file of a few lines in a folder of its own, and the two sites over it.
struct TFuzzSites {
  TFuzzSites() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelo-serve-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    folder = pattern;
    const std::filesystem::path path = folder / "a.nrk";
    std::ofstream(path, std::ios::binary) << "2026/12/7 10:00 <b>x</b>\r\n%\r\nnote\r\n%\r\n"
                                             "MO 8:00 weekly\r\n";
    files = std::make_unique<TServeFiles>(notices, kToday, std::vector<std::string>{path},
                                          std::vector<std::string>{}, std::nullopt);
    TSiteSettings settings;
    settings.fallback_host = "127.0.0.1:8737";
    open = std::make_unique<TServeSite>(*files, settings, [] { return kToday; });
    settings.token = kToken;
    guarded = std::make_unique<TServeSite>(*files, settings, [] { return kToday; });
  }
  ~TFuzzSites() {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  std::filesystem::path folder;
  std::ostream discarded{nullptr};  // loading problems are part of the game
  pelo::TConsoleNotices notices{discarded};
  std::unique_ptr<TServeFiles> files;
  std::unique_ptr<TServeSite> open;
  std::unique_ptr<TServeSite> guarded;
};

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return line;
}

void CheckResponse(const TServeResponse& response) {
  const int s = response.status;
  Check(s == 200 || s == 304 || s == 400 || s == 401 || s == 404 || s == 405 || s == 414);
  if (s >= 400) {
    Check(!response.body.empty() && response.body.find('\n') == response.body.size() - 1);
  }
  if (s == 200) Check(!response.Header("ETag").empty() && !response.body.empty());
  // The test file's markup and whatever a request carries are escaped in a page; the feed
  // holds the lines as they are.
  if (response.Header("Content-Type").starts_with("text/html")) {
    Check(response.body.find("<b>") == std::string::npos);
    Check(response.body.find("<script") == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzSites sites;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TServeRequest request;
  request.method = NextLine(text);
  request.target = NextLine(text);
  request.authorization = NextLine(text);
  request.if_none_match = NextLine(text);
  request.if_modified_since = NextLine(text);
  request.host = NextLine(text);

  CheckResponse(Respond(request, *sites.open));
  const TServeResponse guarded = Respond(request, *sites.guarded);
  CheckResponse(guarded);
  const bool token_given = request.target.find(kToken) != std::string::npos ||
                           request.authorization.find(kToken) != std::string::npos ||
                           request.target.find('%') != std::string::npos;
  // Without the token nothing is served, not even the news that a page does not exist.
  if (!token_given) Check(guarded.status != 200 && guarded.status != 304 && guarded.status != 404);
  return 0;
}
