#include "host_window.h"

#include <QColor>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>

#include "iban_field.h"
#include "internal/prop_page.h"
#include "internal/qt_text.h"
#include "tavrel/control.h"
#include "why_panel.h"

namespace tavrel::control {
namespace {

struct Verdict {
  QString text;
  QColor colour;
};

// Results 0 and 1 both pass, but 1 means the bank's method has no check digit:
// nothing was tested, which the user must be able to tell at a glance.
Verdict VerdictOf(std::int32_t result, const QString& message) {
  if (result == 0) return {QStringLiteral("\u2714 g\u00fcltig"), QColor(0x1a, 0x7f, 0x37)};
  if (result == 1) {
    return {QStringLiteral("\u25cb g\u00fcltig ohne Pr\u00fcfung: die Methode der Bank hat keine "
                           "Pr\u00fcfziffer"),
            QColor(0x9a, 0x67, 0x00)};
  }
  return {QStringLiteral("\u2718 ") + message, QColor(0xc0, 0x1c, 0x28)};
}

}  // namespace

HostWindow::HostWindow(QWidget* parent)
    : QWidget(parent),
      control_(new ControlWidget(this)),
      blz_(new QLabel(this)),
      konto_(new QLabel(this)),
      checkResult_(new QLabel(this)),
      bankname_(new QLabel(this)),
      why_(new QPushButton(QStringLiteral("Warum?"), this)),
      whyPanel_(new WhyPanel(this)) {
  setWindowTitle(QStringLiteral("tavrel"));
  control_->setFixedSize(control_->sizeHint());

  // What the host reads from the control's properties, under names a user knows.
  checkResult_->setObjectName(QStringLiteral("checkResult"));
  auto* properties = new QFormLayout;
  properties->addRow(QStringLiteral("Bankleitzahl:"), blz_);
  properties->addRow(QStringLiteral("Kontonummer:"), konto_);
  properties->addRow(QStringLiteral("Ergebnis:"), checkResult_);
  properties->addRow(QStringLiteral("Bank:"), bankname_);

  auto* about = new QPushButton(QStringLiteral("Info..."), this);
  connect(about, &QPushButton::clicked, this, [this] { control_->Control().AboutBox(); });
  auto* page = new QPushButton(QStringLiteral("Eigenschaften..."), this);
  connect(page, &QPushButton::clicked, this, &HostWindow::ShowPropertyPage);
  why_->setObjectName(QStringLiteral("why"));
  why_->setCheckable(true);
  connect(why_, &QPushButton::toggled, this, &HostWindow::ShowWhy);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(about);
  buttons->addWidget(page);
  buttons->addWidget(why_);
  buttons->addStretch();
  whyPanel_->hide();

  auto* inputs = new QHBoxLayout;
  inputs->addWidget(control_, 0, Qt::AlignTop);
  inputs->addWidget(new IbanField(this), 1, Qt::AlignTop);
  auto* column = new QVBoxLayout(this);
  column->addLayout(inputs);
  column->addLayout(properties);
  column->addLayout(buttons);
  column->addWidget(whyPanel_);

  connect(control_, &ControlWidget::StateChanged, this, &HostWindow::ShowProperties);
  ShowProperties();
}

// The control outlives this part of the window and reports its fields losing
// focus as it goes: those reports must not reach a form already taken apart.
HostWindow::~HostWindow() { disconnect(control_, nullptr, this, nullptr); }

void HostWindow::ShowProperties() {
  auto& control = control_->Control();
  blz_->setText(ToQString(control.GetBlz()));
  konto_->setText(ToQString(control.GetKonto()));
  const std::int32_t result = control.GetCheckResult();
  const Verdict verdict = VerdictOf(result, ToQString(control.GetErrorMessage(result)));
  checkResult_->setText(verdict.text);
  checkResult_->setToolTip(QStringLiteral("checkResult %1").arg(result));
  QPalette palette = checkResult_->palette();
  palette.setColor(QPalette::WindowText, verdict.colour);
  checkResult_->setPalette(palette);
  bankname_->setText(ToQString(control.GetBankname()));
  if (whyPanel_->isVisible()) whyPanel_->Explain(control.GetBlz(), control.GetKonto());
}

void HostWindow::ShowWhy(bool shown) {
  whyPanel_->setVisible(shown);
  if (shown) whyPanel_->Explain(control_->Control().GetBlz(), control_->Control().GetKonto());
  adjustSize();
}

void HostWindow::ShowPropertyPage() {
  auto* page = new CtavrelPropPage(this);
  page->setWindowFlag(Qt::Dialog);
  page->setAttribute(Qt::WA_DeleteOnClose);
  page->show();
}

}  // namespace tavrel::control
