// MOD 97-10 on the words of an electronic form, for the check path.
#pragma once

#include <cstdint>

#include "registry.h"
#include "words.h"

namespace tavrel::iban {

// The check digits' value, 0 to 99, of an IBAN whose check digits are digits.
inline unsigned CheckDigitValue(const Words& words) {
  const auto digit = [&](int byte) {
    return static_cast<unsigned>((words[0] >> (8 * byte)) & 0xFF) - '0';
  };
  return digit(2) * 10 + digit(3);
}

// The remainder of Mod97Generic (notation.h) for an IBAN with letters in its
// BBAN, read a character at a time.
unsigned Mod97WithLetters(const Words& words, std::size_t length);

// The remainder of Mod97Generic for an IBAN of the layout's country, length and
// structure, read from its words. A BBAN of digits is read as four pieces of
// eight digits, each beginning four bytes into a word; the padding's zeros add
// nothing. Each term is below 10^8 * 97, so their sum fits easily.
inline unsigned Mod97(const Words& words, const Layout& layout, bool bbanHasLetters) {
  if (bbanHasLetters) return Mod97WithLetters(words, layout.length);
  std::uint64_t sum = layout.countryTerm + CheckDigitValue(words);
  for (std::size_t j = 0; j < kMostPieces; ++j) {
    const std::uint64_t piece = (words[j] >> 32) | (words[j + 1] << 32);
    sum += EightDigitValue(piece) * layout.pieceWeights[j];
  }
  return static_cast<unsigned>(sum % 97);
}

}  // namespace tavrel::iban
