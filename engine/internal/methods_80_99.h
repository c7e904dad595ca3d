// Methods 80 to 99 and their variant keys ("80MethodeA" to "96Variante2").
// Codes 82, 83, 89, 93 and 97 have no method in the 2009 rules; the current rules
// have them again.
#pragma once

#include <array>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

inline constexpr Recipe kMethod99Recipe{Standard(), {2, 3, 4, 5, 6, 7, 2, 3, 4}, {Check::Mod11}};

int Method80(const Call& call);
int Method81(const Call& call);
int Method82(const Call& call);
int Method83(const Call& call);
int Method84(const Call& call);
int Method84Current(const Call& call);
int Method85(const Call& call);
int Method86(const Call& call);
int Method87(const Call& call);
int Method87Current(const Call& call);
int Method88(const Call& call);
int Method89(const Call& call);
int Method90(const Call& call);
int Method90Current(const Call& call);
int Method91(const Call& call);
int Method93(const Call& call);
int Method95Current(const Call& call);
int Method96(const Call& call);
int Method98(const Call& call);
int Method99(const Call& call);

// Four ranges of accounts are valid without check.
inline constexpr Recipe kMethod95Recipe{
    Standard(), {2, 3, 4, 5, 6, 7, 2, 3, 4}, {Check::RangeExemptMod11}};

// clang-format off
inline constexpr auto kMethods80To99 = std::to_array<MethodRow>({
    // key           record                 weights, from entry 1               check
    {"80",          kNoRecipe, &Method80},
    {"80MethodeA",  {Range(10, 5, 9),      {2, 1, 2, 1, 2},                    {Check::CrossSum, 10}}},
    {"80MethodeB",  {Range(10, 5, 9),      {2, 1, 2, 1, 2},                    {Check::CrossSum, 7}}},
    {"81",          kNoRecipe, &Method81},
    {"84",          kNoRecipe, &Method84},
    {"84MethodeB",  kMod7Positions5To9},
    {"85",          kNoRecipe, &Method85},
    {"85MethodeA",  kMod11Positions4To9},
    {"85MethodeB",  kMod11Positions5To9},
    {"85MethodeC",  kMod7Positions5To9},
    {"85Ausnahme",  {Range(10, 3, 9),      {2, 3, 4, 5, 6, 7, 8},              {Check::Mod11RejectTen}}},
    {"86",          kNoRecipe, &Method86},
    {"86MethodeA",  {Range(10, 4, 9),      {2, 1, 2, 1, 2, 1},                 {Check::CrossSum, 10}}},
    // Positions 9 to 4 weighed 2 to 7, positions 3 to 1 weighed 0.
    {"86MethodeB",  kMod11Positions4To9},
    {"87",          kNoRecipe, &Method87},
    {"87MethodeA",  {Forward(),            {},                                 {Check::AlternatingTable}}},
    {"87MethodeB",  kMod11Positions5To9},
    {"87MethodeC",  kMod7Positions5To9},
    {"88",          kMod11Positions4To9, &Method88, ChooseByPosition(3, 9, kMod11Positions3To9, kMod11Positions4To9)},
    {"88Ausnahme",  kMod11Positions3To9},
    {"90",          kNoRecipe, &Method90},
    {"90MethodeA",  kMod11Positions4To9},
    {"90MethodeB",  kMod11Positions5To9},
    {"90MethodeC",  kMod7Positions5To9},
    // A mod-9 check digit is 0 to 8: check digit 9 is always rejected.
    {"90MethodeD",  {Range(10, 5, 9),      {2, 3, 4, 5, 6},                    {Check::WeightedSum, 9}}},
    {"90MethodeE",  kPlainMod10Positions5To9},
    {"90MethodeF",  kMod11Positions3To9},
    {"91",          kNoRecipe, &Method91},
    // The variants of method 91 compare with position 7.
    {"91Variante1", {Range(7, 1, 6),       {2, 3, 4, 5, 6, 7},                 {Check::Mod11}}},
    {"91Variante2", {Range(7, 1, 6),       {7, 6, 5, 4, 3, 2},                 {Check::Mod11}}},
    // Weights for positions 10 to 1; position 7 itself is weighed 0.
    {"91Variante3", {Forward(),            {2, 3, 4, 0, 5, 6, 7, 8, 9, 10},    {Check::Mod11SeventhPosition}}},
    {"91Variante4", {Range(7, 1, 6),       {2, 4, 8, 5, 10, 9},                {Check::Mod11}}},
    {"92",          {Range(10, 4, 9),      {3, 7, 1, 3, 7, 1},                 {Check::WeightedSum, 10}}},
    {"94",          {Standard(),           {1, 2, 1, 2, 1, 2, 1, 2, 1},        {Check::CrossSum, 10}}},
    {"95",          kMethod95Recipe},
    {"96",          kNoRecipe, &Method96},
    {"96Variante1", {Standard(),           {2, 3, 4, 5, 6, 7, 8, 9, 1},        {Check::Mod11}}},
    {"96Variante2", kAlternatingCrossSum},
    {"98",          {Range(10, 3, 9),      {3, 1, 7, 3, 1, 7, 3},              {Check::WeightedSum, 10}}, &Method98},
    {"99",          kMethod99Recipe, &Method99, ExemptingRange(CompileSumTable(kMethod99Recipe), 396000000, 499999999)},
});

// What the current rules change or add.
inline constexpr auto kCurrentMethods80To99 = std::to_array<MethodRow>({
    // key           record                 weights, from entry 1               check
    {"82",          kNoRecipe, &Method82},
    {"83",          kNoRecipe, &Method83},
    {"83Ausnahme",  kMod11Positions3To9},
    {"83MethodeC",  kMod7Positions5To9},
    {"84",          kNoRecipe, &Method84Current},
    {"84MethodeC",  kPlainMod10Positions5To9},
    {"87",          kNoRecipe, &Method87Current},
    {"87MethodeD",  kMod11Positions4To9},
    // Weights 2 to 7 on positions 4 to 9, the products by their digit sums.
    {"89",          {Range(10, 4, 9),      {2, 3, 4, 5, 6, 7},                 {Check::Mod11OfDigitSums}}, &Method89},
    {"90",          kNoRecipe, &Method90Current},
    {"90MethodeG",  {Range(10, 4, 9),      {2, 1, 2, 1, 2, 1},                 {Check::WeightedSum, 7}}},
    {"93",          kNoRecipe, &Method93},
    // The customer number at positions 5 to 9, weights 2 to 6: mod 11, then mod 7.
    {"93Variante1", kMod11Positions5To9},
    {"93Variante2", kMod7Positions5To9},
    {"95",          kMethod95Recipe, &Method95Current},
    // The value of positions 1 to 9 modulo 11 (powers of ten are 1 and 10 modulo
    // 11 in turn) is the check digit; 0 for remainder 10.
    {"97",          {Range(10, 1, 9),      {1, 10, 1, 10, 1, 10, 1, 10, 1},    {Check::Mod11RemainderTenIsZero}}},
});
// clang-format on

}  // namespace tavrel::engine
