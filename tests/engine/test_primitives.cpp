// Each primitive pinned on weight lists chosen so that the weighted sum, and so
// the remainder, can be read off the account: with the single weight 1 the sum is
// the digit at position 9.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/internal/primitives.h"

namespace tavrel::engine {
namespace {

using Primitive = std::function<int(const Weights&, const AccountDigits&)>;

// 'V' where the primitive accepts `prefix` + check digit (+ `suffix`), '.' where
// it rejects it, for the check digits 0 to 9.
std::string Pattern(const Primitive& primitive, const Weights& weights, const std::string& prefix,
                    const std::string& suffix = {},
                    AccountDigits (*build)(std::string_view) = MakeAccountDigits) {
  std::string pattern;
  for (char digit = '0'; digit <= '9'; ++digit) {
    const int result = primitive(weights, build(prefix + digit + suffix));
    EXPECT_TRUE(result == 0 || result == -3 || result == 1) << result;
    pattern += result == 0 || result == 1 ? 'V' : '.';
  }
  return pattern;
}

const Weights kOne = {1};
const Weights kTen = {10};

struct Case {
  const char* name;
  Primitive primitive;
  Weights weights;
  std::string prefix;
  std::string expected;
};

#define PRIMITIVE(f) [](const Weights& w, const AccountDigits& r) { return f(w, r); }

TEST(Mod11Remainders, EachRuleTurnsTheRemainderIntoItsCheckDigit) {
  // Prefix "10" gives remainder 0, "11" remainder 1, "15" remainder 5; with the
  // weight 10, "11" gives remainder 10.
  const std::vector<Case> cases = {
      {"Mod11Check r0", PRIMITIVE(Mod11Check), kOne, "10", "V........."},
      {"Mod11Check r1", PRIMITIVE(Mod11Check), kOne, "11", "V........."},
      {"Mod11Check r5", PRIMITIVE(Mod11Check), kOne, "15", "......V..."},
      {"Mod11Check r10", PRIMITIVE(Mod11Check), kTen, "11", ".V........"},
      {"RejectTen r0", PRIMITIVE(Mod11CheckRejectTen), kOne, "10", "V........."},
      {"RejectTen r1", PRIMITIVE(Mod11CheckRejectTen), kOne, "11", ".........."},
      {"NineForTen r1", PRIMITIVE(Mod11CheckNineForTen), kOne, "11", ".........V"},
      {"OneForEleven r0", PRIMITIVE(Mod11CheckOneForEleven), kOne, "10", ".V........"},
      {"OneForEleven r1", PRIMITIVE(Mod11CheckOneForEleven), kOne, "11", "V........."},
      {"OneForTen r0", PRIMITIVE(Mod11CheckOneForTen), kOne, "10", "V........."},
      {"OneForTen r1", PRIMITIVE(Mod11CheckOneForTen), kOne, "11", ".V........"},
      {"RejectLow r0", PRIMITIVE(Mod11CheckRejectLow), kOne, "10", ".........."},
      {"RejectLow r1", PRIMITIVE(Mod11CheckRejectLow), kOne, "11", ".........."},
      {"RejectLow r5", PRIMITIVE(Mod11CheckRejectLow), kOne, "15", "......V..."},
      // Remainder 1: the check digit may equal its left neighbour (here 1) or be 0.
      {"EqualNeighbours r1", PRIMITIVE(Mod11CheckEqualNeighbours), kOne, "11", "VV........"},
      {"EqualNeighbours r5", PRIMITIVE(Mod11CheckEqualNeighbours), kOne, "15", "......V..."},
      {"Remainder r5", PRIMITIVE(Mod11RemainderCheck), kOne, "15", ".....V...."},
      {"Remainder r10", PRIMITIVE(Mod11RemainderCheck), kTen, "11", ".........."},
      {"TenIsNeighbour r10", PRIMITIVE(Mod11RemainderCheckTenIsNeighbour), kTen, "11",
       ".V........"},
      {"TenIsNeighbour r5", PRIMITIVE(Mod11RemainderCheckTenIsNeighbour), kOne, "15", ".....V...."},
      {"PlusFive r3", PRIMITIVE(Mod11RemainderPlusFiveCheck), kOne, "13", "...V....V."},
      {"PlusFive r7", PRIMITIVE(Mod11RemainderPlusFiveCheck), kOne, "17", "..V....V.."},
      {"PrefixRule r5", PRIMITIVE(Mod11RemainderCheckPrefixRule), kOne, "45", ".....V...."},
      // Remainder 10 leaves no digit to match.
      {"PrefixRule r10", PRIMITIVE(Mod11RemainderCheckPrefixRule), kTen, "41", ".........."},
      {"PrefixRule ten digits from 1", PRIMITIVE(Mod11RemainderCheckPrefixRule), kOne, "100000005",
       ".........."},
      {"PrefixRule ten digits from 4", PRIMITIVE(Mod11RemainderCheckPrefixRule), kOne, "400000005",
       ".....V...."},
      {"Mod7 r2", PRIMITIVE(Mod7Check), kOne, "9", ".....V...."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Pattern(c.primitive, c.weights, c.prefix), c.expected) << c.name;
}

TEST(Mod11Remainders, WorkDigitComesFromPositionTwo) {
  const std::vector<Case> cases = {
      {"work digit 8", PRIMITIVE(Mod11CheckWorkDigit), kOne, "080000001", "V........."},
      {"work digit 9", PRIMITIVE(Mod11CheckWorkDigit), kOne, "090000001", "V........."},
      {"work digit 2", PRIMITIVE(Mod11CheckWorkDigit), kOne, "020000001", ".........."},
      {"remainder 5", PRIMITIVE(Mod11CheckWorkDigit), kOne, "020000005", "......V..."},
      {"ten digits", PRIMITIVE(Mod11CheckWorkDigit), kOne, "120000005", ".........."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Pattern(c.primitive, c.weights, c.prefix), c.expected) << c.name;
}

TEST(Mod11Remainders, NinePrefixAcceptsLowRemaindersOnlyForTenDigitsFromNine) {
  const std::vector<Case> cases = {
      {"r0 from 9", PRIMITIVE(Mod11CheckNinePrefix), kOne, "900000000", "........V."},
      {"r1 from 9", PRIMITIVE(Mod11CheckNinePrefix), kOne, "900000001", ".......V.."},
      {"r0 from 8", PRIMITIVE(Mod11CheckNinePrefix), kOne, "800000000", ".........."},
      {"r0 short", PRIMITIVE(Mod11CheckNinePrefix), kOne, "90000000", ".........."},
      {"r5", PRIMITIVE(Mod11CheckNinePrefix), kOne, "15", "......V..."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Pattern(c.primitive, c.weights, c.prefix), c.expected) << c.name;
}

TEST(ProductReductions, DigitSumIsTakenOnceAndUnitsDigitKeepsTheLastDigit) {
  const Weights seven = {7};
  const Weights two = {2};
  const auto crossSum = [](const Weights& w, const AccountDigits& r) {
    return CrossSumCheck(w, r, 10);
  };
  const std::vector<Case> cases = {
      // 7 x 7 = 49 enters as 13: remainder 3, check digit 7.
      {"cross sum 49", crossSum, seven, "7", ".......V.."},
      // Iterated: 13 is reduced again to 4, check digit 6.
      {"iterated 49", PRIMITIVE(IteratedCrossSumCheck), seven, "7", "......V..."},
      // Units digit: 49 enters as 9, check digit 1.
      {"units 49", PRIMITIVE(UnitsSumCheck), seven, "7", ".V........"},
      // 2 x 9 = 18 enters as 9, 2 x 7 = 14 as 5.
      {"cross sum 18", crossSum, two, "9", ".V........"},
      {"cross sum 14", crossSum, two, "7", ".....V...."},
      {"weighted 14",
       [](const Weights& w, const AccountDigits& r) { return WeightedSumCheck(w, r, 10); }, two,
       "7", "......V..."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Pattern(c.primitive, c.weights, c.prefix), c.expected) << c.name;
}

TEST(SumMinusOne, ReducesOnlyTheNamedPlacesAndKeepsTheSignOfTheDividend) {
  // Place 2 holds 2 x 5 = 10, reduced to 1; place 1 holds 3: sum 4, r = 3, check 7.
  const Weights weights = {1, 5};
  EXPECT_EQ(Pattern([](const Weights& w,
                       const AccountDigits& r) { return Mod11SumMinusOneCheck(w, r, 1U << 2); },
                    weights, "23"),
            ".......V..");
  // Not reduced: sum 13, r = 1, check 9.
  EXPECT_EQ(Pattern([](const Weights& w,
                       const AccountDigits& r) { return Mod11SumMinusOneCheck(w, r, 0); },
                    weights, "23"),
            ".........V");
  // A sum of 0 expects 11, which no digit matches.
  EXPECT_EQ(Pattern([](const Weights& w,
                       const AccountDigits& r) { return Mod11SumMinusOneCheck(w, r, 0); },
                    Weights{}, "5"),
            "..........");
}

TEST(CrossSumVariants, From60000RejectsSmallAccounts) {
  const Weights w = {2, 1, 2, 1, 2, 1, 2, 1, 2};
  // 6000x: only 6 x 1 counts, check digit 4.
  EXPECT_EQ(Pattern(PRIMITIVE(CrossSumCheckFrom60000), w, "6000"), "....V.....");
  // 5999x would be valid with check digit 8 under the plain cross sum.
  EXPECT_EQ(Pattern(PRIMITIVE(CrossSumCheckFrom60000), w, "5999"), "..........");
  EXPECT_EQ(
      Pattern([](const Weights& ws, const AccountDigits& r) { return CrossSumCheck(ws, r, 10); }, w,
              "5999"),
      "........V.");
}

TEST(CrossSumVariants, HalfDecadeAppliesToSixDigitAccountsOnly) {
  // Sum 3: check digit 7, or 5 - 3 = 2 for six significant digits.
  EXPECT_EQ(Pattern(PRIMITIVE(CrossSumCheckHalfDecade), kOne, "10003"), "..V....V..");
  EXPECT_EQ(Pattern(PRIMITIVE(CrossSumCheckHalfDecade), kOne, "100003"), ".......V..");
}

TEST(RangeExempt, AccountsInTheFourRangesNeedNoCheck) {
  const Weights w = {2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(RangeExemptMod11Check(w, MakeAccountDigits("1999999")), 1);
  EXPECT_EQ(RangeExemptMod11Check(w, MakeAccountDigits("0700000000")), 1);
  EXPECT_EQ(RangeExemptMod11Check(w, MakeAccountDigits("25999999")), 1);
  // 2000000 is checked: position 4 holds 2 with weight 7, sum 14, r = 3, check
  // digit 8.
  EXPECT_EQ(RangeExemptMod11Check(w, MakeAccountDigits("2000000")), -3);
  EXPECT_EQ(RangeExemptMod11Check(w, MakeAccountDigits("2000008")), 0);
}

TEST(IncrementedProduct, PositionOneRules) {
  const Weights w = {1, 2, 3, 1, 2, 3, 1, 2, 3};
  // Position 1 = 3 counts as 0: only position 9 (1) with weight 1: (2 x 1) mod 11 = 2.
  EXPECT_EQ(Pattern(PRIMITIVE(IncrementedProductCheck), w, "300000001"), "..V.......");
  // Position 1 = 2 counts: 3 + (2 + 3 + 1 + 2 + 3 + 1 + 2) + 6 = 23, check digit 3.
  EXPECT_EQ(Pattern(PRIMITIVE(IncrementedProductCheck), w, "200000001"), "...V......");
  // Position 1 = 9 clears positions 1 to 3; position 4 = 1 starts: 2 + 8 + 3 = 13.
  EXPECT_EQ(Pattern(PRIMITIVE(IncrementedProductCheck), w, "900100000"), "...V......");
  // ... and with position 4 = 0 the account is invalid.
  EXPECT_EQ(Pattern(PRIMITIVE(IncrementedProductCheck), w, "900010000"), "..........");
}

TEST(IncrementedProduct, PlusFiveAcceptsTwoCheckDigits) {
  // Entry 1 holds 1 with weight 1: (1 + 1) x 1 = 2, so 2 and 7 are accepted.
  EXPECT_EQ(Pattern(PRIMITIVE(IncrementedProductPlusFiveCheck), kOne, "1"), "..V....V..");
}

TEST(TransformTable, RowsCycleFromPositionNine) {
  // 6 + 5 + 5 + 6 + 7 + 9 + 4 + 2 + 1 = 45: check digit 5.
  EXPECT_EQ(Pattern([](const Weights&, const AccountDigits& r) { return TransformTableCheck(r); },
                    {}, "123456789"),
            ".....V....");
  // The long form uses the table only for ten significant digits.
  const Weights crossSum = {2, 1, 2, 1, 2, 1, 2, 1, 2};
  EXPECT_EQ(Pattern(PRIMITIVE(TransformTableCheckLong), crossSum, "123456789"), ".....V....");
  // 23456789x: cross sum 9 + 8 + 5 + 6 + 1 + 4 + 6 + 2 = 41 -> check digit 9.
  EXPECT_EQ(Pattern(PRIMITIVE(TransformTableCheckLong), crossSum, "23456789"), ".........V");
}

TEST(DatePattern, MonthAndSerialDecide) {
  const auto test = [](std::string_view account) {
    return DatePatternTest(MakeAccountDigits(account));
  };
  EXPECT_EQ(test("0012300400"), 0);
  EXPECT_EQ(test("0001300499"), 0);
  EXPECT_EQ(test("0000300400"), -3);  // month 00
  EXPECT_EQ(test("0013300400"), -3);  // month 13
  EXPECT_EQ(test("0012305000"), -3);  // serial 500
}

TEST(Eser, FindsTheDigitThatMakesRemainderTen) {
  const Weights w = {2, 4, 8, 5, 10, 9, 7, 3, 6, 1, 2, 4};
  // 567810345678: sum 274, r = 10, weight 7 of the check place: x = 0.
  EXPECT_EQ(EserCheck(w, MakeEserDigits("10345678", "12345678")), 0);
  EXPECT_EQ(EserCheck(w, MakeEserDigits("12345678", "12345678")), -3);
  EXPECT_EQ(EserCheck(w, MakeEserDigits("1234567", "12345678")), -3);
}

TEST(AlternatingTable, WalksFromTheFirstNonZeroPositionFromFour) {
  const auto test = [](const Weights&, const AccountDigits& r) { return AlternatingTableCheck(r); };
  // Only position 9 (1 -> 6): s = -6 -> 4, second table: 8; position 4 is 0, so
  // 8 - 5 = 3 is accepted too.
  EXPECT_EQ(Pattern(test, {}, "000000001", {}, MakeAccountDigitsForward), "...V....V.");
  EXPECT_EQ(Pattern(test, {}, "000000000", {}, MakeAccountDigitsForward), "..........");
}

TEST(SeventhPosition, ComparesWithPositionSeven) {
  // Weight 1 on position 10 only: sum 5, check digit 6 at position 7.
  const auto test = [](const Weights& w, const AccountDigits& r) {
    return Mod11CheckSeventhPosition(w, r);
  };
  EXPECT_EQ(Pattern(test, kOne, "000000", "005", MakeAccountDigitsForward), "......V...");
}

#undef PRIMITIVE

}  // namespace
}  // namespace tavrel::engine
