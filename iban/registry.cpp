// The IBAN registry, compiled in: the rows come from iban_registry.tsv through
// the build step tavrel_embed_iban_registry; everything else, including the
// checks the rows must pass, is computed here at compile time.
#include "internal/registry.h"

#include <array>
#include <cstdint>
#include <iterator>

#include "internal/notation.h"

namespace tavrel::iban {
namespace {

static_assert(kLongestStructure == kMaxLength);

constexpr Country kCountries[] = {
#include "iban_registry_rows.inc"
};

constexpr bool IsWellFormedRegistry() {
  for (std::size_t i = 0; i < std::size(kCountries); ++i) {
    const Country& country = kCountries[i];
    if (!RowFault(country.code, country.length, country.structure, country.example).empty() ||
        (i > 0 && kCountries[i - 1].code >= country.code)) {
      return false;
    }
  }
  return true;
}

static_assert(std::size(kCountries) == kCountryCount, "iban_registry.tsv and kCountryCount differ");
static_assert(IsWellFormedRegistry(), "iban_registry.tsv holds a malformed or unsorted row");

constexpr Layout MakeLayout(const Country& country) {
  const PositionClasses positions = ParseStructure(country.structure);
  Layout layout;
  layout.length = positions.length;
  for (std::size_t i = 0; i < positions.length; ++i) {
    const std::uint64_t bit = std::uint64_t{kLetterBit} << (8 * (i % kWordSize));
    const char itemClass = positions.classes[i];
    if (itemClass != 'c') layout.fixedClass[i / kWordSize] |= bit;
    if (itemClass == 'a') layout.letters[i / kWordSize] |= bit;
    if (i >= kBbanStart) layout.bban[i / kWordSize] |= bit;
  }
  // Piece j holds BBAN digits 8j to 8j + 7; its last digit stands for
  // 10^(bban - 8j - 8) before the six digits of country code and check digits.
  const auto bban = static_cast<long>(positions.length - kBbanStart);
  const std::size_t pieces = (positions.length - kBbanStart + kWordSize - 1) / kWordSize;
  for (std::size_t j = 0; j < pieces; ++j) {
    layout.pieceWeights[j] = PowerOfTen(bban - 8 * static_cast<long>(j) - 8 + 6);
  }
  layout.countryTerm = CountryTerm(country.code);
  return layout;
}

constexpr auto kLayouts = [] {
  std::array<Layout, kCountryCount> layouts{};
  for (std::size_t i = 0; i < kCountryCount; ++i) layouts[i] = MakeLayout(kCountries[i]);
  return layouts;
}();

// Slot of a country code AA to ZZ.
constexpr std::size_t kSlotCount = 26 * 26;
constexpr bool IsCountryCode(std::string_view code) {
  return code.size() == 2 && IsUpperAsciiLetter(code[0]) && IsUpperAsciiLetter(code[1]);
}
constexpr std::size_t SlotOf(std::string_view code) {
  return static_cast<std::size_t>(code[0] - 'A') * 26 + static_cast<std::size_t>(code[1] - 'A');
}

// The row of each slot plus one; 0 for a code the registry does not list.
constexpr auto kRowOfSlot = [] {
  std::array<std::uint8_t, kSlotCount> rows{};
  for (std::size_t i = 0; i < kCountryCount; ++i) {
    rows[SlotOf(kCountries[i].code)] = static_cast<std::uint8_t>(i + 1);
  }
  return rows;
}();

constexpr int RowOf(std::string_view code) {
  return IsCountryCode(code) ? kRowOfSlot[SlotOf(code)] - 1 : -1;
}

// CheckGermanElectronicForm (german.cpp) takes Germany's layout for granted.
static_assert(RowOf("DE") >= 0 &&
              kCountries[static_cast<std::size_t>(RowOf("DE"))].structure == "DE2!n8!n10!n");

}  // namespace

const Country* FindCountry(std::string_view code) {
  const int row = RowOf(code);
  return row < 0 ? nullptr : &kCountries[static_cast<std::size_t>(row)];
}

std::span<const Country> Countries() { return kCountries; }

const Layout* FindLayout(char first, char second) {
  const char code[] = {first, second};
  const int row = RowOf({code, 2});
  return row < 0 ? nullptr : &kLayouts[static_cast<std::size_t>(row)];
}

}  // namespace tavrel::iban
