// CheckAccount runs on the hot path of batch checks (tens of millions per second),
// so it works on views of the caller's strings and never allocates: trimming moves
// the view's ends, and the directory hands out views into its compiled-in data.
#include "tavrel/service.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "tavrel/ascii.h"
#include "tavrel/digit_block.h"
#include "tavrel/directory.h"
#include "tavrel/engine.h"

namespace tavrel::service {
namespace {

constexpr std::size_t kMaxAccountLength = 10;
constexpr int kNoFault = 0;

// Blank, tab, line feed, vertical tab, form feed, carriage return.
constexpr bool IsWhiteSpace(char c) {
  constexpr std::uint64_t kWhiteSpace = (1ULL << ' ') | (1ULL << '\t') | (1ULL << '\n') |
                                        (1ULL << '\v') | (1ULL << '\f') | (1ULL << '\r');
  const auto code = static_cast<unsigned char>(c);
  return code <= ' ' && ((kWhiteSpace >> code) & 1U) != 0;
}

// Form faults of the bank code, tested before anything about the account.
int BankCodeFormFault(std::string_view bankCode) {
  if (bankCode.size() != kBankCodeLength) return kBankCodeNotEightChars;
  return IsEightDigits(bankCode) ? kNoFault : kBankCodeNotDigits;
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// TrimWhiteSpace with a quick exit for the usual input, which has nothing to trim.
[[gnu::always_inline]] inline std::string_view Trimmed(std::string_view text) {
  if (!text.empty() && !IsWhiteSpace(text.front()) && !IsWhiteSpace(text.back())) return text;
  return TrimWhiteSpace(text);
}

constexpr int kRunsMethod = 1000;  // no outcome has this value

// The tests of an account in form before its method: an account of zeros only
// has no check digit to test, an unknown bank (`find` gives an empty view) no
// method. Gives the outcome that ends the check there, or kRunsMethod with the
// bank's method code in `methodCode`.
template <typename FindMethodCode>
[[gnu::always_inline]] inline int FindMethod(const DigitBlock& digits, std::string_view bankCode,
                                             std::string_view& methodCode, FindMethodCode find) {
  if (!digits.nonZero) return engine::kInvalid;
  methodCode = find(bankCode);
  return methodCode.empty() ? kBankCodeUnknown : kRunsMethod;
}

// Checks an account in form by `rules`. The account is read once, into the
// digit block that the zero test and the method share.
template <typename FindMethodCode>
[[gnu::always_inline]] inline int CheckFormed(std::string_view account, std::string_view bankCode,
                                              const DigitBlock& digits, FindMethodCode find,
                                              const RuleSet& rules) {
  std::string_view methodCode;
  const int outcome = FindMethod(digits, bankCode, methodCode, find);
  if (outcome != kRunsMethod) return outcome;
  return engine::ComputeMethodOnDigits(digits, account, methodCode, bankCode, rules);
}

// Every test before the method, in their order: trims and validates both
// strings, reads the account into `digits`, then FindMethod.
template <typename FindMethodCode>
[[gnu::always_inline]] inline int Prepare(std::string_view& account, std::string_view& bankCode,
                                          DigitBlock& digits, std::string_view& methodCode,
                                          FindMethodCode find) {
  account = Trimmed(account);
  bankCode = Trimmed(bankCode);
  if (int fault = BankCodeFormFault(bankCode); fault != kNoFault) return fault;
  if (account.empty() || account.size() > kMaxAccountLength) return kAccountLength;
  digits = ReadDigitBlock(account);
  if (!digits.digits) return kAccountNotDigits;
  return FindMethod(digits, bankCode, methodCode, find);
}

// Trims and validates both strings, then checks them.
template <typename FindMethodCode>
int Check(std::string_view account, std::string_view bankCode, FindMethodCode find,
          const RuleSet& rules) {
  DigitBlock digits;
  std::string_view methodCode;
  const int outcome = Prepare(account, bankCode, digits, methodCode, find);
  if (outcome != kRunsMethod) return outcome;
  return engine::ComputeMethodOnDigits(digits, account, methodCode, bankCode, rules);
}

// Check for many queries: first the tests before the method, query by query,
// then the methods of those that reach one, in one batch of the engine's.
template <typename FindMethodCode>
void CheckMany(std::span<const AccountQuery> queries, std::span<Outcome> outcomes,
               FindMethodCode find, const RuleSet& rules) {
  constexpr std::size_t kBlock = 64;
  std::array<DigitBlock, kBlock> digits;
  std::array<engine::MethodCall, kBlock> calls;
  std::array<std::size_t, kBlock> callers;  // the query of each call
  std::array<int, kBlock> results;
  for (std::size_t start = 0; start < queries.size(); start += kBlock) {
    const std::size_t size = std::min(kBlock, queries.size() - start);
    std::size_t count = 0;
    for (std::size_t i = 0; i < size; ++i) {
      std::string_view account = queries[start + i].account;
      std::string_view bankCode = queries[start + i].bankCode;
      std::string_view methodCode;
      const int outcome = Prepare(account, bankCode, digits[i], methodCode, find);
      if (outcome == kRunsMethod) {
        calls[count] = {&digits[i], account, methodCode, bankCode};
        callers[count++] = start + i;
      } else {
        outcomes[start + i] = static_cast<Outcome>(outcome);
      }
    }
    engine::ComputeMethodsOnDigits({calls.data(), count}, {results.data(), count}, rules);
    for (std::size_t k = 0; k < count; ++k) outcomes[callers[k]] = static_cast<Outcome>(results[k]);
  }
}

// The 2009 directory of the specified entry, filled on first use.
std::string_view FindInCompiledTable(std::string_view bankCode) {
  std::string_view methodCode;
  directory::FindMethodCode(bankCode, methodCode);
  return methodCode;
}

}  // namespace

int CheckAccount(std::string_view account, std::string_view bankCode) {
  return Check(account, bankCode, FindInCompiledTable, engine::Rules(engine::Generation::k2009));
}

Outcome CheckAccount(const AccountQuery& query) {
  return static_cast<Outcome>(CheckAccount(query.account, query.bankCode));
}

Outcome CheckAccount(const AccountQuery& query, const RuleSet& rules) {
  return static_cast<Outcome>(Check(query.account, query.bankCode, FindInCompiledTable, rules));
}

Outcome CheckAccount(const AccountQuery& query, const CheckSource& source) {
  const Directory& directory = *source.directory;
  return static_cast<Outcome>(Check(
      query.account, query.bankCode,
      [&directory](std::string_view bankCode) { return directory.FindMethodCode(bankCode); },
      *source.rules));
}

void CheckAccounts(std::span<const AccountQuery> queries, std::span<Outcome> outcomes,
                   const RuleSet& rules) {
  CheckMany(queries, outcomes, FindInCompiledTable, rules);
}

void CheckAccounts(std::span<const AccountQuery> queries, std::span<Outcome> outcomes,
                   const CheckSource& source) {
  const Directory& directory = *source.directory;
  CheckMany(
      queries, outcomes,
      [&directory](std::string_view bankCode) { return directory.FindMethodCode(bankCode); },
      *source.rules);
}

CheckedBank CheckAccountWithBank(const AccountQuery& query, const CheckSource& source) {
  const Directory& directory = *source.directory;
  bool lookedUp = false;
  std::optional<std::size_t> index;
  const auto find = [&](std::string_view bankCode) {
    lookedUp = true;
    const std::optional<Directory::MethodCodeHit> hit = directory.FindMethodCodeAndIndex(bankCode);
    if (!hit) return std::string_view{};
    index = hit->index;
    return hit->methodCode;
  };
  const int outcome = Check(query.account, query.bankCode, find, *source.rules);
  // A fault of the account (or an account of zeros) ends the check before the lookup.
  if (!lookedUp) index = directory.IndexOf(TrimWhiteSpace(query.bankCode));
  return {static_cast<Outcome>(outcome), index};
}

Outcome CheckFormedAccount(const AccountQuery& query) {
  return static_cast<Outcome>(CheckFormed(query.account, query.bankCode,
                                          ReadDigitBlock(query.account), FindInCompiledTable,
                                          engine::Rules(engine::Generation::k2009)));
}

Outcome CheckFormedAccount(const AccountQuery& query, const CheckSource& source) {
  const Directory& directory = *source.directory;
  return static_cast<Outcome>(CheckFormed(
      query.account, query.bankCode, ReadDigitBlock(query.account),
      [&directory](std::string_view bankCode) { return directory.FindMethodCode(bankCode); },
      *source.rules));
}

std::span<const RulesInfo> RuleGenerations() {
  static const auto kInfos = [] {
    std::array<RulesInfo, engine::kGenerations.size()> infos{};
    for (std::size_t i = 0; i < infos.size(); ++i) {
      const RuleSet& rules = engine::Rules(engine::kGenerations[i]);
      infos[i] = {&rules, engine::NameOf(rules), engine::ValidFrom(rules),
                  engine::MethodCodes(rules)};
    }
    return infos;
  }();
  return kInfos;
}

const RuleSet* FindRules(std::string_view name) { return engine::FindRules(name); }

RulesInForce RulesInForceOn(std::chrono::year_month_day date) {
  const engine::RulesInForce inForce = engine::RulesInForceOn(date);
  return {&inForce.rules, inForce.note};
}

const RuleSet& DefaultRules() { return engine::Rules(engine::Generation::k2009); }

int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode,
                  const RuleSet& rules) {
  return engine::ComputeMethod(account, key, bankCode, rules);
}

}  // namespace tavrel::service
