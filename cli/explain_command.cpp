// `tavrel explain`: why a check gives its verdict, as text or JSON.
#include "internal/assist.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"

namespace tavrel::cli {

int RunExplain(const std::vector<std::string>& operands, const AssistOptions& options,
               const service::CheckSource& source, bool json) {
  const service::AccountExplanation explanation =
      options.method.empty()
          ? service::ExplainAccount({operands[0], operands[1]}, source)
          : service::ExplainMethod(options.method, operands[0],
                                   operands.size() > 1 ? operands[1] : std::string(),
                                   *source.rules);
  const std::string text = json ? json::ToText(json::ExplanationJson(explanation)) + '\n'
                                : encoding::Cp1252ToUtf8(service::ExplanationText(explanation));
  return Print(text, ExitStatusForResult(ValueOf(explanation.outcome)));
}

}  // namespace tavrel::cli
