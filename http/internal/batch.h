// Reading the items of a batch check: a JSON array of {"bank_code", "account"}
// objects, or NDJSON with one such object a line. Items are handed on as they
// are read, in order, so a batch is never held as a tree.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::http {

inline constexpr std::size_t kMaxBatchItems = 10'000;

// Receives the items in input order: each is either two strings or the reason
// why it is not an item.
class ItemSink {
 public:
  virtual ~ItemSink() = default;
  virtual void Item(std::string_view bankCode, std::string_view account) = 0;
  virtual void BadItem(std::string_view reason) = 0;
};

// Why a whole batch body was refused.
struct BatchFault {
  int status;  // 400 malformed, 413 more than kMaxBatchItems items
  std::string code;
  std::string message;
};

// A JSON array. A syntax error anywhere refuses the whole body, so items handed
// on before it are to be dropped.
std::optional<BatchFault> ReadJsonItems(std::string_view body, ItemSink& sink);

// One JSON value a line (LF or CRLF; the last line end is optional). A line that
// is not an item, an empty one included, is a bad item in place.
std::optional<BatchFault> ReadNdjsonItems(std::string_view body, ItemSink& sink);

// The shortcut for the form nearly every client sends, read byte by byte: a JSON
// array (or NDJSON lines, LF or CRLF) of {"bank_code":"...","account":"..."}
// with the two keys in either order, no blanks inside, printable ASCII strings
// without escapes, at most kMaxBatchItems items. Items are handed on as they are
// read; false at the first byte that leaves this form, and then the items
// handed on are to be dropped and the body read by ReadJsonItems or
// ReadNdjsonItems, which hand on the same items for every body taken here.
bool ReadCompactItems(std::string_view body, bool ndjson, ItemSink& sink);

}  // namespace tavrel::http
