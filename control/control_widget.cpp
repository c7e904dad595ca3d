// The control's window: creating the child windows, the ControlWindow side the
// control object talks to, focus and the stock properties.
#include <QDialog>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QListWidget>

#include "internal/about_dialog.h"
#include "internal/field_edit.h"
#include "internal/layout.h"
#include "internal/qt_text.h"
#include "internal/stock.h"
#include "tavrel/control.h"

namespace tavrel::control {

using automation::CtavrelCtrl;
using automation::Ref;

ControlWidget::ControlWidget(QWidget* parent)
    : ControlWidget(Ref<CtavrelCtrl>(CtavrelCtrl::New()), parent) {}

ControlWidget::ControlWidget(Ref<CtavrelCtrl> control, QWidget* parent)
    : QWidget(parent),
      control_(std::move(control)),
      runModal_([](QDialog& dialog) { dialog.exec(); }) {
  // Clicking the control's background gives it the focus, which it passes on to
  // a field; Tab moves straight between the fields.
  setFocusPolicy(Qt::ClickFocus);
  resize(layout::kDefaultWidth, layout::kDefaultHeight);
  setFont(ToQFont(control_->Stock().font));
  setEnabled(control_->Stock().enabled);
  control_->AttachWindow(this);
  CreateChildren();
}

ControlWidget::~ControlWidget() {
  control_->DetachWindow();
  // The children outlive this part of the object; their last focus and change
  // notifications must not reach it.
  for (QObject* child : std::initializer_list<QObject*>{bankCodeField_, accountField_, hitList_}) {
    if (child == nullptr) continue;
    child->removeEventFilter(this);
    child->disconnect(this);
  }
}

QSize ControlWidget::sizeHint() const { return {layout::kDefaultWidth, layout::kDefaultHeight}; }

void ControlWidget::CreateChildren() {
  CreateBankCodeField();
  CreateAccountField();
  CreateHitList();
  update();
}

// The bank-code field takes the stored text first, which runs its change
// handling; the account field does not exist yet, so no check runs.
void ControlWidget::CreateBankCodeField() {
  bankCodeField_ = new FieldEdit(layout::kBankCodeFieldId, this);
  bankCodeField_->setGeometry(layout::kBankCodeField);
  bankCodeField_->installEventFilter(this);
  connect(bankCodeField_, &QLineEdit::textChanged, this, &ControlWidget::OnBankCodeChanged);
  WriteField(*bankCodeField_, control_->State().blzText);
  control_->State().nameSearchMode = false;
  bankCodeField_->SetTextLimit(layout::kBankCodeLimit);
  bankCodeField_->setToolTip(ToQString(layout::kBankCodeToolTip));
}

void ControlWidget::CreateAccountField() {
  accountField_ = new FieldEdit(layout::kAccountFieldId, this);
  accountField_->setGeometry(layout::kAccountField);
  accountField_->installEventFilter(this);
  connect(accountField_, &QLineEdit::textChanged, this, &ControlWidget::OnAccountChanged);
  accountField_->SetTextLimit(layout::kAccountLimit);
  WriteField(*accountField_, control_->State().kontoText);
}

void ControlWidget::CreateHitList() {
  auto* list = new QListWidget(this);
  list->setObjectName(QString::number(layout::kHitListId));
  list->setProperty("id", layout::kHitListId);
  list->setSortingEnabled(true);
  list->hide();
  list->installEventFilter(this);
  connect(list, &QListWidget::itemDoubleClicked, this, &ControlWidget::TakeHit);
  hitList_ = list;
  resizeEvent(nullptr);
}

void ControlWidget::resizeEvent(QResizeEvent*) {
  if (hitList_ == nullptr) return;
  hitList_->setGeometry(
      layout::FromEdges(layout::kHitListLeft, 0, layout::kHitListRight, height()));
}

void ControlWidget::WriteField(FieldEdit& field, std::string_view text) {
  field.WriteText(ToQString(text));
  if (&field == bankCodeField_) {
    OnBankCodeChanged();
  } else {
    OnAccountChanged();
  }
}

std::optional<std::string> ControlWidget::BankCodeFieldText() const {
  if (bankCodeField_ == nullptr) return std::nullopt;
  return FromQString(bankCodeField_->text());
}

void ControlWidget::SetBankCodeFieldText(std::string_view text) {
  if (bankCodeField_ != nullptr) WriteField(*bankCodeField_, text);
}

std::optional<std::string> ControlWidget::AccountFieldText() const {
  if (accountField_ == nullptr) return std::nullopt;
  return FromQString(accountField_->text());
}

void ControlWidget::SetAccountFieldText(std::string_view text) {
  if (accountField_ != nullptr) WriteField(*accountField_, text);
}

void ControlWidget::ShowAboutBox() {
  CDlgAbout dialog(this);
  runModal_(dialog);
}

void ControlWidget::StockPropertyChanged(automation::DispId property) {
  const auto& stock = control_->Stock();
  if (property == automation::DISPID_FONT) ApplyFont(ToQFont(stock.font));
  if (property == automation::DISPID_ENABLED) setEnabled(stock.enabled);
  update();
}

void ControlWidget::ApplyFont(const QFont& font) {
  setFont(font);
  for (QWidget* child : std::initializer_list<QWidget*>{bankCodeField_, accountField_, hitList_}) {
    if (child != nullptr) child->setFont(font);
  }
}

// The control hands the focus on: with Shift held (coming back from behind) to
// the account field, otherwise to the bank-code field.
void ControlWidget::focusInEvent(QFocusEvent* event) {
  const bool shift = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
  FieldEdit* target = shift ? accountField_ : bankCodeField_;
  if (target != nullptr) target->setFocus(event->reason());
}

void ControlWidget::Invalidate() {
  update();
  emit StateChanged();
}

}  // namespace tavrel::control
