#include "internal/prop_page.h"

#include <QLabel>

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
}

}  // namespace tavrel::control
