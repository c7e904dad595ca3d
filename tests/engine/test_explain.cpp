// Explanations run the record path, never the position tables: their verdict is
// held to ComputeMethod's for every key of both generations, and their figures
// to sums worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

const RuleSet& Current() { return Rules(Generation::kCurrent); }
const RuleSet& Of2009() { return Rules(Generation::k2009); }

// Every other account is checked with a bank code, for the keys that convert it.
class ExplainEveryKey : public ::testing::TestWithParam<Generation> {};

TEST_P(ExplainEveryKey, VerdictIsComputeMethods) {
  const RuleSet& rules = Rules(GetParam());
  const std::vector<std::string> accounts = testing::EquivalenceCorpus();
  for (std::string_view key : Keys(rules)) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      const std::string_view bankCode = i % 2 == 0 ? "" : "80053782";
      const int expected = ComputeMethod(accounts[i], key, bankCode, rules);
      ASSERT_EQ(ValueOf(Explain(key, accounts[i], bankCode, rules).result), expected)
          << NameOf(rules) << " " << key << " " << accounts[i] << " " << bankCode;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, ExplainEveryKey, ::testing::ValuesIn(kGenerations),
                         [](const auto& info) { return std::string(NameOf(Rules(info.param))); });

// 1234567897 under method 00: positions 9 to 1 give 18 (9), 8, 14 (5), 6, 10 (1),
// 4, 6, 2, 2: sum 43, remainder 3, check digit 7.
TEST(Explain, ShowsEveryProductWithItsDigitSumAndTheExpectedCheckDigit) {
  const Explanation explanation = Explain("00", "1234567897", {}, Of2009());
  ASSERT_EQ(explanation.steps.size(), 1U);
  ASSERT_EQ(explanation.steps[0].computations.size(), 1U);
  const ExplainedComputation& c = explanation.steps[0].computations[0];
  EXPECT_EQ(c.form, "1234567897");
  ASSERT_EQ(c.terms.size(), 9U);
  const ExplainedTerm& nine = c.terms[0];
  EXPECT_EQ(std::vector<int>({nine.position, nine.digit, nine.weight, nine.product, nine.added}),
            std::vector<int>({9, 9, 2, 18, 9}));
  EXPECT_EQ(c.terms[8].position, 1);
  EXPECT_EQ(std::vector<int>({c.sum, c.modulus, c.remainder, c.checkPosition, c.checkDigit}),
            std::vector<int>({43, 10, 3, 10, 7}));
  EXPECT_EQ(c.accepted, 1U << 7);
  EXPECT_EQ(explanation.result, Outcome::kValid);
}

TEST(Explain, NamesTheCheckDigitsPlaceOfEachRule) {
  struct Case {
    std::string_view key;
    std::string_view account;
    std::string_view bankCode;
    int checkPosition;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"34", "1234567100", {}, 8},
           {"57Variante2", "1224567890", {}, 3},
           {"91Variante3", "1234567890", {}, 7},
           // The converted number takes the check digit from position 4.
           {"52", "10345678", "12345678", 4},
           {"77Variante1", "10338", {}, 0},
       }) {
    const Explanation explanation = Explain(c.key, c.account, c.bankCode, Current());
    ASSERT_FALSE(explanation.steps.empty()) << c.key;
    const ExplainedStep& last = explanation.steps.back();
    ASSERT_EQ(last.computations.size(), 1U) << c.key;
    EXPECT_EQ(last.computations[0].checkPosition, c.checkPosition) << c.key;
  }
}

// Method 51 on 1234567892: A expects 7, B accepts the 2, C is not needed, and
// the ledger keys belong to accounts with 9 at position 3.
TEST(Explain, ListsTheKeysOfASequenceThatRanAndThoseSkipped) {
  const Explanation explanation = Explain("51", "1234567892", {}, Of2009());
  std::vector<std::string> seen;
  for (const ExplainedStep& step : explanation.steps) {
    seen.push_back(step.key + "/" + std::to_string(step.depth) + (step.ran ? "" : "/skipped"));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"51/0", "51MethodeA/1", "51MethodeB/1",
                                            "51MethodeC/1/skipped", "51MethodeCAusnahme1/1/skipped",
                                            "51MethodeCAusnahme2/1/skipped"}));
  EXPECT_EQ(explanation.steps[1].result, Outcome::kInvalidCheckDigit);
  EXPECT_EQ(explanation.steps[2].reason, "51MethodeA did not accept the account");
  EXPECT_EQ(explanation.steps[3].reason, "51MethodeB accepted the account");
  EXPECT_EQ(explanation.steps[4].reason, "taken when position 3 is 9: a ledger account");
}

TEST(Explain, ARetryIsASecondComputationOfTheMovedForm) {
  const Explanation retried = Explain("13", "234609", {}, Of2009());
  ASSERT_EQ(retried.steps.size(), 1U);
  const auto& computations = retried.steps[0].computations;
  ASSERT_EQ(computations.size(), 2U);
  EXPECT_EQ(computations[0].form, "0000234609");
  EXPECT_EQ(computations[0].result, Outcome::kInvalidCheckDigit);
  EXPECT_EQ(computations[1].form, "0023460900");
  EXPECT_EQ(computations[1].reason, "the first try failed; moved 2 places left");
  EXPECT_EQ(retried.result, Outcome::kValid);

  const Explanation noRoom = Explain("13", "000234609", {}, Of2009());
  EXPECT_EQ(noRoom.steps[0].computations.size(), 1U);
  EXPECT_EQ(noRoom.steps[0].notes.size(), 1U);
}

TEST(Explain, DecisionsWithoutComputationAreNoted) {
  struct Case {
    std::string_view key;
    std::string_view account;
    Outcome result;
    std::string_view note;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"45", "0123456789", Outcome::kValid, "position 1 is 0: no check digit"},
           {"12", "1234567897", Outcome::kMethodNotFound, "the 2009 rules have no method 12"},
           {"00", "12a4", Outcome::kInvalidCheckDigit, "the account is not one to ten digits"},
       }) {
    const Explanation explanation = Explain(c.key, c.account, {}, Of2009());
    EXPECT_EQ(explanation.result, c.result) << c.key;
    ASSERT_EQ(explanation.steps.size(), 1U) << c.key;
    EXPECT_TRUE(explanation.steps[0].computations.empty()) << c.key;
    EXPECT_EQ(explanation.steps[0].notes, std::vector<std::string>{std::string(c.note)}) << c.key;
  }
}

}  // namespace
}  // namespace tavrel::engine
