// The service's door to the directories: compiled-in ones by name and date,
// checks against any directory, successor findings and loaded files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

using std::chrono::year_month_day;
using namespace std::chrono_literals;

std::filesystem::path SharedData(const char* name) {
  const char* root = std::getenv("TAVREL_SHARED_DATA");
  return std::filesystem::path(root == nullptr ? "." : root) / name;
}

TEST(CompiledDirectories, AreFoundByExactName) {
  ASSERT_EQ(CompiledDirectoryNames().size(), 2U);
  EXPECT_EQ(CompiledDirectoryNames()[0], "2009");
  EXPECT_EQ(CompiledDirectoryNames()[1], "current");
  EXPECT_EQ(FindCompiledDirectory("2009")->Info().validFrom, year_month_day(2009y / 9 / 7));
  EXPECT_EQ(FindCompiledDirectory("current")->Info().validFrom, year_month_day(2026y / 3 / 9));
  EXPECT_EQ(FindCompiledDirectory("Current"), nullptr);
  EXPECT_EQ(FindCompiledDirectory(""), nullptr);
  EXPECT_EQ(engine::NameOf(RulesOf(*FindCompiledDirectory("2009"))), "2009");
  EXPECT_EQ(engine::NameOf(RulesOf(*FindCompiledDirectory("current"))), "current");
}

TEST(CompiledDirectories, OnADateAreThoseValidThenAndTheNewestAfterwards) {
  const struct {
    year_month_day date;
    const char* name;  // nullptr: none
  } cases[] = {
      {2009y / 9 / 6, nullptr},   {2009y / 9 / 7, "2009"},    {2009y / 12 / 6, "2009"},
      {2009y / 12 / 7, nullptr},  {2026y / 3 / 8, nullptr},   {2026y / 3 / 9, "current"},
      {2026y / 6 / 8, "current"}, {2040y / 1 / 1, "current"},
  };
  for (const auto& c : cases) {
    const auto found = CompiledDirectoryOn(c.date);
    EXPECT_EQ(found, c.name == nullptr ? nullptr : FindCompiledDirectory(c.name))
        << directory::IsoDate(c.date);
  }
}

TEST(CheckSource, TheDefaultAnswersAsTheSpecifiedCheck) {
  const CheckSource source = DefaultSource();
  const char* accounts[] = {"9290701", "1234567890", "0", "12a", "", " 1501824 ", "99999999999"};
  for (const Bank bank : *source.directory) {
    for (const char* account : accounts) {
      ASSERT_EQ(ValueOf(CheckAccount({bank.bankCode, account}, source)),
                CheckAccount(account, bank.bankCode))
          << bank.bankCode << " " << account;
    }
  }
}

TEST(CheckSource, ChecksAgainstTheChosenDirectoryAndRules) {
  const CheckSource current = SourceOf(FindCompiledDirectory("current"));
  EXPECT_EQ(engine::NameOf(*current.rules), "current");
  // N26 Bank Berlin (method 09) came after 2009.
  EXPECT_EQ(CheckAccount({"10011001", "1234567890"}, current), Outcome::kValidWithoutCheck);
  EXPECT_EQ(CheckAccount({"10011001", "1234567890"}, DefaultSource()), Outcome::kBankCodeUnknown);
  // Landesbank Berlin 10022200 is gone by 2026.
  EXPECT_EQ(CheckAccount({" 10022200", "1"}, current), Outcome::kBankCodeUnknown);
  // 25950130 (method B1): 1501824 passes only the current rules' third try.
  const CheckSource mixed{FindCompiledDirectory("2009"), FindRules("current")};
  EXPECT_EQ(CheckAccount({"25950130", "1501824"}, mixed), Outcome::kValid);
  EXPECT_EQ(CheckAccount({"25950130", "1501824"}, DefaultSource()), Outcome::kInvalidCheckDigit);
}

// The check with the bank's index answers as the check and IndexOf of the
// trimmed bank code, whether or not the check came to its lookup.
TEST(CheckSource, TheCheckWithTheBankFindsTheTrimmedCodesRecord) {
  const CheckSource current = SourceOf(FindCompiledDirectory("current"));
  const char* codes[] = {"10011001", " 10011001\t", "10022200", "1001100", "1001100x", "", " "};
  const char* accounts[] = {"1234567890", "0", "000", " 12a", "", "12345678901", " 9290701"};
  for (const char* code : codes) {
    for (const char* account : accounts) {
      const CheckedBank checked = CheckAccountWithBank({code, account}, current);
      EXPECT_EQ(checked.outcome, CheckAccount({code, account}, current)) << code << " " << account;
      EXPECT_EQ(checked.bankIndex, current.directory->IndexOf(TrimWhiteSpace(code)))
          << code << " " << account;
    }
  }
}

TEST(FindBank, TrimsAndGivesTheWholeRecord) {
  const auto bank = FindBank(*FindCompiledDirectory("current"), " 10060198\t");
  ASSERT_TRUE(bank);
  EXPECT_EQ(bank->shortName, "Pax-Bank Berlin");
  EXPECT_EQ(bank->bic, "GENODED1PA6");
  EXPECT_TRUE(bank->deletionNotice);
  EXPECT_EQ(bank->successor, "37060193");
  EXPECT_FALSE(FindBank(*FindCompiledDirectory("current"), "10022200"));
}

struct SuccessorCase {
  const char* name;
  const char* directory;
  const char* bankCode;
  const char* text;  // nullptr: no finding
};

class SuccessorTest : public ::testing::TestWithParam<SuccessorCase> {};

TEST_P(SuccessorTest, FollowsTheDirectories) {
  const SuccessorCase& c = GetParam();
  const auto finding = FindSuccessor(*FindCompiledDirectory(c.directory), c.bankCode);
  if (c.text == nullptr) {
    EXPECT_FALSE(finding) << Describe(*finding);
  } else {
    ASSERT_TRUE(finding);
    EXPECT_EQ(Describe(*finding), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Findings, SuccessorTest,
    ::testing::Values(
        SuccessorCase{"WithdrawnWithSuccessor", "current", "10060198",
                      "bank code 10060198 is being withdrawn; use successor 37060193"},
        SuccessorCase{"WithdrawnWithoutSuccessor", "current", " 10090300 ",
                      "bank code 10090300 is being withdrawn; no successor is named"},
        SuccessorCase{"GoneWithSuccessor", "current", "10022200",
                      "bank code 10022200 no longer exists; successor 10050000 as of 2009-09-07"},
        SuccessorCase{"GoneWithoutSuccessor", "current", "10010111",
                      "bank code 10010111 no longer exists; no successor is named as of "
                      "2009-09-07"},
        SuccessorCase{"WithdrawnIn2009", "2009", "10022200",
                      "bank code 10022200 is being withdrawn; use successor 10050000"},
        SuccessorCase{"NothingOlderThan2009", "2009", "10011001", nullptr},
        SuccessorCase{"Listed", "current", "10000000", nullptr},
        SuccessorCase{"UnknownEverywhere", "current", "99999999", nullptr},
        SuccessorCase{"NotABankCode", "current", "1002220", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadDirectory, TakesTheRulesOfTheFilesDate) {
  const DirectoryLoad old = LoadDirectory(SharedData("blz_20090907.txt"));
  ASSERT_TRUE(old.directory) << DescribeUtf8(*old.error);
  EXPECT_EQ(engine::NameOf(RulesOf(*old.directory)), "2009");
  EXPECT_EQ(old.directory->size(), 4051U);
  EXPECT_TRUE(old.warnings.empty());
  const DirectoryLoad now = LoadDirectory(SharedData("blz_20260309.txt"));
  ASSERT_TRUE(now.directory);
  EXPECT_EQ(engine::NameOf(RulesOf(*now.directory)), "current");
  EXPECT_EQ(now.directory->size(), 3503U);
  EXPECT_TRUE(now.warnings.empty());
  EXPECT_EQ(CheckAccount({"10011001", "1"}, SourceOf(now.directory)), Outcome::kValidWithoutCheck);
}

TEST(LoadDirectory, WarnsOfMethodCodesTheChosenRulesLackAndRefusesThemWhenStrict) {
  const DirectoryLoad lenient = LoadDirectory(SharedData("blz_20260309.txt"), {FindRules("2009")});
  ASSERT_TRUE(lenient.directory);
  EXPECT_EQ(engine::NameOf(RulesOf(*lenient.directory)), "2009");
  ASSERT_FALSE(lenient.warnings.empty());
  EXPECT_NE(lenient.warnings[0].message.find("has no method in rule generation 2009"),
            std::string::npos);
  const DirectoryLoad strict =
      LoadDirectory(SharedData("blz_20260309.txt"), {FindRules("2009"), true});
  EXPECT_FALSE(strict.directory);
  ASSERT_TRUE(strict.error);
  EXPECT_FALSE(strict.unreadable);
  EXPECT_EQ(DescribeUtf8(*strict.error), DescribeUtf8(lenient.warnings[0]));
}

TEST(LoadDirectory, TellsAnUnreadableFileFromABrokenOne) {
  const DirectoryLoad missing = LoadDirectory("no/such/blz_20260309.txt");
  EXPECT_TRUE(missing.unreadable);
  ASSERT_TRUE(missing.error);
  EXPECT_EQ(missing.error->line, 0U);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("tavrel_broken_" + std::to_string(::getpid()) + ".txt");
  std::ofstream(path) << std::string(167, 'x') << "\n";
  const DirectoryLoad broken = LoadDirectory(path);
  std::filesystem::remove(path);
  EXPECT_FALSE(broken.unreadable);
  ASSERT_TRUE(broken.error);
  EXPECT_EQ(DescribeUtf8(*broken.error).rfind("line 1: ", 0), 0U) << DescribeUtf8(*broken.error);
}

TEST(DescribeUtf8, ConvertsTheFilesBytesButNotThePath) {
  EXPECT_EQ(DescribeUtf8({4, {}, "short name \"M\xfcnchen\""}),
            "line 4: short name \"M\u00fcnchen\"");
  EXPECT_EQ(DescribeUtf8({0, {}, "cannot read M\u00fcnchen.txt"}), "cannot read M\u00fcnchen.txt");
}

}  // namespace
}  // namespace tavrel::service
