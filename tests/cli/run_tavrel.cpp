#include "run_tavrel.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(TAVREL_BINARY));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  ::execv(TAVREL_BINARY, argv.data());
  std::_Exit(127);
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
  int status = 0;
  rusage usage{};
  RunResult result;
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
    result.peakKilobytes = usage.ru_maxrss;
  }
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

}  // namespace tavrel::cli::testing
