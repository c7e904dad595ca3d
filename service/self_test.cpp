// The self-test: the published test numbers of the engine's table, run through
// the engine as the tests run them.
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

bool IsValidResult(int result) {
  return result == engine::kValid || result == engine::kValidWithoutCheck;
}

void Expect(SelfTestReport& report, const RuleSet& rules, std::string_view key,
            std::string_view account, std::string_view bankCode, bool valid) {
  const int result = engine::ComputeMethod(account, key, bankCode, rules);
  if (valid ? IsValidResult(result) : result == engine::kInvalid) {
    ++report.passed;
    return;
  }
  ++report.failed;
  report.failures.push_back({std::string(key), std::string(account), std::string(bankCode), valid,
                             static_cast<Outcome>(result)});
}

}  // namespace

SelfTestReport RunSelfTest(const RuleSet& rules) {
  SelfTestReport report;
  report.rules = engine::NameOf(rules);
  const engine::Generation generation = engine::GenerationOf(rules);
  for (const engine::PublishedNumbers& row : engine::PublishedTestNumbers()) {
    const bool own = row.generation == generation;
    // Numbers published with the current rules for a recipe the 2009 rules
    // share hold under that key, though not always for the whole method.
    const bool shared =
        !own && generation == engine::Generation::k2009 && engine::IsSharedRecipe(row.key);
    if (!own && !shared) continue;
    for (std::string_view account : engine::SplitAccounts(row.valid)) {
      Expect(report, rules, row.key, account, row.bankCode, true);
      if (own && row.key != row.method)
        Expect(report, rules, row.method, account, row.bankCode, true);
    }
    for (std::string_view account : engine::SplitAccounts(row.invalid))
      Expect(report, rules, row.key, account, row.bankCode, false);
  }
  return report;
}

}  // namespace tavrel::service
