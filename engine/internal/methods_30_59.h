// Methods 30 to 59 and their variant keys ("51MethodeA" to "51MethodeCAusnahme2",
// "Eser", "57Variante1", "57Variante2", "57Variante4").
#pragma once

#include <array>
#include <string_view>

#include "method_table.h"
#include "shared_recipes.h"

namespace tavrel::engine {

int Method41(const Call& call);
int Method45(const Call& call);
int Method45Current(const Call& call);
int Method49(const Call& call);
int Method50(const Call& call);
int Method51(const Call& call);
int Method51Current(const Call& call);
int Method51C(const Call& call);
int Method52(const Call& call);
int Method53(const Call& call);
int MethodEser(const Call& call);
int Method54(const Call& call);
int Method57(const Call& call);
int Method57Current(const Call& call);
int Method57Variant1(const Call& call);
int Method57Variant4(const Call& call);
int Method59(const Call& call);

// The Bundesbank's ledger accounts (position 3 is 9): "51MethodeCAusnahme1", then
// "51MethodeCAusnahme2". `account` is the ten-digit form.
int RunLedgerAccountChecks(Caller caller, std::string_view account);

// A ledger account takes the ledger checks; any other the keys in order.
int RunLedgerOrSequence(const Call& call, std::initializer_list<MethodKey> keys);

// Recipes that several keys share.
inline constexpr Recipe kPowersOfTwoPositions5To9{
    Range(10, 5, 9), {2, 4, 8, 5, 10}, {Check::Mod11}};

inline constexpr Recipe kMethod50Recipe{Range(7, 1, 6), {2, 3, 4, 5, 6, 7}, {Check::Mod11}};
// 2009's method 51 C, the current rules' D.
inline constexpr Recipe kMethod51CRecipe{Range(10, 5, 9), {2, 3, 4, 5, 6}, {Check::Mod7}};

// clang-format off
inline constexpr auto kMethods30To59 = std::to_array<MethodRow>({
    // key  record                      weights, from entry 1                 check
    {"30", {RangeLeftToRight(10, 1, 9), {2, 0, 0, 0, 0, 1, 2, 1, 2},          {Check::WeightedSum, 10}}},
    {"31", {Standard(),                 {9, 8, 7, 6, 5, 4, 3, 2, 1},          {Check::Mod11Remainder}}},
    {"32", kMod11Positions4To9},
    {"33", kMod11Positions5To9},
    {"34", {Range(8, 1, 7),             {2, 4, 8, 5, 10, 9, 7},               {Check::Mod11}}},
    {"35", {Standard(),                 {2, 3, 4, 5, 6, 7, 8, 9, 10},         {Check::Mod11RemainderTenIsNeighbour}}},
    {"36", {Range(10, 6, 9),            {2, 4, 8, 5},                         {Check::Mod11}}},
    {"37", kPowersOfTwoPositions5To9},
    {"38", {Range(10, 4, 9),            {2, 4, 8, 5, 10, 9},                  {Check::Mod11}}},
    {"39", {Range(10, 3, 9),            {2, 4, 8, 5, 10, 9, 7},               {Check::Mod11}}},
    {"40", {Standard(),                 {2, 4, 8, 5, 10, 9, 7, 3, 6},         {Check::Mod11}}},
    {"41", kAlternatingCrossSum, &Method41},
    {"42", {Range(10, 2, 9),            {2, 3, 4, 5, 6, 7, 8, 9},             {Check::Mod11}}},
    {"43", {Standard(),                 {1, 2, 3, 4, 5, 6, 7, 8, 9},          {Check::WeightedSum, 10}}},
    {"44", kPowersOfTwoPositions5To9},
    {"45", kAlternatingCrossSum, &Method45},
    {"46", {Range(8, 3, 7),             {2, 3, 4, 5, 6},                      {Check::Mod11}}},
    {"47", {Range(9, 4, 8),             {2, 3, 4, 5, 6},                      {Check::Mod11}}},
    {"48", {Range(9, 3, 8),             {2, 3, 4, 5, 6, 7},                   {Check::Mod11}}},
    {"49", kNoRecipe, &Method49},
    {"50", kMethod50Recipe, &Method50, WithRetry(kMethod50Recipe, 3, RetryFit::AsReceived)},
    {"51", kNoRecipe, &Method51},
    {"51MethodeA", kMod11Positions4To9},
    {"51MethodeB", kMod11Positions5To9},
    {"51MethodeC", kMethod51CRecipe, &Method51C},
    {"51MethodeCAusnahme1", {Range(10, 3, 9), {2, 3, 4, 5, 6, 7, 8},          {Check::Mod11}}},
    {"51MethodeCAusnahme2", {Standard(), {2, 3, 4, 5, 6, 7, 8, 9, 10},        {Check::Mod11}}},
    {"52", kNoRecipe, &Method52},
    {"Eser", {EserLayout(),             {2, 4, 8, 5, 10, 9, 7, 3, 6, 1, 2, 4}, {Check::Eser}}, &MethodEser},
    {"53", kNoRecipe, &Method53},
    {"54", {Standard(),                 {2, 3, 4, 5, 6, 7, 2, 0, 0},          {Check::Mod11RejectLow}}, &Method54},
    {"55", {Standard(),                 {2, 3, 4, 5, 6, 7, 8, 7, 8},          {Check::Mod11}}},
    // Remainders 0 and 1 are allowed only for ten-digit accounts beginning with 9
    // (check digit 8 and 7); the rule lives in the primitive.
    {"56", {Standard(),                 {2, 3, 4, 5, 6, 7, 2, 3, 4},          {Check::Mod11NinePrefix}}},
    {"57", kNoRecipe, &Method57},
    {"57Variante1", {RangeLeftToRight(10, 1, 9), {1, 2, 1, 2, 1, 2, 1, 2, 1}, {Check::CrossSum, 10}}, &Method57Variant1},
    // The check digit is position 3; positions 1, 2 and 4 to 10 are weighted.
    {"57Variante2", {RangeLeftToRight(3, 1, 10), {1, 2, 1, 2, 1, 2, 1, 2, 1}, {Check::CrossSum, 10}}},
    {"57Variante4", {Standard(),        {},                                   {Check::DatePattern}}, &Method57Variant4},
    {"58", {Range(10, 5, 9),            {2, 3, 4, 5, 6},                      {Check::Mod11RejectTen}}},
    {"59", kAlternatingCrossSum, &Method59},
});

// What the current rules change.
inline constexpr auto kCurrentMethods30To59 = std::to_array<MethodRow>({
    {"45",          kAlternatingCrossSum, &Method45Current},
    {"51",          kNoRecipe, &Method51Current},
    // Since 2013 C is method 00 on positions 4 to 9.
    {"51MethodeC",  kCrossSumPositions4To9},
    {"51MethodeD",  kMethod51CRecipe, &Method51C},
    {"57",          kNoRecipe, &Method57Current},
});
// clang-format on

}  // namespace tavrel::engine
