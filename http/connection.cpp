#include "internal/connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace tavrel::http {
namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kWriteBuffer = 16 * 1024;
// Stopping is noticed this often while a connection is idle.
constexpr std::chrono::milliseconds kStopPoll{100};
constexpr std::chrono::milliseconds kLinger{1000};
constexpr std::size_t kLingerBytes = 1 << 20;

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

Connection::Connection(int socket, const ConnectionLimits& limits)
    : socket_(socket), limits_(limits), in_(limits.maxHead) {
  out_.reserve(kWriteBuffer);
  // A blocking recv that gives up after kStopPoll waits and reads in one call,
  // where a poll before each recv would cost a second one per request.
  const timeval wait{0, static_cast<suseconds_t>(std::chrono::microseconds(kStopPoll).count())};
  ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  const int on = 1;
  ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool Connection::WaitFor(short events, Clock::time_point deadline) const {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{socket_, events, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

ssize_t Connection::Receive(char* data, std::size_t size, Clock::time_point deadline,
                            const std::function<bool()>* stopping) const {
  for (;;) {
    const ssize_t got = ::recv(socket_, data, size, 0);
    if (got >= 0) return got;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    if (Clock::now() >= deadline || (stopping != nullptr && (*stopping)())) {
      errno = ETIMEDOUT;
      return -1;
    }
  }
}

Connection::Clock::time_point Connection::ReadDeadline() const {
  return std::min(Clock::now() + limits_.readTimeout, requestDeadline_);
}

std::optional<HeadStatus> Connection::HeadState() {
  const std::string_view buffered(in_.data(), end_);
  const std::size_t lineEnd = buffered.find(kLineEnd);
  if (lineEnd == std::string_view::npos ? end_ > limits_.maxRequestLine
                                        : lineEnd > limits_.maxRequestLine) {
    return HeadStatus::kRequestLineTooLong;
  }
  if (const std::size_t headEnd = buffered.find(kHeadEnd); headEnd != std::string_view::npos) {
    headSize_ = headEnd + kHeadEnd.size();
    return HeadStatus::kComplete;
  }
  if (end_ == in_.size()) return HeadStatus::kHeadTooLarge;
  return std::nullopt;
}

HeadStatus Connection::ReadHead(std::chrono::milliseconds idleTimeout,
                                const std::function<bool()>& stopping) {
  // Keep what the client sent after the last request: the start of the next.
  std::copy(in_.begin() + static_cast<std::ptrdiff_t>(begin_),
            in_.begin() + static_cast<std::ptrdiff_t>(end_), in_.begin());
  end_ -= begin_;
  begin_ = 0;
  if (end_ == 0) {
    if (stopping()) return HeadStatus::kClosed;
    const ssize_t got = Receive(in_.data(), in_.size(), Clock::now() + idleTimeout, &stopping);
    if (got <= 0) return HeadStatus::kClosed;
    end_ = static_cast<std::size_t>(got);
  }
  requestDeadline_ = Clock::now() + limits_.requestDeadline;
  for (;;) {
    if (std::optional<HeadStatus> state = HeadState()) return *state;
    const ssize_t got = Receive(in_.data() + end_, in_.size() - end_, ReadDeadline(), nullptr);
    if (got <= 0) return HeadStatus::kClosed;
    end_ += static_cast<std::size_t>(got);
  }
}

bool Connection::is_readable() const { return begin_ < end_ || WaitFor(POLLIN, ReadDeadline()); }

bool Connection::is_writable() const {
  return WaitFor(POLLOUT, Clock::now() + limits_.writeTimeout);
}

ssize_t Connection::read(char* ptr, size_t size) {
  if (begin_ < end_) {
    const std::size_t n = std::min(size, end_ - begin_);
    std::memcpy(ptr, in_.data() + begin_, n);
    begin_ += n;
    return static_cast<ssize_t>(n);
  }
  // A client that waits for "100 Continue" must get it before we wait for it.
  if (!Flush()) return -1;
  if (size >= in_.size()) return Receive(ptr, size, ReadDeadline(), nullptr);
  // httplib reads a body 4 KB at a time: one recv fills the read-ahead buffer
  // for several of its reads. What follows the body stays for ReadHead.
  const ssize_t got = Receive(in_.data(), in_.size(), ReadDeadline(), nullptr);
  if (got <= 0) return got;
  begin_ = 0;
  end_ = static_cast<std::size_t>(got);
  const std::size_t n = std::min(size, end_);
  std::memcpy(ptr, in_.data(), n);
  begin_ = n;
  return static_cast<ssize_t>(n);
}

ssize_t Connection::write(const char* ptr, size_t size) {
  if (out_.size() + size <= kWriteBuffer) {
    out_.append(ptr, size);
    return static_cast<ssize_t>(size);
  }
  if (!Flush() || !SendAll(ptr, size)) return -1;
  return static_cast<ssize_t>(size);
}

bool Connection::Flush() {
  const bool sent = SendAll(out_.data(), out_.size());
  out_.clear();
  return sent;
}

bool Connection::SendAll(const char* data, std::size_t size) {
  const Clock::time_point deadline = Clock::now() + limits_.writeTimeout;
  while (size > 0) {
    const ssize_t sent = ::send(socket_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      data += sent;
      size -= static_cast<std::size_t>(sent);
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

void Connection::SendAndLinger(std::string_view response) {
  Flush();
  SendAll(response.data(), response.size());
  ::shutdown(socket_, SHUT_WR);
  const Clock::time_point deadline = Clock::now() + kLinger;
  char drain[4096];
  for (std::size_t dropped = 0; dropped < kLingerBytes && WaitFor(POLLIN, deadline);) {
    const ssize_t got = ::recv(socket_, drain, sizeof drain, 0);
    if (got <= 0) break;
    dropped += static_cast<std::size_t>(got);
  }
}

// httplib asks for both addresses on every request; they are looked up once.
void Connection::get_remote_ip_and_port(std::string& ip, int& port) const {
  if (!remote_) {
    remote_.emplace();
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      AddressOf(address, remote_->ip, remote_->port);
    }
  }
  ip = remote_->ip;
  port = remote_->port;
}

void Connection::get_local_ip_and_port(std::string& ip, int& port) const {
  if (!local_) {
    local_.emplace();
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      AddressOf(address, local_->ip, local_->port);
    }
  }
  ip = local_->ip;
  port = local_->port;
}

}  // namespace tavrel::http
