#include "ServeOptions.h"

#include <charconv>

#include "text/Texts.h"

namespace pelo::serve {

const char* const kServeUsage =
    "usage: pelo-serve [--listen [ADDR:]PORT] [--token-file FILE]\n"
    "                  [--tls-cert FILE --tls-key FILE] [--threads N] [--timeout SECONDS]\n"
    "                  [--today DATE]\n"
    "                  [--filter FILTERTEXT] [--grep TEXT] [--calendar classic|current] FILE...\n"
    "  --listen     address and port to listen on (default 127.0.0.1:8737; port 0: a free\n"
    "               one); any address other than loopback needs --token-file\n"
    "  --token-file a file whose first line is the token every request must carry\n"
    "               (Authorization: Bearer TOKEN, or ?token=TOKEN)\n"
    "  --tls-cert, --tls-key  serve HTTPS with this certificate and private key (PEM)\n"
    "  --threads    requests served at once (default 8)\n"
    "  --timeout    seconds a request may take to arrive whole, and a write to go out\n"
    "               (default 10)\n";

namespace {

bool ReadNumber(std::string_view text, int32_t& number) {
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && stop == end;
}

TParseError ReadServeOption(std::string_view name, const std::string& value, std::size_t i,
                            TServeOptions& options) {
  if (name == "--listen") {
    if (!ParseListenAddress(value, options.host, options.port)) {
      return {Concat({"--listen: '", value, "' is not [ADDR:]PORT with a port of 0..65535"}), i};
    }
  } else if (name == "--threads" || name == "--timeout") {
    const bool threads = name == "--threads";
    int32_t& number = threads ? options.threads : options.timeout;
    const int32_t most = threads ? kMaxThreads : kMaxTimeout;
    if (!ReadNumber(value, number) || number < 1 || number > most) {
      return {Concat({name, ": '", value, "' is not a number of 1..", NumberText(most)}), i};
    }
  } else if (value.empty()) {
    return {Concat({"option '", name, "' needs a value"}), i};
  } else {
    (name == "--token-file" ? options.token_file
     : name == "--tls-cert" ? options.tls_cert
                            : options.tls_key) = value;
  }
  return {};
}

}  // namespace

bool ParseListenAddress(std::string_view text, std::string& host, int32_t& port) {
  std::string_view host_part;
  std::string_view port_part = text;
  if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    host_part = text.substr(0, colon);
    port_part = text.substr(colon + 1);
    // An IPv6 address comes in brackets, so that its own colons are not taken for the port's.
    if (host_part.size() >= 2 && host_part.front() == '[' && host_part.back() == ']') {
      host_part = host_part.substr(1, host_part.size() - 2);
    } else if (host_part.find(':') != std::string_view::npos) {
      return false;
    }
    if (host_part.empty()) return false;
  }
  int32_t number = 0;
  if (!ReadNumber(port_part, number) || number < 0 || number > 65535) return false;
  if (!host_part.empty()) host = host_part;
  port = number;
  return true;
}

bool IsLoopback(std::string_view host) noexcept {
  return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

TParseError ParseServeArguments(const std::vector<std::string>& args, TServeOptions& options) {
  const agenda::TOwnOptions own = {
      {},
      {"--listen", "--token-file", "--tls-cert", "--tls-key", "--threads", "--timeout"},
      [&](std::string_view name, const std::string& value, std::size_t i) {
        return ReadServeOption(name, value, i, options);
      }};
  if (TParseError error = agenda::ParseCommandLine(args, options, own); error.Failed()) {
    return error;
  }
  if (options.help) return {};
  if (options.data_files.empty()) return {"no data file given", args.size()};
  if (options.tls_cert.empty() != options.tls_key.empty()) {
    return {"--tls-cert and --tls-key go together", args.size()};
  }
  if (!IsLoopback(options.host) && options.token_file.empty()) {
    return {Concat({"listening on ", options.host,
                    " lets other machines in: give --token-file, or listen on 127.0.0.1"}),
            args.size()};
  }
  return {};
}

}  // namespace pelo::serve
