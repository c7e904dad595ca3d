#include "internal/qt_text.h"

#include "tavrel/encoding.h"

namespace tavrel::control {

QString ToQString(std::string_view cp1252) {
  return QString::fromStdU16String(encoding::Cp1252ToUtf16(cp1252));
}

std::string FromQString(const QString& text) {
  return encoding::Utf16ToCp1252(text.toStdU16String());
}

}  // namespace tavrel::control
