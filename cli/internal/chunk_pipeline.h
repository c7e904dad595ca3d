// Runs a batch chunk by chunk: on the calling thread, or on a pool of worker
// threads while the calling thread reads the input and writes the outputs in
// input order. Memory stays bounded: at most two chunks per worker are in flight.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "batch_reader.h"
#include "output.h"
#include "progress.h"

namespace tavrel::cli {

struct BatchCounts {
  std::uint64_t lines = 0;
  std::uint64_t malformed = 0;
  // The well-formed lines by their results (see CountResult in batch.h).
  std::uint64_t valid = 0;
  std::uint64_t invalid = 0;
  std::uint64_t faults = 0;
  std::uint64_t bytes = 0;  // of the input the lines took

  BatchCounts& operator+=(const BatchCounts& other) {
    lines += other.lines;
    malformed += other.malformed;
    valid += other.valid;
    invalid += other.invalid;
    faults += other.faults;
    bytes += other.bytes;
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
