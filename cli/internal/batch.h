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
#include "batch_run.h"
#include "chunk_pipeline.h"
#include "framing.h"
#include "output.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::cli {

inline constexpr std::size_t kReadBlockSize = std::size_t{1} << 18;
// Caps a chunk's output at about kReadBlockSize plus 100 bytes a line, whatever
// the input looks like, so chunks in flight need little memory.
inline constexpr std::size_t kMaxLinesPerChunk = 8192;

inline constexpr const char* kNoCp1252Form =
    "not valid UTF-8 or a character without a Windows-1252 form";

bool IsAscii(std::string_view text);

// The UTF-8 message of a result for batch output, as the single check prints
// it ("gültig" for 0); a view of text made once.
std::string_view BatchMessage(int result);

// Appends the result fields of "check --json" without braces: "result", "code",
// "message", "verdict", "field" (null for a value that is no outcome).
void AppendJsonResultFields(std::string& out, int result);
// Those fields as one JSON object and a line end.
std::string JsonResultObject(int result);

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

// A line handler that also counts the line as valid, invalid or an input fault.
using CountingLineHandler = const char* (*)(const service::CheckSource& source,
                                            std::string_view utf8Line, std::string_view cp1252Line,
                                            std::string& out, BatchCounts& counts);

// "ERROR<TAB>malformed line N: REASON", and its JSON form.
void AppendPlainLineError(std::string& out, std::uint64_t lineNumber, std::string_view reason);
void AppendJsonLineError(std::string& out, std::uint64_t lineNumber, std::string_view reason);

// The answers of one batch mode: a line's, a malformed line's, and a header
// line's (--header): the line itself when `echoesHeader`, then `headerColumns`.
struct LineFormat {
  CountingLineHandler line;
  void (*malformed)(std::string& out, std::uint64_t lineNumber, std::string_view reason);
  std::string_view headerColumns = {};
  bool echoesHeader = false;
  // Answers, as `line` would, the run of usual lines at the start of `lines`
  // (whole lines with their line ends, counted in `counts`) and returns the
  // bytes it took; the line it stops at goes through the general handling.
  // Null when the format has no such shortcut.
  std::size_t (*leadingLines)(const service::CheckSource& source, std::string_view lines,
                              std::string& out, BatchCounts& counts) = nullptr;
};

// check -, method - and iban -: the plain lines above, or with --json one object a
// line ({"error": "malformed_line", "line", "message"} for a malformed one).
extern const LineFormat kCheckLines;
extern const LineFormat kCheckJsonLines;
extern const LineFormat kMethodLines;
extern const LineFormat kMethodJsonLines;
extern const LineFormat kIbanLines;
extern const LineFormat kIbanJsonLines;

// Appends one output line per line of `chunk` to `out`; a malformed line gets
// "ERROR<TAB>malformed line N: REASON".
BatchCounts ProcessChunk(const Chunk& chunk, LineHandler handler,
                         const service::CheckSource& source, std::string& out);
// The same in the given format, counting the lines by their results.
BatchCounts ProcessChunk(const Chunk& chunk, const LineFormat& format,
                         const service::CheckSource& source, std::string& out);

// Runs a whole batch on `options.threads` workers (1: on the calling thread),
// with progress on standard error when that is a terminal. Returns the exit
// status: 0 when every line was well formed (with `failOnInvalid`, 1 when a line
// is invalid or an input fault), 2 when at least one was malformed, 66 or 73
// when an input or the output cannot be opened, 74 on a read or write error
// (each said on standard error).
int RunBatch(const BatchOptions& options, const LineFormat& format,
             const service::CheckSource& source);

}  // namespace tavrel::cli
