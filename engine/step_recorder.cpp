#include "internal/step_recorder.h"

#include <utility>

#include "internal/account_digits.h"
#include "internal/sum_table.h"
#include "internal/trace.h"

namespace tavrel::engine {
namespace {

// The check rule of a recipe in words, for readers of an explanation.
std::string_view RuleText(const Rule& rule) {
  switch (rule.check) {
    case Check::NoCheckDigit:
      return "no check digit: every account is valid";
    case Check::CrossSum:
      return rule.modulus == 7 ? "the digit sums of the products summed, modulo 7: the check digit "
                                 "is 7 minus the remainder, 0 for 0"
                               : "the digit sums of the products summed, modulo 10: the check "
                                 "digit is 10 minus the remainder, 0 for 0";
    case Check::WeightedSum:
      switch (rule.modulus) {
        case 7:
          return "the products summed, modulo 7: the check digit is 7 minus the remainder, 0 for 0";
        case 9:
          return "the products summed, modulo 9: the check digit is 9 minus the remainder, 0 for 0";
        default:
          return "the products summed, modulo 10: the check digit is 10 minus the remainder, 0 "
                 "for 0";
      }
    case Check::IteratedCrossSum:
      return "the digit sums of the products summed, then its digit sum until one digit is left: "
             "the check digit is 10 minus it";
    case Check::UnitsSum:
      return "the units digits of the products summed, modulo 10: the check digit is 10 minus the "
             "remainder, 0 for 0";
    case Check::Mod7:
      return "the products summed, modulo 7: the check digit is 7 minus the remainder, 0 for 0";
    case Check::Mod11:
    case Check::Mod11SeventhPosition:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0 "
             "and 1";
    case Check::Mod11RejectTen:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0; "
             "remainder 1 leaves none";
    case Check::Mod11NineForTen:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0, "
             "9 for 1";
    case Check::Mod11EqualNeighbours:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0; "
             "for 1 it is 0 or its left neighbour";
    case Check::Mod11OneForEleven:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 1 for 0, "
             "0 for 1";
    case Check::Mod11OneForTen:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0, "
             "1 for 1";
    case Check::Mod11RejectLow:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder; "
             "remainders 0 and 1 leave none";
    case Check::Mod11WorkDigit:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder, 0 for 0; "
             "for 1 it is 0 when the work digit (position 2) is 8 or 9";
    case Check::Mod11NinePrefix:
      return "the products summed, modulo 11: the check digit is 11 minus the remainder; for 0 "
             "and 1 it is 8 and 7 in ten-digit accounts beginning with 9";
    case Check::Mod11Remainder:
      return "the products summed, modulo 11: the remainder is the check digit; 10 leaves none";
    case Check::Mod11RemainderTenIsNeighbour:
      return "the products summed, modulo 11: the remainder is the check digit; for 10 it is its "
             "left neighbour";
    case Check::Mod11RemainderPrefixRule:
      return "the products summed, modulo 11: the remainder is the check digit, 10 leaves none; "
             "ten-digit accounts beginning with 1, 2, 3 or 5 are invalid";
    case Check::Mod11RemainderPlusFive:
      return "the products summed, modulo 11: the check digit is the remainder or, less 10, the "
             "remainder plus 5";
    case Check::Mod11SumMinusOne:
      return "the products summed (some by their digit sums), less 1, modulo 11: the check digit "
             "is 10 minus the remainder, 0 for 0";
    case Check::CrossSumFrom60000:
      return "method 00's cross sum, for accounts from 60000 on";
    case Check::CrossSumHalfDecade:
      return "method 00's cross sum; six-digit accounts may also take the distance to the next "
             "multiple of 5";
    case Check::RangeExemptMod11:
      return "four ranges carry no check digit; otherwise the products summed, modulo 11: the "
             "check digit is 11 minus the remainder, 0 for 0 and 1";
    case Check::IncrementedProduct:
      return "each digit plus 1 times its weight, modulo 11, summed: the units digit of the sum "
             "is the check digit";
    case Check::IncrementedProductPlusFive:
      return "each digit plus 1 times its weight, modulo 11, summed, modulo 10: the check digit "
             "is the remainder or, less 10, the remainder plus 5";
    case Check::TransformTable:
      return "the digits through the transformation table, summed: the check digit is 10 minus "
             "the units digit, 0 for 0";
    case Check::TransformTableLong:
      return "ten significant digits through the transformation table, shorter accounts by "
             "method 00's cross sum";
    case Check::DatePattern:
      return "positions 3 and 4 a month from 1 to 12, positions 7 to 9 below 500";
    case Check::Eser:
      return "the number converted from the account and the bank code, its products summed, "
             "modulo 11: the check digit makes the remainder 10";
    case Check::AlternatingTable:
      return "the alternating tables walked over positions 4 to 9";
    case Check::Mod11Divisible:
      return "the products summed, the check digit's among them: the sum must be a multiple of 11";
    case Check::Mod11OfDigitSums:
      return "the digit sums of the products summed, modulo 11: the check digit is 11 minus the "
             "remainder, 0 for 0 and 1";
    case Check::CrossSumRemainder:
      return "the digit sums of the products summed: the units digit is the check digit";
    case Check::Mod11RemainderOfCharacterCodes:
      return "each digit weighed as its character code (48 to 57), modulo 11: the remainder is "
             "the check digit, 10 leaves none";
    case Check::Mod11RemainderTenIsZero:
      return "the products summed, modulo 11: the remainder is the check digit, 0 for 10";
    case Check::None:
      break;
  }
  return {};
}

// "8", "8 or 9", "1, 2 or 9".
std::string DigitList(std::string_view digits) {
  std::string list;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0) list += i + 1 == digits.size() ? " or " : ", ";
    list += digits[i];
  }
  return list;
}

std::string KeyList(std::initializer_list<MethodKey> keys) {
  std::string list;
  for (MethodKey key : keys) {
    if (!list.empty()) list += ", ";
    list += key.view();
  }
  return list;
}

std::string PositionText(int position) { return "position " + std::to_string(position); }

}  // namespace

void StepRecorder::Because(std::string reason) {
  if (!detailed_ || reason.empty()) return;
  reason_ += reason_.empty() ? "" : "; ";
  reason_ += reason;
}

std::string StepRecorder::TakeReason() { return std::exchange(reason_, {}); }

std::size_t StepRecorder::Begin(std::string_view key, std::string_view account) {
  ExplainedStep step;
  step.key = key;
  step.depth = static_cast<int>(open_.size());
  step.reason = TakeReason();
  step.account = account;
  steps_.push_back(std::move(step));
  open_.push_back(steps_.size() - 1);
  return steps_.size() - 1;
}

void StepRecorder::End(std::size_t step, int result) {
  steps_[step].result = static_cast<Outcome>(result);
  if (!open_.empty() && open_.back() == step) open_.pop_back();
}

void StepRecorder::Skip(std::string_view key, std::string reason) {
  ExplainedStep step;
  step.key = key;
  step.depth = static_cast<int>(open_.size());
  step.ran = false;
  if (detailed_) step.reason = std::move(reason);
  steps_.push_back(std::move(step));
}

ExplainedStep& StepRecorder::Innermost() { return steps_[open_.back()]; }

void StepRecorder::Decide(std::string decision) {
  if (detailed_ && !open_.empty()) Innermost().notes.push_back(std::move(decision));
}

ExplainedComputation* StepRecorder::Computing() {
  return computing_ && !open_.empty() ? &Innermost().computations.back() : nullptr;
}

void StepRecorder::BeginComputation(const Recipe& recipe, std::string_view account) {
  if (open_.empty()) return;
  ExplainedComputation computation;
  computation.reason = TakeReason();
  computation.form = PadToTen(account).view();
  if (detailed_) computation.rule = RuleText(recipe.rule);
  sum_table_detail::EntryPositions entries;
  const bool plain = sum_table_detail::PositionsOf(recipe.layout, entries);
  positions_ = plain ? entries.position : std::array<int, 15>{};
  foreignEntries_ = recipe.layout.builder == Builder::Eser ? 0x7FFF : 0;
  for (std::size_t i = 0; i < recipe.rule.constant.size(); ++i) {
    const std::size_t entry = static_cast<std::size_t>(recipe.rule.constantEntry - 1) + i;
    if (entry < positions_.size()) foreignEntries_ |= static_cast<std::uint16_t>(1U << entry);
  }
  int checkPosition = plain ? entries.checkPosition : 0;
  if (recipe.layout.builder == Builder::Range && recipe.layout.checkPosition == 0)
    checkPosition = 0;
  // The converted number takes the check digit from position 4 of the ten-digit
  // form, whether the account has eight or nine digits.
  if (recipe.layout.builder == Builder::Eser) checkPosition = 4;
  if (recipe.layout.builder == Builder::None) checkPosition = 0;
  Innermost().computations.push_back(std::move(computation));
  computing_ = true;
  CheckAt(checkPosition);
  if (detailed_ && !recipe.rule.constant.empty()) {
    Note("the constant " + std::string(recipe.rule.constant) +
         " stands before the account's digits");
  }
  if (recipe.layout.builder == Builder::Standard && SignificantLength(account) == 0)
    Note("the account has no digit other than 0, so no check digit");
}

void StepRecorder::EndComputation(int result) {
  if (ExplainedComputation* computation = Computing())
    computation->result = static_cast<Outcome>(result);
  computing_ = false;
}

void StepRecorder::Term(std::size_t entry, int digit, int weight, int product, int added) {
  ExplainedComputation* computation = Computing();
  if (!detailed_ || computation == nullptr) return;
  const int position = entry < positions_.size() ? positions_[entry] : 0;
  const bool foreign = entry < positions_.size() && ((foreignEntries_ >> entry) & 1U) != 0;
  if (position == 0 && !foreign && added == 0) return;
  computation->terms.push_back({position, digit, weight, product, added});
}

void StepRecorder::Sum(int sum, int modulus, int remainder) {
  ExplainedComputation* computation = Computing();
  if (!detailed_ || computation == nullptr) return;
  computation->hasSum = true;
  computation->sum = sum;
  computation->modulus = modulus;
  computation->remainder = remainder;
}

void StepRecorder::Accepts(std::uint16_t digits) {
  if (ExplainedComputation* computation = Computing()) computation->accepted = digits;
}

void StepRecorder::CheckAt(int position) {
  ExplainedComputation* computation = Computing();
  if (computation == nullptr) return;
  const std::string& form = computation->form;
  const bool inside = position >= 1 && static_cast<std::size_t>(position) <= form.size();
  computation->checkPosition = inside ? position : 0;
  computation->checkDigit = inside ? form[static_cast<std::size_t>(position - 1)] - '0' : -1;
}

void StepRecorder::Note(std::string note) {
  if (!detailed_) return;
  if (ExplainedComputation* computation = Computing()) {
    computation->notes.push_back(std::move(note));
  } else {
    Decide(std::move(note));
  }
}

Explanation StepRecorder::Finish(int result) && {
  return Explanation{static_cast<Outcome>(result), std::move(steps_)};
}

void Recording::Term(std::size_t entry, int digit, int weight, int product, int added) const {
  recorder->Term(entry, digit, weight, product, added);
}
void Recording::Sum(int sum, int modulus, int remainder) const {
  recorder->Sum(sum, modulus, remainder);
}
void Recording::Accepts(std::uint16_t digits) const { recorder->Accepts(digits); }
void Recording::CheckAt(int position) const { recorder->CheckAt(position); }
void Recording::Note(std::string_view note) const {
  if (recorder->Detailed()) recorder->Note(std::string(note));
}
bool Recording::Detailed() const { return recorder->Detailed(); }
void Recording::BeginComputation(const Recipe& recipe, std::string_view account) const {
  recorder->BeginComputation(recipe, account);
}
void Recording::EndComputation(int result) const { recorder->EndComputation(result); }

bool IsDetailed(const StepRecorder& recorder) { return recorder.Detailed(); }

void RecordReason(StepRecorder& recorder, std::string_view reason) {
  if (recorder.Detailed()) recorder.Because(std::string(reason));
}

void RecordDecision(StepRecorder& recorder, std::string_view decision) {
  if (recorder.Detailed()) recorder.Decide(std::string(decision));
}

void RecordSequenceStep(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                        std::size_t index, int previousResult) {
  if (!recorder.Detailed()) return;
  if (index == 0) {
    if (keys.size() > 1) recorder.Because("first of " + KeyList(keys));
    return;
  }
  const std::string previous(keys.begin()[index - 1].view());
  switch (previousResult) {
    case 1:
      recorder.Because(previous + " gave valid without check, which does not end the sequence");
      return;
    case -2:
      recorder.Because(previous + " has no method in these rules");
      return;
    default:
      recorder.Because(previous + " did not accept the account");
  }
}

void RecordSequenceSkips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                         std::size_t after, MethodKey acceptedBy) {
  const std::string reason =
      recorder.Detailed() ? std::string(acceptedBy.view()) + " accepted the account" : "";
  for (std::size_t i = after + 1; i < keys.size(); ++i)
    recorder.Skip(keys.begin()[i].view(), reason);
}

void RecordPositionChoice(StepRecorder& recorder, std::string_view ten, int position,
                          std::string_view digits, bool chosen, std::string_view meaning) {
  if (!recorder.Detailed()) return;
  const char digit = position >= 1 && static_cast<std::size_t>(position) <= ten.size()
                         ? ten[static_cast<std::size_t>(position - 1)]
                         : '0';
  std::string reason = PositionText(position) + " is " + digit;
  if (!chosen) reason += ", not " + DigitList(digits);
  if (chosen && !meaning.empty()) reason += ": " + std::string(meaning);
  recorder.Because(std::move(reason));
}

void RecordPositionSkips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                         int position, std::string_view digits, bool whenOneOf,
                         std::string_view meaning) {
  if (!recorder.Detailed()) {
    for (MethodKey key : keys) recorder.Skip(key.view(), {});
    return;
  }
  std::string reason = "taken when " + PositionText(position) + " is " + (whenOneOf ? "" : "not ") +
                       DigitList(digits);
  if (whenOneOf && !meaning.empty()) reason += ": " + std::string(meaning);
  for (MethodKey key : keys) recorder.Skip(key.view(), reason);
}

void RecordPositions3And4(StepRecorder& recorder, std::string_view ten, bool bothNine) {
  if (!recorder.Detailed()) return;
  if (bothNine) {
    recorder.Because("positions 3 and 4 are both 9");
  } else {
    recorder.Because(std::string("positions 3 and 4 are ") + ten[2] + " and " + ten[3] +
                     ", not both 9");
  }
}

void RecordPositions3And4Skips(StepRecorder& recorder, std::initializer_list<MethodKey> keys,
                               bool whenBothNine) {
  const std::string reason = whenBothNine ? "taken when positions 3 and 4 are both 9"
                                          : "taken unless positions 3 and 4 are both 9";
  for (MethodKey key : keys) recorder.Skip(key.view(), reason);
}

}  // namespace tavrel::engine
