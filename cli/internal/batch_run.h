// What every batch mode shares around its lines: the inputs read in turn, the
// output written to standard output or safely to a file, the progress line, the
// summary on standard error and the exit status.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch_reader.h"
#include "chunk_pipeline.h"
#include "output.h"
#include "progress.h"

namespace tavrel::cli {

inline constexpr unsigned kDefaultThreads = 2;

struct BatchOptions {
  std::vector<std::string> inputs;    // files read in turn; none: standard input
  std::optional<std::string> output;  // -o FILE; none: standard output
  bool header = false;                // --header: each input's first line is a header
  std::optional<bool> summary;        // --summary, --no-summary; unset: when stderr is a terminal
  bool failOnInvalid = false;         // exit status 1 for an invalid line or an input fault
  unsigned threads = kDefaultThreads;
};

// The inputs of a batch: every file opened before the first is read, then read
// one after the other, each by a reader of its own (so line numbers count per
// file, and a last line without a line end stays a line of its own).
class BatchInputs {
 public:
  BatchInputs(Framing framing, char csvDelimiter);
  ~BatchInputs();
  BatchInputs(const BatchInputs&) = delete;
  BatchInputs& operator=(const BatchInputs&) = delete;

  // Opens `paths` ("-" or none: standard input). Returns false, with a message
  // naming the file, when one cannot be opened or is a directory.
  bool Open(const std::vector<std::string>& paths, std::string& error);
  // The sum of the inputs' sizes when every one is a regular file.
  std::optional<std::uint64_t> TotalSize() const { return totalSize_; }
  // The next chunk; `fileStart` says it is the first of its file. False at the
  // end of the last input or after a read error.
  bool Next(Chunk& chunk, bool& fileStart);
  bool ReadFailed() const { return readError_ != 0; }
  // "tavrel: read from FILE failed: REASON\n"
  std::string ReadFailure() const;

 private:
  struct File {
    int fd;
    std::string name;
  };
  Framing framing_;
  char csvDelimiter_;
  std::vector<File> files_;
  std::size_t current_ = 0;
  std::unique_ptr<ChunkReader> reader_;
  std::optional<std::uint64_t> totalSize_;
  int readError_ = 0;
};

// A file written under a temporary name in its directory and renamed to its
// own at the end, so it is never seen half-written; removed when not committed,
// also on SIGINT, SIGTERM or SIGHUP.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Open(const std::string& path, std::string& error);
  int Fd() const { return fd_; }
  // Writes the file to disk and renames it; false with a message on failure.
  bool Commit(std::string& error);

 private:
  void Discard();

  int fd_ = -1;
  std::string path_;
  std::string temporary_;
  bool committed_ = false;
};

// One batch run: opens its inputs and output, then finishes with the summary,
// the output file renamed into place and the exit status.
class BatchRun {
 public:
  BatchRun(const BatchOptions& options, Framing framing, char csvDelimiter = ',');

  // 0, or the exit status of an input that cannot be opened (66) or an output
  // file that cannot be created (73), said on standard error.
  int Open();
  BatchInputs& Inputs() { return inputs_; }
  OutputSink& Sink() { return *sink_; }
  ProgressMeter& Progress() { return *progress_; }
  // The exit status of the finished run, after the summary and the output file.
  int Finish(const BatchCounts& counts);

 private:
  const BatchOptions& options_;
  BatchInputs inputs_;
  OutputFile file_;
  std::optional<OutputSink> sink_;
  std::optional<ProgressMeter> progress_;
  std::chrono::steady_clock::time_point start_;
};

// "tavrel: 10 lines, 7 valid, 2 invalid, 1 input faults, 2500 lines/s\n"
std::string SummaryLine(const BatchCounts& counts, double seconds);

}  // namespace tavrel::cli
