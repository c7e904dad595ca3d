#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectOnlyThisCheckDigit;
using testing::ExpectResults;
using testing::KeyResult;
using testing::ValidAccount;
using testing::ValidCheckDigits;

TEST(Methods60To79, OneValidAccountPerRecipeAndNoOtherCheckDigit) {
  // Each comment gives the weighted digits, their sum (products of 10 or more by
  // their digit sum under the 2, 1, 2, ... rules) and the check digit; r is the
  // remainder.
  const std::array<ValidAccount, 26> cases = {{
      // Positions 9..3 (9,8,7,6,5,4,3) x 2,1,2,...: 9+8+5+6+1+4+6 = 39, check 1.
      {"60", "1234567891", 10},
      // Positions 1..7 x 2,1,2,...: 2+2+6+4+1+6+5 = 26; with 8 x 1 and 0 x 2: 34, check 6.
      {"61Art8", "1234567680", 8},
      // Positions 1..7 alone: 26, check 4.
      {"61Standard", "1234567400", 8},
      // Positions 7..3 (7,6,5,4,3) x 2,1,2,1,2: 5+6+1+4+6 = 22, check 8.
      {"62", "1234567899", 8},
      // Positions 7..2 (6,5,4,3,2,1) x 2,1,2,1,2,1: 3+5+8+3+4+1 = 24, check 6.
      {"63", "0123456600", 8},
      // Positions 1..6 x 9,10,5,8,4,2: 9+20+15+32+20+12 = 108, r 9, check 2.
      {"64", "1234562890", 7},
      // Positions 1..7: 26; with 9 x 1 and 0 x 2: 35, check 5.
      {"65Art9", "1234567590", 8},
      {"65Standard", "1234567400", 8},
      // Positions 9..2 (8,7,6,5,4,3,2,1) x 2,3,4,5,6,0,0,7: 16+21+24+25+24+7 = 117, r 7, check 4.
      {"66", "0123456784", 10},
      // Positions 7..1 x 2,1,2,...: 26, check 4; positions 9 and 10 take no part.
      {"67", "1234567499", 8},
      // Positions 9..4 (9,8,7,6,5,9): 9+8+5+6+1+9 = 38, check 2.
      {"68stell10", "1239567892", 10},
      // Positions 9..2 (8,7,6,5,4,3,2,1) x 2,1,...: 7+7+3+5+8+3+4+1 = 38, check 2.
      {"68Variante1", "123456782", 10},
      // The same without positions 3 and 4: 7+7+3+5+8+1 = 31, check 9.
      {"68Variante2", "123456789", 10},
      // Positions 7..1 x 2..8: 14+18+20+20+18+14+8 = 112, r 2, check 9.
      {"69Variante1", "1234567900", 8},
      // Rows 1,2,3,4,1,2,3,4,1 on positions 9..1: 6+5+5+6+7+9+4+2+1 = 45, check 5.
      {"69Variante2", "1234567895", 10},
      // Positions 2..7: only 3 x 6 = 18, r 7, check 4.
      {"71", "0300000004", 10},
      // Positions 9..4 (9,8,7,6,5,4) x 2,1,...: 9+8+5+6+1+4 = 33, check 7.
      {"72", "1234567897", 10},
      {"73Variante1", "1234567897", 10},
      // Positions 9..5: 9+8+5+6+1 = 29, check 1; by 7: r 1, check 6.
      {"73Variante2", "1234567891", 10},
      {"73Variante3", "1234567896", 10},
      // Seven digits: 9+8+2+1+2+1 = 23, check 7 (the half-decade rule is for six).
      {"74", "1111897", 10},
      // Positions 5..9 (1,2,3,4,5) x 2,1,2,1,2: 2+2+6+4+1 = 15, check 5.
      {"75stellen6_7", "123455", 10},
      // Positions 3..7 (1,2,3,4,6): 2+2+6+4+3 = 17, check 3 at position 8.
      {"75stellen9a", "912346378", 8},
      // Positions 2..6 (1,2,3,4,5): 15, check 5 at position 7.
      {"75stellen9b", "123455789", 7},
      // Positions 7..2 (3,4,5,6,0,0) x 2..7: 6+12+20+30 = 68, r 2 is the check digit.
      {"76", "0006543200", 8},
      // Positions 9..1 x 2,1,...: 9+8+5+6+1+4+6+2+2 = 43, check 7.
      {"78", "1234567897", 10},
  }};
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(Methods60To79, CodesWithoutMethodAreNotFound) {
  for (std::string_view key : {"70", "77", "79"}) {
    EXPECT_EQ(ComputeMethod("1234567897", key, {}), kMethodNotFound) << key;
  }
}

TEST(Methods60To79, PositionsOutsideTheRangeTakeNoPart) {
  const std::array<KeyResult, 7> cases = {{
      {"60", "9934567891", kValid},          // positions 1 and 2
      {"62", "9934567800", kValid},          // positions 1, 2, 9 and 10
      {"64", "1234562000", kValid},          // positions 8 to 10
      {"67", "1234567400", kValid},          // positions 9 and 10
      {"61Standard", "1234567499", kValid},  // positions 9 and 10
      {"65Standard", "1234567499", kValid},
      {"71", "9123456001", kValid},  // positions 1, 8 and 9
  }};
  ExpectResults(cases);
}

TEST(Methods60To79, Methods61And65WeighPositionsNineAndTenOnlyForTheirMarker) {
  const std::array<KeyResult, 8> cases = {{
      {"61", "1234567400", kValid},    // position 9 is 0: standard, check 4
      {"61", "1234567680", kValid},    // position 9 is 8: 26 + 8 = 34, check 6
      {"61", "1234567480", kInvalid},  // marked: the standard rule is not tried
      {"61", "1234567600", kInvalid},  // unmarked: the long rule is not tried
      {"65", "1234567400", kValid},
      {"65", "1234567590", kValid},  // position 9 is 9: 26 + 9 = 35, check 5
      {"65", "1234567490", kInvalid},
      {"65", "1234567500", kInvalid},
  }};
  ExpectResults(cases);
}

TEST(Methods60To79, Method63MovesShortAccountsLeft) {
  const std::array<KeyResult, 12> cases = {{
      // Seven digits are checked as 0123456600: 24, check 6 at position 8.
      {"63", "1234566", kValid},
      {"63", "0001234566", kValid},
      {"63", "1234567", kInvalid},
      // Eight or nine digits: one try on the ten-digit form.
      {"63", "123456600", kValid},
      {"63", "0123456600", kValid},
      {"63", "12345550", kValid},  // 0012345550: 2+2+6+4+1 = 15, check 5
      {"63", "12345650", kInvalid},
      // Ten digits are invalid whatever they sum to.
      {"63", "1123456600", kInvalid},
      // Six digits: 11234400 fails (18, check 2, not 4); 1123440000 holds
      // positions 2..7 = 1,2,3,4,4,0: 1+4+3+8+4 = 20, check 0.
      {"63", "112344", kValid},
      {"63", "0000112344", kValid},
      // Seven digits never reach the four-place move: 0112344000 sums to 23.
      {"63", "1123440", kInvalid},
      {"63", "5", kInvalid},
  }};
  ExpectResults(cases);
}

TEST(Methods60To79, Mod11RemainderZeroAndOne) {
  struct Case {
    std::string_view key;
    std::string_view prefix;
    std::string_view valid;  // which check digits 0..9 are accepted
  };
  const std::array<Case, 6> cases = {{
      {"66", "28", ".V........"},         // 8 x 2 + 2 x 3 = 22, r 0: check 1
      {"66", "6", "V........."},          // 6 x 2 = 12, r 1: check 0
      {"66", "1", ".........V"},          // r 2: check 9
      {"66", "112345678", ".........."},  // ten digits are invalid
      {"71", "912345678", ".V........"},  // 6+10+12+12+10+6 = 56, r 1: check 1
      {"71", "011000000", "V........."},  // 6 + 5 = 11, r 0: check 0
  }};
  for (const Case& c : cases)
    EXPECT_EQ(ValidCheckDigits(c.key, c.prefix), c.valid) << c.key << " " << c.prefix;
}

TEST(Methods60To79, Method68ByLengthAndPositionFour) {
  EXPECT_EQ(ValidCheckDigits("68", "41234567"), "VVVVVVVVVV");
  EXPECT_EQ(ComputeMethod("412345678", "68", {}), kValidWithoutCheck);
  const std::array<KeyResult, 5> cases = {{
      {"68", "1239567892", kValid},
      // Right under the ten-digit rule, but position 4 is not 9.
      {"68", "1234567897", kInvalid},
      {"68", "123456782", kValid},  // first variant
      {"68", "123456789", kValid},  // second variant
      {"68", "123456783", kInvalid},
  }};
  ExpectResults(cases);
}

TEST(Methods60To79, Method69ByLeadingDigits) {
  for (char digit = '0'; digit <= '9'; ++digit) {
    EXPECT_EQ(ComputeMethod(std::string("931234567") + digit, "69", {}), kValid) << digit;
  }
  const std::array<KeyResult, 6> cases = {{
      // Right under the first variant (171, r 6, check 5), but 97 uses only the
      // second: rows give 44, check 6 at position 10.
      {"69Variante1", "9712345500", kValid},
      {"69", "9712345500", kInvalid},
      {"69", "9712345506", kValid},
      {"69", "1234567900", kValid},  // first variant
      {"69", "1234567895", kValid},  // second variant
      {"69", "1234567890", kInvalid},
  }};
  ExpectResults(cases);
}

// The position-3 cases need the exception keys of method 51.
TEST(Methods60To79, Method73ByPositionThree) {
  const std::array<KeyResult, 8> cases = {{
      {"73", "1234567897", kValid},  // first variant
      {"73", "1234567891", kValid},  // second
      {"73", "1234567896", kValid},  // third
      {"73", "1234567899", kInvalid},
      // Position 3 is 9: positions 9..3 x 2..8 give 149, r 6, check 5.
      {"73", "91234565", kValid},
      // Right under the first variant (24, check 6), which is not tried here.
      {"73Variante1", "91234566", kValid},
      {"73", "91234566", kInvalid},
      // Seven digits have position 3 = 0 and always run the variants.
      // 0009123456: positions 9..4 (5,4,3,2,1,9) give 1+4+6+2+2+9 = 24, check 6.
      {"73", "9123456", kValid},
  }};
  ExpectResults(cases);
  EXPECT_EQ(ValidCheckDigits("73Variante3", "123456789"), "......V...");
  EXPECT_EQ(ValidCheckDigits("73Variante3", "70"), "V.........");  // 7, r 0
}

TEST(Methods60To79, Method74HalfDecadeForSixDigits) {
  struct Case {
    std::string_view prefix;
    std::string_view valid;
  };
  const std::array<Case, 5> cases = {{
      {"11199", "..V....V.."},      // 23: check 7, or 2 up to 25
      {"000011199", "..V....V.."},  // leading zeros do not count
      {"11299", "V....V...."},      // 25: check 5, or 0
      {"111189", ".......V.."},     // seven digits, 23: check 7 only
      {"3199", ".......V.."},       // five digits, 23: check 7 only
  }};
  for (const Case& c : cases) EXPECT_EQ(ValidCheckDigits("74", c.prefix), c.valid) << c.prefix;
}

TEST(Methods60To79, Method75ByLength) {
  for (std::string_view prefix : {"", "1", "1234", "1234567", "123456789", "01234567"}) {
    EXPECT_EQ(ValidCheckDigits("75", prefix), "..........") << prefix;
  }
  const std::array<KeyResult, 6> cases = {{
      {"75", "123455", kValid},
      {"75", "0000123455", kValid},
      {"75", "1123455", kValid},
      // Nine digits beginning with 9: check digit at position 8.
      {"75", "912346378", kValid},
      {"75", "123455789", kValid},
      // 9b's check digit would be 7 (23), though 9a's arithmetic holds.
      {"75", "812346378", kInvalid},
  }};
  ExpectResults(cases);
}

TEST(Methods60To79, Method76RejectsRemainderTenAndRetriesMovedLeft) {
  const std::array<KeyResult, 16> cases = {{
      {"76", "0006543200", kValid},
      {"76", "9012345600", kValid},    // 10+12+12+10+6 = 50, r 6
      {"76", "7876543100", kValid},    // 6+12+20+30+42+56 = 166, r 1
      {"76", "7876542100", kInvalid},  // 164, r 10: no check digit matches
      // 0078865431: 142, r 10; moved, 7886543100: 172, r 7, not 1.
      {"76", "78865431", kInvalid},
      // 0040123456: 40, r 7, not 4; moved, 4012345600: 50, r 6.
      {"76", "40123456", kValid},
      // Moved, 1012345600 has ten digits beginning with 1.
      {"76", "10123456", kInvalid},
      {"76", "1012345600", kInvalid},
      {"76", "2012345600", kInvalid},
      {"76", "3012345600", kInvalid},
      {"76", "5012345600", kInvalid},
      {"76", "4012345600", kValid},
      {"76", "6012345600", kValid},
      // 0004012343: 27, r 5, not 3; moved, 0401234300: 58, r 3. Leading zeros
      // are dropped before moving, so the typed form gets the second try too.
      {"76", "4012343", kValid},
      {"76", "0004012343", kValid},
      {"76", "401234300", kValid},
  }};
  ExpectResults(cases);
  EXPECT_EQ(ValidCheckDigits("76", "7876542", "00"), "..........");
}

TEST(Methods60To79, Method78HasNoCheckDigitForEightDigits) {
  for (std::string_view account : {"12345678", "12345670", "0012345678", "99999999"}) {
    EXPECT_EQ(ComputeMethod(account, "78", {}), kValidWithoutCheck) << account;
  }
  EXPECT_EQ(ValidCheckDigits("78", "12345678"), "..V.......");  // nine digits: 38, check 2
  EXPECT_EQ(ValidCheckDigits("78", "123456"), "......V...");    // seven digits: 24, check 6
}

}  // namespace
}  // namespace tavrel::engine
