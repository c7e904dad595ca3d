// Each command's own help: its blocks of the overview, the options it takes and an
// example, reached as "help COMMAND" and as "COMMAND --help".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

const char* const kCommands[] = {"check",   "name",    "method",   "search",   "rules", "directory",
                                 "explain", "suggest", "generate", "selftest", "iban"};

// The usage part of a command's help, up to its option list.
std::string UsagePart(const std::string& help) { return help.substr(0, help.find("\nOptions:\n")); }

// The blocks of a command's usage, each starting "  WORD ".
std::vector<std::string> Blocks(const std::string& usage, const std::string& word) {
  std::vector<std::string> blocks;
  const std::string start = "\n  " + word + ' ';
  for (std::size_t at = usage.find(start); at != std::string::npos;) {
    const std::size_t next = usage.find(start, at + 1);
    blocks.push_back(usage.substr(at + 1, next == std::string::npos ? next : next - at));
    at = next;
  }
  return blocks;
}

TEST(CommandHelp, IsTheCommandsPartOfTheOverview) {
  const std::string overview = RunTavrel({"--help"}).out;
  for (const char* word : kCommands) {
    SCOPED_TRACE(word);
    const RunResult help = RunTavrel({"help", word});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(RunTavrel({word, "--help"}).out, help.out);
    const std::string usage = UsagePart(help.out);
    ASSERT_EQ(usage.rfind("Usage:\n  " + std::string(word) + ' ', 0), 0u) << usage;
    // Every block of its usage stands in the overview as it is here.
    for (const std::string& block : Blocks(usage, word))
      EXPECT_NE(overview.find(block), std::string::npos) << block;
    EXPECT_NE(help.out.find("\nExample:\n  tavrel " + std::string(word)), std::string::npos);
    EXPECT_LT(help.out.size(), overview.size() / 2);
  }
}

struct HelpCase {
  std::vector<std::string> args;
  std::vector<std::string> holds;
  std::vector<std::string> lacks;
};

const HelpCase kHelpCases[] = {
    {{"help", "check"},
     {"  check - ", "  check --csv ", "--iban-column", "  --threads N", "  --directory"},
     {"  name BANKCODE", "  --fuzzy", "Exit status:"}},
    {{"help", "search"}, {"  search --fuzzy", "  --fuzzy", "  --directory"}, {"  --threads"}},
    {{"help", "rules"}, {"  rules [--json]", "  -h, --help"}, {"  --directory", "  --rules"}},
};

TEST(CommandHelp, ListsTheOptionsOfItsCommandOnly) {
  for (const HelpCase& c : kHelpCases) {
    const std::string help = RunTavrel(c.args).out;
    for (const std::string& part : c.holds) EXPECT_NE(help.find(part), std::string::npos) << part;
    for (const std::string& part : c.lacks) EXPECT_EQ(help.find(part), std::string::npos) << part;
  }
}

TEST(CommandHelp, HelpAloneIsTheOverviewAndServeKeepsItsOwn) {
  EXPECT_EQ(RunTavrel({"help"}).out, RunTavrel({"--help"}).out);
  const RunResult serve = RunTavrel({"help", "serve"});
  EXPECT_EQ(serve.exitStatus, 0);
  EXPECT_EQ(serve.out, RunTavrel({"serve", "--help"}).out);
}

TEST(CommandHelp, UnknownCommandIsAUsageError) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"help", "nosuch"}, {"help", "check", "name"}}) {
    const RunResult run = RunTavrel(args);
    EXPECT_EQ(run.exitStatus, 64) << args[1];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(args.back() == "nosuch" ? "'nosuch'" : "one command"), std::string::npos)
        << run.err;
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
