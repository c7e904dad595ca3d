// CheckIban and FromAccount over the account check service, and the round trip
// from valid accounts of the compiled-in directory to IBANs and back.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace tavrel::iban {
namespace {

// 12030000 uses method 00 with 9290701 valid, so 9290702 has a wrong check digit;
// 99999999 is no bank code of the directory.
constexpr std::string_view kBank = "12030000";
constexpr std::string_view kValidAccount = "9290701";

TEST(CheckIban, ReportsTheAccountCheckBesideAValidIban) {
  struct Case {
    std::string_view bankCode;
    std::string_view account;
    Outcome accountOutcome;
  };
  constexpr Case kCases[] = {
      {kBank, kValidAccount, Outcome::kValid},
      {kBank, "9290702", Outcome::kInvalidCheckDigit},
      {"99999999", "1234567890", Outcome::kBankCodeUnknown},
  };
  for (const Case& c : kCases) {
    const IbanText built = BuildGerman(c.bankCode, c.account).iban;
    const IbanVerdict verdict = CheckIban(PrintFormat(built).view());
    SCOPED_TRACE(built.view());
    EXPECT_EQ(verdict.iban, Outcome::kValid);
    EXPECT_EQ(verdict.electronic, built);
    ASSERT_TRUE(verdict.german);
    EXPECT_EQ(verdict.german->account.bankCode(), c.bankCode);
    EXPECT_EQ(verdict.german->account.accountWithoutLeadingZeros(), c.account);
    EXPECT_EQ(verdict.german->accountOutcome, c.accountOutcome);
  }
}

TEST(CheckIban, NoAccountCheckForOtherCountriesOrInvalidIbans) {
  const IbanVerdict british = CheckIban("GB29NWBK60161331926819");
  EXPECT_EQ(british.iban, Outcome::kValid);
  EXPECT_FALSE(british.german);
  const IbanVerdict wrong = CheckIban("DE88370400440532013000");
  EXPECT_EQ(wrong.iban, Outcome::kIbanChecksum);
  EXPECT_FALSE(wrong.german);
}

// 10011001 (method 09, no check digit) is a bank of today only.
TEST(CheckIban, ChecksTheAccountAgainstTheSourceGiven) {
  const service::CheckSource today = service::SourceOf(service::FindCompiledDirectory("current"));
  constexpr std::string_view kToday = "DE65100110011234567890";
  EXPECT_EQ(CheckIban(kToday).german->accountOutcome, Outcome::kBankCodeUnknown);
  EXPECT_EQ(CheckIban(kToday, today).german->accountOutcome, Outcome::kValidWithoutCheck);
  EXPECT_EQ(FromAccount("10011001", "1234567890").account, Outcome::kBankCodeUnknown);
  EXPECT_EQ(FromAccount("10011001", "1234567890", today).iban.view(), kToday);
}

TEST(FromAccount, BuildsOnlyForAValidAccountAfterTrimming) {
  const AccountConversion valid = FromAccount(" 12030000\t", " 9290701 ");
  EXPECT_EQ(valid.account, Outcome::kValid);
  EXPECT_EQ(valid.iban, BuildGerman(kBank, kValidAccount).iban);
  EXPECT_EQ(valid.conversion, Conversion::kStandard);

  struct Refused {
    std::string_view bankCode;
    std::string_view account;
    Outcome expected;
  };
  constexpr Refused kRefused[] = {
      {kBank, "9290702", Outcome::kInvalidCheckDigit},
      {kBank, "0000000000", Outcome::kInvalidCheckDigit},
      {"99999999", "1234567890", Outcome::kBankCodeUnknown},
      {kBank, "92907O1", Outcome::kAccountNotDigits},
      {"1203000", kValidAccount, Outcome::kBankCodeLength},
  };
  for (const Refused& c : kRefused) {
    const AccountConversion refused = FromAccount(c.bankCode, c.account);
    EXPECT_EQ(refused.account, c.expected) << c.bankCode << " / " << c.account;
    EXPECT_TRUE(refused.iban.empty());
  }
}

// Accounts of one to ten digits made valid for their bank by the last digit.
std::vector<service::AccountQuery> ValidAccounts(std::size_t count,
                                                 std::vector<std::string>& storage) {
  std::vector<std::string> bankCodes;
  directory::ForEachEntry(
      [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
  std::mt19937 random(22);
  storage.reserve(2 * count);
  std::vector<service::AccountQuery> accounts;
  while (accounts.size() < count) {
    const std::string& bankCode = bankCodes[random() % bankCodes.size()];
    std::string account(1 + random() % 10, '0');
    for (char& c : account) c = static_cast<char>('0' + random() % 10);
    account[0] = static_cast<char>('1' + random() % 9);
    for (char last = '0'; last <= '9'; ++last) {
      account.back() = last;
      if (!IsValid(service::CheckAccount({bankCode, account}))) continue;
      storage.push_back(bankCode);
      storage.push_back(account);
      accounts.push_back({storage[storage.size() - 2], storage.back()});
      break;
    }
  }
  return accounts;
}

TEST(RoundTrip, ValidAccountsGiveIbansThatCheckBackToThem) {
  std::vector<std::string> storage;
  const std::vector<service::AccountQuery> accounts = ValidAccounts(10000, storage);
  std::set<std::string> checkDigits;
  for (const service::AccountQuery& query : accounts) {
    const AccountConversion conversion = FromAccount(query.bankCode, query.account);
    ASSERT_TRUE(IsValid(conversion.account));
    const IbanVerdict verdict = CheckIban(conversion.iban.view());
    ASSERT_EQ(verdict.iban, Outcome::kValid) << conversion.iban.view();
    ASSERT_TRUE(verdict.german);
    EXPECT_EQ(verdict.german->account.bankCode(), query.bankCode);
    EXPECT_EQ(verdict.german->account.accountWithoutLeadingZeros(), query.account);
    EXPECT_TRUE(IsValid(verdict.german->accountOutcome)) << conversion.iban.view();
    checkDigits.emplace(conversion.iban.checkDigits());
  }
  // 98 minus a remainder modulo 97: all 97 values from 02 to 98 and no others.
  EXPECT_EQ(checkDigits.size(), 97u);
  EXPECT_EQ(*checkDigits.begin(), "02");
  EXPECT_EQ(*checkDigits.rbegin(), "98");
}

}  // namespace
}  // namespace tavrel::iban
