#include "internal/output.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

#include "internal/exit_status.h"

namespace tavrel::cli {

bool WaitUntilReady(int fd, short events) {
  pollfd ready{fd, events, 0};
  for (;;) {
    if (::poll(&ready, 1, -1) >= 0) return true;
    if (errno != EINTR) return false;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitUntilReady(fd, POLLOUT)) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string IoFailureMessage(std::string_view action, int error) {
  return "tavrel: " + std::string(action) + " failed: " + std::system_category().message(error) +
         "\n";
}

int Print(std::string_view text, int exitStatus) {
  if (WriteAll(STDOUT_FILENO, text)) return exitStatus;
  WriteAll(STDERR_FILENO, IoFailureMessage(kWriteToStandardOutput, errno));
  return kExitIoError;
}

OutputSink::OutputSink(int fd, std::size_t threshold) : fd_(fd), threshold_(threshold) {
  buffer_.reserve(threshold_ + threshold_ / 4);
}

void OutputSink::FlushIfFull() {
  if (buffer_.size() >= threshold_) Flush();
}

void OutputSink::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void OutputSink::Write(std::string_view bytes) {
  Flush();
  WriteOut(bytes);
}

void OutputSink::WriteOut(std::string_view bytes) {
  if (error_ == 0 && !WriteAll(fd_, bytes)) error_ = errno;
}

void AppendDecimal(std::string& out, long long value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace tavrel::cli
