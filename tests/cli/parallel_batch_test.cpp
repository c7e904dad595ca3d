// The batch modes on worker threads: the same bytes in the same order as on one
// thread, progress only on a terminal, and memory that does not grow with the input.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

// Valid, invalid and faulty accounts mixed with malformed lines, CRLF line ends
// and one over-long line, so that every kind of answer crosses chunk boundaries.
std::string MixedLines(int count) {
  static const char* const kAccounts[] = {"9290701",     "9290702", "12a", "",
                                          "00000000001", " 1 ",     "0",   "1234567890"};
  static const char* const kBanks[] = {"12030000", "10000000", "99999999", "1203000"};
  std::string input;
  for (int i = 0; i < count; ++i) {
    if (i % 997 == 3) {
      input += "malformed line\n";
    } else if (i == count / 2) {
      input += std::string(70000, '7') + "\n";
    } else {
      input += std::string(kBanks[i % 4]) + "\t" + kAccounts[i % 8] + (i % 5 ? "\n" : "\r\n");
    }
  }
  return input;
}

// The same, as CSV with a header, quoted fields and records spanning lines.
std::string MixedRecords(int count) {
  std::string input = "blz,konto,note\n";
  for (int i = 0; i < count; ++i) {
    const std::string bank = i % 3 ? "12030000" : "10000000";
    const std::string account = std::to_string(9290701 + i % 4);
    if (i % 501 == 7) {
      input += bank + ",\"" + account + "\"x,broken\n";
    } else if (i % 7 == 0) {
      input += "\"" + bank + "\",\"" + account + "\",\"multi\nline, \"\"quoted\"\"\"\r\n";
    } else {
      input += bank + "," + account + ",plain\n";
    }
  }
  return input;
}

std::size_t CountLines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ParallelBatch, SameOutputOnOneAndSeveralThreads) {
  struct Mode {
    std::vector<std::string> args;
    std::string input;
  };
  const Mode modes[] = {
      {{"check", "-"}, MixedLines(300000)},
      {{"check", "--csv"}, MixedRecords(200000)},
  };
  for (const Mode& mode : modes) {
    std::vector<std::string> args = mode.args;
    args.insert(args.end(), {"--threads", "1"});
    const RunResult single = RunTavrel(args, mode.input);
    ASSERT_EQ(single.exitStatus, 2) << single.err;
    EXPECT_EQ(single.err, "");
    for (const char* threads : {"2", "3"}) {
      args.back() = threads;
      const RunResult parallel = RunTavrel(args, mode.input);
      EXPECT_EQ(parallel.exitStatus, 2) << args[1] << " threads " << threads;
      EXPECT_TRUE(parallel.out == single.out) << args[1] << " threads " << threads;
      EXPECT_EQ(parallel.err, "") << "no progress without a terminal";
    }
    EXPECT_EQ(CountLines(single.out), CountLines(mode.input));
  }
}

TEST(ParallelBatch, DefaultRunMatchesTheSingleThreadAnswers) {
  const std::string input = MixedLines(50000);
  const RunResult byDefault = RunTavrel({"method", "-"}, input);
  const RunResult single = RunTavrel({"method", "-", "--threads=1"}, input);
  EXPECT_EQ(byDefault.exitStatus, 2);
  EXPECT_TRUE(byDefault.out == single.out);
  EXPECT_NE(byDefault.out.find("ERROR\tmalformed line 25001: longer than 65536 bytes\n"),
            std::string::npos);
}

// The progress line appears on a terminal and is erased at the end, before the
// summary.
TEST(ParallelBatch, ProgressOnATerminal) {
  int master = -1;
  int slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const RunResult run = RunTavrel({"check", "-"}, MixedLines(1500000), "/dev/null", slave);
  ::close(slave);
  // The terminal hands written bytes to the master side a moment later, so read
  // blocking: once every slave descriptor is closed and the bytes are read, the
  // master reports an error (EIO) instead of waiting.
  std::string shown;
  char block[4096];
  for (ssize_t got; (got = ::read(master, block, sizeof block)) > 0;) shown.append(block, got);
  ::close(master);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(shown.find(" lines, "), std::string::npos) << shown;
  EXPECT_NE(shown.find(" lines/s"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r\x1b[Ktavrel: 1500000 lines, "), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with(" lines/s\r\n")) << shown;
}

// Neither long lines (about 100 MB of them) nor lines whose answers are much
// longer than themselves make the process grow. The input is written piece by
// piece, so this process stays small and the child's peak is its own.
TEST(ParallelBatch, MemoryStaysBounded) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizer's own memory dwarfs the batch's";
#endif
  const int input = TempFileWith({});
  const std::string longLine = "10000000\t" + std::string(60000, '1') + "\n";
  for (int i = 0; i < 1700; ++i) ASSERT_EQ(::write(input, longLine.data(), longLine.size()), 60010);
  const std::string emptyLines(1000000, '\n');
  ASSERT_EQ(::write(input, emptyLines.data(), emptyLines.size()), 1000000);
  for (const char* threads : {"1", "2", "16"}) {
    const RunResult run = RunTavrelOn(input, {"check", "-", "--threads", threads}, "/dev/null");
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_LT(run.peakKilobytes, 64 * 1024) << threads << " threads";
  }
  ::close(input);
}

}  // namespace
}  // namespace tavrel::cli::testing
