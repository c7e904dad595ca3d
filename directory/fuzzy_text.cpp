#include "internal/fuzzy_text.h"

#include <algorithm>

namespace tavrel::directory {
namespace {

// The search spelling of 0xC0-0xFF, À to ÿ; empty for × and ÷.
constexpr std::string_view kLatin1Letters[64] = {
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "ss",
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "y",
};

// The letters Windows-1252 puts in 0x80-0x9F: ƒ Š Œ Ž š œ ž Ÿ.
struct ExtraLetter {
  unsigned char byte;
  std::string_view text;
};
constexpr ExtraLetter kWindowsLetters[] = {
    {0x83, "f"}, {0x8A, "s"},  {0x8C, "oe"}, {0x8E, "z"},
    {0x9A, "s"}, {0x9C, "oe"}, {0x9E, "z"},  {0x9F, "y"},
};

constexpr FoldedByte Folded(std::string_view text) {
  FoldedByte folded;
  for (std::size_t i = 0; i < text.size(); ++i) folded.text[i] = text[i];
  folded.size = static_cast<std::uint8_t>(text.size());
  for (const char c : text) folded.characters |= CharacterBit(c);
  return folded;
}

constexpr std::array<FoldedByte, 256> MakeFoldTable() {
  std::array<FoldedByte, 256> table{};
  for (int byte = 0; byte < 0x80; ++byte) {
    const char c = FoldAsciiCase(static_cast<char>(byte));
    if (IsAsciiDigit(c) || (c >= 'a' && c <= 'z')) table[byte] = Folded(std::string_view(&c, 1));
  }
  for (const ExtraLetter& letter : kWindowsLetters) table[letter.byte] = Folded(letter.text);
  for (int byte = 0xC0; byte <= 0xFF; ++byte) table[byte] = Folded(kLatin1Letters[byte - 0xC0]);
  return table;
}

constexpr std::array<FoldedByte, 256> kFoldTable = MakeFoldTable();

// One row of the edit-distance table: row i holds the distances from the first
// i characters of the term to each start of the word.
using Row = std::array<std::uint8_t, kLongestComparedWord + 2>;

}  // namespace

FoldedByte FoldForSearch(char c) { return kFoldTable[static_cast<unsigned char>(c)]; }

// Optimal string alignment over the band |i - j| <= maxEdits, the only cells
// that can stay within the cap; the cells beside the band hold the cap, so the
// band never reads a stale value. Stops as soon as a whole row is over the cap.
EditDistances BoundedEditDistances(std::string_view term, std::string_view word, int maxEdits) {
  const int cap = maxEdits + 1;
  const int m = static_cast<int>(term.size());
  const int n = static_cast<int>(word.size());
  const EditDistances none{cap, cap};
  if (m > n + maxEdits || n > static_cast<int>(kLongestComparedWord)) return none;
  const auto capped = [cap](int value) { return static_cast<std::uint8_t>(std::min(value, cap)); };
  Row rows[3];
  Row* before = &rows[0];  // row i - 2
  Row* above = &rows[1];   // row i - 1
  Row* row = &rows[2];     // row i
  for (int j = 0; j <= std::min(n, cap); ++j) (*above)[j] = capped(j);
  for (int i = 1; i <= m; ++i) {
    const int low = std::max(1, i - maxEdits);
    const int high = std::min(n, i + maxEdits);
    (*row)[low - 1] = low == 1 ? capped(i) : capped(cap);
    int rowMinimum = (*row)[low - 1];
    for (int j = low; j <= high; ++j) {
      const bool same = term[i - 1] == word[j - 1];
      int value = std::min({(*above)[j - 1] + (same ? 0 : 1), (*above)[j] + 1, (*row)[j - 1] + 1});
      if (i > 1 && j > 1 && term[i - 1] == word[j - 2] && term[i - 2] == word[j - 1]) {
        value = std::min(value, (*before)[j - 2] + 1);
      }
      (*row)[j] = capped(value);
      rowMinimum = std::min(rowMinimum, value);
    }
    if (high < n) (*row)[high + 1] = capped(cap);
    if (rowMinimum >= cap) return none;
    std::swap(before, above);
    std::swap(above, row);
  }
  EditDistances distances = none;
  if (n - m <= maxEdits) distances.whole = (*above)[n];
  for (int j = std::max(0, m - maxEdits); j <= std::min(n, m + maxEdits); ++j) {
    distances.prefix = std::min<int>(distances.prefix, (*above)[j]);
  }
  return distances;
}

}  // namespace tavrel::directory
