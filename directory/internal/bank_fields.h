// The form of a Directory's records, shared by the Bundesbank-file parser, the
// Directory's constructor and the compile-time checks of the compiled-in tables.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

#include "bank_records.h"
#include "tavrel/ascii.h"
#include "tavrel/directory.h"

namespace tavrel::directory {

inline constexpr std::size_t kShortBicLength = 8;
inline constexpr std::size_t kLongBicLength = 11;
inline constexpr std::size_t kIbanRuleLength = 6;

constexpr bool IsAsciiUpperOrDigit(char c) { return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z'); }

// A BIC: 8 or 11 capital letters and digits (bank, country, location, branch).
constexpr bool IsBic(std::string_view text) {
  return (text.size() == kShortBicLength || text.size() == kLongBicLength) &&
         std::all_of(text.begin(), text.end(), IsAsciiUpperOrDigit);
}

constexpr bool IsIbanRule(std::string_view text) {
  return text.size() == kIbanRuleLength && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// A short name as the directory keeps it: 1 to 27 characters, no blank at
// either end, no control character.
constexpr bool IsShortName(std::string_view name) {
  return !name.empty() && name.size() <= kLongestBankName && name.front() != ' ' &&
         name.back() != ' ' && std::none_of(name.begin(), name.end(), [](char c) {
           return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
         });
}

constexpr bool IsWellFormedBank(const Bank& bank) {
  return IsEightDigits(bank.bankCode) && IsMethodCode(bank.methodCode) &&
         IsShortName(bank.shortName) && (bank.bic.empty() || IsBic(bank.bic)) &&
         (bank.successor.empty() || IsEightDigits(bank.successor)) &&
         (bank.ibanRule.empty() || IsIbanRule(bank.ibanRule));
}

// Every bank well formed, bank codes strictly ascending.
constexpr bool IsWellFormedDirectory(std::span<const Bank> banks) {
  for (std::size_t i = 0; i < banks.size(); ++i) {
    if (!IsWellFormedBank(banks[i]) || (i > 0 && banks[i - 1].bankCode >= banks[i].bankCode)) {
      return false;
    }
  }
  return true;
}

}  // namespace tavrel::directory
