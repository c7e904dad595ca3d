// One command that shows where the project stands against its performance
// targets: every figure is the median of several timed runs on this machine,
// printed with its target beside it.
//
//   targets [PATH_TO_TAVREL]
//   targets --check [--corpus FILE]
//   targets --corpus FILE
//       only the CheckAccount figures: the 2009 directory with either rule
//       generation, and the current directory with the current rules, over
//       corpora of the directories' banks or over FILE's BANKCODE<TAB>ACCOUNT
//       lines; with FILE also the engine with the method given, the batch
//       entry, the C library and the IBAN check, and the speed targets
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
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel.h"
#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"
#include "tavrel/iban.h"
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

// Every bank code of the source's directory with accounts of one to ten digits,
// about half of them made valid by the source's rules, a few input faults.
std::vector<Input> CheckCorpus(const tavrel::service::CheckSource& source) {
  std::mt19937 random(4051);
  std::vector<Input> corpus;
  for (int round = 0; round < 4; ++round) {
    for (const tavrel::service::Bank bank : *source.directory) {
      Input input{std::string(1 + random() % 10, '0'), std::string(bank.bankCode)};
      for (char& c : input.account) c = static_cast<char>('1' + random() % 9);
      const bool makeValid = random() % 2 == 0;
      for (char digit = '0'; makeValid && digit <= '9'; ++digit) {
        input.account.back() = digit;
        if (ValueOf(tavrel::service::CheckAccount({input.bankCode, input.account}, source)) >= 0)
          break;
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

const tavrel::service::CheckSource& Source2009() {
  static const tavrel::service::CheckSource source = tavrel::service::DefaultSource();
  return source;
}

const tavrel::service::CheckSource& SourceCurrent() {
  static const tavrel::service::CheckSource source =
      tavrel::service::SourceOf(tavrel::service::FindCompiledDirectory("current"));
  return source;
}

int Specified(const Input& input) {
  return tavrel::service::CheckAccount(input.account, input.bankCode);
}

int CurrentRules(const Input& input) {
  static const tavrel::service::RuleSet& rules = *tavrel::service::FindRules("current");
  return ValueOf(tavrel::service::CheckAccount({input.bankCode, input.account}, rules));
}

int In2009Directory(const Input& input) {
  return ValueOf(tavrel::service::CheckAccount({input.bankCode, input.account}, Source2009()));
}

int InCurrentDirectory(const Input& input) {
  return ValueOf(tavrel::service::CheckAccount({input.bankCode, input.account}, SourceCurrent()));
}

// Lines of a corpus as the C library takes them: arrays of C strings.
struct CColumns {
  std::vector<const char*> bankCodes;
  std::vector<const char*> accounts;
  std::vector<signed char> results;
};

CColumns ColumnsOf(const std::vector<Input>& corpus) {
  CColumns columns;
  for (const Input& input : corpus) {
    columns.bankCodes.push_back(input.bankCode.c_str());
    columns.accounts.push_back(input.account.c_str());
  }
  columns.results.resize(corpus.size());
  return columns;
}

// One figure of --check: checks of a corpus by one entry point. `pass` checks
// the whole corpus once.
struct CheckLine {
  const char* figure;
  std::vector<Input> corpus;
  int (*check)(const Input&);
  std::function<int(const std::vector<Input>&)> pass;
  double perCheck = 0;
};

template <int (*Check)(const Input&)>
CheckLine MakeLine(const char* figure, std::vector<Input> corpus) {
  CheckLine line{figure, std::move(corpus), Check, {}};
  return line;
}

void BindPasses(std::vector<CheckLine>& lines) {
  for (CheckLine& line : lines) {
    if (line.pass) continue;
    line.pass = [check = line.check](const std::vector<Input>& corpus) {
      int sink = 0;
      for (const Input& input : corpus) sink += check(input);
      return sink;
    };
  }
}

// ComputeMethod with each line's method code looked up before the timing.
CheckLine MethodGivenLine(std::vector<Input> corpus) {
  auto methods = std::make_shared<std::vector<std::string>>();
  for (const Input& input : corpus) {
    std::string method;
    if (!tavrel::directory::LookupMethodCode(input.bankCode, method)) method = "??";
    methods->push_back(method);
  }
  CheckLine line{"ComputeMethod, method given", std::move(corpus), Specified, {}};
  line.pass = [methods](const std::vector<Input>& corpus) {
    const tavrel::service::RuleSet& rules = tavrel::service::DefaultRules();
    int sink = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
      const Input& input = corpus[i];
      sink += tavrel::service::ComputeMethod(input.account, (*methods)[i], input.bankCode, rules);
    }
    return sink;
  };
  return line;
}

// The service's batch entry over the whole corpus.
CheckLine BatchLine(std::vector<Input> corpus) {
  CheckLine line{"CheckAccounts (one batch)", std::move(corpus), Specified, {}};
  auto queries = std::make_shared<std::vector<tavrel::service::AccountQuery>>();
  for (const Input& input : line.corpus) queries->push_back({input.bankCode, input.account});
  auto outcomes = std::make_shared<std::vector<tavrel::Outcome>>(queries->size());
  line.pass = [queries, outcomes](const std::vector<Input>&) {
    tavrel::service::CheckAccounts(*queries, *outcomes, tavrel::service::DefaultRules());
    return static_cast<int>(ValueOf((*outcomes)[outcomes->size() / 2]));
  };
  return line;
}

// The C library, one call per check and one call for the corpus.
CheckLine CSingleLine(std::vector<Input> corpus) {
  CheckLine line{"tavrel_check (C library)", std::move(corpus), Specified, {}};
  auto columns = std::make_shared<CColumns>(ColumnsOf(line.corpus));
  line.pass = [columns](const std::vector<Input>&) {
    int sink = 0;
    for (std::size_t i = 0; i < columns->accounts.size(); ++i) {
      sink += tavrel_check(columns->bankCodes[i], columns->accounts[i]);
    }
    return sink;
  };
  return line;
}

CheckLine CBatchLine(std::vector<Input> corpus) {
  CheckLine line{"tavrel_check_many (C library)", std::move(corpus), Specified, {}};
  auto columns = std::make_shared<CColumns>(ColumnsOf(line.corpus));
  line.pass = [columns](const std::vector<Input>&) {
    tavrel_check_many(columns->accounts.size(), columns->bankCodes.data(), columns->accounts.data(),
                      columns->results.data());
    return static_cast<int>(columns->results[columns->results.size() / 2]);
  };
  return line;
}

// CheckIban on the German IBANs of the same lines (the standard conversion,
// whatever the account check says), account check included.
CheckLine IbanLine(std::vector<Input> corpus) {
  auto ibans = std::make_shared<std::vector<std::string>>();
  for (const Input& input : corpus) {
    const tavrel::iban::IbanResult built = tavrel::iban::BuildGerman(input.bankCode, input.account);
    ibans->emplace_back(built.iban.view());
  }
  CheckLine line{"CheckIban (German IBANs of the same accounts)", std::move(corpus), Specified, {}};
  line.pass = [ibans](const std::vector<Input>&) {
    int sink = 0;
    for (const std::string& text : *ibans) {
      const tavrel::iban::IbanVerdict verdict = tavrel::iban::CheckIban(text);
      sink += verdict.german ? ValueOf(verdict.german->accountOutcome) : 0;
    }
    return sink;
  };
  return line;
}

// The specified entry (the 2009 directory and rules), the current rules over
// the 2009 directory, and the same directory and rules reached as a
// CheckSource, each over the 2009 directory's banks; the current directory with
// the current rules over its own banks. With a corpus file, every line checks
// that file, and the lines of the other entries follow: the engine with the
// method given, the batch entry, the C library, and the IBAN check.
std::vector<CheckLine> CheckLines(const char* corpusPath) {
  const auto corpus = [corpusPath](const tavrel::service::CheckSource& source) {
    return corpusPath ? ReadCorpus(corpusPath) : CheckCorpus(source);
  };
  std::vector<CheckLine> lines;
  lines.push_back(MakeLine<Specified>("CheckAccount", corpus(Source2009())));
  lines.push_back(MakeLine<CurrentRules>("CheckAccount current", corpus(Source2009())));
  lines.push_back(
      MakeLine<In2009Directory>("CheckAccount 2009 directory value", corpus(Source2009())));
  lines.push_back(MakeLine<InCurrentDirectory>("CheckAccount current directory, current rules",
                                               corpus(SourceCurrent())));
  if (corpusPath != nullptr) {
    lines.push_back(MethodGivenLine(corpus(Source2009())));
    lines.push_back(BatchLine(corpus(Source2009())));
    lines.push_back(CSingleLine(corpus(Source2009())));
    lines.push_back(CBatchLine(corpus(Source2009())));
    lines.push_back(IbanLine(corpus(Source2009())));
  }
  BindPasses(lines);
  return lines;
}

// Times the lines in turn, run by run, so that all see the same machine; each
// figure is the median of its runs, in seconds per check. A run repeats its pass
// for at least a tenth of a second; every line gets at least 11 runs, over a
// second in all.
void TimeChecks(std::vector<CheckLine>& lines) {
  int sink = 0;
  std::vector<std::vector<double>> seconds(lines.size());
  std::vector<int> repeat(lines.size(), 1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const double once = TimePerCall([&] { sink += lines[i].pass(lines[i].corpus); }, 1, 1);
    repeat[i] = std::max(1, static_cast<int>(0.1 / std::max(once, 1e-9)) + 1);
  }
  for (int run = 0; run < 11; ++run) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      seconds[i].push_back(
          TimePerCall([&] { sink += lines[i].pass(lines[i].corpus); }, 1, repeat[i]));
    }
  }
  if (sink == 42) std::puts("");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    lines[i].perCheck = Median(seconds[i]) / static_cast<double>(lines[i].corpus.size());
  }
}

void DescribeCorpus(const CheckLine& line) {
  const auto valid = std::count_if(line.corpus.begin(), line.corpus.end(),
                                   [&](const Input& input) { return line.check(input) >= 0; });
  std::printf("(%s corpus: %zu checks, %.0f%% valid)\n", line.figure, line.corpus.size(),
              100.0 * static_cast<double>(valid) / static_cast<double>(line.corpus.size()));
}

void PrintCheckLine(const char* figure, double perCheck) {
  std::printf("%s: %.0f checks/s (%.2f ns per check)\n", figure, 1.0 / perCheck, perCheck * 1e9);
}

// The speed targets over a corpus file: rates of one thread, and times per
// check as multiples of CheckAccount's.
void ReportCheckTargets(const std::vector<CheckLine>& lines) {
  const auto perCheck = [&](std::string_view figure) {
    for (const CheckLine& line : lines)
      if (figure == line.figure) return line.perCheck;
    return 0.0;
  };
  const double baseline = perCheck("CheckAccount");
  std::printf("\ntargets\n");
  Report("CheckAccount", 1e-6 / baseline, "M/s", ">=", 50);
  Report("ComputeMethod, method given", 1e-6 / perCheck("ComputeMethod, method given"), "M/s",
         ">=", 70);
  Report("CheckAccount current, x CheckAccount's time", perCheck("CheckAccount current") / baseline,
         "x", "<=", 1.05);
  Report("tavrel_check, x CheckAccount's time", perCheck("tavrel_check (C library)") / baseline,
         "x", "<=", 1.15);
  Report("tavrel_check_many, x CheckAccount's time",
         perCheck("tavrel_check_many (C library)") / baseline, "x", "<=", 1.05);
}

int CheckFigures(const char* corpusPath) {
  std::vector<CheckLine> lines = CheckLines(corpusPath);
  if (lines.front().corpus.empty()) {
    std::fprintf(stderr, "targets: cannot read %s, or it holds no BANKCODE<TAB>ACCOUNT lines\n",
                 corpusPath);
    return 1;
  }
  DescribeCorpus(lines.front());
  DescribeCorpus(lines.back());
  TimeChecks(lines);
  for (const CheckLine& line : lines) PrintCheckLine(line.figure, line.perCheck);
  if (corpusPath != nullptr) ReportCheckTargets(lines);
  return 0;
}

void CheckAccountRate() {
  std::vector<CheckLine> lines = CheckLines(nullptr);
  DescribeCorpus(lines.front());
  TimeChecks(lines);
  Report("CheckAccount, realistic corpus, one thread", 1e-6 / lines[0].perCheck, "M/s", ">=", 25);
  Report("CheckAccount, ns per check", lines[0].perCheck * 1e9, "ns", "<=", 40);
  Report("CheckAccount, current rules, ns per check", lines[1].perCheck * 1e9, "ns", "<=", 40);
  Report("CheckAccount, current directory and rules, ns", lines[3].perCheck * 1e9, "ns", "<=", 40);
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

constexpr const char* kUsage =
    "usage: targets [PATH_TO_TAVREL]     every figure with its target\n"
    "       targets --check [--corpus FILE]\n"
    "       targets --corpus FILE        the CheckAccount figures only, over the\n"
    "                                    directories' banks or FILE's\n"
    "                                    BANKCODE<TAB>ACCOUNT lines\n";

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto usage = [](std::FILE* to, int status) {
    std::fputs(kUsage, to);
    return status;
  };
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return usage(stdout, 0);
  // --check [--corpus FILE], or --corpus FILE alone.
  const std::size_t next = !args.empty() && args[0] == "--check" ? 1 : 0;
  if (next == 1 || (!args.empty() && args[0] == "--corpus")) {
    if (args.size() == next) return CheckFigures(nullptr);
    if (args.size() == next + 2 && args[next] == "--corpus") return CheckFigures(argv[next + 2]);
    return usage(stderr, 64);
  }
  if (args.size() > 1 || (args.size() == 1 && args[0].starts_with("-"))) return usage(stderr, 64);
  std::printf("%-46s %12s %-10s (medians)\n", "figure", "measured", "");
  const char* tavrel = args.empty() ? TAVREL_BINARY : argv[1];
  FirstFill();
  CheckAccountRate();
  SearchTimes();
  ProcessTime(tavrel);
  std::printf("\n");
  BatchThroughput();
  return 0;
}
