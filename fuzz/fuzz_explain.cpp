// Explanations and suggestions on arbitrary bytes: the first byte picks the rule
// generation, the rest splits at line feeds into account, bank code and a
// method key. An explanation's verdict is always the check's (or the method's),
// its text can always be written, and every suggestion passes the check it was
// made for.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_assert.h"
#include "tavrel/service.h"

namespace {

using namespace tavrel;

std::string_view NextField(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  const std::string_view field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return field;
}

void CheckSuggestions(const service::Suggestions& s, const service::RuleSet& rules) {
  FUZZ_ASSERT(s.accounts.size() <= 3 && s.accounts.size() <= s.accountCount);
  FUZZ_ASSERT(s.bankCodes.size() <= 3 && s.bankCodes.size() <= s.bankCodeCount);
  for (const service::Suggestion& account : s.accounts)
    FUZZ_ASSERT(service::CheckAccount({s.bankCode, account.text}, rules) == Outcome::kValid);
  for (const service::Suggestion& bank : s.bankCodes)
    FUZZ_ASSERT(IsValid(service::CheckAccount({bank.text, s.account}, rules)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto generations = service::RuleGenerations();
  const service::RuleSet& rules = *generations[data[0] % generations.size()].rules;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view account = NextField(rest);
  const std::string_view bankCode = NextField(rest);
  const std::string_view key = NextField(rest);

  const service::AccountExplanation explained =
      service::ExplainAccount({bankCode, account}, service::DefaultSourceWith(rules));
  FUZZ_ASSERT(explained.outcome == service::CheckAccount({bankCode, account}, rules));
  FUZZ_ASSERT(!service::ExplanationText(explained).empty());

  const service::AccountExplanation method = service::ExplainMethod(key, account, bankCode, rules);
  FUZZ_ASSERT(ValueOf(method.outcome) == service::ComputeMethod(account, key, bankCode, rules));
  FUZZ_ASSERT(!service::ExplanationText(method).empty());

  CheckSuggestions(service::SuggestCorrections({bankCode, account},
                                               service::DefaultSourceWith(rules), {3, true}),
                   rules);
  return 0;
}
