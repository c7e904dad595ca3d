// The JSON forms of what the core answers, shared by every face that speaks
// JSON, so that the command line, the C library and the HTTP API give the same
// fields under the same names. Text is UTF-8: the core's Windows-1252 strings
// are converted here.
#pragma once

#include <nlohmann/json.hpp>
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
