#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectOnlyThisCheckDigit;
using testing::ExpectPatterns;
using testing::ValidAccount;
using testing::ValidCheckDigits;

// Weighted sums below list the products in the order of the weight list.
TEST(Methods30To59, OneValidAccountPerRecipeAndNoOtherCheckDigit) {
  const auto cases = std::to_array<ValidAccount>({
      {"30", "1234567892", 10},                   // pos 1,6..9: 2+6+14+8+18 = 48, r 8 -> 2
      {"31", "1234567881", 10},                   // 72+64+49+36+25+16+9+4+1 = 276, r 1 -> 1
      {"32", "1234567897", 10},                   // 18+24+28+30+30+28 = 158, r 4 -> 7
      {"33", "1234567892", 10},                   // 18+24+28+30+30 = 130, r 9 -> 2
      {"34", "1234567100", 8},                    // 14+24+40+20+30+18+7 = 153, r 10 -> 1
      {"35", "1234567891", 10},                   // 18+24+28+30+30+28+24+18+10 = 210, r 1 -> 1
      {"36", "1234567897", 10},                   // 18+32+56+30 = 136, r 4 -> 7
      {"37", "1234567891", 10},                   // 18+32+56+30+50 = 186, r 10 -> 1
      {"38", "1234567899", 10},                   // 186+36 = 222, r 2 -> 9
      {"39", "1234567890", 10},                   // 222+21 = 243, r 1 -> 0
      {"40", "1234567899", 10},                   // 243+6+6 = 255, r 2 -> 9
      {"41", "1234567897", 10},                   // cross sums 9+8+5+6+1+4+6+2+2 = 43, r 3 -> 7
      {"42", "1234567899", 10},                   // 18+24+28+30+30+28+24+18 = 200, r 2 -> 9
      {"43", "1234567895", 10},                   // 9+16+21+24+25+24+21+16+9 = 165, r 5 -> 5
      {"44", "1234567891", 10},                   // as 37: 186, r 10 -> 1
      {"45", "1234567897", 10},                   // as 41
      {"46", "1234567900", 8},                    // 14+18+20+20+18 = 90, r 2 -> 9
      {"47", "1234567800", 9},                    // 16+21+24+25+24 = 110, r 0 -> 0
      {"48", "1234567810", 9},                    // 110+21 = 131, r 10 -> 1
      {"50", "1234560000", 7},                    // 12+15+16+15+12+7 = 77, r 0 -> 0
      {"51MethodeA", "1234567897", 10},           // as 32
      {"51MethodeB", "1234567892", 10},           // as 33
      {"51MethodeC", "1234567893", 10},           // 130 mod 7 = 4 -> 3
      {"51MethodeCAusnahme1", "1234567895", 10},  // 158+24 = 182, r 6 -> 5
      {"51MethodeCAusnahme2", "1234567890", 10},  // as 35: 210, r 1 -> 0
      {"54", "4934567891", 10},                   // 18+24+28+30+30+28+6 = 164, r 10 -> 1
      {"55", "1234567895", 10},                   // 18+24+28+30+30+28+24+14+8 = 204, r 6 -> 5
      {"56", "1234567892", 10},                   // 18+24+28+30+30+28+6+6+4 = 174, r 9 -> 2
      {"57Variante1", "1234567893", 10},          // 1+4+3+8+5+3+7+7+9 = 47, r 7 -> 3
      {"57Variante2", "1224567890", 3},           // pos 1,2,4..10: 1+4+4+1+6+5+8+9+0 = 38, r 8 -> 2
      {"58", "1234567892", 10},                   // as 33: 130, r 9 -> 2
      {"59", "1234567897", 10},                   // as 41
  });
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(Methods30To59, RemainderRules) {
  ExpectPatterns({
      {"31", "123456789", ".........."},  // 285, r 10: rejected whatever the check digit
      {"35", "123456789", ".V........"},  // 210, r 1
      {"31", "123456788", ".V........"},  // 276, r 1
      {"35", "123456788", "........V."},  // 208, r 10: valid when equal to position 9
      {"35", "123456726", "......V..."},  // 12+6+28+30+30+28+24+18+10 = 186, r 10, position 9 is 6
      {"58", "123456785", ".........."},  // 10+24+28+30+30 = 122, r 1: rejected
      {"33", "123456785", "V........."},  // same sum, remainder 1 gives 0
      {"54", "494456789", ".........."},  // 166, r 1: rejected
      {"56", "912345679", "........V."},  // r 0, ten digits beginning with 9: 8
      {"56", "912345688", ".......V.."},  // r 1, ten digits beginning with 9: 7
      {"56", "812345684", ".........."},  // r 0, ten digits not beginning with 9
      {"56", "012345692", ".........."},  // r 0, nine digits
      {"56", "012345684", ".........."},  // r 1, nine digits
  });
}

TEST(Methods30To59, DigitsRightOfTheCheckPositionTakeNoPart) {
  struct Case {
    const char* key;
    const char* checkedPart;  // positions 1 to the check position, valid
  };
  const auto cases = std::to_array<Case>({{"34", "12345671"},
                                          {"46", "12345679"},
                                          {"47", "123456780"},
                                          {"48", "123456781"},
                                          {"50", "1234560"}});
  for (const Case& c : cases) {
    const std::string part = c.checkedPart;
    for (const char* tail : {"999", "123", "505"}) {
      const std::string account = part + std::string(tail).substr(0, 10 - part.size());
      EXPECT_EQ(ComputeMethod(account, c.key, {}), kValid) << c.key << " " << account;
    }
  }
}

TEST(Methods30To59, Method41IgnoresPositionsOneToThreeWhenPositionFourIsNine) {
  struct Case {
    const char* key;
    const char* account;
    int result;
  };
  // Positions 4 to 9 of x9123456 give 9+2+2+6+4+1 = 24, check 6; a 1 at
  // position 1 would add 2 (check 4). With an 8 at position 4: 23, check 7.
  const auto cases = std::to_array<Case>({
      {"41", "0009123456", kValid},
      {"41", "1009123456", kValid},
      {"41", "9879123456", kValid},
      {"41", "1009123454", kInvalid},
      {"00", "1009123454", kValid},  // the same digits, positions 1 to 3 counted
      {"41", "0008123457", kValid},
      {"41", "1008123455", kValid},
      {"41", "1008123457", kInvalid},
  });
  for (const Case& c : cases)
    EXPECT_EQ(ComputeMethod(c.account, c.key, {}), c.result) << c.key << " " << c.account;
}

TEST(Methods30To59, AccountsWithoutCheckDigitUnder45And59) {
  const std::string digits = "987654321";
  for (std::size_t length = 0; length < 9; ++length) {
    EXPECT_EQ(ValidCheckDigits("45", digits.substr(0, length)), "VVVVVVVVVV")
        << length + 1 << " digits";
  }
  for (std::size_t length = 0; length < 8; ++length) {
    EXPECT_EQ(ValidCheckDigits("59", digits.substr(0, length)), "VVVVVVVVVV")
        << length + 1 << " digits";
  }
  ExpectPatterns({
      {"45", "123416789", "VVVVVVVVVV"},  // position 5 is 1
      {"59", "12345678", "..V......."},   // nine digits are checked: 7+7+3+5+8+3+4+1 = 38, r 8 -> 2
  });
}

TEST(Methods30To59, Method49TriesMethod00ThenMethod01) {
  // 123456789x: method 00 expects 7, method 01 expects 9.
  ExpectPatterns({{"49", "123456789", ".......V.V"}});
}

TEST(Methods30To59, Method50RetriesShortTextsWithThreeZerosAppended) {
  // 0001234560: 3*2+2*3+1*4 = 16, r 5, expects 6 at position 7 (holds 4). The
  // retry 1234560000: 77, r 0, expects 0 at position 7.
  EXPECT_EQ(ComputeMethod("1234560", "50", {}), kValid);
  EXPECT_EQ(ComputeMethod("0001234560", "50", {}), kInvalid);
  // 123455 fails first (2*2+1*3 = 7, expects 4, position 7 holds 3); the retry
  // 0123455000: 5*2+4*3+3*4+2*5+1*6 = 50, r 6, expects 5 at position 7.
  EXPECT_EQ(ComputeMethod("123455", "50", {}), kValid);
  EXPECT_EQ(ComputeMethod("123456", "50", {}), kInvalid);
}

TEST(Methods30To59, Method51RunsMethodsAToC) {
  ExpectPatterns({
      {"51", "123456789", "..VV...V.."},          // B expects 2, C 3, A 7
      {"51MethodeC", "123456789", "...V......"},  // 7, 8 and 9 are rejected by C alone
  });
}

TEST(Methods30To59, Method51ChecksLedgerAccountsOnlyByTheExceptionKeys) {
  // 0099100110 passes method B (2+3+0+0+6 = 11, r 0) and 0199100040 passes
  // method A (77, r 0), but position 3 is 9: the exception keys expect 8 and 8,
  // and 5 and 7, so the Bundesbank rejects both.
  EXPECT_EQ(ComputeMethod("0099100110", "51MethodeB", {}), kValid);
  EXPECT_EQ(ComputeMethod("0199100040", "51MethodeA", {}), kValid);
  EXPECT_EQ(ComputeMethod("0099100110", "51", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("0199100040", "51", {}), kInvalid);
  ExpectPatterns({
      {"51", "009910011", "........V."},
      {"51", "019910004", ".....V.V.."},          // exception 1 expects 5, exception 2 expects 7
      {"51MethodeC", "019910004", ".....V...."},  // C rejects check digit 7 first
      {"51MethodeC", "009910011", ".........."},  // 8 is rejected the same way
  });
}

// Bank code 12345678, account 10345678: converted number 567810345678, products
// 16+28+48+25+40+27+0+3+48+7+12+20 = 274, r 10; the check place (index 6) has
// weight 7, so the check digit (position 2 of the account) must be 0.
constexpr std::string_view kBank = "12345678";

TEST(Methods30To59, ConvertedNumberOfMethods52And53) {
  ExpectOnlyThisCheckDigit({"52", "10345678", 4}, kBank);
  // Nine digits: 560810345678, 267, r 3: 3 + 7x = 10 mod 11 gives x = 1 (position 3).
  ExpectOnlyThisCheckDigit({"53", "101345678", 4}, kBank);
  // Digits 3 to 5 of 15000678 are 0: A is 678, the converted number 567810678,
  // 271, r 7; the check place (index 3) has weight 5: 7 + 5x = 10 gives x = 5.
  ExpectOnlyThisCheckDigit({"52", "15000678", 4}, kBank);
  // Bank code 12340000: 000010345678, 187, r 0: 7x = 10 gives x = 3.
  EXPECT_EQ(ComputeMethod("10345678", "52", "12340000"), kInvalid);
  EXPECT_EQ(ComputeMethod("13345678", "52", "12340000"), kValid);
  // 1x345676: 270, r 6, 6 + 7x = 10 would need x = 10.
  for (char x = '0'; x <= '9'; ++x) {
    EXPECT_EQ(ComputeMethod(std::string("1") + x + "345676", "52", kBank), kInvalid) << x;
  }
}

TEST(Methods30To59, Methods52And53ChooseByLengthAndPositionOne) {
  struct Case {
    const char* key;
    const char* account;
    int result;
  };
  const auto cases = std::to_array<Case>({
      {"52", "101345678", kInvalid},  // valid converted number, but nine digits
      {"53", "10345678", kInvalid},   // valid converted number, but eight digits
      {"52", "1034567", kInvalid},
      {"53", "1234567890", kInvalid},
      // Ten digits beginning with 9 follow method 20: 16+21+24+25+24+21+16+9+27 = 183, r 7 -> 4.
      {"52", "9123456784", kValid},
      {"53", "9123456784", kValid},
      {"52", "9123456785", kInvalid},
  });
  for (const Case& c : cases)
    EXPECT_EQ(ComputeMethod(c.account, c.key, kBank), c.result) << c.key << " " << c.account;
  for (const char* key : {"52", "53"}) {
    EXPECT_EQ(ValidCheckDigits(key, "912345678"), ValidCheckDigits("20", "912345678")) << key;
  }
}

TEST(Methods30To59, ConvertedNumberReadsBankCodePositionsFiveToEightOnly) {
  struct Case {
    const char* key;
    const char* account;
    const char* positionsThatMatter;  // of the bank code, 1 to 8
  };
  const auto cases = std::to_array<Case>({{"52", "10345678", "5678"}, {"53", "101345678", "568"}});
  for (const Case& c : cases) {
    for (int position = 1; position <= 8; ++position) {
      const bool matters = std::string_view(c.positionsThatMatter).find(char('0' + position)) !=
                           std::string_view::npos;
      for (char digit = '0'; digit <= '9'; ++digit) {
        std::string bank(kBank);
        const bool changed = bank[static_cast<std::size_t>(position - 1)] != digit;
        bank[static_cast<std::size_t>(position - 1)] = digit;
        EXPECT_EQ(ComputeMethod(c.account, c.key, bank), matters && changed ? kInvalid : kValid)
            << c.key << " " << c.account << " bank " << bank;
      }
    }
  }
}

TEST(Methods30To59, EserNeedsAnEightDigitBankCode) {
  EXPECT_EQ(ComputeMethod("10345678", "Eser", kBank), kValid);
  EXPECT_EQ(ComputeMethod("0010345678", "Eser", kBank), kValid);
  for (const char* bank : {"", "1234567", "123456789", "1234567a", "12345 78"}) {
    EXPECT_EQ(ComputeMethod("10345678", "Eser", bank), kInvalid) << "bank '" << bank << "'";
  }
  EXPECT_EQ(ComputeSubMethod("10345678", "52"), kInvalid);
  EXPECT_EQ(ComputeMethod("1034567", "Eser", kBank), kInvalid);
  EXPECT_EQ(ComputeMethod("1234567890", "Eser", kBank), kInvalid);
}

TEST(Methods30To59, Method54NeedsTenDigitsBeginningWith49) {
  // Positions 1 and 2 carry weight 0: the same sum as 4934567891, still rejected.
  for (const char* account :
       {"0934567891", "934567891", "4834567891", "5934567891", "9434567891"}) {
    EXPECT_EQ(ComputeMethod(account, "54", {}), kInvalid) << account;
  }
}

// Which key method 57 hands each prefix 00 to 99 to: '1' "57Variante1", '2'
// "57Variante2", '9' method 09, '4' "57Variante4", '-' none.
constexpr std::string_view kRouteByPrefix =
    "-444444444"
    "4444444444"
    "4444444444"
    "4422222222"
    "9222222222"
    "9122212222"
    "2122111222"
    "1221211111"
    "1112222212"
    "2922112229";

std::string_view RouteKey(char route) {
  switch (route) {
    case '1':
      return "57Variante1";
    case '2':
      return "57Variante2";
    case '9':
      return "09";
    case '4':
      return "57Variante4";
    default:
      return "none";
  }
}

// Results of `key` on prefix + d3 + "100000" + d10 for all d3 and d10: the
// variants differ on these (variant 1 ties d10 to d3, variant 2 d3 to d10, and
// variant 4 accepts months 01 and 11 whatever d10 is).
std::vector<int> Results(std::string_view key, const std::string& prefix) {
  std::vector<int> results;
  for (char d3 = '0'; d3 <= '9'; ++d3) {
    for (char d10 = '0'; d10 <= '9'; ++d10) {
      const std::string account = prefix + d3 + "100000" + d10;
      results.push_back(key == "none" ? kMethodNotFound : ComputeMethod(account, key, {}));
    }
  }
  return results;
}

TEST(Methods30To59, Method57ChoosesTheVariantByPositionsOneAndTwo) {
  ASSERT_EQ(kRouteByPrefix.size(), 100U);
  EXPECT_EQ(std::count(kRouteByPrefix.begin(), kRouteByPrefix.end(), '1'), 19);
  EXPECT_EQ(std::count(kRouteByPrefix.begin(), kRouteByPrefix.end(), '2'), 45);
  EXPECT_EQ(std::count(kRouteByPrefix.begin(), kRouteByPrefix.end(), '9'), 4);
  EXPECT_EQ(std::count(kRouteByPrefix.begin(), kRouteByPrefix.end(), '4'), 31);
  for (int p = 0; p < 100; ++p) {
    const std::string prefix{char('0' + p / 10), char('0' + p % 10)};
    const char route = kRouteByPrefix[static_cast<std::size_t>(p)];
    const std::vector<int> method57 = Results("57", prefix);
    EXPECT_EQ(method57, Results(RouteKey(route), prefix)) << "prefix " << prefix;
    for (char other : std::string_view("1294-")) {
      if (other == route) continue;
      EXPECT_NE(method57, Results(RouteKey(other), prefix))
          << "prefix " << prefix << " also fits " << other;
    }
  }
}

TEST(Methods30To59, Method57Exceptions) {
  EXPECT_EQ(ComputeMethod("0012345678", "57", {}), kMethodNotFound);
  EXPECT_EQ(ComputeMethod("7", "57", {}), kMethodNotFound);
  for (const char* account : {"4012345678", "5000000000", "9199999999", "9900000001"}) {
    EXPECT_EQ(ComputeMethod(account, "57", {}), kValidWithoutCheck) << account;
  }
  ExpectPatterns({
      {"57Variante1", "777777123", "VVVVVVVVVV"},
      {"57Variante1", "888888000", "VVVVVVVVVV"},
      {"57", "777777123", "VVVVVVVVVV"},
      {"57", "888888000", "VVVVVVVVVV"},
      // 7+5+7+5+7+7+1+4+3 = 46, r 6 -> 4
      {"57Variante1", "777778123", "....V....."},
  });
}

TEST(Methods30To59, Method57Variant4ReadsADate) {
  struct Case {
    const char* account;
    int result;
  };
  const auto cases = std::to_array<Case>({
      {"0185125434", kValid},  // accepted as it stands (month 85)
      {"185125434", kValid},   // the same account without its leading zero
      {"0185125435", kInvalid},
      {"0112344990", kValid},    // month 12, serial 499
      {"0101000000", kValid},    // month 01, serial 000
      {"0112345000", kInvalid},  // serial 500
      {"0100344990", kInvalid},  // month 00
      {"0113344990", kInvalid},  // month 13
  });
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeMethod(c.account, "57Variante4", {}), c.result) << c.account;
    EXPECT_EQ(ComputeMethod(c.account, "57", {}), c.result) << c.account;
  }
  ExpectPatterns({{"57Variante4", "311234499", "VVVVVVVVVV"}});
}

}  // namespace
}  // namespace tavrel::engine
