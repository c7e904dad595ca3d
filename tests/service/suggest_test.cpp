// Suggestions one slip away: each passes the check, each says its slip, and
// they come in the promised order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// 12030000 uses method 00; 9290701 is valid there (check digit 1 at place 7).
constexpr std::string_view kBank = "12030000";

Suggestions Suggest(std::string_view bankCode, std::string_view account, std::size_t max = 1000,
                    bool bankCodes = false) {
  return SuggestCorrections({bankCode, account}, DefaultSourceWith(DefaultRules()),
                            {max, bankCodes});
}

TEST(Suggest, EverySuggestionPassesTheCheckAndTheRankingHolds) {
  const Suggestions s = Suggest(kBank, "9290702");
  ASSERT_EQ(s.status, SuggestionStatus::kSuggested);
  ASSERT_FALSE(s.accounts.empty());
  EXPECT_EQ(s.accountCount, s.accounts.size());
  std::size_t checkDigitAt = s.accounts.size();
  for (std::size_t i = 0; i < s.accounts.size(); ++i) {
    const Suggestion& suggestion = s.accounts[i];
    EXPECT_EQ(CheckAccount({kBank, suggestion.text}, DefaultRules()), Outcome::kValid)
        << suggestion.text;
    if (suggestion.slip == Slip::kSubstitution && suggestion.position == 7) checkDigitAt = i;
    // Substitutions away from the check digit all come before it.
    if (suggestion.slip == Slip::kSubstitution && suggestion.position != 7) {
      EXPECT_LT(i, checkDigitAt) << suggestion.text;
    }
  }
  ASSERT_LT(checkDigitAt, s.accounts.size());
  EXPECT_EQ(s.accounts[checkDigitAt].text, "9290701");
}

// Method 51 accepts 0, but the check rejects an account of zeros before any
// method runs: substituting the 1 of "1" must not suggest it.
TEST(Suggest, AnAccountOfZerosOnlyIsNeverSuggested) {
  const Suggestions s = SuggestCorrections({"33060592", "1"},
                                           DefaultSourceWith(*FindRules("current")), {1000, false});
  for (const Suggestion& suggestion : s.accounts) {
    EXPECT_EQ(CheckAccount({"33060592", suggestion.text}, *FindRules("current")), Outcome::kValid)
        << suggestion.text;
  }
}

TEST(Suggest, NamesEachKindOfSlip) {
  struct Case {
    std::string_view typed;
    Slip slip;
    int position;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"2990701", Slip::kTransposition, 1},
           {"929071", Slip::kMissingDigit, 6},
           {"92290701", Slip::kDoubledDigit, 3},
       }) {
    const Suggestions s = Suggest(kBank, c.typed);
    const auto found = std::find_if(s.accounts.begin(), s.accounts.end(),
                                    [](const Suggestion& x) { return x.text == "9290701"; });
    ASSERT_NE(found, s.accounts.end()) << c.typed;
    EXPECT_EQ(found->slip, c.slip) << c.typed;
    EXPECT_EQ(found->position, c.position) << c.typed;
  }
  // The transposition ranks first, and the cap keeps the best.
  const Suggestions capped = Suggest(kBank, "2990701", 2);
  ASSERT_EQ(capped.accounts.size(), 2U);
  EXPECT_EQ(capped.accounts[0].text, "9290701");
  EXPECT_GT(capped.accountCount, 2U);
}

TEST(Suggest, NothingForValidAccountsOrMethodsWithoutCheckDigit) {
  EXPECT_EQ(Suggest(kBank, "9290701").status, SuggestionStatus::kAlreadyValid);
  // 10000000 uses method 09: every account is valid without check.
  const Suggestions noCheck = Suggest("10000000", "1234567890");
  EXPECT_EQ(noCheck.status, SuggestionStatus::kNoCheckDigit);
  EXPECT_TRUE(noCheck.accounts.empty());
  EXPECT_EQ(Suggest(kBank, "92907a1").status, SuggestionStatus::kInputFault);
}

TEST(Suggest, BankCodesOneSlipAwayThatAcceptTheAccount) {
  for (std::string_view typed : {"12030001", "1203000", "120300000", "12300000"}) {
    const Suggestions s = Suggest(typed, "9290701", 1000, true);
    const auto found = std::find_if(s.bankCodes.begin(), s.bankCodes.end(),
                                    [](const Suggestion& x) { return x.text == kBank; });
    ASSERT_NE(found, s.bankCodes.end()) << typed;
    EXPECT_EQ(found->bankName, "Deutsche Kreditbank Berlin");
    for (const Suggestion& bank : s.bankCodes)
      EXPECT_TRUE(IsValid(CheckAccount({bank.text, "9290701"}, DefaultRules()))) << bank.text;
  }
}

}  // namespace
}  // namespace tavrel::service
