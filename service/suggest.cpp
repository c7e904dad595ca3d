// Suggestions one slip away. The candidates of a text are made in fixed arrays
// and checked by the bank's method directly: all those of a ten-digit account
// take a few microseconds.
#include <algorithm>
#include <array>
#include <optional>

#include "internal/check_digit_place.h"
#include "tavrel/ascii.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

constexpr std::size_t kMaxAccountLength = 10;

struct Candidate {
  std::array<char, kMaxAccountLength> text{};
  std::uint8_t size = 0;
  Slip slip = Slip::kSubstitution;
  std::int8_t position = 0;  // from 1, in the typed text

  std::string_view view() const { return {text.data(), size}; }
};

// Every text one slip away from `typed` and at most `maxLength` long, in the
// order transpositions, substitutions, missing digits, doubled digits, each
// from left to right. A text is made once, and none has the value of `typed`
// (a zero put before it, or one of its leading zeros dropped).
class Candidates {
 public:
  // n - 1 transpositions and doubled digits together, 9n substitutions and 9(n + 1)
  // missing digits: most for nine characters, which can still take one more.
  static constexpr std::size_t kCapacity = 19 * (kMaxAccountLength - 1) + 8;

  Candidates(std::string_view typed, std::size_t maxLength) : typed_(typed) {
    const std::size_t n = typed.size();
    for (std::size_t i = 0; i + 1 < n && n <= maxLength; ++i) {
      if (typed[i] != typed[i + 1])
        Add(Slip::kTransposition, i, [&](Candidate& c) { std::swap(c.text[i], c.text[i + 1]); });
    }
    for (std::size_t i = 0; i < n && n <= maxLength; ++i) {
      for (char digit = '0'; digit <= '9'; ++digit) {
        if (digit != typed[i])
          Add(Slip::kSubstitution, i, [&](Candidate& c) { c.text[i] = digit; });
      }
    }
    for (std::size_t i = 0; i <= n && n + 1 <= maxLength; ++i) {
      for (char digit = '0'; digit <= '9'; ++digit) {
        // Put beside an equal digit, it makes the text its left neighbour made.
        if ((i > 0 && typed[i - 1] == digit) || (i == 0 && digit == '0')) continue;
        AddInserted(i, digit);
      }
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
      if (typed[i] != typed[i + 1] || (i > 0 && typed[i - 1] == typed[i])) continue;
      if (i == 0 && typed[0] == '0') continue;
      AddDropped(i + 1);
    }
  }

  std::span<const Candidate> All() const { return {items_.data(), count_}; }

 private:
  template <typename Change>
  void Add(Slip slip, std::size_t index, Change change) {
    Candidate& c = items_[count_++];
    std::copy(typed_.begin(), typed_.end(), c.text.begin());
    c.size = static_cast<std::uint8_t>(typed_.size());
    c.slip = slip;
    c.position = static_cast<std::int8_t>(index + 1);
    change(c);
  }

  void AddInserted(std::size_t index, char digit) {
    Candidate& c = items_[count_++];
    std::copy(typed_.begin(), typed_.begin() + static_cast<std::ptrdiff_t>(index), c.text.begin());
    c.text[index] = digit;
    std::copy(typed_.begin() + static_cast<std::ptrdiff_t>(index), typed_.end(),
              c.text.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    c.size = static_cast<std::uint8_t>(typed_.size() + 1);
    c.slip = Slip::kMissingDigit;
    c.position = static_cast<std::int8_t>(index + 1);
  }

  void AddDropped(std::size_t index) {
    Candidate& c = items_[count_++];
    std::copy(typed_.begin(), typed_.begin() + static_cast<std::ptrdiff_t>(index), c.text.begin());
    std::copy(typed_.begin() + static_cast<std::ptrdiff_t>(index) + 1, typed_.end(),
              c.text.begin() + static_cast<std::ptrdiff_t>(index));
    c.size = static_cast<std::uint8_t>(typed_.size() - 1);
    c.slip = Slip::kDoubledDigit;
    c.position = static_cast<std::int8_t>(index + 1);
  }

  std::string_view typed_;
  std::array<Candidate, kCapacity> items_;
  std::size_t count_ = 0;
};

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// Ranks: transpositions, then substitutions away from the check digit, then the rest.
int Rank(const Suggestion& suggestion, int checkDigitIndex) {
  if (suggestion.slip == Slip::kTransposition) return 0;
  if (suggestion.slip == Slip::kSubstitution && suggestion.position != checkDigitIndex) return 1;
  return 2;
}

std::string_view Significant(std::string_view text) {
  const std::size_t first = text.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// Keeps the first of suggestions with the same value, and at most `max`.
void KeepFirst(std::vector<Suggestion>& found, std::size_t max, std::size_t& count) {
  std::vector<Suggestion> kept;
  for (Suggestion& suggestion : found) {
    const bool seen = std::any_of(kept.begin(), kept.end(), [&](const Suggestion& other) {
      return Significant(other.text) == Significant(suggestion.text);
    });
    if (!seen) kept.push_back(std::move(suggestion));
  }
  count = kept.size();
  if (kept.size() > max) kept.resize(max);
  found = std::move(kept);
}

void SuggestAccounts(Suggestions& out, const Bank& bank, const RuleSet& rules, std::size_t max) {
  const Candidates candidates(out.account, kMaxAccountLength);
  std::vector<Suggestion> found;
  for (const Candidate& c : candidates.All()) {
    // An account of zeros only fails the check before any method runs.
    if (Significant(c.view()).empty() ||
        engine::ComputeMethod(c.view(), bank.methodCode, out.bankCode, rules) != engine::kValid)
      continue;
    found.push_back({std::string(c.view()), c.slip, c.position, Outcome::kValid, {}});
  }
  if (found.empty()) return;
  const int checkDigit = CheckDigitPlace(out.account, bank.methodCode, out.bankCode, rules);
  std::stable_sort(found.begin(), found.end(), [&](const Suggestion& a, const Suggestion& b) {
    return Rank(a, checkDigit) < Rank(b, checkDigit);
  });
  KeepFirst(found, max, out.accountCount);
  out.accounts = std::move(found);
}

void SuggestBankCodes(Suggestions& out, const CheckSource& source, std::size_t max) {
  if (!AllDigits(out.bankCode) || out.bankCode.size() + 1 < kBankCodeLength ||
      out.bankCode.size() > kBankCodeLength + 1) {
    return;
  }
  const Candidates candidates(out.bankCode, kBankCodeLength);
  std::vector<Suggestion> found;
  for (const Candidate& c : candidates.All()) {
    if (c.size != kBankCodeLength) continue;
    const std::optional<Bank> bank = FindBank(*source.directory, c.view());
    if (!bank) continue;
    const Outcome outcome = CheckAccount({c.view(), out.account}, source);
    if (!IsValid(outcome)) continue;
    found.push_back(
        {std::string(c.view()), c.slip, c.position, outcome, std::string(bank->shortName)});
  }
  std::stable_sort(found.begin(), found.end(), [](const Suggestion& a, const Suggestion& b) {
    return Rank(a, 0) < Rank(b, 0);
  });
  KeepFirst(found, max, out.bankCodeCount);
  out.bankCodes = std::move(found);
}

SuggestionStatus StatusOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kValid:
      return SuggestionStatus::kAlreadyValid;
    case Outcome::kValidWithoutCheck:
      return SuggestionStatus::kNoCheckDigit;
    case Outcome::kMethodNotFound:
      return SuggestionStatus::kMethodNotFound;
    case Outcome::kInvalidCheckDigit:
      return SuggestionStatus::kSuggested;
    default:
      return SuggestionStatus::kInputFault;
  }
}

}  // namespace

std::string_view SlipCode(Slip slip) {
  switch (slip) {
    case Slip::kTransposition:
      return "transposition";
    case Slip::kSubstitution:
      return "substitution";
    case Slip::kMissingDigit:
      return "missing_digit";
    case Slip::kDoubledDigit:
      return "doubled_digit";
  }
  return {};
}

Suggestions SuggestCorrections(const AccountQuery& query, const CheckSource& source,
                               const SuggestOptions& options) {
  Suggestions out;
  out.outcome = CheckAccount(query, source);
  out.status = StatusOf(out.outcome);
  out.bankCode = TrimWhiteSpace(query.bankCode);
  out.account = TrimWhiteSpace(query.account);
  if (out.status == SuggestionStatus::kSuggested) {
    if (const std::optional<Bank> bank = FindBank(*source.directory, out.bankCode))
      SuggestAccounts(out, *bank, *source.rules, options.max);
  }
  if (options.bankCodes && !IsValid(out.outcome)) SuggestBankCodes(out, source, options.max);
  return out;
}

}  // namespace tavrel::service
