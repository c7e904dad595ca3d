#include "internal/batch_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "internal/csv.h"

namespace tavrel::cli {

namespace {

std::uint64_t CountLineFeeds(std::string_view bytes) {
  return static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

}  // namespace

ChunkReader::ChunkReader(int fd, std::size_t maxLineLength, std::size_t blockSize, Framing framing,
                         std::size_t maxLinesPerChunk)
    : fd_(fd),
      framing_(framing),
      maxRecords_(maxLinesPerChunk),
      maxPartialLine_(maxLineLength + 1),
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
    std::string_view pending = Pending();
    std::uint64_t lineFeeds = 0;
    if (std::size_t whole = WholeRecords(pending, lineFeeds); whole > 0) {
      chunk.lines = pending.substr(0, whole);
      begin_ += whole;
      nextLineNumber_ += lineFeeds;
      return true;
    }
    if (pending.size() > maxPartialLine_) {
      SkipToRecordEnd();
      chunk.overLongLine = true;
      return true;
    }
    if (endOfInput_) {
      if (pending.empty()) return false;
      chunk.lines = pending;
      begin_ = end_;
      nextLineNumber_ += 1 + CountLineFeeds(pending);
      return true;
    }
    ReadBlock();
  }
}

// The length of the longest run of at most maxRecords_ whole lines (records) at the
// start of `pending`; `lineFeeds` is set to the number of LFs in it.
std::size_t ChunkReader::WholeRecords(std::string_view pending, std::uint64_t& lineFeeds) const {
  std::size_t length = 0;
  std::size_t records = 0;
  for (; records < maxRecords_; ++records) {
    bool inQuotes = false;
    const std::size_t end = RecordEnd(pending.substr(length), inQuotes);
    if (end == std::string_view::npos) break;
    length += end + 1;
  }
  lineFeeds = framing_ == Framing::kLines ? records : CountLineFeeds(pending.substr(0, length));
  return length;
}

// The position of the LF that ends the line (record) continued by `bytes`, or npos.
std::size_t ChunkReader::RecordEnd(std::string_view bytes, bool& inQuotes) const {
  if (framing_ == Framing::kCsvRecords) return FindCsvRecordEnd(bytes, inQuotes);
  const void* lineFeed = std::memchr(bytes.data(), '\n', bytes.size());
  return lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - bytes.data())
                  : std::string_view::npos;
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
    readFailed_ = got < 0;
    endOfInput_ = true;
    return;
  }
}

// Drops an over-long line (record) from the buffer and reads on until its end,
// keeping only what follows it. LFs inside its quotes still count as lines.
void ChunkReader::SkipToRecordEnd() {
  bool inQuotes = false;
  for (;;) {
    const std::string_view pending = Pending();
    const std::size_t end = RecordEnd(pending, inQuotes);
    if (end != std::string_view::npos) {
      nextLineNumber_ += 1 + CountLineFeeds(pending.substr(0, end));
      begin_ += end + 1;
      return;
    }
    nextLineNumber_ += CountLineFeeds(pending);
    begin_ = end_;
    if (endOfInput_) {
      ++nextLineNumber_;
      return;
    }
    ReadBlock();
  }
}

}  // namespace tavrel::cli
