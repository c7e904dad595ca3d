#include "internal/methods_a0_b9.h"

#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// A first variant decides when it is valid; otherwise an account whose position 1
// holds one of `rejected` is invalid, and every other account gets `second`.
int FirstVariantThenLeadingRule(const Call& call, std::string_view first, std::string_view rejected,
                                std::string_view second) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ComputeSubMethod(ten, first) == kValid) return kValid;
  if (ten.PositionIsOneOf(1, rejected)) return kInvalid;
  return ComputeSubMethod(ten, second);
}

}  // namespace

// Method A1 checks accounts of eight or ten significant digits only.
int MethodA1(const Call& call) {
  const int length = SignificantLength(call.account);
  return length == 8 || length == 10 ? RunRecipe(call.recipe, call.account) : kInvalid;
}

// Method A2: cross sum mod 10, then mod 11.
int MethodA2(const Call& call) { return RunSequence(call.account, {"A2Variante1", "A2Variante2"}); }

// Method A3: cross sum mod 10, then mod 11.
int MethodA3(const Call& call) { return RunSequence(call.account, {"A3Variante1", "A3Variante2"}); }

// Method A5: cross sum mod 10; a ten-digit account starting with 9 gets no second
// try, every other account is tried mod 11.
int MethodA5(const Call& call) {
  return FirstVariantThenLeadingRule(call, "A5Variante1", "9", "A5Variante2");
}

// Method A6: position 2 is 8: method 00; otherwise method 01.
int MethodA6(const Call& call) { return RunByPosition(call.account, 2, "8", "00", "01"); }

// Method A7: method 00, then method 03.
int MethodA7(const Call& call) { return RunSequence(call.account, {"00", "03"}); }

// Method A8: ledger accounts (position 3 is 9) use the two exception keys of
// method 51; all others mod 11, then cross sum mod 10, on positions 4 to 9.
int MethodA8(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9'))
    return RunSequence(ten, {"51MethodeCAusnahme1", "51MethodeCAusnahme2"});
  return RunSequence(ten, {"A8Variante1", "A8Variante2"});
}

// Method A9: method 01, then method 06.
int MethodA9(const Call& call) { return RunSequence(call.account, {"01", "06"}); }

// Method B1: method 05, then method 01.
int MethodB1(const Call& call) { return RunSequence(call.account, {"05", "01"}); }

// Method B2: position 1 is 8 or 9: method 00; otherwise method 02.
int MethodB2(const Call& call) { return RunByPosition(call.account, 1, "89", "00", "02"); }

// Method B3: position 1 is 9: method 06; otherwise method 32.
int MethodB3(const Call& call) { return RunByPosition(call.account, 1, "9", "06", "32"); }

// Method B5: weights 7, 3, 1 mod 10; failing that, a ten-digit account starting
// with 8 or 9 is invalid and every other account gets method 00.
int MethodB5(const Call& call) {
  return FirstVariantThenLeadingRule(call, "B5Variante1", "89", "00");
}

// Method B6: ten-digit accounts use method 20; shorter ones the converted-number
// check, which needs the bank code.
int MethodB6(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (!ten.PositionIs(1, '0')) return ComputeSubMethod(ten, "20");
  return ComputeMethod(ten, "Eser", call.bankCode);
}

// Method B7 checks only accounts from 1000000 to 5999999 and from 700000000 to
// 899999999; all others are accepted without a check.
int MethodB7(const Call& call) {
  const AccountDigits record = MakeAccountDigits(call.account);
  if (InRange(record, "1000000", "5999999") || InRange(record, "700000000", "899999999")) {
    return RunRecipe(call.recipe, call.account);
  }
  return kValidWithoutCheck;
}

// Method B8: method 20, then method 29.
int MethodB8(const Call& call) { return RunSequence(call.account, {"20", "29"}); }

// Method B9 checks accounts of eight significant digits (two leading zeros) by
// its first variant and of seven (three leading zeros) by its second; every other
// length is invalid.
int MethodB9(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  switch (SignificantLength(ten)) {
    case 8:
      return ComputeSubMethod(ten, "B9Variante1");
    case 7:
      return ComputeSubMethod(ten, "B9Variante2");
    default:
      return kInvalid;
  }
}

}  // namespace tavrel::engine
