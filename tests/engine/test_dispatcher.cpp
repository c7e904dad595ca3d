#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "engine/internal/method_table.h"
#include "engine/internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

TEST(Dispatcher, KnowsExactly188DistinctKeysWith09First) {
  const auto keys = Keys();
  ASSERT_EQ(keys.size(), 188U);
  EXPECT_EQ(keys.front(), "09");
  EXPECT_EQ(keys.back(), "D3");
  EXPECT_EQ(std::set<std::string_view>(keys.begin(), keys.end()).size(), 188U);
}

TEST(Dispatcher, KeysWithoutABlockGiveMethodNotFound) {
  for (std::string_view key :
       {"12", "70", "77", "79", "82",  "83",  "89",  "93", "97", "A4",         "B0",    "B4",
        "D4", "E0", "",   "0",  "000", "00 ", " 00", "a1", "c6", "51methodea", "Eser ", "eser"}) {
    EXPECT_EQ(ComputeMethod("1234567897", key, "12345678"), kMethodNotFound) << '"' << key << '"';
  }
}

TEST(Dispatcher, MalformedAccountsNeverReachABlock) {
  const std::string huge(1 << 20, '7');
  const std::string withNul(
      "12345\0"
      "6789",
      10);
  for (std::string_view key : Keys()) {
    for (std::string_view account :
         {std::string_view{}, std::string_view{"12345678901"}, std::string_view{"12a4"},
          std::string_view{" 123"}, std::string_view{"\xFC"}, std::string_view{huge},
          std::string_view{withNul}}) {
      const int result = ComputeMethod(account, key, "12345678");
      EXPECT_EQ(result, kInvalid) << key << " on a malformed account";
    }
  }
}

TEST(Dispatcher, EveryKeySurvivesZerosAndOddBankCodes) {
  for (std::string_view key : Keys()) {
    for (std::string_view account : {"0", "0000000000", "1", "9999999999", "0000000001"}) {
      for (std::string_view bankCode :
           {std::string_view{}, std::string_view{"1"}, std::string_view{"abcdefgh"},
            std::string_view{"12345678"}}) {
        const int result = ComputeMethod(account, key, bankCode);
        EXPECT_TRUE(result == kValid || result == kValidWithoutCheck || result == kInvalid ||
                    result == kMethodNotFound)
            << key << " " << account << " gave " << result;
      }
    }
  }
}

// Random texts of 0 to 12 characters, as accounts and as bank codes, for every
// key: half of them digits only (so that blocks run on odd lengths and zeros),
// half mixed with letters, blanks and bytes above 0x7F.
TEST(Dispatcher, EveryKeyGivesAResultValueForRandomTexts) {
  std::mt19937 random(20090907);
  const std::string digits = "01234567890000";
  const std::string mixed = digits + "aZ \t\x80\xC4\xFC\xFF";
  const auto randomText = [&](const std::string& alphabet) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, 12)(random), '0');
    for (char& c : text)
      c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    return text;
  };
  for (std::string_view key : Keys()) {
    for (int i = 0; i < 2000; ++i) {
      const std::string account = randomText(i % 2 == 0 ? digits : mixed);
      const std::string bankCode = i % 3 == 0 ? randomText(mixed) : "12345678";
      const int result = ComputeMethod(account, key, bankCode);
      ASSERT_TRUE(result == kValid || result == kValidWithoutCheck || result == kInvalid ||
                  result == kMethodNotFound)
          << key << " '" << account << "' gave " << result;
    }
  }
}

TEST(Dispatcher, SubMethodRunsWithAnEmptyBankCode) {
  EXPECT_EQ(ComputeSubMethod("9290701", "00"), ComputeMethod("9290701", "00", "12345678"));
}

TEST(Sequence, StopsAtTheFirstValidAndOtherwiseReturnsTheLast) {
  const RuleSet& rules = Rules(Generation::k2009);
  // 9290701 is valid under 00 and invalid under 01 (3,7,1,... weights).
  EXPECT_EQ(RunSequence(rules, "9290701", {"01", "00"}), kValid);
  EXPECT_EQ(RunSequence(rules, "9290701", {"00", "01"}), kValid);
  // A 1 from a key that is not the last does not end the sequence.
  EXPECT_EQ(RunSequence(rules, "9290702", {"09", "00"}), kInvalid);
  EXPECT_EQ(RunSequence(rules, "9290702", {"00", "09"}), kValidWithoutCheck);
  // D4 came after 2009: the 2009 rules have no such method.
  EXPECT_EQ(RunSequence(rules, "9290702", {"00", "D4"}), kMethodNotFound);
}

}  // namespace
}  // namespace tavrel::engine
