// Check primitives: each computes the expected check digit of a record under one
// rule and compares it with the record's check digit. 0 means valid, -3 invalid
// (RangeExemptMod11Check may also give 1, valid without check).
//
// Weights are listed from entry 1 on: in the standard record entry 1 is position 9,
// so weights run right to left starting next to the check digit.
#pragma once

#include <array>
#include <cstdint>

#include "account_digits.h"

namespace tavrel::engine {

using Weights = std::array<std::int8_t, 15>;
struct Rule;

// The sum-and-modulus family.
int CrossSumCheck(const Weights& w, const AccountDigits& r, int modulus, int products = 9);
int WeightedSumCheck(const Weights& w, const AccountDigits& r, int modulus);
int IteratedCrossSumCheck(const Weights& w, const AccountDigits& r);
int UnitsSumCheck(const Weights& w, const AccountDigits& r);
int Mod7Check(const Weights& w, const AccountDigits& r);
int Mod11Check(const Weights& w, const AccountDigits& r);
int Mod11CheckRejectTen(const Weights& w, const AccountDigits& r);
int Mod11CheckNineForTen(const Weights& w, const AccountDigits& r);
int Mod11CheckEqualNeighbours(const Weights& w, const AccountDigits& r);
int Mod11CheckOneForEleven(const Weights& w, const AccountDigits& r);
int Mod11CheckOneForTen(const Weights& w, const AccountDigits& r);
int Mod11CheckRejectLow(const Weights& w, const AccountDigits& r);
int Mod11CheckWorkDigit(const Weights& w, const AccountDigits& r);
int Mod11CheckNinePrefix(const Weights& w, const AccountDigits& r);
int Mod11RemainderCheck(const Weights& w, const AccountDigits& r);
int Mod11RemainderCheckTenIsNeighbour(const Weights& w, const AccountDigits& r);
int Mod11RemainderCheckPrefixRule(const Weights& w, const AccountDigits& r);
int Mod11RemainderPlusFiveCheck(const Weights& w, const AccountDigits& r);
// `reducedPlaces` has bit k set when the product of place k (from 1) enters by its
// digit sum once it reaches 10.
int Mod11SumMinusOneCheck(const Weights& w, const AccountDigits& r, unsigned reducedPlaces);
int CrossSumCheckFrom60000(const Weights& w, const AccountDigits& r);
int CrossSumCheckHalfDecade(const Weights& w, const AccountDigits& r);
int RangeExemptMod11Check(const Weights& w, const AccountDigits& r);

// Any check of the family, by its rule's description in sum_rules.h.
int SumRuleCheck(const Rule& rule, const Weights& w, const AccountDigits& r);

// Primitives with rules of their own.
int IncrementedProductCheck(const Weights& w, AccountDigits r);
int IncrementedProductPlusFiveCheck(const Weights& w, const AccountDigits& r);
int TransformTableCheck(const AccountDigits& r);
int TransformTableCheckLong(const Weights& w, const AccountDigits& r);
int DatePatternTest(const AccountDigits& r);
int EserCheck(const Weights& w, const AccountDigits& r);
int AlternatingTableCheck(AccountDigits r);
int Mod11CheckSeventhPosition(const Weights& w, AccountDigits r);

}  // namespace tavrel::engine
