#include "internal/methods_80_99.h"

#include "internal/methods_30_59.h"
#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

// Method 80: cross sum mod 10, then mod 7, on positions 5 to 9.
int Method80(const Call& call) { return RunLedgerOrSequence(call, {"80MethodeA", "80MethodeB"}); }

// Method 81: method 32.
int Method81(const Call& call) { return RunLedgerOrSequence(call, {"32"}); }

// Method 82: positions 3 and 4 both 9: method 10; otherwise method 33.
int Method82(const Call& call) { return RunSequenceByPositions3And4(call, {"10"}, {"33"}); }

// Method 83: positions 3 and 4 both 9 (a ledger account) take the exception
// alone; otherwise methods 32 and 33, then mod 7 on positions 5 to 9.
int Method83(const Call& call) {
  return RunSequenceByPositions3And4(call, {"83Ausnahme"}, {"32", "33", "83MethodeC"});
}

// Method 84: method 33, then mod 7 on positions 5 to 9.
int Method84(const Call& call) { return RunLedgerOrSequence(call, {"33", "84MethodeB"}); }

// Method 84, current rules: a third try, plain mod 10 on positions 5 to 9.
int Method84Current(const Call& call) {
  return RunLedgerOrSequence(call, {"33", "84MethodeB", "84MethodeC"});
}

// Method 85: positions 3 and 4 both 9 take the exception alone; otherwise mod 11
// on positions 4 to 9, mod 11 on positions 5 to 9, mod 7 on positions 5 to 9.
int Method85(const Call& call) {
  return RunSequenceByPositions3And4(call, {"85Ausnahme"},
                                     {"85MethodeA", "85MethodeB", "85MethodeC"});
}

// Method 86: cross sum mod 10 on positions 4 to 9, then mod 11 on the same.
int Method86(const Call& call) { return RunLedgerOrSequence(call, {"86MethodeA", "86MethodeB"}); }

// Method 87: the alternating table walk, then mod 11 and mod 7 on positions 5 to 9.
int Method87(const Call& call) {
  return RunLedgerOrSequence(call, {"87MethodeA", "87MethodeB", "87MethodeC"});
}

// Method 87, current rules: a fourth try, mod 11 on positions 4 to 9.
int Method87Current(const Call& call) {
  return RunLedgerOrSequence(call, {"87MethodeA", "87MethodeB", "87MethodeC", "87MethodeD"});
}

// Method 88: position 3 is 9: positions 3 to 9 count; otherwise positions 4 to 9.
int Method88(const Call& call) {
  if (DigitAtPosition(call.account, 3) == '9') {
    Because(call, "position 3 is 9: positions 3 to 9 count");
    return RunKey(call, call.account, "88Ausnahme");
  }
  return RunRecipe(call, call.account);
}

// Method 89: eight or nine significant digits take method 10, seven the row's
// own check; every other length carries no check digit.
int Method89(const Call& call) {
  switch (SignificantLength(call.account)) {
    case 7:
      Because(call, "seven significant digits");
      return RunRecipe(call, call.account);
    case 8:
    case 9:
      Because(call, "eight or nine significant digits");
      return RunKey(call, call.account, "10");
    default:
      return Decided(call, kValidWithoutCheck,
                     "not seven, eight or nine significant digits: no check digit");
  }
}

// Method 90: position 3 is 9: method F alone; otherwise methods A to E in order.
int Method90(const Call& call) {
  return RunSequenceByPosition(
      call, 3, "9", {"90MethodeF"},
      {"90MethodeA", "90MethodeB", "90MethodeC", "90MethodeD", "90MethodeE"});
}

// Method 90, current rules: G, mod 7 on positions 4 to 9, after E.
int Method90Current(const Call& call) {
  return RunSequenceByPosition(
      call, 3, "9", {"90MethodeF"},
      {"90MethodeA", "90MethodeB", "90MethodeC", "90MethodeD", "90MethodeE", "90MethodeG"});
}

// Method 91: four variants on the check digit at position 7. When none accepts
// the account the Bundesbank rejects it: the last variant's result stands.
int Method91(const Call& call) {
  return RunSequence(call, PadToTen(call.account),
                     {"91Variante1", "91Variante2", "91Variante3", "91Variante4"});
}

// Method 93: with positions 1 to 4 zero the customer number is positions 5 to 9
// and the check digit position 10; otherwise they are positions 1 to 5 and 6,
// and positions 7 to 10 are not checked. Moving those six digits to the right
// end lets one pair of variants, mod 11 then mod 7, serve both.
int Method93(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool shortNumber = KeyIs(TakeLeft(ten, 4), "0000");
  const AccountText number = shortNumber ? AccountText{ten.view()} : TakeLeft(ten, 6);
  Because(call, shortNumber ? "positions 1 to 4 are 0: the customer number is positions 5 to 9"
                            : "the customer number is positions 1 to 5, the check digit 6, and "
                              "positions 7 to 10 are not checked");
  return RunSequence(call, number, {"93Variante1", "93Variante2"});
}

// Method 95, current rules: accounts from 910000000 to 989999999 are a fifth
// range without check.
int Method95Current(const Call& call) {
  const std::uint64_t number = AccountNumber(call.account);
  if (number >= 910000000 && number <= 989999999) {
    return Decided(call, kValidWithoutCheck, "from 910000000 to 989999999: valid without check");
  }
  return RunRecipe(call, call.account);
}

// Method 96: two variants; failing both, accounts from 1300000 to 99399999 are
// still valid.
int Method96(const Call& call) {
  const int result = RunSequence(call, call.account, {"96Variante1", "96Variante2"});
  if (result == kValid) return kValid;
  if (!InRange(MakeAccountDigits(call.account), "1300000", "99399999")) return result;
  return Decided(call, kValid, "both variants failed, but from 1300000 to 99399999 it is valid");
}

// Method 98: weights 3, 1, 7 on positions 3 to 9; an account this check rejects
// is checked again by method 32, whose result the Bundesbank lets decide.
int Method98(const Call& call) {
  if (RunRecipe(call, call.account) == kValid) return kValid;
  Because(call, "the weights 3, 1, 7 did not accept the account");
  return RunKey(call, call.account, "32");
}

// Method 99: accounts from 396000000 to 499999999 are valid without computing.
int Method99(const Call& call) {
  const std::uint64_t number = AccountNumber(call.account);
  if (number >= 396000000 && number <= 499999999) {
    return Decided(call, kValid, "from 396000000 to 499999999: valid without computing");
  }
  return RunRecipe(call, call.account);
}

}  // namespace tavrel::engine
