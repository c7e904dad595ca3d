#include "tavrel/json.h"

#include "tavrel/encoding.h"

namespace tavrel::json {
namespace {

Json TextOrNull(std::string_view text) { return text.empty() ? Json(nullptr) : Json(text); }

Json DateOrNull(const std::optional<std::chrono::year_month_day>& date) {
  return date ? Json(service::IsoDate(*date)) : Json(nullptr);
}

// The kind of result, from the outcome's exit status, so that no client keeps
// its own list of which results are faults.
std::string_view VerdictOf(const OutcomeInfo& info) {
  switch (info.exitStatus) {
    case kExitValid:
      return "valid";
    case kExitInvalid:
      return "invalid";
    case kExitMethodNotFound:
      return "method_not_found";
    default:
      return "input_fault";
  }
}

Json FieldOf(const OutcomeInfo& info) {
  if (info.field == Field::kNone) return nullptr;
  return FieldName(info.field);
}

}  // namespace

std::string ToText(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json OutcomeJson(Outcome outcome) {
  const OutcomeInfo& info = InfoOf(outcome);
  return Json{{"result", ValueOf(outcome)},
              {"code", info.code},
              {"message", encoding::Cp1252ToUtf8(info.message)}};
}

Json BankJson(const service::Bank& bank) {
  return Json{{"bank_code", bank.bankCode},
              {"name", encoding::Cp1252ToUtf8(bank.shortName)},
              {"bic", TextOrNull(bank.bic)},
              {"method_code", bank.methodCode},
              {"deletion_notice", bank.deletionNotice},
              {"successor", TextOrNull(bank.successor)},
              {"iban_rule", TextOrNull(bank.ibanRule)}};
}

Json DirectoryInfoJson(const service::DirectoryInfo& info) {
  // A loaded file's source is its path as the system gave it, not Windows-1252.
  return Json{{"source", info.source},
              {"compiled_in", info.compiledIn},
              {"valid_from", DateOrNull(info.validFrom)},
              {"valid_until", DateOrNull(info.validUntil)},
              {"entries", info.entryCount},
              {"rule_generation", service::NameOf(info.generation)}};
}

Json DirectoryJson(const service::Directory& directory) {
  Json counts = Json::object();
  for (const auto& [methodCode, count] : directory.MethodCounts()) counts[methodCode] = count;
  Json json = DirectoryInfoJson(directory.Info());
  json["method_counts"] = std::move(counts);
  return json;
}

Json SuccessorJson(const service::SuccessorFinding& finding) {
  const bool withdrawn = finding.kind == service::SuccessorFinding::Kind::kWithdrawn;
  return Json{{"finding", withdrawn ? "withdrawn" : "no_longer_exists"},
              {"bank_code", TextOrNull(finding.successor)},
              {"as_of", DateOrNull(finding.asOf)},
              {"note", service::Describe(finding)}};
}

Json CheckJson(Outcome outcome, const std::optional<service::Bank>& bank,
               const std::optional<service::SuccessorFinding>& successor) {
  const OutcomeInfo* info = FindOutcome(ValueOf(outcome));
  if (info == nullptr) {
    return Json{{"error", "internal_error"},
                {"message", "the check gave the value " + std::to_string(ValueOf(outcome)) +
                                ", which is no outcome"}};
  }
  Json json = OutcomeJson(outcome);
  json["verdict"] = VerdictOf(*info);
  json["field"] = FieldOf(*info);
  json["bank"] = bank ? BankJson(*bank) : Json(nullptr);
  json["successor"] = successor ? SuccessorJson(*successor) : Json(nullptr);
  return json;
}

}  // namespace tavrel::json
