#include "internal/methods_00_29.h"

#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

// Method 08, current rules: accounts below 60000 carry no check digit; the
// others follow method 00.
int Method08Current(const Call& call) {
  if (AccountNumber(call.account) < 60000) {
    return Decided(call, kValidWithoutCheck, "below 60000: no check digit");
  }
  return RunRecipe(call, call.account);
}

// Method 13: a failed first attempt is retried with the account moved two places
// to the left ("00" appended), unless that would make it longer than ten.
int Method13(const Call& call) { return RunRecipeWithRetry(call, call.account, 0, 2); }

// Method 26: an account whose positions 1 and 2 are zero is moved two places to
// the left before the check digit at position 8 is tested.
int Method26(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '0') && ten.PositionIs(2, '0')) {
    Because(call, "positions 1 and 2 are 0: moved two places left");
    return RunRecipe(call, AppendText(DropLeft(ten, 2), "00"));
  }
  return RunRecipe(call, ten);
}

}  // namespace tavrel::engine
