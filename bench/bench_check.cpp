// CheckAccount on a realistic corpus: every bank code of the directory with
// accounts of one to ten digits, about half of them valid, a few input faults.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace {

struct Input {
  std::string account;
  std::string bankCode;
};

std::string RandomDigits(std::mt19937& random, std::size_t length) {
  std::string digits(length, '0');
  for (char& c : digits) c = static_cast<char>('0' + random() % 10);
  if (digits[0] == '0') digits[0] = '1';
  return digits;
}

// Makes the account valid for its bank where one of the ten last digits does.
void MakeValid(Input& input) {
  for (char digit = '0'; digit <= '9'; ++digit) {
    input.account.back() = digit;
    const int result = tavrel::service::CheckAccount(input.account, input.bankCode);
    if (result == 0 || result == 1) return;
  }
}

const std::vector<Input>& Corpus() {
  static const std::vector<Input> corpus = [] {
    std::vector<std::string> bankCodes;
    tavrel::directory::ForEachEntry(
        [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
    std::mt19937 random(4051);
    std::vector<Input> inputs;
    for (int round = 0; round < 4; ++round) {
      for (const std::string& bankCode : bankCodes) {
        Input input{RandomDigits(random, 1 + random() % 10), bankCode};
        if (random() % 2 == 0) MakeValid(input);
        if (random() % 50 == 0) input.account += "x";       // input fault -8
        if (random() % 50 == 0) input.bankCode.pop_back();  // input fault -5
        inputs.push_back(std::move(input));
      }
    }
    std::shuffle(inputs.begin(), inputs.end(), random);
    return inputs;
  }();
  return corpus;
}

void CheckAccountCorpus(benchmark::State& state) {
  const std::vector<Input>& corpus = Corpus();
  std::size_t valid = 0;
  for (auto _ : state) {
    for (const Input& input : corpus) {
      const int result = tavrel::service::CheckAccount(input.account, input.bankCode);
      valid += result >= 0;
      benchmark::DoNotOptimize(result);
    }
  }
  const auto checks = static_cast<double>(state.iterations() * corpus.size());
  state.counters["checks_per_s"] = benchmark::Counter(checks, benchmark::Counter::kIsRate);
  state.counters["ns_per_check"] =
      benchmark::Counter(checks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["valid_share"] = static_cast<double>(valid) / checks;
}
BENCHMARK(CheckAccountCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
