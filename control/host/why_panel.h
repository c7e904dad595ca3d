// The "Warum?" panel of tavrel-gui: why the control's verdict is what it is,
// test by test and step by step, and for an account or bank code that fails,
// the valid ones one slip away.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace tavrel::control {

class WhyPanel final : public QPlainTextEdit {
 public:
  explicit WhyPanel(QWidget* parent = nullptr);

  // Shows why the check of `account` at `bankCode` (Windows-1252) gives its
  // verdict, by the 2009 rules the control checks by.
  void Explain(std::string_view bankCode, std::string_view account);
};

// The panel's text for a bank code and an account, Windows-1252.
std::string WhyText(std::string_view bankCode, std::string_view account);

}  // namespace tavrel::control
