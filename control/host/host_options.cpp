#include "host_options.h"

#include "tavrel/version.h"

namespace tavrel::control {

HostAction ReadHostOptions(int argc, const char* const* argv) {
  HostAction action = HostAction::kRun;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return HostAction::kHelp;
    if (arg == "--version") action = HostAction::kVersion;
  }
  return action;
}

std::string_view HostHelpText() {
  return R"(Usage: tavrel-gui [OPTION]... [QT-OPTION]...
Shows the account-check control in a small window. Type a bank code and an
account number: the verdict, the bank's short name and the control's
properties follow every keystroke. A bank code that begins with a letter
searches the banks by name and lists the hits.

Options:
  -h, --help     print this help and exit
  --version      print the version and exit

Qt's own options work too, among them -platform NAME (offscreen shows no
window), -style NAME, -reverse and -qwindowgeometry WIDTHxHEIGHT+X+Y.

The window needs a display (X11 or Wayland); --help and --version do not.

Exit status:
  0   the window was closed; --help and --version
  64  an argument that is neither an option above nor one of Qt's
  74  writing the help or the version failed
)";
}

std::string_view HostVersionLine() { return "tavrel-gui " TAVREL_VERSION "\n"; }

}  // namespace tavrel::control
