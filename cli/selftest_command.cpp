// `tavrel selftest`: the Bundesbank's published test numbers, per rule
// generation.
#include "internal/assist.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/json.h"

namespace tavrel::cli {
namespace {

void AppendText(std::string& out, const service::SelfTestReport& report) {
  for (const service::SelfTestFailure& failure : report.failures) {
    out += std::string(report.rules) + ": FAILED " + failure.key + " " + failure.account;
    if (!failure.bankCode.empty()) out += " with bank code " + failure.bankCode;
    out += ": published as " + std::string(failure.expectedValid ? "valid" : "invalid") +
           ", result " + std::to_string(ValueOf(failure.result)) + '\n';
  }
  out += std::string(report.rules) + ": " + std::to_string(report.passed) + " passed, " +
         std::to_string(report.failed) + " failed\n";
}

}  // namespace

int RunSelfTest(const service::RuleSet* rules, bool json) {
  std::vector<service::SelfTestReport> reports;
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    if (rules == nullptr || info.rules == rules)
      reports.push_back(service::RunSelfTest(*info.rules));
  }
  std::string out;
  json::Json list = json::Json::array();
  bool failed = false;
  for (const service::SelfTestReport& report : reports) {
    failed |= report.failed > 0;
    if (json) {
      list.push_back(json::SelfTestJson(report));
    } else {
      AppendText(out, report);
    }
  }
  if (json) out = json::ToText(list) + '\n';
  return Print(out, failed ? kExitInvalid : kExitValid);
}

}  // namespace tavrel::cli
