// The character tests that every edge and the core share: decimal digits, the
// bank code's form, and ASCII case folding. Bytes above 0x7F are never digits
// or letters here, whatever the code page.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace tavrel {

inline constexpr std::size_t kBankCodeLength = 8;

constexpr bool IsAsciiDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// A..Z onto a..z; every other character unchanged.
template <typename Char>
constexpr Char FoldAsciiCase(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<Char> a,
                                      std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualIgnoringAsciiCase<char>(a, b);
}

// The eight bytes at `bytes` as one word whose lowest byte is the first, on
// any machine: how the check path reads eight characters or digits at once.
inline std::uint64_t LoadLittleEndianWord(const void* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native != std::endian::little) {
    std::uint64_t reversed = 0;
    for (int i = 0; i < 8; ++i, word >>= 8) reversed = (reversed << 8) | (word & 0xFF);
    word = reversed;
  }
  return word;
}

// Whether `text` is exactly eight decimal digits, the form of every bank code.
// At run time the eight characters are tested as one word, for the check path:
// a byte below '0' sets its high bit when '0' is subtracted, a byte above '9'
// when 0x76 is then added; digits set neither, and borrow or carry into the
// next byte only come from a byte that is already caught.
constexpr bool IsEightDigits(std::string_view text) {
  if (text.size() != kBankCodeLength) return false;
  if (std::is_constant_evaluated()) {
    for (char c : text) {
      if (!IsAsciiDigit(c)) return false;
    }
    return true;
  }
  std::uint64_t word = 0;
  std::memcpy(&word, text.data(), sizeof word);
  const std::uint64_t offsets = word - 0x3030303030303030;
  return ((offsets | (offsets + 0x7676767676767676)) & 0x8080808080808080) == 0;
}

}  // namespace tavrel
