#include "tavrel/json.h"

#include <gtest/gtest.h>

namespace tavrel::json {
namespace {

TEST(Json, OutcomeCarriesValueCodeAndUtf8Message) {
  EXPECT_EQ(ToText(OutcomeJson(Outcome::kInvalidCheckDigit)),
            "{\"result\":-3,\"code\":\"invalid_check_digit\",\"message\":\"Pr\u00fcfziffer "
            "ung\u00fcltig!\"}");
  // Windows-1252 bytes that are not UTF-8 never make writing throw.
  EXPECT_EQ(ToText(Json{{"echo", "\xFC"}}), "{\"echo\":\"\xEF\xBF\xBD\"}");
}

TEST(Json, BankIsTheWholeRecordWithNullForWhatIsMissing) {
  const service::Bank bank{"10060198", "06", "Pax-Bank M\xfcnster", "", true, "37060193", ""};
  EXPECT_EQ(ToText(BankJson(bank)),
            "{\"bank_code\":\"10060198\",\"name\":\"Pax-Bank M\u00fcnster\",\"bic\":null,"
            "\"method_code\":\"06\",\"deletion_notice\":true,\"successor\":\"37060193\","
            "\"iban_rule\":null}");
}

TEST(Json, CheckCarriesVerdictFieldBankAndSuccessor) {
  using Kind = service::SuccessorFinding::Kind;
  const Json gone =
      CheckJson(Outcome::kBankCodeUnknown, std::nullopt,
                service::SuccessorFinding{Kind::kNoLongerExists, "10022200", "10050000",
                                          std::chrono::year{2009} / 9 / 7});
  EXPECT_EQ(gone.at("verdict"), "input_fault");
  EXPECT_EQ(gone.at("field"), "bank_code");
  EXPECT_TRUE(gone.at("bank").is_null());
  EXPECT_EQ(ToText(gone.at("successor")),
            "{\"finding\":\"no_longer_exists\",\"bank_code\":\"10050000\",\"as_of\":"
            "\"2009-09-07\",\"note\":\"bank code 10022200 no longer exists; successor 10050000 "
            "as of 2009-09-07\"}");
  const Json valid = CheckJson(Outcome::kValid, std::nullopt, std::nullopt);
  EXPECT_EQ(valid.at("verdict"), "valid");
  EXPECT_TRUE(valid.at("field").is_null());
  EXPECT_TRUE(valid.at("successor").is_null());
  EXPECT_EQ(CheckJson(static_cast<Outcome>(5), std::nullopt, std::nullopt).at("error"),
            "internal_error");
}

TEST(Json, DirectoryCountsEveryBankOnce) {
  const Json json = DirectoryJson(*service::FindCompiledDirectory("current"));
  EXPECT_EQ(json.at("valid_from"), "2026-03-09");
  EXPECT_EQ(json.at("valid_until"), "2026-06-07");
  EXPECT_EQ(json.at("rule_generation"), "current");
  EXPECT_EQ(json.at("compiled_in"), true);
  std::size_t banks = 0;
  for (const auto& [code, count] : json.at("method_counts").items())
    banks += count.get<std::size_t>();
  EXPECT_EQ(banks, 3503U);
  EXPECT_EQ(json.at("entries"), 3503);
  EXPECT_EQ(json.at("method_counts").size(), 92U);
}

}  // namespace
}  // namespace tavrel::json
