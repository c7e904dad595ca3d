// The options of tavrel-gui that are read before Qt starts, so that --help and
// --version answer without a display.
#pragma once

#include <string_view>

namespace tavrel::control {

enum class HostAction { kRun, kHelp, kVersion };

// --help or -h anywhere wins, then --version; every other argument is left to Qt.
HostAction ReadHostOptions(int argc, const char* const* argv);

std::string_view HostHelpText();
std::string_view HostVersionLine();

}  // namespace tavrel::control
