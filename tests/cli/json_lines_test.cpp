// The JSON forms of check -, method, method - and iban -: one object a line, in
// input order, with the outcome's stable code beside its value and message.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct JsonLinesCase {
  std::vector<std::string> args;
  std::string input;
  int exitStatus;
  std::string out;
};

const JsonLinesCase kCases[] = {
    {{"check", "-", "--json"},
     "12030000\t9290701\n 12030000\t9290702\r\nbroken\n",
     2,
     R"({"bank_code":"12030000","account":"9290701","result":0,"code":"valid","message":"gültig","verdict":"valid","field":null}
{"bank_code":" 12030000","account":"9290702","result":-3,"code":"invalid_check_digit","message":"Prüfziffer ungültig!","verdict":"invalid","field":"account"}
{"error":"malformed_line","line":3,"message":"expected BANKCODE<TAB>ACCOUNT"}
)"},
    {{"method", "-", "--json"},
     "00\t9290701\n00\t1\t12030000\nZZ\t1\n",
     0,
     R"({"key":"00","account":"9290701","bank_code":null,"result":0,"code":"valid","message":"gültig","verdict":"valid","field":null}
{"key":"00","account":"1","bank_code":"12030000","result":-3,"code":"invalid_check_digit","message":"Prüfziffer ungültig!","verdict":"invalid","field":"account"}
{"key":"ZZ","account":"1","bank_code":null,"result":-2,"code":"method_not_found","message":"Prüfverfahren nicht gefunden!","verdict":"method_not_found","field":"account"}
)"},
    {{"method", "--json", "00", "9290702"},
     "",
     1,
     R"({"result":-3,"code":"invalid_check_digit","message":"Prüfziffer ungültig!","verdict":"invalid","field":"account"}
)"},
    {{"iban", "-", "--json"},
     "DE59120300000009290701\nDE88370400440532013000\n",
     0,
     R"({"iban":"DE59120300000009290701","result":0,"code":"valid","message":"gültig","verdict":"valid","field":null,"account_check":{"result":0,"code":"valid","message":"gültig","verdict":"valid","field":null}}
{"iban":"DE88370400440532013000","result":-13,"code":"iban_checksum","message":"IBAN-Prüfsumme ungültig!","verdict":"invalid","field":"iban","account_check":null}
)"},
};

TEST(JsonLines, OneObjectALineInInputOrder) {
  for (const JsonLinesCase& c : kCases) {
    SCOPED_TRACE(c.args[0] + ' ' + c.args[1]);
    const RunResult run = RunTavrel(c.args, c.input);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

// A batch line says of its result what the single check says.
TEST(JsonLines, ResultFieldsAreThoseOfTheSingleCheck) {
  const std::vector<std::vector<std::string>> inputs = {
      {"12030000", "9290701"}, {"10000000", "1"}, {"12030000", "9290702"},
      {"1203000", "1"},        {"99999999", "1"}, {"12030000", "12a"}};
  std::string input;
  for (const auto& fields : inputs) input += fields[0] + '\t' + fields[1] + '\n';
  const std::string out = RunTavrel({"check", "-", "--json"}, input).out;
  std::size_t start = 0;
  for (const auto& fields : inputs) {
    const std::size_t end = out.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    const nlohmann::json line = nlohmann::json::parse(out.substr(start, end - start));
    start = end + 1;
    const nlohmann::json single =
        nlohmann::json::parse(RunTavrel({"check", "--json", fields[0], fields[1]}).out);
    for (const char* key : {"result", "code", "message", "verdict", "field"})
      EXPECT_EQ(line[key], single[key]) << fields[0] << ' ' << fields[1] << ' ' << key;
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
