// CDlgAbout: the control's About dialog, opened by AboutBox and by the text
// "info:" in the bank-code field.
#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace tavrel::control {

class CDlgAbout final : public QDialog {
  Q_OBJECT

 public:
  inline static constexpr int kValidFromFieldId = 201;
  inline static constexpr int kOkButtonId = 1;

  explicit CDlgAbout(QWidget* parent = nullptr);

  // The date from which the compiled-in bank directory is valid (Windows-1252);
  // it goes into its field when the dialog opens.
  std::string validFrom = "07.09.2009";

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* validFromField_;
};

}  // namespace tavrel::control
