// Explanations of a check: the tests of the input, in CheckAccount's order, up
// to the one that decided, and then the engine's steps of the bank's method.
// The verdict is always CheckAccount's own.
#include <optional>
#include <string>

#include "tavrel/ascii.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// The input as echoed in a test: quoted, control characters written as \xNN so
// that the text stays on its line.
std::string Shown(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown = "'";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown + "'";
}

// "character 3, 'x', is not a digit" for the first character that is none.
std::string FirstNonDigit(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiDigit(text[i])) ++i;
  return "character " + std::to_string(i + 1) + ", " + Shown(text.substr(i, 1)) +
         ", is not a digit";
}

std::string Characters(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " character" : " characters");
}

bool ZerosOnly(std::string_view account) {
  return account.find_first_not_of('0') == std::string_view::npos;
}

class InputTests {
 public:
  explicit InputTests(AccountExplanation& explanation) : tests_(explanation.tests) {}

  void Passed(std::string text) { tests_.push_back({true, std::move(text)}); }
  // Adds the failed test and tells the caller to stop.
  bool Failed(std::string text) {
    tests_.push_back({false, std::move(text)});
    return false;
  }

 private:
  std::vector<InputTest>& tests_;
};

bool TestBankCode(InputTests& tests, std::string_view bankCode, Outcome outcome) {
  if (outcome == Outcome::kBankCodeLength) {
    return tests.Failed("bank code " + Shown(bankCode) + ": " + Characters(bankCode.size()) +
                        ", not eight");
  }
  if (outcome == Outcome::kBankCodeNotDigits) {
    tests.Passed("bank code " + Shown(bankCode) + ": eight characters");
    return tests.Failed("bank code " + Shown(bankCode) + ": " + FirstNonDigit(bankCode));
  }
  tests.Passed("bank code " + std::string(bankCode) + ": eight digits");
  return true;
}

bool TestAccount(InputTests& tests, std::string_view account, Outcome outcome) {
  if (outcome == Outcome::kAccountLength) {
    return tests.Failed(account.empty() ? std::string("account: empty")
                                        : "account " + Shown(account) + ": " +
                                              Characters(account.size()) + ", more than ten");
  }
  if (outcome == Outcome::kAccountNotDigits) {
    tests.Passed("account " + Shown(account) + ": " + Characters(account.size()));
    return tests.Failed("account " + Shown(account) + ": " + FirstNonDigit(account));
  }
  tests.Passed("account " + std::string(account) + ": " + std::to_string(account.size()) +
               (account.size() == 1 ? " digit" : " digits"));
  if (ZerosOnly(account)) {
    return tests.Failed("account " + std::string(account) +
                        ": zeros only, so it has no check digit");
  }
  return true;
}

}  // namespace

AccountExplanation ExplainAccount(const AccountQuery& query, const CheckSource& source) {
  const RuleSet& rules = *source.rules;
  AccountExplanation explanation;
  explanation.outcome = CheckAccount(query, source);
  explanation.bankCode = TrimWhiteSpace(query.bankCode);
  explanation.account = TrimWhiteSpace(query.account);
  explanation.rules = engine::NameOf(rules);
  InputTests tests(explanation);
  if (explanation.bankCode.size() != query.bankCode.size())
    tests.Passed("white space around the bank code removed");
  if (explanation.account.size() != query.account.size())
    tests.Passed("white space around the account removed");
  if (!TestBankCode(tests, explanation.bankCode, explanation.outcome) ||
      !TestAccount(tests, explanation.account, explanation.outcome)) {
    return explanation;
  }
  const std::optional<Bank> bank = FindBank(*source.directory, explanation.bankCode);
  if (!bank) {
    tests.Failed("bank code " + explanation.bankCode + ": not in the directory");
    return explanation;
  }
  explanation.bankName = bank->shortName;
  explanation.methodCode = bank->methodCode;
  tests.Passed("bank code " + explanation.bankCode + " in the directory: " + explanation.bankName +
               ", method " + explanation.methodCode);
  explanation.steps =
      engine::Explain(bank->methodCode, explanation.account, explanation.bankCode, rules).steps;
  if (!explanation.steps.empty())
    explanation.steps.front().reason = "the method of bank code " + explanation.bankCode;
  return explanation;
}

AccountExplanation ExplainMethod(std::string_view key, std::string_view account,
                                 std::string_view bankCode, const RuleSet& rules) {
  Explanation steps = engine::Explain(key, account, bankCode, rules);
  AccountExplanation explanation;
  explanation.outcome = steps.result;
  explanation.bankCode = bankCode;
  explanation.account = account;
  explanation.rules = engine::NameOf(rules);
  explanation.methodCode = key;
  explanation.steps = std::move(steps.steps);
  return explanation;
}

}  // namespace tavrel::service
