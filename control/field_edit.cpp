#include "internal/field_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>

namespace tavrel::control {

// Refuses an edit that makes the text longer than both the limit and the text
// was before it; shorter texts always pass, so a text above the limit can still
// be shortened.
class LengthGuard final : public QValidator {
 public:
  explicit LengthGuard(QObject* parent) : QValidator(parent) {}

  int limit = 0;
  qsizetype allowed = 0;  // length of the text before the edit

  State validate(QString& input, int&) const override {
    return input.size() > limit && input.size() > allowed ? Invalid : Acceptable;
  }
};

FieldEdit::FieldEdit(int id, QWidget* parent) : QLineEdit(parent), guard_(new LengthGuard(this)) {
  setObjectName(QString::number(id));
  setProperty("id", id);
  setAcceptDrops(false);
  setValidator(guard_);
  // Connected before anyone else's handler, so the guard knows the new length
  // before the next edit.
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { guard_->allowed = text.size(); });
}

void FieldEdit::SetTextLimit(int limit) { guard_->limit = limit; }

int FieldEdit::TextLimit() const { return guard_->limit; }

void FieldEdit::WriteText(const QString& text) {
  guard_->allowed = text.size();
  const QSignalBlocker quiet(this);
  setText(text);
  setCursorPosition(0);
}

void FieldEdit::PasteWithinLimit() {
  QString clip = QApplication::clipboard()->text();
  const auto lineEnd =
      std::find_if(clip.cbegin(), clip.cend(), [](QChar c) { return c == u'\r' || c == u'\n'; });
  clip.truncate(lineEnd - clip.cbegin());
  if (clip.isEmpty()) return;
  const qsizetype kept = text().size() - selectedText().size();
  const qsizetype room = std::max<qsizetype>(0, guard_->limit - kept);
  insert(clip.left(room));
}

}  // namespace tavrel::control
