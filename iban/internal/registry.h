// The compiled-in IBAN registry as the checks use it: each country's structure
// turned at compile time into masks over the words of an IbanText, and the
// weights that give its checksum from eight-digit pieces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tavrel/iban.h"
#include "words.h"

namespace tavrel::iban {

inline constexpr std::size_t kCountryCount = 89;
// Eight-digit pieces of the longest BBAN, 30 characters.
inline constexpr std::size_t kMostPieces = 4;

struct Layout {
  // kLetterBit in each position of a class. With only A-Z and 0-9 in the text,
  // a position of class n or a holds the wrong kind exactly when its letter bit
  // differs from `letters`.
  Words fixedClass{};  // positions of class n or a
  Words letters{};     // positions of class a
  Words bban{};        // every BBAN position
  std::size_t length = 0;
  // A BBAN of digits is read as pieces of eight from its start, the last one
  // filled up by the padding's zeros. The remainder is the sum of each piece
  // times its weight (the power of ten of its place, modulo 97), the country
  // code's term and the check digits.
  std::array<std::uint64_t, kMostPieces> pieceWeights{};
  std::uint64_t countryTerm = 0;
};

// The layout of the registry country with this code, or nullptr.
const Layout* FindLayout(char first, char second);

}  // namespace tavrel::iban
