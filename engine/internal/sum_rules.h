// The sum-and-modulus family of check rules, described once: what each weighted
// digit adds to the sum, and which check digits a remainder accepts. The record
// primitives and the compiled position tables both read these descriptions, so
// the two ways of running a recipe cannot drift apart.
#pragma once

#include <cstdint>
#include <optional>

#include "recipe.h"

namespace tavrel::engine {

enum class Product : std::uint8_t {
  Whole,             // weight times digit
  DigitSum,          // the digit sum of that product
  UnitsDigit,        // its units digit
  IncrementedMod11,  // (digit + 1) times weight, modulo 11
  CharacterCode,     // weight times the digit's character code, 48 to 57
};

constexpr int DigitSum(int n) {
  if (n < 100) return n - 9 * (n / 10);  // every product of a weight and a digit
  int sum = 0;
  for (; n > 0; n /= 10) sum += n % 10;
  return sum;
}

// What weight w and digit d add to the sum.
constexpr int ProductValue(Product product, int w, int d) {
  const int p = w * d;
  switch (product) {
    case Product::DigitSum:
      return DigitSum(p);
    case Product::UnitsDigit:
      return p % 10;
    case Product::IncrementedMod11:
      return (d + 1) * w % 11;
    case Product::CharacterCode:
      return w * (d + '0');
    case Product::Whole:
      break;
  }
  return p;
}

// The product of weight w and digit d as the rule forms it, before any
// reduction: what an explanation shows beside what enters the sum.
constexpr int RawProduct(Product product, int w, int d) {
  switch (product) {
    case Product::IncrementedMod11:
      return (d + 1) * w;
    case Product::CharacterCode:
      return w * (d + '0');
    case Product::Whole:
    case Product::DigitSum:
    case Product::UnitsDigit:
      break;
  }
  return w * d;
}

struct SumRule {
  Product product = Product::Whole;
  int products = 9;  // entries 1 to `products` are weighted
  int modulus = 11;
};

// The sum rule of a check, or nothing for checks outside the family.
constexpr std::optional<SumRule> SumRuleOf(const Rule& rule) {
  switch (rule.check) {
    case Check::CrossSum:
      return SumRule{Product::DigitSum, rule.products, rule.modulus};
    case Check::WeightedSum:
      return SumRule{Product::Whole, 9, rule.modulus};
    case Check::UnitsSum:
      return SumRule{Product::UnitsDigit, 9, 10};
    case Check::Mod7:
      return SumRule{Product::Whole, 9, 7};
    case Check::IncrementedProductPlusFive:
      return SumRule{Product::IncrementedMod11, 7, 10};
    case Check::NoCheckDigit:
      return SumRule{Product::Whole, 0, 10};
    case Check::Mod11OfDigitSums:
      return SumRule{Product::DigitSum, 9, 11};
    case Check::CrossSumRemainder:
      return SumRule{Product::DigitSum, 9, 10};
    case Check::Mod11RemainderOfCharacterCodes:
      return SumRule{Product::CharacterCode, 9, 11};
    case Check::Mod11:
    case Check::Mod11RejectTen:
    case Check::Mod11NineForTen:
    case Check::Mod11OneForEleven:
    case Check::Mod11OneForTen:
    case Check::Mod11RejectLow:
    case Check::Mod11Remainder:
    case Check::Mod11RemainderPrefixRule:
    case Check::Mod11RemainderPlusFive:
    case Check::Mod11Divisible:
    case Check::Mod11RemainderTenIsZero:
      return SumRule{};
    default:
      return std::nullopt;
  }
}

constexpr std::uint16_t DigitBit(int digit) {
  return digit >= 0 && digit <= 9 ? static_cast<std::uint16_t>(1U << digit) : 0;
}

// The check digits that a remainder of the sum accepts, one bit per digit.
constexpr std::uint16_t AcceptedCheckDigits(Check check, int rest, int modulus) {
  const int complement = rest == 0 ? 0 : modulus - rest;
  const int elevenMinus = 11 - rest;
  switch (check) {
    case Check::NoCheckDigit:
      return 0x3FF;
    case Check::Mod11:
    case Check::Mod11OfDigitSums:
      return DigitBit(rest <= 1 ? 0 : elevenMinus);
    case Check::Mod11Divisible:
      return rest == 0 ? 0x3FF : 0;
    case Check::Mod11RemainderTenIsZero:
      return DigitBit(rest == 10 ? 0 : rest);
    case Check::Mod11RejectTen:
      return rest == 1 ? 0 : DigitBit(complement);
    case Check::Mod11NineForTen:
      return DigitBit(rest == 1 ? 9 : complement);
    case Check::Mod11OneForEleven:
      return DigitBit(rest == 0 ? 1 : rest == 1 ? 0 : elevenMinus);
    case Check::Mod11OneForTen:
      return DigitBit(rest <= 1 ? rest : elevenMinus);
    case Check::Mod11RejectLow:
      return rest <= 1 ? 0 : DigitBit(elevenMinus);
    // Remainder 10 leaves no digit that could match.
    case Check::Mod11Remainder:
    case Check::Mod11RemainderPrefixRule:
    case Check::Mod11RemainderOfCharacterCodes:
    case Check::CrossSumRemainder:
      return DigitBit(rest);
    case Check::Mod11RemainderPlusFive:
    case Check::IncrementedProductPlusFive:
      return DigitBit(rest) | DigitBit((rest + 5) % 10);
    default:
      return DigitBit(complement);
  }
}

}  // namespace tavrel::engine
