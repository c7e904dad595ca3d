// Methods C0 to D3 and their variant keys.
#pragma once

#include <array>

#include "method_table.h"

namespace tavrel::engine {

int MethodC0(const Call& call);
int MethodC1(const Call& call);
int MethodC2(const Call& call);
int MethodC3(const Call& call);
int MethodC4(const Call& call);
int MethodC5(const Call& call);
int MethodC6(const Call& call);
int MethodC7(const Call& call);
int MethodC8(const Call& call);
int MethodC9(const Call& call);
int MethodD0(const Call& call);
int MethodD2(const Call& call);
int MethodD3(const Call& call);

// The C6 variants and D1 put a constant before the weighted positions and run
// method 00's computation (weights 2, 1, 2, ... from the right, products of 10
// or more by their digit sum) over all fifteen digits.
inline constexpr Weights kAlternatingFifteen = {2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};

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
    // Positions 9 down to 2 fill entries 1 to 8, the constant entries 9 to 15.
    {"C6Variante0", {Range(10, 2, 9),             kAlternatingFifteen,          CrossSumWithConstant("4451970", 9)}},
    {"C6Variante1", {Range(10, 2, 9),             kAlternatingFifteen,          CrossSumWithConstant("4451981", 9)}},
    {"C6Variante2", {Range(10, 2, 9),             kAlternatingFifteen,          CrossSumWithConstant("4451992", 9)}},
    {"C6Variante7", {Range(10, 2, 9),             kAlternatingFifteen,          CrossSumWithConstant("5499570", 9)}},
    {"C6Variante9", {Range(10, 2, 9),             kAlternatingFifteen,          CrossSumWithConstant("5499579", 9)}},
    {"C7",          kNoRecipe, &MethodC7},
    {"C8",          kNoRecipe, &MethodC8},
    {"C9",          kNoRecipe, &MethodC9},
    {"D0",          kNoRecipe, &MethodD0},
    // Positions 1 to 9 fill entries 1 to 9 (their weights read the same either
    // way), the constant 428259 entries 10 to 15.
    {"D1",          {RangeLeftToRight(10, 1, 9),  kAlternatingFifteen,          CrossSumWithConstant("428259", 10)}},
    {"D2",          kNoRecipe, &MethodD2},
    {"D3",          kNoRecipe, &MethodD3},
});
// clang-format on

}  // namespace tavrel::engine
