// The window side of the tavrel control, seen from the windowless control object.
//
// CtavrelCtrl (tavrel_ctrl.h) holds the control's state and its dispatch
// interface; it does not know any toolkit. The visible form (bank-code field,
// account field, message area, hit list) is provided by a separate library that
// implements ControlWindow and attaches it with CtavrelCtrl::AttachWindow() when
// the window is created, and detaches it with DetachWindow() before destroying
// it. While no window is attached the control only stores texts.
//
// All strings are Windows-1252. Calls come from the thread that owns the control
// (apartment threading); none of them may call back into the property setters of
// the same control (SetBlz, SetKonto) but they may read and change the control's
// state through CtavrelCtrl::State().
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tavrel/automation/dispatch.h"

namespace tavrel::automation {

class ControlWindow {
 public:
  virtual ~ControlWindow() = default;

  // Current text of the bank-code field, or nullopt when that field has not been
  // created (the control then keeps its stored blz text).
  virtual std::optional<std::string> BankCodeFieldText() const = 0;

  // Writes `text` into the bank-code field as if the user had typed it: before
  // returning, the field's change handling must have run (bank search, digit
  // filter, check), so the control's check result and bank name are up to date.
  // Does nothing when the field has not been created.
  virtual void SetBankCodeFieldText(std::string_view text) = 0;

  // As above for the account field.
  virtual std::optional<std::string> AccountFieldText() const = 0;
  virtual void SetAccountFieldText(std::string_view text) = 0;

  // Shows the About dialog modally and returns when it is closed.
  virtual void ShowAboutBox() = 0;

  // A stock property (BackColor, Enabled, Font, BorderStyle; `property` is its
  // dispatch identifier) has a new value: apply it (a new font goes to both fields
  // and the hit list) and repaint.
  virtual void StockPropertyChanged(DispId property) = 0;
};

}  // namespace tavrel::automation
