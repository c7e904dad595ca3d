// Input and output faults through the real binary: a failed write or read is
// reported with the system's reason, and non-blocking pipes are waited on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct Command {
  std::vector<std::string> args;
  std::string input;
};

const Command kCommands[] = {
    {{"check", "12030000", "9290701"}, ""},
    {{"--help"}, ""},
    {{"search", "bank"}, ""},
    {{"check", "-"}, "12030000\t9290701\n"},
    {{"method", "-", "--threads", "1"}, "00\t9290701\n"},
    {{"check", "--csv"}, "blz,konto\n12030000,9290701\n"},
};

// The search's hit count is not printed either: nobody got the hits.
TEST(IoFaults, AFullDiskIsReportedWithItsReason) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  for (const Command& command : kCommands) {
    const RunResult run = RunTavrel(command.args, command.input, "/dev/full");
    EXPECT_EQ(run.exitStatus, 74) << command.args[0];
    EXPECT_EQ(run.err, "tavrel: write to standard output failed: No space left on device\n");
  }
}

TEST(IoFaults, AnUnreadableInputIsReportedWithItsReason) {
  const int directory = ::open("/", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(directory, 0);
  for (const Command& command : kCommands) {
    if (command.input.empty()) continue;
    const RunResult run = RunTavrelOn(directory, command.args);
    EXPECT_EQ(run.exitStatus, 74) << command.args[0];
    EXPECT_EQ(run.err, "tavrel: read from standard input failed: Is a directory\n");
  }
  ::close(directory);
}

// Enough output to fill a pipe many times over, so writes meet a full pipe and
// reads an empty one.
TEST(IoFaults, NonBlockingPipesAreWaitedOn) {
  std::string lines;
  std::string records = "blz,konto\n";
  for (int i = 0; i < 20000; ++i) {
    lines += "12030000\t" + std::to_string(9290700 + i % 9) + "\n";
    records += "12030000," + std::to_string(9290700 + i % 9) + "\n";
  }
  for (const Command& command :
       {Command{{"check", "-"}, lines}, Command{{"check", "--csv"}, records}}) {
    const RunResult fromFile = RunTavrel(command.args, command.input);
    const RunResult run = RunTavrelThroughPipes(command.args, command.input, 4096, true);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out == fromFile.out) << command.args[1];
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
