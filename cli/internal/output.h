// Writing to file descriptors: whole-buffer writes and the large output buffer of
// the batch modes, plus JSON string escaping for the search's --json form.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel::cli {

// Waits until `fd`, which is non-blocking and said EAGAIN, is ready for `events`
// (POLLIN or POLLOUT). Returns false when it cannot be waited on.
bool WaitUntilReady(int fd, short events);

// Writes all of `bytes` to `fd`, retrying short and interrupted writes and
// waiting on a non-blocking `fd` that is full. Returns false when the write
// fails; errno then says why.
bool WriteAll(int fd, std::string_view bytes);

// "tavrel: write to standard output failed: No space left on device\n", for
// `action` "write to standard output" and the system's error number.
std::string IoFailureMessage(std::string_view action, int error);
inline constexpr std::string_view kWriteToStandardOutput = "write to standard output";

// Writes `text` to standard output and returns `exitStatus`; when the write fails,
// says why on standard error and returns 74 instead.
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
  bool Failed() const { return error_ != 0; }
  // The system's error number of the failed write, or 0.
  int Error() const { return error_; }

 private:
  void WriteOut(std::string_view bytes);

  int fd_;
  std::size_t threshold_;
  std::string buffer_;
  int error_ = 0;
};

// Appends `value` in decimal digits, with a minus sign when negative.
void AppendDecimal(std::string& out, long long value);

// Appends `utf8` as a quoted JSON string: quote, backslash and control
// characters escaped, every other byte copied.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace tavrel::cli
