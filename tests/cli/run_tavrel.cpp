#include "run_tavrel.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tavrel::cli::testing {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  ::lseek(fd, 0, SEEK_SET);
  char block[1 << 16];
  for (ssize_t got; (got = ::read(fd, block, sizeof block)) > 0;) {
    text.append(block, static_cast<std::size_t>(got));
  }
  return text;
}

[[noreturn]] void ExecTavrel(const std::vector<std::string>& args, int in, int out, int err) {
  ::dup2(in, STDIN_FILENO);
  ::dup2(out, STDOUT_FILENO);
  ::dup2(err, STDERR_FILENO);
  ::signal(SIGPIPE, SIG_DFL);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(TAVREL_BINARY));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  ::execv(TAVREL_BINARY, argv.data());
  std::_Exit(127);
}

// Waits for the child and fills in its exit status and peak memory.
void Reap(pid_t child, RunResult& result) {
  int status = 0;
  rusage usage{};
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
    result.peakKilobytes = usage.ru_maxrss;
  }
}

void SetNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

// Feeds `input` into `in` and drains `out` until tavrel closes its output. `in`
// is non-blocking, so a full pipe never stops the draining.
void Converse(int in, int out, std::string_view input, std::size_t pieceSize, std::string& read) {
  bool inOpen = true;
  auto closeInput = [&] {
    if (inOpen) ::close(in);
    inOpen = false;
  };
  if (input.empty()) closeInput();
  char block[1 << 16];
  for (;;) {
    pollfd fds[] = {{out, POLLIN, 0}, {inOpen ? in : -1, POLLOUT, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) {
      const ssize_t written = ::write(in, input.data(), std::min(pieceSize, input.size()));
      if (written > 0) input.remove_prefix(static_cast<std::size_t>(written));
      if (input.empty() || (written < 0 && errno != EAGAIN)) closeInput();
    }
    if (fds[0].revents != 0) {
      const ssize_t got = ::read(out, block, sizeof block);
      if (got <= 0) break;
      read.append(block, static_cast<std::size_t>(got));
    }
  }
  closeInput();
}

}  // namespace

int TempFileWith(std::string_view contents) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) throw std::runtime_error("no temporary file");
  const int fd = ::dup(::fileno(file));
  std::fclose(file);
  std::size_t done = 0;
  while (done < contents.size()) {
    ssize_t written = ::write(fd, contents.data() + done, contents.size() - done);
    if (written <= 0) throw std::runtime_error("cannot fill temporary file");
    done += static_cast<std::size_t>(written);
  }
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

RunResult RunTavrelOn(int inputFd, const std::vector<std::string>& args, const char* stdoutPath,
                      int stderrFd) {
  const int out = stdoutPath ? ::open(stdoutPath, O_WRONLY) : TempFileWith({});
  if (out < 0) throw std::runtime_error("cannot open the output file");
  const int err = TempFileWith({});
  ::lseek(inputFd, 0, SEEK_SET);
  const pid_t child = ::fork();
  if (child == 0) ExecTavrel(args, inputFd, out, stderrFd >= 0 ? stderrFd : err);
  RunResult result;
  Reap(child, result);
  if (!stdoutPath) result.out = ReadAll(out);
  result.err = ReadAll(err);
  ::close(out);
  ::close(err);
  return result;
}

RunResult RunTavrel(const std::vector<std::string>& args, std::string_view input,
                    const char* stdoutPath, int stderrFd) {
  const int in = TempFileWith(input);
  RunResult result = RunTavrelOn(in, args, stdoutPath, stderrFd);
  ::close(in);
  return result;
}

RunResult RunTavrelWithTerminal(const std::vector<std::string>& args, std::string_view input) {
  int master = -1;
  int slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  RunResult result = RunTavrel(args, input, nullptr, slave);
  ::close(slave);
  // Once every slave descriptor is closed and the bytes are read, the master
  // reports an error (EIO) instead of waiting.
  char block[4096];
  for (ssize_t got; (got = ::read(master, block, sizeof block)) > 0;) {
    result.err.append(block, static_cast<std::size_t>(got));
  }
  ::close(master);
  return result;
}

RunResult RunTavrelThroughPipes(const std::vector<std::string>& args, std::string_view input,
                                std::size_t pieceSize, bool nonBlocking) {
  int in[2];
  int out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("no pipe");
  }
  // A write into a pipe that tavrel closed early must fail here, not end the test.
  ::signal(SIGPIPE, SIG_IGN);
  SetNonBlocking(in[1]);
  if (nonBlocking) {
    SetNonBlocking(in[0]);
    SetNonBlocking(out[1]);
  }
  const int err = TempFileWith({});
  const pid_t child = ::fork();
  if (child == 0) ExecTavrel(args, in[0], out[1], err);
  ::close(in[0]);
  ::close(out[1]);
  RunResult result;
  Converse(in[1], out[0], input, pieceSize, result.out);
  ::close(out[0]);
  Reap(child, result);
  result.err = ReadAll(err);
  ::close(err);
  return result;
}

}  // namespace tavrel::cli::testing
