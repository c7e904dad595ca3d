// The CSV reader of `check --csv` on arbitrary bytes, with a small fuzzed record
// limit. Records are split one after another until the input is used up; each
// must end where a plain character-by-character reading of the rules in csv.h
// says, and a well-formed one written back field by field must split into the
// same values. The chunk reader, reading the input in small blocks, must cut it
// into the same records under the same line numbers; and the rows written for
// the input must not depend on the blocks it was read in.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/internal/batch_reader.h"
#include "cli/internal/csv.h"
#include "cli/internal/csv_batch.h"
#include "fuzz_assert.h"

namespace {

using namespace tavrel::cli;

constexpr std::size_t kNone = std::string_view::npos;

// The record at the start of the rest of an input, read byte by byte by the rules.
RecordFrame ModelFrame(std::string_view bytes, char delimiter, std::size_t limit) {
  enum { kFieldStart, kUnquoted, kQuoted } state = kFieldStart;
  const std::size_t decisive = limit + 2;  // the limit, a CR and the LF
  std::size_t openQuote = kNone;
  std::size_t end = kNone;
  std::size_t i = 0;
  for (; i < bytes.size() && i < decisive && end == kNone; ++i) {
    const char c = bytes[i];
    if (state == kQuoted) {
      if (c != '"') continue;
      if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
        ++i;
      } else {
        state = kUnquoted;
      }
    } else if (c == '\n') {
      end = i + 1;
    } else if (c == delimiter) {
      state = kFieldStart;
    } else if (state == kFieldStart && c == '"') {
      state = kQuoted;
      openQuote = i;
    } else {
      state = kUnquoted;
    }
  }
  const bool inSight = bytes.size() <= decisive;
  FrameKind kind = FrameKind::kWhole;
  if (end == kNone && state == kQuoted) {
    kind = FrameKind::kUnterminated;
    const std::size_t cut = bytes.substr(0, decisive).find('\n', openQuote);
    if (cut != kNone) end = cut + 1;
  }
  if (end == kNone && inSight) end = bytes.size();
  if (end == kNone) return {FrameKind::kOverLong, decisive};
  std::string_view text = bytes.substr(0, end);
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  if (text.size() > limit) return {FrameKind::kOverLong, text.size()};
  return {kind, end};
}

struct Record {
  std::uint64_t line;
  CsvSplitStatus status;
  std::string bytes;  // the record as consumed, line end included; empty when over-long
};

std::vector<std::string> FieldValues(const std::vector<std::string_view>& fields) {
  std::vector<std::string> values;
  std::string scratch;
  for (std::string_view field : fields) values.emplace_back(CsvFieldValue(field, scratch));
  return values;
}

// Writes the values as one record and splits it again.
void CheckRewrite(const std::vector<std::string>& values, char delimiter) {
  std::string record;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) record += delimiter;
    AppendCsvField(record, values[i], delimiter);
  }
  record += '\n';
  std::vector<std::string_view> fields;
  const CsvSplit again = SplitCsvRecord(record, delimiter, true, fields, record.size());
  FUZZ_ASSERT(again.status == CsvSplitStatus::kRecord && again.consumed == record.size());
  FUZZ_ASSERT(FieldValues(fields) == values);
}

// Splits `text` (from line `line` on) into records, each checked on its own.
std::vector<Record> SplitAll(std::string_view text, std::uint64_t line, char delimiter,
                             std::size_t limit) {
  std::vector<Record> records;
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const CsvSplit split = SplitCsvRecord(text, delimiter, true, fields, limit);
    const RecordFrame model = ModelFrame(text, delimiter, limit);
    FUZZ_ASSERT(split.consumed > 0 && split.consumed <= text.size());
    const std::string_view consumed = text.substr(0, split.consumed);
    FUZZ_ASSERT(consumed.substr(0, split.text.size()) == split.text);
    FUZZ_ASSERT(consumed.substr(split.text.size()).starts_with(split.lineEnd));
    if (model.kind == FrameKind::kOverLong) {
      FUZZ_ASSERT(split.status == CsvSplitStatus::kOverLong);
      const std::size_t lineFeed = text.find('\n', model.end);
      FUZZ_ASSERT(split.consumed == (lineFeed == kNone ? text.size() : lineFeed + 1));
    } else {
      FUZZ_ASSERT(split.consumed == model.end);
      FUZZ_ASSERT((model.kind == FrameKind::kUnterminated) ==
                  (split.fault != nullptr && std::string_view(split.fault) == kUnterminatedQuote));
      FUZZ_ASSERT(split.text.size() <= limit);
    }
    if (split.status == CsvSplitStatus::kRecord) CheckRewrite(FieldValues(fields), delimiter);
    const bool kept = split.status != CsvSplitStatus::kOverLong;
    records.push_back({line, split.status, std::string(kept ? consumed : std::string_view())});
    line += static_cast<std::uint64_t>(std::count(consumed.begin(), consumed.end(), '\n'));
    text.remove_prefix(split.consumed);
  }
  return records;
}

int MemoryFile(std::string_view bytes) {
  const int fd = memfd_create("csv-input", 0);
  FUZZ_ASSERT(fd >= 0);
  FUZZ_ASSERT(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  FUZZ_ASSERT(lseek(fd, 0, SEEK_SET) == 0);
  return fd;
}

// The reader's records, each chunk split on its own as ProcessCsvChunk does.
std::vector<Record> ReadAll(ChunkReader& reader, char delimiter, std::size_t limit) {
  std::vector<Record> records;
  for (Chunk chunk; reader.Next(chunk);) {
    if (chunk.overLongLine) {
      records.push_back({chunk.firstLineNumber, CsvSplitStatus::kOverLong, {}});
      continue;
    }
    for (Record& record : SplitAll(chunk.lines, chunk.firstLineNumber, delimiter, limit)) {
      records.push_back(std::move(record));
    }
  }
  FUZZ_ASSERT(!reader.ReadFailed());
  return records;
}

// The rows for `text` read through a reader of `blockSize`, chunk by chunk.
std::string RowsReadInBlocks(std::string_view text, const CsvLayout& layout,
                             std::size_t blockSize) {
  const int fd = MemoryFile(text);
  ChunkReader reader(fd, kMaxLineLength, blockSize, Framing::kCsvRecords, 3, layout.delimiter);
  std::string rows;
  for (Chunk chunk; reader.Next(chunk);) ProcessCsvChunk(chunk, layout, rows);
  close(fd);
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const char delimiter = provider.PickValueInArray({',', ';', '\t', '|'});
  const std::size_t limit = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
  const std::size_t blockSize = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
  const std::size_t maxRecords = provider.ConsumeIntegralInRange<std::size_t>(1, 4);
  const CsvLayout layout{delimiter, provider.ConsumeIntegralInRange<std::size_t>(0, 3),
                         provider.ConsumeIntegralInRange<std::size_t>(0, 3)};
  const std::string input = provider.ConsumeRemainingBytesAsString();
  std::string_view text = input;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  const std::vector<Record> expected = SplitAll(text, 1, delimiter, limit);
  const int fd = MemoryFile(input);
  ChunkReader reader(fd, limit, blockSize, Framing::kCsvRecords, maxRecords, delimiter);
  const std::vector<Record> read = ReadAll(reader, delimiter, limit);
  close(fd);
  FUZZ_ASSERT(read.size() == expected.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    FUZZ_ASSERT(read[i].line == expected[i].line && read[i].status == expected[i].status);
    FUZZ_ASSERT(read[i].bytes == expected[i].bytes);
  }

  std::string rows;
  const BatchCounts counts = ProcessCsvChunk(Chunk{text, 1, false}, layout, rows);
  FUZZ_ASSERT(counts.malformed <= counts.lines);
  FUZZ_ASSERT(RowsReadInBlocks(input, layout, blockSize) == rows);
  return 0;
}
