// Position tables are compiled forms of recipes and of some procedures, in both
// rule generations. Each is held equal to what it replaces: the record path of
// its recipe, or the procedure of its row, on accounts of every length, random
// and built to hit the rules' corners (remainders, retries, leading zeros, the
// chosen position).
#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "engine/internal/method_table.h"
#include "engine/internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// The rows a generation defines, with the rule set their procedures run in.
struct GenerationRows {
  std::span<const MethodRow> rows;
  const RuleSet& rules;
};

std::vector<GenerationRows> BothGenerations() {
  return {{k2009Rows, Rules(Generation::k2009)}, {kCurrentRows, Rules(Generation::kCurrent)}};
}

std::span<const MethodRow> AllRows() { return k2009Rows; }

// Accounts of one to ten digits: random ones, with and without leading zeros,
// and for each random stem every last digit, so that every remainder's accepted
// check digits are met.
std::vector<std::string> Accounts() {
  std::mt19937 random(2009);
  // Fixed corners: method 99's exempt range and its neighbours, short accounts
  // that method 63 moves (positions 1 to 3 all 0) and one it does not.
  std::vector<std::string> accounts = {
      "0",         "0000000000", "9",         "9999999999", "1000000000", "0090000000", "395999999",
      "396000000", "0396000000", "499999999", "500000000",  "0001234567", "1000123456"};
  for (int i = 0; i < 600; ++i) {
    std::string stem(random() % 10, '0');
    for (char& c : stem) c = static_cast<char>('0' + random() % 10);
    if (i % 5 == 0 && stem.size() > 2) stem[0] = stem[1] = '0';
    if (i % 7 == 0 && stem.size() >= 3) stem[stem.size() - 3] = '9';
    for (char last = '0'; last <= '9'; ++last) accounts.push_back(stem + last);
  }
  return accounts;
}

// The number of recipe tables among `rows`, each checked against its record path.
int ExpectRecipeTablesMatchRecordPaths(std::span<const MethodRow> rows) {
  const std::vector<std::string> accounts = Accounts();
  int tables = 0;
  for (const MethodRow& row : rows) {
    if (!row.recipe.sums.usable) continue;
    ++tables;
    for (const std::string& account : accounts) {
      for (std::size_t zeros = 0; account.size() + zeros <= 10 && zeros <= 4; ++zeros) {
        int fromTable = 99;
        EXPECT_TRUE(RunSumTable(row.recipe.sums, account, zeros, fromTable));
        const std::string moved = account + std::string(zeros, '0');
        EXPECT_EQ(fromTable, RunRecipe(row.recipe.recipe, moved))
            << "key " << row.key << ", account " << moved;
      }
    }
  }
  return tables;
}

TEST(SumTable, EveryRecipeTableMatchesItsRecordPath) {
  // The sum-and-modulus family covers most recipes.
  EXPECT_GT(ExpectRecipeTablesMatchRecordPaths(AllRows()), 120);
  EXPECT_GT(ExpectRecipeTablesMatchRecordPaths(kCurrentRows), 30);
}

// Only 2009's method 74 (the current rules' 74 variant 1) keeps the record path.
TEST(SumTable, EveryCurrentRecipeRowRunsAsOneTable) {
  for (const MethodRow& row : kCurrentRows) {
    if (row.run == nullptr && row.key != "74Variante1") {
      EXPECT_TRUE(row.method.usable) << row.key;
    }
  }
}

TEST(SumTable, ProceduresWithACompiledFormMatchIt) {
  const std::vector<std::string> accounts = Accounts();
  int compiled = 0;
  for (const GenerationRows& generation : BothGenerations()) {
    for (const MethodRow& row : generation.rows) {
      if (row.run == nullptr || !row.method.usable) continue;
      ++compiled;
      for (const std::string& account : accounts) {
        int fromTable = 99;
        ASSERT_TRUE(RunSumTable(row.method, account, 0, fromTable));
        EXPECT_EQ(fromTable, row.run(Call{account, {}, row.recipe, generation.rules}))
            << "key " << row.key << ", account " << account;
      }
    }
  }
  EXPECT_EQ(compiled, 6);
}

TEST(SumTable, CompiledProceduresAreUsable) {
  for (const std::string_view key : {"13", "50", "63", "76", "88", "99"}) {
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

TEST(SumTable, ExemptRangeMustBeDecidedByPositionsOneToFour) {
  const SumTable table = CompileSumTable(kMod11Positions4To9);
  EXPECT_TRUE(ExemptingRange(table, 396000000, 499999999).usable);
  EXPECT_FALSE(ExemptingRange(table, 396000001, 499999999).usable);
  EXPECT_FALSE(ExemptingRange(table, 396000000, 499999998).usable);
  EXPECT_FALSE(ExemptingRange(table, 499000000, 396999999).usable);
}

}  // namespace
}  // namespace tavrel::engine
