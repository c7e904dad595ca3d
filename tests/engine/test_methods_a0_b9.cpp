#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::CheckDigitPattern;
using testing::ExpectOnlyThisCheckDigit;
using testing::ExpectPatterns;
using testing::Route;
using testing::ValidAccount;
using testing::ValidCheckDigits;

template <std::size_t N>
void ExpectRoutes(const std::array<Route, N>& cases) {
  for (const Route& c : cases) ExpectRoute(c);
}

TEST(MethodsA0ToB9, OneValidAccountPerRecipeAndNoOtherCheckDigit) {
  const std::array<ValidAccount, 12> cases = {{
      // Positions 9..5 of 123456789: 18 + 32 + 56 + 30 + 50 = 186, r = 10, 11 - 10 = 1.
      {"A0", "1234567891", 10},
      // 00 1234567: positions 9..3 give 14 (5), 6, 10 (1), 4, 6, 2, 2 = 26, check 4.
      {"A1", "12345674", 10},
      // 123456789 with 2, 1, 2, ...: 9 + 8 + 5 + 6 + 1 + 4 + 6 + 2 + 2 = 43, check 7.
      {"A2Variante1", "1234567897", 10},
      // 18 + 24 + 28 + 30 + 30 + 28 + 6 + 6 + 4 = 174, r = 9, check 2.
      {"A2Variante2", "1234567892", 10},
      // 4713: 1 x 2 + 7 x 1 + 4 x 2 = 17, check 3.
      {"A3Variante1", "4713", 10},
      // 123456789 with 2..10: 210, r = 1, check 0.
      {"A3Variante2", "1234567890", 10},
      // 9290701: 0, 7, 0, 9, 4, 9 = 29, check 1.
      {"A5Variante1", "9290701", 10},
      // 1111111 with 2..8: 35, r = 2, check 9.
      {"A5Variante2", "11111119", 10},
      // Positions 9..4 (9..4) with 2..7: 18 + 24 + 28 + 30 + 30 + 28 = 158, r = 4, check 7.
      {"A8Variante1", "1234567897", 10},
      // 12345: 10 (1) + 4 + 6 + 2 + 2 = 15, check 5.
      {"A8Variante2", "123455", 10},
      // 63 + 24 + 7 + 42 + 15 + 4 + 21 + 6 + 1 = 183, check 7.
      {"B5Variante1", "1234567897", 10},
      // 123456: 18 + 35 + 4 + 9 + 14 + 1 = 81, check 9.
      {"B7", "1234569", 10},
  }};
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(MethodsA0ToB9, RemaindersWithRulesOfTheirOwn) {
  const std::array<CheckDigitPattern, 7> cases = {{
      // Position 9 = 6 gives 12, remainder 1: A0 and A3's second variant expect 0,
      // A2's second variant rejects it.
      {"A0", "6", "V........."},
      {"A3Variante2", "6", "V........."},
      {"A2Variante2", "6", ".........."},
      // 001234567: terms 8, 21 mod 11 = 10, 1, 5, 1, 6, 2 = 33, p = 3: 3 and 8.
      {"B9Variante1", "1234567", "...V....V."},
      // Position 4 = 1 (6) and position 9 = 1 (1): r = 7 accepts 7 and 2.
      {"B9Variante2", "100001", "..V....V.."},
      // 6 + 4 = 10: remainder 10 matches no digit itself, only 10 + 5 - 10 = 5.
      {"B9Variante2", "100004", ".....V...."},
      // Position 5 = 1 (5): r = 5 accepts 5 and 0.
      {"B9Variante2", "10000", "V....V...."},
  }};
  ExpectPatterns(cases);
}

TEST(MethodsA0ToB9, A1ChecksEightOrTenSignificantDigitsOnly) {
  // Positions 1 and 2 carry weight 0, so all of these have the sum of 12345674.
  EXPECT_EQ(ComputeMethod("0012345674", "A1", {}), kValid);
  EXPECT_EQ(ComputeMethod("9912345674", "A1", {}), kValid);
  EXPECT_EQ(ComputeMethod("112345674", "A1", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("0112345674", "A1", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("2345674", "A1", {}), kInvalid);
}

TEST(MethodsA0ToB9, SequencesAcceptWhatEitherKeyAccepts) {
  const std::array<CheckDigitPattern, 8> cases = {{
      // 1x: the cross-sum variants expect 8 (2), the mod-11 variants 9 (r = 2).
      {"A2", "1", "........VV"},
      {"A3", "1", "........VV"},
      {"A8", "1", "........VV"},
      // 5x: method 00 expects 9 (10 enters as 1), method 03 expects 0.
      {"A7", "5", "V........V"},
      // 1x: method 01 expects 7, method 06 expects 9.
      {"A9", "1", ".......V.V"},
      // 1x: method 05 expects 3, method 01 expects 7.
      {"B1", "1", "...V...V.."},
      // 2x: method 20 expects 7 (4), method 29 expects 5 (row 1 maps 2 to 5).
      {"B8", "2", ".....V.V.."},
      // 8x: method 20 expects 6 (16, r = 5), method 29 expects 8 (row 1 maps 8 to 2).
      {"B8", "8", "......V.V."},
  }};
  ExpectPatterns(cases);
}

TEST(MethodsA0ToB9, LeadingDigitRulesAfterAFailedFirstVariant) {
  const std::array<CheckDigitPattern, 6> cases = {{
      // A5, 9x00000000: first variant expects 1 (18 enters as 9); the second would
      // expect 9 (90, r = 2) but a ten-digit account starting with 9 gets no second try.
      {"A5", "900000000", ".V........"},
      // 8x00000000: first variant 3 (16 enters as 7), second 8 (80, r = 3).
      {"A5", "800000000", "...V....V."},
      // B5, 7x00000000: first variant 3 (7 x 1), method 00 5 (14 enters as 5).
      {"B5", "700000000", "...V.V...."},
      // Starting with 8 or 9 only the first variant counts: 2 (8 x 1), 1 (9 x 1).
      {"B5", "800000000", "..V......."},
      {"B5", "900000000", ".V........"},
      // Nine digits have 0 at position 1: 8 at position 2 gives 6 (24) and 2 (8).
      {"B5", "80000000", "..V...V..."},
  }};
  ExpectPatterns(cases);
}

TEST(MethodsA0ToB9, OneDigitOfTheTenDigitFormPicksTheMethod) {
  const std::array<Route, 11> cases = {{
      {"A6", "180000000", "00", "01"},
      {"A6", "80000000", "00", "01"},
      {"A6", "8000000", "01", "00"},  // eight digits: position 2 is 0
      {"B2", "800000000", "00", "02"},
      {"B2", "900000000", "00", "02"},
      {"B2", "700000000", "02", "00"},
      {"B2", "90000000", "02", "00"},  // nine digits: position 1 is 0
      {"B3", "900000000", "06", "32"},
      {"B3", "800000000", "32", "06"},
      {"B3", "90000000", "32", "06"},
      {"B6", "100000000", "20", "01"},
  }};
  ExpectRoutes(cases);
}

TEST(MethodsA0ToB9, A8UsesTheLedgerExceptionWhenPositionThreeIsNine) {
  // Position 3 = 9 (x 8 = 72, r = 6) expects 5 under the exception keys; positions
  // 4 to 9 alone (sum 0) would expect 0.
  EXPECT_EQ(ComputeMethod("0090000005", "A8", {}), kValid);
  EXPECT_EQ(ComputeMethod("0090000000", "A8Variante1", {}), kValid);
  EXPECT_EQ(ComputeMethod("0090000000", "A8", {}), kInvalid);
}

TEST(MethodsA0ToB9, B6ChecksShortAccountsAsConvertedNumbersWithTheBankCode) {
  // 18000001 at bank 12345678: converted number 5678101, products from the right
  // 2, 0, 8, 40, 70, 54, 35 = 209, r = 0; the check place weighs 4 and 4 x 8 = 32
  // leaves 10, so the check digit (the second digit) must be 8.
  EXPECT_EQ(ComputeMethod("18000001", "B6", "12345678"), kValid);
  EXPECT_EQ(ComputeMethod("0018000001", "B6", "12345678"), kValid);
  // Bank 12345679 gives 214, r = 5, and expects 4.
  EXPECT_EQ(ComputeMethod("18000001", "B6", "12345679"), kInvalid);
  // Reached without a bank code the conversion cannot match.
  EXPECT_EQ(ComputeSubMethod("18000001", "B6"), kInvalid);
  // Ten digits use method 20: 1 x 3 = 3, check 8, whatever the bank.
  EXPECT_EQ(ComputeMethod("1000000008", "B6", "12345678"), kValid);
  EXPECT_EQ(ComputeMethod("1000000001", "B6", "12345678"), kInvalid);
}

TEST(MethodsA0ToB9, B7ComputesOnlyInsideItsTwoRanges) {
  struct Case {
    std::string_view account;
    int result;
  };
  const std::array<Case, 12> cases = {{
      {"1000000", kInvalid},  // 1 x 1 = 1 expects 9: computed
      {"1000009", kValid},
      {"0001000009", kValid},
      {"5999999", kInvalid},  // 194 expects 6
      {"5999996", kValid},
      {"700000000", kInvalid},  // 7 x 7 = 49 expects 1
      {"700000001", kValid},
      {"899999999", kValid},  // 225 + 56 = 281 expects 9
      {"999999", kValidWithoutCheck},
      {"0000999999", kValidWithoutCheck},
      {"6000000", kValidWithoutCheck},
      {"0900000000", kValidWithoutCheck},
  }};
  for (const Case& c : cases) EXPECT_EQ(ComputeMethod(c.account, "B7", {}), c.result) << c.account;
  for (std::string_view prefix : {"99999", "600000", "69999999", "90000000", "999999999"}) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      EXPECT_EQ(ComputeMethod(std::string(prefix) + digit, "B7", {}), kValidWithoutCheck)
          << prefix << digit;
    }
  }
}

TEST(MethodsA0ToB9, B9ChecksSevenAndEightSignificantDigitsOnly) {
  const std::array<CheckDigitPattern, 6> cases = {{
      {"B9", "1234567", "...V....V."},  // eight digits: first variant
      {"B9", "001234567", "...V....V."},
      {"B9", "100004", ".....V...."},  // seven digits: second variant
      {"B9", "10000", ".........."},   // six digits, though the second variant accepts 0 and 5
      {"B9", "12345678", ".........."},
      {"B9", "123456789", ".........."},
  }};
  ExpectPatterns(cases);
}

TEST(MethodsA0ToB9, CodesWithoutAMethod) {
  for (std::string_view key : {"A4", "B0", "B4", "a0", "A0 ", "A2Variante3", "B9variante1"}) {
    EXPECT_EQ(ComputeMethod("1234567890", key, {}), kMethodNotFound) << key;
  }
}

}  // namespace
}  // namespace tavrel::engine
