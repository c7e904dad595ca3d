// Builds a rule generation's index from its rows when the program is compiled:
// the 2009 rows, each replaced by the generation's own row of the same key, and
// the generation's new rows. Keys come in selection order: 09 first, then the
// method codes ascending, each followed by its variant keys in table order (keys
// a generation adds after those of the 2009 rows).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "method_table.h"
#include "rule_set.h"

namespace tavrel::engine::rule_index {

// A key of a generation with its row and its place in selection order.
struct PlacedKey {
  std::string_view key;
  const MethodRow* row = nullptr;
  int group = 0;  // the slot of the method code it belongs to; -1 for 09
  int rank = 0;   // its 2009 row's place, or after all 2009 rows for a new key
};

constexpr bool HasKey(std::span<const MethodRow> rows, std::string_view key) {
  return std::any_of(rows.begin(), rows.end(),
                     [key](const MethodRow& row) { return row.key == key; });
}

constexpr bool KeysAreDistinct(std::span<const MethodRow> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (HasKey(rows.subspan(i + 1), rows[i].key)) return false;
  }
  return true;
}

constexpr std::size_t KeyCount(std::span<const MethodRow> base, std::span<const MethodRow> own) {
  return base.size() + static_cast<std::size_t>(std::count_if(
                           own.begin(), own.end(),
                           [base](const MethodRow& row) { return !HasKey(base, row.key); }));
}

// Appends the keys of `rows` with their groups: a key's own method code, or for a
// key that begins with none ("Eser") the code of the row before it.
template <std::size_t N>
constexpr void PlaceRows(std::span<const MethodRow> rows, int firstRank,
                         std::array<PlacedKey, N>& placed, std::size_t& next) {
  int group = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int own = CodeSlot(rows[i].key.substr(0, 2));
    if (own >= 0) group = own;
    placed[next++] = {rows[i].key, &rows[i], rows[i].key == "09" ? -1 : group,
                      firstRank + static_cast<int>(i)};
  }
}

// The keys of the 2009 rows `base` overlaid with `own`, in selection order.
template <std::size_t N>
constexpr std::array<PlacedKey, N> PlaceKeys(std::span<const MethodRow> base,
                                             std::span<const MethodRow> own) {
  std::array<PlacedKey, N> placed{};
  std::size_t next = 0;
  PlaceRows(base, 0, placed, next);
  const std::size_t baseCount = next;
  std::array<PlacedKey, N> added{};
  std::size_t addedCount = 0;
  PlaceRows(own, static_cast<int>(base.size()), added, addedCount);
  for (std::size_t i = 0; i < addedCount; ++i) {
    PlacedKey* overridden = std::find_if(placed.begin(), placed.begin() + baseCount,
                                         [&](const PlacedKey& p) { return p.key == added[i].key; });
    if (overridden != placed.begin() + baseCount) {
      overridden->row = added[i].row;
    } else {
      placed[next++] = added[i];
    }
  }
  std::sort(placed.begin(), placed.end(), [](const PlacedKey& a, const PlacedKey& b) {
    return a.group != b.group ? a.group < b.group : a.rank < b.rank;
  });
  return placed;
}

template <std::size_t N>
constexpr std::size_t CodeCount(const std::array<PlacedKey, N>& placed) {
  return static_cast<std::size_t>(std::count_if(
      placed.begin(), placed.end(), [](const PlacedKey& p) { return CodeSlot(p.key) >= 0; }));
}

template <std::size_t KeyCount, std::size_t CodeCount>
struct Index {
  std::array<const MethodRow*, kSlotCount> codeRows{};
  std::array<VariantKey, KeyCount - CodeCount> variantKeys{};
  std::array<VariantRange, kSlotCount> variantRanges{};
  std::array<std::string_view, KeyCount> keys{};
  std::array<std::string_view, CodeCount> methodCodes{};
};

template <std::size_t CodeCount, std::size_t KeyCount>
constexpr Index<KeyCount, CodeCount> BuildIndex(const std::array<PlacedKey, KeyCount>& placed) {
  Index<KeyCount, CodeCount> index{};
  // Which slots hold a method code, kept apart from the row pointers: a
  // sanitizer build does not let a pointer into a row table be compared with
  // null at compile time.
  std::array<bool, kSlotCount> hasCode{};
  std::size_t variant = 0;
  for (std::size_t i = 0; i < KeyCount; ++i) {
    index.keys[i] = placed[i].key;
    const int slot = CodeSlot(placed[i].key);
    if (slot >= 0) {
      index.codeRows[static_cast<std::size_t>(slot)] = placed[i].row;
      hasCode[static_cast<std::size_t>(slot)] = true;
    } else {
      index.variantKeys[variant++] = {placed[i].key, placed[i].row};
    }
  }
  std::sort(index.variantKeys.begin(), index.variantKeys.end(),
            [](const VariantKey& a, const VariantKey& b) { return a.key < b.key; });
  for (std::size_t i = 0; i < index.variantKeys.size(); ++i) {
    const int slot = CodeSlot(index.variantKeys[i].key.substr(0, 2));
    if (slot < 0) continue;
    VariantRange& range = index.variantRanges[static_cast<std::size_t>(slot)];
    if (range.begin == range.end) range.begin = static_cast<std::int16_t>(i);
    range.end = static_cast<std::int16_t>(i + 1);
  }
  std::size_t code = 0;
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    if (hasCode[slot]) index.methodCodes[code++] = index.codeRows[slot]->key;
  }
  return index;
}

}  // namespace tavrel::engine::rule_index
