// IBAN: the International Bank Account Number of ISO 13616. A country code, two
// check digits and the country's own account identifier (BBAN), at most 34
// characters; valid when the number read from BBAN + country + check digits
// (letters as 10 to 35) leaves 1 modulo 97.
//
//   Parse("DE89 3704 0044 0532 0130 00")   valid, electronic form DE89370400440532013000
//   BuildGerman("37040044", "532013000")   DE89370400440532013000
//
// Everything but CheckIban and FromAccount is pure arithmetic on fixed-size
// values: no heap, no directory. Texts are Windows-1252.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::iban {

inline constexpr std::size_t kMaxLength = 34;

namespace detail {
struct Access;
}

// An IBAN in electronic form: at most 34 characters, each A-Z or 0-9, held in
// place. Only this subsystem's functions make one.
class IbanText {
 public:
  constexpr IbanText() = default;

  constexpr std::string_view view() const { return {chars_.data(), size_}; }
  constexpr std::size_t size() const { return size_; }
  constexpr bool empty() const { return size_ == 0; }
  // The parts; shorter or empty when the text is too short to hold them.
  constexpr std::string_view countryCode() const { return view().substr(0, 2); }
  constexpr std::string_view checkDigits() const { return view().substr(size_ < 2 ? size_ : 2, 2); }
  constexpr std::string_view bban() const { return view().substr(size_ < 4 ? size_ : 4); }

  friend constexpr bool operator==(const IbanText& a, const IbanText& b) {
    return a.view() == b.view();
  }

 private:
  friend struct detail::Access;
  // Digits 0 after the last character, to five whole 8-byte words: the checks
  // read the text a word at a time, and the padding reads as digits that no
  // country's layout looks at.
  std::array<char, 40> chars_ = [] {
    std::array<char, 40> padding{};
    padding.fill('0');
    return padding;
  }();
  std::uint8_t size_ = 0;
};

// The print form: groups of four characters separated by one blank.
class PrintedIban {
 public:
  constexpr std::string_view view() const { return {chars_.data(), size_}; }

 private:
  friend struct detail::Access;
  std::array<char, kMaxLength + kMaxLength / 4> chars_{};
  std::uint8_t size_ = 0;
};

// An outcome with the IBAN it concerns in electronic form, empty when Normalize
// refused the text or BuildGerman its input.
struct IbanResult {
  Outcome outcome = Outcome::kIbanFormat;
  IbanText iban;
};

// The electronic form of `text`: blanks, no-break spaces and white space removed
// anywhere, a leading "IBAN" word (any case, followed by a blank) dropped, letters
// upper-cased. Gives kValid when that leaves at most 34 characters A-Z and 0-9,
// kIbanFormat for any other character, else kIbanLength. Tests nothing else.
IbanResult Normalize(std::string_view text);

// Tests an electronic form, in this order, reporting the first fault:
//   1. kIbanLength: fewer than two characters, no country code to go by;
//   2. kIbanCountryUnknown: the first two characters are no registry country;
//   3. kIbanLength: not the country's length (a missing or extra character shifts
//      everything after it, so no structure fault is reported for it);
//   4. kIbanFormat: the country's structure broken (a letter where digits belong,
//      check digits that are not digits);
//   5. kIbanChecksum: check digits outside 02 to 98, or the mod-97 remainder not 1.
// A structure fault is more telling than the checksum it also breaks.
Outcome Validate(const IbanText& iban);

// Normalize, then Validate: faults of Normalize come first.
IbanResult Parse(std::string_view text);

PrintedIban PrintFormat(const IbanText& iban);

// One country of the SWIFT IBAN registry. `structure` is in SWIFT notation, such as
// "DE2!n8!n10!n": the country code, then items of a length, "!" (fixed length) and
// a class: n digits, a upper-case letters, c letters or digits.
struct Country {
  std::string_view code;
  std::uint8_t length;
  std::string_view structure;
  bool sepa;
  std::string_view example;
};

// The registry's country for a two-letter code (upper case), or nullptr.
const Country* FindCountry(std::string_view code);

// Every registry country, ascending by code.
std::span<const Country> Countries();

// Germany: DE, two check digits, the eight-digit bank code, the account
// left-padded with zeros to ten digits.
inline constexpr std::string_view kGermany = "DE";
inline constexpr std::size_t kGermanLength = 22;

// The bank code and account held in a German IBAN.
class GermanAccount {
 public:
  constexpr std::string_view bankCode() const { return {digits_.data(), 8}; }
  // Ten digits, leading zeros kept.
  constexpr std::string_view account() const { return {digits_.data() + 8, 10}; }
  // Without leading zeros, but at least one digit ("0" for an account of zeros).
  constexpr std::string_view accountWithoutLeadingZeros() const {
    return {digits_.data() + 8 + leadingZeros_, std::size_t{10} - leadingZeros_};  // at most nine
  }

 private:
  friend struct detail::Access;
  std::array<char, 18> digits_{};
  std::uint8_t leadingZeros_ = 0;  // of the account, at most nine
};

// The parts of a valid German IBAN; nullopt for any other IBAN or an invalid one.
std::optional<GermanAccount> SplitGerman(const IbanText& iban);

// The German IBAN of a bank code and an account by the standard conversion: BBAN =
// bank code + account left-padded to ten digits, check digits 98 - (BBAN + "131400")
// mod 97, always 02 to 98. Only arithmetic: no trimming, no account check, no
// directory. Malformed input is refused with the account outcomes, bank code
// first: kBankCodeLength (not eight characters), kBankCodeNotDigits,
// kAccountLength (not one to ten characters), kAccountNotDigits.
IbanResult BuildGerman(std::string_view bankCode, std::string_view account);

// Over the account check service.

// What CheckIban found in a valid German IBAN: its parts and the account check.
// A bank that builds IBANs by its own rule may hold a changed account or bank code
// in them, so a failing account check does not make the IBAN invalid: both stand.
struct GermanFindings {
  GermanAccount account;
  Outcome accountOutcome;
};

struct IbanVerdict {
  Outcome iban = Outcome::kIbanFormat;   // Parse's outcome
  IbanText electronic;                   // as in IbanResult
  std::optional<GermanFindings> german;  // only for a valid German IBAN
};

// Parse, and for a valid German IBAN the account check of its bank code and
// account (without leading zeros, as a user would enter it) through the service.
// The account is checked against the 2009 directory by the 2009 rules, or
// against `source`.
IbanVerdict CheckIban(std::string_view text);
IbanVerdict CheckIban(std::string_view text, const service::CheckSource& source);

// How FromAccount built its IBAN. Banks may convert some of their accounts by an
// IBAN rule of their own (another bank code, a mapped account, no IBAN at all);
// those rules are not at hand, so the IBAN is the standard conversion's, which the
// bank should confirm.
enum class Conversion : std::uint8_t {
  kStandard,  // bank code + account left-padded to ten digits
};

struct AccountConversion {
  Outcome account = Outcome::kAccountLength;  // the service's account check
  IbanText iban;                              // empty unless `account` is valid
  Conversion conversion = Conversion::kStandard;
};

// Checks the account through the service (which trims both inputs) and, when it is
// valid, builds its German IBAN by the standard conversion.
AccountConversion FromAccount(std::string_view bankCode, std::string_view account);
AccountConversion FromAccount(std::string_view bankCode, std::string_view account,
                              const service::CheckSource& source);

}  // namespace tavrel::iban
