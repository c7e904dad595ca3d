// The method table: most keys are one recipe (a record builder with its
// positions, a weight list and a check rule); the rest add a procedure that tests
// or rewrites the account, or runs other keys, around their recipe.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "account_digits.h"
#include "recipe.h"
#include "sum_table.h"

namespace tavrel::engine {

// A row's recipe together with its position table, made when the row is.
struct CompiledRecipe {
  Recipe recipe;
  SumTable sums;

  constexpr CompiledRecipe() : CompiledRecipe(kNoRecipe) {}
  constexpr CompiledRecipe(const Recipe& source)  // NOLINT: rows are written as recipes
      : recipe(source), sums(CompileSumTable(source)) {}
  constexpr CompiledRecipe(Layout layout, Weights weights, Rule rule)
      : CompiledRecipe(Recipe{layout, weights, rule}) {}
};

class RuleSet;

// Whether some rule generation has a row with this key; defined in rule_rows.h,
// which a file must include before it writes a MethodKey.
consteval bool IsMethodKey(std::string_view key);

// Reached only by a MethodKey whose text no row has: the build fails there.
void MisspeltMethodKey();

// A key that a procedure runs, written as a string literal and checked when the
// program is compiled: a key that no rule generation has does not build. Empty
// when default-constructed.
class MethodKey {
 public:
  constexpr MethodKey() = default;
  template <std::size_t N>
  consteval MethodKey(const char (&key)[N]) : key_(key, N - 1) {  // NOLINT: written as literals
    if (!IsMethodKey(key_)) MisspeltMethodKey();
  }

  constexpr std::string_view view() const { return key_; }
  constexpr bool empty() const { return key_.empty(); }

 private:
  std::string_view key_;
};

class StepRecorder;

// What a procedure receives: the account (one to ten digits, valid for the call),
// the bank code (empty in sub-calls), the recipe of its row and the rule set the
// key was looked up in, which its sub-calls use too. Procedures that rewrite the
// account make an AccountText of their own. `trace` records an explanation; it
// is null on the check path, where procedures run exactly as they would without
// it.
struct Call {
  std::string_view account;
  std::string_view bankCode;
  const CompiledRecipe& recipe;
  const RuleSet& rules;
  StepRecorder* trace = nullptr;
};

// Where a procedure's keys run: its rule set, and the recorder of an explanation
// (null on the check path).
struct Caller {
  Caller(const RuleSet& ruleSet) : rules(ruleSet) {}                  // NOLINT: implicit by design
  Caller(const Call& call) : rules(call.rules), trace(call.trace) {}  // NOLINT: implicit by design

  const RuleSet& rules;
  StepRecorder* trace = nullptr;
};

using Procedure = int (*)(const Call& call);

struct MethodRow {
  std::string_view key;
  CompiledRecipe recipe = kNoRecipe;
  Procedure run = nullptr;  // null: the recipe alone is the method
  // The whole method as one position table, when it compiles to one: for rows
  // without a procedure the recipe's own table; a procedure may state its
  // compiled form here, which tests hold equal to the procedure.
  SumTable method = {};

  constexpr MethodRow() = default;
  // A row that is its recipe.
  constexpr MethodRow(std::string_view rowKey, const CompiledRecipe& rowRecipe)
      : key(rowKey), recipe(rowRecipe), method(Stored(rowRecipe.sums)) {}
  // A row with a procedure, and the procedure's compiled form if it has one.
  constexpr MethodRow(std::string_view rowKey, const CompiledRecipe& rowRecipe, Procedure procedure,
                      const SumTable& compiled = {})
      : key(rowKey), recipe(rowRecipe), run(procedure), method(Stored(compiled)) {}
};

// Builds the recipe's record from `account` and applies its check.
int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode = {});

// The same on the record path, reporting every step to `recorder`: how
// explanations run a recipe, never from its position table.
int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode,
              StepRecorder& recorder);

// A procedure's own recipe on `account`: from the position table when it has one,
// on the record path when the call records an explanation.
inline int RunRecipe(const Call& call, std::string_view account, std::string_view bankCode = {}) {
  if (call.trace != nullptr) return RunRecipe(call.recipe.recipe, account, bankCode, *call.trace);
  int result = 0;
  if (call.recipe.sums.usable && RunSumTable(call.recipe.sums, account, 0, result)) return result;
  return RunRecipe(call.recipe.recipe, account, bankCode);
}

// Runs the call's recipe on `text` followed by `zeros` zeros: the account moved left.
int RunRecipeMovedLeft(const Call& call, std::string_view text, std::size_t zeros);

// Runs the call's recipe on `text` moved `places` left; when that is not valid,
// the result of a second run moved `retryPlaces` left instead, unless that would
// be longer than ten characters, when the first result stands.
int RunRecipeWithRetry(const Call& call, std::string_view text, std::size_t places,
                       std::size_t retryPlaces);

// Runs `key` on `account` in the caller's rule set: how procedures run other
// methods and variants. The bank code is empty unless a converted-number key
// needs it.
int RunKey(Caller caller, std::string_view account, MethodKey key, std::string_view bankCode = {});

// Runs `key` on the record path, as one step of `recorder`'s explanation.
int RunRecorded(const RuleSet& rules, std::string_view account, std::string_view key,
                std::string_view bankCode, StepRecorder& recorder);

// Runs keys in order on the same account: the first 0 ends with 0, otherwise the
// last key's result is returned unchanged.
int RunSequence(Caller caller, std::string_view account, std::initializer_list<MethodKey> keys);

// Pads the account to ten digits and runs `whenOneOf` when the given position
// holds one of `digits`, otherwise `otherwise`; the chosen key gets the ten-digit
// text and its result is returned unchanged.
int RunByPosition(const Call& call, int position, std::string_view digits, MethodKey whenOneOf,
                  MethodKey otherwise);

// As RunByPosition, with a sequence of keys on either side. An explanation
// names what the digits mean, when `meaning` does ("a ledger account").
int RunSequenceByPosition(const Call& call, int position, std::string_view digits,
                          std::initializer_list<MethodKey> whenOneOf,
                          std::initializer_list<MethodKey> otherwise,
                          std::string_view meaning = {});

// As RunSequenceByPosition, choosing by positions 3 and 4 both 9.
int RunSequenceByPositions3And4(const Call& call, std::initializer_list<MethodKey> whenBothNine,
                                std::initializer_list<MethodKey> otherwise);

// Explanations only: the reason for the next key or computation the procedure
// runs, and a decision the procedure took itself. Both are texts that live as
// long as the program (string literals).
void RecordReason(StepRecorder& recorder, std::string_view reason);
void RecordDecision(StepRecorder& recorder, std::string_view decision);

bool IsDetailed(const StepRecorder& recorder);

// Whether the call records an explanation with its texts: reasons that have to be
// put together are built only then.
inline bool Explains(const Call& call) { return call.trace != nullptr && IsDetailed(*call.trace); }

inline void Because(const Call& call, std::string_view reason) {
  if (call.trace != nullptr) RecordReason(*call.trace, reason);
}

// Returns `result`, which `decision` gave.
inline int Decided(const Call& call, int result, std::string_view decision) {
  if (call.trace != nullptr) RecordDecision(*call.trace, decision);
  return result;
}

}  // namespace tavrel::engine
