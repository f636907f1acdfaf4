#include "ServeHttp.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ServeRequests.h"
#include "ServeTargets.h"

namespace pelo::serve {

namespace {

using TSteady = std::chrono::steady_clock;

int MillisecondsUntil(TSteady::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - TSteady::now());
  return static_cast<int>(std::max<int64_t>(0, left.count()));
}

bool WaitFor(int socket, short events, TSteady::time_point end) {
  pollfd item{socket, events, 0};
  for (;;) {
    const int ready = poll(&item, 1, MillisecondsUntil(end));
    if (ready > 0) return (item.revents & (events | POLLHUP | POLLERR)) != 0;
    if (ready == 0 || errno != EINTR) return false;
  }
}

void AddressOf(int socket, bool peer, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  const int got = peer ? getpeername(socket, reinterpret_cast<sockaddr*>(&address), &size)
                       : getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size);
  if (got != 0) return;
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
    inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    port = ntohs(v4->sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
    inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    port = ntohs(v6->sin6_port);
  }
  ip = text;
}

// A connection's socket as httplib reads it, with a deadline for the request being read:
// each read waits no longer than the read timeout nor past the deadline, so a client that
// sends a byte a second is cut off all the same.
class TDeadlineStream : public httplib::Stream {
 public:
  TDeadlineStream(int socket, const THttpLimits& limits) : socket_(socket), limits_(limits) {}

  void StartRequest() { deadline_ = TSteady::now() + limits_.request_deadline; }
  bool HasBuffered() const noexcept { return start_ < end_; }

  bool is_readable() const override {
    return HasBuffered() ||
           WaitFor(socket_, POLLIN, std::min(deadline_, TSteady::now() + limits_.read_timeout));
  }
  bool is_writable() const override {
    return WaitFor(socket_, POLLOUT, TSteady::now() + limits_.write_timeout);
  }
  ssize_t read(char* ptr, size_t size) override {
    if (!HasBuffered()) {
      if (!is_readable()) return -1;
      const ssize_t got = recv(socket_, buffer_, sizeof buffer_, 0);
      if (got <= 0) return got;
      start_ = 0;
      end_ = static_cast<std::size_t>(got);
    }
    const std::size_t n = std::min(size, end_ - start_);
    std::copy_n(buffer_ + start_, n, ptr);
    start_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    return send(socket_, ptr, size, MSG_NOSIGNAL);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    AddressOf(socket_, true, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    AddressOf(socket_, false, ip, port);
  }
  socket_t socket() const override { return socket_; }

 private:
  int socket_;
  const THttpLimits& limits_;
  TSteady::time_point deadline_ = TSteady::now();
  char buffer_[4096];
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

// httplib's server with its connection loop replaced by one that keeps a deadline per
// request (TDeadlineStream); the parsing and writing stay httplib's.
class TDeadlineServer : public httplib::Server {
 public:
  explicit TDeadlineServer(const THttpLimits& limits) : limits_(limits) {}

 private:
  bool process_and_close_socket(socket_t socket) override {
    // httplib writes the head and the body apart: without this each answer would wait for the
    // client's delayed acknowledgement.
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    TDeadlineStream stream(socket, limits_);
    bool closed = false;
    for (int32_t left = limits_.keep_alive_requests; left > 0 && !closed && is_running(); --left) {
      // Between requests a connection may idle for the keep-alive timeout.
      if (!stream.HasBuffered() &&
          !WaitFor(socket, POLLIN, TSteady::now() + limits_.keep_alive_timeout)) {
        break;
      }
      stream.StartRequest();
      if (!process_request(stream, left == 1, closed, nullptr)) break;
    }
    shutdown(socket, SHUT_RDWR);
    close(socket);
    return true;
  }

  const THttpLimits& limits_;
};

// The workers, and a short line of accepted connections waiting for one. When the line is
// full the accepting thread waits: new connections stay in the kernel's backlog, and past it
// are refused, so the connections the server holds at once stay bounded.
class TBoundedPool : public httplib::TaskQueue {
 public:
  TBoundedPool(std::size_t threads, std::size_t most_waiting) : most_waiting_(most_waiting) {
    for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
  }

  void enqueue(std::function<void()> job) override {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return waiting_.size() < most_waiting_ || stopping_; });
    // Even when stopping: only the job closes its connection.
    waiting_.push_back(std::move(job));
    lock.unlock();
    work_.notify_one();
  }

  void shutdown() override {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    work_.notify_all();
    room_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        work_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
        if (waiting_.empty()) return;
        job = std::move(waiting_.front());
        waiting_.pop_front();
      }
      room_.notify_one();
      job();
    }
  }

  const std::size_t most_waiting_;
  std::vector<std::thread> workers_;
  std::deque<std::function<void()>> waiting_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable room_;
  bool stopping_ = false;
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
      server_ = std::make_unique<TDeadlineServer>(limits_);
    } else {
      server_ = std::make_unique<httplib::SSLServer>(tls.cert.c_str(), tls.key.c_str());
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
