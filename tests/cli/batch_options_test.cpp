// The options every batch mode shares: --header, input files after "-", -o FILE,
// --summary and --fail-on-invalid; run through the real binary.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/internal/progress.h"
#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

// A directory of its own for each test; "@NAME" in arguments names a file in it.
class BatchOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tavrel-batch-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    directory_ = pattern;
  }
  void TearDown() override {
    for (const std::string& name : Names()) ::unlink((directory_ + '/' + name).c_str());
    ::rmdir(directory_.c_str());
  }

  void Write(const std::string& name, const std::string& contents) {
    std::ofstream(directory_ + '/' + name, std::ios::binary) << contents;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(directory_ + '/' + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(directory_.c_str())) {
      while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      ::closedir(dir);
    }
    return names;
  }
  RunResult Run(std::vector<std::string> args, const std::string& input = {}) {
    for (std::string& arg : args) {
      if (arg.starts_with('@')) arg = directory_ + '/' + arg.substr(1);
    }
    return RunTavrel(args, input);
  }

  std::string directory_;
};

struct OptionCase {
  std::string name;
  std::vector<std::string> args;
  std::string input;
  int exitStatus;
  std::string out;
  std::string err;  // what standard error starts with
};

const std::map<std::string, std::string> kFiles = {
    {"a.tsv", "10000000\t1\n12030000\t9290702"},
    {"b.tsv", "\n12030000\t9290701\n"},
    {"h.tsv", "BLZ\tKonto\n10000000\t1\n"},
};

const OptionCase kCases[] = {
    {"HeaderEchoedWithTheResultColumns",
     {"check", "-", "--header"},
     "BLZ\tKonto\r\n12030000\t9290701\n",
     0,
     "BLZ\tKonto\tresult\tmessage\n12030000\t9290701\t0\tg\u00fcltig\n",
     ""},
    {"HeaderOfMethodNamesItsOneColumn",
     {"method", "-", "--header"},
     "KEY\tACCOUNT\n00\t9290701\n",
     0,
     "result\n0\n",
     ""},
    {"HeaderOfIban",
     {"iban", "-", "--header"},
     "IBAN\nDE59120300000009290701\n",
     0,
     "IBAN\tresult\tmessage\taccount_result\taccount_"
     "message\nDE59120300000009290701\t0\tg\u00fcltig\t0\tg\u00fcltig\n",
     ""},
    {"HeaderDroppedFromJsonLines", {"check", "-", "--header", "--json"}, "BLZ\tKonto\n", 0, "", ""},
    {"FilesInTurnBlankLineInPlace",
     {"check", "-", "@a.tsv", "@b.tsv"},
     "99999999\t1\n",
     2,
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n12030000\t9290702\t-3\tPr\u00fcfziffer "
     "ung\u00fcltig!\n"
     "ERROR\tmalformed line 1: expected BANKCODE<TAB>ACCOUNT\n12030000\t9290701\t0\tg\u00fcltig\n",
     ""},
    {"EachFilesHeaderSkippedTheFirstEchoed",
     {"check", "-", "@h.tsv", "@h.tsv", "--header"},
     "",
     0,
     "BLZ\tKonto\tresult\tmessage\n10000000\t1\t1\tg\u00fcltig (ohne "
     "Pr\u00fcfung)\n10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     ""},
    {"MissingFileNamedBeforeAnyOutput",
     {"check", "-", "@a.tsv", "@missing.tsv"},
     "",
     66,
     "",
     "tavrel: cannot open "},
    {"FailOnInvalid", {"check", "-", "--fail-on-invalid", "@a.tsv", "-o", "@f.tsv"}, "", 1, "", ""},
    {"FailOnInputFault",
     {"check", "-", "--fail-on-invalid"},
     "1203000\t1\n",
     1,
     "1203000\t1\t-5\tBLZ nicht achtstellig!\n",
     ""},
    {"FailOnInvalidAllValid",
     {"iban", "-", "--fail-on-invalid"},
     "DE59120300000009290701\n",
     0,
     "DE59120300000009290701\t0\tg\u00fcltig\t0\tg\u00fcltig\n",
     ""},
    {"SummaryCountsEveryKind",
     {"check", "-", "--summary", "@a.tsv", "@b.tsv", "--output", "@s.tsv"},
     "",
     2,
     "",
     "tavrel: 4 lines, 2 valid, 1 invalid, 1 input faults, "},
    {"CsvFilesHeaderOnce",
     {"check", "--csv", "-", "@c.csv", "@c.csv", "--summary", "--fail-on-invalid"},
     "",
     1,
     "blz,konto,result,message\n12030000,9290702,-3,Pr\u00fcfziffer ung\u00fcltig!\n"
     "12030000,9290702,-3,Pr\u00fcfziffer ung\u00fcltig!\n",
     "tavrel: 2 lines, 0 valid, 2 invalid, 0 input faults, "},
};

TEST_F(BatchOptionsTest, AnswerAsDocumented) {
  for (const OptionCase& c : kCases) {
    SCOPED_TRACE(c.name);
    for (const auto& [name, contents] : kFiles) Write(name, contents);
    Write("c.csv", "blz,konto\n12030000,9290702\n");
    RunResult run = Run(c.args, c.input);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
    if (c.err.empty()) {
      EXPECT_EQ(run.err, "");
    }
  }
}

TEST_F(BatchOptionsTest, OutputFileAppearsWholeOrNotAtAll) {
  Write("out.tsv", "old\n");
  RunResult run = Run({"check", "-", "-o", "@out.tsv"}, "10000000\t1\n");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Read("out.tsv"), "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n");
  // A header row that cannot be used stops the run: the old file stays, no
  // temporary file is left.
  run = Run({"check", "--csv", "--output=@out.tsv", "--bank-column", "nosuch"}, "a,b\n1,2\n");
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(Read("out.tsv"), "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"out.tsv"});
  run = Run({"check", "-", "-o", "@nosuch/out.tsv"}, "10000000\t1\n");
  EXPECT_EQ(run.exitStatus, 73);
  EXPECT_EQ(run.err.rfind("tavrel: cannot create ", 0), 0u) << run.err;
}

TEST(BatchOptions, UsageErrors) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"check", "10000000", "1", "--header"},
           {"name", "10000000", "-o", "x"},
           {"check", "-", "--summary", "--no-summary"},
           {"check", "--csv", "--header", "--no-header"},
           {"check", "-", "--output="},
       }) {
    EXPECT_EQ(RunTavrel(args).exitStatus, 64) << args.back();
  }
}

TEST(BatchOptions, SummaryOnATerminalUnlessTurnedOff) {
  const std::string input = "10000000\t1\n";
  EXPECT_NE(RunTavrelWithTerminal({"check", "-"}, input).err.find("1 lines, 1 valid, 0 invalid"),
            std::string::npos);
  EXPECT_EQ(RunTavrelWithTerminal({"check", "-", "--no-summary"}, input).err.find("lines/s\n"),
            std::string::npos);
}

TEST(Progress, ShareAndTimeLeftWhenTheSizeIsKnown) {
  EXPECT_EQ(ProgressText(50, 250, 1000, 2.0), "tavrel: 25% 50 lines, 25 lines/s, 6 s left");
  EXPECT_EQ(ProgressText(50, 250, std::nullopt, 2.0), "tavrel: 50 lines, 25 lines/s");
  EXPECT_EQ(ProgressText(0, 0, 1000, 0.0), "tavrel: 0% 0 lines, 0 lines/s");
  EXPECT_EQ(ProgressText(9, 1200, 1000, 1.0), "tavrel: 100% 9 lines, 9 lines/s, 0 s left");
}

}  // namespace
}  // namespace tavrel::cli::testing
