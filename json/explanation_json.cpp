// The JSON form of explanations. Steps come as the recorder lists them, each
// followed by the keys it ran one level deeper; here they nest.
#include <span>

#include "tavrel/encoding.h"
#include "tavrel/json.h"

namespace tavrel::json {
namespace {

std::string Utf8(std::string_view cp1252) { return encoding::Cp1252ToUtf8(cp1252); }

Json TextList(const std::vector<std::string>& texts) {
  Json list = Json::array();
  for (const std::string& text : texts) list.push_back(Utf8(text));
  return list;
}

Json DigitList(std::uint16_t digits) {
  Json list = Json::array();
  for (int d = 0; d <= 9; ++d) {
    if (((digits >> d) & 1U) != 0) list.push_back(d);
  }
  return list;
}

Json ComputationJson(const ExplainedComputation& c) {
  Json terms = Json::array();
  for (const ExplainedTerm& term : c.terms) {
    terms.push_back({{"position", term.position == 0 ? Json() : Json(term.position)},
                     {"digit", term.digit},
                     {"weight", term.weight},
                     {"product", term.product},
                     {"added", term.added}});
  }
  const bool checkDigit = c.checkPosition > 0;
  return Json{{"reason", c.reason.empty() ? Json() : Json(Utf8(c.reason))},
              {"form", c.form},
              {"rule", Utf8(c.rule)},
              {"terms", std::move(terms)},
              {"sum", c.hasSum ? Json(c.sum) : Json()},
              {"modulus", c.hasSum && c.modulus > 0 ? Json(c.modulus) : Json()},
              {"remainder", c.hasSum && c.modulus > 0 ? Json(c.remainder) : Json()},
              {"check_position", checkDigit ? Json(c.checkPosition) : Json()},
              {"check_digit", checkDigit ? Json(c.checkDigit) : Json()},
              {"accepted_check_digits", checkDigit ? DigitList(c.accepted) : Json()},
              {"notes", TextList(c.notes)},
              {"result", OutcomeJson(c.result)}};
}

// The step at `next` and the steps under it; `next` ends past them.
Json StepJson(std::span<const ExplainedStep> steps, std::size_t& next) {
  const ExplainedStep& step = steps[next++];
  Json json{{"key", step.key},
            {"ran", step.ran},
            {"reason", step.reason.empty() ? Json() : Json(Utf8(step.reason))}};
  if (!step.ran) return json;
  Json computations = Json::array();
  for (const ExplainedComputation& computation : step.computations)
    computations.push_back(ComputationJson(computation));
  Json children = Json::array();
  while (next < steps.size() && steps[next].depth > step.depth)
    children.push_back(StepJson(steps, next));
  json["account"] = Utf8(step.account);
  json["computations"] = std::move(computations);
  json["steps"] = std::move(children);
  json["notes"] = TextList(step.notes);
  json["result"] = OutcomeJson(step.result);
  return json;
}

}  // namespace

Json ExplanationJson(const service::AccountExplanation& explanation) {
  Json tests = Json::array();
  for (const service::InputTest& test : explanation.tests)
    tests.push_back({{"passed", test.passed}, {"text", Utf8(test.text)}});
  Json steps = Json::array();
  for (std::size_t next = 0; next < explanation.steps.size();)
    steps.push_back(StepJson(explanation.steps, next));
  Json bank;
  if (!explanation.bankName.empty())
    bank = {{"bank_code", explanation.bankCode}, {"name", Utf8(explanation.bankName)}};
  Json json{
      {"bank_code", Utf8(explanation.bankCode)},
      {"account", Utf8(explanation.account)},
      {"rules", explanation.rules},
      {"bank", std::move(bank)},
      {"method", explanation.methodCode.empty() ? Json() : Json(Utf8(explanation.methodCode))},
      {"tests", std::move(tests)},
      {"steps", std::move(steps)}};
  json.update(OutcomeJson(explanation.outcome));
  return json;
}

}  // namespace tavrel::json
