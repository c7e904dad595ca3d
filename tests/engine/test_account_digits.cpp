#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/internal/account_digits.h"

namespace tavrel::engine {
namespace {

std::vector<int> Entries(const AccountDigits& record, std::size_t count) {
  return {record.digits.begin(), record.digits.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST(StandardRecord, ShortAccountHasZeroEntries) {
  for (std::string_view account : {"1", "0000000001"}) {
    const AccountDigits record = MakeAccountDigits(account);
    EXPECT_EQ(record.checkDigit, 1) << account;
    EXPECT_EQ(Entries(record, 9), std::vector<int>(9, 0)) << account;
    EXPECT_EQ(record.significantLength, 1) << account;
    EXPECT_EQ(record.firstCharacter, '1') << account;
  }
}

TEST(StandardRecord, EntriesRunRightToLeftFromPositionNine) {
  const AccountDigits record = MakeAccountDigits("1234567890");
  EXPECT_EQ(record.checkDigit, 0);
  EXPECT_EQ(Entries(record, 9), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(record.significantLength, 10);
}

TEST(StandardRecord, AccountWithoutSignificantDigitMatchesNoCheckDigit) {
  for (std::string_view account : {"", "0", "0000000000"}) {
    const AccountDigits record = MakeAccountDigits(account);
    EXPECT_EQ(record.checkDigit, AccountDigits::kNoCheckDigit) << account;
    EXPECT_EQ(record.significantLength, 0);
    EXPECT_EQ(record.firstCharacter, '\0');
  }
}

TEST(ForwardRecord, ReadsTheTenDigitFormInOrder) {
  const AccountDigits record = MakeAccountDigitsForward("123");
  EXPECT_EQ(Entries(record, 10), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(record.checkDigit, 3);
}

TEST(RangeRecord, CollectsPositionsInBothOrders) {
  struct Case {
    int check, first, last;
    bool leftToRight;
    std::vector<int> entries;
    int checkDigit;
  };
  const std::array<Case, 4> cases = {{
      {10, 4, 9, false, {9, 8, 7, 6, 5, 4, 0, 0, 0}, 0},
      {10, 4, 9, true, {4, 5, 6, 7, 8, 9, 0, 0, 0}, 0},
      // The check position inside the range is left out of the entries.
      {8, 2, 10, false, {0, 9, 7, 6, 5, 4, 3, 2, 0}, 8},
      {8, 2, 7, false, {7, 6, 5, 4, 3, 2, 0, 0, 0}, 8},
  }};
  for (const Case& c : cases) {
    const AccountDigits record =
        MakeAccountDigitsRange("1234567890", c.check, c.first, c.last, c.leftToRight);
    EXPECT_EQ(Entries(record, 9), c.entries) << c.check << " " << c.first << "-" << c.last;
    EXPECT_EQ(record.checkDigit, c.checkDigit);
  }
}

TEST(RangeRecord, ShortAccountIsReadInItsTenDigitForm) {
  const AccountDigits record = MakeAccountDigitsRange("4567890", 10, 4, 9);
  EXPECT_EQ(Entries(record, 9), (std::vector<int>{9, 8, 7, 6, 5, 4, 0, 0, 0}));
}

TEST(EserRecord, BuildsTheConvertedNumberFromBankCodeAndAccount) {
  // Eight significant digits: B5 B6 B7 B8 S1 0 A, check digit S2, A = S3..S8.
  const AccountDigits eight = MakeEserDigits("10345678", "12345678");
  EXPECT_EQ(eight.checkDigit, 0);
  EXPECT_EQ(eight.checkWeightIndex, 6);
  EXPECT_EQ(Entries(eight, 12), (std::vector<int>{8, 7, 6, 5, 4, 3, 0, 1, 8, 7, 6, 5}));
  // Nine significant digits: B5 B6 S2 B8 S1 0 A, check digit S3, A = S4..S9
  // without leading zeros.
  const AccountDigits nine = MakeEserDigits("120004567", "12345678");
  EXPECT_EQ(nine.checkDigit, 0);
  EXPECT_EQ(nine.checkWeightIndex, 4);
  EXPECT_EQ(Entries(nine, 12), (std::vector<int>{7, 6, 5, 4, 0, 1, 8, 2, 6, 5, 0, 0}));
}

TEST(EserRecord, OtherLengthsGiveNoCheckDigit) {
  for (std::string_view account : {"1234567", "0", "1234567890", ""}) {
    EXPECT_EQ(MakeEserDigits(account, "12345678").checkDigit, AccountDigits::kNoCheckDigit)
        << account;
  }
}

TEST(StringHelpers, SignificantDigits) {
  EXPECT_EQ(SignificantLength("0012345678"), 8);
  EXPECT_EQ(SignificantLength("1230000000"), 10);
  EXPECT_EQ(SignificantLength("0000"), 0);
  EXPECT_EQ(SignificantLength(""), 0);
  EXPECT_EQ(StripLeadingZeros("000123").view(), "123");
  EXPECT_EQ(StripLeadingZeros("000").view(), "");
}

TEST(StringHelpers, RewritesStayWithinTheirText) {
  EXPECT_EQ(PadToTen("123").view(), "0000000123");
  EXPECT_EQ(PadToTen("12345678901").view(), "12345678901");
  EXPECT_EQ(DropLeft("12345", 2).view(), "345");
  EXPECT_EQ(DropLeft("12", 5).view(), "");
  EXPECT_EQ(TakeLeft("12345", 2).view(), "12");
  EXPECT_EQ(TakeLeft("1", 2).view(), "1");
  EXPECT_EQ(AppendText("1234560", "000").view(), "1234560000");
}

TEST(StringHelpers, TenDigitFormCountsPositionsFromOneAndIsSafeOutside) {
  const TenDigitForm ten = PadToTen("123");
  EXPECT_TRUE(ten.PositionIs(8, '1'));
  EXPECT_TRUE(ten.PositionIs(10, '3'));
  EXPECT_TRUE(ten.PositionIs(1, '0'));
  EXPECT_TRUE(ten.PositionIsOneOf(9, "289"));
  EXPECT_FALSE(ten.PositionIsOneOf(9, "13"));
  EXPECT_FALSE(ten.PositionIs(11, '\0'));
  EXPECT_FALSE(ten.PositionIs(0, '0'));
  EXPECT_FALSE(ten.PositionIsOneOf(-1, "0123456789"));
  EXPECT_EQ(ten.At(11), '\0');
}

TEST(StringHelpers, KeysCompareExactly) {
  EXPECT_TRUE(KeyIs("51", "51"));
  EXPECT_FALSE(KeyIs("51 ", "51"));
  EXPECT_FALSE(KeyIs("a1", "A1"));
  EXPECT_TRUE(KeyIsOneOf("40", {"40", "50", "91", "99"}));
  EXPECT_FALSE(KeyIsOneOf("41", {"40", "50", "91", "99"}));
}

TEST(NumericComparisons, CompareLengthThenDigits) {
  struct Case {
    std::string_view account, bound;
    bool atLeast, atMost;
  };
  const std::array<Case, 5> cases = {{
      {"060000", "60000", true, true},
      {"59999", "60000", false, true},
      {"100000", "60000", true, false},
      {"0000000001", "1", true, true},
      {"0", "1", false, true},
  }};
  for (const Case& c : cases) {
    const AccountDigits record = MakeAccountDigits(c.account);
    EXPECT_EQ(AtLeast(record, c.bound), c.atLeast) << c.account << " >= " << c.bound;
    EXPECT_EQ(AtMost(record, c.bound), c.atMost) << c.account << " <= " << c.bound;
  }
  EXPECT_TRUE(InRange(MakeAccountDigits("1999999"), "1", "1999999"));
  EXPECT_FALSE(InRange(MakeAccountDigits("2000000"), "1", "1999999"));
}

}  // namespace
}  // namespace tavrel::engine

namespace tavrel::engine {
namespace {

TEST(AccountPositions, DigitAtPositionReadsTheTenDigitForm) {
  struct Case {
    std::string_view account;
    int position;
    char expected;
  };
  for (const Case& c : std::initializer_list<Case>{{"123", 8, '1'},
                                                   {"123", 10, '3'},
                                                   {"123", 7, '0'},
                                                   {"123", 1, '0'},
                                                   {"9876543210", 1, '9'},
                                                   {"9876543210", 10, '0'},
                                                   {"", 5, '0'}}) {
    EXPECT_EQ(DigitAtPosition(c.account, c.position), c.expected)
        << c.account << " position " << c.position;
  }
}

TEST(AccountPositions, AccountNumberIsTheValueOfUpToTenDigits) {
  struct Case {
    std::string_view account;
    std::uint64_t expected;
  };
  for (const Case& c : std::initializer_list<Case>{{"", 0},
                                                   {"0", 0},
                                                   {"7", 7},
                                                   {"0000000042", 42},
                                                   {"396000000", 396000000},
                                                   {"9999999999", 9999999999},
                                                   {"1234567890", 1234567890}}) {
    EXPECT_EQ(AccountNumber(c.account), c.expected) << c.account;
  }
}

}  // namespace
}  // namespace tavrel::engine
