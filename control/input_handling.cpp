// What the control does when a field changes, loses the focus or gets a key:
// the digit filter, the check, the bank search and taking a hit.
#include <QKeyEvent>
#include <QListWidget>
#include <algorithm>

#include "internal/field_edit.h"
#include "internal/qt_text.h"
#include "tavrel/ascii.h"
#include "tavrel/control.h"
#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

// A hit line starts with its bank code.

struct Selection {
  int start;
  int end;
};

Selection SelectionOf(const QLineEdit& field) {
  if (!field.hasSelectedText()) return {field.cursorPosition(), field.cursorPosition()};
  return {field.selectionStart(), field.selectionEnd()};
}

// Moves both ends one place to the left. An end that would leave the text
// start drops the selection, with the caret where writing the text put it.
void SelectOneToTheLeft(QLineEdit& field, Selection old) {
  if (old.start <= 0) return;
  const int length = static_cast<int>(field.text().size());
  const int start = std::min(old.start - 1, length);
  const int end = std::min(old.end - 1, length);
  if (start == end) {
    field.setCursorPosition(start);
  } else {
    field.setSelection(start, end - start);
  }
}

bool IsTab(const QKeyEvent& key) {
  return key.key() == Qt::Key_Tab && !key.modifiers().testFlag(Qt::ShiftModifier);
}

bool IsBacktab(const QKeyEvent& key) {
  return key.key() == Qt::Key_Backtab ||
         (key.key() == Qt::Key_Tab && key.modifiers().testFlag(Qt::ShiftModifier));
}

}  // namespace

void ControlWidget::OnBankCodeChanged() {
  auto& state = control_->State();
  const std::string text = FromQString(bankCodeField_->text());
  state.bankName.clear();
  const bool startsWithDigit = !text.empty() && IsAsciiDigit(text.front());
  if (!state.nameSearchMode && !text.empty() && !startsWithDigit) {
    state.nameSearchMode = true;
    state.quiet = false;
  }
  if (text.empty()) state.nameSearchMode = false;

  if (!state.nameSearchMode) {
    RunDigitFilter(*bankCodeField_, state.rememberedBlzText);
  } else {
    // A name search is no bank code yet: the result says so until the next check.
    if (startsWithDigit) state.nameSearchMode = false;
    state.checkResult = service::kBankCodeNotEightChars;
    Invalidate();
  }
  ShowSearchResult(text);
}

void ControlWidget::OnAccountChanged() {
  RunDigitFilter(*accountField_, control_->State().rememberedKontoText);
}

// Puts the text of the last key press back when a non-digit got in, with the
// caret where it was before the rejected character.
void ControlWidget::RunDigitFilter(FieldEdit& field, std::string remembered) {
  if (!std::ranges::all_of(FromQString(field.text()), IsAsciiDigit)) {
    const Selection selection = SelectionOf(field);
    WriteField(field, remembered);
    SelectOneToTheLeft(field, selection);
  }
  CheckFromWindow();
}

void ControlWidget::CheckFromWindow() {
  if (bankCodeField_ == nullptr || accountField_ == nullptr) return;
  auto& state = control_->State();
  const std::string bankCode = FromQString(bankCodeField_->text());
  const std::string account = FromQString(accountField_->text());
  state.checkResult = service::CheckAccount(account, bankCode);
  state.quiet = !((!bankCode.empty() || !account.empty()) && state.checkResult < 0);
  directory::LookupBankName(bankCode, state.bankName);
  Invalidate();
}

// The search runs on the text as read when the change began, so a character
// the digit filter took back still counts here (and finds no bank code).
void ControlWidget::ShowSearchResult(const std::string& searchText) {
  const directory::SearchResult search =
      directory::BankSearch(searchText, control_->State().nameSearchMode);
  if (search.openAboutBox) ShowAboutBox();
  bankCodeField_->SetTextLimit(search.fieldLimit);
  if (hitList_ == nullptr) return;
  hitList_->clear();
  for (const std::string& hit : search.hits) hitList_->addItem(ToQString(hit));
  if (hitList_->count() > 0) {
    hitList_->show();
  } else {
    HideHitList();
  }
}

bool ControlWidget::HitListShown() const {
  return hitList_ != nullptr && hitList_->isVisibleTo(this);
}

// A hidden widget that has the focus would hand it to the next one in the tab
// chain, and a field losing it runs a check; the list lets it go first.
void ControlWidget::HideHitList() {
  if (hitList_->hasFocus()) hitList_->clearFocus();
  hitList_->hide();
}

// The change of the bank-code field runs while the name search is still on, so
// the result stays "not eight characters" until the next check.
void ControlWidget::TakeHit() {
  const QListWidgetItem* item = hitList_->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const std::string line = FromQString(item->text());
  WriteField(*bankCodeField_, std::string_view(line).substr(0, kBankCodeLength));
  control_->State().nameSearchMode = false;
  accountField_->setFocus(Qt::OtherFocusReason);
}

bool ControlWidget::eventFilter(QObject* watched, QEvent* event) {
  const bool isField = watched == bankCodeField_ || watched == accountField_;
  if (event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (isField) return HandleFieldKey(*static_cast<FieldEdit*>(watched), key);
    if (watched == hitList_) return HandleHitListKey(key);
  }
  if (event->type() == QEvent::FocusOut && isField &&
      static_cast<const QFocusEvent&>(*event).reason() != Qt::PopupFocusReason) {
    CheckFromWindow();
  }
  return QWidget::eventFilter(watched, event);
}

std::string& ControlWidget::RememberedText(const FieldEdit& field) {
  auto& state = control_->State();
  return &field == bankCodeField_ ? state.rememberedBlzText : state.rememberedKontoText;
}

bool ControlWidget::HandleFieldKey(FieldEdit& field, const QKeyEvent& key) {
  if (&field == bankCodeField_ && IsTab(key)) {
    TabFromBankCodeField();
    return true;
  }
  if (&field == accountField_ && IsBacktab(key)) {
    bankCodeField_->setFocus(Qt::BacktabFocusReason);
    return true;
  }
  RememberedText(field) = FromQString(field.text());
  const bool ctrl = key.modifiers().testFlag(Qt::ControlModifier);
  const bool shift = key.modifiers().testFlag(Qt::ShiftModifier);
  if (ctrl && (key.key() == Qt::Key_C || key.key() == Qt::Key_Insert)) {
    field.copy();
  } else if ((ctrl && key.key() == Qt::Key_V) || (shift && key.key() == Qt::Key_Insert)) {
    field.PasteWithinLimit();
  } else if (ctrl && key.key() == Qt::Key_X) {
    field.cut();
  } else {
    return false;
  }
  return true;
}

void ControlWidget::TabFromBankCodeField() {
  if (!HitListShown()) {
    accountField_->setFocus(Qt::TabFocusReason);
    return;
  }
  hitList_->setFocus(Qt::TabFocusReason);
  hitList_->setCurrentRow(0);
  if (hitList_->count() == 1) TakeHit();
}

bool ControlWidget::HandleHitListKey(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    TakeHit();
  } else if (IsBacktab(key)) {
    HideHitList();
    bankCodeField_->setFocus(Qt::BacktabFocusReason);
  } else if (IsTab(key)) {
    HideHitList();
    accountField_->setFocus(Qt::TabFocusReason);
  } else {
    return false;
  }
  return true;
}

}  // namespace tavrel::control
