// The progress line of the batch modes: lines done and the rate, and when the
// input's size is known the share done and the time left, redrawn a few times a
// second on standard error while it is a terminal, cleared at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tavrel::cli {

class ProgressMeter {
 public:
  // Shows nothing unless `fd` is a terminal. `totalBytes`: the input's size.
  explicit ProgressMeter(int fd, std::optional<std::uint64_t> totalBytes = std::nullopt);
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void Add(std::uint64_t lines, std::uint64_t bytes);
  // Clears the progress line if one was drawn.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  void Draw(Clock::time_point now);

  int fd_;
  bool enabled_;
  bool drawn_ = false;
  std::optional<std::uint64_t> totalBytes_;
  std::uint64_t lines_ = 0;
  std::uint64_t bytes_ = 0;
  Clock::time_point start_;
  Clock::time_point nextDraw_;
};

// "tavrel: 45% 4500000 lines, 3000000 lines/s, 2 s left" (the share and the time
// left only with a known total), as the progress line shows it.
std::string ProgressText(std::uint64_t lines, std::uint64_t bytes,
                         std::optional<std::uint64_t> totalBytes, double seconds);

}  // namespace tavrel::cli
