// The single-shot commands. Each prints to standard output and returns the exit
// status; operands are Windows-1252.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "tavrel/service.h"

namespace tavrel::cli {

// RESULT<TAB>MESSAGE[<TAB>BANKNAME], or with `asJson` the check's JSON form; a
// successor finding as a note on standard error, or in the JSON.
int RunCheck(const std::string& bankCode, const std::string& account,
             const service::CheckSource& source, bool asJson);
// The short name, or with `asJson` the bank's record; an unknown bank code is
// an input fault said on standard error.
int RunName(const std::string& bankCode, const service::Directory& directory, bool asJson);
// RESULT, or with `asJson` the result fields of "check --json" as one object.
int RunMethod(const std::string& key, const std::string& account, const std::string& bankCode,
              const service::RuleSet& rules, bool asJson);
int RunSearch(const std::string& text, const service::Directory& directory, bool asJson);
// The directory's info block and its banks per method code.
int RunDirectory(const service::Directory& directory, bool asJson);
// The typo-tolerant search over the directory, best hit first.
int RunFuzzySearch(const std::string& text, const service::Directory& directory, bool asJson);
// The rule generations, or with `date` the one in force on that date (a note on
// standard error when the rules of that day are not kept).
int RunRules(bool json, const std::optional<std::chrono::year_month_day>& date);

}  // namespace tavrel::cli
