// Runs a batch chunk by chunk: on the calling thread, or on a pool of worker
// threads while the calling thread reads the input and writes the outputs in
// input order. Memory stays bounded: at most two chunks per worker are in flight.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "batch_reader.h"
#include "output.h"
#include "progress.h"
#include "tavrel/outcome.h"

namespace tavrel::cli {

// The lines of a batch, the well-formed ones by their result: a slot per value
// from -13 to 1 and one for any other, so counting a line is one increment
// whatever its result.
struct BatchCounts {
  static constexpr int kLowestResult = ValueOf(Outcome::kIbanChecksum);
  static constexpr std::size_t kSlots = 1 - kLowestResult + 2;

  std::uint64_t lines = 0;
  std::uint64_t malformed = 0;
  std::uint64_t bytes = 0;  // of the input the lines took
  std::array<std::uint64_t, kSlots> byResult{};

  void CountResult(int result) {
    const auto slot = static_cast<std::size_t>(static_cast<unsigned>(result - kLowestResult));
    ++byResult[slot < kSlots - 1 ? slot : kSlots - 1];
  }
  std::uint64_t Of(Outcome outcome) const {
    return byResult[static_cast<std::size_t>(ValueOf(outcome) - kLowestResult)];
  }
  // 0 and 1 valid; -3 and -13 invalid; every other result an input fault.
  std::uint64_t Valid() const { return Of(Outcome::kValid) + Of(Outcome::kValidWithoutCheck); }
  std::uint64_t Invalid() const {
    return Of(Outcome::kInvalidCheckDigit) + Of(Outcome::kIbanChecksum);
  }
  std::uint64_t Faults() const { return lines - malformed - Valid() - Invalid(); }

  BatchCounts& operator+=(const BatchCounts& other) {
    lines += other.lines;
    malformed += other.malformed;
    bytes += other.bytes;
    for (std::size_t i = 0; i < kSlots; ++i) byResult[i] += other.byResult[i];
    return *this;
  }
};

// Fetches the next chunk; false at the end of the input.
using ChunkSource = std::function<bool(Chunk& chunk)>;
// Appends the output for one chunk; must depend on nothing but the chunk, and is
// called from several threads at once.
using ChunkWork = std::function<BatchCounts(const Chunk& chunk, std::string& out)>;

inline constexpr unsigned kMaxThreads = 16;

// Feeds every chunk to `work` and writes the outputs to `sink` in input order,
// with `threads` workers (1: no extra thread). Stops reading once a write fails.
// The sink is flushed at the end. Returns the summed counts.
BatchCounts RunChunks(const ChunkSource& next, const ChunkWork& work, unsigned threads,
                      OutputSink& sink, ProgressMeter& progress);

}  // namespace tavrel::cli
