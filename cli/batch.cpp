#include "internal/batch.h"

#include <optional>

#include "internal/output.h"
#include "tavrel/encoding.h"

namespace tavrel::cli {

namespace {

// What a line holds of note, found in one pass without early exit, which the
// compiler turns into vector code: lines are short and mostly clean.
struct LineBytes {
  bool ascii;
  bool nul;
};

LineBytes ScanBytes(std::string_view text) {
  unsigned char all = 0;
  bool nul = false;
  for (char c : text) {
    all |= static_cast<unsigned char>(c);
    nul |= c == '\0';
  }
  return {all < 0x80, nul};
}

}  // namespace

bool IsAscii(std::string_view text) { return ScanBytes(text).ascii; }

namespace {

// Checks and converts one line, then hands it to `handle`. ASCII lines are
// their own Windows-1252 form, so only lines with other bytes are converted.
template <typename Handle>
const char* ProcessLine(std::string_view line, const Handle& handle) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineLength) return kTooLong;
  const LineBytes bytes = ScanBytes(line);
  if (bytes.nul) return "contains a NUL byte";
  if (bytes.ascii) return handle(line, line);
  std::optional<std::string> converted = encoding::Utf8ToCp1252(line);
  if (!converted) return kNoCp1252Form;
  return handle(line, *converted);
}

// `leading` answers the run of usual lines at the start of what is left and
// returns the bytes it took, so that only the others are handled one by one.
template <typename Leading, typename Handle, typename AppendFault>
BatchCounts ProcessLines(const Chunk& chunk, const Leading& leading, const Handle& handle,
                         const AppendFault& appendFault, BatchCounts& counts) {
  counts.bytes = chunk.lines.size();
  if (chunk.overLongLine) {
    appendFault(chunk.firstLineNumber, kTooLong);
    counts.lines = counts.malformed = 1;
    return counts;
  }
  std::string_view rest = chunk.lines;
  while (!rest.empty()) {
    rest.remove_prefix(leading(rest, counts));
    if (rest.empty()) break;
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (const char* fault = ProcessLine(line, handle)) {
      appendFault(chunk.firstLineNumber + counts.lines, fault);
      ++counts.malformed;
    }
    ++counts.lines;
  }
  return counts;
}

}  // namespace

BatchCounts ProcessChunk(const Chunk& chunk, LineHandler handler,
                         const service::CheckSource& source, std::string& out) {
  BatchCounts counts;
  return ProcessLines(
      chunk, [](std::string_view, BatchCounts&) { return std::size_t{0}; },
      [&](std::string_view utf8, std::string_view cp1252) {
        return handler(source, utf8, cp1252, out);
      },
      [&](std::uint64_t lineNumber, std::string_view reason) {
        AppendPlainLineError(out, lineNumber, reason);
      },
      counts);
}

BatchCounts ProcessChunk(const Chunk& chunk, const LineFormat& format,
                         const service::CheckSource& source, std::string& out) {
  BatchCounts counts;
  const auto leading = [&](std::string_view rest, BatchCounts& counted) {
    return format.leadingLines ? format.leadingLines(source, rest, out, counted) : 0;
  };
  return ProcessLines(
      chunk, leading,
      [&](std::string_view utf8, std::string_view cp1252) {
        return format.line(source, utf8, cp1252, out, counts);
      },
      [&](std::uint64_t lineNumber, std::string_view reason) {
        format.malformed(out, lineNumber, reason);
      },
      counts);
}

namespace {

// Takes the header line off the first chunk of a file and, for the first file,
// writes its answer: the line echoed with the result columns' names.
void TakeHeaderLine(Chunk& chunk, const LineFormat& format, std::string* out) {
  const std::size_t end = chunk.lines.find('\n');
  std::string_view header = chunk.lines.substr(0, end);
  chunk.lines.remove_prefix(end == std::string_view::npos ? chunk.lines.size() : end + 1);
  ++chunk.firstLineNumber;
  if (out == nullptr || (!format.echoesHeader && format.headerColumns.empty())) return;
  if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
  if (format.echoesHeader) *out += header;
  *out += format.headerColumns;
  *out += '\n';
}

}  // namespace

int RunBatch(const BatchOptions& options, const LineFormat& format,
             const service::CheckSource& source) {
  BatchRun run(options, Framing::kLines);
  if (const int status = run.Open()) return status;
  bool headerTaken = false;
  auto next = [&](Chunk& chunk) {
    for (bool fileStart = false; run.Inputs().Next(chunk, fileStart);) {
      if (!options.header || !fileStart) return true;
      // An over-long header line is skipped whole, with nothing to echo.
      if (!chunk.overLongLine)
        TakeHeaderLine(chunk, format, headerTaken ? nullptr : &run.Sink().Buffer());
      headerTaken = true;
      if (!chunk.lines.empty()) return true;
    }
    return false;
  };
  const BatchCounts counts = RunChunks(
      next,
      [&format, &source](const Chunk& chunk, std::string& out) {
        return ProcessChunk(chunk, format, source, out);
      },
      options.threads, run.Sink(), run.Progress());
  return run.Finish(counts);
}

}  // namespace tavrel::cli
