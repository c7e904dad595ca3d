// Account check service: the one entry through which every face checks an account.
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>

#include "tavrel/outcome.h"

namespace tavrel::engine {
class RuleSet;
}

namespace tavrel::directory {
struct FuzzySearchResult;
}

namespace tavrel::service {

// Result values the service adds to the engine's 1, 0, -2 and -3, as numbers of
// the outcome table.
inline constexpr int kBankCodeNotEightChars = ValueOf(Outcome::kBankCodeLength);
inline constexpr int kBankCodeNotDigits = ValueOf(Outcome::kBankCodeNotDigits);
inline constexpr int kAccountLength = ValueOf(Outcome::kAccountLength);
inline constexpr int kAccountNotDigits = ValueOf(Outcome::kAccountNotDigits);
inline constexpr int kBankCodeUnknown = ValueOf(Outcome::kBankCodeUnknown);

// Trims both strings, validates them, looks up the bank's method code and runs it
// by the 2009 rules. Note the order: account number first. Strings are
// Windows-1252.
int CheckAccount(std::string_view account, std::string_view bankCode);

// What one check is asked: a bank code and an account, named so that no caller
// can swap them. Windows-1252.
struct AccountQuery {
  std::string_view bankCode;
  std::string_view account;
};

// CheckAccount for a query, as an outcome.
Outcome CheckAccount(const AccountQuery& query);

// The check-digit methods of one rule generation: the 2009 rules or the current
// ones. Faces hold them by pointer and look them up by name.
using RuleSet = engine::RuleSet;

// CheckAccount for a query, running the bank's method code by `rules`. The
// directory is the compiled-in one of 2009 either way.
Outcome CheckAccount(const AccountQuery& query, const RuleSet& rules);

// The rule generations, oldest first.
struct RulesInfo {
  const RuleSet* rules;
  std::string_view name;  // "2009", "current"
  std::chrono::year_month_day validFrom;
  std::span<const std::string_view> methodCodes;  // ascending
};
std::span<const RulesInfo> RuleGenerations();

// The rule set named `name`, or nullptr when no generation has that name.
const RuleSet* FindRules(std::string_view name);

// The rule set for checks as of `date`. Only two generations are kept: before
// 2010-06-07 the 2009 rules, from the current rules' valid-from date on the
// current ones, and in between the current ones with a note (English, ASCII)
// that the rules of that day may differ; the note is empty otherwise.
struct RulesInForce {
  const RuleSet* rules;
  std::string_view note;
};
RulesInForce RulesInForceOn(std::chrono::year_month_day date);

// The rules a check follows when the caller names none: the 2009 rules, those
// of the compiled-in directory.
const RuleSet& DefaultRules();

// Runs one method code or variant key of `rules` on the account as given (no
// trimming, no validation): the engine's result, 1, 0, -2 or -3.
int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode,
                  const RuleSet& rules);

// Sets `message` to the German (Windows-1252) text of `value` when it has one and
// leaves it untouched otherwise. Returns the row flag: false for the bank-code
// results -5, -6 and -9, true for every other value.
bool ResultMessage(int value, std::string& message);

// The input as CheckAccount sees it: blank, tab, line feed, vertical tab, form
// feed and carriage return removed from both ends. Faces use it to look up the
// name of the very bank code that was checked.
std::string_view TrimWhiteSpace(std::string_view text);

// The typo-tolerant bank search (directory::FuzzySearchBanks) over the
// compiled-in current directory. The hits' views stay valid for the life of the
// process. Windows-1252.
directory::FuzzySearchResult FuzzySearchBanks(std::string_view query);

}  // namespace tavrel::service
