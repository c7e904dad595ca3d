#include "tavrel/automation/variant.h"

#include "tavrel/encoding.h"

namespace tavrel::automation {

std::string ToCp1252(const Bstr& text) { return encoding::Utf16ToCp1252(text.View()); }

Bstr FromCp1252(std::string_view text) { return Bstr(encoding::Cp1252ToUtf16(text)); }

}  // namespace tavrel::automation
