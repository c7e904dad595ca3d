// The chunk reader with tiny blocks, so that lines straddle many reads.
#include "cli/internal/batch_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

constexpr std::size_t kMaxLine = 8;

// Reads all of `input` and renders each line as "N:line" (line end kept) or
// "N:OVERLONG"; how lines are grouped into chunks is left to the reader.
std::vector<std::string> ReadLines(const std::string& input, std::size_t blockSize) {
  const int fd = TempFileWith(input);
  ChunkReader reader(fd, kMaxLine, blockSize);
  std::vector<std::string> lines;
  for (Chunk chunk; reader.Next(chunk);) {
    std::uint64_t number = chunk.firstLineNumber;
    if (chunk.overLongLine) lines.push_back(std::to_string(number) + ":OVERLONG");
    for (std::string_view rest = chunk.lines; !rest.empty(); ++number) {
      const std::size_t length = std::min(rest.find('\n'), rest.size() - 1) + 1;
      lines.push_back(std::to_string(number) + ":" + std::string(rest.substr(0, length)));
      rest.remove_prefix(length);
    }
  }
  EXPECT_FALSE(reader.ReadFailed());
  ::close(fd);
  return lines;
}

struct ReaderCase {
  std::string input;
  std::size_t blockSize;
  std::vector<std::string> lines;
};

TEST(ChunkReader, HandsOutWholeLinesWithTheirNumbers) {
  const ReaderCase cases[] = {
      {"", 4, {}},
      {"a", 4, {"1:a"}},
      {"\n", 4, {"1:\n"}},
      {"ab\ncd\n", 16, {"1:ab\n", "2:cd\n"}},
      {"ab\ncd", 16, {"1:ab\n", "2:cd"}},
      // Lines cut by reads of three bytes come out whole.
      {"abcd\nefgh\nij\n", 3, {"1:abcd\n", "2:efgh\n", "3:ij\n"}},
      // Eight bytes plus a CR is still a line; nine bytes and more are skipped.
      {"12345678\r\nx\n", 3, {"1:12345678\r\n", "2:x\n"}},
      {"123456789012\nx\n", 3, {"1:OVERLONG", "2:x\n"}},
      {"a\n123456789012345678901234567890\nb\nc", 3, {"1:a\n", "2:OVERLONG", "3:b\n", "4:c"}},
      {"a\n1234567890123", 5, {"1:a\n", "2:OVERLONG"}},
      {"1234567890123\n1234567890123\n", 3, {"1:OVERLONG", "2:OVERLONG"}},
      // A byte-order mark is dropped at the start only, even when read byte by byte.
      {"\xEF\xBB\xBF"
       "ab\n",
       1,
       {"1:ab\n"}},
      {"\xEF\xBB\xBF", 1, {}},
      {"\xEF\xBB", 1, {"1:\xEF\xBB"}},
      {"\xEF"
       "a\n",
       1,
       {"1:\xEF"
        "a\n"}},
      {"a\n\xEF\xBB\xBF"
       "b\n",
       4,
       {"1:a\n",
        "2:\xEF\xBB\xBF"
        "b\n"}},
  };
  for (const ReaderCase& c : cases) {
    EXPECT_EQ(ReadLines(c.input, c.blockSize), c.lines) << "input \"" << c.input << "\"";
  }
}

// Whatever the block size, the chunks put together give the input back and the
// line numbers follow on.
TEST(ChunkReader, ChunksJoinToTheInputForEveryBlockSize) {
  std::string input;
  for (int i = 0; i < 200; ++i) input += std::string(static_cast<std::size_t>(i % 9), 'x') + "\n";
  for (std::size_t blockSize = 1; blockSize <= 40; ++blockSize) {
    const int fd = TempFileWith(input);
    ChunkReader reader(fd, kMaxLine, blockSize);
    std::string joined;
    std::uint64_t expectedLine = 1;
    for (Chunk chunk; reader.Next(chunk);) {
      ASSERT_FALSE(chunk.overLongLine);
      EXPECT_EQ(chunk.firstLineNumber, expectedLine) << "block size " << blockSize;
      expectedLine +=
          static_cast<std::uint64_t>(std::count(chunk.lines.begin(), chunk.lines.end(), '\n'));
      joined += chunk.lines;
    }
    ::close(fd);
    EXPECT_EQ(joined, input) << "block size " << blockSize;
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
