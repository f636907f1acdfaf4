#pragma once

// The command line of pelo-serve: the files and shared options of pelo-agenda, where to
// listen, the token and the certificate:
//   pelo-serve [--listen [ADDR:]PORT] [--token-file FILE] [--tls-cert FILE --tls-key FILE]
//              [--threads N] [--timeout SECONDS] [--today DATE] [--filter FILTERTEXT] [--grep TEXT]
//              [--calendar classic|current] FILE...

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "InputOptions.h"
#include "text/ParseErrors.h"

namespace pelo::serve {

inline constexpr std::string_view kDefaultHost = "127.0.0.1";
inline constexpr int32_t kDefaultPort = 8737;
inline constexpr int32_t kDefaultThreads = 8;
inline constexpr int32_t kMaxThreads = 256;
inline constexpr int32_t kDefaultTimeout = 10;  // seconds
inline constexpr int32_t kMaxTimeout = 600;

struct TServeOptions : agenda::TInputOptions {
  std::string host{kDefaultHost};
  int32_t port = kDefaultPort;
  std::string token_file;  // empty: no token asked for
  std::string tls_cert;
  std::string tls_key;
  int32_t threads = kDefaultThreads;
  int32_t timeout = kDefaultTimeout;  // for a request to arrive whole, and for each write
};

// Reads the arguments (without the program name), then checks that they go together: a data
// file, both halves of the certificate or neither, and a token for any address other than
// loopback. The error concerns the argument at its index (args.size() for the whole line).
TParseError ParseServeArguments(const std::vector<std::string>& args, TServeOptions& options);

// "8737", "127.0.0.1:8737", "[::1]:8737" or "0.0.0.0:80" into host and port; false when it
// does not read or the port lies outside 0..65535 (0: any free port).
bool ParseListenAddress(std::string_view text, std::string& host, int32_t& port);

// localhost, 127.0.0.0/8 and ::1: the addresses only this machine reaches.
bool IsLoopback(std::string_view host) noexcept;

extern const char* const kServeUsage;

}  // namespace pelo::serve
