// Methods 60 to 79 (rows are added as the methods are built).
#pragma once

#include <array>

#include "engine/method_table.h"

namespace tavrel::engine {

inline constexpr std::array<MethodRow, 0> kMethods60To79{};

}  // namespace tavrel::engine
