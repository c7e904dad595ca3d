// The SWIFT notation of the IBAN registry, the ISO 7064 MOD 97-10 remainder, and
// the checks every registry row passes: at compile time for the compiled-in
// table and in the build step that writes its rows, which is why this header
// needs nothing but the standard library and tavrel/ascii.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tavrel/ascii.h"

namespace tavrel::iban {

// The longest IBAN of any country.
inline constexpr std::size_t kLongestStructure = 34;
// Country code and check digits; the BBAN follows.
inline constexpr std::size_t kBbanStart = 4;

constexpr bool IsUpperAsciiLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Whether `c` may stand where the notation's class `itemClass` is required: n a
// digit, a an upper-case letter, c either.
constexpr bool FitsClass(char c, char itemClass) {
  switch (itemClass) {
    case 'n':
      return IsAsciiDigit(c);
    case 'a':
      return IsUpperAsciiLetter(c);
    case 'c':
      return IsAsciiDigit(c) || IsUpperAsciiLetter(c);
    default:
      return false;
  }
}

// The class of every position of the IBANs a structure describes: 'a' for the
// country code, then each item's class repeated by its length.
struct PositionClasses {
  std::array<char, kLongestStructure> classes{};
  std::size_t length = 0;  // 0 for a malformed structure
};

// Reads a structure such as "DE2!n8!n10!n": two letters, then items of a length
// (one or two digits), "!" and a class, the first item "2!n" (the check digits).
// Items without "!" (variable length) and the blank class e do not occur in the
// registry and are refused.
constexpr PositionClasses ParseStructure(std::string_view structure) {
  constexpr PositionClasses kMalformed{};
  if (structure.size() < kBbanStart || !IsUpperAsciiLetter(structure[0]) ||
      !IsUpperAsciiLetter(structure[1]) || structure.substr(2, 3) != "2!n") {
    return kMalformed;
  }
  PositionClasses result;
  result.classes[0] = result.classes[1] = 'a';
  result.length = 2;
  std::size_t at = 2;
  while (at < structure.size()) {
    std::size_t count = 0;
    const std::size_t itemStart = at;
    while (at < structure.size() && IsAsciiDigit(structure[at]) && at - itemStart < 2) {
      count = count * 10 + static_cast<std::size_t>(structure[at++] - '0');
    }
    if (count == 0 || at + 1 >= structure.size() || structure[at] != '!') return kMalformed;
    const char itemClass = structure[at + 1];
    if (itemClass != 'n' && itemClass != 'a' && itemClass != 'c') return kMalformed;
    if (result.length + count > kLongestStructure) return kMalformed;
    for (std::size_t i = 0; i < count; ++i) result.classes[result.length++] = itemClass;
    at += 2;
  }
  return result;
}

// 10^exponent modulo 97 for any exponent: 10^96 leaves 1 (97 is prime), so a
// negative exponent is one of 96 less.
constexpr std::uint64_t PowerOfTen(long exponent) {
  const long reduced = (exponent % 96 + 96) % 96;
  std::uint64_t power = 1;
  for (long i = 0; i < reduced; ++i) power = power * 10 % 97;
  return power;
}

// A letter's value in the checksum: A = 10 ... Z = 35.
constexpr std::uint64_t LetterValue(char letter) {
  return static_cast<std::uint64_t>(letter - 'A' + 10);
}

// The country code's share of the remainder: its letters' two-digit values
// stand for 10^4 and 10^2 before the check digits.
constexpr std::uint64_t CountryTerm(std::string_view code) {
  return (LetterValue(code[0]) * 10000 + LetterValue(code[1]) * 100) % 97;
}

// MOD 97-10 of an IBAN of A-Z and 0-9: the number read from BBAN + country code +
// check digits, each letter as two digits (A = 10 ... Z = 35), modulo 97. The
// remainder is taken every seven characters, so no value passes 97 * 100^7.
constexpr unsigned Mod97Generic(std::string_view iban) {
  std::uint64_t value = 0;
  int pending = 0;
  for (std::size_t k = 0; k < iban.size(); ++k) {
    const char c = iban[(k + kBbanStart) % iban.size()];
    value = IsAsciiDigit(c) ? value * 10 + static_cast<std::uint64_t>(c - '0')
                            : value * 100 + LetterValue(c);
    if (++pending == 7) {
      value %= 97;
      pending = 0;
    }
  }
  return static_cast<unsigned>(value % 97);
}

// Why a registry row cannot be used, or empty when it can.
constexpr std::string_view RowFault(std::string_view code, std::size_t length,
                                    std::string_view structure, std::string_view example) {
  if (code.size() != 2 || !IsUpperAsciiLetter(code[0]) || !IsUpperAsciiLetter(code[1])) {
    return "the country code is not two letters A-Z";
  }
  if (structure.substr(0, 2) != code) return "the structure does not begin with the country code";
  const PositionClasses positions = ParseStructure(structure);
  if (positions.length == 0) {
    return "the structure is not in the notation (items like 8!n, the first 2!n)";
  }
  if (positions.length <= kBbanStart) return "the structure has no BBAN";
  if (positions.length != length) return "the structure and the length disagree";
  if (example.size() != length) return "the example is not of the country's length";
  if (example.substr(0, 2) != code) return "the example is of another country";
  for (std::size_t i = 0; i < length; ++i) {
    if (!FitsClass(example[i], positions.classes[i])) return "the example breaks the structure";
  }
  if (Mod97Generic(example) != 1) return "the example fails the mod-97 check";
  return {};
}

}  // namespace tavrel::iban
