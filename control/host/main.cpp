// tavrel-gui: try the control by hand. Type a bank code and an account number,
// or a bank's name to search for it.
#include <QApplication>
#include <cstdio>

#include "host_options.h"
#include "host_window.h"

namespace {

constexpr int kExitUsage = 64;
constexpr int kExitIoError = 74;

int PrintToStandardOutput(std::string_view text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written ? 0 : kExitIoError;
}

}  // namespace

int main(int argc, char* argv[]) {
  using tavrel::control::HostAction;
  switch (tavrel::control::ReadHostOptions(argc, argv)) {
    case HostAction::kHelp:
      return PrintToStandardOutput(tavrel::control::HostHelpText());
    case HostAction::kVersion:
      return PrintToStandardOutput(tavrel::control::HostVersionLine());
    case HostAction::kRun:
      break;
  }
  // QApplication takes its own options out of argc and argv.
  QApplication app(argc, argv);
  if (argc > 1) {
    std::fprintf(stderr, "tavrel-gui: unknown argument '%s' (see 'tavrel-gui --help')\n", argv[1]);
    return kExitUsage;
  }
  tavrel::control::HostWindow window;
  window.show();
  return QApplication::exec();
}
