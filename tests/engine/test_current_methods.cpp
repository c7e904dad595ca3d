// The methods the current rules have and the 2009 rules lack: those defined
// before 2009 that had no 2009 block, and D4 to E4. Held to the Bundesbank's test
// numbers; the 2009 rules know none of them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "method_test_support.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using testing::ExpectPublishedNumbers;
using testing::ExpectResults;
using testing::ExpectRoute;
using testing::KeyResult;
using testing::PublishedRows;

const RuleSet& Current() { return Rules(Generation::kCurrent); }

TEST(CurrentMethods, AcceptAndRejectTheTestNumbers) {
  const auto added =
      PublishedRows(Generation::kCurrent, [](std::string_view m) { return !testing::In2009(m); });
  EXPECT_FALSE(added.empty());
  ExpectPublishedNumbers(added, Current());
  // Hand-computed: 10339 sums to 29 and 71, neither a multiple of 11; 24010018
  // is 97's example with another check digit; 79 rejects position 1 at 0.
  const std::vector<KeyResult> handComputed = {{"77", "10339", kInvalid},
                                               {"97", "24010018", kInvalid},
                                               {"79", "0230012688", kInvalid},
                                               {"79", "123456789", kInvalid}};
  ExpectResults(handComputed, Current());
}

// The table holds as many distinct numbers per method as the Bundesbank's lists
// print (B6 counts account and bank code pairs); E1 and 97 add their worked
// examples.
TEST(CurrentMethods, PublishedTableHoldsEveryPrintedNumber) {
  const std::map<std::string_view, std::size_t> printed = {
      {"45", 7},  {"51", 23}, {"57", 17}, {"66", 5},  {"74", 18}, {"77", 4},
      {"79", 8},  {"82", 2},  {"83", 5},  {"84", 12}, {"87", 11}, {"89", 3},
      {"90", 27}, {"93", 8},  {"95", 4},  {"97", 1},  {"A4", 18}, {"B0", 14},
      {"B1", 12}, {"B4", 12}, {"B6", 7},  {"B8", 10}, {"C2", 11}, {"C6", 40},
      {"D1", 19}, {"D4", 19}, {"D5", 18}, {"D6", 18}, {"D7", 16}, {"D8", 6},
      {"D9", 11}, {"E0", 7},  {"E1", 9},  {"E2", 32}, {"E3", 14}, {"E4", 8}};
  std::map<std::string_view, std::set<std::pair<std::string_view, std::string_view>>> held;
  for (const PublishedNumbers& row : PublishedTestNumbers()) {
    if (row.generation != Generation::kCurrent) continue;
    for (std::string_view list : {row.valid, row.invalid}) {
      for (std::string_view account : SplitAccounts(list))
        held[row.method].insert({account, row.bankCode});
    }
  }
  std::map<std::string_view, std::size_t> counts;
  for (const auto& [method, numbers] : held) counts[method] = numbers.size();
  EXPECT_EQ(counts, printed);
}

TEST(CurrentMethods, ResultsWithoutCheckDigit) {
  constexpr int kNoCheck = kValidWithoutCheck;
  const std::vector<KeyResult> cases = {
      {"B0", "1197423162", kNoCheck},                                 // position 8 is 1
      {"B0", "1000000606", kNoCheck},                                 // position 8 is 6
      {"B0", "1000000406", kValid},   {"89", "123456", kNoCheck},     // six significant digits
      {"89", "1234567890", kNoCheck},                                 // ten
      {"D8", "0010000000", kNoCheck},                                 // eight significant digits
      {"D8", "0099999999", kNoCheck}, {"D8", "123456789", kInvalid},  // nine
  };
  ExpectResults(cases, Current());
}

// Method 70 has no test numbers: its choice of positions is held to the methods
// it names. Method 79 puts the check digit at position 9 for 1, 2 and 9 first.
TEST(CurrentMethods, RoutesByPositions) {
  for (const testing::Route& route : std::initializer_list<testing::Route>{
           {"70", "123512345", "32", "06"},
           {"70", "123691234", "32", "06"},
           {"70", "123456789", "06", "32"},
           {"70", "123612345", "06", "32"},
           {"79", "323001268", "79Variante1", "79Variante2"},
       }) {
    ExpectRoute(route, Current());
  }
  EXPECT_EQ(ComputeMethod("1550167850", "79Variante2", {}, Current()), kValid);
  EXPECT_EQ(ComputeMethod("1550167859", "79", {}, Current()), kValid) << "position 10 unchecked";
  EXPECT_EQ(ComputeMethod("1550167840", "79", {}, Current()), kInvalid);
}

TEST(CurrentMethods, The2009RulesHaveNone) {
  for (std::string_view code : {"70", "77", "79", "82", "83", "89", "93", "97", "A4", "B0", "B4",
                                "D4", "D5", "D6", "D7", "D8", "D9", "E0", "E1", "E2", "E3", "E4"}) {
    EXPECT_EQ(ComputeMethod("1234567897", code, {}), kMethodNotFound) << code;
    EXPECT_NE(ComputeMethod("1234567897", code, {}, Current()), kMethodNotFound) << code;
  }
  EXPECT_EQ(ComputeMethod("1234567897", "12", {}, Current()), kMethodNotFound);
  EXPECT_EQ(ComputeMethod("1234567897", "E5", {}, Current()), kMethodNotFound);
}

}  // namespace
}  // namespace tavrel::engine
