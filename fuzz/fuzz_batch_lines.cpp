// The batch modes' input path on arbitrary bytes: the chunk reader with small,
// fuzzed line and block limits over a memory file, then the check or method line
// handler on every chunk. The reader must hand out every input line once, whole
// and under its own line number, or mark it as over-long when it really is; the
// handler must answer each line with exactly one output line: the line's result,
// or the error line for that line number.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/internal/batch.h"
#include "cli/internal/batch_reader.h"
#include "fuzz_assert.h"
#include "tavrel/encoding.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace {

using namespace tavrel;

// The input's lines without their '\n'; a trailing line without a line end
// counts, an empty rest after the last '\n' does not. A byte-order mark at the
// very start belongs to no line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool ParseResult(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// A batch line says the outcome table's message, as the single check does.
std::string CheckSuffix(int result) {
  const OutcomeInfo* info = FindOutcome(result);
  const std::string_view message = info == nullptr ? std::string_view() : info->message;
  return "\t" + std::to_string(result) + "\t" + encoding::Cp1252ToUtf8(message);
}

// True when `output` is the handler's answer to a well-formed `line`.
bool IsAnswer(bool checkMode, std::string_view line, std::string_view output) {
  int result = 0;
  if (!checkMode) {
    return ParseResult(output, result) &&
           (result == 1 || result == 0 || result == -2 || result == -3);
  }
  line = WithoutCarriageReturn(line);
  if (!output.starts_with(line) || output.size() == line.size()) return false;
  const std::string_view rest = output.substr(line.size() + 1);
  return ParseResult(rest.substr(0, rest.find('\t')), result) &&
         output.substr(line.size()) == CheckSuffix(result);
}

void CheckOutput(bool checkMode, const cli::Chunk& chunk, std::string_view output,
                 const cli::BatchCounts& counts) {
  const std::vector<std::string_view> lines = SplitLines(chunk.lines);
  const std::vector<std::string_view> answers = SplitLines(output);
  FUZZ_ASSERT(output.empty() || output.back() == '\n');
  FUZZ_ASSERT(counts.lines == (chunk.overLongLine ? 1 : lines.size()));
  FUZZ_ASSERT(answers.size() == counts.lines);
  std::uint64_t errors = 0;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (!chunk.overLongLine && IsAnswer(checkMode, lines[i], answers[i])) continue;
    const std::string prefix =
        "ERROR\tmalformed line " + std::to_string(chunk.firstLineNumber + i) + ": ";
    FUZZ_ASSERT(answers[i].starts_with(prefix));
    ++errors;
  }
  FUZZ_ASSERT(errors == counts.malformed);
}

// A memory file holding `bytes`, read from its start.
int MemoryFile(std::string_view bytes) {
  const int fd = memfd_create("batch-input", 0);
  FUZZ_ASSERT(fd >= 0);
  FUZZ_ASSERT(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  FUZZ_ASSERT(lseek(fd, 0, SEEK_SET) == 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::size_t maxLineLength = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
  const std::size_t blockSize = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
  const bool checkMode = provider.ConsumeBool();
  const service::CheckSource source{
      service::DefaultSource().directory,
      service::RuleGenerations()[provider.ConsumeBool() ? 1 : 0].rules};
  const std::string input = provider.ConsumeRemainingBytesAsString();
  std::string_view text = input;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::vector<std::string_view> inputLines = SplitLines(text);

  const int fd = MemoryFile(input);
  cli::ChunkReader reader(fd, maxLineLength, blockSize);
  cli::Chunk chunk;
  std::uint64_t nextLine = 1;
  while (reader.Next(chunk)) {
    FUZZ_ASSERT(chunk.firstLineNumber == nextLine);
    FUZZ_ASSERT(nextLine <= inputLines.size());
    if (chunk.overLongLine) {
      FUZZ_ASSERT(chunk.lines.empty());
      FUZZ_ASSERT(inputLines[nextLine - 1].size() > maxLineLength + 1);
      ++nextLine;
    } else {
      for (std::string_view line : SplitLines(chunk.lines)) {
        FUZZ_ASSERT(nextLine <= inputLines.size() && line == inputLines[nextLine - 1]);
        ++nextLine;
      }
    }
    std::string output;
    const cli::BatchCounts counts =
        cli::ProcessChunk(chunk, checkMode ? cli::CheckLine : cli::MethodLine, source, output);
    CheckOutput(checkMode, chunk, output, counts);
  }
  FUZZ_ASSERT(!reader.ReadFailed());
  FUZZ_ASSERT(nextLine == inputLines.size() + 1);
  close(fd);
  return 0;
}
