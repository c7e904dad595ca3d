// QXcompute: checks, messages and names through direct calls and through the
// dispatch interface, which must agree.
#include <gtest/gtest.h>

#include "automation/internal/qxcompute.h"
#include "invoke_helpers.h"

namespace tavrel::automation {
namespace {

using testing::Method;

struct CheckCase {
  Bstr konto;
  Bstr blz;
  std::int32_t expected;
};

const CheckCase kCheckCases[] = {
    {u"1234567890", u"10000000", 1},  // BBk Berlin uses method 09: no check digit
    {u"9290701", u"12030000", 0},     // method 00
    {u"9290702", u"12030000", -3},
    {u"9290701", u" 12030000 ", 0},  // the service trims
    {u"1", Bstr(), -5},              // a null bank code reads as ""
    {Bstr(), u"10000000", -7},       // a null account reads as ""
    {u"1", u"1000000", -5},
    {u"1", u"1000000x", -6},
    {u"1", u"1000000\u00FC", -6},  // ü is one Windows-1252 character
    {u"1", u"1000000\u03A9", -6},  // Ω becomes '?'
    {u"12345678901", u"10000000", -7},
    {u"12a", u"10000000", -8},
    {u"0000", u"10000000", -3},
    {u"1", u"99999999", -9},
};

TEST(QXcompute, NummprobeChecksAccountFirst) {
  Ref<CQXcompute> compute(CQXcompute::New());
  for (const CheckCase& c : kCheckCases) {
    std::int32_t result = 42;
    EXPECT_EQ(compute->Nummprobe(c.konto, c.blz, &result), S_OK);
    EXPECT_EQ(result, c.expected) << "konto " << ToCp1252(c.konto) << " blz " << ToCp1252(c.blz);
  }
}

TEST(QXcompute, NummprobeByDispatchMatchesDirectCall) {
  Ref<CQXcompute> compute(CQXcompute::New());
  for (const CheckCase& c : kCheckCases) {
    const auto call = Method(*compute, u"nummprobe", {c.konto, c.blz});
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.result, Variant(c.expected))
        << "konto " << ToCp1252(c.konto) << " blz " << ToCp1252(c.blz);
  }
}

TEST(QXcompute, GetErrorMessageGivesTheGermanTexts) {
  const std::pair<std::int32_t, std::u16string> cases[] = {
      {1, u""},
      {0, u""},
      {-1, u""},
      {-4, u""},
      {-10, u""},
      {-2, u"Prüfverfahren nicht gefunden!"},
      {-3, u"Prüfziffer ungültig!"},
      {-5, u"BLZ nicht achtstellig!"},
      {-6, u"BLZ enthält ungültige Zeichen!"},
      {-7, u"Konto hat falsche Länge!"},
      {-8, u"Konto enthält ungültige Zeichen!"},
      {-9, u"BLZ ungültig!"},
  };
  Ref<CQXcompute> compute(CQXcompute::New());
  for (const auto& [value, text] : cases) {
    Bstr message;
    EXPECT_EQ(compute->GetErrorMessage(value, &message), S_OK);
    EXPECT_EQ(message, Bstr(text)) << value;
    EXPECT_FALSE(message.IsNull()) << "an empty message is an empty string, not null";
    EXPECT_EQ(Method(*compute, u"GETERRORMESSAGE", {std::int16_t(value)}).result,
              Variant(Bstr(text)));
  }
}

TEST(QXcompute, LookupNameDoesNotTrim) {
  const std::pair<Bstr, std::u16string> cases[] = {
      {u"10000000", u"BBk Berlin"},
      {u" 10000000", u""},
      {u"10000000 ", u""},
      {u"1000000", u""},
      {u"99999999", u""},
      {Bstr(), u""},
      {u"87096214", u"Volksbank Chemnitz"},
      {u"10020500", u"Bank für Sozialwirtschaft"},  // Windows-1252 0xFC widened
      {u"13051042", u"Kreissparkasse Rügen"},
  };
  Ref<CQXcompute> compute(CQXcompute::New());
  for (const auto& [blz, name] : cases) {
    Bstr found(u"unchanged");
    EXPECT_EQ(compute->LookupName(blz, &found), S_OK);
    EXPECT_EQ(found, Bstr(name)) << ToCp1252(blz);
    EXPECT_EQ(Method(*compute, u"LookupName", {blz}).result, Variant(Bstr(name)));
  }
  std::int32_t result = 0;
  compute->Nummprobe(u"1234567890", u" 10000000", &result);
  EXPECT_EQ(result, 1) << "the check trims the same bank code that the lookup does not";
}

TEST(QXcompute, NullOutParametersAreRefused) {
  Ref<CQXcompute> compute(CQXcompute::New());
  EXPECT_EQ(compute->Nummprobe(u"1", u"10000000", nullptr), E_POINTER);
  EXPECT_EQ(compute->GetErrorMessage(-3, nullptr), E_POINTER);
  EXPECT_EQ(compute->LookupName(u"10000000", nullptr), E_POINTER);
}

}  // namespace
}  // namespace tavrel::automation
