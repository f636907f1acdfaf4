#pragma once

// The HTTP side of pelo-serve, on cpp-httplib: it listens, keeps its limits (a thread pool,
// timeouts, a deadline for each request to arrive, keep-alive), hands every request to
// Respond and logs one line per request. Nothing else happens here.

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace pelo::serve {

class TServeSite;

struct THttpLimits {
  int32_t threads = 8;
  // Accepted connections that may wait for a thread; past them the kernel's backlog.
  int32_t waiting_connections = 64;
  std::chrono::seconds read_timeout{5};
  std::chrono::seconds write_timeout{5};
  // A request must arrive whole within this, however slowly its bytes trickle in.
  std::chrono::seconds request_deadline{10};
  std::chrono::seconds keep_alive_timeout{5};
  int32_t keep_alive_requests = 100;
};

struct TTlsFiles {
  std::string cert;
  std::string key;
};

class THttpServer {
 public:
  // tls with empty files: plain HTTP. Log lines go to log.
  THttpServer(TServeSite& site, const THttpLimits& limits, const TTlsFiles& tls, std::ostream& log);
  ~THttpServer();
  THttpServer(const THttpServer&) = delete;
  THttpServer& operator=(const THttpServer&) = delete;

  // Binds host:port (port 0: a free one); false with error when it cannot.
  bool Bind(const std::string& host, int32_t port, std::string& error);
  int32_t Port() const noexcept { return port_; }
  // Serves until Stop; false when listening failed.
  bool Run();
  // From any thread.
  void Stop();

 private:
  class TImpl;
  std::unique_ptr<TImpl> impl_;
  int32_t port_ = 0;
};

}  // namespace pelo::serve
