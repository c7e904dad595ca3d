// CheckAccount runs on the hot path of batch checks (tens of millions per second),
// so it works on views of the caller's strings and never allocates: trimming moves
// the view's ends, and the directory hands out views into its compiled-in data.
#include "tavrel/service.h"

#include <array>
#include <cstdint>

#include "tavrel/ascii.h"
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

// Form faults of the account; an account of zeros only has no check digit to
// test and counts as invalid.
int AccountFormFault(std::string_view account) {
  if (account.empty() || account.size() > kMaxAccountLength) return kAccountLength;
  // Ten steps whatever the length, so mixed lengths do not mispredict the end.
  const std::size_t n = account.size();
  bool digits = true;
  bool allZeros = true;
#pragma GCC unroll 10
  for (std::size_t i = 0; i < kMaxAccountLength; ++i) {
    // Past the end the first character is read again, which changes nothing.
    // The index is masked rather than chosen: the compiler turns a choice into a
    // branch on the length.
    const char c = account[i & (std::size_t{0} - static_cast<std::size_t>(i < n))];
    digits &= IsAsciiDigit(c);
    allZeros &= c == '0';
  }
  if (!digits) return kAccountNotDigits;
  return allZeros ? engine::kInvalid : kNoFault;
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// TrimWhiteSpace with a quick exit for the usual input, which has nothing to trim.
std::string_view Trimmed(std::string_view text) {
  if (!text.empty() && !IsWhiteSpace(text.front()) && !IsWhiteSpace(text.back())) return text;
  return TrimWhiteSpace(text);
}

// Trims and validates both strings, finds the bank's method code (`find` gives
// an empty view for an unknown bank) and hands it to `run` (the engine's
// ComputeMethod of one generation).
template <typename FindMethodCode, typename RunMethod>
int Check(std::string_view account, std::string_view bankCode, FindMethodCode find, RunMethod run) {
  account = Trimmed(account);
  bankCode = Trimmed(bankCode);
  if (int fault = BankCodeFormFault(bankCode); fault != kNoFault) return fault;
  if (int fault = AccountFormFault(account); fault != kNoFault) return fault;
  const std::string_view methodCode = find(bankCode);
  if (methodCode.empty()) return kBankCodeUnknown;
  return run(account, methodCode, bankCode);
}

// The 2009 directory of the specified entry, filled on first use.
std::string_view FindInCompiledTable(std::string_view bankCode) {
  std::string_view methodCode;
  directory::FindMethodCode(bankCode, methodCode);
  return methodCode;
}

}  // namespace

int CheckAccount(std::string_view account, std::string_view bankCode) {
  return Check(account, bankCode, FindInCompiledTable,
               [](std::string_view checked, std::string_view methodCode, std::string_view bank) {
                 return engine::ComputeMethod(checked, methodCode, bank);
               });
}

Outcome CheckAccount(const AccountQuery& query) {
  return static_cast<Outcome>(CheckAccount(query.account, query.bankCode));
}

Outcome CheckAccount(const AccountQuery& query, const RuleSet& rules) {
  return static_cast<Outcome>(
      Check(query.account, query.bankCode, FindInCompiledTable,
            [&rules](std::string_view checked, std::string_view methodCode, std::string_view bank) {
              return engine::ComputeMethod(checked, methodCode, bank, rules);
            }));
}

Outcome CheckAccount(const AccountQuery& query, const CheckSource& source) {
  const Directory& directory = *source.directory;
  const RuleSet& rules = *source.rules;
  return static_cast<Outcome>(Check(
      query.account, query.bankCode,
      [&directory](std::string_view bankCode) { return directory.FindMethodCode(bankCode); },
      [&rules](std::string_view checked, std::string_view methodCode, std::string_view bank) {
        return engine::ComputeMethod(checked, methodCode, bank, rules);
      }));
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
