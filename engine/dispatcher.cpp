// Selection of a method block by its key in a rule generation. Both generations'
// indexes are computed at compile time from the method rows: method codes by a
// direct slot, variant keys by a search among those of their method code.
// Nothing is initialised at start-up and nothing allocates.
#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <utility>

#include "internal/method_table.h"
#include "internal/rule_index.h"
#include "internal/rule_rows.h"
#include "internal/rule_set.h"
#include "internal/step_recorder.h"
#include "tavrel/digit_block.h"
#include "tavrel/engine.h"

namespace tavrel::engine {
namespace {

using namespace std::chrono_literals;

static_assert(rule_index::KeysAreDistinct(k2009Rows), "every 2009 row needs a key of its own");
static_assert(rule_index::KeysAreDistinct(kCurrentRows),
              "every current row needs a key of its own");

constexpr std::array<MethodRow, 0> kNoRows{};

constexpr auto k2009Keys =
    rule_index::PlaceKeys<rule_index::KeyCount(k2009Rows, kNoRows)>(k2009Rows, kNoRows);
constexpr auto k2009Index = rule_index::BuildIndex<rule_index::CodeCount(k2009Keys)>(k2009Keys);

constexpr auto kCurrentKeys =
    rule_index::PlaceKeys<rule_index::KeyCount(k2009Rows, kCurrentRows)>(k2009Rows, kCurrentRows);
constexpr auto kCurrentIndex =
    rule_index::BuildIndex<rule_index::CodeCount(kCurrentKeys)>(kCurrentKeys);

// The Bundesbank's rules as of 7 September 2009.
constexpr RuleSet k2009Rules{
    "2009",
    Generation::k2009,
    2009y / 9 / 7,
    2009y / 9 / 7,
    k2009Index.codeRows,
    k2009Index.variantKeys,
    k2009Index.variantRanges,
    k2009Index.keys,
    k2009Index.methodCodes,
};

// The rules as changed since: the first change came into force on 7 June 2010,
// the last (method 45, early 2018) by the June 2018 edition of the rules, whose
// changes took effect on 4 June 2018.
constexpr RuleSet kCurrentRules{
    "current",
    Generation::kCurrent,
    2010y / 6 / 7,
    2018y / 6 / 4,
    kCurrentIndex.codeRows,
    kCurrentIndex.variantKeys,
    kCurrentIndex.variantRanges,
    kCurrentIndex.keys,
    kCurrentIndex.methodCodes,
};

// Blocks read positions of a ten-digit form: only texts of one to ten digits
// reach them.
bool IsAccountText(std::string_view account) {
  return account.size() - 1 < 10 && ReadDigitBlock(account).digits;
}

// Runs a row on an account of one to ten digits, read into `block`. A row that
// is one table runs straight away, from the block.
[[gnu::always_inline]] inline int RunRow(const MethodRow& row, const RuleSet& rules,
                                         const DigitBlock& block, std::string_view account,
                                         std::string_view bankCode) {
  if (row.method.usable) return RunSumTableOnBlock(row.method, block, account.size(), 0);
  if (row.run == nullptr) return RunRecipe(row.recipe.recipe, account, bankCode);
  return row.run(Call{account, bankCode, row.recipe, rules});
}

inline int Run(const RuleSet& rules, std::string_view account, std::string_view key,
               std::string_view bankCode) {
  const MethodRow* row = rules.FindRow(key);
  if (row == nullptr) return kMethodNotFound;
  if (account.size() - 1 >= 10) return kInvalid;
  const DigitBlock block = ReadDigitBlock(account);
  if (!block.digits) return kInvalid;
  return RunRow(*row, rules, block, account, bankCode);
}

}  // namespace

int RunRecorded(const RuleSet& rules, std::string_view account, std::string_view key,
                std::string_view bankCode, StepRecorder& recorder) {
  const std::size_t step = recorder.Begin(key, account);
  int result = kMethodNotFound;
  const MethodRow* row = rules.FindRow(key);
  if (row == nullptr) {
    if (recorder.Detailed())
      recorder.Decide("the " + std::string(rules.name) + " rules have no method " +
                      std::string(key));
  } else if (!IsAccountText(account)) {
    result = kInvalid;
    recorder.Decide("the account is not one to ten digits");
  } else if (row->run == nullptr) {
    result = RunRecipe(row->recipe.recipe, account, bankCode, recorder);
  } else {
    result = row->run(Call{account, bankCode, row->recipe, rules, &recorder});
  }
  recorder.End(step, result);
  return result;
}

Explanation Explain(std::string_view key, std::string_view account, std::string_view bankCode,
                    const RuleSet& rules, Detail detail) {
  StepRecorder recorder(detail == Detail::kFull);
  const int result = RunRecorded(rules, account, key, bankCode, recorder);
  return std::move(recorder).Finish(result);
}

int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode) {
  return Run(k2009Rules, account, key, bankCode);
}

int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode,
                  const RuleSet& rules) {
  return Run(rules, account, key, bankCode);
}

int ComputeMethodOnDigits(const DigitBlock& digits, std::string_view account, std::string_view key,
                          std::string_view bankCode, const RuleSet& rules) {
  const MethodRow* row = rules.FindRow(key);
  if (row == nullptr) return kMethodNotFound;
  return RunRow(*row, rules, digits, account, bankCode);
}

namespace {

// ComputeMethodsOnDigits for at most kChunk calls.
constexpr std::size_t kChunk = 64;

void ComputeChunk(std::span<const MethodCall> calls, std::span<int> results, const RuleSet& rules) {
  // The calls by kind: plain tables, other tables, and the rest, each list in
  // call order. Filled without a branch on the kind, one index written to every
  // list and only the right list's count moved on.
  std::array<std::uint8_t, kChunk> plain;
  std::array<std::uint8_t, kChunk> tables;
  std::array<std::uint8_t, kChunk> others;
  std::array<const MethodRow*, kChunk> rows;
  std::size_t plainCount = 0;
  std::size_t tableCount = 0;
  std::size_t otherCount = 0;
  const std::size_t count = calls.size();
  for (std::size_t i = 0; i < count; ++i) {
    const MethodRow* row = rules.FindRow(calls[i].key);
    rows[i] = row;
    const bool isTable = row != nullptr && row->method.usable;
    const bool isPlain = isTable && row->method.plain;
    const auto index = static_cast<std::uint8_t>(i);
    plain[plainCount] = index;
    tables[tableCount] = index;
    others[otherCount] = index;
    plainCount += static_cast<std::size_t>(isPlain);
    tableCount += static_cast<std::size_t>(isTable & !isPlain);
    otherCount += static_cast<std::size_t>(!isTable);
  }
  for (std::size_t k = 0; k < plainCount; ++k) {
    const std::size_t i = plain[k];
    results[i] = RunPlainSumTable(rows[i]->method, *calls[i].digits);
  }
  for (std::size_t k = 0; k < tableCount; ++k) {
    const std::size_t i = tables[k];
    results[i] = RunSumTableOnBlock(rows[i]->method, *calls[i].digits, calls[i].account.size(), 0);
  }
  for (std::size_t k = 0; k < otherCount; ++k) {
    const std::size_t i = others[k];
    const MethodCall& call = calls[i];
    results[i] = rows[i] == nullptr
                     ? kMethodNotFound
                     : RunRow(*rows[i], rules, *call.digits, call.account, call.bankCode);
  }
}

}  // namespace

void ComputeMethodsOnDigits(std::span<const MethodCall> calls, std::span<int> results,
                            const RuleSet& rules) {
  for (std::size_t start = 0; start < calls.size(); start += kChunk) {
    const std::size_t count = std::min(kChunk, calls.size() - start);
    ComputeChunk(calls.subspan(start, count), results.subspan(start, count), rules);
  }
}

int ComputeSubMethod(std::string_view account, std::string_view key) {
  return ComputeMethod(account, key, {});
}

std::span<const std::string_view> Keys() { return k2009Rules.keys; }

const RuleSet& Rules(Generation generation) {
  return generation == Generation::kCurrent ? kCurrentRules : k2009Rules;
}

}  // namespace tavrel::engine
