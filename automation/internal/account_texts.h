// The service and directory calls both automation classes share, in the system's
// Windows-1252 strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::automation {

// The message for a result value, or "" for a value without one.
std::string MessageText(std::int32_t checkResult);

// The short name of the bank with exactly this code (no trimming), or "".
std::string BankNameOrEmpty(std::string_view bankCode);

}  // namespace tavrel::automation
