// The control's edit field. Its text limit works like that of a classic edit
// window: it stops typing, pasting and dropping from making the text longer than
// the limit, but text the program writes is kept whole, and lowering the limit
// never cuts what is already in the field (QLineEdit::setMaxLength would).
#pragma once

#include <QLineEdit>

namespace tavrel::control {

class LengthGuard;

class FieldEdit final : public QLineEdit {
  Q_OBJECT

 public:
  FieldEdit(int id, QWidget* parent);

  void SetTextLimit(int limit);
  int TextLimit() const;

  // The program's own write: the whole text goes in, the caret stands at the
  // start, and no textChanged signal is sent; the caller runs the change
  // handling itself, so it runs even when the text stays the same.
  void WriteText(const QString& text);

  // Replaces the selection with the clipboard's first line, cut to the room the
  // limit leaves.
  void PasteWithinLimit();

 private:
  LengthGuard* guard_;
};

}  // namespace tavrel::control
