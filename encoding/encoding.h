// The one Windows-1252 converter used at every edge of the system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::encoding {
// (filled in by the encoding work; see encoding.cpp)
}  // namespace tavrel::encoding
