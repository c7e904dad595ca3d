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
// npos when the field is not closed.
std::size_t QuotedFieldEnd(std::string_view text, std::size_t open) {
  for (std::size_t quote = open + 1;; quote += 2) {
    quote = text.find('"', quote);
    if (quote == kNone) return kNone;
    if (quote + 1 == text.size() || text[quote + 1] != '"') return quote + 1;
  }
}

// Splits a record's text (line end removed) into fields; returns why the
// quoting is broken, or nullptr.
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
      if (FindByte(text, '"', start, end) != kNone) return "quote in an unquoted field";
    }
    fields.push_back(text.substr(start, end - start));
    if (end == text.size()) return nullptr;
    start = end + 1;
  }
}

}  // namespace

std::size_t FindCsvRecordEnd(std::string_view bytes, bool& inQuotes) {
  std::size_t lineFeed = FindByte(bytes, '\n', 0, bytes.size());
  for (std::size_t pos = 0;;) {
    if (inQuotes) {
      const std::size_t close = FindByte(bytes, '"', pos, bytes.size());
      if (close == kNone) return kNone;
      inQuotes = false;
      pos = close + 1;
    }
    // The next LF is searched again only once the scan has passed it, so a record
    // full of quotes is still scanned in linear time.
    if (lineFeed != kNone && lineFeed < pos) lineFeed = FindByte(bytes, '\n', pos, bytes.size());
    const std::size_t open = FindByte(bytes, '"', pos, lineFeed == kNone ? bytes.size() : lineFeed);
    if (open == kNone) return lineFeed;
    inQuotes = true;
    pos = open + 1;
  }
}

CsvSplit SplitCsvRecord(std::string_view input, char delimiter, bool endOfInput,
                        std::vector<std::string_view>& fields) {
  fields.clear();
  CsvSplit split;
  bool inQuotes = false;
  const std::size_t lineFeed = FindCsvRecordEnd(input, inQuotes);
  if (lineFeed == kNone && (!endOfInput || input.empty())) return split;
  std::size_t textEnd = lineFeed == kNone ? input.size() : lineFeed;
  split.consumed = lineFeed == kNone ? input.size() : lineFeed + 1;
  if (textEnd > 0 && input[textEnd - 1] == '\r' && !inQuotes) --textEnd;
  split.text = input.substr(0, textEnd);
  if (lineFeed != kNone) split.lineEnd = input.substr(textEnd, split.consumed - textEnd);
  split.fault = inQuotes ? kUnterminatedQuote : SplitFields(split.text, delimiter, fields);
  split.status = split.fault ? CsvSplitStatus::kMalformed : CsvSplitStatus::kRecord;
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
