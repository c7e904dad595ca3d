// Generated accounts: random stems completed at the method's check digit place,
// or every account of a short length, grouped by the key that accepts them and
// taken from the groups in turn.
#include <algorithm>
#include <optional>
#include <random>
#include <unordered_set>

#include "internal/check_digit_place.h"
#include "tavrel/ascii.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// Lengths of up to five digits (90000 accounts at most) are tried whole.
constexpr int kLongestTriedWhole = 5;
// Random stems tried at least, so that variants that accept few accounts are
// met; and before giving up, at least the larger of a fixed number and a number
// per account asked for, at most a bound.
constexpr std::size_t kLeastStems = 1000;
// A method whose accounts all came from one key this long has no variants to meet.
constexpr std::size_t kLeastStemsOfOneKey = 200;
constexpr std::size_t kStemsPerAccount = 40;
constexpr std::size_t kFewestStemsToGiveUp = 20000;
constexpr std::size_t kMostStems = 400000;

struct Group {
  std::string variant;
  std::vector<GeneratedAccount> accounts;
};

class Generator {
 public:
  Generator(const GenerateRequest& request, std::string_view key, std::string_view bankCode,
            const RuleSet& rules)
      : request_(request), key_(key), bankCode_(bankCode), rules_(rules), random_(request.seed) {}

  // Valid accounts of the method, or invalid twins, each at most once.
  void Offer(const std::string& account) {
    if (!seen_.insert(account).second) return;
    const int result = Check(account);
    if (!IsValidResult(result)) return;
    ++validFound_;
    if (!request_.invalid) {
      Keep({account, {}, static_cast<Outcome>(result), {}, 0});
      return;
    }
    if (result != engine::kValid) return;
    if (std::optional<GeneratedAccount> twin = InvalidTwin(account)) Keep(std::move(*twin));
  }

  // The first valid account made from `stem` by a digit at the check digit place.
  void OfferCompleted(std::string stem) {
    for (int place : {static_cast<int>(stem.size()), 0}) {
      if (place == 0) place = CheckDigitPlace(stem, key_, bankCode_, rules_);
      auto& digit = stem[static_cast<std::size_t>(place - 1)];
      const int start = static_cast<int>(random_() % 10);
      for (int i = 0; i < 10; ++i) {
        digit = static_cast<char>('0' + (start + i) % 10);
        if (place == 1 && digit == '0') continue;
        if (!IsValidResult(Check(stem))) continue;
        Offer(stem);
        return;
      }
    }
  }

  std::string RandomStem(int length) {
    std::string stem(static_cast<std::size_t>(length), '0');
    stem[0] = static_cast<char>('1' + random_() % 9);
    for (std::size_t i = 1; i < stem.size(); ++i) stem[i] = static_cast<char>('0' + random_() % 10);
    return stem;
  }

  int RandomLength() {
    return request_.length > 0 ? request_.length : 6 + static_cast<int>(random_() % 5);
  }

  std::size_t Kept() const { return kept_; }
  std::size_t Groups() const { return groups_.size(); }
  std::size_t ValidFound() const { return validFound_; }

  // Up to `count` accounts, one from each group in turn; within a group in the
  // order found, or shuffled by the seed when every account was tried.
  std::vector<GeneratedAccount> Take(std::size_t count, bool shuffle) {
    if (shuffle) {
      for (Group& group : groups_) {
        for (std::size_t i = group.accounts.size(); i > 1; --i)
          std::swap(group.accounts[i - 1], group.accounts[random_() % i]);
      }
    }
    std::vector<GeneratedAccount> taken;
    for (std::size_t turn = 0; taken.size() < count; ++turn) {
      bool any = false;
      for (Group& group : groups_) {
        if (turn >= group.accounts.size() || taken.size() == count) continue;
        taken.push_back(std::move(group.accounts[turn]));
        any = true;
      }
      if (!any) break;
    }
    return taken;
  }

 private:
  static bool IsValidResult(int result) {
    return result == engine::kValid || result == engine::kValidWithoutCheck;
  }

  int Check(std::string_view account) const {
    return engine::ComputeMethod(account, key_, bankCode_, rules_);
  }

  // The account with another digit at its check digit place that makes it
  // invalid, when there is one.
  std::optional<GeneratedAccount> InvalidTwin(const std::string& account) {
    const int place = CheckDigitPlace(account, key_, bankCode_, rules_);
    std::string twin = account;
    char& digit = twin[static_cast<std::size_t>(place - 1)];
    const int start = static_cast<int>(random_() % 10);
    for (int i = 0; i < 10; ++i) {
      digit = static_cast<char>('0' + (start + i) % 10);
      if (digit == account[static_cast<std::size_t>(place - 1)] || (place == 1 && digit == '0'))
        continue;
      if (Check(twin) != engine::kInvalid || seen_.count(twin) != 0) continue;
      seen_.insert(twin);
      return GeneratedAccount{twin, {}, Outcome::kInvalidCheckDigit, account, place};
    }
    return std::nullopt;
  }

  void Keep(GeneratedAccount account) {
    const std::string_view judged = account.validForm.empty() ? account.account : account.validForm;
    account.variant =
        DecidingKey(engine::Explain(key_, judged, bankCode_, rules_, engine::Detail::kSteps).steps);
    auto group = std::find_if(groups_.begin(), groups_.end(),
                              [&](const Group& g) { return g.variant == account.variant; });
    if (group == groups_.end()) group = groups_.insert(groups_.end(), Group{account.variant, {}});
    group->accounts.push_back(std::move(account));
    ++kept_;
  }

  const GenerateRequest& request_;
  std::string_view key_;
  std::string_view bankCode_;
  const RuleSet& rules_;
  std::mt19937_64 random_;
  std::unordered_set<std::string> seen_;
  std::vector<Group> groups_;
  std::size_t kept_ = 0;
  std::size_t validFound_ = 0;
};

std::string LengthWords(const GenerateRequest& request) {
  if (request.length == 0) return "six to ten digits";
  return std::to_string(request.length) + (request.length == 1 ? " digit" : " digits");
}

// Every account of `length` significant digits, in ascending order.
void OfferEvery(Generator& generator, int length) {
  std::string account(static_cast<std::size_t>(length), '0');
  account[0] = '1';
  for (;;) {
    generator.Offer(account);
    std::size_t i = account.size();
    while (i > 0 && account[i - 1] == '9') account[--i] = '0';
    if (i == 0) return;
    ++account[i - 1];
  }
}

// The bank's method, or the bank code's fault.
bool TakeBank(const GenerateRequest& request, const Directory& directory, GeneratedAccounts& out) {
  out.bankCode = TrimWhiteSpace(request.bankCode);
  std::optional<Bank> bank;
  if (out.bankCode.size() != kBankCodeLength) {
    out.bankOutcome = Outcome::kBankCodeLength;
  } else if (!IsEightDigits(out.bankCode)) {
    out.bankOutcome = Outcome::kBankCodeNotDigits;
  } else if (bank = FindBank(directory, out.bankCode); !bank) {
    out.bankOutcome = Outcome::kBankCodeUnknown;
  }
  if (!bank) {
    out.status = GenerateStatus::kBankCodeFault;
    out.message = std::string(InfoOf(out.bankOutcome).meaning);
    return false;
  }
  out.bankName = bank->shortName;
  out.method = bank->methodCode;
  return true;
}

void Fail(GeneratedAccounts& out, GenerateStatus status, std::string message) {
  out.status = status;
  out.message = std::move(message);
}

}  // namespace

GeneratedAccounts GenerateAccounts(const GenerateRequest& request, const CheckSource& source) {
  const RuleSet& rules = *source.rules;
  GeneratedAccounts out;
  out.rules = engine::NameOf(rules);
  if (!request.bankCode.empty()) {
    if (!TakeBank(request, *source.directory, out)) return out;
  } else {
    out.method = request.method;
  }
  const auto keys = engine::Keys(rules);
  if (std::find(keys.begin(), keys.end(), out.method) == keys.end()) {
    Fail(out, GenerateStatus::kMethodNotFound,
         "the " + std::string(out.rules) + " rules have no method " + out.method);
    return out;
  }
  if (request.length < 0 || request.length > 10) {
    Fail(out, GenerateStatus::kNone, "accounts have one to ten digits");
    return out;
  }
  Generator generator(request, out.method, out.bankCode, rules);
  out.exhaustive = request.length > 0 && request.length <= kLongestTriedWhole;
  std::size_t stems = 0;
  if (out.exhaustive) {
    OfferEvery(generator, request.length);
  } else {
    const std::size_t budget =
        std::min(kMostStems, std::max(kFewestStemsToGiveUp, kStemsPerAccount * request.count));
    const auto exploring = [&] {
      return stems < (generator.Groups() <= 1 ? kLeastStemsOfOneKey : kLeastStems);
    };
    for (; stems < budget && (exploring() || generator.Kept() < request.count); ++stems)
      generator.OfferCompleted(generator.RandomStem(generator.RandomLength()));
  }
  const std::string among = out.exhaustive ? " of " + LengthWords(request)
                                           : " among " + std::to_string(stems) +
                                                 " random accounts of " + LengthWords(request);
  const std::string method = "method " + out.method;
  if (generator.Kept() == 0 && request.invalid && generator.ValidFound() > 0) {
    Fail(out, GenerateStatus::kNoCheckDigit,
         method + ": no account" + among + " fails by its check digit alone");
  } else if (generator.Kept() == 0) {
    Fail(out, GenerateStatus::kNone, method + " accepts no account" + among);
  } else if (generator.Kept() < request.count) {
    Fail(
        out, GenerateStatus::kTooFew,
        method + ": only " + std::to_string(generator.Kept()) +
            (request.invalid ? " accounts failing by their check digit alone" : " valid accounts") +
            among + ", fewer than " + std::to_string(request.count));
  }
  out.accounts = generator.Take(request.count, out.exhaustive);
  return out;
}

}  // namespace tavrel::service
