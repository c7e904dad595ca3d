// The single-shot commands, run through the real binary.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct CommandCase {
  std::string name;
  std::vector<std::string> args;
  int exitStatus;
  std::string out;  // expected standard output, exactly
};

class CommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, PrintsAndExits) {
  const CommandCase& c = GetParam();
  const RunResult run = RunTavrel(c.args);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  EXPECT_EQ(run.out, c.out);
}

std::string CaseName(const ::testing::TestParamInfo<CommandCase>& info) { return info.param.name; }

// 10000000 BBk Berlin uses method 09; 12030000 Deutsche Kreditbank Berlin uses 00.
const CommandCase kCheckCases[] = {
    {"Method09",
     {"check", "10000000", "1234567890"},
     0,
     "1\tg\u00fcltig (ohne Pr\u00fcfung)\tBBk Berlin\n"},
    {"Method00Valid",
     {"check", "12030000", "9290701"},
     0,
     "0\tg\u00fcltig\tDeutsche Kreditbank Berlin\n"},
    {"Method00Invalid",
     {"check", "12030000", "9290702"},
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\tDeutsche Kreditbank Berlin\n"},
    {"TrimmedBothWays",
     {"check", " 10000000\t", " 1 "},
     0,
     "1\tg\u00fcltig (ohne Pr\u00fcfung)\tBBk Berlin\n"},
    {"ZerosOnly",
     {"check", "10000000", "0000"},
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\tBBk Berlin\n"},
    {"BankCodeSevenDigits", {"check", "1000000", "1"}, 2, "-5\tBLZ nicht achtstellig!\n"},
    {"BankCodeLetters",
     {"check", "ABCDEFGH", ""},
     2,
     "-6\tBLZ enth\u00e4lt ung\u00fcltige Zeichen!\n"},
    {"AccountEmpty",
     {"check", "10000000", ""},
     2,
     "-7\tKonto hat falsche L\u00e4nge!\tBBk Berlin\n"},
    {"AccountElevenDigits",
     {"check", "10000000", "12345678901"},
     2,
     "-7\tKonto hat falsche L\u00e4nge!\tBBk Berlin\n"},
    {"AccountLetter",
     {"check", "10000000", "12a"},
     2,
     "-8\tKonto enth\u00e4lt ung\u00fcltige Zeichen!\tBBk Berlin\n"},
    {"AccountEuroSign",
     {"check", "10000000", "12\u20ac"},
     2,
     "-8\tKonto enth\u00e4lt ung\u00fcltige Zeichen!\tBBk Berlin\n"},
    {"BankCodeUnknown", {"check", "99999999", "1"}, 2, "-9\tBLZ ung\u00fcltig!\n"},
    {"AccountInvalidUtf8", {"check", "10000000", "12\xff"}, 2, ""},
    {"AccountWithoutCp1252Form", {"check", "10000000", "12\u4e2d"}, 2, ""},
    {"AccountStartingWithDashAfterDoubleDash",
     {"check", "--", "10000000", "-1"},
     2,
     "-8\tKonto enth\u00e4lt ung\u00fcltige Zeichen!\tBBk Berlin\n"},
};
INSTANTIATE_TEST_SUITE_P(Check, CommandTest, ::testing::ValuesIn(kCheckCases), CaseName);

const CommandCase kNameAndMethodCases[] = {
    {"NameFirst", {"name", "10000000"}, 0, "BBk Berlin\n"},
    {"NameWithUmlaut", {"name", "10020500"}, 0, "Bank f\u00fcr Sozialwirtschaft\n"},
    {"NameLast", {"name", "87096214"}, 0, "Volksbank Chemnitz\n"},
    {"NameUnknown", {"name", "99999999"}, 2, ""},
    {"NameTrimmedAsCheckTrims", {"name", " 10000000\t"}, 0, "BBk Berlin\n"},
    {"MethodNoCheck", {"method", "09", "1"}, 0, "1\n"},
    {"MethodWithoutBlock", {"method", "12", "1"}, 3, "-2\n"},
    {"MethodLowerCaseKey", {"method", "c6", "1"}, 3, "-2\n"},
    {"Method00Valid", {"method", "00", "9290701"}, 0, "0\n"},
    {"Method00Invalid", {"method", "00", "9290702", "12030000"}, 1, "-3\n"},
    {"MethodAccountNotDigits", {"method", "00", "92907X1"}, 1, "-3\n"},
};
INSTANTIATE_TEST_SUITE_P(NameAndMethod, CommandTest, ::testing::ValuesIn(kNameAndMethodCases),
                         CaseName);

const CommandCase kSearchCases[] = {
    {"Prefix", {"search", "1000"}, 0, "10000000 | BBk Berlin\n"},
    {"TwoTerms", {"search", "volksbank,chemnitz"}, 0, "87096214 | Volksbank Chemnitz\n"},
    {"NameWithComma", {"search", "hh, kiel"}, 0, "21050000 | HSH Nordbank HH, Kiel\n"},
    {"NoHit", {"search", ",bank"}, 1, ""},
    {"FullBankCodeIsNoSearch", {"search", "10000000"}, 1, ""},
    {"JsonPrefix",
     {"search", "--json", "1000"},
     0,
     "[\n  {\"bankCode\": \"10000000\", \"name\": \"BBk Berlin\"}\n]\n"},
    {"JsonAfterText",
     {"search", "8709621", "--json"},
     0,
     "[\n  {\"bankCode\": \"87096214\", \"name\": \"Volksbank Chemnitz\"}\n]\n"},
    {"JsonNoHit", {"search", "--json", "zzzzzz"}, 1, "[]\n"},
};
INSTANTIATE_TEST_SUITE_P(Search, CommandTest, ::testing::ValuesIn(kSearchCases), CaseName);

TEST(Search, JsonListsEveryHitAsOneObject) {
  const RunResult run = RunTavrel({"search", "--json", "bbk berlin"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out.rfind("[\n  {\"bankCode\": \"10000000\", \"name\": \"BBk Berlin\"},\n", 0), 0u)
      << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '{'), 3);
}

TEST(Search, CountGoesToStandardErrorAndNamesAreUtf8) {
  const RunResult run = RunTavrel({"search", "sozialwirtschaft"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.out.find("10020500 | Bank f\u00fcr Sozialwirtschaft\n"), std::string::npos);
  const auto lines = std::count(run.out.begin(), run.out.end(), '\n');
  EXPECT_EQ(run.err, std::to_string(lines) + " hits\n");
}

TEST(Search, TextStartingWithDashNeedsDoubleDash) {
  const RunResult run = RunTavrel({"search", "--", "-alt-"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "278 hits\n");
  EXPECT_EQ(RunTavrel({"search", "-alt-"}).exitStatus, 64);
}

struct UsageCase {
  std::string name;
  std::vector<std::string> args;
};

class UsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageTest, ExitsWith64AndExplainsOnStandardError) {
  const RunResult run = RunTavrel(GetParam().args);
  EXPECT_EQ(run.exitStatus, 64);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("usage: tavrel"), std::string::npos) << run.err;
}

const UsageCase kUsageCases[] = {
    {"NoArguments", {}},
    {"UnknownCommand", {"verify", "10000000", "1"}},
    {"UnknownOption", {"check", "--fast", "10000000", "1"}},
    {"CheckOneOperand", {"check", "10000000"}},
    {"CheckThreeOperands", {"check", "10000000", "1", "2"}},
    {"OutputOnSingleMethod", {"method", "00", "1", "-o", "out.tsv"}},
    {"NameNoOperand", {"name"}},
    {"MethodOneOperand", {"method", "00"}},
    {"MethodFourOperands", {"method", "00", "1", "10000000", "x"}},
    {"SearchTwoOperands", {"search", "a", "b"}},
    {"JsonOnCsv", {"check", "--csv", "--json"}},
    {"VersionWithCommand", {"--version", "check", "10000000", "1"}},
    {"NegativeNumberAsOption", {"method", "00", "-5"}},
};
INSTANTIATE_TEST_SUITE_P(Usage, UsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

TEST(HelpAndVersion, PrintOnStandardOutputAndSucceed) {
  const RunResult version = RunTavrel({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "tavrel 1.0.0\n");
  for (const char* option : {"--help", "-h"}) {
    const RunResult help = RunTavrel({option});
    EXPECT_EQ(help.exitStatus, 0) << option;
    EXPECT_EQ(help.err, "") << option;
    for (const char* part : {"check BANKCODE ACCOUNT", "Exit status:", "ERROR<TAB>malformed line",
                             "  -9  bank_code_unknown     BLZ ung\u00fcltig!",
                             "   1  valid_without_check   g\u00fcltig (ohne Pr\u00fcfung)"}) {
      EXPECT_NE(help.out.find(part), std::string::npos) << part;
    }
  }
}

TEST(BadArguments, InvalidUtf8IsAnInputFaultNamedOnStandardError) {
  const RunResult run = RunTavrel({"name", "\xc3"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("UTF-8"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavrel::cli::testing
