// The JSON forms of what the core answers, shared by every face that speaks
// JSON, so that the command line, the C library and the HTTP API give the same
// fields under the same names. Text is UTF-8: the core's Windows-1252 strings
// are converted here.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::json {

// Objects keep their keys in the order written.
using Json = nlohmann::ordered_json;

// Compact text; bytes that are not UTF-8 (echoed input) become U+FFFD, so
// writing never throws.
std::string ToText(const Json& json);

// {"result": -3, "code": "invalid_check_digit", "message": "Prüfziffer ungültig!"}
Json OutcomeJson(Outcome outcome);

// A bank's whole record: {"bank_code", "name", "bic", "method_code",
// "deletion_notice", "successor", "iban_rule"}; bic, successor and iban_rule
// are null when the directory has none.
Json BankJson(const service::Bank& bank);

// {"source", "compiled_in", "valid_from", "valid_until", "entries",
// "rule_generation"}; unknown dates are null.
Json DirectoryInfoJson(const service::DirectoryInfo& info);

// DirectoryInfoJson of the directory's info, then "method_counts": how many
// banks use each method code, {"00": 466, "01": 12, ...}.
Json DirectoryJson(const service::Directory& directory);

// {"finding": "withdrawn" or "no_longer_exists", "bank_code": the successor or
// null, "as_of": the date of the directory that names it or null, "note"}.
Json SuccessorJson(const service::SuccessorFinding& finding);

// One check: OutcomeJson's fields, then "verdict" ("valid", "invalid",
// "input_fault" or "method_not_found", after the outcome's exit status),
// "field" (the input the outcome concerns: "bank_code", "account", "iban" or
// null), "bank" (BankJson or null) and "successor" (SuccessorJson or null).
// A value that is no outcome gives an internal_error object.
Json CheckJson(Outcome outcome, const std::optional<service::Bank>& bank,
               const std::optional<service::SuccessorFinding>& successor);
// The explanation of a check or of one method: the input tests, the steps as a
// tree (the keys a step ran under its "steps"), the figures of every
// computation, and the verdict's "result", "code" and "message".
Json ExplanationJson(const service::AccountExplanation& explanation);

// Suggestions one slip away: the account's verdict, a "status"
// ("suggested", "already_valid", "no_check_digit", "input_fault",
// "method_not_found"), the ranked "accounts" and, when asked for, "bank_codes",
// each with its slip and where it is.
Json SuggestionsJson(const service::Suggestions& suggestions, bool withBankCodes);

// Generated accounts with the variant that accepts each, or the "status" and
// "message" of why there are not as many as asked.
Json GeneratedJson(const service::GeneratedAccounts& generated);

// The self-test of one rule generation: "passed", "failed" and each failure.
Json SelfTestJson(const service::SelfTestReport& report);

}  // namespace tavrel::json
