// Methods 80 to 99 (rows are added as the methods are built).
#pragma once

#include <array>

#include "engine/method_table.h"

namespace tavrel::engine {

inline constexpr std::array<MethodRow, 0> kMethods80To99{};

}  // namespace tavrel::engine
