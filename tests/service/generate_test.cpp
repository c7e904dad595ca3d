// Generated accounts check as they should: valid ones valid, invalid ones
// invalid with a valid twin one digit away, for every method code of both
// generations; a seed gives the same accounts again.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tavrel/service.h"

namespace tavrel::service {
namespace {

bool IsValidResult(int result) { return result == 0 || result == 1; }

class GenerateEveryMethod : public ::testing::TestWithParam<std::size_t> {
 protected:
  const RulesInfo& Generation() const { return RuleGenerations()[GetParam()]; }
};

TEST_P(GenerateEveryMethod, ValidAccountsCheckValid) {
  const RuleSet& rules = *Generation().rules;
  for (std::string_view code : Generation().methodCodes) {
    const GeneratedAccounts generated =
        GenerateAccounts({{}, code, 6, 11}, DefaultSourceWith(rules));
    EXPECT_EQ(generated.status, GenerateStatus::kGenerated) << code << ": " << generated.message;
    std::set<std::string> distinct;
    for (const GeneratedAccount& account : generated.accounts) {
      distinct.insert(account.account);
      EXPECT_TRUE(IsValidResult(ComputeMethod(account.account, code, {}, rules)))
          << code << " " << account.account;
    }
    EXPECT_EQ(distinct.size(), generated.accounts.size()) << code;
  }
}

TEST_P(GenerateEveryMethod, InvalidAccountsFailOnlyByTheirCheckDigit) {
  const RuleSet& rules = *Generation().rules;
  for (std::string_view code : Generation().methodCodes) {
    if (code == "09") continue;  // no check digit at all
    GenerateRequest request{{}, code, 4, 5};
    request.invalid = true;
    const GeneratedAccounts generated = GenerateAccounts(request, DefaultSourceWith(rules));
    EXPECT_EQ(generated.status, GenerateStatus::kGenerated) << code << ": " << generated.message;
    for (const GeneratedAccount& account : generated.accounts) {
      EXPECT_EQ(ComputeMethod(account.account, code, {}, rules), -3) << code << account.account;
      EXPECT_EQ(ComputeMethod(account.validForm, code, {}, rules), 0) << code << account.validForm;
      ASSERT_EQ(account.account.size(), account.validForm.size());
      for (std::size_t i = 0; i < account.account.size(); ++i) {
        const bool checkDigit = static_cast<int>(i) + 1 == account.checkDigitPlace;
        EXPECT_EQ(account.account[i] == account.validForm[i], !checkDigit)
            << code << " " << account.account << " " << account.validForm;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, GenerateEveryMethod, ::testing::Values(0U, 1U),
                         [](const auto& info) {
                           return std::string(RuleGenerations()[info.param].name);
                         });

TEST(GenerateAccounts, ASeedGivesTheSameAccountsAndEveryVariantTakesItsTurn) {
  const RuleSet& current = *FindRules("current");
  const GeneratedAccounts first = GenerateAccounts({{}, "51", 12, 3}, DefaultSourceWith(current));
  const GeneratedAccounts again = GenerateAccounts({{}, "51", 12, 3}, DefaultSourceWith(current));
  const GeneratedAccounts other = GenerateAccounts({{}, "51", 12, 4}, DefaultSourceWith(current));
  std::vector<std::string> firstAccounts, againAccounts, otherAccounts;
  std::set<std::string> variants;
  for (const GeneratedAccount& a : first.accounts) {
    firstAccounts.push_back(a.account);
    variants.insert(a.variant);
  }
  for (const GeneratedAccount& a : again.accounts) againAccounts.push_back(a.account);
  for (const GeneratedAccount& a : other.accounts) otherAccounts.push_back(a.account);
  EXPECT_EQ(firstAccounts, againAccounts);
  EXPECT_NE(firstAccounts, otherAccounts);
  EXPECT_EQ(variants, (std::set<std::string>{"51MethodeA", "51MethodeB", "51MethodeC", "51MethodeD",
                                             "51MethodeCAusnahme1", "51MethodeCAusnahme2"}));
}

TEST(GenerateAccounts, SaysWhenThereAreTooFewOrNone) {
  struct Case {
    GenerateRequest request;
    GenerateStatus status;
  };
  GenerateRequest twoDigits{{}, "00", 20, 1, 2};
  GenerateRequest tenDigitsOf66{{}, "66", 1, 1, 10};  // 66 rejects ten-digit accounts
  GenerateRequest invalid09{{}, "09", 1, 1};
  invalid09.invalid = true;
  for (const Case& c : std::initializer_list<Case>{
           {twoDigits, GenerateStatus::kTooFew},
           {tenDigitsOf66, GenerateStatus::kNone},
           {invalid09, GenerateStatus::kNoCheckDigit},
           {{{}, "12", 1, 1}, GenerateStatus::kMethodNotFound},
           {{"99999999", {}, 1, 1}, GenerateStatus::kBankCodeFault},
       }) {
    const GeneratedAccounts generated =
        GenerateAccounts(c.request, DefaultSourceWith(DefaultRules()));
    EXPECT_EQ(generated.status, c.status) << generated.message;
    EXPECT_FALSE(generated.message.empty());
  }
  // Ten two-digit stems have one check digit each, but 00 is no account.
  EXPECT_EQ(GenerateAccounts(twoDigits, DefaultSourceWith(DefaultRules())).accounts.size(), 9U);
}

}  // namespace
}  // namespace tavrel::service
