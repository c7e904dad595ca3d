// The one Windows-1252 converter used at every edge of the system: UTF-8 for the
// command line and files, UTF-16 for the automation layer, QString via UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::encoding {

// Every Windows-1252 byte has a Unicode form, so these never fail.
std::string Cp1252ToUtf8(std::string_view cp1252);
std::u16string Cp1252ToUtf16(std::string_view cp1252);

// Strict: nullopt when the input is not valid UTF-8 or holds a character that has
// no Windows-1252 form.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Lossy: invalid sequences and characters without a Windows-1252 form become '?',
// as the Windows ANSI conversion does.
std::string Utf8ToCp1252Lossy(std::string_view utf8);
std::string Utf16ToCp1252(std::u16string_view utf16);

}  // namespace tavrel::encoding
