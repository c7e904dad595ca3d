#include "internal/methods_a0_b9.h"

#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// A first variant decides when it is valid; otherwise an account whose position 1
// holds one of `rejected` is invalid, and every other account gets `second`.
int FirstVariantThenLeadingRule(const Call& call, MethodKey first, std::string_view rejected,
                                MethodKey second) {
  const TenDigitForm ten = PadToTen(call.account);
  if (RunKey(call, ten, first) == kValid) return kValid;
  if (ten.PositionIsOneOf(1, rejected)) {
    return Decided(call, kInvalid, "the first variant failed and position 1 rules out a second");
  }
  Because(call, "the first variant did not accept the account");
  return RunKey(call, ten, second);
}

}  // namespace

// Method A0, current rules: accounts of up to three digits (positions 1 to 7
// zero) carry no check digit and are valid.
int MethodA0Current(const Call& call) {
  if (AccountNumber(call.account) < 1000) {
    return Decided(call, kValid, "at most three digits: no check digit");
  }
  return RunRecipe(call, call.account);
}

// Method A1 checks accounts of eight or ten significant digits only.
int MethodA1(const Call& call) {
  const int length = SignificantLength(call.account);
  if (length != 8 && length != 10) {
    return Decided(call, kInvalid, "not eight or ten significant digits: invalid");
  }
  return RunRecipe(call, call.account);
}

// Method A2: cross sum mod 10, then mod 11.
int MethodA2(const Call& call) {
  return RunSequence(call, call.account, {"A2Variante1", "A2Variante2"});
}

// Method A3: cross sum mod 10, then mod 11.
int MethodA3(const Call& call) {
  return RunSequence(call, call.account, {"A3Variante1", "A3Variante2"});
}

// Method A4: positions 3 and 4 both 9: mod 11 on positions 5 to 9, then method
// 93; otherwise mod 11 and mod 7 on positions 4 to 9, then method 93.
int MethodA4(const Call& call) {
  return RunSequenceByPositions3And4(call, {"A4Variante3", "93"},
                                     {"A4Variante1", "A4Variante2", "93"});
}

// Method A5: cross sum mod 10; a ten-digit account starting with 9 gets no second
// try, every other account is tried mod 11.
int MethodA5(const Call& call) {
  return FirstVariantThenLeadingRule(call, "A5Variante1", "9", "A5Variante2");
}

// Method A6: position 2 is 8: method 00; otherwise method 01.
int MethodA6(const Call& call) { return RunByPosition(call, 2, "8", "00", "01"); }

// Method A7: method 00, then method 03.
int MethodA7(const Call& call) { return RunSequence(call, call.account, {"00", "03"}); }

// Method A8: ledger accounts (position 3 is 9) use the two exception keys of
// method 51; all others mod 11, then cross sum mod 10, on positions 4 to 9.
int MethodA8(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(3, '9')) {
    Because(call, "position 3 is 9: a ledger account");
    return RunSequence(call, ten, {"51MethodeCAusnahme1", "51MethodeCAusnahme2"});
  }
  return RunSequence(call, ten, {"A8Variante1", "A8Variante2"});
}

// Method A9: method 01, then method 06.
int MethodA9(const Call& call) { return RunSequence(call, call.account, {"01", "06"}); }

// Method B0: accounts of fewer than ten digits or beginning with 8 are invalid;
// with 1, 2, 3 or 6 at position 8 they carry no check digit; all others take
// method 06.
int MethodB0(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '0')) return Decided(call, kInvalid, "fewer than ten digits: invalid");
  if (ten.PositionIs(1, '8')) return Decided(call, kInvalid, "begins with 8: invalid");
  if (ten.PositionIsOneOf(8, "1236")) {
    return Decided(call, kValidWithoutCheck, "position 8 is 1, 2, 3 or 6: no check digit");
  }
  return RunKey(call, ten, "06");
}

// Method B1: method 05, then method 01.
int MethodB1(const Call& call) { return RunSequence(call, call.account, {"05", "01"}); }

// Method B1, current rules: method 00 as a third try.
int MethodB1Current(const Call& call) {
  return RunSequence(call, call.account, {"05", "01", "00"});
}

// Method B2: position 1 is 8 or 9: method 00; otherwise method 02.
int MethodB2(const Call& call) { return RunByPosition(call, 1, "89", "00", "02"); }

// Method B3: position 1 is 9: method 06; otherwise method 32.
int MethodB3(const Call& call) { return RunByPosition(call, 1, "9", "06", "32"); }

// Method B4: position 1 is 9: method 00; otherwise weights 2 to 10 with
// remainder 1 invalid, which is method 07.
int MethodB4(const Call& call) { return RunByPosition(call, 1, "9", "00", "07"); }

// Method B5: weights 7, 3, 1 mod 10; failing that, a ten-digit account starting
// with 8 or 9 is invalid and every other account gets method 00.
int MethodB5(const Call& call) {
  return FirstVariantThenLeadingRule(call, "B5Variante1", "89", "00");
}

// Method B6: ten-digit accounts use method 20; shorter ones the converted-number
// check, which needs the bank code.
int MethodB6(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (!ten.PositionIs(1, '0')) {
    Because(call, "ten significant digits");
    return RunKey(call, ten, "20");
  }
  Because(call, "fewer than ten digits: the converted number of its bank code");
  return RunKey(call, ten, "Eser", call.bankCode);
}

// Method B6, current rules: accounts beginning with 02691 to 02699 take method
// 20 too.
int MethodB6Current(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (KeyIs(TakeLeft(ten, 4), "0269") && !ten.PositionIs(5, '0')) {
    Because(call, "begins with 02691 to 02699");
    return RunKey(call, ten, "20");
  }
  return MethodB6(call);
}

// Method B7 checks only accounts from 1000000 to 5999999 and from 700000000 to
// 899999999; all others are accepted without a check.
int MethodB7(const Call& call) {
  const AccountDigits record = MakeAccountDigits(call.account);
  if (InRange(record, "1000000", "5999999") || InRange(record, "700000000", "899999999")) {
    return RunRecipe(call, call.account);
  }
  return Decided(call, kValidWithoutCheck,
                 "outside 1000000 to 5999999 and 700000000 to 899999999: no check digit");
}

// Method B8: method 20, then method 29.
int MethodB8(const Call& call) { return RunSequence(call, call.account, {"20", "29"}); }

// Method B8, current rules: failing both, ten-digit accounts from 5100000000 to
// 5999999999 and from 9010000000 to 9109999999 carry no check digit.
int MethodB8Current(const Call& call) {
  const int result = MethodB8(call);
  if (result == kValid) return kValid;
  const std::uint64_t number = AccountNumber(call.account);
  const bool withoutCheck = (number >= 5100000000 && number <= 5999999999) ||
                            (number >= 9010000000 && number <= 9109999999);
  if (!withoutCheck) return result;
  return Decided(call, kValidWithoutCheck,
                 "both failed, but from 5100000000 to 5999999999 or 9010000000 to 9109999999 "
                 "there is no check digit");
}

// Method B9 checks accounts of eight significant digits (two leading zeros) by
// its first variant and of seven (three leading zeros) by its second; every other
// length is invalid.
int MethodB9(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  switch (SignificantLength(ten)) {
    case 8:
      Because(call, "eight significant digits");
      return RunKey(call, ten, "B9Variante1");
    case 7:
      Because(call, "seven significant digits");
      return RunKey(call, ten, "B9Variante2");
    default:
      return Decided(call, kInvalid, "not seven or eight significant digits: invalid");
  }
}

}  // namespace tavrel::engine
