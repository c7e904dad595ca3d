// The method table: most keys are one recipe (a record builder with its
// positions, a weight list and a check rule); the rest add a procedure that tests
// or rewrites the account, or runs other keys, around their recipe.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "engine/account_digits.h"
#include "engine/primitives.h"

namespace tavrel::engine {

enum class Builder : std::uint8_t { None, Standard, Forward, Range, Eser };

struct Layout {
  Builder builder = Builder::None;
  std::int8_t checkPosition = 10;
  std::int8_t firstPosition = 1;
  std::int8_t lastPosition = 9;
  bool leftToRight = false;
};

constexpr Layout Standard() { return {Builder::Standard}; }
constexpr Layout Forward() { return {Builder::Forward}; }
constexpr Layout EserLayout() { return {Builder::Eser}; }
// Check digit at position `check`, weighted positions first..last (the check
// position left out), entry 1 at `last`.
constexpr Layout Range(int check, int first, int last) {
  return {Builder::Range, static_cast<std::int8_t>(check), static_cast<std::int8_t>(first),
          static_cast<std::int8_t>(last), false};
}
// As Range, but entry 1 is `first` and entries run left to right.
constexpr Layout RangeLeftToRight(int check, int first, int last) {
  Layout layout = Range(check, first, last);
  layout.leftToRight = true;
  return layout;
}

enum class Check : std::uint8_t {
  None,
  CrossSum,
  WeightedSum,
  IteratedCrossSum,
  UnitsSum,
  Mod7,
  Mod11,
  Mod11RejectTen,
  Mod11NineForTen,
  Mod11EqualNeighbours,
  Mod11OneForEleven,
  Mod11OneForTen,
  Mod11RejectLow,
  Mod11WorkDigit,
  Mod11NinePrefix,
  Mod11Remainder,
  Mod11RemainderTenIsNeighbour,
  Mod11RemainderPrefixRule,
  Mod11RemainderPlusFive,
  Mod11SumMinusOne,
  CrossSumFrom60000,
  CrossSumHalfDecade,
  RangeExemptMod11,
  IncrementedProduct,
  IncrementedProductPlusFive,
  TransformTable,
  TransformTableLong,
  DatePattern,
  Eser,
  AlternatingTable,
  Mod11SeventhPosition,
};

struct Rule {
  Check check = Check::None;
  std::int8_t modulus = 0;         // CrossSum and WeightedSum: 10, 9 or 7
  std::int8_t products = 9;        // CrossSum: 9, or 15 with a constant
  std::uint16_t reducedPlaces = 0;  // Mod11SumMinusOne: bit k for place k
  // A constant whose digits, read from its right end, fill the entries from
  // `constantEntry` (1-based) on.
  std::string_view constant = {};
  std::int8_t constantEntry = 0;
};

// Mod11SumMinusOne with the places whose products enter by their digit sum.
constexpr Rule SumMinusOne(std::initializer_list<int> places) {
  Rule rule{Check::Mod11SumMinusOne};
  for (int place : places) rule.reducedPlaces = static_cast<std::uint16_t>(rule.reducedPlaces | (1U << place));
  return rule;
}

// CrossSum over fifteen products, entries from `entry` on holding `constant`.
constexpr Rule CrossSumWithConstant(std::string_view constant, int entry) {
  return {Check::CrossSum, 10, 15, 0, constant, static_cast<std::int8_t>(entry)};
}

struct Recipe {
  Layout layout;
  Weights weights{};
  Rule rule;
};

inline constexpr Recipe kNoRecipe{};

// What a procedure receives: the account (one to ten digits, valid for the call),
// the bank code (empty in sub-calls) and the recipe of its row. Procedures that
// rewrite the account make an AccountText of their own.
struct Call {
  std::string_view account;
  std::string_view bankCode;
  const Recipe& recipe;
};

using Procedure = int (*)(const Call& call);

struct MethodRow {
  std::string_view key;
  Recipe recipe;
  Procedure run = nullptr;  // null: the recipe alone is the method
};

// Builds the recipe's record from `account` and applies its check.
int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode = {});

// Runs the recipe on `text`; when that is not valid, the result of a second run
// on `retry` (the account moved left) instead, unless `retry` has grown beyond
// ten characters, when the first result stands.
int RunRecipeWithRetry(const Recipe& recipe, std::string_view text, std::string_view retry);

// Runs keys in order on the same account: the first 0 ends with 0, otherwise the
// last key's result is returned unchanged.
int RunSequence(std::string_view account, std::initializer_list<std::string_view> keys);

// Whether position `position` (1 to 10, counted in `text`) holds one of `digits`.
bool PositionIsOneOf(std::string_view text, int position, std::string_view digits);

// Pads the account to ten digits and runs `whenOneOf` when the given position
// holds one of `digits`, otherwise `otherwise`; the chosen key gets the ten-digit
// text and its result is returned unchanged.
int RunByPosition(std::string_view account, int position, std::string_view digits,
                  std::string_view whenOneOf, std::string_view otherwise);

}  // namespace tavrel::engine
