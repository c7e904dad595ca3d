// ComputeMethod with an arbitrary key, account and bank code, then every key of
// the dispatcher with the same account. Only the engine's four result values may
// come back; an unknown key is "method not found" whatever the account, and a
// known key rejects an account that is not one to ten digits.
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

bool IsKnownKey(std::string_view key) {
  const auto keys = engine::Keys();
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string bankCode = input.ConsumeRandomLengthString(12);
  const std::string account = input.ConsumeRemainingBytesAsString();

  const int result = engine::ComputeMethod(account, key, bankCode);
  FUZZ_ASSERT(IsEngineResult(result));
  if (!IsKnownKey(key)) FUZZ_ASSERT(result == engine::kMethodNotFound);

  const bool wellFormed = IsAccountText(account);
  for (std::string_view known : engine::Keys()) {
    const int value = engine::ComputeMethod(account, known, bankCode);
    FUZZ_ASSERT(IsEngineResult(value));
    if (!wellFormed) FUZZ_ASSERT(value == engine::kInvalid);
  }
  return 0;
}
