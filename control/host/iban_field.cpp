#include "iban_field.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "internal/qt_text.h"
#include "tavrel/iban.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

constexpr std::string_view kSeparator = " \xB7 ";  // a middle dot in Windows-1252

std::string GermanFindingsText(const iban::GermanFindings& german) {
  const service::CheckSource source = service::DefaultSource();
  const Outcome account = german.accountOutcome;
  std::string text = IsValid(account) ? "Konto " : "Konto: ";
  text += InfoOf(account).message;
  if (const std::optional<service::Bank> bank =
          service::FindBank(*source.directory, german.account.bankCode())) {
    text += std::string(kSeparator) + std::string(bank->shortName);
    if (!bank->bic.empty()) text += std::string(kSeparator) + "BIC " + std::string(bank->bic);
  }
  return text;
}

}  // namespace

std::string IbanVerdictText(std::string_view text) {
  if (service::TrimWhiteSpace(text).empty()) return "IBAN eingeben";
  const iban::IbanVerdict verdict = iban::CheckIban(text);
  if (!IsValid(verdict.iban)) return std::string(InfoOf(verdict.iban).message);
  std::string line = "IBAN " + std::string(InfoOf(verdict.iban).message);
  if (verdict.german) line += std::string(kSeparator) + GermanFindingsText(*verdict.german);
  return line;
}

IbanField::IbanField(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), result_(new QLabel(this)) {
  edit_->setObjectName(QStringLiteral("iban"));
  edit_->setPlaceholderText(QStringLiteral("DE89 3704 0044 0532 0130 00"));
  result_->setObjectName(QStringLiteral("ibanResult"));
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* rows = new QFormLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addRow(QStringLiteral("IBAN:"), edit_);
  rows->addRow(QString(), result_);
  connect(edit_, &QLineEdit::textChanged, this, &IbanField::ShowVerdict);
  ShowVerdict();
}

void IbanField::ShowVerdict() {
  result_->setText(ToQString(IbanVerdictText(FromQString(edit_->text()))));
}

}  // namespace tavrel::control
