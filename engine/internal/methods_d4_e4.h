// Methods D4 to E4, which the Bundesbank defined after 2009: rows of the current
// rules only.
#pragma once

#include <array>

#include "method_table.h"
#include "methods_c0_d3.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int MethodD5(const Call& call);
int MethodD6(const Call& call);
int MethodD8(const Call& call);
int MethodD9(const Call& call);
int MethodE3(const Call& call);
int MethodE4(const Call& call);

// clang-format off
inline constexpr auto kMethodsD4ToE4 = std::to_array<MethodRow>({
    // key           record                weights, from entry 1                 check
    // 2009's D1 computation, for accounts that do not begin with 0.
    {"D4",          RejectingFirstDigits(kMethodD1Recipe, "0")},
    {"D5",          kNoRecipe, &MethodD5},
    {"D5Variante1", kMod11Positions3To9},
    {"D5Variante2", kMod11Positions4To9},
    {"D5Variante3", kMod7Positions4To9},
    {"D5Variante4", {Range(10, 4, 9),     {2, 3, 4, 5, 6, 7},                   {Check::WeightedSum, 10}}},
    {"D6",          kNoRecipe, &MethodD6},
    // Method 00's sum, but the check digit is its units digit itself.
    {"D7",          {Standard(),          {2, 1, 2, 1, 2, 1, 2, 1, 2},          {Check::CrossSumRemainder}}},
    {"D8",          kNoRecipe, &MethodD8},
    {"D9",          kNoRecipe, &MethodD9},
    // Method 00 with 7 added to the total: the constant 7 in entry 10, weighed 1.
    {"E0",          {Standard(),          kAlternatingFifteen,                  CrossSumWithConstant("7", 10)}},
    // Positions 1 to 9 weighed 9, 10, 11, 6, 5, 4, 3, 2, 1 as character codes; the
    // remainder is the check digit, and remainder 10 has none.
    {"E1",          {Range(10, 1, 9),     {1, 2, 3, 4, 5, 6, 11, 10, 9},        {Check::Mod11RemainderOfCharacterCodes}}},
    {"E2",          RejectingFirstDigits(ConstantBeforePositions1To9("438320"), "6789")},
    {"E3",          kNoRecipe, &MethodE3},
    {"E4",          kNoRecipe, &MethodE4},
});
// clang-format on

}  // namespace tavrel::engine
