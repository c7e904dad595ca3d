// tavrel iban: single IBANs, the batch, the conversion and the CSV IBAN column,
// run through the real binary. 12030000 (Deutsche Kreditbank Berlin, BIC
// BYLADEM1001) uses method 00: 9290701 passes it, 12345678 does not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

constexpr const char* kValidDkb = "DE59120300000009290701";
constexpr const char* kFailingAccount = "DE18120300000012345678";  // a valid IBAN

struct IbanCase {
  std::string name;
  std::vector<std::string> args;
  int exitStatus;
  std::string out;
};

class IbanCommandTest : public ::testing::TestWithParam<IbanCase> {};

TEST_P(IbanCommandTest, PrintsAndExits) {
  const IbanCase& c = GetParam();
  const RunResult run = RunTavrel(c.args);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  EXPECT_EQ(run.out, c.out);
}

const IbanCase kCases[] = {
    {"GermanValid",
     {"iban", kValidDkb},
     0,
     "0\tg\u00fcltig\t0\tg\u00fcltig\tDeutsche Kreditbank Berlin\tBYLADEM1001\n"},
    {"PrintFormWithWordIban",
     {"iban", "IBAN de59 1203 0000 0009 2907 01"},
     0,
     "0\tg\u00fcltig\t0\tg\u00fcltig\tDeutsche Kreditbank Berlin\tBYLADEM1001\n"},
    {"FailingAccountIsNeverExitZero",
     {"iban", kFailingAccount},
     1,
     "0\tg\u00fcltig\t-3\tPr\u00fcfziffer ung\u00fcltig!\tDeutsche Kreditbank "
     "Berlin\tBYLADEM1001\n"},
    {"UnknownBankCode",
     {"iban", "DE44000000010000000001"},
     2,
     "0\tg\u00fcltig\t-9\tBLZ ung\u00fcltig!\t\t\n"},
    {"Checksum",
     {"iban", "DE88370400440532013000"},
     1,
     "-13\tIBAN-Pr\u00fcfsumme ung\u00fcltig!\n"},
    {"Short", {"iban", "DE8937040044053201300"}, 2, "-12\tIBAN hat falsche L\u00e4nge!\n"},
    {"LetterForZero",
     {"iban", "DE89370400440532O13000"},
     2,
     "-10\tIBAN hat ein ung\u00fcltiges Format!\n"},
    {"Country",
     {"iban", "XX89370400440532013000"},
     2,
     "-11\tIBAN-L\u00e4nderkennzeichen unbekannt!\n"},
    {"Foreign", {"iban", "GB82 WEST 1234 5698 7654 32"}, 0, "0\tg\u00fcltig\n"},
    {"FromValid",
     {"iban", "--from", "12030000", "9290701"},
     0,
     std::string("0\tg\u00fcltig\t") + kValidDkb +
         "\tDE59 1203 0000 0009 2907 01\tstandard conversion (bank code + account); the bank may "
         "use an IBAN rule of its own: confirm with the bank\n"},
    {"FromInvalidGivesNoIban",
     {"iban", "--from", "12030000", "12345678"},
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\n"},
    {"FromBadBankCode", {"iban", "--from", "1203000", "1"}, 2, "-5\tBLZ nicht achtstellig!\n"},
};

INSTANTIATE_TEST_SUITE_P(Iban, IbanCommandTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

struct UsageCase {
  std::string name;
  std::vector<std::string> args;
  std::string error;
};

class IbanUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(IbanUsageTest, IsAUsageError) {
  const RunResult run = RunTavrel(GetParam().args);
  EXPECT_EQ(run.exitStatus, 64);
  EXPECT_NE(run.err.find(GetParam().error), std::string::npos) << run.err;
}

const UsageCase kUsageCases[] = {
    {"CheckGivenAnIban",
     {"check", "DE89 3704 0044 0532 0130 00"},
     "this is an IBAN: use tavrel iban"},
    {"CheckGivenABankCode", {"check", "12030000"}, "wrong number of arguments"},
    {"FromNeedsTwo", {"iban", "--from", "12030000"}, "wrong number of arguments"},
    {"FromOnCheck", {"check", "--from", "12030000", "1"}, "--from applies to 'iban'"},
    {"IbanColumnWithBankColumn",
     {"check", "--csv", "--iban-column", "1", "--bank-column", "2"},
     "give it alone"},
};

INSTANTIATE_TEST_SUITE_P(Iban, IbanUsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

TEST(IbanBatch, AnswersEveryLineInOrder) {
  const std::string input = std::string(kValidDkb) + "\n" + kFailingAccount +
                            "\r\nDE88370400440532013000\nGB82WEST12345698765432\nDE59\t1\n";
  const std::string expected =
      std::string(kValidDkb) + "\t0\tg\u00fcltig\t0\tg\u00fcltig\n" + kFailingAccount +
      "\t0\tg\u00fcltig\t-3\tPr\u00fcfziffer ung\u00fcltig!\n"
      "DE88370400440532013000\t-13\tIBAN-Pr\u00fcfsumme ung\u00fcltig!\t\t\n"
      "GB82WEST12345698765432\t0\tg\u00fcltig\t\t\n"
      "ERROR\tmalformed line 5: expected one IBAN, no tab\n";
  for (const char* threads : {"1", "2"}) {
    const RunResult run = RunTavrel({"iban", "-", "--threads", threads}, input);
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_EQ(run.out, expected);
  }
}

TEST(IbanJson, HoldsTheGermanFindings) {
  const RunResult run = RunTavrel({"iban", "--json", "--directory", "current", kFailingAccount});
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  const nlohmann::json answer = nlohmann::json::parse(run.out);
  EXPECT_EQ(answer["code"], "valid");
  EXPECT_EQ(answer["iban"], kFailingAccount);
  EXPECT_EQ(answer["print_format"], "DE18 1203 0000 0012 3456 78");
  EXPECT_EQ(answer["country"], "DE");
  EXPECT_EQ(answer["german"]["bank_code"], "12030000");
  EXPECT_EQ(answer["german"]["account"], "12345678");
  EXPECT_EQ(answer["german"]["account_check"]["code"], "invalid_check_digit");
  EXPECT_EQ(answer["german"]["bank"]["bic"], "BYLADEM1001");

  const nlohmann::json refused = nlohmann::json::parse(RunTavrel({"iban", "--json", "D"}).out);
  EXPECT_EQ(refused["code"], "iban_length");
  EXPECT_TRUE(refused["german"].is_null());
}

TEST(IbanJson, FromNamesTheStandardConversion) {
  const RunResult run = RunTavrel({"iban", "--from", "--json", "12030000", "9290701"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json answer = nlohmann::json::parse(run.out);
  EXPECT_EQ(answer["iban"], kValidDkb);
  EXPECT_EQ(answer["conversion"], "standard");
  EXPECT_EQ(answer["bank"]["name"], "Deutsche Kreditbank Berlin");
}

// The extended file gives IBAN rules: 10000000 has 004201, 10060198 000100 ("no IBAN").
TEST(IbanFrom, NamesTheBanksOwnRule) {
  const std::string file =
      std::string(std::getenv("TAVREL_SHARED_DATA")) + "/blz_20230904_extended.txt";
  const RunResult ruled = RunTavrel({"iban", "--from", "--directory", file, "10000000", "1"});
  EXPECT_EQ(ruled.exitStatus, 0) << ruled.err;
  EXPECT_NE(ruled.out.find("\tDE"), std::string::npos) << ruled.out;
  EXPECT_NE(ruled.out.find("the bank uses IBAN rule 004201"), std::string::npos) << ruled.out;
  const RunResult refused =
      RunTavrel({"iban", "--from", "--directory", file, "10060198", "620645"});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.out.find("DE"), std::string::npos) << refused.out;
  EXPECT_NE(refused.err.find("rule 000100 gives no IBAN"), std::string::npos) << refused.err;
}

TEST(IbanCsv, ChecksTheIbanColumn) {
  const std::string expectedRows =
      std::string("a,") + kFailingAccount +
      ",0,g\u00fcltig,-3,Pr\u00fcfziffer ung\u00fcltig!\n"
      "b,DE88370400440532013000,-13,IBAN-Pr\u00fcfsumme ung\u00fcltig!,,\n";
  const std::string rows = std::string("a,") + kFailingAccount + "\nb,DE88370400440532013000\n";
  // Recognised by its header name, or chosen by number.
  const RunResult byHeader = RunTavrel({"check", "--csv"}, "Name,IBAN\n" + rows);
  EXPECT_EQ(byHeader.exitStatus, 0) << byHeader.err;
  EXPECT_EQ(byHeader.out,
            "Name,IBAN,result,message,account_result,account_message\n" + expectedRows);
  const RunResult byNumber =
      RunTavrel({"check", "--csv", "--no-header", "--iban-column", "2"}, rows);
  EXPECT_EQ(byNumber.out, expectedRows);
  // A header with bank code and account columns keeps them, IBAN column or not.
  const RunResult accounts = RunTavrel({"check", "--csv"}, "blz,konto,iban\n12030000,9290701,x\n");
  EXPECT_EQ(accounts.out, "blz,konto,iban,result,message\n12030000,9290701,x,0,g\u00fcltig\n");
}

}  // namespace
}  // namespace tavrel::cli::testing
