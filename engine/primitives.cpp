#include "internal/primitives.h"

#include "internal/sum_rules.h"

namespace tavrel::engine {
namespace {

constexpr int kValid = 0;
constexpr int kInvalid = -3;
constexpr int kValidWithoutCheck = 1;

int Compare(const AccountDigits& r, int expected) {
  return expected == r.checkDigit ? kValid : kInvalid;
}

int WeightedSum(const Weights& w, const AccountDigits& r, Product product, int products = 9) {
  int sum = 0;
  for (std::size_t k = 0; k < static_cast<std::size_t>(products); ++k)
    sum += ProductValue(product, w[k], r.digits[k]);
  return sum;
}

int SumCheck(Check check, const Weights& w, const AccountDigits& r) {
  return SumRuleCheck(Rule{check}, w, r);
}

int Complement(int sum, int modulus) {
  const int rest = sum % modulus;
  return rest == 0 ? 0 : modulus - rest;
}

int Mod11Remainder(const Weights& w, const AccountDigits& r) {
  return WeightedSum(w, r, Product::Whole) % 11;
}

constexpr std::array<std::array<int, 10>, 4> kTransformRows = {{
    {0, 1, 5, 9, 3, 7, 4, 8, 2, 6},
    {0, 1, 7, 6, 9, 8, 3, 2, 5, 4},
    {0, 1, 8, 4, 6, 2, 9, 5, 7, 3},
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
}};
constexpr std::array<int, 5> kFirstResultTable = {0, 4, 3, 2, 6};
constexpr std::array<int, 5> kSecondResultTable = {7, 1, 5, 9, 8};

bool IsDigit(int d) { return d >= 0 && d <= 9; }

}  // namespace

// The sum of the rule's products, judged by the check digits its remainder accepts.
int SumRuleCheck(const Rule& rule, const Weights& w, const AccountDigits& r) {
  const SumRule sum = *SumRuleOf(rule);
  const int rest = WeightedSum(w, r, sum.product, sum.products) % sum.modulus;
  return (AcceptedCheckDigits(rule.check, rest, sum.modulus) & DigitBit(r.checkDigit)) != 0
             ? kValid
             : kInvalid;
}

int CrossSumCheck(const Weights& w, const AccountDigits& r, int modulus, int products) {
  return SumRuleCheck(
      Rule{Check::CrossSum, static_cast<std::int8_t>(modulus), static_cast<std::int8_t>(products)},
      w, r);
}

int WeightedSumCheck(const Weights& w, const AccountDigits& r, int modulus) {
  return SumRuleCheck(Rule{Check::WeightedSum, static_cast<std::int8_t>(modulus)}, w, r);
}

int IteratedCrossSumCheck(const Weights& w, const AccountDigits& r) {
  int total = WeightedSum(w, r, Product::DigitSum);
  while (total > 9) total = DigitSum(total);
  return Compare(r, total == 0 ? 0 : 10 - total);
}

int UnitsSumCheck(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::UnitsSum, w, r);
}

int Mod7Check(const Weights& w, const AccountDigits& r) { return SumCheck(Check::Mod7, w, r); }

int Mod11Check(const Weights& w, const AccountDigits& r) { return SumCheck(Check::Mod11, w, r); }

int Mod11CheckRejectTen(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11RejectTen, w, r);
}

int Mod11CheckNineForTen(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11NineForTen, w, r);
}

int Mod11CheckEqualNeighbours(const Weights& w, const AccountDigits& r) {
  const int rest = Mod11Remainder(w, r);
  // For remainder 1 the Bundesbank compares the check digit with its left
  // neighbour (entry 1): equal means valid; otherwise the check digit must be 0.
  if (rest == 1) return r.checkDigit == r.digits[0] ? kValid : Compare(r, 0);
  return Compare(r, rest == 0 ? 0 : 11 - rest);
}

int Mod11CheckOneForEleven(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11OneForEleven, w, r);
}

int Mod11CheckOneForTen(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11OneForTen, w, r);
}

int Mod11CheckRejectLow(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11RejectLow, w, r);
}

int Mod11CheckWorkDigit(const Weights& w, const AccountDigits& r) {
  if (r.significantLength > 9) return kInvalid;
  const int rest = Mod11Remainder(w, r);
  if (rest != 1) return Compare(r, rest == 0 ? 0 : 11 - rest);
  // The work digit is position 2 of the ten-digit form, the first digit of the
  // nine-digit account (entry 8 of the standard record).
  const int workDigit = r.digits[7];
  return workDigit == 8 || workDigit == 9 ? Compare(r, 0) : kInvalid;
}

int Mod11CheckNinePrefix(const Weights& w, const AccountDigits& r) {
  const int rest = Mod11Remainder(w, r);
  if (rest >= 2) return Compare(r, 11 - rest);
  if (r.significantLength == 10 && r.digits[8] == 9) return Compare(r, rest == 0 ? 8 : 7);
  return kInvalid;
}

int Mod11RemainderCheck(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11Remainder, w, r);
}

int Mod11RemainderCheckTenIsNeighbour(const Weights& w, const AccountDigits& r) {
  const int rest = Mod11Remainder(w, r);
  if (rest == 10) return r.checkDigit == r.digits[0] ? kValid : kInvalid;
  return Compare(r, rest);
}

int Mod11RemainderCheckPrefixRule(const Weights& w, const AccountDigits& r) {
  if (r.significantLength == 10 && (r.firstCharacter == '1' || r.firstCharacter == '2' ||
                                    r.firstCharacter == '3' || r.firstCharacter == '5')) {
    return kInvalid;
  }
  return SumCheck(Check::Mod11RemainderPrefixRule, w, r);
}

int Mod11RemainderPlusFiveCheck(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::Mod11RemainderPlusFive, w, r);
}

int Mod11SumMinusOneCheck(const Weights& w, const AccountDigits& r, unsigned reducedPlaces) {
  int sum = 0;
  for (int k = 0; k < 9; ++k) {
    const int p = w[static_cast<std::size_t>(k)] * r.digits[static_cast<std::size_t>(k)];
    const bool reduced = (reducedPlaces >> (k + 1)) & 1U;
    sum += reduced && p >= 10 ? DigitSum(p) : p;
  }
  // The remainder keeps the dividend's sign: a sum of 0 gives -1 and expects 11.
  const int rest = (sum - 1) % 11;
  return Compare(r, rest == 0 ? 0 : 10 - rest);
}

int CrossSumCheckFrom60000(const Weights& w, const AccountDigits& r) {
  return AtLeast(r, "60000") ? CrossSumCheck(w, r, 10) : kInvalid;
}

int CrossSumCheckHalfDecade(const Weights& w, const AccountDigits& r) {
  const int sum = WeightedSum(w, r, Product::DigitSum);
  if (Compare(r, Complement(sum, 10)) == kValid) return kValid;
  if (r.significantLength != 6) return kInvalid;
  return Compare(r, Complement(sum, 5));
}

int RangeExemptMod11Check(const Weights& w, const AccountDigits& r) {
  if (InRange(r, "1", "1999999") || InRange(r, "9000000", "25999999") ||
      InRange(r, "396000000", "499999999") || InRange(r, "700000000", "799999999")) {
    return kValidWithoutCheck;
  }
  return Mod11Check(w, r);
}

int IncrementedProductCheck(const Weights& w, AccountDigits r) {
  auto& d = r.digits;
  if (d[8] >= 3 && d[8] <= 6) d[8] = 0;
  if (d[8] == 9) {
    d[8] = d[7] = d[6] = 0;
    if (d[5] == 0) return kInvalid;
  }
  int sum = 0;
  std::size_t next = 0;
  for (int k = 8; k >= 0; --k) {
    const int digit = d[static_cast<std::size_t>(k)];
    if (next == 0 && digit == 0) continue;
    sum += ((digit + 1) * w[next++]) % 11;
  }
  return Compare(r, sum % 10);
}

int IncrementedProductPlusFiveCheck(const Weights& w, const AccountDigits& r) {
  return SumCheck(Check::IncrementedProductPlusFive, w, r);
}

int TransformTableCheck(const AccountDigits& r) {
  int sum = 0;
  for (std::size_t k = 0; k < 9; ++k) {
    const int digit = r.digits[k];
    if (IsDigit(digit)) sum += kTransformRows[k % 4][static_cast<std::size_t>(digit)];
  }
  return Compare(r, Complement(sum, 10));
}

int TransformTableCheckLong(const Weights& w, const AccountDigits& r) {
  return r.significantLength == 10 ? TransformTableCheck(r) : CrossSumCheck(w, r, 10);
}

int DatePatternTest(const AccountDigits& r) {
  const auto& d = r.digits;  // positions 3, 4 are entries 7, 6; positions 7 to 9 are entries 3 to 1
  const int month = 10 * d[6] + d[5];
  const int serial = 100 * d[2] + 10 * d[1] + d[0];
  return month >= 1 && month <= 12 && serial < 500 ? kValid : kInvalid;
}

int EserCheck(const Weights& w, const AccountDigits& r) {
  int sum = 0;
  for (std::size_t k = 0; k < 12; ++k) sum += w[k] * r.digits[k];
  const int rest = sum % 11;
  if (r.checkWeightIndex < 0 || r.checkWeightIndex >= 12) return kInvalid;
  const int weight = w[static_cast<std::size_t>(r.checkWeightIndex)];
  for (int x = 0; x <= 9; ++x) {
    if ((rest + x * weight) % 11 == 10) return Compare(r, x);
  }
  return kInvalid;
}

int AlternatingTableCheck(AccountDigits r) {
  const auto position = [&](int p) { return r.digits[static_cast<std::size_t>(p - 1)]; };
  int first = 4;
  while (first <= 9 && position(first) == 0) ++first;
  if (first > 9) return kInvalid;
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
  int p = b == 0 ? kFirstResultTable[static_cast<std::size_t>(s)]
                 : kSecondResultTable[static_cast<std::size_t>(s)];
  if (p == position(10)) return kValid;
  if (position(4) != 0) return kInvalid;
  p = p > 4 ? p - 5 : p + 5;
  return p == position(10) ? kValid : kInvalid;
}

int Mod11CheckSeventhPosition(const Weights& w, AccountDigits r) {
  r.checkDigit = r.digits[6];
  int sum = 0;
  for (std::size_t k = 0; k < 10; ++k) sum += w[k] * r.digits[9 - k];
  const int rest = sum % 11;
  return Compare(r, rest <= 1 ? 0 : 11 - rest);
}

}  // namespace tavrel::engine
