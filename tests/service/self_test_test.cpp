// The self-test passes both generations, and a published number that a method
// stopped accepting would show as a failure.
#include <gtest/gtest.h>

#include "tavrel/service.h"

namespace tavrel::service {
namespace {

TEST(SelfTest, EveryPublishedNumberPassesInBothGenerations) {
  for (const RulesInfo& info : RuleGenerations()) {
    const SelfTestReport report = RunSelfTest(*info.rules);
    EXPECT_EQ(report.rules, info.name);
    EXPECT_GT(report.passed, 100U) << info.name;
    EXPECT_EQ(report.failed, 0U) << info.name;
    EXPECT_TRUE(report.failures.empty());
  }
}

// The 2009 rules run the numbers of the keys both generations share, and the
// 2009 verdicts of B1, C2 and C6 numbers; the current rules run all the others
// too, each valid one also under its method.
TEST(SelfTest, TheCurrentRulesRunMoreNumbersThanThe2009Rules) {
  EXPECT_GT(RunSelfTest(*FindRules("current")).passed, 2 * RunSelfTest(DefaultRules()).passed);
}

}  // namespace
}  // namespace tavrel::service
