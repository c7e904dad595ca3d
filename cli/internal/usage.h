// The help text, the version line and the short hint printed after usage errors.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::cli {

std::string HelpText();
std::string VersionLine();
inline constexpr std::string_view kUsageHint =
    "usage: tavrel check|name|method|search|rules|directory|explain|suggest|generate|selftest|"
    "iban|serve ARGUMENTS\n(see 'tavrel --help')\n";

}  // namespace tavrel::cli
