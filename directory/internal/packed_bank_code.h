// A bank code as the hash key of the directory's tables: its eight digits
// packed as eight 4-bit digits (its binary-coded decimal form).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "tavrel/ascii.h"

namespace tavrel::directory {

inline constexpr std::uint32_t kNotABankCode = 0xFFFFFFFF;

constexpr std::uint64_t ReverseBytes(std::uint64_t word) {
  std::uint64_t reversed = 0;
  for (int i = 0; i < 8; ++i, word >>= 8) reversed = (reversed << 8) | (word & 0xFF);
  return reversed;
}

// The packed bank code, or kNotABankCode for anything that is not eight digits.
// The low nibbles of the eight characters are gathered by shifts of one word,
// which cost less than a decimal conversion.
inline std::uint32_t PackedBankCode(std::string_view text) noexcept {
  if (!IsEightDigits(text)) {
    return kNotABankCode;
  }
  std::uint64_t word = 0;
  std::memcpy(&word, text.data(), sizeof word);
  if (std::endian::native != std::endian::little) {
    word = ReverseBytes(word);
  }
  std::uint64_t packed = word & 0x0F0F0F0F0F0F0F0F;
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

}  // namespace tavrel::directory
