#include "internal/method_table.h"

#include <string>

#include "internal/primitives.h"
#include "internal/step_recorder.h"
#include "internal/trace.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

AccountDigits Build(const Layout& layout, std::string_view account, std::string_view bankCode) {
  switch (layout.builder) {
    case Builder::Forward:
      return MakeAccountDigitsForward(account);
    case Builder::Range:
      return MakeAccountDigitsRange(account, layout.checkPosition, layout.firstPosition,
                                    layout.lastPosition, layout.leftToRight);
    case Builder::Eser:
      return MakeEserDigits(account, bankCode);
    case Builder::Standard:
    case Builder::None:
      break;
  }
  return MakeAccountDigits(account);
}

void PlaceConstant(const Rule& rule, AccountDigits& record) {
  const std::string_view constant = rule.constant;
  for (std::size_t i = 0; i < constant.size(); ++i) {
    const auto entry = static_cast<std::size_t>(rule.constantEntry - 1) + i;
    if (entry < record.digits.size())
      record.digits[entry] = constant[constant.size() - 1 - i] - '0';
  }
}

template <typename Trace>
int ApplyCheck(const Rule& rule, const Weights& w, const AccountDigits& r, Trace trace) {
  switch (rule.check) {
    case Check::CrossSum:
      return CrossSumCheck(w, r, rule.modulus, rule.products, trace);
    case Check::WeightedSum:
      return WeightedSumCheck(w, r, rule.modulus, trace);
    case Check::IteratedCrossSum:
      return IteratedCrossSumCheck(w, r, trace);
    case Check::UnitsSum:
      return UnitsSumCheck(w, r, trace);
    case Check::Mod7:
      return Mod7Check(w, r, trace);
    case Check::Mod11:
      return Mod11Check(w, r, trace);
    case Check::Mod11RejectTen:
      return Mod11CheckRejectTen(w, r, trace);
    case Check::Mod11NineForTen:
      return Mod11CheckNineForTen(w, r, trace);
    case Check::Mod11EqualNeighbours:
      return Mod11CheckEqualNeighbours(w, r, trace);
    case Check::Mod11OneForEleven:
      return Mod11CheckOneForEleven(w, r, trace);
    case Check::Mod11OneForTen:
      return Mod11CheckOneForTen(w, r, trace);
    case Check::Mod11RejectLow:
      return Mod11CheckRejectLow(w, r, trace);
    case Check::Mod11WorkDigit:
      return Mod11CheckWorkDigit(w, r, trace);
    case Check::Mod11NinePrefix:
      return Mod11CheckNinePrefix(w, r, trace);
    case Check::Mod11Remainder:
      return Mod11RemainderCheck(w, r, trace);
    case Check::Mod11RemainderTenIsNeighbour:
      return Mod11RemainderCheckTenIsNeighbour(w, r, trace);
    case Check::Mod11RemainderPrefixRule:
      return Mod11RemainderCheckPrefixRule(w, r, trace);
    case Check::Mod11RemainderPlusFive:
      return Mod11RemainderPlusFiveCheck(w, r, trace);
    case Check::Mod11SumMinusOne:
      return Mod11SumMinusOneCheck(w, r, rule.reducedPlaces, trace);
    case Check::CrossSumFrom60000:
      return CrossSumCheckFrom60000(w, r, trace);
    case Check::CrossSumHalfDecade:
      return CrossSumCheckHalfDecade(w, r, trace);
    case Check::RangeExemptMod11:
      return RangeExemptMod11Check(w, r, trace);
    case Check::IncrementedProduct:
      return IncrementedProductCheck(w, r, trace);
    case Check::IncrementedProductPlusFive:
      return IncrementedProductPlusFiveCheck(w, r, trace);
    case Check::TransformTable:
      return TransformTableCheck(r, trace);
    case Check::TransformTableLong:
      return TransformTableCheckLong(w, r, trace);
    case Check::DatePattern:
      return DatePatternTest(r, trace);
    case Check::Eser:
      return EserCheck(w, r, trace);
    case Check::AlternatingTable:
      return AlternatingTableCheck(r, trace);
    case Check::Mod11SeventhPosition:
      return Mod11CheckSeventhPosition(w, r, trace);
    case Check::Mod11Divisible:
    case Check::Mod11OfDigitSums:
    case Check::CrossSumRemainder:
    case Check::Mod11RemainderOfCharacterCodes:
    case Check::Mod11RemainderTenIsZero:
      return SumRuleCheck(rule, w, r, trace);
    case Check::NoCheckDigit:
      trace.Note("the method has no check digit: every account is valid");
      return kValidWithoutCheck;
    case Check::None:
      break;
  }
  return kInvalid;
}

// Whether the rule rejects the account by the digit at position 1.
bool RejectsFirstDigit(const Rule& rule, std::string_view account) {
  const int digit = DigitAtPosition(account, 1) - '0';
  return digit >= 0 && digit <= 9 && ((rule.rejectedFirstDigits >> digit) & 1U) != 0;
}

// The record path, the same for the check and for explanations.
template <typename Trace>
int ComputeRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode,
                  Trace trace) {
  if (RejectsFirstDigit(recipe.rule, account)) {
    if (trace.Detailed()) {
      trace.Note(std::string("position 1 is ") + DigitAtPosition(account, 1) +
                 ": the method rejects accounts beginning with it");
    }
    return kInvalid;
  }
  AccountDigits record = Build(recipe.layout, account, bankCode);
  if (!recipe.rule.constant.empty()) PlaceConstant(recipe.rule, record);
  return ApplyCheck(recipe.rule, recipe.weights, record, trace);
}

}  // namespace

int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode) {
  return ComputeRecipe(recipe, account, bankCode, NoTrace{});
}

int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode,
              StepRecorder& recorder) {
  const Recording trace{&recorder};
  trace.BeginComputation(recipe, account);
  const int result = ComputeRecipe(recipe, account, bankCode, trace);
  trace.EndComputation(result);
  return result;
}

int RunRecipeMovedLeft(const Call& call, std::string_view text, std::size_t zeros) {
  if (call.trace != nullptr) {
    AccountText moved{text};
    moved.AppendRepeated('0', zeros);
    if (zeros > 0 && Explains(call)) {
      call.trace->Because("moved " + std::to_string(zeros) + " places left");
    }
    return RunRecipe(call.recipe.recipe, moved, {}, *call.trace);
  }
  int result = 0;
  if (call.recipe.sums.usable && RunSumTable(call.recipe.sums, text, zeros, result)) return result;
  AccountText moved{text};
  moved.AppendRepeated('0', zeros);
  return RunRecipe(call.recipe.recipe, moved);
}

int RunRecipeWithRetry(const Call& call, std::string_view text, std::size_t places,
                       std::size_t retryPlaces) {
  const int first = RunRecipeMovedLeft(call, text, places);
  if (first == kValid) return first;
  if (text.size() + retryPlaces > 10) {
    return Decided(call, first, "no second try: moved further left it would exceed ten digits");
  }
  Because(call, "the first try failed");
  return RunRecipeMovedLeft(call, text, retryPlaces);
}

int RunKey(Caller caller, std::string_view account, MethodKey key, std::string_view bankCode) {
  if (caller.trace != nullptr) {
    return RunRecorded(caller.rules, account, key.view(), bankCode, *caller.trace);
  }
  return ComputeMethod(account, key.view(), bankCode, caller.rules);
}

int RunSequence(Caller caller, std::string_view account, std::initializer_list<MethodKey> keys) {
  int result = kMethodNotFound;
  std::size_t index = 0;
  for (MethodKey key : keys) {
    if (caller.trace != nullptr) RecordSequenceStep(*caller.trace, keys, index, result);
    result = RunKey(caller, account, key);
    if (result == kValid) {
      if (caller.trace != nullptr) RecordSequenceSkips(*caller.trace, keys, index, key);
      return kValid;
    }
    ++index;
  }
  return result;
}

int RunByPosition(const Call& call, int position, std::string_view digits, MethodKey whenOneOf,
                  MethodKey otherwise) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool oneOf = ten.PositionIsOneOf(position, digits);
  if (call.trace == nullptr) return RunKey(call, ten, oneOf ? whenOneOf : otherwise);
  RecordPositionChoice(*call.trace, ten, position, digits, oneOf, {});
  const int result = RunKey(call, ten, oneOf ? whenOneOf : otherwise);
  RecordPositionSkips(*call.trace, {oneOf ? otherwise : whenOneOf}, position, digits, !oneOf, {});
  return result;
}

int RunSequenceByPosition(const Call& call, int position, std::string_view digits,
                          std::initializer_list<MethodKey> whenOneOf,
                          std::initializer_list<MethodKey> otherwise, std::string_view meaning) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool oneOf = ten.PositionIsOneOf(position, digits);
  if (call.trace == nullptr) return RunSequence(call, ten, oneOf ? whenOneOf : otherwise);
  RecordPositionChoice(*call.trace, ten, position, digits, oneOf, meaning);
  const int result = RunSequence(call, ten, oneOf ? whenOneOf : otherwise);
  RecordPositionSkips(*call.trace, oneOf ? otherwise : whenOneOf, position, digits, !oneOf,
                      meaning);
  return result;
}

int RunSequenceByPositions3And4(const Call& call, std::initializer_list<MethodKey> whenBothNine,
                                std::initializer_list<MethodKey> otherwise) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool bothNine = ten.PositionIs(3, '9') && ten.PositionIs(4, '9');
  if (call.trace == nullptr) return RunSequence(call, ten, bothNine ? whenBothNine : otherwise);
  RecordPositions3And4(*call.trace, ten, bothNine);
  const int result = RunSequence(call, ten, bothNine ? whenBothNine : otherwise);
  RecordPositions3And4Skips(*call.trace, bothNine ? otherwise : whenBothNine, !bothNine);
  return result;
}

}  // namespace tavrel::engine
