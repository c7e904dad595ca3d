// --rules on check and method, and the rules command, run through the binary.
// 25950130 (Sparkasse Hildesheim) uses method B1: 1501824 fails methods 05 and
// 01, which the 2009 rules try, and passes method 00, which the current rules
// try third.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct RulesCase {
  std::string name;
  std::vector<std::string> args;
  std::string input;
  int exitStatus;
  std::string out;
};

class RulesOptionTest : public ::testing::TestWithParam<RulesCase> {};

TEST_P(RulesOptionTest, RunsTheMethodsOfTheNamedGeneration) {
  const RulesCase& c = GetParam();
  const RunResult run = RunTavrel(c.args, c.input);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  EXPECT_EQ(run.out, c.out);
}

const RulesCase kRulesCases[] = {
    {"Check2009ByDefault",
     {"check", "25950130", "1501824"},
     "",
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\tSparkasse Hildesheim\n"},
    {"Check2009Named",
     {"check", "--rules", "2009", "25950130", "1501824"},
     "",
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\tSparkasse Hildesheim\n"},
    {"CheckCurrent",
     {"check", "--rules=current", "25950130", "1501824"},
     "",
     0,
     "0\tg\u00fcltig\tSparkasse Hildesheim\n"},
    {"CheckBatchCurrent",
     {"check", "-", "--rules", "current"},
     "25950130\t1501824\n",
     0,
     "25950130\t1501824\t0\tg\u00fcltig\n"},
    {"CheckCsvCurrent",
     {"check", "--csv", "--rules", "current"},
     "blz,konto\n25950130,1501824\n",
     0,
     "blz,konto,result,message\n25950130,1501824,0,g\u00fcltig\n"},
    {"MethodNewKey", {"method", "--rules", "current", "E4", "1501836"}, "", 0, "0\n"},
    {"MethodNewKeyIn2009", {"method", "E4", "1501836"}, "", 3, "-2\n"},
    {"MethodVariantKey", {"method", "--rules", "current", "51MethodeD", "101356073"}, "", 0, "0\n"},
    {"MethodBatchCurrent",
     {"method", "--rules", "current", "-"},
     "E4\t1501836\n51MethodeD\t101356073\nD4\t0359432843\n",
     0,
     "0\n0\n-3\n"},
};
INSTANTIATE_TEST_SUITE_P(Rules, RulesOptionTest, ::testing::ValuesIn(kRulesCases),
                         [](const auto& info) { return info.param.name; });

TEST(RulesCommand, ListsTheGenerationsWithDatesAndMethodCodes) {
  const RunResult run = RunTavrel({"rules"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out.rfind("2009\t2009-09-07\t00 01 02 ", 0), 0U) << run.out;
  EXPECT_NE(run.out.find(" C9 D0 D1 D2 D3\ncurrent\t2018-06-04\t00 01 "), std::string::npos);
  EXPECT_NE(run.out.find(" D9 E0 E1 E2 E3 E4\n"), std::string::npos);
  EXPECT_EQ(run.out.find(" 12 "), std::string::npos);
}

TEST(RulesCommand, JsonHasOneObjectPerGeneration) {
  const RunResult run = RunTavrel({"rules", "--json"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out.rfind("[\n  {\"name\": \"2009\", \"validFrom\": \"2009-09-07\", "
                          "\"methodCodes\": [\"00\", \"01\", ",
                          0),
            0U)
      << run.out;
  EXPECT_NE(run.out.find("\"D3\"]},\n  {\"name\": \"current\", \"validFrom\": \"2018-06-04\""),
            std::string::npos);
  EXPECT_NE(run.out.find("\"E4\"]}\n]\n"), std::string::npos);
}

TEST(RulesCommand, OnADateNamesTheGenerationInForceAndNotesWhatIsNotKept) {
  const RunResult kept = RunTavrel({"rules", "--on", "2009-12-01"});
  EXPECT_EQ(kept.exitStatus, 0);
  EXPECT_EQ(kept.out.rfind("2009\t2009-09-07\t", 0), 0U) << kept.out;
  EXPECT_EQ(kept.err, "");
  const RunResult between = RunTavrel({"rules", "--on", "2012-01-01"});
  EXPECT_EQ(between.exitStatus, 0);
  EXPECT_EQ(between.out.rfind("current\t2018-06-04\t", 0), 0U) << between.out;
  EXPECT_NE(between.err.find("only the 2009 and the current rules are kept"), std::string::npos);
  const RunResult json = RunTavrel({"rules", "--json", "--on", "2026-03-09"});
  EXPECT_EQ(json.out.rfind("{\"name\": \"current\"", 0), 0U) << json.out;
  EXPECT_NE(json.out.find("\"E4\"], \"note\": null}\n"), std::string::npos) << json.out;
}

struct UsageCase {
  std::string name;
  std::vector<std::string> args;
  std::string err;  // part of standard error
};

class RulesUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(RulesUsageTest, ExitsWith64) {
  const RunResult run = RunTavrel(GetParam().args);
  EXPECT_EQ(run.exitStatus, 64);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(GetParam().err), std::string::npos) << run.err;
}

const UsageCase kUsageCases[] = {
    {"UnknownRules", {"check", "--rules", "2018", "25950130", "1"}, "(known: 2009, current)"},
    {"RulesNameIsExact", {"method", "--rules", "Current", "00", "1"}, "unknown rules 'Current'"},
    {"RulesWithoutValue", {"check", "25950130", "1", "--rules"}, "needs a value"},
    {"RulesOnName", {"name", "--rules", "current", "25950130"}, "--rules applies to"},
    {"RulesOnSearch", {"search", "--rules", "current", "1000"}, "--rules applies to"},
    {"RulesCommandTakesNoOperand", {"rules", "current"}, "wrong number of arguments"},
    {"OnOutsideRules", {"check", "--on", "2012-01-01", "25950130", "1"}, "--on applies to"},
    {"OnNotADate", {"rules", "--on", "2012-02-30"}, "YYYY-MM-DD"},
    {"OnWrongForm", {"rules", "--on", "1.1.2012"}, "YYYY-MM-DD"},
};
INSTANTIATE_TEST_SUITE_P(Rules, RulesUsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tavrel::cli::testing
