// One command that shows where the project stands against its performance
// targets: every figure is the median of several timed runs on this machine,
// printed with its target beside it.
//
//   targets [PATH_TO_TAVREL]
//   targets --check [--corpus FILE]
//       only the CheckAccount figures, one line per rule generation, over the
//       built-in corpus or over FILE's BANKCODE<TAB>ACCOUNT lines
//
// The batch figures come from batch_throughput, run as a child at the end.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
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

// BANKCODE<TAB>ACCOUNT lines; other lines are skipped.
std::vector<Input> ReadCorpus(const char* path) {
  std::ifstream file(path);
  std::vector<Input> corpus;
  for (std::string line; std::getline(file, line);) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) corpus.push_back({line.substr(tab + 1), line.substr(0, tab)});
  }
  return corpus;
}

// Seconds per check of the 2009 rules (the specified entry) and of the current
// rules, over the 2009 directory. The two are timed in turn, run by run, so that
// both see the same machine; each figure is the median of its runs.
struct CheckTimes {
  double rules2009 = 0;
  double current = 0;
};

CheckTimes TimeChecks(const std::vector<Input>& corpus) {
  const tavrel::service::RuleSet& current = *tavrel::service::FindRules("current");
  const int repeat =
      std::max(1, static_cast<int>(800000 / std::max<std::size_t>(corpus.size(), 1)));
  int sink = 0;
  std::vector<double> old;
  std::vector<double> now;
  for (int run = 0; run < 9; ++run) {
    old.push_back(TimePerCall(
        [&] {
          for (const Input& input : corpus)
            sink += tavrel::service::CheckAccount(input.account, input.bankCode);
        },
        1, repeat));
    now.push_back(TimePerCall(
        [&] {
          for (const Input& input : corpus)
            sink +=
                ValueOf(tavrel::service::CheckAccount({input.bankCode, input.account}, current));
        },
        1, repeat));
  }
  if (sink == 42) std::puts("");
  const auto checks = static_cast<double>(corpus.size());
  return {Median(old) / checks, Median(now) / checks};
}

void DescribeCorpus(const std::vector<Input>& corpus) {
  const auto valid = std::count_if(corpus.begin(), corpus.end(), [](const Input& input) {
    return tavrel::service::CheckAccount(input.account, input.bankCode) >= 0;
  });
  std::printf("(corpus: %zu checks, %.0f%% valid)\n", corpus.size(),
              100.0 * static_cast<double>(valid) / static_cast<double>(corpus.size()));
}

void PrintCheckLine(const char* figure, double perCheck) {
  std::printf("%s: %.0f checks/s (%.2f ns per check)\n", figure, 1.0 / perCheck, perCheck * 1e9);
}

int CheckFigures(const char* corpusPath) {
  const std::vector<Input> corpus = corpusPath ? ReadCorpus(corpusPath) : CheckCorpus();
  if (corpus.empty()) {
    std::fprintf(stderr, "targets: cannot read %s, or it holds no BANKCODE<TAB>ACCOUNT lines\n",
                 corpusPath);
    return 1;
  }
  DescribeCorpus(corpus);
  const CheckTimes times = TimeChecks(corpus);
  PrintCheckLine("CheckAccount", times.rules2009);
  PrintCheckLine("CheckAccount current", times.current);
  return 0;
}

void CheckAccountRate() {
  const std::vector<Input> corpus = CheckCorpus();
  DescribeCorpus(corpus);
  const CheckTimes times = TimeChecks(corpus);
  Report("CheckAccount, realistic corpus, one thread", 1e-6 / times.rules2009, "M/s", ">=", 25);
  Report("CheckAccount, ns per check", times.rules2009 * 1e9, "ns", "<=", 40);
  Report("CheckAccount, current rules, ns per check", times.current * 1e9, "ns", "<=", 40);
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
  if (first == "--check") {
    const bool withCorpus = argc == 4 && std::string_view(argv[2]) == "--corpus";
    if (argc != 2 && !withCorpus) {
      std::fprintf(stderr, "usage: targets --check [--corpus FILE]\n");
      return 64;
    }
    return CheckFigures(withCorpus ? argv[3] : nullptr);
  }
  std::printf("%-46s %12s %-10s (medians)\n", "figure", "measured", "");
  const char* tavrel = argc > 1 ? argv[1] : TAVREL_BINARY;
  FirstFill();
  CheckAccountRate();
  SearchTimes();
  ProcessTime(tavrel);
  std::printf("\n");
  BatchThroughput();
  return 0;
}
