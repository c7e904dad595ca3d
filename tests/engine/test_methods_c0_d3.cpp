#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectOnlyThisCheckDigit;
using testing::Route;
using testing::ValidAccount;
using testing::ValidCheckDigits;

struct Expected {
  std::string_view account;
  int result;
};

void ExpectResults(std::string_view key, std::initializer_list<Expected> cases) {
  for (const Expected& c : cases)
    EXPECT_EQ(ComputeMethod(c.account, key, {}), c.result) << key << " " << c.account;
}

TEST(MethodsC0ToD3, OneValidAccountPerRecipeAndNoOtherCheckDigit) {
  const std::array<ValidAccount, 7> cases = {{
      // 5 x 1 + 1 x 2 + 2 + 3 x 2 + 4 + 5 x 2 (10 enters as 1) + 6 + 7 x 2 (5) + 8
      // = 39, (39 - 1) mod 11 = 5, check 10 - 5 = 5.
      {"C1Variante2", "5123456785", 10},
      // Constant 4451970 from the right with 2, 1, 2, ...: 0, 7, 9, 1, 1, 4, 8 = 30;
      // positions 9..2 of 0000065516: 2, 5, 1, 6 = 14; 44 expects 6.
      {"C6Variante0", "0000065516", 10},
      // 4451981: 2, 8, 9, 1, 1, 4, 8 = 33; 031405209: 0, 2, 1, 0, 8, 1, 6, 0 = 18;
      // 51 expects 9.
      {"C6Variante1", "1031405209", 10},
      // 4451992: 4, 9, 9, 1, 1, 4, 8 = 36 and nothing else; expects 4.
      {"C6Variante2", "2000000004", 10},
      // 5499570: 0, 7, 1, 9, 9, 4, 1 = 31; positions 9 and 4 give 4 and 2; 37 expects 3.
      {"C6Variante7", "7002000023", 10},
      // 5499579: 9, 7, 1, 9, 9, 4, 1 = 40; positions 9..5 give 4, 2, 0, 3, 8; 57 expects 3.
      {"C6Variante9", "9000430223", 10},
      // Constant 428259 from the right with 1, 2, 1, ...: 9, 1, 2, 7, 2, 8 = 29;
      // positions 9, 7, 1 give 2, 8, 2; 41 expects 9.
      {"D1", "1000004019", 10},
  }};
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(MethodsC0ToD3, C1SecondVariantSubtractsOneBeforeTheRemainder) {
  ExpectResults("C1Variante2", {
                                   {"5000000006", kValid},  // sum 5, r = 4
                                   {"5070000000", kValid},  // sum 12, r = 0
                                   {"5999999990", kValid},  // sum 77, r = 10
                                   {"5123456785", kValid},  // sum 39, r = 5
                                   {"5123456789", kInvalid},
                               });
  // Method C1 takes this variant for ten-digit accounts starting with 5.
  ExpectResults("C1", {{"5000000006", kValid}, {"5999999990", kValid}, {"5123456789", kInvalid}});
}

TEST(MethodsC0ToD3, C6SelectsItsConstantByPositionOne) {
  ExpectResults("C6", {
                          {"0000065516", kValid},
                          {"65516", kValid},  // short accounts use the constant of 0
                          {"0203178249", kValid},
                          {"1031405209", kValid},
                          {"2000000004", kValid},
                          {"7002000023", kValid},
                          {"9000430223", kValid},
                          {"0091423614", kInvalid},  // 30 + 34 = 64 expects 6
                          {"7000062022", kInvalid},  // 31 + 14 = 45 expects 5
                      });
  for (std::string_view prefix :
       {"300006551", "400006551", "500006551", "600006551", "800006551"}) {
    EXPECT_EQ(ValidCheckDigits("C6", prefix), "..........") << prefix;
  }
}

TEST(MethodsC0ToD3, D1PutsTheConstantBeforePositionOne) {
  ExpectResults("D1", {
                          {"1000004019", kValid},
                          {"4000008014", kValid},    // 29 + 2 + 7 + 8 = 46
                          {"6100020013", kValid},    // 29 + 2 + 2 + 1 + 3 = 37
                          {"8300042011", kValid},    // 29 + 2 + 4 + 4 + 3 + 7 = 49
                          {"2000005018", kInvalid},  // 29 + 2 + 1 + 4 = 36 expects 4
                      });
}

TEST(MethodsC0ToD3, OneDigitOfTheTenDigitFormPicksTheMethod) {
  const std::array<Route, 12> cases = {{
      {"C1", "500000000", "C1Variante2", "17"},
      {"C1", "50000060", "17", "C1Variante2"},  // nine digits: position 1 is 0
      {"C3", "900000000", "58", "00"},
      {"C3", "90000000", "00", "58"},
      {"C4", "900010000", "58", "15"},
      {"C4", "90010000", "15", "58"},
      {"D0", "580000000", "20", "01"},
      {"D0", "57000000", "20", "01"},  // nine digits: position 1 is 0
      // Nine or ten significant digits never try the converted number.
      {"C0", "12345678", "20", "00"},
      {"C0", "123456789", "20", "00"},
      {"C0", "123456", "20", "00"},
      {"C0", "0123456", "20", "00"},
  }};
  for (const Route& c : cases) testing::ExpectRoute(c);
}

TEST(MethodsC0ToD3, D0AcceptsTenDigitAccountsStartingWith57) {
  for (std::string_view prefix : {"570000000", "579999999", "571234567"}) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      EXPECT_EQ(ComputeMethod(std::string(prefix) + digit, "D0", {}), kValidWithoutCheck)
          << prefix << digit;
    }
  }
}

TEST(MethodsC0ToD3, C0TriesEightDigitAccountsAsConvertedNumbersWithTheBankCode) {
  // 18000001 at bank 12345678: converted number 5678101, products from the right
  // 2, 0, 8, 40, 70, 54, 35 = 209, r = 0; the check place weighs 4 and 4 x 8 = 32
  // leaves 10, so the second digit 8 is right. Method 20 would expect 2 (64, r = 9).
  EXPECT_EQ(ComputeMethod("18000001", "C0", "12345678"), kValid);
  EXPECT_EQ(ComputeMethod("0018000001", "C0", "12345678"), kValid);
  EXPECT_EQ(ComputeSubMethod("18000001", "C0"), kInvalid);
  EXPECT_EQ(ComputeMethod("18000001", "C0", "12345679"), kInvalid);
  // 18000002 fails as a converted number (r = 2 expects 2 in the second place) and
  // passes method 20 (64, r = 9, 11 - 9 = 2).
  EXPECT_EQ(ComputeMethod("18000002", "C0", "12345678"), kValid);
  EXPECT_EQ(ComputeMethod("18000002", "20", {}), kValid);
}

TEST(MethodsC0ToD3, C5RangesSelectTheMethod) {
  struct Case {
    std::string_view prefix;  // every check digit after it stays in the same range
    std::string_view key;     // empty: the fixed result below
    int result;
  };
  const std::array<Case, 31> cases = {{
      {"9999", {}, kInvalid},
      {"10000", "75", 0},
      {"89999", "75", 0},
      {"000010000", "75", 0},
      {"90000", {}, kInvalid},
      {"100000", {}, kInvalid},
      {"2999999", {}, kInvalid},
      {"3000000", {}, kValidWithoutCheck},
      {"5999999", {}, kValidWithoutCheck},
      {"003000000", {}, kValidWithoutCheck},
      {"6000000", {}, kInvalid},
      {"10000000", "75", 0},
      {"10000800", "75", 0},
      {"89999999", "75", 0},
      {"90000000", {}, kInvalid},
      {"100000000", "29", 0},
      {"199999999", "29", 0},
      {"200000000", {}, kInvalid},
      {"300000000", "00", 0},
      {"399999999", "00", 0},
      {"400000000", "29", 0},
      {"699999999", "29", 0},
      {"700000000", {}, kValidWithoutCheck},
      {"709999999", {}, kValidWithoutCheck},
      {"710000000", {}, kInvalid},
      {"800000000", {}, kInvalid},
      {"849999999", {}, kInvalid},
      {"850000000", {}, kValidWithoutCheck},
      {"859999999", {}, kValidWithoutCheck},
      {"860000000", {}, kInvalid},
      {"999999999", "29", 0},
  }};
  for (const Case& c : cases) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      const std::string account = std::string(c.prefix) + digit;
      const int expected = c.key.empty() ? c.result : ComputeSubMethod(account, c.key);
      EXPECT_EQ(ComputeMethod(account, "C5", {}), expected) << account;
    }
  }
  // The routes are not a disguised rejection: each method accepts some digit.
  EXPECT_EQ(ValidCheckDigits("C5", "10000"), "........V.");      // 75: 1 x 2 expects 8
  EXPECT_EQ(ValidCheckDigits("C5", "10000800"), "VVVVVVVVVV");   // 75 reads position 7 only
  EXPECT_EQ(ValidCheckDigits("C5", "100000000"), ".........V");  // 29: row 1 maps 1 to 1
  EXPECT_EQ(ValidCheckDigits("C5", "300000000"), "....V.....");  // 00: 3 x 2 expects 4
}

TEST(MethodsC0ToD3, SequencesAcceptWhatAnyKeyAccepts) {
  const std::array<std::array<std::string_view, 3>, 6> cases = {{
      // 2x: method 22 expects 4 (6), method 00 expects 6 (4).
      {"C2", "2", "....V.V..."},
      // 1x: method 63 moves it to 1x00 and expects 8 (2), method 06 expects 9.
      {"C7", "1", "........VV"},
      // 1000000x, position 3 weighs 2 under 00 (8) and 04 (9), 8 under 07 (3).
      {"C8", "1000000", "...V....VV"},
      {"C9", "1000000", "...V....V."},
      // 100000000x: method 00 expects 8, method 27 takes the table for ten digits (9).
      {"D3", "100000000", "........VV"},
      // 1x: method 95 accepts all without a check, which does not end the
      // sequence; method 00 then accepts 8 and method 68 nothing else.
      {"D2", "1", "........V."},
  }};
  for (const auto& [key, prefix, valid] : cases)
    EXPECT_EQ(ValidCheckDigits(key, prefix), valid) << key << " " << prefix;
}

TEST(MethodsC0ToD3, D2GoesOnAfterAnAcceptanceWithoutCheck) {
  // 1000001 lies in a range that method 95 accepts without a check; method 00
  // expects 9 and method 68 (9 and 0 from its variants) rejects it too.
  EXPECT_EQ(ComputeSubMethod("1000001", "95"), kValidWithoutCheck);
  EXPECT_EQ(ComputeMethod("1000001", "D2", {}), kInvalid);
  // 400000001: 95 and 68 (position 2 is 4) both give 1 and 00 rejects it, so the
  // sequence ends with 68's 1.
  EXPECT_EQ(ComputeMethod("400000001", "D2", {}), kValidWithoutCheck);
}

TEST(MethodsC0ToD3, KeysAfterD3HaveNoMethod) {
  for (std::string_view key : {"D4", "D9", "E0", "d1", "C6Variante3", "C1Variante1"}) {
    EXPECT_EQ(ComputeMethod("1234567890", key, {}), kMethodNotFound) << key;
  }
}

}  // namespace
}  // namespace tavrel::engine
