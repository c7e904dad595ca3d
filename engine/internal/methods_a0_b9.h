// Methods A0 to B9 and their variant keys. Codes A4, B0 and B4 have no method in
// the 2009 rules; the current rules have them again.
#pragma once

#include <array>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int MethodA0Current(const Call& call);
int MethodA1(const Call& call);
int MethodA2(const Call& call);
int MethodA3(const Call& call);
int MethodA4(const Call& call);
int MethodA5(const Call& call);
int MethodA6(const Call& call);
int MethodA7(const Call& call);
int MethodA8(const Call& call);
int MethodA9(const Call& call);
int MethodB0(const Call& call);
int MethodB1(const Call& call);
int MethodB1Current(const Call& call);
int MethodB2(const Call& call);
int MethodB3(const Call& call);
int MethodB4(const Call& call);
int MethodB5(const Call& call);
int MethodB6(const Call& call);
int MethodB6Current(const Call& call);
int MethodB7(const Call& call);
int MethodB8(const Call& call);
int MethodB8Current(const Call& call);
int MethodB9(const Call& call);

inline constexpr Recipe kMethodA0Recipe{Standard(), {2, 4, 8, 5, 10}, {Check::Mod11}};

// clang-format off
inline constexpr auto kMethodsA0ToB9 = std::to_array<MethodRow>({
    // key           record             weights, from entry 1                check
    {"A0",          kMethodA0Recipe},
    {"A1",          {Standard(),       {2, 1, 2, 1, 2, 1, 2, 0, 0},         {Check::CrossSum, 10}}, &MethodA1},
    {"A2",          kNoRecipe, &MethodA2},
    {"A2Variante1", {Standard(),       {2, 1, 2, 1, 2, 1, 2, 1, 2},         {Check::CrossSum, 10}}},
    {"A2Variante2", {Standard(),       {2, 3, 4, 5, 6, 7, 2, 3, 4},         {Check::Mod11RejectTen}}},
    {"A3",          kNoRecipe, &MethodA3},
    {"A3Variante1", {Standard(),       {2, 1, 2, 1, 2, 1, 2, 1, 2},         {Check::CrossSum, 10}}},
    {"A3Variante2", {Standard(),       {2, 3, 4, 5, 6, 7, 8, 9, 10},        {Check::Mod11}}},
    {"A5",          kNoRecipe, &MethodA5},
    {"A5Variante1", {Standard(),       {2, 1, 2, 1, 2, 1, 2, 1, 2},         {Check::CrossSum, 10}}},
    {"A5Variante2", {Standard(),       {2, 3, 4, 5, 6, 7, 8, 9, 10},        {Check::Mod11}}},
    {"A6",          kNoRecipe, &MethodA6},
    {"A7",          kNoRecipe, &MethodA7},
    {"A8",          kNoRecipe, &MethodA8},
    {"A8Variante1", {Range(10, 4, 9),  {2, 3, 4, 5, 6, 7},                  {Check::Mod11}}},
    {"A8Variante2", {Range(10, 4, 9),  {2, 1, 2, 1, 2, 1},                  {Check::CrossSum, 10}}},
    {"A9",          kNoRecipe, &MethodA9},
    {"B1",          kNoRecipe, &MethodB1},
    {"B2",          kNoRecipe, &MethodB2},
    {"B3",          kNoRecipe, &MethodB3},
    {"B5",          kNoRecipe, &MethodB5},
    {"B5Variante1", {Standard(),       {7, 3, 1, 7, 3, 1, 7, 3, 1},         {Check::WeightedSum, 10}}},
    {"B6",          kNoRecipe, &MethodB6},
    {"B7",          {Standard(),       {3, 7, 1, 3, 7, 1, 3, 7, 1},         {Check::WeightedSum, 10}}, &MethodB7},
    {"B8",          kNoRecipe, &MethodB8},
    {"B9",          kNoRecipe, &MethodB9},
    {"B9Variante1", {Range(10, 3, 9),  {1, 3, 2, 1, 3, 2, 1},               {Check::IncrementedProductPlusFive}}},
    {"B9Variante2", {Range(10, 4, 9),  {1, 2, 3, 4, 5, 6},                  {Check::Mod11RemainderPlusFive}}},
});
// clang-format on

// What the current rules change or add.
inline constexpr auto kCurrentMethodsA0ToB9 = std::to_array<MethodRow>({
    {"A0", kMethodA0Recipe, &MethodA0Current},
    {"A4", kNoRecipe, &MethodA4},
    {"A4Variante1", kMod11Positions4To9},
    {"A4Variante2", kMod7Positions4To9},
    {"A4Variante3", kMod11Positions5To9},
    {"B0", kNoRecipe, &MethodB0},
    {"B1", kNoRecipe, &MethodB1Current},
    {"B4", kNoRecipe, &MethodB4},
    {"B6", kNoRecipe, &MethodB6Current},
    {"B8", kNoRecipe, &MethodB8Current},
});

}  // namespace tavrel::engine
