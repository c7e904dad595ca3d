// The IBAN check: country, length, structure, then the checksum. The structure
// is tested on whole words: among A-Z and 0-9 one bit tells a letter from a
// digit, and each country's layout says where that bit must be set or clear.
#include <cstdint>
#include <optional>

#include "internal/checksum.h"
#include "internal/german.h"
#include "internal/parse.h"
#include "internal/registry.h"
#include "internal/words.h"
#include "tavrel/iban.h"

namespace tavrel::iban {

namespace {

// Validate for an IBAN of at least two characters, held in words.
Outcome ValidateWords(const Words& words, std::size_t size) {
  const Layout* layout =
      FindLayout(static_cast<char>(words[0] & 0xFF), static_cast<char>((words[0] >> 8) & 0xFF));
  if (layout == nullptr) return Outcome::kIbanCountryUnknown;
  if (size != layout->length) return Outcome::kIbanLength;
  std::uint64_t misplaced = 0;
  std::uint64_t bbanLetters = 0;
  for (std::size_t i = 0; i < kWordCount; ++i) {
    misplaced |= (words[i] & layout->fixedClass[i]) ^ layout->letters[i];
    bbanLetters |= words[i] & layout->bban[i];
  }
  if (misplaced != 0) return Outcome::kIbanFormat;
  // The standard check digits are 98 minus a remainder, so 00, 01 and 99 never
  // occur, although 00 and 97, 01 and 98, 02 and 99 leave the same remainder.
  const unsigned checkDigits = CheckDigitValue(words);
  if (checkDigits < 2 || checkDigits > 98) return Outcome::kIbanChecksum;
  return Mod97(words, *layout, bbanLetters != 0) == 1 ? Outcome::kValid : Outcome::kIbanChecksum;
}

}  // namespace

Outcome Validate(const IbanText& iban) {
  if (iban.size() < 2) return Outcome::kIbanLength;
  return ValidateWords(LoadWords(iban), iban.size());
}

// The usual input, a German IBAN in electronic form, is checked directly; any
// other electronic form from the words it was read into; anything else is
// normalised first.
Outcome ParseInto(std::string_view text, IbanText& iban) {
  if (const std::optional<Outcome> german = CheckGermanElectronicForm(text)) {
    detail::Access::AssignOfSize<kGermanLength>(iban, text.data());
    return *german;
  }
  Words words;
  if (ReadElectronicWords(text, words)) {
    detail::Access::AssignWords(iban, words, text.size());
    return ValidateWords(words, text.size());
  }
  const IbanResult normalized = Normalize(text);
  iban = normalized.iban;
  return normalized.outcome == Outcome::kValid ? Validate(iban) : normalized.outcome;
}

IbanResult Parse(std::string_view text) {
  IbanResult result;
  result.outcome = ParseInto(text, result.iban);
  return result;
}

}  // namespace tavrel::iban
