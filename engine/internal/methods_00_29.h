// Methods 00 to 29. Code 12 has no method.
#pragma once

#include <array>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int Method08Current(const Call& call);
int Method13(const Call& call);
int Method26(const Call& call);

// clang-format off
inline constexpr auto kMethods00To29 = std::to_array<MethodRow>({
    // key  record               weights, from entry 1                check
    {"00", {Standard(),         {2, 1, 2, 1, 2, 1, 2, 1, 2},        {Check::CrossSum, 10}}},
    {"01", {Standard(),         {3, 7, 1, 3, 7, 1, 3, 7, 1},        {Check::WeightedSum, 10}}},
    {"02", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 2},        {Check::Mod11RejectTen}}},
    {"03", {Standard(),         {2, 1, 2, 1, 2, 1, 2, 1, 2},        {Check::WeightedSum, 10}}},
    {"04", kMethod04Recipe},
    {"05", {Standard(),         {7, 3, 1, 7, 3, 1, 7, 3, 1},        {Check::WeightedSum, 10}}},
    {"06", {Standard(),         {2, 3, 4, 5, 6, 7, 2, 3, 4},        {Check::Mod11}}},
    {"07", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 10},       {Check::Mod11RejectTen}}},
    {"08", {Standard(),         {2, 1, 2, 1, 2, 1, 2, 1, 2},        {Check::CrossSumFrom60000}}},
    {"09", {NoRecord(),         {},                                 {Check::NoCheckDigit}}},
    {"10", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 10},       {Check::Mod11}}},
    {"11", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 10},       {Check::Mod11NineForTen}}},
    {"13", kCrossSumPositions2To7CheckAt8, &Method13,
           WithRetry(kCrossSumPositions2To7CheckAt8, 2, RetryFit::AsReceived)},
    {"14", {Range(10, 4, 9),    {2, 3, 4, 5, 6, 7},                 {Check::Mod11RejectTen}}},
    {"15", {Range(10, 6, 9),    {2, 3, 4, 5},                       {Check::Mod11}}},
    {"16", {Standard(),         {2, 3, 4, 5, 6, 7, 2, 3, 4},        {Check::Mod11EqualNeighbours}}},
    {"17", {RangeLeftToRight(8, 2, 7), {1, 2, 1, 2, 1, 2},          SumMinusOne({2, 4, 6})}},
    {"18", {Standard(),         {3, 9, 7, 1, 3, 9, 7, 1, 3},        {Check::WeightedSum, 10}}},
    {"19", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 1},        {Check::Mod11}}},
    {"20", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 3},        {Check::Mod11}}},
    {"21", {Standard(),         {2, 1, 2, 1, 2, 1, 2, 1, 2},        {Check::IteratedCrossSum}}},
    {"22", {Standard(),         {3, 1, 3, 1, 3, 1, 3, 1, 3},        {Check::UnitsSum}}},
    {"23", {Range(7, 1, 6),     {2, 3, 4, 5, 6, 7},                 {Check::Mod11EqualNeighbours}}},
    {"24", {Standard(),         {1, 2, 3, 1, 2, 3, 1, 2, 3},        {Check::IncrementedProduct}}},
    {"25", {Standard(),         {2, 3, 4, 5, 6, 7, 8, 9, 0},        {Check::Mod11WorkDigit}}},
    {"26", {Range(8, 1, 7),     {2, 3, 4, 5, 6, 7, 2},              {Check::Mod11}}, &Method26},
    {"27", {Standard(),         {2, 1, 2, 1, 2, 1, 2, 1, 2},        {Check::TransformTableLong}}},
    {"28", {Range(8, 1, 7),     {2, 3, 4, 5, 6, 7, 8},              {Check::Mod11}}},
    {"29", {Standard(),         {},                                 {Check::TransformTable}}},
});
// clang-format on

// What the current rules change: method 08 accepts accounts below 60000 without
// a check, where the 2009 rules reject them.
inline constexpr auto kCurrentMethods00To29 = std::to_array<MethodRow>({
    {"08", kAlternatingCrossSum, &Method08Current},
});

}  // namespace tavrel::engine
