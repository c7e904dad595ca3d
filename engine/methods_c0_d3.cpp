#include "internal/methods_c0_d3.h"

#include <string>

#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// A closed range of account values (without leading zeros) and what it leads to:
// a method key, or a fixed result when the key is empty.
struct AccountRange {
  std::string_view lower;
  std::string_view upper;
  MethodKey key;
  int result = kInvalid;
};

// Method C5's ranges, tested in this order; the first that holds decides.
constexpr std::array<AccountRange, 9> kC5Ranges = {{
    {"100000", "899999", "75"},
    {"100000000", "899999999", "75"},
    {"1000000000", "1999999999", "29"},
    {"4000000000", "6999999999", "29"},
    {"9000000000", "9999999999", "29"},
    {"3000000000", "3999999999", "00"},
    {"30000000", "59999999", {}, kValidWithoutCheck},
    {"7000000000", "7099999999", {}, kValidWithoutCheck},
    {"8500000000", "8599999999", {}, kValidWithoutCheck},
}};

// Method C6's variants by the digit at position 1; empty: no constant.
constexpr std::array<MethodKey, 10> kC6Variants = {
    "C6Variante0", "C6Variante1", "C6Variante2", {}, {}, {}, {}, "C6Variante7", {}, "C6Variante9"};
constexpr std::array<MethodKey, 10> kC6VariantsCurrent = {
    "C6Variante0", "C6Variante1", "C6Variante2", "C6Variante3", "C6Variante4",
    "C6Variante5", "C6Variante6", "C6Variante7", "C6Variante8", "C6Variante9"};

// Position 1 selects the constant put before positions 2 to 9; an account whose
// first digit has none is invalid.
int RunVariantOfFirstDigit(const Call& call, const std::array<MethodKey, 10>& variants) {
  const TenDigitForm ten = PadToTen(call.account);
  const MethodKey key = variants[static_cast<std::size_t>(ten.At(1) - '0')];
  if (key.empty()) return Decided(call, kInvalid, "no constant for the digit at position 1");
  if (Explains(call)) {
    RecordReason(*call.trace, std::string("position 1 is ") + ten.At(1));
  }
  return RunKey(call, ten, key);
}

}  // namespace

// Method C0: accounts of eight significant digits are first tried as converted
// numbers (method 52, which needs the bank code); method 20 decides otherwise.
int MethodC0(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (SignificantLength(ten) == 8) {
    Because(call, "eight significant digits: first as a converted number");
    if (RunKey(call, ten, "52", call.bankCode) == kValid) return kValid;
    Because(call, "method 52 did not accept the account");
  }
  return RunKey(call, ten, "20");
}

// Method C1: position 1 is 5: its own mod-11 variant; otherwise method 17.
int MethodC1(const Call& call) { return RunByPosition(call, 1, "5", "C1Variante2", "17"); }

// Method C2: method 22, then method 00.
int MethodC2(const Call& call) { return RunSequence(call, call.account, {"22", "00"}); }

// Method C2, current rules: method 04 as a third try.
int MethodC2Current(const Call& call) {
  return RunSequence(call, call.account, {"22", "00", "04"});
}

// Method C3: position 1 is 9: method 58; otherwise method 00.
int MethodC3(const Call& call) { return RunByPosition(call, 1, "9", "58", "00"); }

// Method C4: position 1 is 9: method 58; otherwise method 15.
int MethodC4(const Call& call) { return RunByPosition(call, 1, "9", "58", "15"); }

// Method C5: the account's value selects method 75, 29 or 00, acceptance without
// a check, or rejection when it lies in none of the ranges.
int MethodC5(const Call& call) {
  const AccountDigits record = MakeAccountDigits(call.account);
  for (const AccountRange& range : kC5Ranges) {
    if (!InRange(record, range.lower, range.upper)) continue;
    if (Explains(call)) {
      const std::string bounds =
          "from " + std::string(range.lower) + " to " + std::string(range.upper);
      if (range.key.empty()) {
        RecordDecision(*call.trace, bounds + ": no check digit");
      } else {
        RecordReason(*call.trace, bounds);
      }
    }
    return range.key.empty() ? range.result : RunKey(call, call.account, range.key);
  }
  return Decided(call, kInvalid, "in none of the method's ranges: invalid");
}

// Method C6: position 1 selects the constant put before positions 2 to 9; an
// account starting with 3, 4, 5, 6 or 8 has none and is invalid.
int MethodC6(const Call& call) { return RunVariantOfFirstDigit(call, kC6Variants); }

// Method C6, current rules: every first digit has a constant.
int MethodC6Current(const Call& call) { return RunVariantOfFirstDigit(call, kC6VariantsCurrent); }

// Method C7: method 63, then method 06.
int MethodC7(const Call& call) { return RunSequence(call, call.account, {"63", "06"}); }

// Method C8: method 00, then method 04, then method 07.
int MethodC8(const Call& call) { return RunSequence(call, call.account, {"00", "04", "07"}); }

// Method C9: method 00, then method 07.
int MethodC9(const Call& call) { return RunSequence(call, call.account, {"00", "07"}); }

// Method D0: ten-digit accounts starting with 57 carry no check digit; all others
// use method 20.
int MethodD0(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '5') && ten.PositionIs(2, '7')) {
    return Decided(call, kValidWithoutCheck, "begins with 57: no check digit");
  }
  return RunKey(call, ten, "20");
}

// Method D2: method 95, then method 00, then method 68.
int MethodD2(const Call& call) { return RunSequence(call, call.account, {"95", "00", "68"}); }

// Method D3: method 00, then method 27.
int MethodD3(const Call& call) { return RunSequence(call, call.account, {"00", "27"}); }

}  // namespace tavrel::engine
