#include "internal/csv.h"

#include <algorithm>
#include <cstring>

namespace tavrel::cli {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::size_t FindByte(std::string_view bytes, char byte, std::size_t from, std::size_t to) {
  const void* found = std::memchr(bytes.data() + from, byte, to - from);
  return found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data()) : kNone;
}

// The end of the quoted field that starts at `open`, one past its closing quote;
// npos when `text` ends first. A quote followed by a quote is the pair "", so a
// quote at the very end of `text` closes the field.
std::size_t QuotedFieldEnd(std::string_view text, std::size_t open) {
  for (std::size_t quote = open + 1;; quote += 2) {
    quote = text.find('"', quote);
    if (quote == kNone) return kNone;
    if (quote + 1 == text.size() || text[quote + 1] != '"') return quote + 1;
  }
}

struct RecordScan {
  std::size_t lineFeed = kNone;   // the LF that ends the record, if before the stop
  std::size_t openQuote = kNone;  // else the opening quote of a field still open there
};

// Scans the record at the start of `bytes` over its first `stop` bytes; the byte
// at `stop`, when there, only tells a closing quote from the first of a "".
RecordScan ScanRecord(std::string_view bytes, char delimiter, std::size_t stop) {
  const std::size_t lineFeed = FindByte(bytes, '\n', 0, stop);
  if (FindByte(bytes, '"', 0, lineFeed == kNone ? stop : lineFeed) == kNone) return {lineFeed};
  const std::string_view seen = bytes.substr(0, stop + 1);
  for (std::size_t pos = 0;;) {
    if (pos < stop && bytes[pos] == '"') {
      const std::size_t close = QuotedFieldEnd(seen, pos);
      if (close == kNone || close > stop) return {kNone, pos};
      pos = close;
    }
    // Whatever follows, up to the next delimiter or LF, is unquoted text.
    while (pos < stop && bytes[pos] != delimiter && bytes[pos] != '\n') ++pos;
    if (pos == stop) return {};
    if (bytes[pos] == '\n') return {pos};
    ++pos;
  }
}

// The length of a record's text: less its LF and a CR before it.
std::size_t TextLength(std::string_view record) {
  std::size_t length = record.size();
  if (length > 0 && record[length - 1] == '\n') --length;
  if (length > 0 && record[length - 1] == '\r') --length;
  return length;
}

// A record of `end` bytes of `kind`, or an over-long one when its text is too long.
RecordFrame Held(std::string_view bytes, FrameKind kind, std::size_t end,
                 std::size_t maxRecordLength) {
  const std::string_view record = bytes.substr(0, end);
  if (TextLength(record) <= maxRecordLength) return {kind, end};
  return {FrameKind::kOverLong, record.ends_with('\n') ? end - 1 : end};
}

// Splits a record's text (line end removed, every quoted field closed) into
// fields; returns why the quoting is broken, or nullptr.
const char* SplitFields(std::string_view text, char delimiter,
                        std::vector<std::string_view>& fields) {
  for (std::size_t start = 0;;) {
    std::size_t end;
    if (start < text.size() && text[start] == '"') {
      end = QuotedFieldEnd(text, start);
      if (end == kNone) return kUnterminatedQuote;
      if (end < text.size() && text[end] != delimiter) return "text after a closing quote";
    } else {
      end = std::min(text.find(delimiter, start), text.size());
    }
    fields.push_back(text.substr(start, end - start));
    if (end == text.size()) return nullptr;
    start = end + 1;
  }
}

void SetText(std::string_view record, CsvSplit& split) {
  const std::size_t length = TextLength(record);
  split.consumed = record.size();
  split.text = record.substr(0, length);
  if (record.ends_with('\n')) split.lineEnd = record.substr(length);
}

}  // namespace

RecordFrame FrameCsvRecord(std::string_view bytes, char delimiter, bool endOfInput,
                           std::size_t maxRecordLength) {
  if (bytes.empty()) return {};
  const std::size_t limit = maxRecordLength + 2;
  // Whether the input ends among the bytes that decide; else one byte past them
  // must be there, to tell a closing quote at the limit from a "".
  const bool endsInSight = endOfInput && bytes.size() <= limit;
  const std::size_t stop = std::min(bytes.size(), limit);
  const RecordScan scan = ScanRecord(bytes, delimiter, stop);
  if (scan.lineFeed != kNone)
    return Held(bytes, FrameKind::kWhole, scan.lineFeed + 1, maxRecordLength);
  if (!endsInSight && bytes.size() <= limit) return {};
  if (scan.openQuote == kNone) {
    if (endsInSight) return Held(bytes, FrameKind::kWhole, bytes.size(), maxRecordLength);
    return {FrameKind::kOverLong, stop};
  }
  const std::size_t cut = FindByte(bytes, '\n', scan.openQuote, stop);
  if (cut != kNone) return Held(bytes, FrameKind::kUnterminated, cut + 1, maxRecordLength);
  if (endsInSight) return Held(bytes, FrameKind::kUnterminated, bytes.size(), maxRecordLength);
  return {FrameKind::kOverLong, stop};
}

CsvSplit SplitCsvRecord(std::string_view input, char delimiter, bool endOfInput,
                        std::vector<std::string_view>& fields, std::size_t maxRecordLength) {
  fields.clear();
  CsvSplit split;
  const RecordFrame frame = FrameCsvRecord(input, delimiter, endOfInput, maxRecordLength);
  switch (frame.kind) {
    case FrameKind::kNeedMore:
      break;
    case FrameKind::kOverLong:
      if (const std::size_t lineFeed = input.find('\n', frame.end); lineFeed != kNone) {
        SetText(input.substr(0, lineFeed + 1), split);
      } else if (endOfInput) {
        SetText(input, split);
      } else {
        break;
      }
      split.status = CsvSplitStatus::kOverLong;
      split.fault = kTooLong;
      break;
    case FrameKind::kUnterminated:
      SetText(input.substr(0, frame.end), split);
      split.status = CsvSplitStatus::kMalformed;
      split.fault = kUnterminatedQuote;
      break;
    case FrameKind::kWhole:
      SetText(input.substr(0, frame.end), split);
      split.fault = SplitFields(split.text, delimiter, fields);
      split.status = split.fault ? CsvSplitStatus::kMalformed : CsvSplitStatus::kRecord;
      break;
  }
  return split;
}

std::string_view CsvFieldValue(std::string_view field, std::string& scratch) {
  if (field.size() < 2 || field.front() != '"') return field;
  const std::string_view inner = field.substr(1, field.size() - 2);
  if (inner.find('"') == kNone) return inner;
  scratch.clear();
  for (std::size_t i = 0; i < inner.size(); ++i) {
    scratch += inner[i];
    if (inner[i] == '"') ++i;  // the second quote of ""
  }
  return scratch;
}

void AppendCsvField(std::string& out, std::string_view text, char delimiter) {
  const char special[] = {delimiter, '"', '\r', '\n'};
  if (text.find_first_of(std::string_view(special, sizeof special)) == kNone) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace tavrel::cli
