// The batch check's handler without sockets: a JSON array and NDJSON of 10,000
// items (every bank of the directory, accounts of one to ten digits), and one
// GET check. Items per second here is the handler's ceiling for the server.
// The same items against the current directory, as `tavrel serve` serves by
// default: a quarter of the bank codes are gone there and answered with a finding.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "http/internal/api.h"
#include "http/internal/batch.h"
#include "tavrel/directory.h"

namespace {

using namespace tavrel::http;

std::string Items(bool ndjson) {
  std::vector<std::string> codes;
  tavrel::directory::ForEachEntry(
      [&](std::string_view code, std::string_view) { codes.emplace_back(code); });
  std::mt19937 random(20091207);
  std::string body = ndjson ? "" : "[";
  for (std::size_t i = 0; i < kMaxBatchItems; ++i) {
    const std::string account = std::to_string(random() % 10'000'000'000ULL);
    if (!ndjson && i > 0) body += ',';
    body +=
        R"({"bank_code":")" + codes[random() % codes.size()] + R"(","account":")" + account + "\"}";
    if (ndjson) body += '\n';
  }
  return body + (ndjson ? "" : "]");
}

const Api& TheApi() {
  static const Api api;
  return api;
}

const Api& CurrentApi() {
  static const Api api(OpenCore("current").core);
  return api;
}

void Batch(benchmark::State& state, bool ndjson, const Api& api = TheApi()) {
  const std::string body = Items(ndjson);
  const Request request{"POST", "/api/v1/check", {}, ndjson ? kNdjsonType : kJsonType, body};
  for (auto _ : state) benchmark::DoNotOptimize(api.Handle(request));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMaxBatchItems));
}

void BM_BatchJson(benchmark::State& state) { Batch(state, false); }
void BM_BatchNdjson(benchmark::State& state) { Batch(state, true); }
void BM_BatchJsonCurrent(benchmark::State& state) { Batch(state, false, CurrentApi()); }

void BM_CheckOne(benchmark::State& state) {
  const Request request{
      "GET", "/api/v1/check", {{"bank_code", "12030000"}, {"account", "9290701"}}};
  for (auto _ : state) benchmark::DoNotOptimize(TheApi().Handle(request));
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_BatchJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchNdjson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchJsonCurrent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOne);

}  // namespace
