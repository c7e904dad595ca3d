// A rule generation's index over method rows. The current generation lists only
// the rows it changes or adds; every other key points at the 2009 row, so no row
// exists twice. The indexes are built when the program is compiled
// (rule_sets.cpp): nothing is initialised at start-up and nothing allocates.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

#include "method_table.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

// Method codes: first character 0-9 or A-E, second 0-9.
inline constexpr int kSlotCount = 150;

// The slot of a two-character method code, -1 for any other text. Written as
// comparisons that compile to conditional moves: the codes of a batch are as
// mixed as its banks.
constexpr int CodeSlot(std::string_view key) {
  if (key.size() != 2) return -1;
  const unsigned first = static_cast<unsigned char>(key[0]);
  const unsigned second = static_cast<unsigned char>(key[1]) - unsigned{'0'};
  const unsigned digit = first - unsigned{'0'};
  const unsigned letter = first - unsigned{'A'};
  const unsigned high = digit <= 9 ? digit : (letter <= 4 ? 10 + letter : 15);
  return high > 14 || second > 9 ? -1 : static_cast<int>(high * 10 + second);
}

// A variant key and its row.
struct VariantKey {
  std::string_view key;
  const MethodRow* row = nullptr;
};

// The part of the sorted variant keys that begin with one method code.
struct VariantRange {
  std::int16_t begin = 0;
  std::int16_t end = 0;
};

class RuleSet {
 public:
  std::string_view name;
  Generation generation;
  // The first change the set holds came into force on `firstChange`; from
  // `validFrom` on, every rule of the set was in force.
  std::chrono::year_month_day firstChange;
  std::chrono::year_month_day validFrom;
  std::span<const MethodRow* const, kSlotCount> codeRows;   // by CodeSlot, null: no method
  std::span<const VariantKey> variantKeys;                  // sorted by key
  std::span<const VariantRange, kSlotCount> variantRanges;  // by the code a key begins with
  std::span<const std::string_view> keys;                   // in selection order
  std::span<const std::string_view> methodCodes;            // ascending

  // The row of `key`, or nullptr when the set has none. Method codes, the keys
  // of every check, take one load.
  const MethodRow* FindRow(std::string_view key) const {
    const int slot = CodeSlot(key);
    if (slot >= 0) return codeRows[static_cast<std::size_t>(slot)];
    return FindVariantRow(key);
  }

  // The row of a variant key, or nullptr.
  const MethodRow* FindVariantRow(std::string_view key) const;
};

}  // namespace tavrel::engine
