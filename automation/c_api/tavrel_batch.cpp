// The batch entries of the C library: one call checks many accounts, so that a
// language whose foreign calls are dear (Python with ctypes) pays for one call
// per column rather than one per row. The loop is the single check's, item by
// item; plain ASCII input, the usual case, is checked in place without a copy.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "library_support.h"
#include "tavrel.h"
#include "tavrel/digit_block.h"
#include "tavrel/encoding.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace {

namespace service = tavrel::service;

// The Windows-1252 form of a UTF-8 input: ASCII is the same bytes in both, so
// only other input is converted, into `storage`.
std::string_view AsCp1252(std::string_view utf8, std::string& storage) {
  if (tavrel::IsAsciiText(utf8)) return utf8;
  storage = tavrel::encoding::Utf8ToCp1252Lossy(utf8);
  return storage;
}

template <typename Source>
signed char CheckOne(std::string_view bankCode, std::string_view account, const Source& source) {
  try {
    std::string bankCodeStorage;
    std::string accountStorage;
    const service::AccountQuery query{AsCp1252(bankCode, bankCodeStorage),
                                      AsCp1252(account, accountStorage)};
    return static_cast<signed char>(tavrel::ValueOf(service::CheckAccount(query, source)));
  } catch (...) {
    return TAVREL_CHECK_NO_MEMORY;
  }
}

std::string_view ViewOf(const char* text) {
  return text == nullptr ? std::string_view() : std::string_view(text);
}

// One item of a batch. Plain ASCII, the usual input, is checked in place.
template <typename Source>
signed char CheckItem(const char* bankCode, const char* account, const Source& source) {
  if (bankCode != nullptr && account != nullptr) {
    const tavrel::CText bankText = tavrel::ReadCText(bankCode);
    const tavrel::CText accountText = tavrel::ReadCText(account);
    if (bankText.ascii && accountText.ascii) {
      return static_cast<signed char>(tavrel::ValueOf(service::CheckAccount(
          {{bankCode, bankText.length}, {account, accountText.length}}, source)));
    }
  }
  return CheckOne(ViewOf(bankCode), ViewOf(account), source);
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
