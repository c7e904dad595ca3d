// Writing to file descriptors: whole-buffer writes and the large output buffer of
// the batch modes, plus JSON string escaping for the search's --json form.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel::cli {

// Writes all of `bytes` to `fd`, retrying short and interrupted writes.
// Returns false when the write fails.
bool WriteAll(int fd, std::string_view bytes);

inline constexpr std::string_view kWriteFailed = "tavrel: writing standard output failed\n";

// Writes `text` to standard output and returns `exitStatus`; when the write fails,
// says so on standard error and returns 74 instead.
int Print(std::string_view text, int exitStatus);

// Collects output in one large buffer and writes it out only when it has grown past
// the threshold (and at the end), so batch runs make few system calls.
class OutputSink {
 public:
  static constexpr std::size_t kDefaultThreshold = std::size_t{1} << 20;

  explicit OutputSink(int fd, std::size_t threshold = kDefaultThreshold);

  std::string& Buffer() { return buffer_; }
  void FlushIfFull();
  void Flush();
  // Writes what is buffered and then `bytes`, without copying them.
  void Write(std::string_view bytes);
  // True once any write has failed; later output is dropped.
  bool Failed() const { return failed_; }

 private:
  int fd_;
  std::size_t threshold_;
  std::string buffer_;
  bool failed_ = false;
};

// Appends `value` in decimal digits, with a minus sign when negative.
void AppendDecimal(std::string& out, long long value);

// Appends `utf8` as a quoted JSON string: quote, backslash and control
// characters escaped, every other byte copied.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace tavrel::cli
