// The words the command line prints for a result value.
#pragma once

#include <string>

namespace tavrel::cli {

// UTF-8 text for `result`: the service's message for faults, and the command
// line's own "gültig" (0) and "gültig (ohne Prüfung)" (1) for the two valid results.
std::string ResultTextUtf8(int result);

}  // namespace tavrel::cli
