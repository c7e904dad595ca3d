// The directory and rules parameters, the bank record with its BIC, the
// successor findings and the directory's info block. 10011001 N26 Bank Berlin
// (method 09) exists only today; 25950130 (B1) passes 1501824 only by the
// current rules; 10022200 is gone by 2026 (the 2009 directory names 10050000);
// 60010700 (method 09) is being withdrawn for 66010700.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "http/internal/api.h"
#include "tavrel/service.h"

namespace tavrel::http {
namespace {

using nlohmann::json;
using Query = std::vector<std::pair<std::string, std::string>>;

const Api& Served2009() {
  static const Api api;
  return api;
}

const Api& ServedCurrent() {
  static const Api api(OpenCore("current").core);
  return api;
}

Response Get(const Api& api, std::string_view path, Query query = {}) {
  return api.Handle({"GET", path, std::move(query), {}, {}});
}

json Check(const Api& api, Query query) {
  const Response response = Get(api, "/api/v1/check", std::move(query));
  EXPECT_EQ(response.status, 200) << response.body;
  return json::parse(response.body);
}

struct ParamCase {
  const char* name;
  bool servedCurrent;
  Query query;
  int result;
};

class CheckParamTest : public ::testing::TestWithParam<ParamCase> {};

TEST_P(CheckParamTest, ChecksAgainstTheChosenDirectoryAndRules) {
  const ParamCase& c = GetParam();
  const json answer = Check(c.servedCurrent ? ServedCurrent() : Served2009(), c.query);
  EXPECT_EQ(answer.at("result"), c.result) << answer;
  const Response batch =
      (c.servedCurrent ? ServedCurrent() : Served2009())
          .Handle({"POST", "/api/v1/check", Query(c.query.begin() + 2, c.query.end()), kJsonType,
                   json::array({{{"bank_code", c.query[0].second}, {"account", c.query[1].second}}})
                       .dump()});
  EXPECT_EQ(json::parse(batch.body), json::array({answer}));
}

INSTANTIATE_TEST_SUITE_P(
    Params, CheckParamTest,
    ::testing::Values(
        ParamCase{"Default2009", false, {{"bank_code", "10011001"}, {"account", "1"}}, -9},
        ParamCase{"DirectoryCurrent",
                  false,
                  {{"bank_code", "10011001"}, {"account", "1"}, {"directory", "current"}},
                  1},
        ParamCase{"ServedCurrent", true, {{"bank_code", "10011001"}, {"account", "1"}}, 1},
        ParamCase{"Directory2009OnCurrentServer",
                  true,
                  {{"bank_code", "10011001"}, {"account", "1"}, {"directory", "2009"}},
                  -9},
        ParamCase{"ServedRulesAreTheDirectorys",
                  true,
                  {{"bank_code", "25950130"}, {"account", "1501824"}},
                  0},
        ParamCase{"RulesCurrent",
                  false,
                  {{"bank_code", "25950130"}, {"account", "1501824"}, {"rules", "current"}},
                  0},
        ParamCase{"RulesOverrideTheDirectorys",
                  false,
                  {{"bank_code", "25950130"},
                   {"account", "1501824"},
                   {"directory", "current"},
                   {"rules", "2009"}},
                  -3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckParams, UnknownNamesAreRefusedWithTheKnownOnes) {
  for (const auto& [name, value] : {std::pair{"directory", "Current"}, {"rules", "2018"}}) {
    for (const std::string path : {"/api/v1/check", "/api/v1/banks"}) {
      Query query = {{"bank_code", "1"}, {"account", "1"}, {name, value}};
      if (path == "/api/v1/banks") query = {{"q", "10"}, {name, value}};
      const Response response = Get(Served2009(), path, query);
      EXPECT_EQ(response.status, 400) << path << " " << name;
      if (std::string(name) == "directory" || path == "/api/v1/check") {
        EXPECT_NE(response.body.find("known: 2009, current"), std::string::npos) << response.body;
      }
    }
  }
}

TEST(CheckParams, AnswersCarryTheBicAndTheSuccessorFinding) {
  const json n26 = Check(ServedCurrent(), {{"bank_code", "10011001"}, {"account", "1"}});
  EXPECT_EQ(n26.at("bank").at("bic"), "NTSBDEB1XXX");
  EXPECT_TRUE(n26.at("successor").is_null());
  const json withdrawn = Check(ServedCurrent(), {{"bank_code", " 60010700"}, {"account", "1"}});
  EXPECT_EQ(withdrawn.at("result"), 1);
  EXPECT_EQ(withdrawn.at("bank").at("successor"), "66010700");
  EXPECT_EQ(withdrawn.at("successor").at("finding"), "withdrawn");
  EXPECT_EQ(withdrawn.at("successor").at("bank_code"), "66010700");
  // A gone bank code is -9 with the hint; two codes, each twice, so no answer
  // is reused for another code.
  for (const char* gone : {"10022200", "10120760", "10022200", "10120760"}) {
    const json answer = Check(ServedCurrent(), {{"bank_code", gone}, {"account", "1"}});
    EXPECT_EQ(answer.at("result"), -9);
    EXPECT_TRUE(answer.at("bank").is_null());
    EXPECT_EQ(answer.at("successor").at("finding"), "no_longer_exists");
    EXPECT_EQ(answer.at("successor").at("as_of"), "2009-09-07");
    EXPECT_NE(answer.at("successor").at("note").get<std::string>().find(gone), std::string::npos);
  }
}

// An answer carries a finding exactly when the service finds one, for every
// bank code of every compiled-in directory against either served directory.
TEST(CheckParams, FindingsAreTheServicesForEveryKnownBankCode) {
  std::vector<std::string> codes;
  for (const std::string_view name : service::CompiledDirectoryNames()) {
    for (const service::Bank& bank : *service::FindCompiledDirectory(name)) {
      codes.emplace_back(bank.bankCode);
    }
  }
  const std::pair<const Api*, std::string_view> served[] = {{&Served2009(), "2009"},
                                                            {&ServedCurrent(), "current"}};
  for (const auto& [api, name] : served) {
    const auto directory = service::FindCompiledDirectory(name);
    for (const std::string& code : codes) {
      const bool finding = service::FindSuccessor(*directory, code).has_value();
      const std::string body =
          Get(*api, "/api/v1/check", {{"bank_code", code}, {"account", "1"}}).body;
      EXPECT_EQ(body.ends_with(R"("successor":null})"), !finding) << name << " " << code;
    }
  }
}

TEST(BankRecord, IsTheWholeRecordOrA404WithTheHint) {
  const json record = json::parse(Get(ServedCurrent(), "/api/v1/banks/10060198").body);
  EXPECT_EQ(record.at("name"), "Pax-Bank Berlin");
  EXPECT_EQ(record.at("bic"), "GENODED1PA6");
  EXPECT_EQ(record.at("deletion_notice"), true);
  EXPECT_EQ(record.at("successor"), "37060193");
  const Response gone = Get(ServedCurrent(), "/api/v1/banks/10022200");
  EXPECT_EQ(gone.status, 404);
  EXPECT_NE(gone.body.find("successor 10050000 as of 2009-09-07"), std::string::npos) << gone.body;
  EXPECT_EQ(Get(Served2009(), "/api/v1/banks/10022200", {{"directory", "2009"}}).status, 200);
}

TEST(DirectoryInfo, IsTheChosenDirectorysBlock) {
  const json served = json::parse(Get(ServedCurrent(), "/api/v1/directory").body);
  EXPECT_EQ(served.at("source"), "blz_20260309.txt");
  EXPECT_EQ(served.at("entries"), 3503);
  EXPECT_EQ(served.at("rule_generation"), "current");
  const json old =
      json::parse(Get(ServedCurrent(), "/api/v1/directory", {{"directory", "2009"}}).body);
  EXPECT_EQ(old.at("valid_until"), "2009-12-06");
  EXPECT_EQ(old.at("entries"), 4051);
  EXPECT_EQ(Get(Served2009(), "/api/v1/directory", {{"q", "x"}}).status, 400);
}

TEST(OpenCore, RefusesWhatCannotBeServed) {
  const OpenedCore missing = OpenCore("no/such/file");
  EXPECT_FALSE(missing.core);
  EXPECT_TRUE(missing.unreadable);
  ASSERT_FALSE(missing.messages.empty());
  EXPECT_NE(missing.messages.back().find("cannot read no/such/file"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::http
