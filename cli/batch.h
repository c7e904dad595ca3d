// The batch modes: one output line per input line, read and written in large
// blocks. Processing works chunk by chunk (see batch_reader.h): a chunk's output
// depends on nothing but the chunk, so chunks may be handled on several threads as
// long as their outputs are written in input order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/batch_reader.h"

namespace tavrel::cli {

// Longest accepted input line, line end not counted.
inline constexpr std::size_t kMaxLineLength = 65536;
inline constexpr std::size_t kReadBlockSize = std::size_t{1} << 20;

// Turns one input line (line end removed, free of NUL bytes, valid UTF-8 with a
// Windows-1252 form) into its output line. Appends the line and returns nullptr,
// or appends nothing and returns why the line is malformed.
using LineHandler = const char* (*)(std::string_view utf8Line, std::string_view cp1252Line,
                                    std::string& out);

// BANKCODE<TAB>ACCOUNT -> BANKCODE<TAB>ACCOUNT<TAB>RESULT<TAB>MESSAGE
const char* CheckLine(std::string_view utf8Line, std::string_view cp1252Line, std::string& out);
// KEY<TAB>ACCOUNT[<TAB>BANKCODE] -> RESULT
const char* MethodLine(std::string_view utf8Line, std::string_view cp1252Line, std::string& out);

struct BatchCounts {
  std::uint64_t lines = 0;
  std::uint64_t malformed = 0;
};

// Appends one output line per line of `chunk` to `out`; a malformed line gets
// "ERROR<TAB>malformed line N: REASON".
BatchCounts ProcessChunk(const Chunk& chunk, LineHandler handler, std::string& out);

// Runs a whole batch from `inFd` to `outFd`. Returns the exit status: 0 when every
// line was well formed, 2 when at least one was malformed, 74 on a read or write
// error (reported on standard error).
int RunBatch(int inFd, int outFd, LineHandler handler);

}  // namespace tavrel::cli
