// The two batch modes, run through the real binary with standard input from a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

using std::string_literals::operator""s;

struct BatchCase {
  std::string name;
  std::string input;
  std::string out;
  int exitStatus;
};

class CheckBatchTest : public ::testing::TestWithParam<BatchCase> {};
class MethodBatchTest : public ::testing::TestWithParam<BatchCase> {};

void ExpectBatch(const char* mode, const BatchCase& c) {
  const RunResult run = RunTavrel({mode, "-"}, c.input);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  EXPECT_EQ(run.out, c.out);
}

// Output that cannot be written is an error of its own, not a silent success.
TEST(Output, FailedWriteExitsWith74) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"check", "10000000", "1"}, {"check", "-"}}) {
    const RunResult run = RunTavrel(args, "10000000\t1\n", "/dev/full");
    EXPECT_EQ(run.exitStatus, 74) << args[1];
    EXPECT_EQ(run.err, "tavrel: write to standard output failed: No space left on device\n")
        << args[1];
  }
}

TEST_P(CheckBatchTest, WritesOneLinePerInputLine) { ExpectBatch("check", GetParam()); }
TEST_P(MethodBatchTest, WritesOneLinePerInputLine) { ExpectBatch("method", GetParam()); }

std::string CaseName(const ::testing::TestParamInfo<BatchCase>& info) { return info.param.name; }

const std::string kInvalidMessage = "Pr\u00fcfziffer ung\u00fcltig!";

const BatchCase kCheckCases[] = {
    {"Empty", "", "", 0},
    {"ValidAndInvalid", "12030000\t9290701\n12030000\t9290702\n10000000\t1\n",
     "12030000\t9290701\t0\tg\u00fcltig\n12030000\t9290702\t-3\t" + kInvalidMessage +
         "\n10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"LastLineWithoutLineEnd", "10000000\t1", "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"ByteOrderMarkDropped",
     "\xEF\xBB\xBF"
     "10000000\t1\n",
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n", 0},
    {"CrLfLineEnds", "10000000\t1\r\n12030000\t9290702\r\n",
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n12030000\t9290702\t-3\t" + kInvalidMessage +
         "\n",
     0},
    {"FieldsEchoedAsGiven", " 10000000 \t 0001 \n10000000\t12\u20ac\n",
     " 10000000 \t 0001 \t1\tg\u00fcltig (ohne Pr\u00fcfung)\n10000000\t12\u20ac\t-8\tKonto "
     "enth\u00e4lt ung\u00fcltige "
     "Zeichen!\n",
     0},
    {"InputFaults", "1000000\t1\n10000000\t\n10000000\t12345678901\n10000000\tabc\n99999999\t1\n",
     "1000000\t1\t-5\tBLZ nicht achtstellig!\n10000000\t\t-7\tKonto hat falsche L\u00e4nge!\n"
     "10000000\t12345678901\t-7\tKonto hat falsche L\u00e4nge!\n"
     "10000000\tabc\t-8\tKonto enth\u00e4lt ung\u00fcltige Zeichen!\n"
     "99999999\t1\t-9\tBLZ ung\u00fcltig!\n",
     0},
    {"MalformedLinesAnsweredInPlace",
     "10000000\n10000000\t1\t2\n\n10000000\t1\0\n"s
     "10000000\t\xff\n10000000\t\xc3\n10000000\t1\n",
     "ERROR\tmalformed line 1: expected BANKCODE<TAB>ACCOUNT\n"
     "ERROR\tmalformed line 2: expected BANKCODE<TAB>ACCOUNT\n"
     "ERROR\tmalformed line 3: expected BANKCODE<TAB>ACCOUNT\n"
     "ERROR\tmalformed line 4: contains a NUL byte\n"
     "ERROR\tmalformed line 5: not valid UTF-8 or a character without a Windows-1252 form\n"
     "ERROR\tmalformed line 6: not valid UTF-8 or a character without a Windows-1252 form\n"
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     2},
    {"CharacterWithoutCp1252Form", "10000000\t1\u4e2d\n",
     "ERROR\tmalformed line 1: not valid UTF-8 or a character without a Windows-1252 form\n", 2},
    {"MegabyteLineSkipped", "10000000\t1\n" + std::string(1 << 20, '7') + "\n10000000\t2\n",
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\nERROR\tmalformed line 2: longer than 65536 "
     "bytes\n10000000\t2\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     2},
    {"MegabyteLastLineWithoutLineEnd", "10000000\t1\n" + std::string(1 << 20, '7'),
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\nERROR\tmalformed line 2: longer than 65536 "
     "bytes\n",
     2},
    {"LineJustOverTheLimit", std::string(65537, '1') + "\n",
     "ERROR\tmalformed line 1: longer than 65536 bytes\n", 2},
    {"LineAtTheLimitIsRead", std::string(65535, '1') + "\t\r\n",
     std::string(65535, '1') + "\t\t-5\tBLZ nicht achtstellig!\n", 0},
};
INSTANTIATE_TEST_SUITE_P(Check, CheckBatchTest, ::testing::ValuesIn(kCheckCases), CaseName);

const BatchCase kMethodCases[] = {
    {"KeysAndBankCodes", "09\t1\n12\t1\n00\t9290701\n00\t9290702\t12030000\n00\t9290701\t\r\n",
     "1\n-2\n0\n-3\n0\n", 0},
    {"WrongFieldCounts", "09\n09\t1\t10000000\textra\n09\t1\n",
     "ERROR\tmalformed line 1: expected KEY<TAB>ACCOUNT[<TAB>BANKCODE]\n"
     "ERROR\tmalformed line 2: expected KEY<TAB>ACCOUNT[<TAB>BANKCODE]\n1\n",
     2},
    {"BadBytes", "09\t1\0\n09\t\xe4\n"s,
     "ERROR\tmalformed line 1: contains a NUL byte\n"
     "ERROR\tmalformed line 2: not valid UTF-8 or a character without a Windows-1252 form\n",
     2},
};
INSTANTIATE_TEST_SUITE_P(Method, MethodBatchTest, ::testing::ValuesIn(kMethodCases), CaseName);

// Many read blocks: every line answered in order, and line numbers of malformed
// lines still right after the block boundaries.
TEST(CheckBatch, LongInputKeepsOrderAndLineNumbers) {
  constexpr int kLines = 200000;
  constexpr int kMalformedLine = 150001;
  std::string input;
  for (int i = 1; i <= kLines; ++i) {
    input += i == kMalformedLine ? "broken\n" : "10000000\t" + std::to_string(i) + "\n";
  }
  const RunResult run = RunTavrel({"check", "-"}, input);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), kLines);
  EXPECT_EQ(run.out.rfind("10000000\t1\t1\tg\u00fcltig (ohne "
                          "Pr\u00fcfung)\n10000000\t2\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
                          0),
            0u);
  EXPECT_NE(
      run.out.find("10000000\t150000\t1\tg\u00fcltig (ohne Pr\u00fcfung)\nERROR\tmalformed line "
                   "150001: expected "
                   "BANKCODE<TAB>ACCOUNT\n10000000\t150002\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n"),
      std::string::npos);
  EXPECT_TRUE(run.out.ends_with("10000000\t200000\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n"));
}

}  // namespace
}  // namespace tavrel::cli::testing
