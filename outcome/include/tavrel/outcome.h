// The outcome table: every result a check can give, with its number, a stable
// English code for machines, the German message for people, the input field it
// concerns and the command line's exit status. Every face reads this table;
// nobody keeps a second list.
//
// Messages are Windows-1252, like every string inside the system.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrel {

enum class Outcome : std::int8_t {
  kValid = 0,                 // the check digit is correct
  kValidWithoutCheck = 1,     // the method has no check digit to test; accepted
  kMethodNotFound = -2,       // no method for this code or key
  kInvalidCheckDigit = -3,    // wrong check digit, a broken rule, or an account of zeros
  kBankCodeLength = -5,       // the bank code is not eight characters
  kBankCodeNotDigits = -6,    // the bank code holds a character other than a digit
  kAccountLength = -7,        // the account is empty or longer than ten characters
  kAccountNotDigits = -8,     // the account holds a character other than a digit
  kBankCodeUnknown = -9,      // the bank code is not in the directory
  kIbanFormat = -10,          // a character an IBAN cannot hold, or the country's structure broken
  kIbanCountryUnknown = -11,  // no such country in the IBAN registry
  kIbanLength = -12,          // not the country's IBAN length
  kIbanChecksum = -13,        // the mod-97 check fails
};

// The input an outcome concerns: the control draws its message on that row.
enum class Field : std::uint8_t { kNone, kBankCode, kAccount, kIban };

// The field's stable English name: "bank_code", "account", "iban", or "" for none.
constexpr std::string_view FieldName(Field field) {
  switch (field) {
    case Field::kBankCode:
      return "bank_code";
    case Field::kAccount:
      return "account";
    case Field::kIban:
      return "iban";
    case Field::kNone:
      break;
  }
  return "";
}

struct OutcomeInfo {
  Outcome outcome;
  std::string_view code;     // stable English code: "valid", "bank_code_unknown", ...
  std::string_view message;  // German, Windows-1252
  Field field;
  int exitStatus;            // 0 valid, 1 invalid, 2 input fault, 3 method not found
  std::string_view meaning;  // English, for help texts
};

inline constexpr int kExitValid = 0;
inline constexpr int kExitInvalid = 1;
inline constexpr int kExitInputFault = 2;
inline constexpr int kExitMethodNotFound = 3;

// "\xFC" "f" is split because \xFCf would read as one hex escape.
inline constexpr std::array<OutcomeInfo, 13> kOutcomes{{
    {Outcome::kValid, "valid", "g\xFCltig", Field::kNone, kExitValid, "valid"},
    {Outcome::kValidWithoutCheck, "valid_without_check",
     "g\xFCltig (ohne Pr\xFC"
     "fung)",
     Field::kNone, kExitValid, "valid without check: the method has no check digit to test"},
    {Outcome::kMethodNotFound, "method_not_found",
     "Pr\xFC"
     "fverfahren nicht gefunden!",
     Field::kAccount, kExitMethodNotFound, "the check method is unknown"},
    {Outcome::kInvalidCheckDigit, "invalid_check_digit",
     "Pr\xFC"
     "fziffer ung\xFCltig!",
     Field::kAccount, kExitInvalid, "invalid: wrong check digit, or an account of zeros only"},
    {Outcome::kBankCodeLength, "bank_code_length", "BLZ nicht achtstellig!", Field::kBankCode,
     kExitInputFault, "bank code not eight characters"},
    {Outcome::kBankCodeNotDigits, "bank_code_not_digits", "BLZ enth\xE4lt ung\xFCltige Zeichen!",
     Field::kBankCode, kExitInputFault, "bank code holds a non-digit"},
    {Outcome::kAccountLength, "account_length", "Konto hat falsche L\xE4nge!", Field::kAccount,
     kExitInputFault, "account empty or over ten digits"},
    {Outcome::kAccountNotDigits, "account_not_digits", "Konto enth\xE4lt ung\xFCltige Zeichen!",
     Field::kAccount, kExitInputFault, "account holds a non-digit"},
    {Outcome::kBankCodeUnknown, "bank_code_unknown", "BLZ ung\xFCltig!", Field::kBankCode,
     kExitInputFault, "bank code not in the directory"},
    {Outcome::kIbanFormat, "iban_format", "IBAN hat ein ung\xFCltiges Format!", Field::kIban,
     kExitInputFault, "IBAN with a character or structure its country does not allow"},
    {Outcome::kIbanCountryUnknown, "iban_country_unknown", "IBAN-L\xE4nderkennzeichen unbekannt!",
     Field::kIban, kExitInputFault, "IBAN country code not in the IBAN registry"},
    {Outcome::kIbanLength, "iban_length", "IBAN hat falsche L\xE4nge!", Field::kIban,
     kExitInputFault, "IBAN not of its country's length"},
    {Outcome::kIbanChecksum, "iban_checksum",
     "IBAN-Pr\xFC"
     "fsumme ung\xFCltig!",
     Field::kIban, kExitInvalid, "IBAN check digits wrong (mod 97)"},
}};

constexpr int ValueOf(Outcome outcome) { return static_cast<int>(outcome); }

constexpr bool IsValid(Outcome outcome) {
  return outcome == Outcome::kValid || outcome == Outcome::kValidWithoutCheck;
}

namespace outcome_detail {

// The row of each value from the lowest on, -1 where a value is no outcome: a
// batch asks for an outcome's row once an item.
inline constexpr int kLowestValue = [] {
  int lowest = 0;
  for (const OutcomeInfo& info : kOutcomes) lowest = std::min(lowest, ValueOf(info.outcome));
  return lowest;
}();
inline constexpr auto kRowOfValue = [] {
  std::array<std::int8_t, 32> rows{};
  rows.fill(-1);
  for (std::size_t i = 0; i < kOutcomes.size(); ++i) {
    rows.at(static_cast<std::size_t>(ValueOf(kOutcomes[i].outcome) - kLowestValue)) =
        static_cast<std::int8_t>(i);
  }
  return rows;
}();

}  // namespace outcome_detail

// The table's row for a value, or nullptr for a value that is no outcome (-4,
// -99, anything outside the table).
constexpr const OutcomeInfo* FindOutcome(int value) {
  // Unsigned arithmetic: INT_MAX minus the lowest value would overflow an int.
  const auto at = static_cast<std::size_t>(static_cast<unsigned>(value) -
                                           static_cast<unsigned>(outcome_detail::kLowestValue));
  if (at >= outcome_detail::kRowOfValue.size() || outcome_detail::kRowOfValue[at] < 0) {
    return nullptr;
  }
  return &kOutcomes[static_cast<std::size_t>(outcome_detail::kRowOfValue[at])];
}

constexpr const OutcomeInfo& InfoOf(Outcome outcome) { return *FindOutcome(ValueOf(outcome)); }

constexpr std::optional<Outcome> OutcomeOfValue(int value) {
  const OutcomeInfo* info = FindOutcome(value);
  return info == nullptr ? std::nullopt : std::optional<Outcome>(info->outcome);
}

constexpr std::optional<Outcome> OutcomeOfCode(std::string_view code) {
  for (const OutcomeInfo& info : kOutcomes) {
    if (info.code == code) return info.outcome;
  }
  return std::nullopt;
}

namespace outcome_detail {
constexpr bool EveryOutcomeOnce() {
  for (std::size_t i = 0; i < kOutcomes.size(); ++i) {
    for (std::size_t j = i + 1; j < kOutcomes.size(); ++j) {
      if (kOutcomes[i].outcome == kOutcomes[j].outcome || kOutcomes[i].code == kOutcomes[j].code) {
        return false;
      }
    }
  }
  return true;
}
static_assert(EveryOutcomeOnce(), "each outcome and each code once");
}  // namespace outcome_detail

}  // namespace tavrel
