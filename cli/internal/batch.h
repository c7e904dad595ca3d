// The batch modes: one output line per input line, read and written in large
// blocks. Processing works chunk by chunk (see batch_reader.h): a chunk's output
// depends on nothing but the chunk, so chunks may be handled on several threads as
// long as their outputs are written in input order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "batch_reader.h"
#include "chunk_pipeline.h"
#include "framing.h"
#include "output.h"
#include "tavrel/service.h"

namespace tavrel::cli {

inline constexpr std::size_t kReadBlockSize = std::size_t{1} << 18;
// Caps a chunk's output at about kReadBlockSize plus 100 bytes a line, whatever
// the input looks like, so chunks in flight need little memory.
inline constexpr std::size_t kMaxLinesPerChunk = 8192;
inline constexpr unsigned kDefaultThreads = 2;

inline constexpr const char* kNoCp1252Form =
    "not valid UTF-8 or a character without a Windows-1252 form";

bool IsAscii(std::string_view text);

// The UTF-8 message of a result for batch output; empty for 0 and 1.
std::string_view BatchMessage(int result);

// Turns one input line (line end removed, free of NUL bytes, valid UTF-8 with a
// Windows-1252 form) into its output line, checking against `source` (the
// method keys run by its rules). Appends the line and returns nullptr, or
// appends nothing and returns why the line is malformed.
using LineHandler = const char* (*)(const service::CheckSource& source, std::string_view utf8Line,
                                    std::string_view cp1252Line, std::string& out);

// BANKCODE<TAB>ACCOUNT -> BANKCODE<TAB>ACCOUNT<TAB>RESULT<TAB>MESSAGE
const char* CheckLine(const service::CheckSource& source, std::string_view utf8Line,
                      std::string_view cp1252Line, std::string& out);
// IBAN -> IBAN<TAB>RESULT<TAB>MESSAGE<TAB>ACCOUNT_RESULT<TAB>ACCOUNT_MESSAGE, the
// account fields empty unless the IBAN is a valid German one.
const char* IbanLine(const service::CheckSource& source, std::string_view utf8Line,
                     std::string_view cp1252Line, std::string& out);
// KEY<TAB>ACCOUNT[<TAB>BANKCODE] -> RESULT
const char* MethodLine(const service::CheckSource& source, std::string_view utf8Line,
                       std::string_view cp1252Line, std::string& out);

// Appends one output line per line of `chunk` to `out`; a malformed line gets
// "ERROR<TAB>malformed line N: REASON".
BatchCounts ProcessChunk(const Chunk& chunk, LineHandler handler,
                         const service::CheckSource& source, std::string& out);

// Runs a whole batch from `inFd` to `outFd` on `threads` workers (1: on the
// calling thread), with progress on standard error when that is a terminal.
// Returns the exit status: 0 when every line was well formed, 2 when at least one
// was malformed, 74 on a read or write error (reported on standard error).
int RunBatch(int inFd, int outFd, LineHandler handler, const service::CheckSource& source,
             unsigned threads);

// The exit status of a finished batch, as RunBatch describes it.
int BatchExitStatus(const ChunkReader& reader, const OutputSink& sink, const BatchCounts& counts);

}  // namespace tavrel::cli
