// Forgiving input at the command line's edge: what an argument means is made
// plain where that is unambiguous, before it becomes Windows-1252.
//
// - Decimal digits of any script (fullwidth "１２３", Arabic-Indic "١٢٣", ...)
//   become ASCII digits in bank codes, accounts, IBANs and search text.
// - A bank code written in groups of digits split by blanks ("370 400 44")
//   is read without the blanks when the groups make eight digits.
// - In search text a letter followed by a combining accent (a + U+0308) becomes
//   the one precomposed letter (ä).
//
// Everything else is left to the check, which names the field's fault, or
// refused here when it has no Windows-1252 form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::cli {

enum class ArgumentKind { kAsGiven, kBankCode, kAccount, kIban, kSearchText };

struct ReadArgument {
  std::optional<std::string> cp1252;  // the argument in Windows-1252
  std::string fault;                  // otherwise what is wrong with it
};

// Reads one UTF-8 argument of `kind` into Windows-1252; `kAsGiven` only converts.
ReadArgument ReadForgiving(std::string_view utf8, ArgumentKind kind);

// The UTF-8 text with every decimal digit of another script made ASCII.
std::string AsciiDigits(std::string_view utf8);
// The UTF-8 text with letters and their combining accents composed.
std::string ComposeAccents(std::string_view utf8);

}  // namespace tavrel::cli
