// The batch entries of the C library: one call checks many accounts, so that a
// language whose foreign calls are dear (Python with ctypes) pays for one call
// per column rather than one per row. The loop is the single check's, item by
// item; plain ASCII input, the usual case, is checked in place without a copy.
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
  for (std::size_t i = 0; i < count; ++i) {
    results[i] = CheckItem(bank_codes[i], accounts[i], *ruleSet);
  }
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
  for (std::size_t i = 0; i < count; ++i) {
    results[i] = CheckItem(bank_codes[i], accounts[i], source);
  }
  return 0;
}

int tavrel_check_many(size_t count, const char* const* bank_codes, const char* const* accounts,
                      signed char* results) {
  return tavrel_check_many_rules(count, bank_codes, accounts, results, nullptr);
}

}  // extern "C"
