#include "ServeConnections.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

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

// A connection's socket (and its TLS session, when there is one) as httplib reads it. The
// socket does not block: every read and write waits in poll, no longer than its timeout, and a
// read not past the request's deadline either, so a client that sends a byte a second is cut
// off all the same.
class TDeadlineStream : public httplib::Stream {
 public:
  TDeadlineStream(int socket, SSL* tls, const THttpLimits& limits)
      : socket_(socket), tls_(tls), limits_(limits) {}

  void StartRequest() { deadline_ = TSteady::now() + limits_.request_deadline; }
  bool HasBuffered() const noexcept {
    return start_ < end_ || (tls_ != nullptr && SSL_pending(tls_) > 0);
  }

  bool is_readable() const override { return HasBuffered() || WaitFor(socket_, POLLIN, ReadEnd()); }
  bool is_writable() const override {
    return WaitFor(socket_, POLLOUT, TSteady::now() + limits_.write_timeout);
  }
  ssize_t read(char* ptr, size_t size) override {
    if (start_ == end_) {
      const ssize_t got = Transfer(true, buffer_, sizeof buffer_, ReadEnd());
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
    return Transfer(false, const_cast<char*>(ptr), size, TSteady::now() + limits_.write_timeout);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    AddressOf(socket_, true, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    AddressOf(socket_, false, ip, port);
  }
  socket_t socket() const override { return socket_; }

 private:
  TSteady::time_point ReadEnd() const {
    return std::min(deadline_, TSteady::now() + limits_.read_timeout);
  }

  // One read or write: the bytes moved, 0 at the end of the stream, -1 on an error or when
  // end passed first.
  ssize_t Transfer(bool reading, char* data, std::size_t size, TSteady::time_point end) {
    for (;;) {
      short wait = reading ? POLLIN : POLLOUT;
      if (tls_ != nullptr) {
        const int most = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
        const int moved = reading ? SSL_read(tls_, data, most) : SSL_write(tls_, data, most);
        if (moved > 0) return moved;
        const int error = SSL_get_error(tls_, moved);
        if (error == SSL_ERROR_ZERO_RETURN) return 0;
        if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) return -1;
        wait = error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT;
      } else {
        const ssize_t moved =
            reading ? recv(socket_, data, size, 0) : send(socket_, data, size, MSG_NOSIGNAL);
        if (moved >= 0) return moved;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
      }
      if (!WaitFor(socket_, wait, end)) return -1;
    }
  }

  int socket_;
  SSL* tls_;
  const THttpLimits& limits_;
  TSteady::time_point deadline_ = TSteady::now();
  char buffer_[4096];
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

// The TLS handshake, done by the request deadline; null when it failed.
SSL* AcceptTls(SSL_CTX* context, int socket, const THttpLimits& limits) {
  SSL* tls = SSL_new(context);
  if (tls == nullptr) return nullptr;
  SSL_set_fd(tls, socket);
  const TSteady::time_point end = TSteady::now() + limits.request_deadline;
  for (;;) {
    const int done = SSL_accept(tls);
    if (done == 1) return tls;
    const int error = SSL_get_error(tls, done);
    const bool wait = error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE;
    if (!wait || !WaitFor(socket, error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, end)) {
      SSL_free(tls);
      return nullptr;
    }
  }
}

}  // namespace

void ServeConnection(int socket, SSL_CTX* tls_context, const THttpLimits& limits,
                     const std::function<bool()>& running, const TRequestReader& read_request) {
  // httplib writes the head and the body apart: without this each answer would wait for the
  // client's delayed acknowledgement.
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
  SSL* tls = tls_context != nullptr ? AcceptTls(tls_context, socket, limits) : nullptr;
  if (tls_context == nullptr || tls != nullptr) {
    TDeadlineStream stream(socket, tls, limits);
    bool closed = false;
    for (int32_t left = limits.keep_alive_requests; left > 0 && !closed && running(); --left) {
      // Between requests a connection may idle for the keep-alive timeout.
      if (!stream.HasBuffered() &&
          !WaitFor(socket, POLLIN, TSteady::now() + limits.keep_alive_timeout)) {
        break;
      }
      stream.StartRequest();
      if (!read_request(stream, left == 1, closed)) break;
    }
  }
  if (tls != nullptr) {
    SSL_shutdown(tls);
    SSL_free(tls);
  }
  shutdown(socket, SHUT_RDWR);
  close(socket);
}

TBoundedPool::TBoundedPool(std::size_t threads, std::size_t most_waiting)
    : most_waiting_(most_waiting) {
  for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

void TBoundedPool::enqueue(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  room_.wait(lock, [this] { return waiting_.size() < most_waiting_ || stopping_; });
  // Even when stopping: only the job closes its connection.
  waiting_.push_back(std::move(job));
  lock.unlock();
  work_.notify_one();
}

void TBoundedPool::shutdown() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  room_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void TBoundedPool::Work() {
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

}  // namespace pelo::serve
