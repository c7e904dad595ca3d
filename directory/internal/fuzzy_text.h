// The spelling the typo-tolerant search compares in, and the edit distance it
// allows. Both sides of a comparison, the short names and the query, are folded
// the same way, so "Müller", "MUELLER" and "mueller" meet as "mueller".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tavrel/ascii.h"

namespace tavrel::directory {

// One bit for each letter and digit of the search spelling, a-z and 0-9.
constexpr std::uint64_t CharacterBit(char c) {
  return std::uint64_t{1} << (IsAsciiDigit(c) ? c - '0' + 26 : c - 'a');
}

// One Windows-1252 byte in the search spelling: A-Z lowered, umlauts and ß
// spelt out (ä as ae, ß as ss), other accented letters as their base letter.
// An empty fold (size 0) is not part of a word: blanks, punctuation, symbols.
struct FoldedByte {
  std::array<char, 2> text{};
  std::uint8_t size = 0;
  std::uint64_t characters = 0;  // the CharacterBit of each character of text
};
FoldedByte FoldForSearch(char c);

// The longest word the typo check compares; longer words and terms are only
// compared exactly, as the start of or inside a word.
inline constexpr std::size_t kLongestComparedWord = 64;

// The fewest edits (insertion, deletion, substitution, swap of neighbours) that
// turn `term` into `word` (whole) and into some start of `word` (prefix), each
// capped at maxEdits + 1, which stands for "more than maxEdits".
struct EditDistances {
  int whole = 0;
  int prefix = 0;
};
EditDistances BoundedEditDistances(std::string_view term, std::string_view word, int maxEdits);

}  // namespace tavrel::directory
