// Parse into an IbanText the caller holds, so that a caller with a result of
// its own fills it in place rather than copying one just written, which would
// also stall on reading back what was stored a moment before.
#pragma once

#include <string_view>

#include "tavrel/iban.h"

namespace tavrel::iban {

// Parse's outcome; `iban` receives its electronic form.
Outcome ParseInto(std::string_view text, IbanText& iban);

}  // namespace tavrel::iban
