// The typo-tolerant bank search over the compiled-in current directory, for the
// queries people type: one term, two terms, a typo, an umlaut spelt "ue", a
// bank code. Target: under 1 ms for each full search.
#include <benchmark/benchmark.h>

#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

void BM_FuzzySearch(benchmark::State& state, const char* query) {
  const Directory& current = *CompiledDirectory(RuleGeneration::kCurrent);
  std::size_t hits = 0;
  for (auto _ : state) {
    const FuzzySearchResult result = FuzzySearchBanks(current, query);
    hits = result.hits.size();
    benchmark::DoNotOptimize(result.hits.data());
  }
  state.counters["hits"] = static_cast<double>(hits);
}

BENCHMARK_CAPTURE(BM_FuzzySearch, one_term, "sparkasse")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FuzzySearch, two_terms, "volksbank chemnitz")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FuzzySearch, typo, "comerzbank")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FuzzySearch, typo_two_terms, "volksbnak chemnitz")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FuzzySearch, umlaut_ue, "muenchen")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FuzzySearch, bank_code, "12030000")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrel::directory
