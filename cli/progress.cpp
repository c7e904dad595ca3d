#include "internal/progress.h"

#include <unistd.h>

#include <string>

#include "internal/output.h"

namespace tavrel::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
// Moves to the start of the line and erases it.
constexpr std::string_view kClearLine = "\r\x1b[K";

}  // namespace

ProgressMeter::ProgressMeter(int fd)
    : fd_(fd),
      enabled_(::isatty(fd) == 1),
      start_(Clock::now()),
      // The first finished chunk draws at once, so even a short run shows that
      // it ran; later draws wait out the interval.
      nextDraw_(start_) {}

void ProgressMeter::Add(std::uint64_t lines, std::uint64_t bytes) {
  lines_ += lines;
  bytes_ += bytes;
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (now >= nextDraw_) Draw(now);
}

void ProgressMeter::Draw(Clock::time_point now) {
  const std::chrono::duration<double> elapsed = now - start_;
  std::string text(kClearLine);
  text += "tavrel: ";
  AppendDecimal(text, static_cast<long long>(lines_));
  text += " lines, ";
  AppendDecimal(text, static_cast<long long>(static_cast<double>(lines_) / elapsed.count()));
  text += " lines/s";
  WriteAll(fd_, text);
  drawn_ = true;
  nextDraw_ = now + kRedrawInterval;
}

void ProgressMeter::Finish() {
  if (drawn_) WriteAll(fd_, kClearLine);
  drawn_ = false;
}

}  // namespace tavrel::cli
