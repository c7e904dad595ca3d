// The CSV record splitter, field unquoting and quoting, and the chunk reader's
// record framing.
#include "cli/internal/csv.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/internal/batch_reader.h"
#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

using std::string_literals::operator""s;

struct SplitCase {
  std::string input;
  bool endOfInput;
  CsvSplitStatus status;
  std::size_t consumed;
  std::vector<std::string> fields;  // as read, quotes kept; or the fault text
  std::string lineEnd = {};
};

constexpr auto kRecord = CsvSplitStatus::kRecord;
constexpr auto kMalformed = CsvSplitStatus::kMalformed;
constexpr auto kNeedMore = CsvSplitStatus::kNeedMore;

TEST(SplitCsvRecord, SplitsOneRecordAndSaysHowMuchItTook) {
  const SplitCase cases[] = {
      {"a,b,c\nd", false, kRecord, 6, {"a", "b", "c"}, "\n"},
      {"a,b\r\nd", false, kRecord, 5, {"a", "b"}, "\r\n"},
      {"a,,\n", false, kRecord, 4, {"a", "", ""}, "\n"},
      {"\n", false, kRecord, 1, {""}, "\n"},
      {"a,b", false, kNeedMore, 0, {}},
      {"a,b", true, kRecord, 3, {"a", "b"}},
      {"a,b\r", true, kRecord, 4, {"a", "b"}},
      {"", true, kNeedMore, 0, {}},
      // Quoted fields keep delimiters, doubled quotes and line ends.
      {"\"x,y\",\"say \"\"hi\"\"\"\n", false, kRecord, 19, {"\"x,y\"", "\"say \"\"hi\"\"\""}, "\n"},
      {"\"line\r\nbreak\",2\r\nnext\n", false, kRecord, 17, {"\"line\r\nbreak\"", "2"}, "\r\n"},
      {"\"\",\"\"\"\"\n", false, kRecord, 8, {"\"\"", "\"\"\"\""}, "\n"},
      {"\"open\nstill open", false, kNeedMore, 0, {}},
      // A quote inside an unquoted field is a plain character.
      {"ab\"c\",d\nx\n", false, kRecord, 8, {"ab\"c\"", "d"}, "\n"},
      {"a\"b\nc\"\nnext\n", false, kRecord, 4, {"a\"b"}, "\n"},
      {"12030000,9290701,5\"\n", false, kRecord, 20, {"12030000", "9290701", "5\""}, "\n"},
      // A quoted field that never closes ends with the line of its opening quote.
      {"\"open\nstill open", true, kMalformed, 6, {"unterminated quote"}, "\n"},
      {"a,\"b\"\"\r\nc", true, kMalformed, 8, {"unterminated quote"}, "\r\n"},
      {"\"ab\"c,d\n", false, kMalformed, 8, {"text after a closing quote"}, "\n"},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string_view> fields{"stale"};
    const CsvSplit split = SplitCsvRecord(c.input, ',', c.endOfInput, fields);
    SCOPED_TRACE("input \"" + c.input + "\"");
    EXPECT_EQ(split.status, c.status);
    EXPECT_EQ(split.consumed, c.consumed);
    EXPECT_EQ(split.lineEnd, c.lineEnd);
    if (c.status == kMalformed) {
      EXPECT_EQ(std::string(split.fault), c.fields.front());
    } else {
      EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), c.fields);
    }
    if (c.status != kNeedMore) {
      EXPECT_TRUE(c.input.starts_with(std::string(split.text) + std::string(split.lineEnd)));
    }
  }
}

TEST(SplitCsvRecord, OtherDelimiters) {
  std::vector<std::string_view> fields;
  EXPECT_EQ(SplitCsvRecord("a;\"b;c\";d,e\n", ';', false, fields).status, kRecord);
  EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()),
            (std::vector<std::string>{"a", "\"b;c\"", "d,e"}));
  EXPECT_EQ(SplitCsvRecord("a\tb c\n", '\t', false, fields).status, kRecord);
  EXPECT_EQ(fields.size(), 2u);
}

struct FrameCase {
  std::string bytes;
  bool endOfInput;
  FrameKind kind;
  std::size_t end;
  std::size_t maxLength = kMaxLineLength;
  char delimiter = ',';
};

// Where records end: quotes open only at a field start, and the limit bounds
// both a record and a quoted field that never closes.
TEST(FrameCsvRecord, EndsRecordsByQuotesAtFieldStartsAndTheLimit) {
  const FrameCase cases[] = {
      {"a,\"b\nc", false, FrameKind::kNeedMore, 0},
      {"a,\"b\ncd\"\"e\nf", false, FrameKind::kNeedMore, 0},
      {"a,\"b\ncd\"\"e\nf\"\nnext\n", false, FrameKind::kWhole, 14},
      {"x\"\"\ny\n", false, FrameKind::kWhole, 4},
      // The delimiter decides where a field starts.
      {"a\t\"b\nc\"\n", false, FrameKind::kWhole, 8, kMaxLineLength, '\t'},
      {"a\t\"b\nc\"\n", false, FrameKind::kWhole, 5},
      {"", true, FrameKind::kNeedMore, 0},
      {"x,\"open", true, FrameKind::kUnterminated, 7},
      // Eight bytes, a CR and the LF fit a limit of 8; a ninth byte does not.
      {"12345678\r\n", false, FrameKind::kWhole, 10, 8},
      {"123456789\n", false, FrameKind::kOverLong, 9, 8},
      {"1234567890", false, FrameKind::kNeedMore, 0, 8},
      {"12345678901", false, FrameKind::kOverLong, 10, 8},
      {"123456789", true, FrameKind::kOverLong, 9, 8},
      // Still open after ten bytes: cut after the opening quote's line.
      {"\"1234\n5678\n9\",x\n", false, FrameKind::kUnterminated, 6, 8},
      {"\"12345678901\n", false, FrameKind::kOverLong, 10, 8},
      // A quote at the tenth byte closes the field, or opens a "" with the eleventh.
      {"\"a\nbcdefg\"\"x\"\n", false, FrameKind::kUnterminated, 3, 8},
      {"\"a\nbcdefg\"x\n", false, FrameKind::kOverLong, 10, 8},
      {"\"a\nbcdefg\"", false, FrameKind::kNeedMore, 0, 8},
      {"\"a\nbcdefg\"", true, FrameKind::kOverLong, 10, 8},
  };
  for (const FrameCase& c : cases) {
    const RecordFrame frame = FrameCsvRecord(c.bytes, c.delimiter, c.endOfInput, c.maxLength);
    EXPECT_EQ(frame.kind, c.kind) << "bytes \"" << c.bytes << "\"";
    EXPECT_EQ(frame.end, c.end) << "bytes \"" << c.bytes << "\"";
  }
}

TEST(CsvField, ValueAndQuotingRoundTrip) {
  const std::string values[] = {"", "plain", "a,b", "say \"hi\"", "two\nlines", "cr\r", "\"\""};
  for (const std::string& value : values) {
    std::string field;
    AppendCsvField(field, value, ',');
    std::vector<std::string_view> fields;
    const std::string record = field + "\n";
    ASSERT_EQ(SplitCsvRecord(record, ',', false, fields).status, kRecord) << field;
    ASSERT_EQ(fields.size(), 1u);
    std::string scratch;
    EXPECT_EQ(CsvFieldValue(fields[0], scratch), value) << field;
  }
  std::string out;
  AppendCsvField(out, "no quotes needed!", ',');
  AppendCsvField(out, "a;b", ';');
  EXPECT_EQ(out, "no quotes needed!\"a;b\"");
}

// Reads `input` as CSV records with small blocks and renders every chunk as
// "N:bytes" or "N:OVERLONG".
std::vector<std::string> ReadRecordChunks(const std::string& input, std::size_t blockSize,
                                          std::size_t maxRecords = 1) {
  const int fd = TempFileWith(input);
  ChunkReader reader(fd, 8, blockSize, Framing::kCsvRecords, maxRecords);
  std::vector<std::string> chunks;
  for (Chunk chunk; reader.Next(chunk);) {
    chunks.push_back(std::to_string(chunk.firstLineNumber) + ":" +
                     (chunk.overLongLine ? "OVERLONG"s : std::string(chunk.lines)));
  }
  ::close(fd);
  return chunks;
}

TEST(ChunkReader, CsvRecordsSpanLinesAndCountThem) {
  for (std::size_t blockSize : {1u, 3u, 64u}) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    EXPECT_EQ(ReadRecordChunks("\"a\nb\",1\nc,2\n", blockSize),
              (std::vector<std::string>{"1:\"a\nb\",1\n", "3:c,2\n"}));
    EXPECT_EQ(ReadRecordChunks("a\n\"unterminated\nand long\n", blockSize),
              (std::vector<std::string>{"1:a\n", "2:OVERLONG", "3:and long\n"}));
    EXPECT_EQ(ReadRecordChunks("a\n\"open\n", blockSize),
              (std::vector<std::string>{"1:a\n", "2:\"open\n"}));
    EXPECT_EQ(ReadRecordChunks("a\"b\n\"c\nd\n", blockSize),
              (std::vector<std::string>{"1:a\"b\n", "2:\"c\n", "3:d\n"}));
    // A quoted field still open past the limit ends with its first line; the
    // LFs inside an over-long record's quotes still count.
    EXPECT_EQ(ReadRecordChunks("\"1234\n5678\n9\",x\nc,2\n", blockSize),
              (std::vector<std::string>{"1:\"1234\n", "2:5678\n", "3:9\",x\n", "4:c,2\n"}));
    EXPECT_EQ(ReadRecordChunks("\"a\nb\",123456789\nc\n", blockSize),
              (std::vector<std::string>{"1:OVERLONG", "3:c\n"}));
  }
  EXPECT_EQ(ReadRecordChunks("a\nb\nc\nd\ne", 64, 2),
            (std::vector<std::string>{"1:a\nb\n", "3:c\nd\n", "5:e"}));
}

}  // namespace
}  // namespace tavrel::cli::testing
