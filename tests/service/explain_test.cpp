// Explanations of whole checks: their verdict is the check's, an input fault
// names the test it failed, and the text keeps every figure under its digit.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// Every 20th bank of the directory with random accounts of one to ten digits.
std::vector<std::pair<std::string, std::string>> Queries() {
  std::vector<std::string> bankCodes;
  directory::ForEachEntry(
      [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
  std::mt19937 random(7);
  std::vector<std::pair<std::string, std::string>> queries;
  for (std::size_t i = 0; i < bankCodes.size(); i += 20) {
    for (int round = 0; round < 6; ++round) {
      std::string account(1 + random() % 10, '0');
      for (char& c : account) c = static_cast<char>('0' + random() % 10);
      queries.emplace_back(bankCodes[i], account);
    }
  }
  return queries;
}

TEST(ExplainAccount, VerdictIsTheChecksInBothGenerations) {
  for (const RulesInfo& info : RuleGenerations()) {
    for (const auto& [bankCode, account] : Queries()) {
      const AccountExplanation explanation =
          ExplainAccount({bankCode, account}, DefaultSourceWith(*info.rules));
      ASSERT_EQ(explanation.outcome, CheckAccount({bankCode, account}, *info.rules))
          << info.name << " " << bankCode << " " << account;
      if (!explanation.steps.empty()) {
        EXPECT_EQ(explanation.steps.front().result, explanation.outcome) << bankCode << account;
      }
    }
  }
}

TEST(ExplainAccount, AnInputFaultNamesTheTestThatFailed) {
  struct Case {
    std::string_view bankCode;
    std::string_view account;
    Outcome outcome;
    std::string_view failed;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"1203000", "9290701", Outcome::kBankCodeLength, "bank code '1203000': 7 characters"},
           {"1203000\xFC", "9290701", Outcome::kBankCodeNotDigits,
            "bank code '1203000\xFC': character 8, '\xFC', is not a digit"},
           {"12030000", " ", Outcome::kAccountLength, "account: empty"},
           {"12030000",
            "92907\xE4"
            "1",
            Outcome::kAccountNotDigits, "character 6"},
           {"12030000", "000", Outcome::kInvalidCheckDigit, "zeros only"},
           {"99999999", "9290701", Outcome::kBankCodeUnknown, "not in the directory"},
       }) {
    const AccountExplanation explanation =
        ExplainAccount({c.bankCode, c.account}, DefaultSourceWith(DefaultRules()));
    EXPECT_EQ(explanation.outcome, c.outcome) << c.bankCode << " " << c.account;
    ASSERT_FALSE(explanation.tests.empty());
    EXPECT_FALSE(explanation.tests.back().passed);
    EXPECT_NE(explanation.tests.back().text.find(c.failed), std::string::npos)
        << explanation.tests.back().text;
    EXPECT_TRUE(explanation.steps.empty());
  }
}

TEST(ExplainAccount, APassedCheckNamesTheBankAndItsMethod) {
  const AccountExplanation explanation =
      ExplainAccount({" 12030000", "9290701 "}, DefaultSourceWith(DefaultRules()));
  EXPECT_EQ(explanation.outcome, Outcome::kValid);
  EXPECT_EQ(explanation.bankCode, "12030000");
  EXPECT_EQ(explanation.methodCode, "00");
  EXPECT_EQ(explanation.bankName, "Deutsche Kreditbank Berlin");
  for (const InputTest& test : explanation.tests) EXPECT_TRUE(test.passed) << test.text;
  EXPECT_EQ(explanation.tests.size(), 5U) << "two trimmed, bank code, account, directory";
}

// The columns of a computation: each product stands under the digit it belongs to.
TEST(ExplanationText, PutsEveryFigureUnderItsDigit) {
  const std::string text =
      ExplanationText(ExplainAccount({"12030000", "9290701"}, DefaultSourceWith(DefaultRules())));
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  const auto line = [&](std::string_view label) {
    for (const std::string& l : lines) {
      if (l.find(label) != std::string::npos) return l;
    }
    return std::string();
  };
  const std::string positions = line("position");
  const std::string digits = line("account   ");
  const std::string products = line("product   ");
  // Position 10 holds the check digit 1; position 8 holds 7, weighed 1.
  EXPECT_EQ(digits.size(), positions.size());
  EXPECT_EQ(digits.back(), '1');
  const std::size_t eight = positions.rfind(" 8 ") + 1;
  EXPECT_EQ(digits[eight], '7');
  EXPECT_EQ(products[eight], '7');
  EXPECT_NE(text.find("sum 29, modulo 10, remainder 9; check digit at position 10: 1 expected"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("result 0: g\xFCltig"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::service
