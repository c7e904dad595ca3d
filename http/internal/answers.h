// The JSON documents of the API, all written by nlohmann::json. A check's
// answer depends only on its outcome and its bank, so each distinct answer is
// serialized once and then copied: batches run at millions of items a second.
#pragma once

#include <atomic>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core_adapter.h"

namespace tavrel::http {

// Objects keep their keys in the order written.
using Json = nlohmann::ordered_json;

// Compact text; bytes that are not UTF-8 (echoed input) become U+FFFD, so
// serializing never throws.
std::string ToText(const Json& json);

Json BankJson(const Bank& bank);  // {"bank_code", "name"}
Json ErrorJson(std::string_view code, std::string_view message);

// {"result", "code", "message", "verdict", "field", "bank"} of one check: the
// verdict is "valid", "invalid", "input_fault" or "method_not_found", the field
// the input the outcome concerns (or null), and bank null for a bank code that
// is not in the directory.
Json CheckJson(const CheckResult& result);

// The serialized CheckJson of every (outcome, bank) pair met so far. Lock-free:
// two threads that meet a new pair at once both serialize it, and one text wins.
class AnswerCache {
 public:
  explicit AnswerCache(const Core& core);
  ~AnswerCache();
  AnswerCache(const AnswerCache&) = delete;
  AnswerCache& operator=(const AnswerCache&) = delete;

  // Appends the serialized CheckJson of `result` to `out`.
  void AppendAnswer(const CheckResult& result, std::string& out) const;

 private:
  const Core& core_;
  // One row per bank and a last row for "no bank"; one column per outcome.
  std::unique_ptr<std::atomic<const std::string*>[]> cells_;
  std::size_t cellCount_;
};

}  // namespace tavrel::http
