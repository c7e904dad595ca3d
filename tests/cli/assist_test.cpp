// explain, suggest, generate and selftest through the binary: what each prints,
// its exit status, and the usage errors of their options. 12030000 uses method
// 00, where 9290701 is valid.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct Case {
  std::string name;
  std::vector<std::string> args;
  int exitStatus;
  std::string outContains;
  std::string errContains = {};
};

class AssistTest : public ::testing::TestWithParam<Case> {};

TEST_P(AssistTest, PrintsAndExits) {
  const Case& c = GetParam();
  const RunResult run = RunTavrel(c.args);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.out << run.err;
  EXPECT_NE(run.out.find(c.outContains), std::string::npos) << run.out;
  EXPECT_NE(run.err.find(c.errContains), std::string::npos) << run.err;
}

const Case kCases[] = {
    {"Explain",
     {"explain", "12030000", "9290701"},
     0,
     "sum 29, modulo 10, remainder 9; check digit at position 10: 1 expected, 1 found"},
    {"ExplainInputFault",
     {"explain", "1203000", "9290701"},
     2,
     "FAILED  bank code '1203000': 7 characters, not eight"},
    {"ExplainJson",
     {"explain", "--json", "12030000", "9290702"},
     1,
     "\"code\":\"invalid_check_digit\",\"message\":\"Pr\u00fcfziffer ung\u00fcltig!\"}"},
    {"ExplainMethod", {"explain", "--method", "00", "9290701"}, 0, "method 00 on account 9290701"},
    {"ExplainCurrent",
     {"explain", "--rules", "current", "25950130", "1501824"},
     0,
     "  00: 01 did not accept the account"},
    {"SuggestTransposition", {"suggest", "12030000", "2990701"}, 1, "  9290701  positions 1 and 2"},
    {"SuggestValid", {"suggest", "12030000", "9290701"}, 0, "nothing to suggest"},
    {"SuggestNoCheckDigit", {"suggest", "10000000", "1234"}, 0, "every slip would pass"},
    {"SuggestBankCodes",
     {"suggest", "--bank-codes", "12030001", "9290701"},
     2,
     "  12030000  Deutsche Kreditbank Berlin  position 8: 0 typed as 1"},
    {"SuggestJson",
     {"suggest", "--json", "--max", "1", "12030000", "2990701"},
     1,
     "\"accounts\":[{\"account\":\"9290701\",\"slip\":\"transposition\",\"position\":1,"},
    {"GenerateTooFew", {"generate", "--method", "00", "--length", "2", "--count", "10"}, 1, ""},
    {"GenerateUnknownMethod", {"generate", "--method", "E4"}, 3, ""},
    {"GenerateUnknownBank", {"generate", "--bank", "99999999"}, 2, ""},
    {"SelfTest", {"selftest"}, 0, "current: "},
    {"SelfTestOne", {"selftest", "--rules", "2009"}, 0, "2009: "},
    {"SelfTestUnknownRules", {"selftest", "--rules", "2018"}, 64, "", "known: 2009, current, all"},
    {"ExplainWithoutAccount", {"explain", "12030000"}, 64, "", "'explain' takes BANKCODE ACCOUNT"},
    {"GenerateNeedsOne",
     {"generate", "--count", "3"},
     64,
     "",
     "one of --bank BANKCODE and --method"},
    {"GenerateBoth",
     {"generate", "--bank", "12030000", "--method", "00"},
     64,
     "",
     "one of --bank BANKCODE and --method"},
    {"MaxOfZero",
     {"suggest", "--max", "0", "12030000", "1"},
     64,
     "",
     "--max takes a number from 1"},
    {"MaxOnCheck", {"check", "--max", "3", "12030000", "1"}, 64, "", "--max applies to 'suggest'"},
    {"InvalidOnSuggest",
     {"suggest", "--invalid", "12030000", "1"},
     64,
     "",
     "--invalid applies to 'generate'"},
    {"LengthOfEleven",
     {"generate", "--method", "00", "--length", "11"},
     64,
     "",
     "--length takes a number from 1 to 10"},
};

INSTANTIATE_TEST_SUITE_P(Commands, AssistTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What generate prints checks valid through check -, and a seed repeats it.
TEST(Generate, PrintsDistinctAccountsTheBankAcceptsAndRepeatsThemForASeed) {
  const std::vector<std::string> args = {"generate", "--bank", "12030000", "--count",
                                         "20",       "--seed", "99"};
  const RunResult run = RunTavrel(args);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::vector<std::string> accounts = Lines(run.out);
  EXPECT_EQ(accounts.size(), 20U);
  EXPECT_EQ(std::set<std::string>(accounts.begin(), accounts.end()).size(), 20U);
  EXPECT_EQ(RunTavrel(args).out, run.out);
  std::string batch;
  for (const std::string& account : accounts) batch += "12030000\t" + account + "\n";
  const RunResult checked = RunTavrel({"check", "-"}, batch);
  EXPECT_EQ(checked.exitStatus, 0);
  for (const std::string& line : Lines(checked.out))
    EXPECT_NE(line.find("\t0\t"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::cli::testing
