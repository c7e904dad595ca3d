// MOD 97-10 for a BBAN with letters, which each stand for two digits: the
// character-by-character remainder of notation.h.
#include "internal/checksum.h"

#include <array>
#include <cstring>

#include "internal/notation.h"

namespace tavrel::iban {

unsigned Mod97WithLetters(const Words& words, std::size_t length) {
  std::array<char, sizeof words> chars;
  std::memcpy(chars.data(), words.data(), chars.size());
  return Mod97Generic({chars.data(), length});
}

}  // namespace tavrel::iban
