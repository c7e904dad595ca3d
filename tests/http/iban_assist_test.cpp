// The IBAN, explain and suggest endpoints. 12030000 (method 00) takes 9290701,
// not 9290702; 10011001 N26 Bank (method 09) is a bank of the current directory
// only.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "http/internal/api.h"
#include "tavrel/iban.h"

namespace tavrel::http {
namespace {

using nlohmann::json;
using Query = std::vector<std::pair<std::string, std::string>>;

const Api& TheApi() {
  static const Api api;
  return api;
}

json Answer(std::string_view path, Query query = {}) {
  const Response response = TheApi().Handle({"GET", path, std::move(query), {}, {}});
  EXPECT_EQ(response.status, 200) << response.body;
  return json::parse(response.body);
}

std::string Printed(std::string_view bankCode, std::string_view account) {
  return std::string(iban::PrintFormat(iban::BuildGerman(bankCode, account).iban).view());
}

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

struct IbanCase {
  const char* name;
  std::string iban;
  Query query;
  const char* code;
  bool valid;
  const char* accountCode;  // nullptr: "german" null
  const char* bic;          // of the bank; nullptr: bank null
};

class IbanTest : public ::testing::TestWithParam<IbanCase> {};

TEST_P(IbanTest, GivesTheVerdictOfTheIbanAndItsAccount) {
  const IbanCase& c = GetParam();
  const json answer = Answer("/api/v1/iban/" + c.iban, c.query);
  EXPECT_EQ(answer.at("code"), c.code) << answer;
  EXPECT_EQ(answer.at("valid"), c.valid);
  if (answer.at("iban").is_string()) {
    EXPECT_EQ(answer.at("iban"), WithoutBlanks(c.iban));
    EXPECT_EQ(WithoutBlanks(answer.at("print_format")), answer.at("iban"));
  }
  const json& german = answer.at("german");
  if (c.accountCode == nullptr) {
    EXPECT_TRUE(german.is_null());
    return;
  }
  EXPECT_EQ(german.at("account_check").at("code"), c.accountCode);
  EXPECT_EQ(german.at("bank_code"), WithoutBlanks(c.iban).substr(4, 8));
  if (c.bic == nullptr) {
    EXPECT_TRUE(german.at("bank").is_null());
  } else {
    EXPECT_EQ(german.at("bank").at("bic"), c.bic);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Iban, IbanTest,
    ::testing::Values(
        IbanCase{
            "Valid", Printed("12030000", "9290701"), {}, "valid", true, "valid", "BYLADEM1001"},
        IbanCase{"ChecksumRightAccountWrong",
                 Printed("12030000", "9290702"),
                 {},
                 "valid",
                 false,
                 "invalid_check_digit",
                 "BYLADEM1001"},
        IbanCase{"BankOfTodayIn2009",
                 "DE65100110011234567890",
                 {},
                 "valid",
                 false,
                 "bank_code_unknown",
                 nullptr},
        IbanCase{"BankOfToday",
                 "DE65100110011234567890",
                 {{"directory", "current"}},
                 "valid",
                 true,
                 "valid_without_check",
                 "NTSBDEB1XXX"},
        IbanCase{"WrongChecksum",
                 "DE88370400440532013000",
                 {},
                 "iban_checksum",
                 false,
                 nullptr,
                 nullptr},
        IbanCase{"Foreign", "GB29NWBK60161331926819", {}, "valid", true, nullptr, nullptr},
        IbanCase{"BadCharacter", "DE89-3704", {}, "iban_format", false, nullptr, nullptr},
        IbanCase{"Empty", "", {}, "iban_length", false, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IbanOfAccountTest, BuildsTheStandardConversionOfAValidAccountOnly) {
  const json valid = Answer("/api/v1/iban", {{"bank_code", "12030000"}, {"account", "9290701"}});
  EXPECT_EQ(WithoutBlanks(valid.at("print_format")), valid.at("iban"));
  EXPECT_EQ(valid.at("print_format"), Printed("12030000", "9290701"));
  EXPECT_EQ(valid.at("conversion"), "standard");
  EXPECT_FALSE(valid.at("note").get<std::string>().empty());
  EXPECT_EQ(valid.at("account_check").at("code"), "valid");

  const json wrong = Answer("/api/v1/iban", {{"bank_code", "12030000"}, {"account", "9290702"}});
  EXPECT_TRUE(wrong.at("iban").is_null());
  EXPECT_EQ(wrong.at("account_check").at("code"), "invalid_check_digit");

  const json today =
      Answer("/api/v1/iban",
             {{"bank_code", "10011001"}, {"account", "1234567890"}, {"directory", "current"}});
  EXPECT_EQ(today.at("iban"), "DE65100110011234567890");
}

// An explanation's verdict is the check's, for the bank's method or one named.
TEST(ExplainTest, GivesTheVerdictOfTheCheck) {
  const Query queries[] = {
      {{"bank_code", "12030000"}, {"account", "9290701"}},
      {{"bank_code", "12030000"}, {"account", "9290702"}},
      {{"bank_code", "1203"}, {"account", "9290701"}},
      {{"bank_code", "10011001"}, {"account", "1234567890"}, {"directory", "current"}},
  };
  for (const Query& query : queries) {
    const json explained = Answer("/api/v1/explain", query);
    EXPECT_EQ(explained.at("result"), Answer("/api/v1/check", query).at("result")) << explained;
    EXPECT_FALSE(explained.at("tests").empty());
  }
  const json method = Answer("/api/v1/explain", {{"method", "00"}, {"account", "9290702"}});
  EXPECT_EQ(method.at("method"), "00");
  EXPECT_EQ(method.at("code"), "invalid_check_digit");
  EXPECT_FALSE(method.at("steps").empty());
}

TEST(SuggestTest, SuggestsAccountsThatPassTheCheck) {
  const Query query = {{"bank_code", "12030000"}, {"account", "9290702"}};
  Query limited = query;
  limited.insert(limited.end(), {{"max", "2"}, {"bank_codes", "1"}});
  const json found = Answer("/api/v1/suggest", limited);
  EXPECT_EQ(found.at("status"), "suggested");
  EXPECT_EQ(found.at("accounts").size(), 2U);
  EXPECT_TRUE(found.at("bank_codes").is_array());
  for (const json& suggestion : found.at("accounts")) {
    const json check =
        Answer("/api/v1/check", {{"bank_code", "12030000"}, {"account", suggestion.at("account")}});
    EXPECT_EQ(check.at("code"), "valid");
  }
  EXPECT_FALSE(Answer("/api/v1/suggest", query).contains("bank_codes"));
}

struct FaultCase {
  const char* name;
  std::string path;
  Query query;
  const char* error;
};

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, AnswersA400) {
  const FaultCase& c = GetParam();
  const Response response = TheApi().Handle({"GET", c.path, c.query, {}, {}});
  EXPECT_EQ(response.status, 400) << response.body;
  EXPECT_EQ(json::parse(response.body).at("error"), c.error);
}

const Query kInvalid = {{"bank_code", "12030000"}, {"account", "9290702"}};

Query InvalidWith(std::string name, std::string value) {
  Query query = kInvalid;
  query.emplace_back(std::move(name), std::move(value));
  return query;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Values(FaultCase{"IbanUnknownDirectory",
                                "/api/v1/iban/DE",
                                {{"directory", "1999"}},
                                "invalid_parameter"},
                      FaultCase{"IbanUnknownParameter",
                                "/api/v1/iban/DE",
                                {{"bank_code", "1"}},
                                "unknown_parameter"},
                      FaultCase{"IbanNotUtf8", "/api/v1/iban/DE\xff", {}, "invalid_encoding"},
                      FaultCase{"ConversionWithoutAccount",
                                "/api/v1/iban",
                                {{"bank_code", "12030000"}},
                                "missing_parameter"},
                      FaultCase{"ExplainWithoutBankOrMethod",
                                "/api/v1/explain",
                                {{"account", "1"}},
                                "missing_parameter"},
                      FaultCase{"ExplainUnknownRules", "/api/v1/explain",
                                InvalidWith("rules", "2030"), "invalid_parameter"},
                      FaultCase{"ExplainNoWindows1252Form",
                                "/api/v1/explain",
                                {{"method", "\u03a9"}, {"account", "1"}},
                                "invalid_encoding"},
                      FaultCase{"SuggestMaxZero", "/api/v1/suggest", InvalidWith("max", "0"),
                                "invalid_parameter"},
                      FaultCase{"SuggestMaxOverCap", "/api/v1/suggest", InvalidWith("max", "1001"),
                                "invalid_parameter"},
                      FaultCase{"SuggestMaxNotNumber", "/api/v1/suggest", InvalidWith("max", "5x"),
                                "invalid_parameter"},
                      FaultCase{"SuggestBankCodesWord", "/api/v1/suggest",
                                InvalidWith("bank_codes", "yes"), "invalid_parameter"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrel::http
