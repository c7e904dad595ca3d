// Comma-separated values after RFC 4180: fields separated by one delimiter byte,
// records ended by LF or CRLF, fields optionally enclosed in double quotes, with
// "" standing for one quote inside them. Inside quotes, delimiters and line ends
// are field text.
//
// Where a record ends is decided by quote parity alone: a LF ends the record when
// an even number of quotes precede it in the record. Splitting a record into
// fields is strict: a quote inside an unquoted field, or text between a closing
// quote and the next delimiter, makes the record malformed (it still ends where
// the parity says, so the records after it are read as usual).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::cli {

// Scans `bytes`, which continue a record whose quote state is `inQuotes`, for the
// LF that ends the record. Returns its position, or npos when the record goes on
// past `bytes`; then `inQuotes` is the state at the end of `bytes`.
std::size_t FindCsvRecordEnd(std::string_view bytes, bool& inQuotes);

inline constexpr const char* kUnterminatedQuote = "unterminated quote";

enum class CsvSplitStatus {
  kRecord,     // a well-formed record; `fields` holds its fields
  kMalformed,  // a whole record, but its quoting is broken; `fault` says how
  kNeedMore,   // `input` ends inside the record and more input may follow
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
// is whole: the last one of a file, or, when still inside quotes, a malformed one.
// An empty `input` at the end of the input is not a record (kNeedMore, nothing
// consumed).
CsvSplit SplitCsvRecord(std::string_view input, char delimiter, bool endOfInput,
                        std::vector<std::string_view>& fields);

// The text of a field as read by SplitCsvRecord: quotes removed and "" turned
// into ". Unquoted fields are returned as they are; quoted ones are built in
// `scratch`.
std::string_view CsvFieldValue(std::string_view field, std::string& scratch);

// Appends `text` as one field, quoted when it holds the delimiter, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view text, char delimiter);

}  // namespace tavrel::cli
