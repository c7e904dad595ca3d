// Methods C0 to D3 (rows are added as the methods are built).
#pragma once

#include <array>

#include "engine/method_table.h"

namespace tavrel::engine {

inline constexpr std::array<MethodRow, 0> kMethodsC0ToD3{};

}  // namespace tavrel::engine
