// Recipes that rows of several code ranges share, the current rules' rows among
// them: one definition each, however many keys run it.
#pragma once

#include <string_view>

#include "recipe.h"

namespace tavrel::engine {

// Method 00: weights 2, 1, 2, ... from the right, products of 10 or more by
// their digit sum, the check digit completing the sum to a multiple of 10.
inline constexpr Recipe kAlternatingCrossSum{
    Standard(), {2, 1, 2, 1, 2, 1, 2, 1, 2}, {Check::CrossSum, 10}};
// Method 04: weights 2 to 7, then 2 to 4; remainder 1 has no check digit.
inline constexpr Recipe kMethod04Recipe{
    Standard(), {2, 3, 4, 5, 6, 7, 2, 3, 4}, {Check::Mod11RejectTen}};

// Method 00's computation over a block of positions. The weights read the same
// from either end, so keys whose positions are listed left to right and keys
// listed right to left share one recipe.
inline constexpr Recipe kCrossSumPositions2To7CheckAt8{
    Range(8, 2, 7), {2, 1, 2, 1, 2, 1}, {Check::CrossSum, 10}};
inline constexpr Recipe kCrossSumPositions4To9{
    Range(10, 4, 9), {2, 1, 2, 1, 2, 1}, {Check::CrossSum, 10}};
inline constexpr Recipe kCrossSumPositions5To9{
    Range(10, 5, 9), {2, 1, 2, 1, 2}, {Check::CrossSum, 10}};
// Weights 2, 1, 2, 1, 2 on positions 5 to 9, the plain products summed.
inline constexpr Recipe kPlainMod10Positions5To9{
    Range(10, 5, 9), {2, 1, 2, 1, 2}, {Check::WeightedSum, 10}};

// Mod 11 with weights 2, 3, 4, ... from position 9 leftwards.
inline constexpr Recipe kMod11Positions3To9{Range(10, 3, 9), {2, 3, 4, 5, 6, 7, 8}, {Check::Mod11}};
inline constexpr Recipe kMod11Positions4To9{Range(10, 4, 9), {2, 3, 4, 5, 6, 7}, {Check::Mod11}};
inline constexpr Recipe kMod11Positions5To9{Range(10, 5, 9), {2, 3, 4, 5, 6}, {Check::Mod11}};
// The same weights mod 7: a check digit is 0 to 6, so check digits 7, 8 and 9
// are rejected whatever the sum.
inline constexpr Recipe kMod7Positions4To9{
    Range(10, 4, 9), {2, 3, 4, 5, 6, 7}, {Check::WeightedSum, 7}};
inline constexpr Recipe kMod7Positions5To9{
    Range(10, 5, 9), {2, 3, 4, 5, 6}, {Check::WeightedSum, 7}};

// Method 00's computation over fifteen digits: a constant followed by positions
// 2 to 9 (entries 1 to 8, the constant from entry 9), or by positions 1 to 9
// (entries 1 to 9; their weights read the same either way).
inline constexpr Weights kAlternatingFifteen = {2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};

constexpr Recipe ConstantBeforePositions2To9(std::string_view constant) {
  return {Range(10, 2, 9), kAlternatingFifteen, CrossSumWithConstant(constant, 9)};
}
constexpr Recipe ConstantBeforePositions1To9(std::string_view constant) {
  return {RangeLeftToRight(10, 1, 9), kAlternatingFifteen, CrossSumWithConstant(constant, 10)};
}

}  // namespace tavrel::engine
