// Times the real tavrel binary on a generated batch: `check -` on one and two
// threads and `check --csv`, three runs each, printing the median rate and the
// child's peak resident memory beside the targets.
//
//   batch_throughput [--lines N] [--runs N] [--binary PATH]
//
// The input holds every bank code of the directory with accounts of one to ten
// digits, about half of them valid, and a few input faults and malformed lines.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace {

struct Account {
  std::string bankCode;
  std::string number;
};

std::string RandomDigits(std::mt19937& random, std::size_t length) {
  std::string digits(length, '0');
  for (char& c : digits) c = static_cast<char>('0' + random() % 10);
  if (digits[0] == '0') digits[0] = '1';
  return digits;
}

// Makes the account valid where one of the ten last digits does.
void MakeValid(Account& account) {
  for (char digit = '0'; digit <= '9'; ++digit) {
    account.number.back() = digit;
    const int result = tavrel::service::CheckAccount(account.number, account.bankCode);
    if (result == 0 || result == 1) return;
  }
}

// A few accounts per bank: even ones made valid, odd ones left random (mostly
// invalid), and one in a hundred an input fault.
std::vector<Account> AccountPool() {
  std::vector<std::string> bankCodes;
  tavrel::directory::ForEachEntry(
      [&](std::string_view code, std::string_view) { bankCodes.emplace_back(code); });
  std::mt19937 random(4051);
  std::vector<Account> pool;
  constexpr int kPerBank = 16;
  for (const std::string& bankCode : bankCodes) {
    for (int i = 0; i < kPerBank; ++i) {
      Account account{bankCode, RandomDigits(random, 1 + random() % 10)};
      if (i % 2 == 0) MakeValid(account);
      pool.push_back(std::move(account));
    }
  }
  const char* const faults[] = {"12a4", "12345678901", "", " 42 "};
  for (std::size_t i = 0; i < pool.size(); i += 100) pool[i].number = faults[i / 100 % 4];
  std::shuffle(pool.begin(), pool.end(), random);
  return pool;
}

// Writes `lines` lines cycling through the pool, in the tab form or as CSV with
// a header and some quoted fields; one line in a thousand is malformed.
std::string WriteInput(const std::vector<Account>& pool, std::size_t lines, bool csv) {
  char path[] = "/tmp/batch_throughput_XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) std::exit(1);
  std::FILE* file = ::fdopen(fd, "w");
  if (csv) std::fputs("bank_code,account,note\n", file);
  for (std::size_t i = 0; i < lines; ++i) {
    const Account& account = pool[i % pool.size()];
    if (i % 1000 == 999) {
      std::fputs(csv ? "\"unterminated,\n" : "broken line\n", file);
    } else if (!csv) {
      std::fprintf(file, "%s\t%s\n", account.bankCode.c_str(), account.number.c_str());
    } else if (i % 10 == 0) {
      std::fprintf(file, "\"%s\",\"%s\",\"a, \"\"b\"\"\"\n", account.bankCode.c_str(),
                   account.number.c_str());
    } else {
      std::fprintf(file, "%s,%s,x\n", account.bankCode.c_str(), account.number.c_str());
    }
  }
  std::fclose(file);
  return path;
}

struct Run {
  double seconds;
  double cpuSeconds;  // user and system time of the child
  long peakKilobytes;
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

Run RunOnce(const char* binary, const std::vector<std::string>& args, const std::string& input) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(input.c_str(), O_RDONLY);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(in, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(binary)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(binary, argv.data());
    std::_Exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 2) {
    std::fprintf(stderr, "tavrel failed (status %d)\n", status);
    std::exit(1);
  }
  return {elapsed.count(), Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss};
}

void Measure(const char* binary, const char* label, const std::vector<std::string>& args,
             const std::string& input, std::size_t lines, int runs, double targetRate) {
  std::vector<double> rates;
  std::vector<double> cpuRates;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    const Run run = RunOnce(binary, args, input);
    rates.push_back(static_cast<double>(lines) / run.seconds);
    cpuRates.push_back(static_cast<double>(lines) / run.cpuSeconds);
    peak = std::max(peak, run.peakKilobytes);
  }
  std::sort(rates.begin(), rates.end());
  std::sort(cpuRates.begin(), cpuRates.end());
  const double median = rates[rates.size() / 2];
  char target[32] = "-";
  if (targetRate > 0) std::snprintf(target, sizeof target, ">= %.1f M", targetRate / 1e6);
  std::printf("%-26s %8.2f M %11s %10.2f M %8.1f MB %8s\n", label, median / 1e6, target,
              cpuRates[cpuRates.size() / 2] / 1e6, static_cast<double>(peak) / 1024.0, "< 64 MB");
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t lines = 10'000'000;
  int runs = 3;
  const char* binary = TAVREL_BINARY;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--lines") lines = std::strtoull(argv[i + 1], nullptr, 10);
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--binary") binary = argv[i + 1];
  }
  const std::vector<Account> pool = AccountPool();
  const std::string tabInput = WriteInput(pool, lines, false);
  const std::string csvInput = WriteInput(pool, lines, true);
  std::printf("%zu lines, median of %d runs, %ld cores online\n", lines, runs,
              ::sysconf(_SC_NPROCESSORS_ONLN));
  // Lines per CPU second do not depend on what else the machine is running.
  std::printf("%-26s %10s %11s %12s %11s %8s\n", "mode", "lines/s", "target", "lines/CPU-s",
              "peak RSS", "target");
  Measure(binary, "check - --threads 1", {"check", "-", "--threads", "1"}, tabInput, lines, runs,
          0);
  Measure(binary, "check - --threads 2", {"check", "-", "--threads", "2"}, tabInput, lines, runs,
          10e6);
  Measure(binary, "check --csv --threads 1", {"check", "--csv", "--threads", "1"}, csvInput, lines,
          runs, 0);
  Measure(binary, "check --csv --threads 2", {"check", "--csv", "--threads", "2"}, csvInput, lines,
          runs, 10e6);
  ::unlink(tabInput.c_str());
  ::unlink(csvInput.c_str());
}
