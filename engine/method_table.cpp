#include "internal/method_table.h"

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

int ApplyCheck(const Rule& rule, const Weights& w, const AccountDigits& r) {
  switch (rule.check) {
    case Check::CrossSum:
      return CrossSumCheck(w, r, rule.modulus, rule.products);
    case Check::WeightedSum:
      return WeightedSumCheck(w, r, rule.modulus);
    case Check::IteratedCrossSum:
      return IteratedCrossSumCheck(w, r);
    case Check::UnitsSum:
      return UnitsSumCheck(w, r);
    case Check::Mod7:
      return Mod7Check(w, r);
    case Check::Mod11:
      return Mod11Check(w, r);
    case Check::Mod11RejectTen:
      return Mod11CheckRejectTen(w, r);
    case Check::Mod11NineForTen:
      return Mod11CheckNineForTen(w, r);
    case Check::Mod11EqualNeighbours:
      return Mod11CheckEqualNeighbours(w, r);
    case Check::Mod11OneForEleven:
      return Mod11CheckOneForEleven(w, r);
    case Check::Mod11OneForTen:
      return Mod11CheckOneForTen(w, r);
    case Check::Mod11RejectLow:
      return Mod11CheckRejectLow(w, r);
    case Check::Mod11WorkDigit:
      return Mod11CheckWorkDigit(w, r);
    case Check::Mod11NinePrefix:
      return Mod11CheckNinePrefix(w, r);
    case Check::Mod11Remainder:
      return Mod11RemainderCheck(w, r);
    case Check::Mod11RemainderTenIsNeighbour:
      return Mod11RemainderCheckTenIsNeighbour(w, r);
    case Check::Mod11RemainderPrefixRule:
      return Mod11RemainderCheckPrefixRule(w, r);
    case Check::Mod11RemainderPlusFive:
      return Mod11RemainderPlusFiveCheck(w, r);
    case Check::Mod11SumMinusOne:
      return Mod11SumMinusOneCheck(w, r, rule.reducedPlaces);
    case Check::CrossSumFrom60000:
      return CrossSumCheckFrom60000(w, r);
    case Check::CrossSumHalfDecade:
      return CrossSumCheckHalfDecade(w, r);
    case Check::RangeExemptMod11:
      return RangeExemptMod11Check(w, r);
    case Check::IncrementedProduct:
      return IncrementedProductCheck(w, r);
    case Check::IncrementedProductPlusFive:
      return IncrementedProductPlusFiveCheck(w, r);
    case Check::TransformTable:
      return TransformTableCheck(r);
    case Check::TransformTableLong:
      return TransformTableCheckLong(w, r);
    case Check::DatePattern:
      return DatePatternTest(r);
    case Check::Eser:
      return EserCheck(w, r);
    case Check::AlternatingTable:
      return AlternatingTableCheck(r);
    case Check::Mod11SeventhPosition:
      return Mod11CheckSeventhPosition(w, r);
    case Check::Mod11Divisible:
    case Check::Mod11OfDigitSums:
    case Check::CrossSumRemainder:
    case Check::Mod11RemainderOfCharacterCodes:
    case Check::Mod11RemainderTenIsZero:
      return SumRuleCheck(rule, w, r);
    case Check::NoCheckDigit:
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

}  // namespace

int RunRecipe(const Recipe& recipe, std::string_view account, std::string_view bankCode) {
  if (RejectsFirstDigit(recipe.rule, account)) return kInvalid;
  AccountDigits record = Build(recipe.layout, account, bankCode);
  if (!recipe.rule.constant.empty()) PlaceConstant(recipe.rule, record);
  return ApplyCheck(recipe.rule, recipe.weights, record);
}

int RunRecipeMovedLeft(const CompiledRecipe& compiled, std::string_view text, std::size_t zeros) {
  int result = 0;
  if (compiled.sums.usable && RunSumTable(compiled.sums, text, zeros, result)) return result;
  AccountText moved{text};
  moved.AppendRepeated('0', zeros);
  return RunRecipe(compiled.recipe, moved);
}

int RunRecipeWithRetry(const CompiledRecipe& recipe, std::string_view text, std::size_t places,
                       std::size_t retryPlaces) {
  const int first = RunRecipeMovedLeft(recipe, text, places);
  if (first == kValid || text.size() + retryPlaces > 10) return first;
  return RunRecipeMovedLeft(recipe, text, retryPlaces);
}

int RunKey(const RuleSet& rules, std::string_view account, MethodKey key,
           std::string_view bankCode) {
  return ComputeMethod(account, key.view(), bankCode, rules);
}

int RunSequence(const RuleSet& rules, std::string_view account,
                std::initializer_list<MethodKey> keys) {
  int result = kMethodNotFound;
  for (MethodKey key : keys) {
    result = RunKey(rules, account, key);
    if (result == kValid) return kValid;
  }
  return result;
}

int RunByPosition(const Call& call, int position, std::string_view digits, MethodKey whenOneOf,
                  MethodKey otherwise) {
  const TenDigitForm ten = PadToTen(call.account);
  return RunKey(call.rules, ten, ten.PositionIsOneOf(position, digits) ? whenOneOf : otherwise);
}

int RunSequenceByPosition(const Call& call, int position, std::string_view digits,
                          std::initializer_list<MethodKey> whenOneOf,
                          std::initializer_list<MethodKey> otherwise) {
  const TenDigitForm ten = PadToTen(call.account);
  return RunSequence(call.rules, ten,
                     ten.PositionIsOneOf(position, digits) ? whenOneOf : otherwise);
}

int RunSequenceByPositions3And4(const Call& call, std::initializer_list<MethodKey> whenBothNine,
                                std::initializer_list<MethodKey> otherwise) {
  const TenDigitForm ten = PadToTen(call.account);
  const bool bothNine = ten.PositionIs(3, '9') && ten.PositionIs(4, '9');
  return RunSequence(call.rules, ten, bothNine ? whenBothNine : otherwise);
}

}  // namespace tavrel::engine
