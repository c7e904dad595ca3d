// The JSON forms of what the core answers, shared by every face that speaks
// JSON, so that the command line, the C library and the HTTP API give the same
// fields under the same names. Text is UTF-8: the core's Windows-1252 strings
// are converted here.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tavrel/outcome.h"

namespace tavrel::json {

// Objects keep their keys in the order written.
using Json = nlohmann::ordered_json;

// Compact text; bytes that are not UTF-8 (echoed input) become U+FFFD, so
// writing never throws.
std::string ToText(const Json& json);

// {"result": -3, "code": "invalid_check_digit", "message": "Prüfziffer ungültig!"}
Json OutcomeJson(Outcome outcome);

}  // namespace tavrel::json
