// Exit statuses of the command line, one meaning each, listed in --help.
#pragma once

namespace tavrel::cli {

inline constexpr int kExitValid = 0;    // result 0 or 1; found; batch fully well formed
inline constexpr int kExitInvalid = 1;  // result -3; unknown bank code; no search hit
inline constexpr int kExitInputFault =
    2;  // results -5..-9, bad argument text, malformed batch line
inline constexpr int kExitMethodNotFound = 3;  // result -2
inline constexpr int kExitUsage = 64;          // unknown option, wrong argument count
inline constexpr int kExitInternal = 70;       // out of memory
inline constexpr int kExitIoError = 74;        // reading input or writing output failed

// The exit status that reports a check result.
int ExitStatusForResult(int result);

}  // namespace tavrel::cli
