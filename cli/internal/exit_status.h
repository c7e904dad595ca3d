// Exit statuses of the command line, one meaning each, listed in --help. The
// statuses of check results come from the outcome table.
#pragma once

#include "tavrel/outcome.h"

namespace tavrel::cli {

using tavrel::kExitInputFault;                // results -5..-9; unknown bank code; malformed input
using tavrel::kExitInvalid;                   // result -3; no search hit
using tavrel::kExitMethodNotFound;            // result -2
using tavrel::kExitValid;                     // result 0 or 1; found; batch fully well formed
inline constexpr int kExitUsage = 64;         // unknown option, wrong argument count
inline constexpr int kExitNoInput = 66;       // an input file cannot be opened
inline constexpr int kExitInternal = 70;      // out of memory
inline constexpr int kExitCannotCreate = 73;  // the output file cannot be created
inline constexpr int kExitIoError = 74;       // reading input or writing output failed

// The exit status that reports a check result.
int ExitStatusForResult(int result);

}  // namespace tavrel::cli
