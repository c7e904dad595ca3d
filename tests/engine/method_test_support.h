// Shared checks for method tests: a valid account and every other digit in its
// check digit's place.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/engine.h"

namespace tavrel::engine::testing {

struct ValidAccount {
  std::string_view key;
  std::string_view account;
  int checkPosition;  // 1-based position of the check digit in the ten-digit form
};

inline std::string TenDigits(std::string_view account) {
  return std::string(account.size() < 10 ? 10 - account.size() : 0, '0') + std::string(account);
}

// The account is valid under its key, and each of the nine other digits in the
// check digit's place makes it invalid.
inline void ExpectOnlyThisCheckDigit(const ValidAccount& c, std::string_view bankCode = {}) {
  SCOPED_TRACE(::testing::Message() << "key " << c.key << ", account " << c.account);
  EXPECT_EQ(ComputeMethod(c.account, c.key, bankCode), kValid);
  const std::string ten = TenDigits(c.account);
  const auto place = static_cast<std::size_t>(c.checkPosition - 1);
  for (char digit = '0'; digit <= '9'; ++digit) {
    if (digit == ten[place]) continue;
    std::string changed = ten;
    changed[place] = digit;
    EXPECT_EQ(ComputeMethod(changed, c.key, bankCode), kInvalid) << "check digit " << digit;
  }
}

// Result of `key` for `prefix` followed by each check digit 0 to 9, as a string
// of 'V' (0 or 1) and '.' (anything else): "V........V" reads at a glance.
inline std::string ValidCheckDigits(std::string_view key, std::string_view prefix,
                                    std::string_view suffix = {},
                                    const RuleSet& rules = Rules(Generation::k2009)) {
  std::string pattern;
  for (char digit = '0'; digit <= '9'; ++digit) {
    const std::string account = std::string(prefix) + digit + std::string(suffix);
    const int result = ComputeMethod(account, key, {}, rules);
    pattern += result == kValid || result == kValidWithoutCheck ? 'V' : '.';
  }
  return pattern;
}

// Which check digits 0..9 a key accepts after a prefix, written as
// ValidCheckDigits writes them.
struct CheckDigitPattern {
  std::string_view key;
  std::string_view prefix;
  std::string_view valid;
};

inline void ExpectPatterns(std::span<const CheckDigitPattern> cases) {
  for (const CheckDigitPattern& c : cases) {
    EXPECT_EQ(ValidCheckDigits(c.key, c.prefix), c.valid) << c.key << " " << c.prefix << "x";
  }
}

inline void ExpectPatterns(std::initializer_list<CheckDigitPattern> cases) {
  ExpectPatterns(std::span<const CheckDigitPattern>(cases.begin(), cases.size()));
}

// The result of a key on an account.
struct KeyResult {
  std::string_view key;
  std::string_view account;
  int result;
};

inline void ExpectResults(std::span<const KeyResult> cases,
                          const RuleSet& rules = Rules(Generation::k2009)) {
  for (const KeyResult& c : cases) {
    EXPECT_EQ(ComputeMethod(c.account, c.key, {}, rules), c.result)
        << "key " << c.key << ", account " << c.account << ", rules " << NameOf(rules);
  }
}

// A method that picks one key by a digit: it accepts exactly what the chosen key
// accepts, and the other key would accept something else.
struct Route {
  std::string_view key;
  std::string_view prefix;
  std::string_view chosen;
  std::string_view other;
};

inline void ExpectRoute(const Route& c, const RuleSet& rules = Rules(Generation::k2009)) {
  SCOPED_TRACE(::testing::Message() << c.key << " " << c.prefix << " -> " << c.chosen);
  EXPECT_EQ(ValidCheckDigits(c.key, c.prefix, {}, rules),
            ValidCheckDigits(c.chosen, c.prefix, {}, rules));
  EXPECT_NE(ValidCheckDigits(c.chosen, c.prefix, {}, rules),
            ValidCheckDigits(c.other, c.prefix, {}, rules));
}

inline bool IsValidResult(int result) { return result == kValid || result == kValidWithoutCheck; }

// Whether the 2009 rules have a method with this code.
inline bool In2009(std::string_view method) {
  const auto codes = MethodCodes(Rules(Generation::k2009));
  return std::find(codes.begin(), codes.end(), method) != codes.end();
}

// The published numbers of one generation (engine.h), of the methods that
// `select` picks by their code.
template <typename Select>
std::vector<PublishedNumbers> PublishedRows(Generation generation, Select select) {
  std::vector<PublishedNumbers> rows;
  for (const PublishedNumbers& row : PublishedTestNumbers()) {
    if (row.generation == generation && select(row.method)) rows.push_back(row);
  }
  return rows;
}

// Each valid number is valid (0 or 1) under its key and its method, each
// invalid one invalid under its key.
inline void ExpectPublishedNumbers(std::span<const PublishedNumbers> rows, const RuleSet& rules) {
  for (const PublishedNumbers& row : rows) {
    for (std::string_view account : SplitAccounts(row.valid)) {
      EXPECT_TRUE(IsValidResult(ComputeMethod(account, row.key, row.bankCode, rules)))
          << row.key << " " << account << " should be valid";
      EXPECT_TRUE(IsValidResult(ComputeMethod(account, row.method, row.bankCode, rules)))
          << row.method << " " << account << " (valid under " << row.key << ")";
    }
    for (std::string_view account : SplitAccounts(row.invalid)) {
      EXPECT_EQ(ComputeMethod(account, row.key, row.bankCode, rules), kInvalid)
          << row.key << " " << account;
    }
  }
}

// Random accounts of one to ten digits with every last digit (as the position
// table tests use), and numbers from the Bundesbank's tests of the changed
// methods, which reach the corners the changes are about.
inline std::vector<std::string> EquivalenceCorpus() {
  std::mt19937 random(2018);
  std::vector<std::string> accounts = {
      "59999",      "999",        "4890001112", "7400060823", "0012345678", "0983393104",
      "1015",       "240961",     "0004923250", "0910000000", "1501824",    "5432198760",
      "0076543216", "3110150986", "0082012203", "340968",     "0001975641", "0269876545"};
  for (int i = 0; i < 500; ++i) {
    std::string stem(random() % 10, '0');
    for (char& c : stem) c = static_cast<char>('0' + random() % 10);
    if (i % 5 == 0 && stem.size() > 2) stem[0] = stem[1] = '0';
    if (i % 7 == 0 && stem.size() >= 3) stem[stem.size() - 3] = '9';
    for (char last = '0'; last <= '9'; ++last) accounts.push_back(stem + last);
  }
  return accounts;
}

}  // namespace tavrel::engine::testing
