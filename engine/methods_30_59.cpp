#include "internal/methods_30_59.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>

#include "internal/rule_rows.h"
#include "tavrel/ascii.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

// Methods 52 and 53: accounts beginning with 9 follow method 20; the others must
// have `significantDigits` digits and are checked by the converted number of
// their own bank code.
int ConvertedNumberMethod(const Call& call, int significantDigits) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '9')) {
    Because(call, "position 1 is 9");
    return RunKey(call, ten, "20");
  }
  if (SignificantLength(ten) != significantDigits) {
    return Decided(call, kInvalid,
                   significantDigits == 8 ? "not eight significant digits and not beginning with 9"
                                          : "not nine significant digits and not beginning with 9");
  }
  Because(call, "checked by the converted number of its bank code");
  return RunKey(call, ten, "Eser", call.bankCode);
}

}  // namespace

int RunLedgerAccountChecks(Caller caller, std::string_view account) {
  return RunSequence(caller, account, {"51MethodeCAusnahme1", "51MethodeCAusnahme2"});
}

int RunLedgerOrSequence(const Call& call, std::initializer_list<MethodKey> keys) {
  return RunSequenceByPosition(call, 3, "9", {"51MethodeCAusnahme1", "51MethodeCAusnahme2"}, keys,
                               "a ledger account");
}

// Method 41: when position 4 is 9, positions 1 to 3 count as 0.
int Method41(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(4, '9')) {
    Because(call, "position 4 is 9: positions 1 to 3 count as 0");
    return RunRecipe(call, AppendText("000", DropLeft(ten, 3)));
  }
  return RunRecipe(call, ten);
}

// Method 45: accounts with position 1 equal to 0 or position 5 equal to 1 carry
// no check digit and are accepted.
int Method45(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '0')) return Decided(call, kValid, "position 1 is 0: no check digit");
  if (ten.PositionIs(5, '1')) return Decided(call, kValid, "position 5 is 1: no check digit");
  return RunRecipe(call, ten);
}

// Method 45, current rules: accounts beginning with 48 carry no check digit either.
int Method45Current(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '4') && ten.PositionIs(2, '8')) {
    return Decided(call, kValid, "positions 1 and 2 are 48: no check digit");
  }
  return Method45(call);
}

// Method 49: method 00, then method 01.
int Method49(const Call& call) { return RunSequence(call, call.account, {"00", "01"}); }

// Method 50: a failed check is retried with "000" appended to the account as
// received, unless that makes it longer than ten characters.
int Method50(const Call& call) { return RunRecipeWithRetry(call, call.account, 0, 3); }

// Method 51: ledger accounts (position 3 is 9) are checked only by the two
// exception keys, whose result stands; the Bundesbank does not let methods A, B
// or C accept them. Other accounts run methods A, B and C.
int Method51(const Call& call) {
  return RunLedgerOrSequence(call, {"51MethodeA", "51MethodeB", "51MethodeC"});
}

// Method 51, current rules: a new C (method 00 on positions 4 to 9) runs third,
// and 2009's C follows as D.
int Method51Current(const Call& call) {
  return RunLedgerOrSequence(call, {"51MethodeA", "51MethodeB", "51MethodeC", "51MethodeD"});
}

// Method 51 C: check digits 7, 8 and 9 are impossible under modulus 7 and are
// rejected before anything else; ledger accounts take the two exception keys.
int Method51C(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIsOneOf(10, "789")) {
    return Decided(call, kInvalid, "check digit 7, 8 or 9: impossible under modulus 7");
  }
  if (ten.PositionIs(3, '9')) {
    Because(call, "position 3 is 9: a ledger account");
    return RunLedgerAccountChecks(call, ten);
  }
  return RunRecipe(call, ten);
}

// Method 52: eight-digit accounts are checked by their converted number.
int Method52(const Call& call) { return ConvertedNumberMethod(call, 8); }

// Method 53: nine-digit accounts are checked by their converted number.
int Method53(const Call& call) { return ConvertedNumberMethod(call, 9); }

// The converted number joins bank-code positions 5 to 8 with the account, so
// without an eight-digit bank code no rule applies.
int MethodEser(const Call& call) {
  if (!IsEightDigits(call.bankCode)) {
    return Decided(call, kInvalid, "no eight-digit bank code to form the converted number with");
  }
  return RunRecipe(call, PadToTen(call.account), call.bankCode);
}

// Method 54: only ten-digit accounts beginning with 49 exist.
int Method54(const Call& call) {
  if (SignificantLength(call.account) != 10) {
    return Decided(call, kInvalid, "fewer than ten significant digits");
  }
  const TenDigitForm ten = PadToTen(call.account);
  if (!ten.PositionIs(1, '4') || !ten.PositionIs(2, '9')) {
    return Decided(call, kInvalid, "positions 1 and 2 are not 49");
  }
  return RunRecipe(call, ten);
}

namespace {

// Method 57's four prefix lists, in the order in which they are consulted.
struct PrefixList {
  MethodKey key;
  std::initializer_list<std::string_view> prefixes;
};

// The first list holding a prefix decides; the lists are turned into a table
// from the prefix's value (00 to 99) to its key when the program is compiled.
constexpr auto kMethod57Keys = [] {
  const PrefixList lists[] = {
      {"57Variante1",
       {"51", "55", "61", "64", "65", "66", "70", "73", "75", "76", "77", "78", "79", "80", "81",
        "82", "88", "94", "95"}},
      {"57Variante2",
       {"32", "33", "34", "35", "36", "37", "38", "39", "41", "42", "43", "44", "45", "46", "47",
        "48", "49", "52", "53", "54", "56", "57", "58", "59", "60", "62", "63", "67", "68", "69",
        "71", "72", "74", "83", "84", "85", "86", "87", "89", "90", "92", "93", "96", "97", "98"}},
      {"09", {"40", "50", "91", "99"}},
      {"57Variante4", {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11",
                       "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22",
                       "23", "24", "25", "26", "27", "28", "29", "30", "31"}},
  };
  std::array<MethodKey, 100> keys{};
  for (const PrefixList& list : lists) {
    for (std::string_view prefix : list.prefixes) {
      MethodKey& key = keys[static_cast<std::size_t>((prefix[0] - '0') * 10 + (prefix[1] - '0'))];
      if (key.empty()) key = list.key;
    }
  }
  return keys;
}();

// Since 2013-09-09 prefix 74 is in the first list rather than the second.
constexpr auto kMethod57KeysCurrent = [] {
  std::array<MethodKey, 100> keys = kMethod57Keys;
  keys[74] = "57Variante1";
  return keys;
}();

// Positions 1 and 2 choose the variant from `keys`; a prefix without one gives
// `withoutVariant`.
int RunMethod57(const Call& call, const std::array<MethodKey, 100>& keys, int withoutVariant) {
  const TenDigitForm ten = PadToTen(call.account);
  const MethodKey key = keys[static_cast<std::size_t>((ten.At(1) - '0') * 10 + (ten.At(2) - '0'))];
  if (key.empty()) return Decided(call, withoutVariant, "positions 1 and 2 choose no variant");
  if (Explains(call)) {
    RecordReason(*call.trace, "positions 1 and 2 are " + std::string(TakeLeft(ten, 2).view()));
  }
  return RunKey(call, ten, key);
}

}  // namespace

// Method 57: positions 1 and 2 choose the variant. No list holds 00, so accounts
// of fewer than nine digits have no method.
int Method57(const Call& call) { return RunMethod57(call, kMethod57Keys, kMethodNotFound); }

// Method 57, current rules: prefix 74 takes variant 1, and accounts of fewer than
// nine digits (prefix 00) are invalid.
int Method57Current(const Call& call) { return RunMethod57(call, kMethod57KeysCurrent, kInvalid); }

// Method 57, variant 1: accounts beginning with 777777 or 888888 are accepted
// without a check.
int Method57Variant1(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (KeyIsOneOf(TakeLeft(ten, 6), {"777777", "888888"})) {
    return Decided(call, kValid, "begins with 777777 or 888888: valid without computing");
  }
  return RunRecipe(call, ten);
}

// Method 57, variant 4: positions 3 and 4 hold a month and positions 7 to 9 a
// serial below 500; the account 0185125434 is accepted as it stands.
int Method57Variant4(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (KeyIs(ten, "0185125434")) return Decided(call, kValid, "the one account named valid");
  return RunRecipe(call, ten);
}

// Method 59: accounts of fewer than nine digits carry no check digit and are
// accepted.
int Method59(const Call& call) {
  const TenDigitForm ten = PadToTen(call.account);
  if (ten.PositionIs(1, '0') && ten.PositionIs(2, '0')) {
    return Decided(call, kValid, "fewer than nine digits: no check digit");
  }
  return RunRecipe(call, ten);
}

}  // namespace tavrel::engine
