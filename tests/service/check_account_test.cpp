#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// 10000000 (BBk Berlin) uses method 09, which accepts every account; 12030000
// uses method 00; 99999999 is well formed but lies above the last bank code.
constexpr std::string_view kMethod09Bank = "10000000";
constexpr std::string_view kMethod00Bank = "12030000";
constexpr std::string_view kUnknownBank = "99999999";

struct CheckCase {
  std::string_view name;
  std::string_view account;
  std::string_view bankCode;
  int expected;
};

class CheckAccountTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckAccountTest, GivesResult) {
  const CheckCase& c = GetParam();
  EXPECT_EQ(CheckAccount(c.account, c.bankCode), c.expected)
      << "account \"" << c.account << "\" bank code \"" << c.bankCode << "\"";
}

using std::string_view_literals::operator""sv;

const CheckCase kCases[] = {
    // Trimming comes before every length test, on both strings and both ends.
    {"BankCodeWithBlanksAround", "1234567890", " 10000000 ", engine::kValidWithoutCheck},
    {"AllSixWhiteSpacesTrimmed", "\t\n\v\f\r 1234567890 \r\f\v\n\t", "\r\n10000000\t",
     engine::kValidWithoutCheck},
    {"InnerBlankNotTrimmed", "1234567890", "1000 0000", kBankCodeNotEightChars},
    // Bank code form.
    {"BankCodeSevenDigits", "1234567890", "1000000", kBankCodeNotEightChars},
    {"BankCodeNineDigits", "1234567890", "100000000", kBankCodeNotEightChars},
    {"BankCodeEmpty", "1234567890", "", kBankCodeNotEightChars},
    {"BankCodeBlanksOnly", "1234567890", "        ", kBankCodeNotEightChars},
    {"BankCodeSevenDigitsAndLetter", "1234567890", "1000000A", kBankCodeNotDigits},
    {"BankCodeInnerBlankEightChars", "1234567890", "100 0000", kBankCodeNotDigits},
    {"BankCodeHighByte", "1234567890", "1000000\xFC", kBankCodeNotDigits},
    {"BankCodeNulByte", "1234567890", "1000000\0"sv, kBankCodeNotDigits},
    {"BankCodeLettersBeatEmptyAccount", "", "ABCDEFGH", kBankCodeNotDigits},
    {"BankCodeLengthBeatsAccountLetters", "12A", "1000000", kBankCodeNotEightChars},
    // Account form.
    {"AccountEmpty", "", "10000000", kAccountLength},
    {"AccountBlanksOnly", "   ", "10000000", kAccountLength},
    {"AccountElevenDigits", "12345678901", "10000000", kAccountLength},
    {"AccountTenZerosAndOne", "00000000001", "10000000", kAccountLength},
    {"AccountNineZerosAndOne", "0000000001", "10000000", engine::kValidWithoutCheck},
    {"AccountOneDigit", "1", "10000000", engine::kValidWithoutCheck},
    {"AccountDigitsThenLetter", "123456789X", "10000000", kAccountNotDigits},
    {"AccountInnerBlank", "1234 5678", "10000000", kAccountNotDigits},
    {"AccountSign", "-1234", "10000000", kAccountNotDigits},
    {"AccountNulByte",
     "1234\0"sv
     "5",
     "10000000", kAccountNotDigits},
    {"AccountElevenCharsWithLetterIsLength", "1234567890X", "10000000", kAccountLength},
    {"AccountZerosThenLetterIsNotDigits", "000X", "10000000", kAccountNotDigits},
    {"AccountTenZeros", "0000000000", "10000000", engine::kInvalid},
    {"AccountOneZero", "0", "10000000", engine::kInvalid},
    {"AccountZerosWithBlanks", " 000 ", "10000000", engine::kInvalid},
    // Account faults win over an unknown bank code; the directory comes last.
    {"UnknownBankWithLetterAccount", "12A", kUnknownBank, kAccountNotDigits},
    {"UnknownBankWithEmptyAccount", "", kUnknownBank, kAccountLength},
    {"UnknownBankWithZeroAccount", "0", kUnknownBank, engine::kInvalid},
    {"UnknownBankWithGoodAccount", "1234567890", kUnknownBank, kBankCodeUnknown},
    {"ZeroBankCode", "1234567890", "00000000", kBankCodeUnknown},
    // The engine's result is returned unchanged.
    {"Method09AcceptsAnything", "9999999999", kMethod09Bank, engine::kValidWithoutCheck},
    {"Method00Valid", "9290701", kMethod00Bank, engine::kValid},
    {"Method00ValidPadded", "0009290701", kMethod00Bank, engine::kValid},
    {"Method00ValidTrimmed", " 9290701\t", kMethod00Bank, engine::kValid},
    {"Method00WrongCheckDigit", "9290702", kMethod00Bank, engine::kInvalid},
};

INSTANTIATE_TEST_SUITE_P(Cases, CheckAccountTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckAccount, LeavesCallerStringsUnchanged) {
  const std::string account = " 9290701 ";
  const std::string bankCode = " 12030000 ";
  CheckAccount(account, bankCode);
  EXPECT_EQ(account, " 9290701 ");
  EXPECT_EQ(bankCode, " 12030000 ");
}

// Every method code the directory hands out must have a block in the engine:
// otherwise a real bank would answer "method not found" for every account.
TEST(CheckAccount, EveryDirectoryMethodCodeIsAnEngineKey) {
  const auto keys = engine::Keys();
  std::set<std::string> missing;
  int banks = 0;
  directory::ForEachEntry([&](std::string_view, std::string_view entry) {
    ++banks;
    const std::string_view methodCode = entry.substr(0, 2);
    if (std::find(keys.begin(), keys.end(), methodCode) == keys.end()) {
      missing.emplace(methodCode);
    }
  });
  EXPECT_EQ(banks, static_cast<int>(directory::kEntryCount));
  EXPECT_THAT(missing, ::testing::IsEmpty());
}

struct TrimCase {
  std::string_view input;
  std::string_view expected;
};

// A batch answers each query as a call of its own: across blocks, for banks of
// every method, with faults of every kind among them, by both rule generations
// and over both compiled directories.
TEST(CheckAccounts, AnswersEachQueryAsTheSingleCheck) {
  std::mt19937 random(64);
  const CheckSource current = SourceOf(FindCompiledDirectory("current"));
  std::vector<std::pair<std::string, std::string>> texts;  // bank code, account
  for (const Bank bank : *current.directory) {
    std::string account(1 + random() % 10, '0');
    for (char& c : account) c = static_cast<char>('0' + random() % 10);
    const std::string faults[] = {
        account + "x", " " + account + "\t", account + "12345", "", "0000000", account};
    texts.emplace_back(std::string(bank.bankCode), faults[std::min<unsigned>(random() % 12, 5)]);
  }
  texts.emplace_back("99999999", "1234567");
  texts.emplace_back("1203000", "1234567");
  std::vector<AccountQuery> queries;
  for (const auto& [bankCode, account] : texts) queries.push_back({bankCode, account});
  // Not a whole number of blocks: the last block is short.
  const std::span<const AccountQuery> batch = std::span(queries).first(queries.size() - 3);
  std::vector<Outcome> outcomes(batch.size());
  for (const RuleSet* rules : {&DefaultRules(), FindRules("current")}) {
    CheckAccounts(batch, outcomes, *rules);
    for (std::size_t i = 0; i < batch.size(); ++i)
      ASSERT_EQ(outcomes[i], CheckAccount(batch[i], *rules))
          << batch[i].bankCode << " " << batch[i].account;
  }
  for (const CheckSource& source : {DefaultSource(), current}) {
    CheckAccounts(batch, outcomes, source);
    for (std::size_t i = 0; i < batch.size(); ++i)
      ASSERT_EQ(outcomes[i], CheckAccount(batch[i], source))
          << batch[i].bankCode << " " << batch[i].account;
  }
}

TEST(TrimWhiteSpace, RemovesTheSixCharactersAtBothEndsOnly) {
  const TrimCase cases[] = {
      {"", ""},
      {" \t\n\v\f\r", ""},
      {"abc", "abc"},
      {" a b ", "a b"},
      {"\r\nx\r\n", "x"},
      {"\xA0x\xA0", "\xA0x\xA0"},  // no-break space is not trimmed
      {"\0x\0"sv, "\0x\0"sv},
  };
  for (const TrimCase& c : cases) {
    EXPECT_EQ(TrimWhiteSpace(c.input), c.expected) << "input \"" << c.input << "\"";
  }
}

}  // namespace
}  // namespace tavrel::service
