// Methods 30 to 59 (rows are added as the methods are built).
#pragma once

#include <array>

#include "engine/method_table.h"

namespace tavrel::engine {

inline constexpr std::array<MethodRow, 0> kMethods30To59{};

}  // namespace tavrel::engine
