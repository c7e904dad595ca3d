// German IBANs on the check path: the usual input checked directly, and the
// parts of a valid one.
#pragma once

#include <optional>
#include <string_view>

#include "tavrel/iban.h"

namespace tavrel::iban {

// Validate's outcome for a text that is a German IBAN in electronic form as it is
// usually handed in (22 characters: "DE" and twenty digits), which can only be
// kValid or kIbanChecksum; nullopt for any other text.
std::optional<Outcome> CheckGermanElectronicForm(std::string_view text);

// Fills `account` with the bank code and account of the 22 characters of a
// valid German IBAN.
void ReadGermanAccount(const char* iban, GermanAccount& account);

}  // namespace tavrel::iban
