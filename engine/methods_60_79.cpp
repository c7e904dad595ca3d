#include "internal/methods_60_79.h"

#include <string_view>

#include "internal/methods_30_59.h"
#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

// Methods 61 and 65 share their arithmetic and differ only in the digit at
// position 9 that marks an account whose positions 9 and 10 are weighted too.

// Method 61: position 9 is 8: "61Art8", otherwise "61Standard".
int Method61(const Call& call) { return RunByPosition(call, 9, "8", "61Art8", "61Standard"); }

// Method 65: position 9 is 9: "65Art9", otherwise "65Standard".
int Method65(const Call& call) { return RunByPosition(call, 9, "9", "65Art9", "65Standard"); }

// Method 63: a ten-digit account is invalid. An account whose positions 2 and 3
// are 0 is moved two places left; a failed try is repeated two places further left
// while the account still fits ten digits.
int Method63(const Call& call) {
  const std::string_view account = call.account;
  if (DigitAtPosition(account, 1) != '0') {
    return Decided(call, kInvalid, "ten significant digits: invalid");
  }
  const bool shortAccount =
      DigitAtPosition(account, 2) == '0' && DigitAtPosition(account, 3) == '0';
  // A ten-digit form has no room to move: only short accounts are retried.
  if (!shortAccount) return RunRecipe(call, account);
  Because(call, "positions 2 and 3 are 0");
  return RunRecipeWithRetry(call, StripLeadingZeros(account), 2, 4);
}

// Method 66: a ten-digit account is invalid.
int Method66(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (!ten.PositionIs(1, '0')) return Decided(call, kInvalid, "ten significant digits: invalid");
  return RunRecipe(call, ten);
}

// Method 66, current rules: accounts with 9 at position 2 carry no check digit
// (method 09). This comes first, so it holds for ten-digit accounts too.
int Method66Current(const Call& call) {
  if (PadToTen(call.account).PositionIs(2, '9')) {
    return Decided(call, kValidWithoutCheck, "position 2 is 9: no check digit");
  }
  return Method66(call);
}

// Method 68: nine-digit accounts beginning with 4 carry no check digit; other
// short accounts try both variants. A ten-digit account needs 9 at position 4.
int Method68(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '0')) {
    if (ten.PositionIs(2, '4')) {
      return Decided(call, kValidWithoutCheck, "nine digits beginning with 4: no check digit");
    }
    Because(call, "fewer than ten digits");
    return RunSequence(call, ten, {"68Variante1", "68Variante2"});
  }
  if (!ten.PositionIs(4, '9')) {
    return Decided(call, kInvalid, "ten digits without 9 at position 4: invalid");
  }
  Because(call, "ten digits with 9 at position 4");
  return RunKey(call, ten, "68stell10");
}

// Method 69: accounts beginning with 93 carry no check digit and are valid;
// accounts beginning with 97 are checked by the second variant alone.
int Method69(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool nineFirst = ten.PositionIs(1, '9');
  if (nineFirst && ten.PositionIs(2, '3')) {
    return Decided(call, kValid, "begins with 93: no check digit");
  }
  if (nineFirst && ten.PositionIs(2, '7')) {
    Because(call, "begins with 97: the second variant alone");
    return RunKey(call, ten, "69Variante2");
  }
  return RunSequence(call, ten, {"69Variante1", "69Variante2"});
}

// Method 70: position 4 is 5, or positions 4 and 5 are 69: only positions 4 to 9
// count, weights 2 to 7 (method 32); otherwise method 06.
int Method70(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool fromPosition4 =
      ten.PositionIs(4, '5') || (ten.PositionIs(4, '6') && ten.PositionIs(5, '9'));
  Because(call, fromPosition4 ? "position 4 is 5, or positions 4 and 5 are 69"
                              : "position 4 is not 5, and positions 4 and 5 are not 69");
  return RunKey(call, ten, fromPosition4 ? MethodKey("32") : MethodKey("06"));
}

// Method 73: position 3 is 9 (a ledger account): the two exception keys of
// method 51; otherwise the three variants.
int Method73(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9')) {
    Because(call, "position 3 is 9: a ledger account");
    return RunLedgerAccountChecks(call, ten);
  }
  return RunSequence(call, ten, {"73Variante1", "73Variante2", "73Variante3"});
}

// Method 74, current rules: the 2009 method first, then method 04.
int Method74Current(const Call& call) {
  return RunSequence(call, call.account, {"74Variante1", "74Variante2"});
}

// Method 75: the number of significant digits picks the variant; six, seven and
// nine digits have one, every other length is invalid. Nine-digit accounts
// beginning with 9 carry their check digit one place further right.
int Method75(const Call& call) {
  switch (SignificantLength(call.account)) {
    case 6:
    case 7:
      Because(call, "six or seven significant digits");
      return RunKey(call, call.account, "75stellen6_7");
    case 9: {
      const bool nineFirst = PadToTen(call.account).PositionIs(2, '9');
      Because(call, nineFirst ? "nine significant digits beginning with 9"
                              : "nine significant digits not beginning with 9");
      return RunKey(call, call.account,
                    nineFirst ? MethodKey("75stellen9a") : MethodKey("75stellen9b"));
    }
    default:
      return Decided(call, kInvalid, "not six, seven or nine significant digits: invalid");
  }
}

// Method 76: a failed account is tried again moved two places left (its
// significant digits followed by "00") when that still fits ten digits.
int Method76(const Call& call) {
  return RunRecipeWithRetry(call, StripLeadingZeros(call.account), 0, 2);
}

// Method 77: positions 6 to 10 under the first weights, then the second.
int Method77(const Call& call) {
  return RunSequence(call, call.account, {"77Variante1", "77Variante2"});
}

// Method 78: eight-digit accounts carry no check digit.
int Method78(const Call& call) {
  if (SignificantLength(call.account) == 8) {
    return Decided(call, kValidWithoutCheck, "eight significant digits: no check digit");
  }
  return RunRecipe(call, call.account);
}

// Method 79: position 1 chooses. 0 is invalid; 1, 2 and 9 put the check digit at
// position 9 (position 10 is not checked); 3 to 8 take method 00.
int Method79(const Call& call) {
  if (PadToTen(call.account).PositionIs(1, '0')) {
    return Decided(call, kInvalid, "position 1 is 0: invalid");
  }
  return RunByPosition(call, 1, "129", "79Variante2", "79Variante1");
}

}  // namespace tavrel::engine
