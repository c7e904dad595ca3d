// Cost of one SuggestCorrections call on an invalid ten-digit account: every
// candidate one slip away (9 transpositions, 90 substitutions, the doubled
// digits) built and checked by the bank's method, the check digit's place found,
// the valid ones ranked and capped. Target: under 10 us per account. Also the
// mean over every bank of the directory (items per second), the bank-code
// candidates, and the explanation of one check.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace {

using tavrel::service::SuggestCorrections;

void Suggest(benchmark::State& state, std::string_view bankCode, std::string_view account,
             bool bankCodes) {
  const tavrel::service::RuleSet& rules = tavrel::service::DefaultRules();
  if (tavrel::service::CheckAccount({bankCode, account}, rules) !=
      tavrel::Outcome::kInvalidCheckDigit) {
    state.SkipWithError("the account must fail its check digit test");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(SuggestCorrections(
        {bankCode, account}, tavrel::service::DefaultSourceWith(rules), {5, bankCodes}));
  }
}

// An invalid ten-digit account at every bank of the directory whose method
// fails some: the mean over the methods as banks use them.
void SuggestAtEveryBank(benchmark::State& state) {
  const tavrel::service::RuleSet& rules = tavrel::service::DefaultRules();
  std::vector<std::pair<std::string, std::string>> queries;
  std::mt19937 random(10);
  tavrel::directory::ForEachEntry([&](std::string_view bankCode, std::string_view) {
    std::string account(10, '0');
    for (char& c : account) c = static_cast<char>('1' + random() % 9);
    for (char last = '0'; last <= '9'; ++last) {
      account.back() = last;
      if (tavrel::service::CheckAccount({bankCode, account}, rules) ==
          tavrel::Outcome::kInvalidCheckDigit) {
        queries.emplace_back(bankCode, account);
        return;
      }
    }
  });
  for (auto _ : state) {
    for (const auto& [bankCode, account] : queries)
      benchmark::DoNotOptimize(SuggestCorrections(
          {bankCode, account}, tavrel::service::DefaultSourceWith(rules), {5, false}));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(queries.size()));
}

void Explain(benchmark::State& state, std::string_view bankCode, std::string_view account) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(tavrel::service::ExplainAccount(
        {bankCode, account}, tavrel::service::DefaultSourceWith(tavrel::service::DefaultRules())));
  }
}

}  // namespace

// Methods 00 and 06 (one recipe each), 63 (a procedure with retries) and 87 (a
// sequence behind a ledger test, its first variant on the record path).
BENCHMARK(SuggestAtEveryBank)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Suggest, method00, "12030000", "1234567890", false);
BENCHMARK_CAPTURE(Suggest, method06, "10060198", "1234567891", false);
BENCHMARK_CAPTURE(Suggest, method63, "10070000", "0123456780", false);
BENCHMARK_CAPTURE(Suggest, method87, "60090800", "1234567890", false);
BENCHMARK_CAPTURE(Suggest, method00WithBankCodes, "12030000", "1234567890", true);
BENCHMARK_CAPTURE(Explain, method00, "12030000", "1234567890");
BENCHMARK_CAPTURE(Explain, method87, "60090800", "1234567890");
