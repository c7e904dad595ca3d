// The German IBAN check with its account check against CheckAccount on the same
// accounts: every bank code of the directory with accounts of one to ten digits,
// about half of them valid. The IBAN check should reach at least 80 % of
// CheckAccount's rate; compare the checks_per_s medians of one run, its
// repetitions interleaved so that other load on the machine hits both alike:
//
//   bench_iban --benchmark_repetitions=21 --benchmark_enable_random_interleaving=true
//              --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace {

using namespace tavrel;

struct Input {
  std::string bankCode;
  std::string account;
  iban::IbanText iban;
  std::string printed;
};

const std::vector<Input>& Corpus() {
  static const std::vector<Input> corpus = [] {
    std::vector<std::string> bankCodes;
    directory::ForEachEntry(
        [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
    std::mt19937 random(4051);
    std::vector<Input> inputs;
    for (int round = 0; round < 4; ++round) {
      for (const std::string& bankCode : bankCodes) {
        Input input{bankCode, std::string(1 + random() % 10, '0'), {}, {}};
        for (char& c : input.account) c = static_cast<char>('1' + random() % 9);
        const bool makeValid = random() % 2 == 0;
        for (char digit = '0'; makeValid && digit <= '9'; ++digit) {
          input.account.back() = digit;
          if (IsValid(service::CheckAccount({input.bankCode, input.account}))) break;
        }
        input.iban = iban::BuildGerman(input.bankCode, input.account).iban;
        input.printed = std::string(iban::PrintFormat(input.iban).view());
        inputs.push_back(std::move(input));
      }
    }
    std::shuffle(inputs.begin(), inputs.end(), random);
    return inputs;
  }();
  return corpus;
}

template <typename Check>
void RunCorpus(benchmark::State& state, Check check) {
  const std::vector<Input>& corpus = Corpus();
  std::size_t valid = 0;
  for (auto _ : state) {
    for (const Input& input : corpus) valid += check(input) ? 1 : 0;
    benchmark::DoNotOptimize(valid);
  }
  const auto checks = static_cast<double>(state.iterations() * corpus.size());
  state.counters["checks_per_s"] = benchmark::Counter(checks, benchmark::Counter::kIsRate);
  state.counters["ns_per_check"] =
      benchmark::Counter(checks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["valid_share"] = static_cast<double>(valid) / checks;
}

void CheckAccountOfTheAccounts(benchmark::State& state) {
  RunCorpus(state, [](const Input& input) {
    return IsValid(service::CheckAccount({input.bankCode, input.account}));
  });
}
BENCHMARK(CheckAccountOfTheAccounts)->Unit(benchmark::kMillisecond);

// Valid counts the IBAN and its account both.
bool IsValidWithAccount(const iban::IbanVerdict& verdict) {
  return verdict.iban == Outcome::kValid && verdict.german &&
         IsValid(verdict.german->accountOutcome);
}

void CheckIbanElectronicForm(benchmark::State& state) {
  RunCorpus(state, [](const Input& input) {
    return IsValidWithAccount(iban::CheckIban(input.iban.view()));
  });
}
BENCHMARK(CheckIbanElectronicForm)->Unit(benchmark::kMillisecond);

void CheckIbanPrintForm(benchmark::State& state) {
  RunCorpus(state,
            [](const Input& input) { return IsValidWithAccount(iban::CheckIban(input.printed)); });
}
BENCHMARK(CheckIbanPrintForm)->Unit(benchmark::kMillisecond);

// The IBAN alone: normalisation, structure and checksum, no account check.
void ParseElectronicForm(benchmark::State& state) {
  RunCorpus(state, [](const Input& input) {
    return iban::Parse(input.iban.view()).outcome == Outcome::kValid;
  });
}
BENCHMARK(ParseElectronicForm)->Unit(benchmark::kMillisecond);

}  // namespace
