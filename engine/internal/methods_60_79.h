// Methods 60 to 79 and their variant keys ("61Art8" to "75stellen9b"). Codes 70,
// 77 and 79 have no method in the 2009 rules; the current rules have them again.
#pragma once

#include <array>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int Method61(const Call& call);
int Method63(const Call& call);
int Method65(const Call& call);
int Method66(const Call& call);
int Method66Current(const Call& call);
int Method68(const Call& call);
int Method69(const Call& call);
int Method70(const Call& call);
int Method73(const Call& call);
int Method74Current(const Call& call);
int Method75(const Call& call);
int Method76(const Call& call);
int Method77(const Call& call);
int Method78(const Call& call);
int Method79(const Call& call);

// Digit sums of the products with weights 2, 1, 2, ... over a block of positions.
// These weight lists read the same from either end, so keys whose positions are
// listed left to right and keys listed right to left share one recipe.
inline constexpr Recipe kMethod76Recipe{
    Range(8, 2, 7), {2, 3, 4, 5, 6, 7}, {Check::Mod11RemainderPrefixRule}};

// A six-digit account that fails may instead have the distance from the sum to
// its next multiple of 5 as check digit; the rule lives in the primitive.
inline constexpr Recipe kMethod74Recipe{
    Standard(), {2, 1, 2, 1, 2, 1, 2, 1, 2}, {Check::CrossSumHalfDecade}};

// Positions 3 and 4 (the sub-account) weigh 0.
inline constexpr Recipe kMethod66Recipe{
    Range(10, 2, 9), {2, 3, 4, 5, 6, 0, 0, 7}, {Check::Mod11OneForEleven}};

// clang-format off
inline constexpr Recipe kCrossSumPositions1To7CheckAt8{
    Range(8, 1, 7),  {2, 1, 2, 1, 2, 1, 2},       {Check::CrossSum, 10}};
inline constexpr Recipe kCrossSumPositions1To10CheckAt8{
    Range(8, 1, 10), {2, 1, 2, 1, 2, 1, 2, 1, 2}, {Check::CrossSum, 10}};
inline constexpr Recipe kCrossSumPositions3To7CheckAt8{
    Range(8, 3, 7),  {2, 1, 2, 1, 2},             {Check::CrossSum, 10}};

inline constexpr auto kMethods60To79 = std::to_array<MethodRow>({
    // key  record                      weights, from entry 1                 check
    {"60", {Range(10, 3, 9),            {2, 1, 2, 1, 2, 1, 2},                {Check::CrossSum, 10}}},
    {"61", kNoRecipe, &Method61},
    {"61Art8", kCrossSumPositions1To10CheckAt8},
    {"61Standard", kCrossSumPositions1To7CheckAt8},
    {"62", kCrossSumPositions3To7CheckAt8},
    // Ten significant digits are invalid; positions 1 to 3 all 0 move the
    // account two places left, and a failure four.
    {"63", kCrossSumPositions2To7CheckAt8, &Method63,
           MovingShortAccounts(CompileSumTable(kCrossSumPositions2To7CheckAt8), 3, 2, 2)},
    {"64", {RangeLeftToRight(7, 1, 6),  {9, 10, 5, 8, 4, 2},                  {Check::Mod11}}},
    {"65", kNoRecipe, &Method65},
    {"65Art9", kCrossSumPositions1To10CheckAt8},
    {"65Standard", kCrossSumPositions1To7CheckAt8},
    {"66", kMethod66Recipe, &Method66},
    {"67", kCrossSumPositions1To7CheckAt8},
    {"68", kNoRecipe, &Method68},
    {"68stell10", kCrossSumPositions4To9},
    {"68Variante1", {Range(10, 2, 9),   {2, 1, 2, 1, 2, 1, 2, 1},             {Check::CrossSum, 10}}},
    // Positions 3 and 4 take no part.
    {"68Variante2", {Range(10, 2, 9),   {2, 1, 2, 1, 2, 0, 0, 1},             {Check::CrossSum, 10}}},
    {"69", kNoRecipe, &Method69},
    {"69Variante1", {Range(8, 1, 7),    {2, 3, 4, 5, 6, 7, 8},                {Check::Mod11}}},
    {"69Variante2", {Standard(),        {},                                   {Check::TransformTable}}},
    {"71", {RangeLeftToRight(10, 2, 7), {6, 5, 4, 3, 2, 1},                   {Check::Mod11OneForTen}}},
    {"72", kCrossSumPositions4To9},
    {"73", kNoRecipe, &Method73},
    {"73Variante1", kCrossSumPositions4To9},
    {"73Variante2", kCrossSumPositions5To9},
    // Modulus 7: check digits 7, 8 and 9 never match.
    {"73Variante3", {Range(10, 5, 9),   {2, 1, 2, 1, 2},                      {Check::CrossSum, 7}}},
    {"74", kMethod74Recipe},
    {"75", kNoRecipe, &Method75},
    {"75stellen6_7", kCrossSumPositions5To9},
    {"75stellen9a", kCrossSumPositions3To7CheckAt8},
    {"75stellen9b", {RangeLeftToRight(7, 2, 6), {2, 1, 2, 1, 2},              {Check::CrossSum, 10}}},
    // The remainder is the check digit; remainder 10 matches none, and ten-digit
    // accounts beginning with 1, 2, 3 or 5 are invalid.
    {"76", kMethod76Recipe, &Method76, WithRetry(kMethod76Recipe, 2, RetryFit::SignificantDigits)},
    {"78", {Standard(),                 {2, 1, 2, 1, 2, 1, 2, 1, 2},          {Check::CrossSum, 10}}, &Method78},
});

// What the current rules change or add.
inline constexpr auto kCurrentMethods60To79 = std::to_array<MethodRow>({
    // key           record                       weights, from entry 1         check
    {"66",          kMethod66Recipe, &Method66Current},
    {"70",          kNoRecipe, &Method70},
    {"74",          kNoRecipe, &Method74Current},
    {"74Variante1", kMethod74Recipe},
    {"74Variante2", kMethod04Recipe},
    {"77",          kNoRecipe, &Method77},
    // Positions 6 to 10 weighted 5, 4, 3, 2, 1, then 5, 4, 3, 4, 5: the sum, check
    // digit included, must be a multiple of 11.
    {"77Variante1", {WeightedWithCheckDigit(6, 10), {5, 4, 3, 2, 1},            {Check::Mod11Divisible}}},
    {"77Variante2", {WeightedWithCheckDigit(6, 10), {5, 4, 3, 4, 5},            {Check::Mod11Divisible}}},
    {"79",          kNoRecipe, &Method79},
    {"79Variante1", kAlternatingCrossSum},
    // Method 00 on positions 1 to 8, the check digit at position 9.
    {"79Variante2", {Range(9, 1, 8),               {2, 1, 2, 1, 2, 1, 2, 1},     {Check::CrossSum, 10}}},
});
// clang-format on

}  // namespace tavrel::engine
