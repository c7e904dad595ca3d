// Hooks for tests and benchmarks only: they let a test make the fill fail and let
// a benchmark time the fill more than once (not for use while other threads use
// the directory), and they write Bundesbank records.
#pragma once

#include <cstddef>
#include <string>

#include "tavrel/directory.h"

namespace tavrel::directory::testing {

// The next fill throws std::bad_alloc after inserting `insertions` entries, as an
// exhausted heap would; the fill after that runs normally.
void FailNextFillAfter(std::size_t insertions);

// How many fills have run to the end in this process.
std::size_t CompletedFills();

// Empties the directory and clears its loaded flag, so that the next call fills
// it again.
void ResetDirectory();

// A Bundesbank bank-code record holding `bank`: 168 characters, or 174 when it
// has an IBAN rule; no line end. No successor is written as 00000000.
std::string BundesbankRecord(const Bank& bank, char feature = '1', char changeFlag = 'U');

}  // namespace tavrel::directory::testing
