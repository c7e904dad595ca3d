// Normalisation, validation, the registry and the print form.
#include "tavrel/iban.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tavrel::iban {
namespace {

using std::string_view_literals::operator""sv;

constexpr std::string_view kGermanExample = "DE89370400440532013000";

struct ParseCase {
  std::string_view text;
  Outcome expected;
  std::string_view electronic;  // on a valid outcome
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

// A leading blank sends the text through normalisation and the general checks,
// which must agree with the direct check of electronic forms.
TEST_P(ParseTest, GivesOutcomeWithAndWithoutALeadingBlank) {
  const ParseCase& c = GetParam();
  for (const std::string& text : {std::string(c.text), " " + std::string(c.text)}) {
    const IbanResult result = Parse(text);
    EXPECT_EQ(result.outcome, c.expected) << "\"" << text << "\"";
    if (c.expected == Outcome::kValid) {
      EXPECT_EQ(result.iban.view(), c.electronic);
    }
  }
}

// The examples of the IBAN notes, valid and invalid, each with its fault.
INSTANTIATE_TEST_SUITE_P(
    NotesExamples, ParseTest,
    ::testing::Values(
        ParseCase{"DE89370400440532013000", Outcome::kValid, "DE89370400440532013000"},
        ParseCase{"DE41500105170123456789", Outcome::kValid, "DE41500105170123456789"},
        ParseCase{"DE91100000000123456789", Outcome::kValid, "DE91100000000123456789"},
        ParseCase{"DE68210501700012345678", Outcome::kValid, "DE68210501700012345678"},
        ParseCase{"DE18120300000012345678", Outcome::kValid, "DE18120300000012345678"},
        ParseCase{"DE38700203000099406400", Outcome::kValid, "DE38700203000099406400"},
        ParseCase{"DE18360100439999999999", Outcome::kIbanChecksum, {}},
        ParseCase{"DE88370400440532013000", Outcome::kIbanChecksum, {}},
        ParseCase{"DE89370400440532013001", Outcome::kIbanChecksum, {}},
        ParseCase{"DE89370400440523013000", Outcome::kIbanChecksum, {}},
        ParseCase{"DE8937040044053201300", Outcome::kIbanLength, {}},
        ParseCase{"DE893704004405320130000", Outcome::kIbanLength, {}},
        ParseCase{"DE00370400440532013000", Outcome::kIbanChecksum, {}},
        ParseCase{"DE99370400440532013000", Outcome::kIbanChecksum, {}},
        ParseCase{"DE89370400440532O13000", Outcome::kIbanFormat, {}}));

// How text becomes the electronic form, and what it must not contain.
INSTANTIATE_TEST_SUITE_P(
    Normalisation, ParseTest,
    ::testing::Values(
        ParseCase{"DE89 3704 0044 0532 0130 00", Outcome::kValid, kGermanExample},
        ParseCase{"de89370400440532013000", Outcome::kValid, kGermanExample},
        ParseCase{"IBAN DE89 3704 0044 0532 0130 00", Outcome::kValid, kGermanExample},
        ParseCase{"  iban\tde89370400440532013000\r\n", Outcome::kValid, kGermanExample},
        ParseCase{"IbAn  DE89\xA0"
                  "3704\xA0"
                  "0044 0532 0130 00",
                  Outcome::kValid, kGermanExample},
        ParseCase{"gb29 nwbk 6016 1331 9268 19", Outcome::kValid, "GB29NWBK60161331926819"},
        ParseCase{"DE89-3704-0044-0532-0130-00", Outcome::kIbanFormat, {}},
        ParseCase{"IBAN:DE89370400440532013000", Outcome::kIbanFormat, {}},
        ParseCase{"DE89370400440532013000\xC4", Outcome::kIbanFormat, {}},
        ParseCase{"DE8937040044\0"
                  "0532013000"sv,
                  Outcome::kIbanFormat,
                  {}},
        ParseCase{"DE89370400440532013000 IBAN", Outcome::kIbanLength, {}},
        ParseCase{"IBANDE89370400440532013000", Outcome::kIbanCountryUnknown, {}},
        ParseCase{"IBAN ", Outcome::kIbanLength, {}}, ParseCase{"", Outcome::kIbanLength, {}},
        // Over 34 characters is no IBAN of any country; a bad character still wins.
        ParseCase{"MT84MALT011000012345MTLCAST001S1234", Outcome::kIbanLength, {}},
        ParseCase{"MT84MALT011000012345MTLCAST001S1234!", Outcome::kIbanFormat, {}}));

// The order of the faults: country, length, structure, checksum.
INSTANTIATE_TEST_SUITE_P(
    FaultOrder, ParseTest,
    ::testing::Values(
        ParseCase{"D", Outcome::kIbanLength, {}}, ParseCase{"DE", Outcome::kIbanLength, {}},
        ParseCase{"XX89370400440532013000", Outcome::kIbanCountryUnknown, {}},
        ParseCase{"1289370400440532013000", Outcome::kIbanCountryUnknown, {}},
        ParseCase{"XX893704004405320130", Outcome::kIbanCountryUnknown, {}},
        ParseCase{"DE89370400440532013A0", Outcome::kIbanLength, {}},
        ParseCase{"DEX9370400440532013000", Outcome::kIbanFormat, {}},
        ParseCase{"DE89370400440532013X00", Outcome::kIbanFormat, {}},
        ParseCase{"GB29NWB060161331926819", Outcome::kIbanFormat, {}},
        ParseCase{"GB29NWBK6016133192681A", Outcome::kIbanFormat, {}},
        // Class c takes a letter: then only the checksum can tell.
        ParseCase{"CH9300762011623852958", Outcome::kIbanChecksum, {}},
        ParseCase{"CH930076201162385295A", Outcome::kIbanChecksum, {}},
        // 00, 01 and 99 leave the remainders of 97, 98 and 02, yet never occur.
        ParseCase{"DE97370400440000000060", Outcome::kValid, "DE97370400440000000060"},
        ParseCase{"DE00370400440000000060", Outcome::kIbanChecksum, {}},
        ParseCase{"DE98370400440000000042", Outcome::kValid, "DE98370400440000000042"},
        ParseCase{"DE01370400440000000042", Outcome::kIbanChecksum, {}},
        ParseCase{"DE02370400440000000024", Outcome::kValid, "DE02370400440000000024"},
        ParseCase{"DE99370400440000000024", Outcome::kIbanChecksum, {}}));

TEST(Registry, EveryExampleIsValidInBothFormsAndFitsItsCountry) {
  ASSERT_EQ(Countries().size(), 89u);
  for (const Country& country : Countries()) {
    SCOPED_TRACE(country.code);
    const IbanResult parsed = Parse(country.example);
    EXPECT_EQ(parsed.outcome, Outcome::kValid);
    EXPECT_EQ(Parse(PrintFormat(parsed.iban).view()).iban, parsed.iban);
    EXPECT_EQ(FindCountry(country.code), &country);
    EXPECT_EQ(country.example.size(), country.length);
    EXPECT_EQ(country.structure.substr(0, 2), country.code);
  }
}

TEST(Registry, Lookups) {
  const Country* germany = FindCountry("DE");
  ASSERT_NE(germany, nullptr);
  EXPECT_EQ(germany->length, 22);
  EXPECT_EQ(germany->structure, "DE2!n8!n10!n");
  EXPECT_TRUE(germany->sepa);
  EXPECT_EQ(germany->example, kGermanExample);
  EXPECT_FALSE(FindCountry("IQ")->sepa);
  EXPECT_FALSE(FindCountry("US"));
  for (const std::string_view code : {"de", "D", "DEU", "", "1A", "[A"}) {
    EXPECT_EQ(FindCountry(code), nullptr) << code;
  }
}

// Any one character replaced by any other letter or digit, or by a byte just
// outside the digits' and letters' ranges, and any two unequal neighbours
// swapped, is caught.
TEST(Validate, CatchesEverySubstitutionAndAdjacentSwapOfTheGermanExample) {
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/:@[\xB0\xB9";
  for (std::size_t at = 0; at < kGermanExample.size(); ++at) {
    for (const char c : alphabet) {
      std::string changed(kGermanExample);
      if (changed[at] == c) continue;
      changed[at] = c;
      EXPECT_NE(Parse(changed).outcome, Outcome::kValid) << changed;
      EXPECT_EQ(Parse(changed).outcome, Parse(" " + changed).outcome) << changed;
    }
    if (at + 1 == kGermanExample.size() || kGermanExample[at] == kGermanExample[at + 1]) continue;
    std::string swapped(kGermanExample);
    std::swap(swapped[at], swapped[at + 1]);
    EXPECT_NE(Parse(swapped).outcome, Outcome::kValid) << swapped;
  }
}

TEST(PrintFormat, GroupsOfFour) {
  EXPECT_EQ(PrintFormat(Parse(kGermanExample).iban).view(), "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(PrintFormat(Parse("NO9386011117947").iban).view(), "NO93 8601 1117 947");
  EXPECT_EQ(PrintFormat(Parse("LC55HEMM000100010012001200023015").iban).view(),
            "LC55 HEMM 0001 0001 0012 0012 0002 3015");
  EXPECT_EQ(PrintFormat(IbanText()).view(), "");
}

}  // namespace
}  // namespace tavrel::iban
