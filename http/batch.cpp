#include "internal/batch.h"

#include <array>
#include <cstring>
#include <nlohmann/json.hpp>

namespace tavrel::http {
namespace {

using nlohmann::json;

constexpr std::string_view kNotAnItem =
    "an item is an object of the two strings \"bank_code\" and \"account\"";

// The fields of one item object while it is read.
struct ItemFields {
  std::optional<std::string> bankCode;
  std::optional<std::string> account;
  std::optional<std::string>* pending = nullptr;  // the field whose value comes next
  std::string fault;                              // empty while the object is an item

  void Fail(std::string_view why) {
    if (fault.empty()) fault = why;
  }
};

// SAX events of one JSON text, the items at `itemDepth` (1 inside an array, 0 for
// an NDJSON line). Values nested deeper than an item's fields are skipped.
class ItemReader final : public nlohmann::json_sax<json> {
 public:
  ItemReader(int itemDepth, ItemSink& sink) : itemDepth_(itemDepth), sink_(sink) {}

  bool null() override { return Scalar("a field value is null"); }
  bool boolean(bool) override { return Scalar("a field value is a boolean"); }
  bool number_integer(number_integer_t) override { return Scalar("a field value is a number"); }
  bool number_unsigned(number_unsigned_t) override { return Scalar("a field value is a number"); }
  bool number_float(number_float_t, const string_t&) override {
    return Scalar("a field value is a number");
  }
  bool binary(binary_t&) override { return Scalar("a field value is binary"); }

  bool string(string_t& value) override {
    if (depth_ == itemDepth_ + 1 && item_.pending != nullptr) {
      *item_.pending = std::move(value);
      item_.pending = nullptr;
      return true;
    }
    return Scalar("a field value is not a string");
  }

  bool start_object(std::size_t) override {
    if (depth_ == itemDepth_) item_ = ItemFields{};
    return Open("a field value is an object");
  }

  bool key(string_t& name) override {
    if (depth_ != itemDepth_ + 1) return true;
    item_.pending = nullptr;
    if (name == "bank_code") {
      item_.pending = &item_.bankCode;
    } else if (name == "account") {
      item_.pending = &item_.account;
    } else {
      item_.Fail("unknown field \"" + name + "\"; " + std::string(kNotAnItem));
      return true;
    }
    if (item_.pending->has_value()) {
      item_.Fail("field \"" + name + "\" given twice");
      item_.pending = nullptr;
    }
    return true;
  }

  bool end_object() override {
    --depth_;
    return depth_ != itemDepth_ || FinishItem();
  }

  bool start_array(std::size_t) override {
    if (depth_ == 0 && itemDepth_ == 1) {
      ++depth_;
      return true;
    }
    return Open("a field value is an array");
  }

  bool end_array() override {
    --depth_;
    return depth_ != itemDepth_ || EndValue(std::string(kNotAnItem));
  }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    syntaxError_ = e.what();
    return false;
  }

  const std::string& SyntaxError() const { return syntaxError_; }
  bool TooManyItems() const { return tooMany_; }
  bool TopLevelNotArray() const { return notArray_; }
  // For an NDJSON line: the line's one item, or its fault.
  std::optional<ItemFields>& Finished() { return finished_; }

 private:
  // A scalar in place of an item or a field value.
  bool Scalar(std::string_view why) {
    if (depth_ == itemDepth_) return EndValue(std::string(kNotAnItem));
    if (depth_ == itemDepth_ + 1) item_.Fail(why);
    item_.pending = nullptr;
    return depth_ != 0 || itemDepth_ == 0 || Refuse();
  }

  bool Open(std::string_view why) {
    if (depth_ == 0 && itemDepth_ == 1) return Refuse();
    if (depth_ == itemDepth_ + 1) item_.Fail(why);
    if (depth_ > itemDepth_) item_.pending = nullptr;
    ++depth_;
    return true;
  }

  bool Refuse() {
    notArray_ = true;
    return false;
  }

  // A whole value at item depth that is no object: one bad item.
  bool EndValue(std::string fault) {
    ItemFields bad;
    bad.fault = std::move(fault);
    return Hand(std::move(bad));
  }

  bool FinishItem() {
    if (!item_.bankCode) item_.Fail("field \"bank_code\" missing");
    if (!item_.account) item_.Fail("field \"account\" missing");
    ItemFields item = std::move(item_);
    item_ = ItemFields{};
    return Hand(std::move(item));
  }

  bool Hand(ItemFields item) {
    if (itemDepth_ == 0) {
      finished_ = std::move(item);
      return true;
    }
    if (++count_ > kMaxBatchItems) {
      tooMany_ = true;
      return false;
    }
    if (item.fault.empty()) {
      sink_.Item(*item.bankCode, *item.account);
    } else {
      sink_.BadItem(item.fault);
    }
    return true;
  }

  const int itemDepth_;
  ItemSink& sink_;
  int depth_ = 0;
  std::size_t count_ = 0;
  ItemFields item_;
  std::optional<ItemFields> finished_;
  std::string syntaxError_;
  bool tooMany_ = false;
  bool notArray_ = false;
};

BatchFault TooMany() {
  return {413, "too_many_items",
          "a batch holds at most " + std::to_string(kMaxBatchItems) + " items"};
}

}  // namespace

std::optional<BatchFault> ReadJsonItems(std::string_view body, ItemSink& sink) {
  ItemReader reader(1, sink);
  if (json::sax_parse(body, &reader)) return std::nullopt;
  if (reader.TooManyItems()) return TooMany();
  if (reader.TopLevelNotArray()) {
    return BatchFault{400, "malformed_body",
                      "the body is a JSON array of items; " + std::string(kNotAnItem)};
  }
  return BatchFault{400, "malformed_json", reader.SyntaxError()};
}

std::optional<BatchFault> ReadNdjsonItems(std::string_view body, ItemSink& sink) {
  if (body.ends_with('\n')) body.remove_suffix(1);
  std::size_t count = 0;
  for (std::size_t start = 0; start <= body.size();) {
    std::size_t end = body.find('\n', start);
    if (end == std::string_view::npos) end = body.size();
    std::string_view line = body.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (++count > kMaxBatchItems) return TooMany();
    if (line.empty() && body.empty()) return std::nullopt;
    ItemReader reader(0, sink);
    std::optional<ItemFields>& item = reader.Finished();
    if (!json::sax_parse(line, &reader)) {
      sink.BadItem(line.empty() ? "empty line" : "malformed JSON: " + reader.SyntaxError());
    } else if (!item || !item->fault.empty()) {
      sink.BadItem(item ? item->fault : std::string(kNotAnItem));
    } else {
      sink.Item(*item->bankCode, *item->account);
    }
  }
  return std::nullopt;
}

namespace {

// The bytes that a compact string may hold: what nlohmann reads as themselves.
constexpr auto kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x7f; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
  return plain;
}();

// Reads the compact item form at `at`, a cursor over [at, end).
class CompactScanner {
 public:
  CompactScanner(const char* at, const char* end) : at_(at), end_(end) {}

  bool AtEnd() const { return at_ == end_; }

  bool Take(char c) {
    if (at_ == end_ || *at_ != c) return false;
    ++at_;
    return true;
  }

  bool Take(std::string_view text) {
    if (static_cast<std::size_t>(end_ - at_) < text.size() ||
        std::memcmp(at_, text.data(), text.size()) != 0) {
      return false;
    }
    at_ += text.size();
    return true;
  }

  // The rest of a string whose opening quote was taken, and its closing quote.
  bool String(std::string_view& text) {
    const char* start = at_;
    while (at_ != end_ && kPlainBytes[static_cast<unsigned char>(*at_)]) ++at_;
    if (at_ == end_ || *at_ != '"') return false;
    text = {start, static_cast<std::size_t>(at_ - start)};
    ++at_;
    return true;
  }

  // {"bank_code":"...","account":"..."}, the keys in either order.
  bool Item(std::string_view& bankCode, std::string_view& account) {
    if (Take(R"({"bank_code":")")) {
      return String(bankCode) && Take(R"(,"account":")") && String(account) && Take('}');
    }
    return Take(R"({"account":")") && String(account) && Take(R"(,"bank_code":")") &&
           String(bankCode) && Take('}');
  }

 private:
  const char* at_;
  const char* end_;
};

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool ReadCompactArray(std::string_view body, ItemSink& sink) {
  while (!body.empty() && IsJsonBlank(body.back())) body.remove_suffix(1);
  CompactScanner scan(body.data(), body.data() + body.size());
  if (!scan.Take('[')) return false;
  std::string_view bankCode;
  std::string_view account;
  for (std::size_t count = 1;; ++count) {
    if (count > kMaxBatchItems || !scan.Item(bankCode, account)) return false;
    sink.Item(bankCode, account);
    if (scan.Take(']')) return scan.AtEnd();
    if (!scan.Take(',')) return false;
  }
}

bool ReadCompactLines(std::string_view body, ItemSink& sink) {
  CompactScanner scan(body.data(), body.data() + body.size());
  std::string_view bankCode;
  std::string_view account;
  for (std::size_t count = 1;; ++count) {
    if (count > kMaxBatchItems || !scan.Item(bankCode, account)) return false;
    sink.Item(bankCode, account);
    if (scan.AtEnd()) return true;
    scan.Take('\r');
    if (!scan.Take('\n')) return false;
    if (scan.AtEnd()) return true;
  }
}

}  // namespace

bool ReadCompactItems(std::string_view body, bool ndjson, ItemSink& sink) {
  return ndjson ? ReadCompactLines(body, sink) : ReadCompactArray(body, sink);
}

}  // namespace tavrel::http
