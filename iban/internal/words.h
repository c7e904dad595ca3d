// Word-at-a-time helpers: an IbanText as five 64-bit words, byte-class masks,
// and the value of eight ASCII digits in one word. A word's first character is
// its lowest byte.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "access.h"
#include "tavrel/iban.h"

namespace tavrel::iban {

static_assert(std::endian::native == std::endian::little,
              "word masks and digit values take the first character as the lowest byte");

inline constexpr std::size_t kWordSize = 8;
inline constexpr std::size_t kWordCount = 5;
using Words = std::array<std::uint64_t, kWordCount>;
static_assert(detail::Access::kIbanBytes == kWordCount * kWordSize);

inline constexpr std::uint64_t kEveryByte = 0x0101010101010101;
inline constexpr std::uint64_t kHighBits = kEveryByte * 0x80;
inline constexpr std::uint64_t kAsciiZeros = kEveryByte * '0';
// Among A-Z and 0-9 this bit is clear in digits and set in letters.
inline constexpr std::uint8_t kLetterBit = 0x40;

inline std::uint64_t LoadWord(const char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

inline Words LoadWords(const IbanText& iban) {
  Words words;
  std::memcpy(words.data(), detail::Access::Bytes(iban), sizeof words);
  return words;
}

// The high bit of each byte of `word` between `low` and `high` (both below 0x80).
// Each byte is summed apart from its high bit, so no carry crosses bytes, and a
// byte with its high bit set never counts.
constexpr std::uint64_t BytesInRange(std::uint64_t word, std::uint8_t low, std::uint8_t high) {
  const std::uint64_t seven = word & ~kHighBits;
  const std::uint64_t atLeastLow = seven + (0x80 - low) * kEveryByte;
  const std::uint64_t aboveHigh = seven + (0x7F - high) * kEveryByte;
  return atLeastLow & ~aboveHigh & ~word & kHighBits;
}

// Word `k` of `text` (eight to 34 characters) as an IbanText holds it, digits 0
// after the end. It is read from inside the text, at most eight characters
// before the word, and shifted into place; nothing past the text is read, and
// no branch depends on the length.
inline std::uint64_t ElectronicWord(std::string_view text, std::size_t k) {
  const std::size_t start = k * kWordSize;
  const std::size_t inside = text.size() > start ? text.size() - start : 0;
  const std::size_t count = inside < kWordSize ? inside : kWordSize;
  const std::size_t offset = start < text.size() - kWordSize ? start : text.size() - kWordSize;
  const std::uint64_t word = LoadWord(text.data() + offset) >> ((8 * (start - offset)) & 63);
  const std::uint64_t kept = count == kWordSize ? ~std::uint64_t{0} : (1ULL << (8 * count)) - 1;
  return (word & kept) | (kAsciiZeros & ~kept);
}

// Whether `text` is an electronic form of eight to 34 characters A-Z and 0-9;
// if so, `words` holds it as an IbanText does.
inline bool ReadElectronicWords(std::string_view text, Words& words) {
  if (text.size() < kWordSize || text.size() > kMaxLength) return false;
  std::uint64_t kept = kHighBits;
  for (std::size_t k = 0; k < kWordCount; ++k) {
    words[k] = ElectronicWord(text, k);
    kept &= BytesInRange(words[k], '0', '9') | BytesInRange(words[k], 'A', 'Z');
  }
  return kept == kHighBits;
}

// The number written by the eight ASCII digits of `word`: pairs, then quads, then
// the whole, each step one multiplication.
constexpr std::uint64_t EightDigitValue(std::uint64_t word) {
  word -= kAsciiZeros;
  word = word * 10 + (word >> 8);
  return ((word & 0x000000FF000000FF) * (100 + (1000000ULL << 32)) +
          ((word >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32))) >>
         32;
}

}  // namespace tavrel::iban
