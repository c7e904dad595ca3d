#include "internal/dialog_units.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>

namespace tavrel::control {

QFont DialogFont() {
  QFont font(QStringLiteral("MS Shell Dlg"));
  font.setPointSize(8);
  return font;
}

// The average width is measured over the 52 Latin letters, rounded.
DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseX_ = std::max(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
  baseY_ = std::max(1, metrics.height());
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return {x * baseX_ / 4, y * baseY_ / 8, width * baseX_ / 4, height * baseY_ / 8};
}

QSize DialogUnits::Size(int width, int height) const { return Rect(0, 0, width, height).size(); }

}  // namespace tavrel::control
