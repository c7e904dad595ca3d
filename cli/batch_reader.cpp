#include "internal/batch_reader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "internal/csv.h"
#include "internal/output.h"

namespace tavrel::cli {

namespace {

std::uint64_t CountLineFeeds(std::string_view bytes) {
  return static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// A line ends at its LF, which must be among its first maxLength + 2 bytes.
RecordFrame FrameLine(std::string_view bytes, bool endOfInput, std::size_t maxLength) {
  const std::size_t limit = maxLength + 2;
  const std::size_t seen = std::min(bytes.size(), limit);
  if (const void* lineFeed = std::memchr(bytes.data(), '\n', seen)) {
    return {FrameKind::kWhole,
            static_cast<std::size_t>(static_cast<const char*>(lineFeed) - bytes.data()) + 1};
  }
  if (bytes.size() >= limit) return {FrameKind::kOverLong, limit};
  if (endOfInput && !bytes.empty()) return {FrameKind::kWhole, bytes.size()};
  return {};
}

}  // namespace

ChunkReader::ChunkReader(int fd, std::size_t maxLineLength, std::size_t blockSize, Framing framing,
                         std::size_t maxLinesPerChunk, char csvDelimiter)
    : fd_(fd),
      framing_(framing),
      csvDelimiter_(csvDelimiter),
      maxRecords_(maxLinesPerChunk),
      maxLength_(maxLineLength),
      maxPartialLine_(maxLineLength + 2),
      capacity_(blockSize + maxPartialLine_),
      buffer_(new char[capacity_]) {}

std::string_view ChunkReader::Pending() const { return {buffer_.get() + begin_, end_ - begin_}; }

// Files saved by Windows editors often begin with a byte-order mark; it is no
// part of the first line. Returns false while more bytes are needed to tell.
bool ChunkReader::SkipByteOrderMark() {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const std::string_view pending = Pending();
  const std::size_t seen = std::min(pending.size(), kByteOrderMark.size());
  if (pending.substr(0, seen) == kByteOrderMark.substr(0, seen)) {
    if (seen < kByteOrderMark.size() && !endOfInput_) return false;
    if (seen == kByteOrderMark.size()) begin_ += seen;
  }
  atStart_ = false;
  return true;
}

bool ChunkReader::Next(Chunk& chunk) {
  chunk = Chunk{};
  chunk.firstLineNumber = nextLineNumber_;
  for (;;) {
    if (atStart_ && !SkipByteOrderMark()) {
      ReadBlock();
      continue;
    }
    const std::string_view pending = Pending();
    if (pending.empty() && endOfInput_) return false;
    RecordFrame next;
    std::uint64_t lineFeeds = 0;
    if (const std::size_t whole = WholeRecords(pending, next, lineFeeds); whole > 0) {
      chunk.lines = pending.substr(0, whole);
      begin_ += whole;
      nextLineNumber_ += lineFeeds;
      return true;
    }
    if (next.kind == FrameKind::kOverLong) {
      SkipOverLong(next.end);
      chunk.overLongLine = true;
      return true;
    }
    ReadBlock();
  }
}

// Where the line (record) at the start of `bytes` ends.
RecordFrame ChunkReader::Frame(std::string_view bytes) const {
  if (framing_ == Framing::kCsvRecords) {
    return FrameCsvRecord(bytes, csvDelimiter_, endOfInput_, maxLength_);
  }
  return FrameLine(bytes, endOfInput_, maxLength_);
}

// The length of the longest run of at most maxRecords_ whole lines (records) at the
// start of `pending`; `next` is set to the frame of the line after them and
// `lineFeeds` to the number of LFs in the run.
std::size_t ChunkReader::WholeRecords(std::string_view pending, RecordFrame& next,
                                      std::uint64_t& lineFeeds) const {
  std::size_t length = 0;
  std::size_t records = 0;
  for (; records < maxRecords_; ++records) {
    next = Frame(pending.substr(length));
    if (next.kind != FrameKind::kWhole && next.kind != FrameKind::kUnterminated) break;
    length += next.end;
  }
  lineFeeds = framing_ == Framing::kLines ? records : CountLineFeeds(pending.substr(0, length));
  return length;
}

// Moves the unfinished line to the front of the buffer and reads after it; the
// unfinished line is at most maxPartialLine_ bytes, so a whole block fits.
void ChunkReader::ReadBlock() {
  std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  for (;;) {
    ssize_t got = ::read(fd_, buffer_.get() + end_, capacity_ - end_);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
      return;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitUntilReady(fd_, POLLIN)) {
      continue;
    }
    if (got < 0) readError_ = errno;
    endOfInput_ = true;
    return;
  }
}

// Drops an over-long line (record) from the buffer and reads on until the first
// LF at or after `searchFrom`, keeping only what follows it. LFs before that
// position (inside the record's quotes) still count as lines.
void ChunkReader::SkipOverLong(std::size_t searchFrom) {
  for (;;) {
    const std::string_view pending = Pending();
    const std::size_t end = pending.find('\n', std::min(searchFrom, pending.size()));
    if (end != std::string_view::npos) {
      nextLineNumber_ += CountLineFeeds(pending.substr(0, end + 1));
      begin_ += end + 1;
      return;
    }
    nextLineNumber_ += CountLineFeeds(pending);
    searchFrom -= std::min(searchFrom, pending.size());
    begin_ = end_;
    if (endOfInput_) {
      ++nextLineNumber_;
      return;
    }
    ReadBlock();
  }
}

}  // namespace tavrel::cli
