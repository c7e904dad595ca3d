// The host form of tavrel-gui: the control on top with an IBAN field beside it
// (see iban_field.h), below them what a host reads
// through the control's properties after every change, the verdict in words
// and colour, and on "Warum?" why the verdict is what it is.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavrel::control {

class ControlWidget;
class WhyPanel;

class HostWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit HostWindow(QWidget* parent = nullptr);
  ~HostWindow() override;

 private:
  void ShowProperties();
  void ShowPropertyPage();
  void ShowWhy(bool shown);

  ControlWidget* control_;
  QLabel* blz_;
  QLabel* konto_;
  QLabel* checkResult_;
  QLabel* bankname_;
  QPushButton* why_;
  WhyPanel* whyPanel_;
};

}  // namespace tavrel::control
