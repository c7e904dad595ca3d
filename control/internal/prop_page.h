// CtavrelPropPage: the control's only property page. The control has no
// properties of its own to edit, and the page says so. Shown as a window of its
// own, it closes by its button or Escape.
#pragma once

#include <QWidget>

class QKeyEvent;

namespace tavrel::control {

class CtavrelPropPage final : public QWidget {
  Q_OBJECT

 public:
  explicit CtavrelPropPage(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tavrel::control
