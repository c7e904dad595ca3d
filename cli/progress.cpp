#include "internal/progress.h"

#include <unistd.h>

#include <algorithm>
#include <string>

#include "internal/output.h"

namespace tavrel::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
// Moves to the start of the line and erases it.
constexpr std::string_view kClearLine = "\r\x1b[K";

}  // namespace

ProgressMeter::ProgressMeter(int fd, std::optional<std::uint64_t> totalBytes)
    : fd_(fd),
      enabled_(::isatty(fd) == 1),
      totalBytes_(totalBytes),
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
  WriteAll(fd_,
           std::string(kClearLine) + ProgressText(lines_, bytes_, totalBytes_, elapsed.count()));
  drawn_ = true;
  nextDraw_ = now + kRedrawInterval;
}

void ProgressMeter::Finish() {
  if (drawn_) WriteAll(fd_, kClearLine);
  drawn_ = false;
}

std::string ProgressText(std::uint64_t lines, std::uint64_t bytes,
                         std::optional<std::uint64_t> totalBytes, double seconds) {
  std::string text = "tavrel: ";
  // The bytes done stand for the share done; a file growing while read stays at 100 %.
  const double share =
      totalBytes && *totalBytes > 0
          ? std::min(1.0, static_cast<double>(bytes) / static_cast<double>(*totalBytes))
          : 0;
  if (totalBytes) {
    AppendDecimal(text, static_cast<long long>(share * 100));
    text += "% ";
  }
  AppendDecimal(text, static_cast<long long>(lines));
  text += " lines, ";
  AppendDecimal(text,
                static_cast<long long>(seconds > 0 ? static_cast<double>(lines) / seconds : 0));
  text += " lines/s";
  if (totalBytes && share > 0) {
    text += ", ";
    AppendDecimal(text, static_cast<long long>(seconds * (1 - share) / share + 0.5));
    text += " s left";
  }
  return text;
}

}  // namespace tavrel::cli
