// The help texts, the version line and the short hint printed after usage errors.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::cli {

// The overview: every command, option, result and exit status.
std::string HelpText();
// One command's usage, the options it takes and an example; `word` is one that
// IsCommandWord accepts.
std::string CommandHelpText(std::string_view word);
bool IsCommandWord(std::string_view word);
std::string VersionLine();
inline constexpr std::string_view kUsageHint =
    "usage: tavrel help|check|name|method|search|rules|directory|explain|suggest|generate|selftest|"
    "iban|serve ARGUMENTS\n(see 'tavrel --help', or 'tavrel help COMMAND')\n";

}  // namespace tavrel::cli
