#include "ServeHttp.h"

#include <httplib.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <type_traits>
#include <utility>

#include "ServeConnections.h"
#include "ServeRequests.h"
#include "ServeTargets.h"

namespace pelo::serve {

namespace {

using TSteady = std::chrono::steady_clock;

// httplib's server (plain or TLS) with its connection loop replaced by ServeConnection's;
// the parsing and writing stay httplib's.
template <class TBase>
class TDeadlineServer final : public TBase {
 public:
  template <class... TArgs>
  explicit TDeadlineServer(const THttpLimits& limits, TArgs&&... args)
      : TBase(std::forward<TArgs>(args)...), limits_(limits) {}

 private:
  bool process_and_close_socket(socket_t socket) override {
    SSL_CTX* tls = nullptr;
    if constexpr (std::is_same_v<TBase, httplib::SSLServer>) tls = this->ssl_context();
    ServeConnection(
        socket, tls, limits_, [this] { return this->is_running(); },
        [this](httplib::Stream& stream, bool last, bool& closed) {
          return this->process_request(stream, last, closed, nullptr);
        });
    return true;
  }

  const THttpLimits& limits_;
};

std::string LogTime() {
  // The log's own time of day: the one place besides the calendar's clock that asks the
  // system for the time, and it decides nothing.
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts));
}

}  // namespace

class THttpServer::TImpl {
 public:
  TImpl(TServeSite& site, const THttpLimits& limits, const TTlsFiles& tls, std::ostream& log)
      : site_(site), limits_(limits), log_(log) {
    if (tls.cert.empty()) {
      server_ = std::make_unique<TDeadlineServer<httplib::Server>>(limits_);
    } else {
      server_ = std::make_unique<TDeadlineServer<httplib::SSLServer>>(limits_, tls.cert.c_str(),
                                                                      tls.key.c_str());
    }
    Configure();
  }

  httplib::Server& Server() { return *server_; }

 private:
  void Configure() {
    const auto threads = static_cast<std::size_t>(limits_.threads);
    const auto waiting = static_cast<std::size_t>(limits_.waiting_connections);
    // httplib owns the queue it is handed and deletes it when it stops listening.
    server_->new_task_queue = [threads, waiting] { return new TBoundedPool(threads, waiting); };
    server_->set_read_timeout(limits_.read_timeout);
    server_->set_write_timeout(limits_.write_timeout);
    server_->set_keep_alive_timeout(limits_.keep_alive_timeout.count());
    server_->set_keep_alive_max_count(static_cast<std::size_t>(limits_.keep_alive_requests));
    server_->set_payload_max_length(0);
    server_->set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
          Handle(request, response);
          return httplib::Server::HandlerResponse::Handled;
        });
    // httplib answers a request line it cannot read (or one too long) by itself: those are
    // logged here, the others where they are handled.
    server_->set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      if (!response.has_header("X-Content-Type-Options")) {
        Log(response.status, TargetForLog(request.target), "-");
      }
    });
  }

  void Handle(const httplib::Request& request, httplib::Response& response) {
    const TSteady::time_point start = TSteady::now();
    TServeRequest served;
    served.method = request.method;
    served.target = request.target;
    served.host = request.get_header_value("Host");
    served.authorization = request.get_header_value("Authorization");
    served.if_none_match = request.get_header_value("If-None-Match");
    served.if_modified_since = request.get_header_value("If-Modified-Since");
    TServeResponse answer = Respond(served, site_);
    response.status = answer.status;
    std::string content_type;
    for (auto& [name, value] : answer.headers) {
      if (name == "Content-Type") {
        content_type = value;
      } else {
        response.set_header(name, value);
      }
    }
    if (!content_type.empty()) response.set_content(std::move(answer.body), content_type);
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(TSteady::now() - start).count();
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.1fms", static_cast<double>(micros) / 1000.0);
    Log(answer.status, TargetForLog(request.target), ms);
  }

  void Log(int status, const std::string& target, const char* ms) {
    const std::string line =
        LogTime() + " " + std::to_string(status) + " " + target + " " + ms + "\n";
    const std::lock_guard lock(log_mutex_);
    log_ << line << std::flush;
  }

  TServeSite& site_;
  THttpLimits limits_;
  std::ostream& log_;
  std::mutex log_mutex_;
  std::unique_ptr<httplib::Server> server_;
};

THttpServer::THttpServer(TServeSite& site, const THttpLimits& limits, const TTlsFiles& tls,
                         std::ostream& log)
    : impl_(std::make_unique<TImpl>(site, limits, tls, log)) {}

THttpServer::~THttpServer() = default;

bool THttpServer::Bind(const std::string& host, int32_t port, std::string& error) {
  if (!impl_->Server().is_valid()) {
    error = "the certificate or its key cannot be read";
    return false;
  }
  if (port == 0) {
    port_ = impl_->Server().bind_to_any_port(host);
  } else if (impl_->Server().bind_to_port(host, port)) {
    port_ = port;
  } else {
    port_ = -1;
  }
  if (port_ <= 0) error = "cannot listen on " + host + ":" + std::to_string(port);
  return port_ > 0;
}

bool THttpServer::Run() { return impl_->Server().listen_after_bind(); }

void THttpServer::Stop() { impl_->Server().stop(); }

}  // namespace pelo::serve
