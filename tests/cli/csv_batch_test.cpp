// check --csv through the real binary: header and column choice, quoting kept as
// read, line ends, malformed records answered in place, and option errors.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct CsvCase {
  std::string name;
  std::vector<std::string> options;  // after "check --csv"
  std::string input;
  std::string out;
  int exitStatus;
  std::string err = {};
};

class CsvBatchTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvBatchTest, AppendsResultColumns) {
  const CsvCase& c = GetParam();
  std::vector<std::string> args = {"check", "--csv"};
  args.insert(args.end(), c.options.begin(), c.options.end());
  const RunResult run = RunTavrel(args, c.input);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, c.err);
}

std::string CaseName(const ::testing::TestParamInfo<CsvCase>& info) { return info.param.name; }

// 10000000 uses method 09 (always 1); 12030000 uses 00.
const std::string kInvalid = "Pr\u00fcfziffer ung\u00fcltig!";

const CsvCase kCases[] = {
    {"Empty", {}, "", "", 0},
    {"HeaderOnly", {}, "blz,konto\n", "blz,konto,result,message\n", 0},
    // A header must name both columns: falling back to positions could check the wrong ones.
    {"UnrecognisedHeaderStops",
     {},
     "a,b\n10000000,1\n12030000,9290702\n",
     "",
     64,
     "tavrel: header row: no bank code column and no account column (columns: 1 \"a\", 2 \"b\")\n"
     "tavrel: give the columns with --bank-column N|NAME and --account-column N|NAME\n"},
    {"HeaderWithoutAccountStops",
     {"--delimiter", ";"},
     "Name;BLZ;Kontonummer2\nA;12030000;9290701\n",
     "",
     64,
     "tavrel: header row: no account column (columns: 1 \"Name\", 2 \"BLZ\", 3 "
     "\"Kontonummer2\")\ntavrel: give the column with --account-column N|NAME\n"},
    {"BankCodeNamedTwiceStops",
     {},
     "BLZ,Konto,\"Bankleitzahl\"\n",
     "",
     64,
     "tavrel: header row: the bank code is named in columns 1 \"BLZ\", 3 \"Bankleitzahl\" "
     "(columns: 1 \"BLZ\", 2 \"Konto\", 3 \"Bankleitzahl\")\n"
     "tavrel: give the column with --bank-column N|NAME\n"},
    {"ChoiceOnTheOtherColumnStops",
     {"--bank-column", "2"},
     "blz,konto\n",
     "",
     64,
     "tavrel: header row: the bank code and the account would both be column 2 \"konto\" "
     "(columns: 1 \"blz\", 2 \"konto\")\n"
     "tavrel: give the columns with --bank-column N|NAME and --account-column N|NAME\n"},
    {"NoHeaderCollisionStopsBeforeReading",
     {"--no-header", "--account-column", "1"},
     "12030000,9290701\n",
     "",
     64,
     "tavrel: the bank code and the account would both be column 1\n"
     "tavrel: give the columns with --bank-column N and --account-column N\n"},
    {"VerboseSaysWhichColumns",
     {"--verbose", "--delimiter", ";"},
     "Name;Kto.-Nr.;BLZ\nA;9290701;12030000\n",
     "Name;Kto.-Nr.;BLZ;result;message\nA;9290701;12030000;0;g\u00fcltig\n",
     0,
     "tavrel: bank code from column 3 \"BLZ\", account from column 2 \"Kto.-Nr.\"\n"},
    {"VerboseWithoutHeader",
     {"--verbose", "--no-header"},
     "12030000,9290701\n",
     "12030000,9290701,0,g\u00fcltig\n",
     0,
     "tavrel: bank code from column 1, account from column 2\n"},
    {"DefaultColumnsByName",
     {},
     "Name,KONTO, blz \nx,9290701,12030000\n",
     "Name,KONTO, blz ,result,message\nx,9290701,12030000,0,g\u00fcltig\n",
     0},
    {"EnglishDefaultNames",
     {},
     "account,bank_code\n9290702,12030000\n",
     "account,bank_code,result,message\n9290702,12030000,-3," + kInvalid + "\n",
     0},
    {"ColumnsByNumber",
     {"--bank-column", "3", "--account-column=1"},
     "k,x,b\n9290701,,12030000\n",
     "k,x,b,result,message\n9290701,,12030000,0,g\u00fcltig\n",
     0},
    {"ColumnsByName",
     {"--bank-column", "Bank Code", "--account-column", "IBAN-free account"},
     "\"iban-free account\",\"bank code\"\n9290701,12030000\n",
     "\"iban-free account\",\"bank code\",result,message\n9290701,12030000,0,g\u00fcltig\n",
     0},
    {"QuotedFieldsKeptAsRead",
     {},
     "blz,konto,note\n\"12030000\",\"9290701\",\"a, \"\"b\"\"\nc\"\n",
     "blz,konto,note,result,message\n\"12030000\",\"9290701\",\"a, \"\"b\"\"\nc\",0,g\u00fcltig\n",
     0},
    {"CrLfKept",
     {},
     "blz,konto\r\n10000000,1\r\n\"10000000\",\"2\r\n3\"\r\n",
     "blz,konto,result,message\r\n10000000,1,1,g\u00fcltig (ohne "
     "Pr\u00fcfung)\r\n\"10000000\",\"2\r\n3\",-8,"
     "Konto enth\u00e4lt ung\u00fcltige Zeichen!\r\n",
     0},
    {"LastRecordWithoutLineEnd",
     {"--no-header"},
     "10000000,1",
     "10000000,1,1,g\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"NoHeaderReadsFirstRecord",
     {"--no-header", "--bank-column", "2", "--account-column", "1"},
     "1,10000000\n",
     "1,10000000,1,g\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"InputFaultsAreResults",
     {"--no-header"},
     "1000000,1\n99999999,1\n10000000,\n",
     "1000000,1,-5,BLZ nicht achtstellig!\n99999999,1,-9,BLZ ung\u00fcltig!\n"
     "10000000,,-7,Konto hat falsche L\u00e4nge!\n",
     0},
    {"SemicolonAndTab",
     {"--delimiter", ";"},
     "blz;konto;x,y\n10000000;1;a,b\n",
     "blz;konto;x,y;result;message\n10000000;1;a,b;1;g\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"TabDelimiter",
     {"--delimiter", "\\t", "--no-header"},
     "10000000\t1\n",
     "10000000\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n",
     0},
    {"MessageQuotedWhenItHoldsTheDelimiter",
     {"--delimiter", "!", "--no-header"},
     "12030000!9290702\n",
     "12030000!9290702!-3!\"" + kInvalid + "\"\n",
     0},
    {"MalformedRecordsAnsweredInPlace",
     {},
     "blz,konto\n10000000\n10000000,\"1\"x\n10000000,1\"2\n\"3\n10000000,\xff\n10000000,1,\xff\n",
     "blz,konto,result,message\n"
     "10000000,ERROR,malformed record at line 2: too few columns\n"
     "10000000,\"1\"x,ERROR,malformed record at line 3: text after a closing quote\n"
     "10000000,1\"2,-8,Konto enth\u00e4lt ung\u00fcltige Zeichen!\n"
     "\"3\",ERROR,malformed record at line 5: unterminated quote\n"
     "10000000,\xff,ERROR,malformed record at line 6: not valid UTF-8 or a character without "
     "a Windows-1252 form\n"
     "10000000,1,\xff,1,g\u00fcltig (ohne Pr\u00fcfung)\n",
     2},
    {"UnterminatedQuoteAtEndClosed",
     {},
     "blz,konto\n10000000,1\n10000000,\"2\n3",
     "blz,konto,result,message\n10000000,1,1,g\u00fcltig (ohne Pr\u00fcfung)\n"
     "10000000,\"2\",ERROR,malformed record at line 3: unterminated quote\n"
     "3,ERROR,malformed record at line 4: too few columns\n",
     2},
    {"UnterminatedQuoteEndsWithItsLine",
     {},
     "blz,konto,note\n12030000,9290701,\"TV 40\n12030000,9290702,ok\n12030000,9290701,x\n",
     "blz,konto,note,result,message\n"
     "12030000,9290701,\"TV 40\",ERROR,malformed record at line 2: unterminated quote\n"
     "12030000,9290702,ok,-3," +
         kInvalid + "\n12030000,9290701,x,0,g\u00fcltig\n",
     2},
    {"StrayQuotesArePlainCharacters",
     {"--no-header"},
     "12030000,9290701,5\"\n12030000,9290701,ok\n12030000,9290701,TV 40\"\n",
     "12030000,9290701,5\",0,g\u00fcltig\n12030000,9290701,ok,0,g\u00fcltig\n12030000,9290701,TV "
     "40\",0,g\u00fcltig\n",
     0},
    // A record longer than the limit is never echoed, however it arrives.
    {"RecordJustOverTheLimitSkipped",
     {"--no-header"},
     "\"" + std::string(65535, 'x') + "\",1\n10000000,2\n",
     ",ERROR,malformed record at line 1: longer than 65536 bytes\n10000000,2,1,g\u00fcltig (ohne "
     "Pr\u00fcfung)\n",
     2},
    {"OverLongRecordSkipped",
     {"--no-header"},
     "10000000,1\n\"" + std::string(400000, 'x') + "\n\",1\n10000000,2\n",
     "10000000,1,1,g\u00fcltig (ohne Pr\u00fcfung)\n,ERROR,malformed record at line 2: longer than "
     "65536 bytes\n"
     "\",1\",ERROR,malformed record at line 3: unterminated quote\n10000000,2,1,g\u00fcltig (ohne "
     "Pr\u00fcfung)\n",
     2},
    {"MissingNamedColumn",
     {"--account-column", "iban"},
     "blz,konto\n10000000,1\n",
     "",
     2,
     "tavrel: header row: no column 'iban'\n"},
    {"MalformedHeader", {}, "\"blz,konto\n", "", 2, "tavrel: header row: unterminated quote\n"},
};
INSTANTIATE_TEST_SUITE_P(Csv, CsvBatchTest, ::testing::ValuesIn(kCases), CaseName);

// Every recognised header name, in other cases and spellings, the account first.
TEST(CsvBatch, RecognisesTheUsualHeaderNames) {
  const std::string bankNames[] = {"blz",      "Bankleitzahl", "BANK_CODE",
                                   "bankcode", "Bank Code",    "sort code"};
  const std::string accountNames[] = {"Konto", "KONTONUMMER", "Kontonr",        "kto",
                                      "KtoNr", "Account",     "account_number", "Account-Number"};
  for (std::size_t i = 0; i < std::size(accountNames); ++i) {
    const std::string header =
        "Name;" + accountNames[i] + ";" + bankNames[i % std::size(bankNames)];
    const RunResult run =
        RunTavrel({"check", "--csv", "--delimiter", ";"}, header + "\nA;9290701;12030000\n");
    EXPECT_EQ(run.exitStatus, 0) << header << ": " << run.err;
    EXPECT_EQ(run.out, header + ";result;message\nA;9290701;12030000;0;g\u00fcltig\n");
  }
}

// On a terminal the columns used are named without --verbose.
TEST(CsvBatch, NamesTheColumnsOnATerminal) {
  int master = -1;
  int slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const RunResult run =
      RunTavrel({"check", "--csv"}, "blz,konto\n12030000,9290701\n", nullptr, slave);
  ::close(slave);
  std::string shown;
  char block[4096];
  for (ssize_t got; (got = ::read(master, block, sizeof block)) > 0;) shown.append(block, got);
  ::close(master);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(shown.find("tavrel: bank code from column 1 \"blz\", account from column 2 \"konto\""),
            std::string::npos)
      << shown;
}

// Every kind of record, and records across the limit, so that reads of any size
// cut through them.
std::string TrickyRecords(int copies) {
  std::string input = "blz,konto,note\r\n";
  for (int i = 0; i < copies; ++i) {
    input += "12030000,9290701,\"a\nb, \"\"c\"\"\"\r\n10000000,1\"2,TV 40\"\n\"12030000\",x\"y,\n";
    input += "10000000,\"1\"x\n12030000,92907" + std::to_string(i % 10) + ",\xC3\xA4\n";
    if (i % 50 == 7) input += std::string(65536, 'x') + "\n" + std::string(70000, 'y') + "\n";
  }
  return input + "10000000,\"2\n3";
}

TEST(CsvBatch, SameOutputFromAFileAndFromAPipeFedInPieces) {
  for (const auto& [input, piece] :
       {std::pair{TrickyRecords(20), std::size_t{1}}, std::pair{TrickyRecords(60), std::size_t{7}},
        std::pair{TrickyRecords(400), std::size_t{4093}}}) {
    const RunResult fromFile = RunTavrel({"check", "--csv"}, input);
    ASSERT_EQ(fromFile.exitStatus, 2) << fromFile.err;
    const RunResult fromPipe = RunTavrelThroughPipes({"check", "--csv"}, input, piece);
    EXPECT_EQ(fromPipe.exitStatus, 2) << "pieces of " << piece;
    EXPECT_TRUE(fromPipe.out == fromFile.out) << "pieces of " << piece;
  }
}

TEST(CsvBatch, OptionErrorsAreUsageErrors) {
  const std::vector<std::string> bad[] = {
      {"check", "--csv", "10000000", "1"},
      {"check", "--csv", "--bank-column", "0"},
      {"check", "--csv", "--no-header", "--bank-column", "blz"},
      {"check", "--csv", "--delimiter", "\""},
      {"check", "--csv", "--delimiter", ",,"},
      {"check", "--csv", "--account-column"},
      {"check", "-", "--no-header"},
      {"check", "-", "--verbose"},
      {"check", "-", "--threads", "0"},
      {"check", "-", "--threads", "17"},
      {"check", "-", "--threads", "2x"},
      {"check", "10000000", "1", "--threads", "2"},
      {"method", "--csv", "-"},
  };
  for (const std::vector<std::string>& args : bad) {
    const RunResult run = RunTavrel(args, "10000000,1\n");
    EXPECT_EQ(run.exitStatus, 64) << args.back();
    EXPECT_EQ(run.out, "") << args.back();
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
