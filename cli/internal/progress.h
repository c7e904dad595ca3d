// The progress line of the batch modes: lines done and the rate, redrawn a few
// times a second on standard error while it is a terminal, cleared at the end.
#pragma once

#include <chrono>
#include <cstdint>

namespace tavrel::cli {

class ProgressMeter {
 public:
  // Shows nothing unless `fd` is a terminal.
  explicit ProgressMeter(int fd);
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
  std::uint64_t lines_ = 0;
  std::uint64_t bytes_ = 0;
  Clock::time_point start_;
  Clock::time_point nextDraw_;
};

}  // namespace tavrel::cli
