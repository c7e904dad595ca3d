#include "internal/check_digit_place.h"

#include <optional>

#include "tavrel/engine.h"

namespace tavrel::service {

int CheckDigitPlace(std::string_view account, std::string_view key, std::string_view bankCode,
                    const RuleSet& rules) {
  const int size = static_cast<int>(account.size());
  if (size > 10) return size;
  const std::string ten = std::string(10 - account.size(), '0') + std::string(account);
  for (const ExplainedStep& step :
       engine::Explain(key, account, bankCode, rules, engine::Detail::kSteps).steps) {
    for (const ExplainedComputation& computation : step.computations) {
      if (computation.form != ten || computation.checkPosition == 0) continue;
      const int place = computation.checkPosition - (10 - size);
      return place >= 1 ? place : size;
    }
  }
  return size;
}

std::string DecidingKey(const std::vector<ExplainedStep>& steps) {
  if (steps.empty()) return {};
  std::size_t at = 0;
  for (;;) {
    const int depth = steps[at].depth;
    std::optional<std::size_t> last;
    for (std::size_t i = at + 1; i < steps.size() && steps[i].depth > depth; ++i) {
      if (steps[i].depth == depth + 1 && steps[i].ran) last = i;
    }
    if (!last || steps[*last].result != steps[at].result) return steps[at].key;
    at = *last;
  }
}

}  // namespace tavrel::service
