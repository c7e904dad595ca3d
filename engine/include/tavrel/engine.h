// Check-digit engine: runs one of the Bundesbank's check-digit methods by its key.
//
// A key is a two-character method code ("00" to "99", "A0" to "E9") or a variant
// key ("51MethodeA", "Eser", ...). The engine knows nothing of banks: the caller
// finds the method code for a bank code and hands it in.
//
// The methods come in rule generations: the 2009 rules, as the Bundesbank defined
// them in September 2009, and the current rules, which change 15 of them and add
// those that came or came back since. A key runs in one generation, and the keys
// its method runs in turn run in the same one.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "tavrel/explanation.h"
#include "tavrel/outcome.h"

namespace tavrel {
struct DigitBlock;
}

namespace tavrel::engine {

// Result values of the engine, as numbers of the outcome table.
inline constexpr int kValid = ValueOf(Outcome::kValid);
inline constexpr int kValidWithoutCheck = ValueOf(Outcome::kValidWithoutCheck);
inline constexpr int kMethodNotFound = ValueOf(Outcome::kMethodNotFound);
inline constexpr int kInvalid = ValueOf(Outcome::kInvalidCheckDigit);

// Runs the block selected by `key` (exact, case-sensitive) on `account`, by the
// 2009 rules. `bankCode` is the eight-digit bank code; only the "Eser" rule reads
// it. Safe for any bytes: unknown keys give kMethodNotFound, and an account that
// is empty, longer than ten characters or not all digits never reaches a block
// and gives kInvalid. Allocation-free and re-entrant.
int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode);

// ComputeMethod with an empty bank code.
int ComputeSubMethod(std::string_view account, std::string_view key);

// All 188 keys of the 2009 rules in selection order (09 first, then method codes
// ascending, each followed by its variant keys).
std::span<const std::string_view> Keys();

enum class Generation : std::uint8_t { k2009, kCurrent };
inline constexpr std::array<Generation, 2> kGenerations = {Generation::k2009, Generation::kCurrent};

// The methods of one generation; only the engine sees inside.
class RuleSet;

const RuleSet& Rules(Generation generation);
// The rule set named `name` ("2009", "current"), nullptr for any other text.
const RuleSet* FindRules(std::string_view name);

Generation GenerationOf(const RuleSet& rules);
std::string_view NameOf(const RuleSet& rules);
// The first day on which every rule of the set was in force.
std::chrono::year_month_day ValidFrom(const RuleSet& rules);
// The method codes with a method, ascending ("00" ... "E4").
std::span<const std::string_view> MethodCodes(const RuleSet& rules);
// Every key, method codes and variant keys, in selection order.
std::span<const std::string_view> Keys(const RuleSet& rules);

// ComputeMethod by the rules of `rules`.
int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode,
                  const RuleSet& rules);

// ComputeMethod for an account that the caller has found to be one to ten
// digits, reading it into `digits` (tavrel/digit_block.h) as the check path
// does: the account is not read again. Anything else is the caller's fault.
int ComputeMethodOnDigits(const DigitBlock& digits, std::string_view account, std::string_view key,
                          std::string_view bankCode, const RuleSet& rules);

// One account of a batch, as ComputeMethodOnDigits takes it.
struct MethodCall {
  const DigitBlock* digits;
  std::string_view account;
  std::string_view key;
  std::string_view bankCode;
};

// ComputeMethodOnDigits for every call, the result of calls[i] in results[i]
// (`results` holds at least as many). The calls are grouped by the kind of work
// their methods do before any runs, so that in a batch of mixed methods no branch
// has to guess the kind of each.
void ComputeMethodsOnDigits(std::span<const MethodCall> calls, std::span<int> results,
                            const RuleSet& rules);

// Runs `key` of `rules` on `account` as ComputeMethod does, and records why:
// every key that ran or was skipped, and the digits, weights and sums of each
// computation. It always computes digit by digit, never from the compiled
// tables, and its verdict is ComputeMethod's. It allocates; the check does not.
//
// With kSteps it records only the steps (keys, depths, results) and each
// computation's form and check digit place: enough to know which key decided
// and where the check digit stands, at a fraction of the cost.
enum class Detail : std::uint8_t { kFull, kSteps };
Explanation Explain(std::string_view key, std::string_view account, std::string_view bankCode,
                    const RuleSet& rules, Detail detail = Detail::kFull);

// The Bundesbank's published test numbers that the self-test and the tests hold
// the methods to: accounts valid or invalid under a key (a variant key, a method
// the rule names, or the method itself) by the rules of one generation. A number
// valid under its key is valid (0 or 1) for the method too; an invalid one gives
// -3 under its key.
struct PublishedNumbers {
  Generation generation;
  std::string_view method;
  std::string_view key;
  std::string_view valid;  // accounts, separated by blanks
  std::string_view invalid;
  std::string_view bankCode = {};
};
std::span<const PublishedNumbers> PublishedTestNumbers();

// The accounts of a blank-separated list.
std::vector<std::string_view> SplitAccounts(std::string_view list);

// Whether `key` is one recipe that both generations share, so that numbers
// published for it with the current rules hold for the 2009 rules too.
bool IsSharedRecipe(std::string_view key);

// The rule set for checks as of `date`, and why it may not be exactly the rules
// of that day. Only two generations are kept: dates before the first change of
// 2010-06-07 get the 2009 rules, dates from the current rules' valid-from date on
// get the current rules, and dates in between get the current rules with a note
// (some methods they changed may not have been changed yet on that day). The note
// is empty when the rules are those of the day. English, ASCII.
struct RulesInForce {
  const RuleSet& rules;
  std::string_view note;
};
RulesInForce RulesInForceOn(std::chrono::year_month_day date);

}  // namespace tavrel::engine
