// The request handlers without sockets: routes, parameters, batches and errors.
#include "http/internal/api.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "tavrel/encoding.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::http {
namespace {

using nlohmann::json;
using Query = std::vector<std::pair<std::string, std::string>>;

const Api& TheApi() {
  static const Api api;
  return api;
}

Response Get(std::string_view path, Query query = {}) {
  return TheApi().Handle({"GET", path, std::move(query), {}, {}});
}

Response Post(std::string_view body, std::string_view type = kJsonType) {
  return TheApi().Handle({"POST", "/api/v1/check", {}, type, body});
}

// The answer the outcome table gives for a check, without the bank.
void ExpectOutcome(const json& answer, Outcome outcome) {
  const OutcomeInfo& info = InfoOf(outcome);
  EXPECT_EQ(answer.at("result"), ValueOf(outcome));
  EXPECT_EQ(answer.at("code"), info.code);
  EXPECT_EQ(answer.at("message"), encoding::Cp1252ToUtf8(info.message));
}

struct CheckCase {
  const char* name;
  std::string bankCode;
  std::string account;
  Outcome outcome;
  const char* bankName;  // nullptr: bank null
};

class CheckOneTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckOneTest, AnswersTheOutcomeAndTheBank) {
  const CheckCase& c = GetParam();
  const Response response =
      Get("/api/v1/check", {{"bank_code", c.bankCode}, {"account", c.account}});
  ASSERT_EQ(response.status, 200) << response.body;
  EXPECT_EQ(response.contentType, kJsonType);
  const json answer = json::parse(response.body);
  ExpectOutcome(answer, c.outcome);
  if (c.bankName == nullptr) {
    EXPECT_TRUE(answer.at("bank").is_null());
  } else {
    EXPECT_EQ(answer.at("bank").at("bank_code"), service::TrimWhiteSpace(c.bankCode));
    EXPECT_EQ(answer.at("bank").at("name"), c.bankName);
  }
}

// 12030000 Deutsche Kreditbank Berlin uses method 00; 10000000 BBk Berlin method 09.
INSTANTIATE_TEST_SUITE_P(
    Check, CheckOneTest,
    ::testing::Values(CheckCase{"Valid", "12030000", "9290701", Outcome::kValid,
                                "Deutsche Kreditbank Berlin"},
                      CheckCase{"Invalid", "12030000", "9290702", Outcome::kInvalidCheckDigit,
                                "Deutsche Kreditbank Berlin"},
                      CheckCase{"WithoutCheck", "10000000", "1234567890",
                                Outcome::kValidWithoutCheck, "BBk Berlin"},
                      CheckCase{"Trimmed", " 12030000\t", " 9290701 ", Outcome::kValid,
                                "Deutsche Kreditbank Berlin"},
                      CheckCase{"AccountFaultKeepsBank", "12030000", "12a",
                                Outcome::kAccountNotDigits, "Deutsche Kreditbank Berlin"},
                      CheckCase{"UnknownBank", "99999999", "1", Outcome::kBankCodeUnknown, nullptr},
                      CheckCase{"EmptyFields", "", "", Outcome::kBankCodeLength, nullptr},
                      CheckCase{"EuroSignIsNoDigit", "12030000", "12\u20ac",
                                Outcome::kAccountNotDigits, "Deutsche Kreditbank Berlin"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
  const char* name;
  Request request;
  int status;
  const char* error;
};

class ErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTest, AnswersAJsonError) {
  const ErrorCase& c = GetParam();
  const Response response = TheApi().Handle(c.request);
  EXPECT_EQ(response.status, c.status) << response.body;
  EXPECT_EQ(json::parse(response.body).at("error"), c.error);
}

const std::string kTooManyItems = [] {
  std::string body = "[";
  for (int i = 0; i <= 10'000; ++i) body += R"({"bank_code":"1","account":"1"},)";
  body.back() = ']';
  return body;
}();

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorTest,
    ::testing::Values(
        ErrorCase{"MissingAccount",
                  {"GET", "/api/v1/check", {{"bank_code", "1"}}},
                  400,
                  "missing_parameter"},
        ErrorCase{"UnknownParameter",
                  {"GET", "/api/v1/check", {{"bank_code", "1"}, {"acount", "1"}}},
                  400,
                  "unknown_parameter"},
        ErrorCase{
            "RepeatedParameter",
            {"GET", "/api/v1/check", {{"bank_code", "1"}, {"bank_code", "2"}, {"account", "1"}}},
            400,
            "repeated_parameter"},
        ErrorCase{"NoWindows1252Form",
                  {"GET", "/api/v1/check", {{"bank_code", "1203\u03a9000"}, {"account", "1"}}},
                  400,
                  "invalid_encoding"},
        ErrorCase{"NotUtf8", {"GET", "/api/v1/banks", {{"q", "\xff"}}}, 400, "invalid_encoding"},
        ErrorCase{"SearchWithoutText", {"GET", "/api/v1/banks", {}}, 400, "missing_parameter"},
        ErrorCase{"ZeroLimit",
                  {"GET", "/api/v1/banks", {{"q", "10"}, {"limit", "0"}}},
                  400,
                  "invalid_parameter"},
        ErrorCase{"UnknownBank", {"GET", "/api/v1/banks/99999999", {}}, 404, "bank_not_found"},
        ErrorCase{"MalformedBank", {"GET", "/api/v1/banks/1203000x", {}}, 404, "bank_not_found"},
        ErrorCase{"UnknownPath", {"GET", "/api/v2/check", {}}, 404, "not_found"},
        ErrorCase{"TrailingSlash", {"GET", "/api/v1/check/", {}}, 404, "not_found"},
        ErrorCase{"WrongMethod", {"PUT", "/api/v1/check", {}}, 405, "method_not_allowed"},
        ErrorCase{"PostToSearch", {"POST", "/api/v1/banks", {}}, 405, "method_not_allowed"},
        ErrorCase{"FormBody",
                  {"POST", "/api/v1/check", {}, "application/x-www-form-urlencoded", "a=b"},
                  415,
                  "unsupported_media_type"},
        ErrorCase{
            "BrokenJson", {"POST", "/api/v1/check", {}, kJsonType, "[{"}, 400, "malformed_json"},
        ErrorCase{"ObjectNotArray",
                  {"POST", "/api/v1/check", {}, kJsonType, R"({"bank_code":"1","account":"1"})"},
                  400,
                  "malformed_body"},
        ErrorCase{"TooManyItems",
                  {"POST", "/api/v1/check", {}, kJsonType, kTooManyItems},
                  413,
                  "too_many_items"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MethodTest, WrongMethodAndOptionsNameTheAllowedOnes) {
  Response wrong = TheApi().Handle({"DELETE", "/api/v1/banks/12030000", {}, {}, {}});
  EXPECT_EQ(wrong.status, 405);
  Response options = TheApi().Handle({"OPTIONS", "/api/v1/check", {}, {}, {}});
  EXPECT_EQ(options.status, 204);
  EXPECT_TRUE(options.body.empty());
  for (const Response* response : {&wrong, &options}) {
    ASSERT_EQ(response->headers.size(), 1U);
    EXPECT_EQ(response->headers[0].name, "Allow");
  }
  EXPECT_EQ(wrong.headers[0].value, "GET, HEAD");
  EXPECT_EQ(options.headers[0].value, "GET, HEAD, POST");
}

// Every item of a batch answers as the single check and the core do, in order,
// bad items in place; the same for NDJSON.
TEST(BatchTest, AnswersEachItemAsTheSingleCheckDoes) {
  std::mt19937 random(20091207);
  const char* banks[] = {"12030000", "10000000", "87096214", "99999999", "1203000", " 12030000"};
  json items = json::array();
  std::string ndjson;
  for (int i = 0; i < 300; ++i) {
    const std::string account = std::to_string(random() % 100'000'000'000ULL);
    json item = {{"bank_code", banks[random() % std::size(banks)]}, {"account", account}};
    if (i % 50 == 7) item = {{"bank_code", 1}, {"account", account}};
    items.push_back(item);
    ndjson += item.dump() + (i % 2 ? "\r\n" : "\n");
  }
  const json array = json::parse(Post(items.dump()).body);
  std::vector<json> lines;
  const Response streamed = Post(ndjson, "application/x-ndjson; charset=utf-8");
  EXPECT_EQ(streamed.contentType, kNdjsonType);
  for (std::size_t start = 0; start < streamed.body.size();) {
    const std::size_t end = streamed.body.find('\n', start);
    lines.push_back(json::parse(streamed.body.substr(start, end - start)));
    start = end + 1;
  }
  ASSERT_EQ(array.size(), items.size());
  ASSERT_EQ(lines.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(array[i], lines[i]);
    if (!items[i]["bank_code"].is_string()) {
      EXPECT_EQ(array[i].at("error"), "invalid_item");
      continue;
    }
    const std::string bankCode = items[i]["bank_code"];
    const std::string account = items[i]["account"];
    const json single =
        json::parse(Get("/api/v1/check", {{"bank_code", bankCode}, {"account", account}}).body);
    EXPECT_EQ(array[i], single);
    EXPECT_EQ(array[i].at("result"), service::CheckAccount(account, bankCode));
  }
}

TEST(BatchTest, BadItemsAreAnsweredInPlace) {
  const json answers = json::parse(
      Post(
          R"([7, [1], {"bank_code":"12030000"}, {"bank_code":"12030000","account":"9290701","account":"1"},
          {"bank_code":{"a":[1]},"account":"1"}, {"bank_code":"12030000","account":"9290701"}])")
          .body);
  ASSERT_EQ(answers.size(), 6U);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(answers[i].at("error"), "invalid_item") << i;
  ExpectOutcome(answers[5], Outcome::kValid);
  EXPECT_EQ(json::parse(Post("[]").body), json::array());
  const Response lines = Post("\n{\"bank_code\":\"1\",\"account\":\"1\"} x\n", kNdjsonType);
  EXPECT_EQ(std::count(lines.body.begin(), lines.body.end(), '\n'), 2);
  EXPECT_EQ(lines.body.find("\"result\""), std::string::npos);
}

TEST(SearchTest, ListsHitsUpToTheLimit) {
  const json all = json::parse(Get("/api/v1/banks", {{"q", "volksbank"}}).body);
  const json some = json::parse(Get("/api/v1/banks", {{"q", "volksbank"}, {"limit", "3"}}).body);
  EXPECT_GT(all.at("total"), 3);
  EXPECT_EQ(all.at("hits").size(), all.at("total"));
  EXPECT_EQ(some.at("total"), all.at("total"));
  ASSERT_EQ(some.at("hits").size(), 3U);
  EXPECT_EQ(some.at("hits")[0], all.at("hits")[0]);
  const json chemnitz = json::parse(Get("/api/v1/banks", {{"q", "volksbank,chemnitz"}}).body);
  EXPECT_EQ(chemnitz.at("hits"),
            json::parse(R"([{"bank_code":"87096214","name":"Volksbank Chemnitz"}])"));
  const json record = json::parse(Get("/api/v1/banks/87096214").body);
  EXPECT_EQ(record.at("bank_code"), chemnitz.at("hits")[0].at("bank_code"));
  EXPECT_EQ(record.at("name"), chemnitz.at("hits")[0].at("name"));
}

TEST(PageTest, ServesItsFilesWithTheirTypes) {
  const std::pair<const char*, const char*> files[] = {
      {"/", "text/html"}, {"/page.css", "text/css"}, {"/page.js", "text/javascript"}};
  for (const auto& [path, type] : files) {
    const Response response = Get(path);
    EXPECT_EQ(response.status, 200) << path;
    EXPECT_TRUE(response.contentType.starts_with(type)) << path;
    EXPECT_FALSE(response.body.empty()) << path;
    EXPECT_EQ(response.headers.at(0).name, "Content-Security-Policy");
  }
  EXPECT_NE(Get("/").body.find("page.js"), std::string::npos);
  EXPECT_EQ(json::parse(Get("/healthz").body).at("status"), "ok");
}

}  // namespace
}  // namespace tavrel::http
