// Hooks for tests and benchmarks only: they let a test make the fill fail and let
// a benchmark time the fill more than once. Not for use while other threads use
// the directory.
#pragma once

#include <cstddef>

namespace tavrel::directory::testing {

// The next fill throws std::bad_alloc after inserting `insertions` entries, as an
// exhausted heap would; the fill after that runs normally.
void FailNextFillAfter(std::size_t insertions);

// How many fills have run to the end in this process.
std::size_t CompletedFills();

// Empties the directory and clears its loaded flag, so that the next call fills
// it again.
void ResetDirectory();

}  // namespace tavrel::directory::testing
