// The IBAN commands: check one IBAN, or build one from a bank code and an
// account by the standard conversion. Operands are Windows-1252; each prints to
// standard output and returns the exit status.
#pragma once

#include <string>

#include "tavrel/service.h"

namespace tavrel::cli {

// RESULT<TAB>MESSAGE of the IBAN; for a valid German IBAN followed by
// <TAB>ACCOUNT_RESULT<TAB>ACCOUNT_MESSAGE<TAB>BANKNAME<TAB>BIC (the last two empty
// when the directory has none). The exit status is the worse of the two results.
int RunIban(const std::string& text, const service::CheckSource& source, bool asJson);

// RESULT<TAB>MESSAGE of the account check; for a valid account followed by
// <TAB>IBAN<TAB>PRINT FORM<TAB>NOTE, the note saying that the IBAN is the
// standard conversion's.
int RunIbanFrom(const std::string& bankCode, const std::string& account,
                const service::CheckSource& source, bool asJson);

}  // namespace tavrel::cli
