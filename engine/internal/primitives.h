// Check primitives: each computes the expected check digit of a record under one
// rule and compares it with the record's check digit. 0 means valid, -3 invalid
// (RangeExemptMod11Check may also give 1, valid without check).
//
// Weights are listed from entry 1 on: in the standard record entry 1 is position 9,
// so weights run right to left starting next to the check digit.
//
// Every primitive reports its arithmetic to a trace (trace.h): the check path's
// NoTrace compiles the reports away, an explanation records them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "account_digits.h"
#include "recipe.h"
#include "sum_rules.h"
#include "trace.h"

namespace tavrel::engine {

namespace primitive_detail {

inline constexpr int kValid = 0;
inline constexpr int kInvalid = -3;
inline constexpr int kValidWithoutCheck = 1;

template <typename Trace>
int Compare(const AccountDigits& r, int expected, Trace trace) {
  trace.Accepts(DigitBit(expected));
  return expected == r.checkDigit ? kValid : kInvalid;
}

template <typename Trace>
int CompareWithAccepted(const AccountDigits& r, std::uint16_t accepted, Trace trace) {
  trace.Accepts(accepted);
  return (accepted & DigitBit(r.checkDigit)) != 0 ? kValid : kInvalid;
}

template <typename Trace>
int WeightedSum(const Weights& w, const AccountDigits& r, Product product, int products,
                Trace trace) {
  int sum = 0;
  for (std::size_t k = 0; k < static_cast<std::size_t>(products); ++k) {
    const int added = ProductValue(product, w[k], r.digits[k]);
    trace.Term(k, r.digits[k], w[k], RawProduct(product, w[k], r.digits[k]), added);
    sum += added;
  }
  return sum;
}

template <typename Trace>
int Mod11Remainder(const Weights& w, const AccountDigits& r, Trace trace) {
  const int sum = WeightedSum(w, r, Product::Whole, 9, trace);
  trace.Sum(sum, 11, sum % 11);
  return sum % 11;
}

constexpr int Complement(int sum, int modulus) {
  const int rest = sum % modulus;
  return rest == 0 ? 0 : modulus - rest;
}

inline constexpr std::array<std::array<int, 10>, 4> kTransformRows = {{
    {0, 1, 5, 9, 3, 7, 4, 8, 2, 6},
    {0, 1, 7, 6, 9, 8, 3, 2, 5, 4},
    {0, 1, 8, 4, 6, 2, 9, 5, 7, 3},
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
}};
inline constexpr std::array<int, 5> kFirstResultTable = {0, 4, 3, 2, 6};
inline constexpr std::array<int, 5> kSecondResultTable = {7, 1, 5, 9, 8};

// Method 95's ranges of accounts without check.
struct ExemptRange {
  std::string_view lower;
  std::string_view upper;
};
inline constexpr std::array<ExemptRange, 4> kExemptRanges = {{
    {"1", "1999999"},
    {"9000000", "25999999"},
    {"396000000", "499999999"},
    {"700000000", "799999999"},
}};

}  // namespace primitive_detail

// Any check of the sum-and-modulus family, by its rule's description in
// sum_rules.h: the sum of the rule's products, judged by the check digits its
// remainder accepts.
template <typename Trace = NoTrace>
int SumRuleCheck(const Rule& rule, const Weights& w, const AccountDigits& r, Trace trace = {}) {
  const SumRule sum = *SumRuleOf(rule);
  const int total = primitive_detail::WeightedSum(w, r, sum.product, sum.products, trace);
  const int rest = total % sum.modulus;
  trace.Sum(total, sum.modulus, rest);
  return primitive_detail::CompareWithAccepted(
      r, AcceptedCheckDigits(rule.check, rest, sum.modulus), trace);
}

template <typename Trace = NoTrace>
int SumCheck(Check check, const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumRuleCheck(Rule{check}, w, r, trace);
}

template <typename Trace = NoTrace>
int CrossSumCheck(const Weights& w, const AccountDigits& r, int modulus, int products = 9,
                  Trace trace = {}) {
  return SumRuleCheck(
      Rule{Check::CrossSum, static_cast<std::int8_t>(modulus), static_cast<std::int8_t>(products)},
      w, r, trace);
}

template <typename Trace = NoTrace>
int WeightedSumCheck(const Weights& w, const AccountDigits& r, int modulus, Trace trace = {}) {
  return SumRuleCheck(Rule{Check::WeightedSum, static_cast<std::int8_t>(modulus)}, w, r, trace);
}

template <typename Trace = NoTrace>
int IteratedCrossSumCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  int total = primitive_detail::WeightedSum(w, r, Product::DigitSum, 9, trace);
  trace.Sum(total, 0, 0);
  const int first = total;
  while (total > 9) total = DigitSum(total);
  if (trace.Detailed()) {
    trace.Note("the digit sum is taken until one digit is left: " + std::to_string(first) +
               " gives " + std::to_string(total) + "; the check digit is 10 minus it");
  }
  return primitive_detail::Compare(r, total == 0 ? 0 : 10 - total, trace);
}

template <typename Trace = NoTrace>
int UnitsSumCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::UnitsSum, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod7Check(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod7, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11Check(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11CheckRejectTen(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11RejectTen, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11CheckNineForTen(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11NineForTen, w, r, trace);
}

// For remainder 1 the Bundesbank compares the check digit with its left
// neighbour (entry 1): equal means valid; otherwise the check digit must be 0.
template <typename Trace = NoTrace>
int Mod11CheckEqualNeighbours(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  const int rest = primitive_detail::Mod11Remainder(w, r, trace);
  if (rest != 1) return primitive_detail::Compare(r, rest == 0 ? 0 : 11 - rest, trace);
  trace.Note("remainder 1: the check digit is 0 or equals its left neighbour");
  trace.Accepts(static_cast<std::uint16_t>(DigitBit(r.digits[0]) | DigitBit(0)));
  return r.checkDigit == r.digits[0] || r.checkDigit == 0 ? primitive_detail::kValid
                                                          : primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int Mod11CheckOneForEleven(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11OneForEleven, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11CheckOneForTen(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11OneForTen, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11CheckRejectLow(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11RejectLow, w, r, trace);
}

// The work digit is position 2 of the ten-digit form, the first digit of the
// nine-digit account (entry 8 of the standard record).
template <typename Trace = NoTrace>
int Mod11CheckWorkDigit(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  if (r.significantLength > 9) {
    trace.Note("ten significant digits: the method takes nine at most");
    return primitive_detail::kInvalid;
  }
  const int rest = primitive_detail::Mod11Remainder(w, r, trace);
  if (rest != 1) return primitive_detail::Compare(r, rest == 0 ? 0 : 11 - rest, trace);
  const int workDigit = r.digits[7];
  if (workDigit == 8 || workDigit == 9) {
    trace.Note("remainder 1 with 8 or 9 as work digit (position 2): check digit 0");
    return primitive_detail::Compare(r, 0, trace);
  }
  trace.Note("remainder 1 with a work digit (position 2) other than 8 or 9: no check digit fits");
  trace.Accepts(0);
  return primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int Mod11CheckNinePrefix(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  const int rest = primitive_detail::Mod11Remainder(w, r, trace);
  if (rest >= 2) return primitive_detail::Compare(r, 11 - rest, trace);
  if (r.significantLength == 10 && r.digits[8] == 9) {
    trace.Note("remainder 0 or 1 of a ten-digit account beginning with 9: check digit 8 or 7");
    return primitive_detail::Compare(r, rest == 0 ? 8 : 7, trace);
  }
  trace.Note("remainder 0 or 1: only ten-digit accounts beginning with 9 have a check digit then");
  trace.Accepts(0);
  return primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int Mod11RemainderCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11Remainder, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11RemainderCheckTenIsNeighbour(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  const int rest = primitive_detail::Mod11Remainder(w, r, trace);
  if (rest != 10) return primitive_detail::Compare(r, rest, trace);
  trace.Note("remainder 10: the check digit must equal its left neighbour");
  trace.Accepts(DigitBit(r.digits[0]));
  return r.checkDigit == r.digits[0] ? primitive_detail::kValid : primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int Mod11RemainderCheckPrefixRule(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  if (r.significantLength == 10 && (r.firstCharacter == '1' || r.firstCharacter == '2' ||
                                    r.firstCharacter == '3' || r.firstCharacter == '5')) {
    trace.Note("ten-digit accounts beginning with 1, 2, 3 or 5 are invalid");
    return primitive_detail::kInvalid;
  }
  return SumCheck(Check::Mod11RemainderPrefixRule, w, r, trace);
}

template <typename Trace = NoTrace>
int Mod11RemainderPlusFiveCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::Mod11RemainderPlusFive, w, r, trace);
}

// `reducedPlaces` has bit k set when the product of place k (from 1) enters by its
// digit sum once it reaches 10. The remainder keeps the dividend's sign: a sum
// of 0 gives -1 and expects 11.
template <typename Trace = NoTrace>
int Mod11SumMinusOneCheck(const Weights& w, const AccountDigits& r, unsigned reducedPlaces,
                          Trace trace = {}) {
  int sum = 0;
  for (std::size_t k = 0; k < 9; ++k) {
    const int product = w[k] * r.digits[k];
    const bool reduced = (reducedPlaces >> (k + 1)) & 1U;
    const int added = reduced && product >= 10 ? DigitSum(product) : product;
    trace.Term(k, r.digits[k], w[k], product, added);
    sum += added;
  }
  const int rest = (sum - 1) % 11;
  trace.Sum(sum, 11, rest);
  trace.Note("the remainder is that of the sum less 1; the check digit is 10 minus it");
  return primitive_detail::Compare(r, rest == 0 ? 0 : 10 - rest, trace);
}

template <typename Trace = NoTrace>
int CrossSumCheckFrom60000(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  if (AtLeast(r, "60000")) return CrossSumCheck(w, r, 10, 9, trace);
  trace.Note("below 60000: the method has no check digit for it, so it is invalid");
  return primitive_detail::kInvalid;
}

// A six-digit account may instead have the distance from the sum to its next
// multiple of 5 as check digit.
template <typename Trace = NoTrace>
int CrossSumCheckHalfDecade(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  const int sum = primitive_detail::WeightedSum(w, r, Product::DigitSum, 9, trace);
  trace.Sum(sum, 10, sum % 10);
  const int decade = primitive_detail::Complement(sum, 10);
  const int halfDecade = primitive_detail::Complement(sum, 5);
  const bool sixDigits = r.significantLength == 6;
  if (sixDigits) trace.Note("six significant digits: the distance to the next multiple of 5 too");
  trace.Accepts(
      static_cast<std::uint16_t>(DigitBit(decade) | (sixDigits ? DigitBit(halfDecade) : 0)));
  return r.checkDigit == decade || (sixDigits && r.checkDigit == halfDecade)
             ? primitive_detail::kValid
             : primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int RangeExemptMod11Check(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  for (const primitive_detail::ExemptRange& range : primitive_detail::kExemptRanges) {
    if (!InRange(r, range.lower, range.upper)) continue;
    if (trace.Detailed()) {
      trace.Note("from " + std::string(range.lower) + " to " + std::string(range.upper) +
                 ": valid without check");
    }
    trace.CheckAt(0);
    return primitive_detail::kValidWithoutCheck;
  }
  return Mod11Check(w, r, trace);
}

// Position 1 (entry 9) 3 to 6 counts as 0; 9 clears positions 1 to 3 and then
// needs a digit at position 4. Weights start at the first digit that is not 0.
template <typename Trace = NoTrace>
int IncrementedProductCheck(const Weights& w, AccountDigits r, Trace trace = {}) {
  auto& d = r.digits;
  if (d[8] >= 3 && d[8] <= 6) {
    trace.Note("position 1 is 3 to 6: it counts as 0");
    d[8] = 0;
  }
  if (d[8] == 9) {
    trace.Note("position 1 is 9: positions 1 to 3 count as 0");
    d[8] = d[7] = d[6] = 0;
    if (d[5] == 0) {
      trace.Note("position 1 is 9 and position 4 is 0: invalid");
      return primitive_detail::kInvalid;
    }
  }
  int sum = 0;
  std::size_t next = 0;
  for (std::size_t k = 9; k-- > 0;) {
    const int digit = d[k];
    if (next == 0 && digit == 0) continue;
    const int product = (digit + 1) * w[next++];
    trace.Term(k, digit, w[next - 1], product, product % 11);
    sum += product % 11;
  }
  trace.Sum(sum, 10, sum % 10);
  trace.Note("the weights begin at the first digit that is not 0");
  return primitive_detail::Compare(r, sum % 10, trace);
}

template <typename Trace = NoTrace>
int IncrementedProductPlusFiveCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  return SumCheck(Check::IncrementedProductPlusFive, w, r, trace);
}

template <typename Trace = NoTrace>
int TransformTableCheck(const AccountDigits& r, Trace trace = {}) {
  int sum = 0;
  for (std::size_t k = 0; k < 9; ++k) {
    const int digit = r.digits[k];
    if (digit < 0 || digit > 9) continue;
    const int value = primitive_detail::kTransformRows[k % 4][static_cast<std::size_t>(digit)];
    trace.Term(k, digit, static_cast<int>(k % 4) + 1, value, value);
    sum += value;
  }
  trace.Sum(sum, 10, sum % 10);
  trace.Note("each digit is replaced from a row of the transformation table (the weight names it)");
  return primitive_detail::Compare(r, primitive_detail::Complement(sum, 10), trace);
}

template <typename Trace = NoTrace>
int TransformTableCheckLong(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  if (r.significantLength == 10) {
    trace.Note("ten significant digits: the transformation table");
    return TransformTableCheck(r, trace);
  }
  trace.Note("fewer than ten significant digits: method 00's cross sum");
  return CrossSumCheck(w, r, 10, 9, trace);
}

// Positions 3, 4 are entries 7, 6; positions 7 to 9 are entries 3 to 1.
template <typename Trace = NoTrace>
int DatePatternTest(const AccountDigits& r, Trace trace = {}) {
  const auto& d = r.digits;
  const int month = 10 * d[6] + d[5];
  const int serial = 100 * d[2] + 10 * d[1] + d[0];
  const bool monthOk = month >= 1 && month <= 12;
  const bool serialOk = serial < 500;
  trace.CheckAt(0);
  if (trace.Detailed()) {
    trace.Note("positions 3 and 4 hold the month " + std::to_string(month) +
               (monthOk ? ": 1 to 12" : ": not 1 to 12"));
    trace.Note("positions 7 to 9 hold the serial " + std::to_string(serial) +
               (serialOk ? ": below 500" : ": not below 500"));
  }
  return monthOk && serialOk ? primitive_detail::kValid : primitive_detail::kInvalid;
}

// The check digit is the digit x at the check digit's place (weighed there, and
// counted as 0 in the sum) for which the sum plus x times that weight leaves
// remainder 10 modulo 11.
template <typename Trace = NoTrace>
int EserCheck(const Weights& w, const AccountDigits& r, Trace trace = {}) {
  if (r.significantLength != 8 && r.significantLength != 9)
    trace.Note("the converted number takes accounts of eight or nine significant digits");
  if (trace.Detailed()) {
    std::string converted;
    for (std::size_t k = 12; k-- > 0;) converted += static_cast<char>('0' + r.digits[k]);
    trace.Note("converted number " + converted + ", the check digit's place counted as 0");
  }
  int sum = 0;
  for (std::size_t k = 0; k < 12; ++k) {
    trace.Term(k, r.digits[k], w[k], w[k] * r.digits[k], w[k] * r.digits[k]);
    sum += w[k] * r.digits[k];
  }
  const int rest = sum % 11;
  trace.Sum(sum, 11, rest);
  if (r.checkWeightIndex < 0 || r.checkWeightIndex >= 12) return primitive_detail::kInvalid;
  const int weight = w[static_cast<std::size_t>(r.checkWeightIndex)];
  for (int x = 0; x <= 9; ++x) {
    if ((rest + x * weight) % 11 == 10) {
      if (trace.Detailed()) {
        trace.Note("the check digit's place weighs " + std::to_string(weight) + ": " +
                   std::to_string(rest) + " + " + std::to_string(x) + " x " +
                   std::to_string(weight) + " leaves remainder 10");
      }
      return primitive_detail::Compare(r, x, trace);
    }
  }
  trace.Note("no digit at the check digit's place leaves remainder 10");
  trace.Accepts(0);
  return primitive_detail::kInvalid;
}

template <typename Trace = NoTrace>
int AlternatingTableCheck(AccountDigits r, Trace trace = {}) {
  const auto position = [&](int p) { return r.digits[static_cast<std::size_t>(p - 1)]; };
  int first = 4;
  while (first <= 9 && position(first) == 0) ++first;
  if (first > 9) {
    trace.Note("positions 4 to 9 are all 0: nothing to walk, invalid");
    trace.Accepts(0);
    return primitive_detail::kInvalid;
  }
  int a = first % 2;
  int b = 0;
  int s = 0;
  for (int j = first; j <= 9; ++j) {
    int d = position(j);
    if (d == 0)
      d = 5;
    else if (d == 1)
      d = 6;
    else if (d == 5)
      d = 10;
    else if (d == 6)
      d = 1;
    const int amount = d > 5 && a == 0 ? 12 - d : d;
    s += a == b ? amount : -amount;
    a ^= 1;
    if (d > 5) b ^= 1;
  }
  s %= 5;
  if (s < 0) s += 5;
  const int p = b == 0 ? primitive_detail::kFirstResultTable[static_cast<std::size_t>(s)]
                       : primitive_detail::kSecondResultTable[static_cast<std::size_t>(s)];
  const int alternative = p > 4 ? p - 5 : p + 5;
  const bool alternativeAllowed = position(4) == 0;
  if (trace.Detailed()) {
    trace.Note("the alternating walk over positions " + std::to_string(first) + " to 9 ends at " +
               std::to_string(s) + " of table " + std::to_string(b + 1) + ": check digit " +
               std::to_string(p) +
               (alternativeAllowed ? ", or with position 4 at 0 also " + std::to_string(alternative)
                                   : std::string()));
  }
  trace.Accepts(
      static_cast<std::uint16_t>(DigitBit(p) | (alternativeAllowed ? DigitBit(alternative) : 0)));
  if (p == position(10)) return primitive_detail::kValid;
  if (!alternativeAllowed) return primitive_detail::kInvalid;
  return alternative == position(10) ? primitive_detail::kValid : primitive_detail::kInvalid;
}

// Weights for positions 10 to 1 of the forward record; the check digit is
// position 7.
template <typename Trace = NoTrace>
int Mod11CheckSeventhPosition(const Weights& w, AccountDigits r, Trace trace = {}) {
  r.checkDigit = r.digits[6];
  trace.CheckAt(7);
  int sum = 0;
  for (std::size_t k = 0; k < 10; ++k) {
    trace.Term(9 - k, r.digits[9 - k], w[k], w[k] * r.digits[9 - k], w[k] * r.digits[9 - k]);
    sum += w[k] * r.digits[9 - k];
  }
  const int rest = sum % 11;
  trace.Sum(sum, 11, rest);
  return primitive_detail::Compare(r, rest <= 1 ? 0 : 11 - rest, trace);
}

}  // namespace tavrel::engine
