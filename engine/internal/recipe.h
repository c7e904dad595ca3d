// A recipe: a record builder with its positions, a weight list and a check
// rule. Most keys of the method table are one recipe.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace tavrel::engine {

// A recipe's weights, from entry 1 of its record on.
using Weights = std::array<std::int8_t, 15>;

enum class Builder : std::uint8_t { None, Standard, Forward, Range, Eser };

struct Layout {
  Builder builder = Builder::None;
  std::int8_t checkPosition = 10;
  std::int8_t firstPosition = 1;
  std::int8_t lastPosition = 9;
  bool leftToRight = false;
};

constexpr Layout NoRecord() { return {Builder::None}; }
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
// Positions first..last weighted left to right, the check digit among them: for
// rules that test the whole sum rather than compute a check digit.
constexpr Layout WeightedWithCheckDigit(int first, int last) {
  return RangeLeftToRight(0, first, last);
}

enum class Check : std::uint8_t {
  None,
  NoCheckDigit,  // every account is accepted without a check
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
  Mod11Divisible,                  // the sum, check digit included, is a multiple of 11
  Mod11OfDigitSums,                // digit sums of the products, then Mod11's check digit
  CrossSumRemainder,               // the check digit is the digit-sum total modulo 10
  Mod11RemainderOfCharacterCodes,  // each digit weighs as its character code, 48 to 57
  Mod11RemainderTenIsZero,         // the remainder is the check digit, 0 for remainder 10
};

struct Rule {
  Check check = Check::None;
  std::int8_t modulus = 0;          // CrossSum and WeightedSum: 10, 9 or 7
  std::int8_t products = 9;         // CrossSum: 9, or 15 with a constant
  std::uint16_t reducedPlaces = 0;  // Mod11SumMinusOne: bit k for place k
  // A constant whose digits, read from its right end, fill the entries from
  // `constantEntry` (1-based) on.
  std::string_view constant = {};
  std::int8_t constantEntry = 0;
  // Digits at position 1 of the ten-digit form that make the account invalid,
  // one bit per digit.
  std::uint16_t rejectedFirstDigits = 0;
};

// Mod11SumMinusOne with the places whose products enter by their digit sum.
constexpr Rule SumMinusOne(std::initializer_list<int> places) {
  Rule rule{Check::Mod11SumMinusOne};
  for (int place : places)
    rule.reducedPlaces = static_cast<std::uint16_t>(rule.reducedPlaces | (1U << place));
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

// The recipe, with accounts whose position 1 holds one of `digits` invalid.
constexpr Recipe RejectingFirstDigits(Recipe recipe, std::string_view digits) {
  for (char digit : digits)
    recipe.rule.rejectedFirstDigits =
        static_cast<std::uint16_t>(recipe.rule.rejectedFirstDigits | (1U << (digit - '0')));
  return recipe;
}

inline constexpr Recipe kNoRecipe{};

}  // namespace tavrel::engine
