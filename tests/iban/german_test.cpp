// German IBANs: splitting into bank code and account, and the standard conversion.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "tavrel/iban.h"

namespace tavrel::iban {
namespace {

struct GermanCase {
  std::string_view iban;
  std::string_view bankCode;
  std::string_view account;  // as published, without leading zeros
};

// The valid German examples of the IBAN notes with their parts.
constexpr GermanCase kGermanCases[] = {
    {"DE89370400440532013000", "37040044", "532013000"},
    {"DE41500105170123456789", "50010517", "123456789"},
    {"DE91100000000123456789", "10000000", "123456789"},
    {"DE68210501700012345678", "21050170", "12345678"},
    {"DE18120300000012345678", "12030000", "12345678"},
    {"DE38700203000099406400", "70020300", "99406400"},
};

TEST(German, SplitAndBuildAreInverse) {
  for (const GermanCase& c : kGermanCases) {
    SCOPED_TRACE(c.iban);
    const std::optional<GermanAccount> parts = SplitGerman(Parse(c.iban).iban);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->bankCode(), c.bankCode);
    EXPECT_EQ(parts->accountWithoutLeadingZeros(), c.account);
    EXPECT_EQ(parts->account().size(), 10u);
    EXPECT_TRUE(parts->account().ends_with(c.account));
    const IbanResult built = BuildGerman(c.bankCode, c.account);
    EXPECT_EQ(built.outcome, Outcome::kValid);
    EXPECT_EQ(built.iban.view(), c.iban);
    EXPECT_EQ(BuildGerman(c.bankCode, parts->account()).iban.view(), c.iban);
  }
}

TEST(German, SplitRefusesOtherAndInvalidIbans) {
  EXPECT_FALSE(SplitGerman(Parse("GB29NWBK60161331926819").iban));
  EXPECT_FALSE(SplitGerman(Parse("DE88370400440532013000").iban));
  EXPECT_FALSE(SplitGerman(IbanText()));
}

TEST(German, AccountOfZerosKeepsOneDigit) {
  const IbanResult built = BuildGerman("37040044", "0");
  ASSERT_EQ(built.outcome, Outcome::kValid);
  const std::optional<GermanAccount> parts = SplitGerman(built.iban);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->account(), "0000000000");
  EXPECT_EQ(parts->accountWithoutLeadingZeros(), "0");
}

TEST(German, BuildRefusesMalformedInputBankCodeFirst) {
  struct Malformed {
    std::string_view bankCode;
    std::string_view account;
    Outcome expected;
  };
  constexpr Malformed kCases[] = {
      {"3704004", "532013000", Outcome::kBankCodeLength},
      {"370400440", "532013000", Outcome::kBankCodeLength},
      {" 37040044", "532013000", Outcome::kBankCodeLength},
      {"3704004A", "532013000", Outcome::kBankCodeNotDigits},
      {"3704004A", "", Outcome::kBankCodeNotDigits},
      {"37040044", "", Outcome::kAccountLength},
      {"37040044", "05320130001", Outcome::kAccountLength},
      {"37040044", "53201300O", Outcome::kAccountNotDigits},
      {"37040044", " 532013000", Outcome::kAccountNotDigits},
  };
  for (const Malformed& c : kCases) {
    const IbanResult built = BuildGerman(c.bankCode, c.account);
    EXPECT_EQ(built.outcome, c.expected) << c.bankCode << " / " << c.account;
    EXPECT_TRUE(built.iban.empty());
  }
}

}  // namespace
}  // namespace tavrel::iban
