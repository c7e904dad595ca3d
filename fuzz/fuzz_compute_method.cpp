// ComputeMethod with an arbitrary key, account and bank code, in both rule
// generations and by a generation named by arbitrary bytes, then every key of
// each generation with the same account. Only the engine's four result values
// may come back; a key a generation lacks is "method not found" whatever the
// account, and a known key rejects an account that is not one to ten digits.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/engine.h"

namespace {

using namespace tavrel;

bool IsEngineResult(int value) {
  return value == engine::kValidWithoutCheck || value == engine::kValid ||
         value == engine::kMethodNotFound || value == engine::kInvalid;
}

bool IsAccountText(std::string_view account) {
  return !account.empty() && account.size() <= 10 &&
         std::all_of(account.begin(), account.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsKnownKey(std::string_view key, const engine::RuleSet& rules) {
  const auto keys = engine::Keys(rules);
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

void CheckGeneration(const engine::RuleSet& rules, std::string_view key, std::string_view account,
                     std::string_view bankCode) {
  const int result = engine::ComputeMethod(account, key, bankCode, rules);
  FUZZ_ASSERT(IsEngineResult(result));
  if (!IsKnownKey(key, rules)) FUZZ_ASSERT(result == engine::kMethodNotFound);

  const bool wellFormed = IsAccountText(account);
  for (std::string_view known : engine::Keys(rules)) {
    const int value = engine::ComputeMethod(account, known, bankCode, rules);
    FUZZ_ASSERT(IsEngineResult(value));
    if (!wellFormed) FUZZ_ASSERT(value == engine::kInvalid);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string rulesName = input.ConsumeRandomLengthString(10);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string bankCode = input.ConsumeRandomLengthString(12);
  const std::string account = input.ConsumeRemainingBytesAsString();

  // The specified entry runs the 2009 rules.
  FUZZ_ASSERT(
      engine::ComputeMethod(account, key, bankCode) ==
      engine::ComputeMethod(account, key, bankCode, engine::Rules(engine::Generation::k2009)));
  for (engine::Generation generation : engine::kGenerations) {
    CheckGeneration(engine::Rules(generation), key, account, bankCode);
  }
  const engine::RuleSet* named = engine::FindRules(rulesName);
  FUZZ_ASSERT(named == nullptr || engine::NameOf(*named) == rulesName);
  return 0;
}
