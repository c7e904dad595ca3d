// Painting the control: background, the message area and the two labels. The
// child windows paint themselves.
#include <QFontMetrics>
#include <QPainter>

#include "internal/layout.h"
#include "internal/qt_text.h"
#include "internal/stock.h"
#include "tavrel/control.h"
#include "tavrel/service.h"

namespace tavrel::control {
namespace {

// Text points are the top-left corner of the text; Qt draws at the baseline.
void DrawTextAt(QPainter& painter, QPoint topLeft, const QString& text) {
  painter.drawText(topLeft + QPoint(0, QFontMetrics(painter.font()).ascent()), text);
}

void PaintMessageRow(QPainter& painter, bool accountRow, const QColor& fill, const QString& text) {
  painter.fillRect(accountRow ? layout::kAccountRow : layout::kBankCodeRow, fill);
  DrawTextAt(painter, accountRow ? layout::kAccountRowTextAt : layout::kBankCodeRowTextAt, text);
}

}  // namespace

void ControlWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const auto& stock = control_->Stock();
  painter.fillRect(rect(), ToQColor(stock.backColor, palette()));
  painter.setFont(font());
  painter.setPen(Qt::black);
  if (!HitListShown()) PaintMessageArea(painter);
  DrawTextAt(painter, layout::kBankCodeLabelAt, ToQString(layout::kBankCodeLabel));
  DrawTextAt(painter, layout::kAccountLabelAt, ToQString(layout::kAccountLabel));
  if (stock.borderStyle != 0) painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// An error goes on the row of the input it concerns; the bank name shows on the
// bank-code row whenever no error covers that row.
void ControlWidget::PaintMessageArea(QPainter& painter) const {
  const auto& state = control_->State();
  bool messageOnAccountRow = false;
  if (!state.quiet) {
    std::string message;
    messageOnAccountRow = service::ResultMessage(state.checkResult, message);
    if (state.checkResult == service::kBankCodeNotEightChars && state.nameSearchMode) {
      message = layout::kNameSearchMessage;
    }
    PaintMessageRow(painter, messageOnAccountRow, layout::kErrorColour, ToQString(message));
  }
  if ((state.quiet || messageOnAccountRow) && !state.bankName.empty()) {
    PaintMessageRow(painter, false, layout::kBankNameColour, ToQString(state.bankName));
  }
}

}  // namespace tavrel::control
