// The directory's hot paths: the lookup on every account check, the bank search
// on every keystroke in the search field, and the one-time fill.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"

namespace tavrel::directory {
namespace {

std::vector<std::string> AllBankCodes() {
  std::vector<std::string> bankCodes;
  ForEachEntry(
      [&](std::string_view bankCode, std::string_view) { bankCodes.emplace_back(bankCode); });
  return bankCodes;
}

// Every bank code in turn, so the table is visited across its whole width.
void BM_FindEntryHit(benchmark::State& state) {
  const std::vector<std::string> bankCodes = AllBankCodes();
  std::size_t next = 0;
  for (auto _ : state) {
    EntryView entry;
    benchmark::DoNotOptimize(FindEntry(bankCodes[next], entry));
    benchmark::DoNotOptimize(entry);
    next = next + 1 == bankCodes.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindEntryHit);

void BM_FindEntryMiss(benchmark::State& state) {
  const std::vector<std::string> misses = {"10000001", "99999999", "1000000", "1000000x",
                                           "55555555"};
  std::size_t next = 0;
  for (auto _ : state) {
    EntryView entry;
    benchmark::DoNotOptimize(FindEntry(misses[next], entry));
    next = next + 1 == misses.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindEntryMiss);

void BM_LookupBankName(benchmark::State& state) {
  std::string name;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LookupBankName("10070100", name));
  }
}
BENCHMARK(BM_LookupBankName);

void BM_Fill(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    testing::ResetDirectory();
    state.ResumeTiming();
    EnsureLoaded();
  }
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMicrosecond);

// Name searches: few hits show the scan itself; many hits add building the lines.
void BM_NameSearch(benchmark::State& state, std::string_view text) {
  EnsureLoaded();
  std::size_t hits = 0;
  for (auto _ : state) {
    hits = BankSearch(text, true).hits.size();
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK_CAPTURE(BM_NameSearch, one_term_one_hit, "volksbank chemnitz")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NameSearch, two_terms_one_hit, "volksbank,chemnitz")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NameSearch, no_hit, "zzz")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NameSearch, sparda_17_hits, "sparda")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NameSearch, bank_many_hits, "bank")->Unit(benchmark::kMicrosecond);

void BM_PrefixSearch(benchmark::State& state, std::string_view text) {
  EnsureLoaded();
  std::size_t hits = 0;
  for (auto _ : state) {
    hits = BankSearch(text, false).hits.size();
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK_CAPTURE(BM_PrefixSearch, four_hits, "100500")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PrefixSearch, sixty_six_hits, "10")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PrefixSearch, no_hit, "99")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrel::directory
