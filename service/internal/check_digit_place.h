// Where a method reads an account's check digit, as its explanation tells: the
// place suggestions rank by and generated accounts are completed at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tavrel/explanation.h"
#include "tavrel/service.h"

namespace tavrel::service {

// The place (from 1) of the check digit in `account` as typed: the first
// computation on the account's own ten-digit form says; the last digit when none
// does.
int CheckDigitPlace(std::string_view account, std::string_view key, std::string_view bankCode,
                    const RuleSet& rules);

// The key whose result became the verdict: the method, or the innermost of its
// variants and methods that gave its result on.
std::string DecidingKey(const std::vector<ExplainedStep>& steps);

}  // namespace tavrel::service
