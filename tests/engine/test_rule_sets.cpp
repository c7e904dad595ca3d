// The two rule generations as values, the generation in force on a date, and the
// overlay: keys the current rules leave alone run exactly as in 2009, and every
// key they override runs differently somewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "engine/internal/rule_rows.h"
#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using namespace std::chrono_literals;

const RuleSet& Current() { return Rules(Generation::kCurrent); }
const RuleSet& Of2009() { return Rules(Generation::k2009); }

TEST(RuleSets, AreNamedDatedAndFoundByName) {
  EXPECT_EQ(NameOf(Of2009()), "2009");
  EXPECT_EQ(NameOf(Current()), "current");
  EXPECT_EQ(GenerationOf(Current()), Generation::kCurrent);
  EXPECT_EQ(ValidFrom(Of2009()), 2009y / 9 / 7);
  EXPECT_EQ(ValidFrom(Current()), 2018y / 6 / 4);
  EXPECT_EQ(FindRules("2009"), &Of2009());
  EXPECT_EQ(FindRules("current"), &Current());
  for (std::string_view name :
       {std::string_view{}, std::string_view{"Current"}, std::string_view{"2009 "},
        std::string_view{"2018"}, std::string_view{"current\0", 8}}) {
    EXPECT_EQ(FindRules(name), nullptr) << name;
  }
}

TEST(RuleSets, CurrentKeysAreThe2009KeysAndTheNewOnes) {
  const auto old = Keys(Of2009());
  const auto now = Keys(Current());
  EXPECT_EQ(old.size(), Keys().size());
  EXPECT_EQ(now.size(), old.size() + 48);
  EXPECT_EQ(now.front(), "09");
  for (std::string_view key : old) {
    EXPECT_NE(std::find(now.begin(), now.end(), key), now.end()) << key;
  }
  EXPECT_EQ(std::set<std::string_view>(now.begin(), now.end()).size(), now.size());
  const auto codes = MethodCodes(Current());
  EXPECT_EQ(codes.size(), 144U);  // 00 to E4 but 12
  EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
  EXPECT_EQ(MethodCodes(Of2009()).size(), 122U);
}

TEST(RuleSets, InForceOnADate) {
  struct Case {
    std::chrono::year_month_day date;
    const RuleSet& rules;
    bool note;
  };
  for (const Case& c : std::initializer_list<Case>{{2009y / 1 / 1, Of2009(), true},
                                                   {2009y / 9 / 7, Of2009(), false},
                                                   {2010y / 6 / 6, Of2009(), false},
                                                   {2010y / 6 / 7, Current(), true},
                                                   {2018y / 6 / 3, Current(), true},
                                                   {2018y / 6 / 4, Current(), false},
                                                   {2026y / 3 / 9, Current(), false}}) {
    const RulesInForce inForce = RulesInForceOn(c.date);
    EXPECT_EQ(&inForce.rules, &c.rules) << static_cast<int>(c.date.year());
    EXPECT_EQ(!inForce.note.empty(), c.note) << static_cast<int>(c.date.year());
  }
}

bool IsOverridden(std::string_view key) {
  return std::any_of(kCurrentRows.begin(), kCurrentRows.end(),
                     [key](const MethodRow& row) { return row.key == key; });
}

// D2 runs method 95, whose current form exempts a fifth range: a key the current
// rules leave alone, reaching one they change.
constexpr std::string_view kReachesAnOverride = "D2";

TEST(RuleSets, KeysLeftAloneGiveThe2009ResultsAndOverriddenKeysDiffer) {
  const std::vector<std::string> accounts = testing::EquivalenceCorpus();
  int overridden = 0;
  for (std::string_view key : Keys(Of2009())) {
    int differences = 0;
    for (const std::string& account : accounts) {
      for (std::string_view bankCode : {"", "80053782"}) {
        differences += ComputeMethod(account, key, bankCode, Of2009()) !=
                       ComputeMethod(account, key, bankCode, Current());
      }
    }
    if (IsOverridden(key)) {
      ++overridden;
      EXPECT_GT(differences, 0) << key << " is overridden but runs as in 2009";
    } else if (key != kReachesAnOverride) {
      EXPECT_EQ(differences, 0) << key << " is left alone but runs differently";
    }
  }
  EXPECT_EQ(overridden, 18);
}

// The newest bank file at hand assigns 92 method codes; the current rules have a
// method for each, where the 2009 rules lack D6 to E4 and A4.
TEST(RuleSets, EveryMethodCodeOfTheNewestBankFileHasACurrentMethod) {
  const char* shared = std::getenv("TAVREL_SHARED_DATA");
  if (shared == nullptr) GTEST_SKIP() << "TAVREL_SHARED_DATA not set";
  std::ifstream file(std::string(shared) + "/blz_20260309.txt");
  if (!file) GTEST_SKIP() << "no bank file in " << shared;
  std::set<std::string> codes;
  for (std::string line; std::getline(file, line);) {
    // One entry per bank code: its Merkmal 1 record, deleted records left out.
    if (line.size() >= 159 && line[8] == '1' && line[158] != 'D') codes.insert(line.substr(150, 2));
  }
  EXPECT_EQ(codes.size(), 92U);
  std::set<std::string> missingIn2009;
  for (const std::string& code : codes) {
    EXPECT_NE(ComputeMethod("1234567890", code, "12345678", Current()), kMethodNotFound) << code;
    if (ComputeMethod("1234567890", code, "12345678", Of2009()) == kMethodNotFound) {
      missingIn2009.insert(code);
    }
  }
  EXPECT_EQ(missingIn2009, (std::set<std::string>{"A4", "D6", "D7", "D8", "D9", "E0", "E3", "E4"}));
}

}  // namespace
}  // namespace tavrel::engine
