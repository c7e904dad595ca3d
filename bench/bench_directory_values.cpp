// Directories as values: loading a Bundesbank file of about 14,000 records, and
// the check path's lookup in a loaded directory beside the compiled-in current
// one and the 2009 BankMap behind FindMethodCode. Each lookup benchmark visits
// its directory's bank codes in one shuffled order, as checks of mixed banks do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"

namespace tavrel::directory {
namespace {

namespace fs = std::filesystem;

constexpr int kBranchesPerBank = 3;

// The compiled-in current directory written out as a Bundesbank file: each bank
// with its Merkmal 1 record and three branches, 14,012 records, CRLF.
const fs::path& GeneratedFile() {
  static const fs::path path = [] {
    fs::path file = fs::temp_directory_path() / "tavrel_bench_blz_20260309.txt";
    std::ofstream out(file, std::ios::binary);
    for (const Bank bank : *CompiledDirectory(RuleGeneration::kCurrent)) {
      out << testing::BundesbankRecord(bank) << "\r\n";
      for (int branch = 0; branch < kBranchesPerBank; ++branch) {
        out << testing::BundesbankRecord(bank, '2') << "\r\n";
      }
    }
    return file;
  }();
  return path;
}

std::shared_ptr<const Directory> LoadedCurrent() {
  static const std::shared_ptr<const Directory> loaded = LoadDirectory(GeneratedFile()).directory;
  return loaded;
}

void BM_LoadFile(benchmark::State& state, const fs::path& path) {
  std::size_t entries = 0;
  for (auto _ : state) {
    const LoadResult result = LoadDirectory(path);
    if (!result.directory) {
      state.SkipWithError(result.error ? Describe(*result.error).c_str() : "not loaded");
      return;
    }
    entries = result.directory->size();
  }
  state.counters["entries"] = static_cast<double>(entries);
}

std::vector<std::string> ShuffledCodes(const Directory& directory) {
  std::vector<std::string> codes;
  for (const Bank bank : directory) codes.emplace_back(bank.bankCode);
  std::shuffle(codes.begin(), codes.end(), std::mt19937(2026));
  return codes;
}

template <typename Lookup>
void RunLookups(benchmark::State& state, const std::vector<std::string>& codes, Lookup lookup) {
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lookup(codes[next]));
    next = next + 1 == codes.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_MethodCode_Loaded(benchmark::State& state) {
  const std::shared_ptr<const Directory> directory = LoadedCurrent();
  RunLookups(state, ShuffledCodes(*directory),
             [&](const std::string& code) { return directory->FindMethodCode(code); });
}
BENCHMARK(BM_MethodCode_Loaded);

void BM_MethodCode_CompiledCurrent(benchmark::State& state) {
  const std::shared_ptr<const Directory> directory = CompiledDirectory(RuleGeneration::kCurrent);
  RunLookups(state, ShuffledCodes(*directory),
             [&](const std::string& code) { return directory->FindMethodCode(code); });
}
BENCHMARK(BM_MethodCode_CompiledCurrent);

void BM_MethodCode_Published(benchmark::State& state) {
  const PublishedDirectory published(LoadedCurrent());
  RunLookups(state, ShuffledCodes(*LoadedCurrent()),
             [&](const std::string& code) { return published.Current().FindMethodCode(code); });
}
BENCHMARK(BM_MethodCode_Published);

void BM_MethodCode_BankMap2009(benchmark::State& state) {
  const std::vector<std::string> codes = ShuffledCodes(*CompiledDirectory(RuleGeneration::k2009));
  RunLookups(state, codes, [](const std::string& code) {
    std::string_view methodCode;
    FindMethodCode(code, methodCode);
    return methodCode;
  });
}
BENCHMARK(BM_MethodCode_BankMap2009);

void BM_WholeRecord_Loaded(benchmark::State& state) {
  const std::shared_ptr<const Directory> directory = LoadedCurrent();
  RunLookups(state, ShuffledCodes(*directory),
             [&](const std::string& code) { return directory->Find(code); });
}
BENCHMARK(BM_WholeRecord_Loaded);

void BM_WholeRecord_CompiledCurrent(benchmark::State& state) {
  const std::shared_ptr<const Directory> directory = CompiledDirectory(RuleGeneration::kCurrent);
  RunLookups(state, ShuffledCodes(*directory),
             [&](const std::string& code) { return directory->Find(code); });
}
BENCHMARK(BM_WholeRecord_CompiledCurrent);

void BM_NameSearch_CompiledCurrent(benchmark::State& state) {
  const std::shared_ptr<const Directory> directory = CompiledDirectory(RuleGeneration::kCurrent);
  for (auto _ : state) {
    benchmark::DoNotOptimize(SearchBanks(*directory, "volksbank,chemnitz"));
  }
}
BENCHMARK(BM_NameSearch_CompiledCurrent)->Unit(benchmark::kMicrosecond);

void BM_LoadFile_Generated14012Records(benchmark::State& state) {
  BM_LoadFile(state, GeneratedFile());
}
BENCHMARK(BM_LoadFile_Generated14012Records)->Unit(benchmark::kMillisecond);

// The real file, 13,877 records, when the shared data is at hand.
void BM_LoadFile_Bundesbank20260309(benchmark::State& state) {
  const char* shared = std::getenv("TAVREL_SHARED_DATA");
  if (shared == nullptr) {
    state.SkipWithError("TAVREL_SHARED_DATA is not set");
    return;
  }
  BM_LoadFile(state, fs::path(shared) / "blz_20260309.txt");
}
BENCHMARK(BM_LoadFile_Bundesbank20260309)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrel::directory
