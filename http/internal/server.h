// The HTTP server: httplib's listener and parser, bounded as connection.h and
// task_queue.h say, in front of the Api.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "connection.h"
#include "core_adapter.h"

namespace tavrel::http {

inline constexpr std::size_t kMaxBody = 1 << 20;  // larger: 413

struct ServerSettings {
  unsigned threads = 64;  // one connection each at a time, keep-alive included
  std::size_t waitingConnections = 256;
  ConnectionLimits limits;
  // The usual GET is answered without httplib (simple_get.h); off only to
  // compare the two.
  bool simpleGets = true;
};

class Server {
 public:
  // Serves the directory of `core`; by default the 2009 one with its rules.
  explicit Server(const ServerSettings& settings,
                  std::shared_ptr<const Core> core = std::make_shared<const Core>());
  ~Server();

  // Binds to `host` and `port` (0: a free port). Returns why it could not.
  std::optional<std::string> Bind(const std::string& host, int port);
  int Port() const { return port_; }

  // Serves until Stop(); false when accepting failed.
  bool Run();
  // Stops accepting; each connection ends after the request it is in. Any thread.
  void Stop();

 private:
  class Wiring;
  std::unique_ptr<Wiring> wiring_;
  int port_ = 0;
  std::atomic<bool> running_ = false;
  std::atomic<bool> stopRequested_ = false;
};

}  // namespace tavrel::http
