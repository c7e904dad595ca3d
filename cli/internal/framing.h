// How the batch input is cut into records (lines, or CSV records): the length
// limit both share and the answer to "where does the record at the start of these
// bytes end". The answer depends on the bytes alone, never on how many of them a
// read happened to deliver, so a file and a slow pipe are cut the same way.
#pragma once

#include <cstddef>

namespace tavrel::cli {

// Longest line or record held whole, its line end not counted.
inline constexpr std::size_t kMaxLineLength = 65536;
static_assert(kMaxLineLength == 65536, "the reason text names the limit");
inline constexpr const char* kTooLong = "longer than 65536 bytes";

enum class FrameKind {
  kNeedMore,      // the bytes end before the record's end is known
  kWhole,         // a whole record
  kUnterminated,  // a whole CSV record whose quoted field never closes (see csv.h)
  kOverLong,      // a record longer than the limit, not to be kept
};

struct RecordFrame {
  FrameKind kind = FrameKind::kNeedMore;
  // kWhole and kUnterminated: the bytes the record takes, its line end included.
  // kOverLong: the record ends at the first LF at or after this position (or at
  // the end of the input); no LF before it ends the record.
  std::size_t end = 0;
};

}  // namespace tavrel::cli
