// CheckAccount on arbitrary bytes: the input is split at its first NUL or line
// feed into account and bank code. Every input must give one of the result values
// the service documents, trimming must not depend on how much white space there
// is, the batch entry must answer as the single check, and the message table
// must leave the caller's string alone for values without a text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/service.h"

namespace {

using namespace tavrel;

bool IsServiceResult(int value) {
  return value == 1 || value == 0 || value == -2 || value == -3 || (value >= -9 && value <= -5);
}

bool HasMessage(int value) { return value == -2 || value == -3 || (value >= -9 && value <= -5); }

bool IsBankCodeResult(int value) { return value == -5 || value == -6 || value == -9; }

void CheckMessage(int value) {
  const std::string untouched = "\x01untouched";
  std::string message = untouched;
  const bool accountRow = service::ResultMessage(value, message);
  if (HasMessage(value)) {
    FUZZ_ASSERT(!message.empty() && message != untouched);
  } else {
    FUZZ_ASSERT(message == untouched);
  }
  FUZZ_ASSERT(accountRow == !IsBankCodeResult(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find_first_of(std::string_view("\0\n", 2));
  const std::string_view account = input.substr(0, split);
  const std::string_view bankCode =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const int result = service::CheckAccount(account, bankCode);
  FUZZ_ASSERT(IsServiceResult(result));
  CheckMessage(result);
  // The query entry of the 2009 rules is the same check; the current rules give
  // a result value too.
  FUZZ_ASSERT(ValueOf(service::CheckAccount({bankCode, account}, service::DefaultRules())) ==
              result);
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    const Outcome single = service::CheckAccount({bankCode, account}, *info.rules);
    FUZZ_ASSERT(IsServiceResult(ValueOf(single)));
    // The batch entry answers the query as the single check, also beside
    // another query in the same batch.
    const service::AccountQuery queries[] = {{bankCode, account}, {"12030000", account}};
    Outcome batch[2];
    service::CheckAccounts(queries, batch, *info.rules);
    FUZZ_ASSERT(batch[0] == single);
    FUZZ_ASSERT(batch[1] == service::CheckAccount(queries[1], *info.rules));
  }

  const std::string paddedAccount = " \t" + std::string(account) + "\r\n";
  const std::string paddedBankCode = "\v" + std::string(bankCode) + " \f";
  FUZZ_ASSERT(service::CheckAccount(paddedAccount, paddedBankCode) == result);

  // Any 32-bit value, read from the first bytes of the input.
  std::uint32_t raw = 0;
  for (std::size_t i = 0; i < size && i < sizeof raw; ++i) raw = raw << 8 | data[i];
  CheckMessage(static_cast<int>(raw));
  return 0;
}
