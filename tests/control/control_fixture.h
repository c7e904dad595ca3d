// A shown control with its children found by their identifiers, and helpers to
// type into them and to read the painted message rows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "control/internal/layout.h"
#include "control/internal/qt_text.h"
#include "tavrel/control.h"

namespace tavrel::control {

class ControlTest : public ::testing::Test {
 protected:
  ControlTest()
      : ControlTest(automation::Ref<automation::CtavrelCtrl>(automation::CtavrelCtrl::New())) {}

  explicit ControlTest(automation::Ref<automation::CtavrelCtrl> control)
      : widget(std::make_unique<ControlWidget>(std::move(control))) {
    widget->SetModalRunner(
        [this](QDialog& dialog) { dialogs.push_back(dialog.metaObject()->className()); });
    widget->show();
    QApplication::setActiveWindow(widget.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(widget.get()));
  }

  automation::CtavrelCtrl& Control() const { return widget->Control(); }
  const automation::ControlState& State() const { return Control().State(); }
  QLineEdit& BankCodeField() const { return *widget->findChild<QLineEdit*>("2000"); }
  QLineEdit& AccountField() const { return *widget->findChild<QLineEdit*>("2001"); }
  QListWidget& HitList() const { return *widget->findChild<QListWidget*>("2002"); }

  // Keys go through the application, as a user's would.
  static void Type(QLineEdit& field, const QString& keys) {
    field.setFocus();
    QTest::keyClicks(&field, keys);
  }
  static void Press(QWidget& target, Qt::Key key,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&target, key, modifiers);
  }

  QStringList HitLines() const {
    QStringList lines;
    for (int row = 0; row < HitList().count(); ++row) lines << HitList().item(row)->text();
    return lines;
  }

  // The colour in the middle of a message row, past where its text ends.
  QColor RowColour(bool accountRow) const {
    const QImage image = widget->grab().toImage();
    const QRect row = accountRow ? layout::kAccountRow : layout::kBankCodeRow;
    return image.pixelColor(row.right() - 2, row.center().y());
  }
  QColor BackgroundColour() const {
    return widget->grab().toImage().pixelColor(widget->width() - 2, widget->height() - 2);
  }

  std::unique_ptr<ControlWidget> widget;
  std::vector<std::string> dialogs;  // class names of the dialogs run modally
};

}  // namespace tavrel::control
