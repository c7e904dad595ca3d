// Position tables are compiled forms of recipes and of some procedures. Each is
// held equal to what it replaces: the record path of its recipe, or the
// procedure of its row, on accounts of every length, random and built to hit
// the rules' corners (remainders, retries, leading zeros, the chosen position).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/internal/method_table.h"
#include "engine/internal/methods_00_29.h"
#include "engine/internal/methods_30_59.h"
#include "engine/internal/methods_60_79.h"
#include "engine/internal/methods_80_99.h"
#include "engine/internal/methods_a0_b9.h"
#include "engine/internal/methods_c0_d3.h"

namespace tavrel::engine {
namespace {

std::vector<MethodRow> AllRows() {
  std::vector<MethodRow> rows;
  rows.insert(rows.end(), kMethods00To29.begin(), kMethods00To29.end());
  rows.insert(rows.end(), kMethods30To59.begin(), kMethods30To59.end());
  rows.insert(rows.end(), kMethods60To79.begin(), kMethods60To79.end());
  rows.insert(rows.end(), kMethods80To99.begin(), kMethods80To99.end());
  rows.insert(rows.end(), kMethodsA0ToB9.begin(), kMethodsA0ToB9.end());
  rows.insert(rows.end(), kMethodsC0ToD3.begin(), kMethodsC0ToD3.end());
  return rows;
}

// Accounts of one to ten digits: random ones, with and without leading zeros,
// and for each random stem every last digit, so that every remainder's accepted
// check digits are met.
std::vector<std::string> Accounts() {
  std::mt19937 random(2009);
  std::vector<std::string> accounts = {"0",          "0000000000", "9",
                                       "9999999999", "1000000000", "0090000000"};
  for (int i = 0; i < 600; ++i) {
    std::string stem(random() % 10, '0');
    for (char& c : stem) c = static_cast<char>('0' + random() % 10);
    if (i % 5 == 0 && stem.size() > 2) stem[0] = stem[1] = '0';
    if (i % 7 == 0 && stem.size() >= 3) stem[stem.size() - 3] = '9';
    for (char last = '0'; last <= '9'; ++last) accounts.push_back(stem + last);
  }
  return accounts;
}

TEST(SumTable, EveryRecipeTableMatchesItsRecordPath) {
  const std::vector<std::string> accounts = Accounts();
  int tables = 0;
  for (const MethodRow& row : AllRows()) {
    if (!row.recipe.sums.usable) continue;
    ++tables;
    for (const std::string& account : accounts) {
      for (std::size_t zeros = 0; account.size() + zeros <= 10 && zeros <= 4; ++zeros) {
        int fromTable = 99;
        ASSERT_TRUE(RunSumTable(row.recipe.sums, account, zeros, fromTable));
        const std::string moved = account + std::string(zeros, '0');
        EXPECT_EQ(fromTable, RunRecipe(row.recipe.recipe, moved))
            << "key " << row.key << ", account " << moved;
      }
    }
  }
  // The sum-and-modulus family covers most recipes.
  EXPECT_GT(tables, 120);
}

TEST(SumTable, ProceduresWithACompiledFormMatchIt) {
  const std::vector<std::string> accounts = Accounts();
  int compiled = 0;
  for (const MethodRow& row : AllRows()) {
    if (row.run == nullptr || !row.method.usable) continue;
    ++compiled;
    for (const std::string& account : accounts) {
      int fromTable = 99;
      ASSERT_TRUE(RunSumTable(row.method, account, 0, fromTable));
      EXPECT_EQ(fromTable, row.run(Call{account, {}, row.recipe}))
          << "key " << row.key << ", account " << account;
    }
  }
  EXPECT_EQ(compiled, 4);
}

TEST(SumTable, CompiledProceduresAreUsable) {
  for (const std::string_view key : {"13", "50", "76", "88"}) {
    for (const MethodRow& row : AllRows()) {
      if (row.key == key) {
        EXPECT_TRUE(row.method.usable) << key;
      }
    }
  }
}

TEST(SumTable, DeclinesTextsThatAreNotOneToTenDigits) {
  const SumTable& table = kMethods00To29[0].recipe.sums;
  for (const std::string_view text : std::initializer_list<std::string_view>{
           "", "12345678901", "12a4", " 123", "123\xE4", std::string_view("1\0003", 3)}) {
    int result = 99;
    EXPECT_FALSE(RunSumTable(table, text, 0, result)) << text;
    EXPECT_EQ(result, 99);
  }
  int result = 99;
  EXPECT_FALSE(RunSumTable(table, "123456789", 2, result)) << "moved beyond ten digits";
}

TEST(SumTable, ChoiceOfTablesThatDifferElsewhereIsUnusable) {
  // Positions 4 to 9 against positions 5 to 9: they differ at position 4 and at
  // the weights of every shared position, so no single position decides.
  EXPECT_FALSE(ChooseByPosition(3, 9, kMod11Positions4To9, kMod11Positions5To9).usable);
  EXPECT_TRUE(ChooseByPosition(3, 9, kMod11Positions3To9, kMod11Positions4To9).usable);
}

}  // namespace
}  // namespace tavrel::engine
