// Cost of one ComputeMethod call for every key of the 2009 rules, and for the keys
// the current rules add ("ComputeMethod/current/KEY"), over a fixed mix of
// accounts (one to ten digits, valid and invalid). Prints ns per check.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "tavrel/engine.h"

namespace {

constexpr std::array<std::string_view, 16> kAccounts = {
    "9290701",    "1234567897", "0012345674", "123456789",  "1",          "4711",
    "9876543210", "0000065516", "5432112345", "2974118000", "8840019000", "12345",
    "0123456789", "7000062022", "9141405",    "3900000000",
};

void ComputeKey(benchmark::State& state, std::string_view key) {
  for (auto _ : state) {
    for (std::string_view account : kAccounts) {
      benchmark::DoNotOptimize(tavrel::engine::ComputeMethod(account, key, "10050005"));
    }
  }
  const auto checks = static_cast<double>(state.iterations() * kAccounts.size());
  state.counters["ns_per_check"] =
      benchmark::Counter(checks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ComputeCurrentKey(benchmark::State& state, std::string_view key) {
  const tavrel::engine::RuleSet& rules =
      tavrel::engine::Rules(tavrel::engine::Generation::kCurrent);
  for (auto _ : state) {
    for (std::string_view account : kAccounts) {
      benchmark::DoNotOptimize(tavrel::engine::ComputeMethod(account, key, "10050005", rules));
    }
  }
  const auto checks = static_cast<double>(state.iterations() * kAccounts.size());
  state.counters["ns_per_check"] =
      benchmark::Counter(checks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

const bool kRegistered = [] {
  const auto keys2009 = tavrel::engine::Keys();
  for (std::string_view key : keys2009) {
    benchmark::RegisterBenchmark(("ComputeMethod/" + std::string(key)).c_str(), ComputeKey, key);
  }
  for (std::string_view key :
       tavrel::engine::Keys(tavrel::engine::Rules(tavrel::engine::Generation::kCurrent))) {
    if (std::find(keys2009.begin(), keys2009.end(), key) != keys2009.end()) continue;
    benchmark::RegisterBenchmark(("ComputeMethod/current/" + std::string(key)).c_str(),
                                 ComputeCurrentKey, key);
  }
  return true;
}();

}  // namespace
