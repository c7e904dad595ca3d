// Methods A0 to B9 (rows are added as the methods are built).
#pragma once

#include <array>

#include "engine/method_table.h"

namespace tavrel::engine {

inline constexpr std::array<MethodRow, 0> kMethodsA0ToB9{};

}  // namespace tavrel::engine
