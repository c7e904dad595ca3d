// tavrel-gui: try the control by hand. Type a bank code and an account number,
// or a bank's name to search for it.
#include <QApplication>

#include "host_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavrel::control::HostWindow window;
  window.show();
  return QApplication::exec();
}
