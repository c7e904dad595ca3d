// Account check service: the one entry through which every face checks an account.
#pragma once

#include <string>
#include <string_view>

#include "tavrel/outcome.h"

namespace tavrel::service {

// Result values the service adds to the engine's 1, 0, -2 and -3, as numbers of
// the outcome table.
inline constexpr int kBankCodeNotEightChars = ValueOf(Outcome::kBankCodeLength);
inline constexpr int kBankCodeNotDigits = ValueOf(Outcome::kBankCodeNotDigits);
inline constexpr int kAccountLength = ValueOf(Outcome::kAccountLength);
inline constexpr int kAccountNotDigits = ValueOf(Outcome::kAccountNotDigits);
inline constexpr int kBankCodeUnknown = ValueOf(Outcome::kBankCodeUnknown);

// Trims both strings, validates them, looks up the bank's method code and runs it.
// Note the order: account number first. Strings are Windows-1252.
int CheckAccount(std::string_view account, std::string_view bankCode);

// What one check is asked: a bank code and an account, named so that no caller
// can swap them. Windows-1252.
struct AccountQuery {
  std::string_view bankCode;
  std::string_view account;
};

// CheckAccount for a query, as an outcome.
Outcome CheckAccount(const AccountQuery& query);

// Sets `message` to the German (Windows-1252) text of `value` when it has one and
// leaves it untouched otherwise. Returns the row flag: false for the bank-code
// results -5, -6 and -9, true for every other value.
bool ResultMessage(int value, std::string& message);

// The input as CheckAccount sees it: blank, tab, line feed, vertical tab, form
// feed and carriage return removed from both ends. Faces use it to look up the
// name of the very bank code that was checked.
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace tavrel::service
