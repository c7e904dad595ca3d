#include "internal/about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <array>

#include "internal/dialog_units.h"
#include "internal/qt_text.h"

namespace tavrel::control {
namespace {

// The maker and its address, one line each (Windows-1252).
constexpr std::array<const char*, 4> kMakerLines = {
    "tavrel developers",
    "Pr\xFC"
    "fzifferweg 12",
    "99999 Musterstadt",
    "Deutschland",
};

// The control's icon: a bank-code card with a tick.
QPixmap ControlIcon() {
  QPixmap icon(32, 32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 90, 40), 1.5));
  painter.setBrush(QColor(200, 255, 200));
  painter.drawRoundedRect(QRectF(2, 6, 28, 20), 3, 3);
  painter.setPen(QPen(QColor(20, 120, 20), 3));
  painter.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 21), QPointF(23, 11)}));
  return icon;
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& where) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(where);
  return label;
}

}  // namespace

CDlgAbout::CDlgAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(
      ToQString("Info \xFC"
                "ber tavrel Control"));
  setFont(DialogFont());
  const DialogUnits units(font());
  setFixedSize(units.Size(239, 99));

  QLabel* icon = AddLabel(this, QString(), units.Rect(14, 14, 21, 20));
  icon->setPixmap(ControlIcon());
  AddLabel(this, ToQString("tavrel Control, Version 1.0"), units.Rect(42, 14, 119, 8));
  AddLabel(this, ToQString("G\xFCltig ab:"), units.Rect(42, 26, 36, 8));
  validFromField_ = AddLabel(this, QStringLiteral("xx.xx.xxxx"), units.Rect(81, 26, 60, 8));
  validFromField_->setObjectName(QString::number(kValidFromFieldId));
  int top = 40;
  for (const char* line : kMakerLines) {
    AddLabel(this, ToQString(line), units.Rect(42, top, 119, 8));
    top += 9;
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QString::number(kOkButtonId));
  ok->setGeometry(units.Rect(168, 78, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CDlgAbout::showEvent(QShowEvent* event) {
  validFromField_->setText(ToQString(validFrom));
  QDialog::showEvent(event);
}

}  // namespace tavrel::control
