#include "internal/prop_page.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "internal/dialog_units.h"
#include "internal/qt_text.h"

namespace tavrel::control {

CtavrelPropPage::CtavrelPropPage(QWidget* parent) : QWidget(parent) {
  setWindowTitle(ToQString("Allgemein"));
  setFont(DialogFont());
  const DialogUnits units(font());
  setFixedSize(units.Size(250, 62));
  auto* text = new QLabel(ToQString("tavrel verf\xFCgt \xFC"
                                    "ber keine Eigenschaften."),
                          this);
  text->setGeometry(units.Rect(7, 25, 236, 8));
  // Shown on its own, the page is a dialog: it closes by this button or Escape.
  auto* close = new QPushButton(ToQString("Schlie\xDF"
                                          "en"),
                                this);
  close->setObjectName(QStringLiteral("2"));  // the cancel button's id
  close->setGeometry(units.Rect(193, 41, 50, 14));
  connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
}

void CtavrelPropPage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    window()->close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tavrel::control
