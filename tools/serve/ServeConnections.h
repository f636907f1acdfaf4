#pragma once

// The connections of pelo-serve below httplib's parsing: each read and write waits no longer
// than its timeout, a request must arrive whole before its deadline (TLS handshake included),
// and the accepted connections waiting for a thread are few.

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ServeHttp.h"

namespace pelo::serve {

// Reads one request from stream and answers it; last: the connection closes after it. False
// when the connection cannot go on; closed: the client asked to close.
using TRequestReader = std::function<bool(httplib::Stream& stream, bool last, bool& closed)>;

// Serves the requests of an accepted connection until it closes, idles past the keep-alive
// timeout, misses a deadline or running() turns false; TLS when tls is not null. Closes the
// socket.
void ServeConnection(int socket, SSL_CTX* tls, const THttpLimits& limits,
                     const std::function<bool()>& running, const TRequestReader& read_request);

// The workers, and a short line of accepted connections waiting for one. When the line is
// full the accepting thread waits: new connections stay in the kernel's backlog, and past it
// are refused, so the connections the server holds at once stay bounded.
class TBoundedPool final : public httplib::TaskQueue {
 public:
  TBoundedPool(std::size_t threads, std::size_t most_waiting);

  void enqueue(std::function<void()> job) override;
  void shutdown() override;

 private:
  void Work();

  const std::size_t most_waiting_;
  std::vector<std::thread> workers_;
  std::deque<std::function<void()>> waiting_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable room_;
  bool stopping_ = false;
};

}  // namespace pelo::serve
