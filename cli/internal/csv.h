// Comma-separated values as common CSV readers take them (RFC 4180, with a plain
// quote allowed inside an unquoted field): fields separated by one delimiter byte,
// records ended by LF or CRLF.
//
// A double quote at the start of a field opens a quoted field, which runs to the
// next quote that is not doubled: inside it, "" stands for one quote, and
// delimiters and line ends are field text. A quote anywhere else is a plain
// character (`TV 40"`). Text between a closing quote and the next delimiter makes
// the record malformed.
//
// A record holds at most kMaxLineLength bytes, its line end not counted, so its
// end must lie within its first kMaxLineLength + 2 bytes (the limit, CR and LF):
// - A quoted field that is still open at the end of the input, or after those
//   bytes, never closes: its record ends at the end of the line the opening
//   quote is on and is malformed ("unterminated quote"); the next line starts a
//   new record.
// - Any other record longer than the limit ends at the first line end after those
//   bytes, quotes no longer considered, and is malformed (kTooLong).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framing.h"

namespace tavrel::cli {

// Where the record at the start of `bytes` ends, by the rules above. With
// `endOfInput`, `bytes` are the rest of the input; then the answer is never
// kNeedMore, except for empty `bytes`.
RecordFrame FrameCsvRecord(std::string_view bytes, char delimiter, bool endOfInput,
                           std::size_t maxRecordLength = kMaxLineLength);

inline constexpr const char* kUnterminatedQuote = "unterminated quote";

enum class CsvSplitStatus {
  kRecord,     // a well-formed record; `fields` holds its fields
  kMalformed,  // a whole record, but its quoting is broken; `fault` says how
  kNeedMore,   // `input` ends inside the record and more input may follow
  kOverLong,   // a record longer than the limit; `fault` is kTooLong
};

struct CsvSplit {
  CsvSplitStatus status = CsvSplitStatus::kNeedMore;
  std::size_t consumed = 0;  // bytes of the record including its line end
  std::string_view text;     // the record as read, without its line end
  // "\n" or "\r\n"; empty at the end of the input, where a CR is dropped too
  std::string_view lineEnd;
  const char* fault = nullptr;
};

// Splits the record at the start of `input` into `fields` (cleared first; each
// field as read, quotes included). With `endOfInput`, a record without a line end
// is whole: the last one of a file. An empty `input` at the end of the input is
// not a record (kNeedMore, nothing consumed). `maxRecordLength` is the limit of
// the rules above; the fuzz target and tests use small ones.
CsvSplit SplitCsvRecord(std::string_view input, char delimiter, bool endOfInput,
                        std::vector<std::string_view>& fields,
                        std::size_t maxRecordLength = kMaxLineLength);

// The text of a field as read by SplitCsvRecord: quotes removed and "" turned
// into ". Unquoted fields are returned as they are; quoted ones are built in
// `scratch`.
std::string_view CsvFieldValue(std::string_view field, std::string& scratch);

// Appends `text` as one field, quoted when it holds the delimiter, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view text, char delimiter);

}  // namespace tavrel::cli
