#include <gtest/gtest.h>

#include <array>
#include <string>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectOnlyThisCheckDigit;
using testing::ValidAccount;
using testing::ValidCheckDigits;

TEST(Methods00To29, OneValidAccountPerMethodAndNoOtherCheckDigit) {
  const std::array<ValidAccount, 28> cases = {{
      {"00", "1234567897", 10}, {"01", "1234567899", 10}, {"02", "1234567897", 10},
      {"03", "1234567890", 10}, {"04", "1234567892", 10}, {"05", "1234567897", 10},
      {"06", "1234567892", 10}, {"07", "9876543210", 10}, {"08", "1234567897", 10},
      {"10", "1234567890", 10}, {"11", "1234567899", 10}, {"13", "1234567690", 8},
      {"14", "1234567897", 10}, {"15", "1234567890", 10}, {"16", "1234567892", 10},
      {"17", "1234567990", 8},  {"18", "1234567899", 10}, {"19", "1234567898", 10},
      {"20", "1234567896", 10}, {"21", "1234567893", 10}, {"22", "1234567895", 10},
      {"23", "1234560890", 7},  {"24", "1234567898", 10}, {"25", "123456789", 10},
      {"26", "1234567490", 8},  {"27", "1234567895", 10}, {"28", "1234567990", 8},
      {"29", "1234567895", 10},
  }};
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(Methods00To29, Method00WeighsPositionsNineToOne) {
  // Products of positions 9 to 1 of 9290701: 0, 7, 0, 9, 4, 9, 0, 0, 0, sum 29,
  // check digit 10 - 9 = 1.
  EXPECT_EQ(ComputeMethod("9290701", "00", {}), kValid);
  EXPECT_EQ(ComputeMethod("9290702", "00", {}), kInvalid);
}

TEST(Methods00To29, RemainderOneRules) {
  struct Case {
    const char* key;
    const char* prefix;
    const char* suffix;
    const char* valid;  // which check digits 0..9 are accepted
  };
  const std::array<Case, 8> cases = {{
      {"02", "123456782", "", ".........."},  // remainder 1 is rejected
      {"06", "123456785", "", "V........."},  // remainder 1 expects 0
      {"11", "123456789", "", ".........V"},  // remainder 1 expects 9
      // The Bundesbank compares the check digit with its left neighbour.
      {"16", "123456799", "", "V........V"},
      {"16", "123456723", "", "V..V......"},
      {"23", "464686", "000", "V.....V..."},
      // Work digit 8 (position 2) allows 0; work digit 2 allows nothing.
      {"25", "82345648", "", "V........."},
      {"25", "23456783", "", ".........."},
  }};
  for (const Case& c : cases) {
    EXPECT_EQ(ValidCheckDigits(c.key, c.prefix, c.suffix), c.valid)
        << c.key << " " << c.prefix << "x" << c.suffix;
  }
  EXPECT_EQ(ComputeMethod("1234568499", "16", {}), kValid);
}

TEST(Methods00To29, Method08NeedsAtLeast60000) {
  for (std::string_view account : {"59998", "0000059998", "1", "1234", "10003"}) {
    EXPECT_EQ(ValidCheckDigits("08", account.substr(0, account.size() - 1)), "..........")
        << account;
  }
  // 60004: only 6 x 1 counts, check digit 4.
  EXPECT_EQ(ValidCheckDigits("08", "6000"), "....V.....");
}

TEST(Methods00To29, Method13RetriesTwoPlacesToTheLeft) {
  // 234609 fails at position 8; as 23460900 the old positions 4 to 9 are weighed.
  EXPECT_EQ(ComputeMethod("234609", "13", {}), kValid);
  EXPECT_EQ(ComputeMethod("23460900", "13", {}), kValid);
  // Nine or ten characters (leading zeros count) leave no room for a second try.
  EXPECT_EQ(ComputeMethod("000234609", "13", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("0000234609", "13", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("00234609", "13", {}), kValid);
}

TEST(Methods00To29, Method26ShiftsAccountsThatStartWithTwoZeros) {
  EXPECT_EQ(ComputeMethod("0012345674", "26", {}), kValid);
  EXPECT_EQ(ComputeMethod("12345674", "26", {}), kValid);
  EXPECT_EQ(ComputeMethod("1234567400", "26", {}), kValid);
  EXPECT_EQ(ComputeMethod("0012345675", "26", {}), kInvalid);
}

TEST(Methods00To29, Method27UsesTheTableOnlyForTenDigits) {
  // Nine digits: cross sum 41 -> check digit 9; ten digits: table sum 45 -> 5.
  EXPECT_EQ(ValidCheckDigits("27", "23456789"), ".........V");
  EXPECT_EQ(ValidCheckDigits("27", "123456789"), ".....V....");
  EXPECT_EQ(ValidCheckDigits("00", "23456789"), ".........V");
}

TEST(Methods00To29, Method24PositionOneRules) {
  EXPECT_EQ(ValidCheckDigits("24", "300000001"), "..V.......");
  EXPECT_EQ(ValidCheckDigits("24", "900010000"), "..........");
}

TEST(Methods00To29, ShiftedAndPaddedAccountsFromOtherMethods) {
  // Later methods hand these blocks ten-digit forms or shifted texts; the result
  // must not depend on leading zeros.
  for (const char* key : {"00", "01", "06", "10", "16", "21", "22", "28"}) {
    for (const char* account : {"9290701", "12345", "1234567897"}) {
      const std::string padded = testing::TenDigits(account);
      EXPECT_EQ(ComputeMethod(account, key, {}), ComputeMethod(padded, key, {}))
          << key << " " << account;
    }
  }
}

TEST(Methods00To29, Method09AcceptsEveryAccountAnd12HasNoMethod) {
  for (const char* account : {"1", "0000000000", "9999999999", "1234567890"}) {
    EXPECT_EQ(ComputeMethod(account, "09", {}), kValidWithoutCheck) << account;
    EXPECT_EQ(ComputeMethod(account, "12", {}), kMethodNotFound) << account;
  }
}

}  // namespace
}  // namespace tavrel::engine
