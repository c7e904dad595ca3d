// tavrel-gui's IBAN field beside the control: an IBAN typed or pasted in any
// form, and below it, at every keystroke, the IBAN's verdict and for a German
// one the check of its account, its bank's short name and BIC.
#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;

namespace tavrel::control {

class IbanField final : public QWidget {
 public:
  explicit IbanField(QWidget* parent = nullptr);

 private:
  void ShowVerdict();

  QLineEdit* edit_;
  QLabel* result_;
};

// The result line for `text` (Windows-1252), checked against the 2009 directory
// by the 2009 rules as the control checks: "IBAN gültig · Konto gültig ·
// Deutsche Kreditbank Berlin · BIC BYLADEM1001", or the IBAN's fault.
std::string IbanVerdictText(std::string_view text);

}  // namespace tavrel::control
