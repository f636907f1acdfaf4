// pelo-serve: the schedule of the given data files as a calendar feed and a web page, read
// only, always as the files are on disk.

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "ServeFiles.h"
#include "ServeHttp.h"
#include "ServeOptions.h"
#include "ServeSites.h"
#include "ServeTokens.h"
#include "calendar/Calendars.h"
#include "datafiles/ConsoleNotices.h"

namespace {

constexpr int kExitFileProblem = 1;
constexpr int kExitUsage = 2;

int Usage(const std::string& error) {
  std::cerr << "pelo-serve: " << error << "\n(pelo-serve --help shows the usage)\n";
  return kExitUsage;
}

// SIGINT and SIGTERM stop the server from a thread of their own, so that the answers under
// way are finished and the sockets closed.
std::thread StopOnSignals(pelo::serve::THttpServer& server, sigset_t signals) {
  return std::thread([&server, signals] {
    int signal_number = 0;
    sigwait(&signals, &signal_number);
    server.Stop();
  });
}

std::string Address(const std::string& host, int32_t port) {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelo;
  using namespace pelo::serve;
  TServeOptions options;
  if (const TParseError error = ParseServeArguments({argv + 1, argv + argc}, options);
      error.Failed()) {
    return Usage(error.Message());
  }
  if (options.help) {
    std::cout << kServeUsage << agenda::kInputUsage;
    return 0;
  }
  TSiteSettings settings;
  settings.shown = {options.calendar, options.grep};
  settings.tls = !options.tls_cert.empty();
  if (!options.token_file.empty()) {
    std::string error;
    settings.token = ReadTokenFile(options.token_file, error);
    if (settings.token.empty()) return Usage(error);
  }
  const std::optional<TDateRec> fixed_today = options.today;
  const TServeSite::TTodayClock today = [fixed_today] {
    return fixed_today ? *fixed_today : SystemToday();
  };

  TConsoleNotices notices(std::cerr);
  TServeFiles files(notices, today(), options.data_files, options.page_files, options.filter);
  for (const std::string& warning : files.Warnings())
    std::cerr << "pelo-serve: " << warning << '\n';
  if (!files.AllLoaded()) {
    std::cerr << "pelo-serve: not started: every data file must be there and readable at start\n";
    return kExitFileProblem;
  }

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts

  THttpLimits limits;
  limits.threads = options.threads;
  limits.request_deadline = std::chrono::seconds(options.timeout);
  limits.read_timeout = std::min(limits.read_timeout, limits.request_deadline);
  limits.write_timeout = limits.request_deadline;
  TServeSite site(files, settings, today);
  THttpServer server(site, limits, {options.tls_cert, options.tls_key}, std::cerr);
  std::string error;
  if (!server.Bind(options.host, options.port, error)) {
    std::cerr << "pelo-serve: " << error << '\n';
    return kExitFileProblem;
  }
  const std::string address = Address(options.host, server.Port());
  site.SetFallbackHost(address);
  const std::string scheme = settings.tls ? "https://" : "http://";
  std::cout << "pelo-serve: the page  " << scheme << address << "/\n"
            << "pelo-serve: the feed  " << scheme << address << "/calendar.ics\n"
            << "pelo-serve: subscribe webcal://" << address << "/calendar.ics"
            << (settings.token.empty() ? "" : "?token=...") << '\n'
            << std::flush;
  std::thread stopper = StopOnSignals(server, signals);
  const bool served = server.Run();
  if (!served) kill(getpid(), SIGTERM);  // the stopper waits for a signal
  stopper.join();
  return served ? 0 : kExitFileProblem;
}
