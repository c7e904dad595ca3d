#include "internal/output.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "internal/exit_status.h"

namespace tavrel::cli {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int Print(std::string_view text, int exitStatus) {
  if (WriteAll(STDOUT_FILENO, text)) return exitStatus;
  WriteAll(STDERR_FILENO, kWriteFailed);
  return kExitIoError;
}

OutputSink::OutputSink(int fd, std::size_t threshold) : fd_(fd), threshold_(threshold) {
  buffer_.reserve(threshold_ + threshold_ / 4);
}

void OutputSink::FlushIfFull() {
  if (buffer_.size() >= threshold_) Flush();
}

void OutputSink::Flush() {
  if (!failed_ && !WriteAll(fd_, buffer_)) failed_ = true;
  buffer_.clear();
}

void OutputSink::Write(std::string_view bytes) {
  Flush();
  if (!failed_ && !WriteAll(fd_, bytes)) failed_ = true;
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
