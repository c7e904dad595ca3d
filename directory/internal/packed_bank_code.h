// A bank code as the hash key of the directory's tables: its eight digits
// packed as eight 4-bit digits (its binary-coded decimal form).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tavrel/ascii.h"

namespace tavrel::directory {

inline constexpr std::uint32_t kNotABankCode = 0xFFFFFFFF;

// The packed bank code, or kNotABankCode for anything that is not eight digits.
// The low nibbles of the eight characters are gathered by shifts of one word,
// which cost less than a decimal conversion.
inline std::uint32_t PackedBankCode(std::string_view text) noexcept {
  if (!IsEightDigits(text)) {
    return kNotABankCode;
  }
  std::uint64_t packed = LoadLittleEndianWord(text.data()) & 0x0F0F0F0F0F0F0F0F;
  packed = (packed | (packed >> 4)) & 0x00FF00FF00FF00FF;
  packed = (packed | (packed >> 8)) & 0x0000FFFF0000FFFF;
  packed = (packed | (packed >> 16)) & 0x00000000FFFFFFFF;
  return static_cast<std::uint32_t>(packed);
}

// Fibonacci hashing onto a table of 2^slotBits slots: bank codes cluster by
// region, the multiply spreads them.
constexpr std::size_t HomeSlot(std::uint32_t packedCode, unsigned slotBits) noexcept {
  return (packedCode * std::uint32_t{2654435769u}) >> (32 - slotBits);
}

// The hash tables of bank codes probe linearly from a code's home slot. A table
// has kProbeWindow - 1 slots after the last home slot, which probes run into
// before they wrap to the start, so that the first kProbeWindow slots from any
// home lie side by side.
inline constexpr std::size_t kProbeWindow = 4;

// The slot after `index` in a table of `size` slots, wrapping at the end.
constexpr std::size_t NextSlot(std::size_t index, std::size_t size) noexcept {
  return index + 1 == size ? 0 : index + 1;
}

// The slot holding `packed`, or nullptr. A slot is eight bytes, its packed code
// first; a free slot holds kNotABankCode, which no bank code packs to. Nearly
// every code lies within kProbeWindow slots of its home: those four slots are
// compared at once, without a branch on where the code lies, so that a mixed
// batch does not mispredict on the probe length. A longer run is followed one
// slot at a time.
template <typename Slot>
const Slot* FindInSlots(std::span<const Slot> slots, std::size_t home,
                        std::uint32_t packed) noexcept {
  static_assert(sizeof(Slot) == 8 && kProbeWindow == 4);
  const auto keyOf = [](const Slot& slot) {
    std::uint32_t key;
    std::memcpy(&key, &slot, sizeof key);
    return key;
  };
  unsigned match = 0;
  unsigned free = 0;
#if defined(__SSE2__)
  // Keys are the even 32-bit lanes of two 16-byte loads, gathered into one.
  const auto* window = reinterpret_cast<const __m128i*>(slots.data() + home);
  const __m128 keys =
      _mm_shuffle_ps(_mm_castsi128_ps(_mm_loadu_si128(window)),
                     _mm_castsi128_ps(_mm_loadu_si128(window + 1)), _MM_SHUFFLE(2, 0, 2, 0));
  const __m128i lanes = _mm_castps_si128(keys);
  const auto bitsOf = [](__m128i equal) {
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(equal)));
  };
  match = bitsOf(_mm_cmpeq_epi32(lanes, _mm_set1_epi32(static_cast<int>(packed))));
  free = bitsOf(_mm_cmpeq_epi32(lanes, _mm_set1_epi32(static_cast<int>(kNotABankCode))));
#else
  for (std::size_t i = 0; i < kProbeWindow; ++i) {
    const std::uint32_t key = keyOf(slots[home + i]);
    match |= static_cast<unsigned>(key == packed) << i;
    free |= static_cast<unsigned>(key == kNotABankCode) << i;
  }
#endif
  if (match != 0) {
    // Codes are unique, and none lies after a free slot of its run.
    return &slots[home + static_cast<std::size_t>(std::countr_zero(match))];
  }
  if (free != 0) return nullptr;
  for (std::size_t index = NextSlot(home + kProbeWindow - 1, slots.size());;
       index = NextSlot(index, slots.size())) {
    const std::uint32_t key = keyOf(slots[index]);
    if (key == packed) return &slots[index];
    if (key == kNotABankCode) return nullptr;
  }
}

}  // namespace tavrel::directory
