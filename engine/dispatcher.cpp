// Selection of a method block by its key. The index is computed at compile time
// from the method tables: two-character codes by a direct slot, variant keys by
// binary search. Nothing is initialised at start-up and nothing allocates.
#include <algorithm>
#include <array>
#include <cstdint>

#include "internal/keys.h"
#include "internal/method_table.h"
#include "internal/methods_00_29.h"
#include "internal/methods_30_59.h"
#include "internal/methods_60_79.h"
#include "internal/methods_80_99.h"
#include "internal/methods_a0_b9.h"
#include "internal/methods_c0_d3.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

template <std::size_t... N>
constexpr auto Concat(const std::array<MethodRow, N>&... parts) {
  std::array<MethodRow, (N + ... + 0)> all{};
  std::size_t next = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(next)),
    next += parts.size()),
   ...);
  return all;
}

constexpr auto kRows = Concat(kMethods00To29, kMethods30To59, kMethods60To79, kMethods80To99,
                              kMethodsA0ToB9, kMethodsC0ToD3);

// Method codes: first character 0-9 or A-D, second 0-9.
constexpr int kSlotCount = 140;

constexpr int ShortSlot(std::string_view key) {
  if (key.size() != 2 || key[1] < '0' || key[1] > '9') return -1;
  int high = -1;
  if (key[0] >= '0' && key[0] <= '9') high = key[0] - '0';
  if (key[0] >= 'A' && key[0] <= 'D') high = 10 + key[0] - 'A';
  return high < 0 ? -1 : high * 10 + (key[1] - '0');
}

constexpr auto kShortIndex = [] {
  std::array<std::int16_t, kSlotCount> index{};
  index.fill(-1);
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const int slot = ShortSlot(kRows[i].key);
    if (slot >= 0) index[static_cast<std::size_t>(slot)] = static_cast<std::int16_t>(i);
  }
  return index;
}();

struct LongKey {
  std::string_view key;
  std::int16_t row;
};

constexpr std::size_t kLongKeyCount = static_cast<std::size_t>(std::count_if(
    kRows.begin(), kRows.end(), [](const MethodRow& row) { return ShortSlot(row.key) < 0; }));

constexpr auto kLongIndex = [] {
  std::array<LongKey, kLongKeyCount> index{};
  std::size_t next = 0;
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    if (ShortSlot(kRows[i].key) < 0) index[next++] = {kRows[i].key, static_cast<std::int16_t>(i)};
  }
  std::sort(index.begin(), index.end(),
            [](const LongKey& a, const LongKey& b) { return a.key < b.key; });
  return index;
}();

// For each method code, the range of kLongIndex holding its variant keys (they
// begin with the code and sort together), so a variant is found among a handful
// of keys instead of by a search over all of them.
struct VariantRange {
  std::int16_t begin = 0;
  std::int16_t end = 0;
};

constexpr auto kVariantRanges = [] {
  std::array<VariantRange, kSlotCount> ranges{};
  for (std::size_t i = 0; i < kLongIndex.size(); ++i) {
    const int slot = ShortSlot(kLongIndex[i].key.substr(0, 2));
    if (slot < 0) continue;
    VariantRange& range = ranges[static_cast<std::size_t>(slot)];
    if (range.begin == range.end) range.begin = static_cast<std::int16_t>(i);
    range.end = static_cast<std::int16_t>(i + 1);
  }
  return ranges;
}();

constexpr bool RowsAreKnownAndDistinct() {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    if (std::find(kAllKeys.begin(), kAllKeys.end(), kRows[i].key) == kAllKeys.end()) return false;
    for (std::size_t j = i + 1; j < kRows.size(); ++j) {
      if (kRows[i].key == kRows[j].key) return false;
    }
  }
  return true;
}
static_assert(RowsAreKnownAndDistinct(), "every row needs a distinct key of the dispatcher");

const MethodRow* FindRow(std::string_view key) {
  const int slot = ShortSlot(key);
  if (slot >= 0) {
    const int row = kShortIndex[static_cast<std::size_t>(slot)];
    return row < 0 ? nullptr : &kRows[static_cast<std::size_t>(row)];
  }
  const int methodSlot = key.size() > 2 ? ShortSlot(key.substr(0, 2)) : -1;
  const auto* first = kLongIndex.begin();
  const auto* last = kLongIndex.end();
  if (methodSlot >= 0) {
    const VariantRange& range = kVariantRanges[static_cast<std::size_t>(methodSlot)];
    first = kLongIndex.begin() + range.begin;
    last = kLongIndex.begin() + range.end;
  }
  const auto* it =
      std::find_if(first, last, [&](const LongKey& entry) { return entry.key == key; });
  return it != last ? &kRows[static_cast<std::size_t>(it->row)] : nullptr;
}

// Blocks read positions of a ten-digit form: only texts of one to ten digits
// reach them.
bool IsAccountText(std::string_view account) {
  const std::size_t n = account.size();
  if (n == 0 || n > 10) return false;
  // Ten steps whatever the length, so mixed lengths do not mispredict the end.
  bool digits = true;
#pragma GCC unroll 10
  for (std::size_t i = 0; i < 10; ++i) {
    const char c = account[i < n ? i : 0];
    digits &= static_cast<unsigned char>(c - '0') <= 9;
  }
  return digits;
}

}  // namespace

int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode) {
  const MethodRow* row = FindRow(key);
  if (row == nullptr) return kMethodNotFound;
  // A row that is one table runs straight away: the table tests the account's
  // form itself and declines anything but one to ten digits.
  int result = 0;
  if (row->method.usable && RunSumTable(row->method, account, 0, result)) {
    return result;
  }
  if (!IsAccountText(account)) return kInvalid;
  if (row->run == nullptr) return RunRecipe(row->recipe, account, bankCode);
  return row->run(Call{account, bankCode, row->recipe});
}

int ComputeSubMethod(std::string_view account, std::string_view key) {
  return ComputeMethod(account, key, {});
}

std::span<const std::string_view> Keys() { return kAllKeys; }

}  // namespace tavrel::engine
