// Dialog units: the control's dialogs are laid out in units of the dialog
// font, a quarter of its average character width across and an eighth of its
// height down, so they grow with the font.
#pragma once

#include <QFont>
#include <QRect>

namespace tavrel::control {

// The font the dialogs are laid out in.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

}  // namespace tavrel::control
