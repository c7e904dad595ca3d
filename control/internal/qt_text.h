// QString at the edge of the control: everything inside the system is
// Windows-1252, Qt speaks UTF-16.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tavrel::control {

QString ToQString(std::string_view cp1252);

// Characters without a Windows-1252 form become '?'.
std::string FromQString(const QString& text);

}  // namespace tavrel::control
