// The host form of tavrel-gui: the control on top, below it what a host reads
// through the control's properties after every change.
#pragma once

#include <QWidget>

class QLabel;

namespace tavrel::control {

class ControlWidget;

class HostWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit HostWindow(QWidget* parent = nullptr);

 private:
  void ShowProperties();
  void ShowPropertyPage();

  ControlWidget* control_;
  QLabel* blz_;
  QLabel* konto_;
  QLabel* checkResult_;
  QLabel* message_;
  QLabel* bankname_;
};

}  // namespace tavrel::control
