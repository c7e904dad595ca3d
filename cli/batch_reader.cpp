#include "cli/batch_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tavrel::cli {

ChunkReader::ChunkReader(int fd, std::size_t maxLineLength, std::size_t blockSize)
    : fd_(fd),
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
    if (std::size_t last = pending.rfind('\n'); last != std::string_view::npos) {
      chunk.lines = pending.substr(0, last + 1);
      begin_ += chunk.lines.size();
      nextLineNumber_ +=
          static_cast<std::uint64_t>(std::count(chunk.lines.begin(), chunk.lines.end(), '\n'));
      return true;
    }
    if (pending.size() > maxPartialLine_) {
      SkipToLineEnd();
      chunk.overLongLine = true;
      ++nextLineNumber_;
      return true;
    }
    if (endOfInput_) {
      if (pending.empty()) return false;
      chunk.lines = pending;
      begin_ = end_;
      ++nextLineNumber_;
      return true;
    }
    ReadBlock();
  }
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

// Drops the buffered start of an over-long line and reads on until its '\n',
// keeping only what follows it.
void ChunkReader::SkipToLineEnd() {
  for (;;) {
    begin_ = end_;
    if (endOfInput_) return;
    ReadBlock();
    std::string_view pending = Pending();
    if (std::size_t newline = pending.find('\n'); newline != std::string_view::npos) {
      begin_ += newline + 1;
      return;
    }
  }
}

}  // namespace tavrel::cli
