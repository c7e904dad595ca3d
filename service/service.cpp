// CheckAccount runs on the hot path of batch checks (tens of millions per second),
// so it works on views of the caller's strings and never allocates: trimming moves
// the view's ends, and the directory hands out views into its compiled-in data.
#include "service/service.h"

#include "directory/directory.h"
#include "engine/engine.h"

namespace tavrel::service {
namespace {

constexpr std::size_t kBankCodeLength = 8;
constexpr std::size_t kMaxAccountLength = 10;
constexpr int kNoFault = 0;

constexpr bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Form faults of the bank code, tested before anything about the account.
int BankCodeFormFault(std::string_view bankCode) {
  if (bankCode.size() != kBankCodeLength) return kBankCodeNotEightChars;
  for (char c : bankCode) {
    if (!IsDigit(c)) return kBankCodeNotDigits;
  }
  return kNoFault;
}

// Form faults of the account; an account of zeros only has no check digit to
// test and counts as invalid.
int AccountFormFault(std::string_view account) {
  if (account.empty() || account.size() > kMaxAccountLength) return kAccountLength;
  bool allZeros = true;
  for (char c : account) {
    if (!IsDigit(c)) return kAccountNotDigits;
    allZeros = allZeros && c == '0';
  }
  return allZeros ? engine::kInvalid : kNoFault;
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

int CheckAccount(std::string_view account, std::string_view bankCode) {
  account = TrimWhiteSpace(account);
  bankCode = TrimWhiteSpace(bankCode);
  if (int fault = BankCodeFormFault(bankCode); fault != kNoFault) return fault;
  if (int fault = AccountFormFault(account); fault != kNoFault) return fault;
  std::string_view methodCode;
  if (!directory::FindMethodCode(bankCode, methodCode)) return kBankCodeUnknown;
  return engine::ComputeMethod(account, methodCode, bankCode);
}

}  // namespace tavrel::service
