#include "internal/batch_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "internal/batch.h"
#include "internal/exit_status.h"

namespace tavrel::cli {
namespace {

std::string SystemMessage(int error) { return std::system_category().message(error); }

constexpr const char* kStandardInput = "standard input";

// The temporary output file, for the signal handler to remove; one at a time.
char temporaryToRemove[4096];

extern "C" void RemoveTemporaryAndDie(int signal) {
  if (temporaryToRemove[0] != '\0') ::unlink(temporaryToRemove);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void RemoveOnSignals(const std::string& path) {
  if (path.size() >= sizeof temporaryToRemove) return;
  std::memcpy(temporaryToRemove, path.c_str(), path.size() + 1);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTemporaryAndDie);
}

void KeepOnSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
  temporaryToRemove[0] = '\0';
}

// The mode a new file gets, or the one the file to be replaced has.
mode_t ModeFor(const std::string& path) {
  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

BatchInputs::BatchInputs(Framing framing, char csvDelimiter)
    : framing_(framing), csvDelimiter_(csvDelimiter) {}

BatchInputs::~BatchInputs() {
  for (const File& file : files_) {
    if (file.fd != STDIN_FILENO) ::close(file.fd);
  }
}

bool BatchInputs::Open(const std::vector<std::string>& paths, std::string& error) {
  std::uint64_t total = 0;
  bool allRegular = true;
  const std::vector<std::string> standardInput = {"-"};
  for (const std::string& path : paths.empty() ? standardInput : paths) {
    const bool stdinPath = path == "-";
    const int fd = stdinPath ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      error = "tavrel: cannot open " + path + ": " + SystemMessage(errno) + '\n';
      return false;
    }
    files_.push_back({fd, stdinPath ? kStandardInput : path});
    struct stat status;
    const bool known = ::fstat(fd, &status) == 0;
    // Standard input that cannot be read fails at its first read, as ever.
    if (known && S_ISDIR(status.st_mode) && !stdinPath) {
      error = "tavrel: cannot read " + path + ": " + SystemMessage(EISDIR) + '\n';
      return false;
    }
    allRegular = allRegular && known && S_ISREG(status.st_mode);
    if (allRegular) total += static_cast<std::uint64_t>(status.st_size);
  }
  if (allRegular) totalSize_ = total;
  return true;
}

bool BatchInputs::Next(Chunk& chunk, bool& fileStart) {
  while (current_ < files_.size()) {
    fileStart = reader_ == nullptr;
    if (fileStart) {
      reader_ = std::make_unique<ChunkReader>(files_[current_].fd, kMaxLineLength, kReadBlockSize,
                                              framing_, kMaxLinesPerChunk, csvDelimiter_);
    }
    if (reader_->Next(chunk)) return true;
    if (reader_->ReadFailed()) {
      readError_ = reader_->ReadError();
      return false;
    }
    reader_.reset();
    ++current_;
  }
  return false;
}

std::string BatchInputs::ReadFailure() const {
  const std::string& name = files_[current_].name;
  return IoFailureMessage("read from " + name, readError_);
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& path, std::string& error) {
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temporary = directory + '.' + name + ".tavrel-XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0 || ::fchmod(fd, ModeFor(path)) != 0) {
    error = "tavrel: cannot create " + path + ": " + SystemMessage(errno) + '\n';
    if (fd >= 0) {
      ::close(fd);
      ::unlink(temporary.c_str());
    }
    return false;
  }
  fd_ = fd;
  path_ = path;
  temporary_ = std::move(temporary);
  RemoveOnSignals(temporary_);
  return true;
}

bool OutputFile::Commit(std::string& error) {
  const bool written = ::fsync(fd_) == 0 && ::close(fd_) == 0;
  fd_ = -1;
  if (!written || ::rename(temporary_.c_str(), path_.c_str()) != 0) {
    error = "tavrel: cannot write " + path_ + ": " + SystemMessage(errno) + '\n';
    Discard();
    return false;
  }
  committed_ = true;
  KeepOnSignals();
  return true;
}

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty() && !committed_) {
    ::unlink(temporary_.c_str());
    KeepOnSignals();
  }
  temporary_.clear();
}

BatchRun::BatchRun(const BatchOptions& options, Framing framing, char csvDelimiter)
    : options_(options), inputs_(framing, csvDelimiter), start_(std::chrono::steady_clock::now()) {}

int BatchRun::Open() {
  std::string error;
  if (!inputs_.Open(options_.inputs, error)) {
    WriteAll(STDERR_FILENO, error);
    return kExitNoInput;
  }
  if (options_.output && !file_.Open(*options_.output, error)) {
    WriteAll(STDERR_FILENO, error);
    return kExitCannotCreate;
  }
  sink_.emplace(options_.output ? file_.Fd() : STDOUT_FILENO);
  progress_.emplace(STDERR_FILENO, inputs_.TotalSize());
  return kExitValid;
}

int BatchRun::Finish(const BatchCounts& counts) {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  if (options_.summary.value_or(::isatty(STDERR_FILENO) == 1)) {
    WriteAll(STDERR_FILENO, SummaryLine(counts, elapsed.count()));
  }
  if (inputs_.ReadFailed()) WriteAll(STDERR_FILENO, inputs_.ReadFailure());
  if (sink_->Failed()) {
    const std::string action =
        options_.output ? "write to " + *options_.output : std::string(kWriteToStandardOutput);
    WriteAll(STDERR_FILENO, IoFailureMessage(action, sink_->Error()));
  }
  if (inputs_.ReadFailed() || sink_->Failed()) return kExitIoError;
  std::string error;
  if (options_.output && !file_.Commit(error)) {
    WriteAll(STDERR_FILENO, error);
    return kExitIoError;
  }
  if (counts.malformed != 0) return kExitInputFault;
  if (options_.failOnInvalid && counts.Invalid() + counts.Faults() != 0) return kExitInvalid;
  return kExitValid;
}

std::string SummaryLine(const BatchCounts& counts, double seconds) {
  std::string line = "tavrel: ";
  AppendDecimal(line, static_cast<long long>(counts.lines));
  line += " lines, ";
  AppendDecimal(line, static_cast<long long>(counts.Valid()));
  line += " valid, ";
  AppendDecimal(line, static_cast<long long>(counts.Invalid()));
  line += " invalid, ";
  AppendDecimal(line, static_cast<long long>(counts.Faults() + counts.malformed));
  line += " input faults, ";
  const double rate = seconds > 0 ? static_cast<double>(counts.lines) / seconds : 0;
  AppendDecimal(line, static_cast<long long>(rate));
  line += " lines/s\n";
  return line;
}

}  // namespace tavrel::cli
