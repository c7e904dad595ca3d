// Normalisation runs first in every IBAN check. The usual input is an electronic
// form already: it is recognised a word at a time and copied whole. Anything
// else (blanks, lower case, the "IBAN" word, faults) goes through a byte table.
#include <algorithm>
#include <array>

#include "internal/access.h"
#include "internal/notation.h"
#include "internal/words.h"
#include "tavrel/ascii.h"
#include "tavrel/iban.h"

namespace tavrel::iban {
namespace {

// What a byte of the input becomes: dropped, a fault, or the character kept.
constexpr unsigned char kDropped = 0;
constexpr unsigned char kFault = 1;

// Blank, the six white-space characters, and the no-break space of Windows-1252,
// which texts copied from documents often carry between the groups.
constexpr bool IsSeparator(unsigned char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r' || byte == 0xA0;
}

constexpr auto kKeptAs = [] {
  std::array<unsigned char, 256> kept{};
  for (std::size_t byte = 0; byte < kept.size(); ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    if (IsSeparator(c)) {
      kept[byte] = kDropped;
    } else if (IsAsciiDigit(static_cast<char>(c)) || IsUpperAsciiLetter(static_cast<char>(c))) {
      kept[byte] = c;
    } else if (c >= 'a' && c <= 'z') {
      kept[byte] = static_cast<unsigned char>(c - 'a' + 'A');
    } else {
      kept[byte] = kFault;
    }
  }
  return kept;
}();

// `text` without leading separators and an "IBAN" word (any case) that a
// separator follows.
std::string_view WithoutIbanWord(std::string_view text) {
  constexpr std::string_view kWord = "IBAN";
  const auto first = std::find_if_not(
      text.begin(), text.end(), [](char c) { return IsSeparator(static_cast<unsigned char>(c)); });
  text.remove_prefix(static_cast<std::size_t>(first - text.begin()));
  if (text.size() > kWord.size() && EqualIgnoringAsciiCase(text.substr(0, kWord.size()), kWord) &&
      IsSeparator(static_cast<unsigned char>(text[kWord.size()]))) {
    text.remove_prefix(kWord.size());
  }
  return text;
}

IbanResult NormalizeByteWise(std::string_view text) {
  std::array<char, kMaxLength> kept{};
  std::size_t count = 0;
  for (const char c : WithoutIbanWord(text)) {
    const unsigned char keptAs = kKeptAs[static_cast<unsigned char>(c)];
    if (keptAs == kFault) return {Outcome::kIbanFormat, {}};
    if (keptAs == kDropped) continue;
    if (count < kMaxLength) kept[count] = static_cast<char>(keptAs);
    ++count;
  }
  if (count > kMaxLength) return {Outcome::kIbanLength, {}};
  return {Outcome::kValid, detail::Access::Make<IbanText>({kept.data(), count})};
}

}  // namespace

IbanResult Normalize(std::string_view text) {
  Words words;
  if (ReadElectronicWords(text, words)) {
    IbanResult result{Outcome::kValid, {}};
    detail::Access::AssignWords(result.iban, words, text.size());
    return result;
  }
  return NormalizeByteWise(text);
}

PrintedIban PrintFormat(const IbanText& iban) {
  constexpr std::size_t kGroup = 4;
  std::array<char, kMaxLength + kMaxLength / kGroup> printed{};
  std::size_t size = 0;
  for (std::size_t i = 0; i < iban.size(); ++i) {
    if (i > 0 && i % kGroup == 0) printed[size++] = ' ';
    printed[size++] = iban.view()[i];
  }
  return detail::Access::Make<PrintedIban>({printed.data(), size});
}

}  // namespace tavrel::iban
