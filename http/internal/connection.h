// One client connection as httplib's Stream, with the bounds that httplib 0.11
// lacks: a request head (request line and headers) is read whole into a fixed
// buffer before httplib parses it, so an endless line or header block costs a
// 414 or 431 answer instead of memory. Reads and writes time out, and a request
// must arrive whole within a deadline, so a slow client cannot hold a worker for
// long.
#pragma once

#include <httplib.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::http {

struct ConnectionLimits {
  std::size_t maxRequestLine = 8 * 1024;  // longer: 414
  std::size_t maxHead = 16 * 1024;        // longer: 431
  std::chrono::milliseconds readTimeout{5000};
  std::chrono::milliseconds writeTimeout{5000};
  std::chrono::milliseconds keepAliveTimeout{5000};  // idle time between requests
  std::chrono::milliseconds requestDeadline{30000};  // head and body of one request
  std::size_t keepAliveRequests = 10'000;            // then the connection is closed
};

// httplib takes its timeouts, and says the keep-alive one, in whole seconds.
inline time_t WholeSeconds(std::chrono::milliseconds ms) {
  return static_cast<time_t>(std::chrono::ceil<std::chrono::seconds>(ms).count());
}

enum class HeadStatus {
  kComplete,  // a whole head is buffered
  kClosed,    // the client closed, timed out or the server is stopping
  kRequestLineTooLong,
  kHeadTooLarge,
};

class Connection final : public httplib::Stream {
 public:
  Connection(int socket, const ConnectionLimits& limits);

  // Waits for the next request and buffers its head; `stopping` is asked while
  // the connection is idle.
  HeadStatus ReadHead(std::chrono::milliseconds idleTimeout, const std::function<bool()>& stopping);

  // The head ReadHead() buffered, up to and with its empty line.
  std::string_view Head() const { return {in_.data() + begin_, headSize_}; }
  // Drops the head: the request was answered without httplib reading it.
  void SkipHead() { begin_ += headSize_; }

  // Sends what write() has buffered; false when sending fails.
  bool Flush();

  // Sends `response` and closes the sending side, then reads and drops what the
  // client still sends for a moment, so that it sees the answer instead of a reset.
  void SendAndLinger(std::string_view response);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return socket_; }

 private:
  using Clock = std::chrono::steady_clock;

  struct Address {
    std::string ip;
    int port;  // 0 once emplace()d; with an initializer clang cannot emplace() it here
  };

  bool WaitFor(short events, Clock::time_point deadline) const;
  // recv that waits until data, the end of the stream, `deadline` or `stopping`;
  // -1 for the last two and for a failed socket.
  ssize_t Receive(char* data, std::size_t size, Clock::time_point deadline,
                  const std::function<bool()>* stopping) const;
  Clock::time_point ReadDeadline() const;
  bool SendAll(const char* data, std::size_t size);
  std::optional<HeadStatus> HeadState();  // nullopt while the head is incomplete

  int socket_;
  ConnectionLimits limits_;
  std::vector<char> in_;   // read-ahead: the head, then what follows it
  std::size_t begin_ = 0;  // first byte not yet handed to httplib
  std::size_t end_ = 0;
  std::size_t headSize_ = 0;  // of the complete head at begin_, as HeadState found it
  std::string out_;           // small writes, sent together
  Clock::time_point requestDeadline_;
  mutable std::optional<Address> remote_;
  mutable std::optional<Address> local_;
};

}  // namespace tavrel::http
