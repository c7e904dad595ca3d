// CtavrelPropPage: the control's only property page. The control has no
// properties of its own to edit, and the page says so.
#pragma once

#include <QWidget>

namespace tavrel::control {

class CtavrelPropPage final : public QWidget {
  Q_OBJECT

 public:
  explicit CtavrelPropPage(QWidget* parent = nullptr);
};

}  // namespace tavrel::control
