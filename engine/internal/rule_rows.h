// Every method row, by generation: the 2009 rows, and the rows the current
// generation puts in their place or adds. The keys of both are the keys a
// procedure may run (MethodKey checks them against these rows).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "method_table.h"
#include "methods_00_29.h"
#include "methods_30_59.h"
#include "methods_60_79.h"
#include "methods_80_99.h"
#include "methods_a0_b9.h"
#include "methods_c0_d3.h"
#include "methods_d4_e4.h"

namespace tavrel::engine {

template <std::size_t... N>
constexpr auto ConcatRows(const std::array<MethodRow, N>&... parts) {
  std::array<MethodRow, (N + ... + 0)> all{};
  std::size_t next = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(next)),
    next += parts.size()),
   ...);
  return all;
}

inline constexpr auto k2009Rows = ConcatRows(kMethods00To29, kMethods30To59, kMethods60To79,
                                             kMethods80To99, kMethodsA0ToB9, kMethodsC0ToD3);

inline constexpr auto kCurrentRows =
    ConcatRows(kCurrentMethods00To29, kCurrentMethods30To59, kCurrentMethods60To79,
               kCurrentMethods80To99, kCurrentMethodsA0ToB9, kCurrentMethodsC0ToD3, kMethodsD4ToE4);

consteval bool IsMethodKey(std::string_view key) {
  const auto hasKey = [key](const MethodRow& row) { return row.key == key; };
  return !key.empty() && (std::any_of(k2009Rows.begin(), k2009Rows.end(), hasKey) ||
                          std::any_of(kCurrentRows.begin(), kCurrentRows.end(), hasKey));
}

}  // namespace tavrel::engine
