// One command that shows where the project stands against its performance
// targets: every figure is the median of several timed runs on this machine,
// printed with its target beside it.
//
//   targets [PATH_TO_TAVREL]
//   targets --check      only the CheckAccount figures
//
// The batch figures come from batch_throughput, run as a child at the end.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"
#include "tavrel/service.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Seconds per call of `work`, median over `runs` timings of `repeat` calls.
double TimePerCall(const std::function<void()>& work, int runs, int repeat) {
  std::vector<double> seconds;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    for (int i = 0; i < repeat; ++i) work();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count() / repeat);
  }
  return Median(seconds);
}

void Report(const char* figure, double value, const char* unit, const char* comparison,
            double target) {
  const bool met = comparison[0] == '>' ? value >= target : value <= target;
  std::printf("%-46s %12.2f %-10s target %s %-10g %s\n", figure, value, unit, comparison, target,
              met ? "met" : "NOT MET");
}

struct Input {
  std::string account;
  std::string bankCode;
};

// Every bank code of the directory with accounts of one to ten digits, about half
// of them made valid, a few input faults.
std::vector<Input> CheckCorpus() {
  std::vector<std::string> bankCodes;
  tavrel::directory::ForEachEntry(
      [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
  std::mt19937 random(4051);
  std::vector<Input> corpus;
  for (int round = 0; round < 4; ++round) {
    for (const std::string& bankCode : bankCodes) {
      Input input{std::string(1 + random() % 10, '0'), bankCode};
      for (char& c : input.account) c = static_cast<char>('1' + random() % 9);
      const bool makeValid = random() % 2 == 0;
      for (char digit = '0'; makeValid && digit <= '9'; ++digit) {
        input.account.back() = digit;
        if (tavrel::service::CheckAccount(input.account, input.bankCode) >= 0) break;
      }
      if (random() % 50 == 0) input.account += "x";
      corpus.push_back(std::move(input));
    }
  }
  std::shuffle(corpus.begin(), corpus.end(), random);
  return corpus;
}

void CheckAccountRate() {
  const std::vector<Input> corpus = CheckCorpus();
  const auto valid = std::count_if(corpus.begin(), corpus.end(), [](const Input& input) {
    return tavrel::service::CheckAccount(input.account, input.bankCode) >= 0;
  });
  std::printf("(corpus: %zu checks, %.0f%% valid)\n", corpus.size(),
              100.0 * static_cast<double>(valid) / static_cast<double>(corpus.size()));
  int sink = 0;
  const double perCorpus = TimePerCall(
      [&] {
        for (const Input& input : corpus)
          sink += tavrel::service::CheckAccount(input.account, input.bankCode);
      },
      9, 50);
  const double perCheck = perCorpus / static_cast<double>(corpus.size());
  Report("CheckAccount, realistic corpus, one thread", 1e-6 / perCheck, "M/s", ">=", 25);
  Report("CheckAccount, ns per check", perCheck * 1e9, "ns", "<=", 40);
  if (sink == 42) std::puts("");
}

void SearchTimes() {
  std::size_t sink = 0;
  const double name = TimePerCall(
      [&] { sink += tavrel::directory::BankSearch("volksbank,chemnitz", false).hits.size(); }, 21,
      200);
  Report("BankSearch, full name search", name * 1e6, "us", "<=", 50);
  const double prefix = TimePerCall(
      [&] { sink += tavrel::directory::BankSearch("1005", false).hits.size(); }, 21, 200);
  Report("BankSearch, bank-code prefix search", prefix * 1e6, "us", "<=", 20);
  if (sink == 42) std::puts("");
}

void FirstFill() {
  std::vector<double> seconds;
  for (int run = 0; run < 21; ++run) {
    tavrel::directory::testing::ResetDirectory();
    const auto start = Clock::now();
    tavrel::directory::EnsureLoaded();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  Report("First fill of the directory", Median(seconds) * 1e3, "ms", "<=", 1);
}

// Wall time of one `tavrel check` process, output discarded.
void ProcessTime(const char* tavrel) {
  std::vector<double> seconds;
  for (int run = 0; run < 21; ++run) {
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
      if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
      execl(tavrel, tavrel, "check", "12030000", "9290701", static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::printf("%s check 12030000 9290701 failed (status %d)\n", tavrel, status);
      return;
    }
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  Report("tavrel check BANKCODE ACCOUNT, one process", Median(seconds) * 1e3, "ms", "<=", 5);
}

// The batch modes on a generated ten-million-line input, timed by their own tool.
void BatchThroughput() {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    execl(TAVREL_BATCH_THROUGHPUT, TAVREL_BATCH_THROUGHPUT, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::printf("batch_throughput failed (status %d)\n", status);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view first = argc > 1 ? argv[1] : "";
  std::printf("%-46s %12s %-10s (medians)\n", "figure", "measured", "");
  if (first == "--check") {
    CheckAccountRate();
    return 0;
  }
  const char* tavrel = argc > 1 ? argv[1] : TAVREL_BINARY;
  FirstFill();
  CheckAccountRate();
  SearchTimes();
  ProcessTime(tavrel);
  std::printf("\n");
  BatchThroughput();
  return 0;
}
