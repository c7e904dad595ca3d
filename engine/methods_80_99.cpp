#include "internal/methods_80_99.h"

#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// Position 3 of the ten-digit form is 9 (a ledger account): the two exception
// keys of method 51 decide. Otherwise `keys` run in order.
int LedgerOrSequence(const Call& call, std::initializer_list<std::string_view> keys) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9')) return RunLedgerAccountChecks(ten);
  return RunSequence(ten, keys);
}

}  // namespace

// Method 80: cross sum mod 10, then mod 7, on positions 5 to 9.
int Method80(const Call& call) { return LedgerOrSequence(call, {"80MethodeA", "80MethodeB"}); }

// Method 81: method 32.
int Method81(const Call& call) { return LedgerOrSequence(call, {"32"}); }

// Method 84: method 33, then mod 7 on positions 5 to 9.
int Method84(const Call& call) { return LedgerOrSequence(call, {"33", "84MethodeB"}); }

// Method 85: positions 3 and 4 both 9 take the exception alone; otherwise mod 11
// on positions 4 to 9, mod 11 on positions 5 to 9, mod 7 on positions 5 to 9.
int Method85(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9') && ten.PositionIs(4, '9')) return ComputeSubMethod(ten, "85Ausnahme");
  return RunSequence(ten, {"85MethodeA", "85MethodeB", "85MethodeC"});
}

// Method 86: cross sum mod 10 on positions 4 to 9, then mod 11 on the same.
int Method86(const Call& call) { return LedgerOrSequence(call, {"86MethodeA", "86MethodeB"}); }

// Method 87: the alternating table walk, then mod 11 and mod 7 on positions 5 to 9.
int Method87(const Call& call) {
  return LedgerOrSequence(call, {"87MethodeA", "87MethodeB", "87MethodeC"});
}

// Method 88: position 3 is 9: positions 3 to 9 count; otherwise positions 4 to 9.
int Method88(const Call& call) {
  if (DigitAtPosition(call.account, 3) == '9') return ComputeSubMethod(call.account, "88Ausnahme");
  return RunRecipe(call.recipe, call.account);
}

// Method 90: position 3 is 9: method F alone; otherwise methods A to E in order.
int Method90(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9')) return ComputeSubMethod(ten, "90MethodeF");
  return RunSequence(ten, {"90MethodeA", "90MethodeB", "90MethodeC", "90MethodeD", "90MethodeE"});
}

// Method 91: four variants on the check digit at position 7. When none accepts
// the account the Bundesbank rejects it: the last variant's result stands.
int Method91(const Call& call) {
  return RunSequence(PadToTen(call.account),
                     {"91Variante1", "91Variante2", "91Variante3", "91Variante4"});
}

// Method 96: two variants; failing both, accounts from 1300000 to 99399999 are
// still valid.
int Method96(const Call& call) {
  const int result = RunSequence(call.account, {"96Variante1", "96Variante2"});
  if (result == kValid) return kValid;
  return InRange(MakeAccountDigits(call.account), "1300000", "99399999") ? kValid : result;
}

// Method 98: weights 3, 1, 7 on positions 3 to 9; an account this check rejects
// is checked again by method 32, whose result the Bundesbank lets decide.
int Method98(const Call& call) {
  if (RunRecipe(call.recipe, call.account) == kValid) return kValid;
  return ComputeSubMethod(call.account, "32");
}

// Method 99: accounts from 396000000 to 499999999 are valid without computing.
int Method99(const Call& call) {
  const std::uint64_t number = AccountNumber(call.account);
  if (number >= 396000000 && number <= 499999999) return kValid;
  return RunRecipe(call.recipe, call.account);
}

}  // namespace tavrel::engine
