// Methods C0 to D3 and their variant keys.
#pragma once

#include <array>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int MethodC0(const Call& call);
int MethodC1(const Call& call);
int MethodC2(const Call& call);
int MethodC2Current(const Call& call);
int MethodC3(const Call& call);
int MethodC4(const Call& call);
int MethodC5(const Call& call);
int MethodC6(const Call& call);
int MethodC6Current(const Call& call);
int MethodC7(const Call& call);
int MethodC8(const Call& call);
int MethodC9(const Call& call);
int MethodD0(const Call& call);
int MethodD2(const Call& call);
int MethodD3(const Call& call);

// 2009's method D1, the current rules' D4 but for the first digit.
inline constexpr Recipe kMethodD1Recipe = ConstantBeforePositions1To9("428259");

// clang-format off
inline constexpr auto kMethodsC0ToD3 = std::to_array<MethodRow>({
    // key           record                        weights, from entry 1         check
    {"C0",          kNoRecipe, &MethodC0},
    {"C1",          kNoRecipe, &MethodC1},
    {"C1Variante2", {RangeLeftToRight(10, 1, 9),  {1, 2, 1, 2, 1, 2, 1, 2, 1},  SumMinusOne({2, 4, 6, 8})}},
    {"C2",          kNoRecipe, &MethodC2},
    {"C3",          kNoRecipe, &MethodC3},
    {"C4",          kNoRecipe, &MethodC4},
    {"C5",          kNoRecipe, &MethodC5},
    {"C6",          kNoRecipe, &MethodC6},
    {"C6Variante0", ConstantBeforePositions2To9("4451970")},
    {"C6Variante1", ConstantBeforePositions2To9("4451981")},
    {"C6Variante2", ConstantBeforePositions2To9("4451992")},
    {"C6Variante7", ConstantBeforePositions2To9("5499570")},
    {"C6Variante9", ConstantBeforePositions2To9("5499579")},
    {"C7",          kNoRecipe, &MethodC7},
    {"C8",          kNoRecipe, &MethodC8},
    {"C9",          kNoRecipe, &MethodC9},
    {"D0",          kNoRecipe, &MethodD0},
    {"D1",          kMethodD1Recipe},
    {"D2",          kNoRecipe, &MethodD2},
    {"D3",          kNoRecipe, &MethodD3},
});
// clang-format on

// What the current rules change: C2 tries method 04 third, C6 has a constant for
// every first digit, D1 a new constant and no accounts beginning with 8.
inline constexpr auto kCurrentMethodsC0ToD3 = std::to_array<MethodRow>({
    {"C2", kNoRecipe, &MethodC2Current},
    {"C6", kNoRecipe, &MethodC6Current},
    {"C6Variante3", ConstantBeforePositions2To9("4451993")},
    {"C6Variante4", ConstantBeforePositions2To9("4344992")},
    {"C6Variante5", ConstantBeforePositions2To9("4344990")},
    {"C6Variante6", ConstantBeforePositions2To9("4344991")},
    {"C6Variante8", ConstantBeforePositions2To9("4451994")},
    {"D1", RejectingFirstDigits(ConstantBeforePositions1To9("436338"), "8")},
});

}  // namespace tavrel::engine
