// The single-shot commands. Each prints to standard output and returns the exit
// status; operands are Windows-1252.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "tavrel/service.h"

namespace tavrel::cli {

int RunCheck(const std::string& bankCode, const std::string& account,
             const service::RuleSet& rules);
int RunName(const std::string& bankCode);
int RunMethod(const std::string& key, const std::string& account, const std::string& bankCode,
              const service::RuleSet& rules);
int RunSearch(const std::string& text, bool json);
// The typo-tolerant search over the compiled-in current directory, best hit first.
int RunFuzzySearch(const std::string& text, bool json);
// The rule generations, or with `date` the one in force on that date (a note on
// standard error when the rules of that day are not kept).
int RunRules(bool json, const std::optional<std::chrono::year_month_day>& date);

}  // namespace tavrel::cli
