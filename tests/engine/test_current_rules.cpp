// The current rules of the methods changed since 2009, held to the Bundesbank's
// test numbers; the 2009 rules keep their own results for the same numbers.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectPublishedNumbers;
using testing::ExpectResults;
using testing::KeyResult;
using testing::PublishedRows;

const RuleSet& Current() { return Rules(Generation::kCurrent); }
const RuleSet& Of2009() { return Rules(Generation::k2009); }

TEST(CurrentRules, ChangedMethodsAcceptAndRejectTheTestNumbers) {
  const auto changed = PublishedRows(Generation::kCurrent, testing::In2009);
  EXPECT_FALSE(changed.empty());
  ExpectPublishedNumbers(changed, Current());
}

// Where the rules say which valid result: no check digit is 1, except where the
// Bundesbank's method itself returns 0 for it (45, 57's 777777, A0).
TEST(CurrentRules, ValidWithOrWithoutCheckAsTheRulesSay) {
  constexpr int kNoCheck = kValidWithoutCheck;
  const std::vector<KeyResult> cases = {
      {"08", "59999", kNoCheck},
      {"08", "0000000001", kNoCheck},
      {"45", "4890001112", kValid},
      {"45", "0994681254", kValid},
      {"57", "5001050352", kNoCheck},  // prefix 50: method 09
      {"57", "7777778800", kValid},
      {"57", "0012345678", kInvalid},  // prefix 00
      {"66", "0983393104", kNoCheck},
      {"66", "1934567890", kNoCheck},  // the exception comes before the ten-digit rule
      {"95", "0910000000", kNoCheck},  // the fifth range
      {"95", "0989999999", kNoCheck},
      {"95", "0700000001", kNoCheck},  // still in force
      {"A0", "999", kValid},           // positions 1 to 7 zero: no check digit
      {"A0", "0000000001", kValid},
      {"B8", "5432198760", kNoCheck},
      {"B8", "9070873333", kNoCheck},
  };
  ExpectResults(cases, Current());
}

// Hand-computed: A0's weights 2, 4 give 9*2 + 9*4 = 54, remainder 10, check digit
// 1; method 08 rejects accounts below 60000. The other numbers are the
// Bundesbank's: invalid under both 2009 variants (B1, C2), or with a first digit
// that had no constant in 2009 (C6).
TEST(CurrentRules, The2009RulesKeepTheirResults) {
  const std::vector<KeyResult> cases = {
      {"08", "59999", kInvalid},
      {"A0", "999", kInvalid},
      {"57", "0012345678", kMethodNotFound},
      {"51MethodeD", "0000156071", kMethodNotFound},
      // Position 1 is 0: the converted number, which needs a bank code.
      {"B6", "0269876545", kInvalid},
  };
  ExpectResults(cases, Of2009());
  const auto published = PublishedRows(Generation::k2009, [](std::string_view) { return true; });
  EXPECT_FALSE(published.empty());
  for (const PublishedNumbers& row : published) {
    for (std::string_view account : SplitAccounts(row.invalid)) {
      EXPECT_EQ(ComputeMethod(account, row.key, row.bankCode, Of2009()), kInvalid)
          << row.key << " " << account;
    }
  }
}

// The published B6 numbers, some with the bank code their converted number needs.
TEST(CurrentRules, B6TakesMethod20ForPrefixes02691To02699AndTheConvertedNumberOtherwise) {
  const auto b6 = PublishedRows(Generation::kCurrent, [](std::string_view m) { return m == "B6"; });
  EXPECT_FALSE(b6.empty());
  for (const PublishedNumbers& row : b6) {
    for (std::string_view account : SplitAccounts(row.valid))
      EXPECT_EQ(ComputeMethod(account, "B6", row.bankCode, Current()), kValid) << account;
    for (std::string_view account : SplitAccounts(row.invalid))
      EXPECT_EQ(ComputeMethod(account, "B6", row.bankCode, Current()), kInvalid) << account;
  }
}

}  // namespace
}  // namespace tavrel::engine
