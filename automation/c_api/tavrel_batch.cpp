// The batch entries of the C library: one call checks many accounts, so that a
// language whose foreign calls are dear (Python with ctypes) pays for one call
// per column rather than one per row. Plain ASCII input, the usual case, is
// checked in place without a copy, many items at a time.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "library_support.h"
#include "tavrel.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace {

namespace service = tavrel::service;

template <typename Source>
signed char CheckItem(const char* bankCode, const char* account, const Source& source) {
  return static_cast<signed char>(tavrel::c_api::CheckCStrings(bankCode, account, source));
}

// Checks the items in blocks: those of plain ASCII, the usual input, go to the
// service's batch check as views of the caller's strings; any other (a NULL, a
// byte past ASCII) is checked alone, converted, as tavrel_check would.
template <typename Source>
void CheckColumns(std::size_t count, const char* const* bankCodes, const char* const* accounts,
                  signed char* results, const Source& source) {
  constexpr std::size_t kBlock = 64;
  std::array<service::AccountQuery, kBlock> queries;
  std::array<std::size_t, kBlock> items;
  std::array<tavrel::Outcome, kBlock> outcomes;
  for (std::size_t start = 0; start < count; start += kBlock) {
    const std::size_t size = std::min(kBlock, count - start);
    std::size_t batched = 0;
    for (std::size_t i = start; i < start + size; ++i) {
      const char* bankCode = bankCodes[i];
      const char* account = accounts[i];
      if (bankCode != nullptr && account != nullptr) {
        const tavrel::CText bankText = tavrel::ReadCText(bankCode);
        const tavrel::CText accountText = tavrel::ReadCText(account);
        if (bankText.ascii && accountText.ascii) {
          queries[batched] = {{bankCode, bankText.length}, {account, accountText.length}};
          items[batched++] = i;
          continue;
        }
      }
      results[i] = CheckItem(bankCode, account, source);
    }
    service::CheckAccounts({queries.data(), batched}, {outcomes.data(), batched}, source);
    for (std::size_t k = 0; k < batched; ++k) {
      results[items[k]] = static_cast<signed char>(tavrel::ValueOf(outcomes[k]));
    }
  }
}

}  // namespace

extern "C" {

int tavrel_check_many_rules(size_t count, const char* const* bank_codes,
                            const char* const* accounts, signed char* results, const char* rules) {
  if (count == 0) return 0;
  if (bank_codes == nullptr || accounts == nullptr || results == nullptr) return -1;
  const service::RuleSet* ruleSet =
      rules == nullptr ? &service::DefaultRules() : service::FindRules(rules);
  if (ruleSet == nullptr) {  // as tavrel_check_rules answers unknown rules
    std::memset(results, tavrel::ValueOf(tavrel::Outcome::kMethodNotFound), count);
    return 0;
  }
  CheckColumns(count, bank_codes, accounts, results, *ruleSet);
  return 0;
}

int tavrel_check_many_in(const tavrel_directory* directory, size_t count,
                         const char* const* bank_codes, const char* const* accounts,
                         signed char* results, const char* rules) {
  if (count == 0) return 0;
  if (directory == nullptr || bank_codes == nullptr || accounts == nullptr || results == nullptr)
    return -1;
  service::CheckSource source = directory->source;
  if (rules != nullptr) source.rules = service::FindRules(rules);
  if (source.rules == nullptr) {
    std::memset(results, tavrel::ValueOf(tavrel::Outcome::kMethodNotFound), count);
    return 0;
  }
  CheckColumns(count, bank_codes, accounts, results, source);
  return 0;
}

int tavrel_check_many(size_t count, const char* const* bank_codes, const char* const* accounts,
                      signed char* results) {
  return tavrel_check_many_rules(count, bank_codes, accounts, results, nullptr);
}

}  // extern "C"
