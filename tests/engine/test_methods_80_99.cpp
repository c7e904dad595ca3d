#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "engine/internal/method_table.h"
#include "engine/internal/rule_rows.h"
#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectOnlyThisCheckDigit;
using testing::ValidAccount;
using testing::ValidCheckDigits;

// Most accounts below are 123456789 plus a check digit, so every position
// carries a different digit and a weight on the wrong position shows.
TEST(Methods80To99, OneValidAccountPerRecipeAndNoOtherCheckDigit) {
  const std::array<ValidAccount, 29> cases = {{
      // Positions 9..5 (9, 8, 7, 6, 5) x 2, 1, 2, 1, 2 = 18, 8, 14, 6, 10; digit
      // sums 9 + 8 + 5 + 6 + 1 = 29: mod 10 gives 1, mod 7 gives 7 - 1 = 6.
      {"80MethodeA", "1234567891", 10},
      {"80MethodeB", "1234567896", 10},
      // Positions 9..5 x 2..6 = 18 + 24 + 28 + 30 + 30 = 130: mod 7 r 4 gives 3,
      // mod 11 r 9 gives 2, mod 9 r 4 gives 5.
      {"84MethodeB", "1234567893", 10},
      {"85MethodeB", "1234567892", 10},
      {"85MethodeC", "1234567893", 10},
      {"87MethodeB", "1234567892", 10},
      {"87MethodeC", "1234567893", 10},
      {"90MethodeB", "1234567892", 10},
      {"90MethodeC", "1234567893", 10},
      {"90MethodeD", "1234567895", 10},
      // Positions 9..4 x 2..7 = 130 + 4 x 7 = 158, mod 11 r 4: check digit 7.
      {"85MethodeA", "1234567897", 10},
      {"86MethodeB", "1234567897", 10},
      {"88", "1234567897", 10},
      {"90MethodeA", "1234567897", 10},
      // Positions 9..3 x 2..8 = 158 + 3 x 8 = 182, mod 11 r 6: check digit 5.
      {"85Ausnahme", "1234567895", 10},
      {"88Ausnahme", "1234567895", 10},
      {"90MethodeF", "1234567895", 10},
      // Positions 9..4 x 2, 1, 2, 1, 2, 1: digit sums 9, 8, 5, 6, 1, 4 = 33: 7.
      {"86MethodeA", "1234567897", 10},
      // Positions 9..5 x 2, 1, 2, 1, 2 = 18 + 8 + 14 + 6 + 10 = 56: 4.
      {"90MethodeE", "1234567894", 10},
      // Positions 6..1 (4..9) x 2..7 = 8, 15, 24, 35, 48, 63 = 193, r 6: 5.
      {"91Variante1", "9876545321", 7},
      // Positions 6..1 x 7, 6, 5, 4, 3, 2 = 42, 30, 20, 12, 6, 2 = 112, r 2: 9.
      {"91Variante2", "1234569890", 7},
      // Positions 10..1 (6, 4, 2, -, 0, 9, 7, 5, 3, 1) x 2, 3, 4, 0, 5..10 =
      // 12 + 12 + 8 + 54 + 49 + 40 + 27 + 10 = 212, r 3: 8.
      {"91Variante3", "1357908246", 7},
      // Positions 6..1 x 2, 4, 8, 5, 10, 9 = 12, 20, 32, 15, 20, 9 = 108, r 9: 2.
      {"91Variante4", "1234562890", 7},
      // Positions 9..4 x 3, 7, 1, 3, 7, 1 = 27, 56, 7, 18, 35, 4 = 147: 3.
      {"92", "1234567893", 10},
      // Positions 9..1 x 1, 2, 1, 2, ...: digit sums 9, 7, 7, 3, 5, 8, 3, 4, 1 = 47: 3.
      {"94", "1234567893", 10},
      // Positions 9..1 x 2..7, 2, 3, 4 = 18, 24, 28, 30, 30, 28, 6, 6, 4 = 174,
      // r 9: 2. Ten digits lie outside the ranges of method 95 and method 99.
      {"95", "1234567892", 10},
      {"99", "1234567892", 10},
      // Positions 9..1 x 2..9, 1 = 18, 24, 28, 30, 30, 28, 24, 18, 1 = 201, r 3: 8.
      {"96Variante1", "1234567898", 10},
      // Positions 9..1 x 2, 1, 2, ...: digit sums 9, 8, 5, 6, 1, 4, 6, 2, 2 = 43: 7.
      {"96Variante2", "1234567897", 10},
  }};
  for (const ValidAccount& c : cases) ExpectOnlyThisCheckDigit(c);
}

TEST(Methods80To99, CodesWithoutMethodAreNotFound) {
  for (std::string_view key : {"82", "83", "89", "93", "97"}) {
    EXPECT_EQ(ComputeMethod("1234567897", key, {}), kMethodNotFound) << key;
  }
}

// Each account is accepted or rejected by a known member of its method's
// sequence; the note names the check digit each member expects.
TEST(Methods80To99, SequencesAndLedgerAccounts) {
  struct Case {
    std::string_view key;
    std::string_view account;
    int expected;
  };
  const std::array<Case, 31> cases = {{
      {"80", "0308246281", kValid},    // A expects 0, B 1
      {"80", "6192396937", kInvalid},  // position 3 is 9: exceptions expect 3, 0 (A would take 7)
      {"80", "0493720521", kValid},    // exception 1 expects 1
      {"80", "2197903098", kValid},    // exception 2 expects 8
      // Seven digits: position 3 of 0009798348 is 0, whatever the text's third
      // character; A expects 8 (the exceptions 0).
      {"80", "9798348", kValid},
      {"81", "4699356044", kValid},    // exception 2 expects 4 (method 32 would take 5)
      {"81", "8198255393", kInvalid},  // exceptions expect 8, 7 (method 32 would take 3)
      {"81", "1234567897", kValid},    // method 32 expects 7
      {"81", "1234567896", kInvalid},
      {"84", "3768768233", kValid},    // method 33 expects 5, B 3
      {"84", "4303580040", kValid},    // method 33 expects 0
      {"84", "8991456746", kValid},    // exception 1 expects 6 (33 and B: 8, 3)
      {"85", "1799860538", kValid},    // positions 3 and 4 are 9: exception expects 8
      {"85", "3099700013", kInvalid},  // exception expects 8 (A would take 3)
      {"85", "5198635842", kValid},    // position 4 is 8: A 6, B 7, C 2 (exception 0)
      {"85", "8421448370", kValid},    // A 4, B 0
      {"86", "0242190109", kValid},    // A 6, B 9
      {"86", "6597153863", kValid},    // exceptions 9, 3 (A 9, B 4)
      {"87", "6675763190", kValid},    // A 3, B 5, C 0
      {"87", "4768729434", kValid},    // A 9, B 4
      {"87", "9796054533", kInvalid},  // exceptions 0, 1 (A would take 3)
      {"88", "0398596861", kValid},    // position 3 is 9: positions 3 to 9 give 1 (4 to 9: 7)
      {"88", "3597863454", kInvalid},  // positions 3 to 9 give 9 (4 to 9 would give 4)
      {"90", "1699963197", kInvalid},  // position 3 is 9: F expects 1 (A would take 7)
      {"90", "4161512134", kValid},    // A 7, B 3, C 4
      {"90", "7838852390", kValid},    // A 1, B 2, C 4, D 0
      {"90", "8314176835", kValid},    // A 9, B 4, C 3, D 4, E 5
      {"91", "7096684130", kValid},    // variants expect 2, 4, 2, 2 at position 7
      {"91", "6377271509", kValid},    // variants expect 0, 9, 9, 1 at position 7
      {"96", "6374178637", kValid},    // variant 1 expects 6, variant 2 7
      {"96", "4172830083", kValid},    // variant 1 expects 3, variant 2 7
  }};
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeMethod(c.account, c.key, {}), c.expected) << c.key << " " << c.account;
  }
}

TEST(Methods80To99, Method91RejectsWhatNoVariantAccepts) {
  // Variants expect 6, 3, 9, 2 and 9, 8, 0, 5 at position 7, which holds 0 and 7.
  EXPECT_EQ(ComputeMethod("8840010000", "91", {}), kInvalid);
  EXPECT_EQ(ComputeMethod("8840057000", "91", {}), kInvalid);
  // Variant 1 expects 8; variant 3 expects 9.
  EXPECT_EQ(ComputeMethod("2974118000", "91", {}), kValid);
  EXPECT_EQ(ComputeMethod("8840019000", "91", {}), kValid);
}

TEST(Methods80To99, Method91VariantThreeWeighsPositionsEightToTen) {
  // Position 10 enters variant 3 with weight 2: only 6 keeps the sum at r 3.
  EXPECT_EQ(ValidCheckDigits("91Variante3", "135790824"), "......V...");
  // Variant 1 stops at position 6: position 10 never matters.
  EXPECT_EQ(ValidCheckDigits("91Variante1", "987654532"), "VVVVVVVVVV");
}

TEST(Methods80To99, Method98FallsBackToMethod32) {
  // Positions 9..3 of 9141405 x 3, 1, 7, 3, 1, 7, 3 = 87: expects 3; method 32:
  // 0 + 12 + 4 + 20 + 6 + 63 = 105, r 6: expects 5.
  EXPECT_EQ(ComputeMethod("9141405", "98", {}), kValid);
  EXPECT_EQ(ComputeMethod("1709107983", "98", {}), kValid);  // 146: 4; method 32: 3
  EXPECT_EQ(ComputeMethod("9619439213", "98", {}), kValid);  // 147: 3
  EXPECT_EQ(ComputeMethod("4191175559", "98", {}), kValid);  // own check 9, method 32: 6
  // 123456789: own check expects 6 (sum 144), method 32 expects 7.
  EXPECT_EQ(ValidCheckDigits("98", "123456789"), "......VV..");
}

TEST(Methods80To99, RangeBoundsReadWithoutLeadingZeros) {
  struct Case {
    std::string_view key;
    std::string_view prefix;  // the account without its check digit
    std::string_view valid;   // which check digits 0..9 are accepted
  };
  const std::array<Case, 28> cases = {{
      {"95", "199999", "VVVVVVVVVV"},   {"95", "000199999", "VVVVVVVVVV"},
      {"95", "200000", "........V."},   {"95", "000200000", "........V."},
      {"95", "899999", "......V..."},   {"95", "900000", "VVVVVVVVVV"},
      {"95", "2599999", "VVVVVVVVVV"},  {"95", "2600000", ".........V"},
      {"95", "39599999", "V........."}, {"95", "39600000", "VVVVVVVVVV"},
      {"95", "49999999", "VVVVVVVVVV"}, {"95", "50000000", ".......V.."},
      {"95", "69999999", ".......V.."}, {"95", "70000000", "VVVVVVVVVV"},
      {"95", "79999999", "VVVVVVVVVV"}, {"95", "80000000", ".........V"},
      {"99", "39599999", "V........."}, {"99", "039599999", "V........."},
      {"99", "39600000", "VVVVVVVVVV"}, {"99", "039600000", "VVVVVVVVVV"},
      {"99", "49999999", "VVVVVVVVVV"}, {"99", "50000000", ".......V.."},
      {"96", "129999", ".........V"},   {"96", "000129999", ".........V"},
      {"96", "130000", "VVVVVVVVVV"},   {"96", "000130000", "VVVVVVVVVV"},
      {"96", "9939999", "VVVVVVVVVV"},  {"96", "9940000", "....V.V..."},
  }};
  for (const Case& c : cases) {
    EXPECT_EQ(ValidCheckDigits(c.key, c.prefix), c.valid) << c.key << " " << c.prefix << "x";
  }
}

TEST(Methods80To99, RangeResultsAtTheBounds) {
  struct Case {
    std::string_view key;
    std::string_view account;
    int expected;
  };
  // None of these accounts passes its mod-11 or variant checks.
  const std::array<Case, 14> cases = {{
      {"95", "1999999", kValidWithoutCheck},
      {"95", "0001999999", kValidWithoutCheck},
      {"95", "9000000", kValidWithoutCheck},
      {"95", "25999999", kValidWithoutCheck},
      {"95", "396000000", kValidWithoutCheck},
      {"95", "499999999", kValidWithoutCheck},
      {"95", "700000000", kValidWithoutCheck},
      {"95", "799999999", kValidWithoutCheck},
      {"95", "2000000", kInvalid},
      {"99", "0396000000", kValid},
      {"99", "499999999", kValid},
      {"96", "1300000", kValid},
      {"96", "99399999", kValid},
      {"96", "99400000", kInvalid},
  }};
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeMethod(c.account, c.key, {}), c.expected) << c.key << " " << c.account;
  }
}

TEST(Methods80To99, FirstResultOneDoesNotEndASequence) {
  // 583009 lies in a range of method 95 (1); method 99 weighs 3, 8, 5 by 4, 5, 6
  // = 82, r 5, expects 6 and rejects the check digit 9.
  EXPECT_EQ(ComputeMethod("0583009", "95", {}), kValidWithoutCheck);
  EXPECT_EQ(RunSequence(Rules(Generation::k2009), "0583009", {"95", "99"}), kInvalid);
}

TEST(Methods80To99, Modulus7And9RejectHighCheckDigits) {
  for (std::string_view key :
       {"80MethodeB", "84MethodeB", "85MethodeC", "87MethodeC", "90MethodeC", "90MethodeD"}) {
    const std::size_t firstRejected = key == "90MethodeD" ? 9 : 7;
    for (int tail = 0; tail < 100; ++tail) {
      const std::string prefix = "1234567" + std::to_string(tail / 10) + std::to_string(tail % 10);
      const std::string valid = ValidCheckDigits(key, prefix);
      EXPECT_EQ(std::count(valid.begin(), valid.end(), 'V'), 1) << key << " " << prefix;
      EXPECT_EQ(valid.find('V', firstRejected), std::string::npos) << key << " " << prefix;
    }
  }
}

TEST(Methods80To99, Method85ExceptionRejectsRemainderOne) {
  // Positions 9..3 of 630034091 (1, 9, 0, 4, 3, 0, 0) x 2..8 = 67, r 1.
  EXPECT_EQ(ValidCheckDigits("85Ausnahme", "630034091"), "..........");
  EXPECT_EQ(ValidCheckDigits("88Ausnahme", "630034091"), "V.........");
}

TEST(Methods80To99, Method87WalksTheAlternatingTables) {
  struct Case {
    std::string_view prefix;
    std::string_view valid;
  };
  const std::array<Case, 4> cases = {{
      // From position 4 (flags 0, 0): +6 (1 -> 6, 12 - 6), +2, -3, +4,
      // -2 (5 -> 10, 12 - 10), -1 (6 -> 1) = 6 -> 1; first table: 4.
      {"000123456", "....V....."},
      // From position 5 (flags 1, 0): -6, -2, +3, -4, +10 = 1; first table: 4,
      // and as position 4 is 0, 4 + 5 = 9 as well.
      {"000012345", "....V....V"},
      // From position 6 (flags 0, 0): +6, +2, -3, +4 = 9 -> 4; second table: 8,
      // shifted 3.
      {"000001234", "...V....V."},
      // Positions 4 to 9 all 0.
      {"123000000", ".........."},
  }};
  for (const Case& c : cases) {
    EXPECT_EQ(ValidCheckDigits("87MethodeA", c.prefix), c.valid) << c.prefix << "x";
  }
}

}  // namespace
}  // namespace tavrel::engine
