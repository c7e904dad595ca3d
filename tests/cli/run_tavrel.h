// Runs the real tavrel binary with arguments and standard input, capturing its
// exit status and both output streams.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel::cli::testing {

struct RunResult {
  int exitStatus = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
  long peakKilobytes = 0;  // the child's peak resident memory
};

// With `stdoutPath`, standard output goes to that file instead of being captured;
// with `stderrFd`, standard error goes to that descriptor.
RunResult RunTavrel(const std::vector<std::string>& args, std::string_view input = {},
                    const char* stdoutPath = nullptr, int stderrFd = -1);

// The same with standard input read from `inputFd` (from its start). The child
// is forked from this process, so its peak memory includes this process's size.
RunResult RunTavrelOn(int inputFd, const std::vector<std::string>& args,
                      const char* stdoutPath = nullptr, int stderrFd = -1);

// The same with standard input and output pipes: this process writes the input
// `pieceSize` bytes at a time, as soon as the pipe takes them, and reads the
// output as it comes. With `nonBlocking`, tavrel's ends of both pipes are
// non-blocking, so its reads and writes meet EAGAIN.
RunResult RunTavrelThroughPipes(const std::vector<std::string>& args, std::string_view input,
                                std::size_t pieceSize, bool nonBlocking = false);

// RunTavrel with standard error on a pseudo-terminal; `err` holds what the
// terminal showed.
RunResult RunTavrelWithTerminal(const std::vector<std::string>& args, std::string_view input = {});

// A temporary file, already unlinked, holding `contents`; the descriptor is at
// offset 0. The caller closes it.
int TempFileWith(std::string_view contents);

}  // namespace tavrel::cli::testing
