// Reads a byte stream in large blocks and hands it out as chunks of complete lines,
// or of complete CSV records (which may span lines inside quotes). A chunk is
// self-contained (it knows the number of its first line), so chunks can be
// processed independently, e.g. split between threads, and written in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>

#include "framing.h"

namespace tavrel::cli {

// What the reader cuts the input into: lines, or CSV records (see csv.h).
enum class Framing { kLines, kCsvRecords };

struct Chunk {
  // Whole lines (or records), each ending in '\n' except the input's last one when
  // it has no line end. Valid until the next call of ChunkReader::Next.
  std::string_view lines;
  // Line numbers count every '\n', also those inside quoted CSV fields.
  std::uint64_t firstLineNumber = 1;
  // True when the chunk stands for one line (record) longer than the reader's
  // limit; its bytes were skipped without being kept and `lines` is empty.
  bool overLongLine = false;
};

class ChunkReader {
 public:
  // Memory use is fixed at about blockSize + maxLineLength bytes. A line whose end
  // is not among its first maxLineLength + 2 bytes (the limit, a CR and the LF) is
  // skipped to its end; shorter lines are handed out whole. CSV records are cut
  // by FrameCsvRecord with that limit and `csvDelimiter`. A chunk holds at most
  // maxLinesPerChunk lines (records), which bounds the output made from it.
  ChunkReader(int fd, std::size_t maxLineLength, std::size_t blockSize,
              Framing framing = Framing::kLines,
              std::size_t maxLinesPerChunk = std::numeric_limits<std::size_t>::max(),
              char csvDelimiter = ',');

  // The next chunk; false at the end of the input or after a read error. A UTF-8
  // byte-order mark at the very start of the input is dropped. A non-blocking
  // `fd` with nothing to read is waited on.
  bool Next(Chunk& chunk);
  bool ReadFailed() const { return readError_ != 0; }
  // The system's error number of the failed read, or 0.
  int ReadError() const { return readError_; }

 private:
  std::string_view Pending() const;
  bool SkipByteOrderMark();
  RecordFrame Frame(std::string_view bytes) const;
  std::size_t WholeRecords(std::string_view pending, RecordFrame& next,
                           std::uint64_t& lineFeeds) const;
  void ReadBlock();
  void SkipOverLong(std::size_t searchFrom);

  int fd_;
  Framing framing_;
  char csvDelimiter_;
  std::size_t maxRecords_;
  std::size_t maxLength_;
  // The most bytes of an unfinished record kept while reading on: the limit, a CR
  // and the LF; a CSV record's end may take one byte more to decide (see csv.h).
  std::size_t maxPartialLine_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  std::uint64_t nextLineNumber_ = 1;
  bool atStart_ = true;
  bool endOfInput_ = false;
  int readError_ = 0;
};

}  // namespace tavrel::cli
