#include "host_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "iban_field.h"
#include "internal/prop_page.h"
#include "internal/qt_text.h"
#include "tavrel/control.h"
#include "why_panel.h"

namespace tavrel::control {

HostWindow::HostWindow(QWidget* parent)
    : QWidget(parent),
      control_(new ControlWidget(this)),
      blz_(new QLabel(this)),
      konto_(new QLabel(this)),
      checkResult_(new QLabel(this)),
      message_(new QLabel(this)),
      bankname_(new QLabel(this)),
      why_(new QPushButton(QStringLiteral("Warum?"), this)),
      whyPanel_(new WhyPanel(this)) {
  setWindowTitle(QStringLiteral("tavrel"));
  control_->setFixedSize(control_->sizeHint());

  auto* properties = new QFormLayout;
  properties->addRow(QStringLiteral("blz:"), blz_);
  properties->addRow(QStringLiteral("konto:"), konto_);
  properties->addRow(QStringLiteral("checkResult:"), checkResult_);
  properties->addRow(QStringLiteral("GetErrorMessage:"), message_);
  properties->addRow(QStringLiteral("bankname:"), bankname_);

  auto* about = new QPushButton(QStringLiteral("AboutBox"), this);
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

void HostWindow::ShowProperties() {
  auto& control = control_->Control();
  blz_->setText(ToQString(control.GetBlz()));
  konto_->setText(ToQString(control.GetKonto()));
  checkResult_->setText(QString::number(control.GetCheckResult()));
  message_->setText(ToQString(control.GetErrorMessage(control.GetCheckResult())));
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
