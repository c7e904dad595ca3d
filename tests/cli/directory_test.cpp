// --directory, --as-of and --strict, the successor notes, `name`'s record and
// `tavrel directory`, run through the binary. Banks of the data: 10011001 N26
// Bank Berlin (method 09) exists only today; 10060198 Pax-Bank Berlin is being
// withdrawn for 37060193, 10090300 without a successor; 10022200 Landesbank
// Berlin is gone by 2026, and the 2009 directory names 10050000 as successor;
// 60010700 L-Bank Stuttgart (method 09) is withdrawn for 66010700 in both.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

std::string Shared(const char* name) {
  const char* root = std::getenv("TAVREL_SHARED_DATA");
  return std::string(root == nullptr ? "." : root) + "/" + name;
}

// A file of one record a character short, made once.
const std::string& BrokenFile() {
  static const std::string path = [] {
    const std::string name = "/tmp/tavrel_cli_broken_" + std::to_string(::getpid()) + ".txt";
    std::ofstream(name) << std::string(167, '1') << "\n";
    return name;
  }();
  return path;
}

const char kN26Valid[] = "1\tg\u00fcltig (ohne Pr\u00fcfung)\tN26 Bank Berlin\n";
const char kUnknown[] = "-9\tBLZ ung\u00fcltig!\n";

struct DirectoryCase {
  std::string name;
  std::vector<std::string> args;
  std::string input;
  int exitStatus;
  std::optional<std::string> out;  // exactly; nullopt: not compared
  std::string err;                 // a part of standard error; empty: nothing there
};

class DirectoryOptionTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryOptionTest, ChecksAgainstTheChosenDirectory) {
  const DirectoryCase& c = GetParam();
  const RunResult run = RunTavrel(c.args, c.input);
  EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
  if (c.out) {
    EXPECT_EQ(run.out, *c.out);
  }
  if (c.err.empty()) {
    EXPECT_EQ(run.err, "");
  } else {
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
}

const DirectoryCase kCases[] = {
    {"DefaultIs2009", {"check", "10011001", "1234567890"}, "", 2, kUnknown, ""},
    {"Current",
     {"check", "--directory", "current", "10011001", "1234567890"},
     "",
     0,
     kN26Valid,
     ""},
    {"AsOfToday",
     {"check", "--as-of", "2026-12-01", "10011001", "1234567890"},
     "",
     0,
     kN26Valid,
     ""},
    {"AsOf2009", {"check", "--as-of=2009-12-06", "10011001", "1"}, "", 2, kUnknown, ""},
    {"AsOfBetween",
     {"check", "--as-of", "2015-01-01", "10011001", "1"},
     "",
     64,
     "",
     "at hand are 2009 (2009-09-07 to 2009-12-06) and current (from 2026-03-09); load the "
     "Bundesbank file of that date with --directory FILE"},
    {"File",
     {"check", "--directory", Shared("blz_20260309.txt"), "10011001", "1234567890"},
     "",
     0,
     kN26Valid,
     ""},
    {"FileMissing",
     {"check", "--directory", "curent", "10011001", "1"},
     "",
     74,
     "",
     "cannot read curent: No such file or directory (the compiled-in directories are 2009 and "
     "current)"},
    {"FileBroken",
     {"check", "--directory", BrokenFile(), "10011001", "1"},
     "",
     2,
     "",
     BrokenFile() + ": line 1: record has 167 characters"},
    {"FileWarnsOfMethodsTheRulesLack",
     {"check", "--rules", "2009", "--directory", Shared("blz_20260309.txt"), "10011001", "1"},
     "",
     0,
     std::nullopt,
     "warning: " + Shared("blz_20260309.txt") + ": line "},
    {"StrictRefuses",
     {"check", "--strict", "--rules", "2009", "--directory", Shared("blz_20260309.txt"), "10011001",
      "1"},
     "",
     2,
     "",
     "has no method in rule generation 2009"},
    {"RulesOverrideTheDirectorys",
     {"check", "--directory", "current", "--rules", "2009", "25950130", "1501824"},
     "",
     1,
     "-3\tPr\u00fcfziffer ung\u00fcltig!\tSparkasse HGP\n",
     ""},
    {"Batch",
     {"check", "-", "--directory", "current"},
     "10011001\t1234567890\n10022200\t1\n",
     0,
     "10011001\t1234567890\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n10022200\t1\t-9\tBLZ "
     "ung\u00fcltig!\n",
     ""},
    {"Csv",
     {"check", "--csv", "--as-of", "2026-03-09"},
     "blz,konto\n10011001,1234567890\n",
     0,
     "blz,konto,result,message\n10011001,1234567890,1,g\u00fcltig (ohne Pr\u00fcfung)\n",
     ""},
    {"MethodRulesFollowTheDirectory",
     {"method", "--directory", "current", "E4", "1501836"},
     "",
     0,
     "0\n",
     ""},
    {"Search",
     {"search", "--directory", "current", "n26"},
     "",
     0,
     "10011001 | N26 Bank Berlin\n",
     "1 hits"},
    {"NameToday", {"name", "--directory", "current", "10011001"}, "", 0, "N26 Bank Berlin\n", ""},
    {"NameUnknown", {"name", "99999999"}, "", 2, "", "unknown bank code 99999999"},
    {"NameGoneHasTheHint",
     {"name", "--directory", "current", "10022200"},
     "",
     2,
     "",
     "note: bank code 10022200 no longer exists; successor 10050000 as of 2009-09-07"},
    {"NameJson",
     {"name", "--json", "--directory", "current", " 10060198"},
     "",
     0,
     "{\"bank_code\":\"10060198\",\"name\":\"Pax-Bank Berlin\",\"bic\":\"GENODED1PA6\","
     "\"method_code\":\"06\",\"deletion_notice\":true,\"successor\":\"37060193\","
     "\"iban_rule\":null}\n",
     ""},
    {"WithdrawnIsCheckedWithANote",
     {"check", "--directory", "current", "60010700", "1"},
     "",
     0,
     "1\tg\u00fcltig (ohne Pr\u00fcfung)\tL-Bank Stuttgart -alt-\n",
     "tavrel: note: bank code 60010700 is being withdrawn; use successor 66010700\n"},
    {"WithdrawnWithoutSuccessor",
     {"check", "--directory", "current", "10090300", "1"},
     "",
     0,
     std::nullopt,
     "note: bank code 10090300 is being withdrawn; no successor is named\n"},
    {"GoneGetsTheHint",
     {"check", "--directory", "current", "10022200", "1"},
     "",
     2,
     kUnknown,
     "note: bank code 10022200 no longer exists; successor 10050000 as of 2009-09-07\n"},
    {"WithdrawnIn2009",
     {"check", "60010700", "1"},
     "",
     0,
     std::nullopt,
     "note: bank code 60010700 is being withdrawn; use successor 66010700\n"},
    {"CheckJson",
     {"check", "--json", "12030000", "9290701"},
     "",
     0,
     "{\"result\":0,\"code\":\"valid\",\"message\":\"g\u00fcltig\",\"verdict\":\"valid\","
     "\"field\":null,\"bank\":{\"bank_code\":\"12030000\",\"name\":\"Deutsche Kreditbank "
     "Berlin\",\"bic\":\"BYLADEM1001\",\"method_code\":\"00\",\"deletion_notice\":false,"
     "\"successor\":null,\"iban_rule\":null},\"successor\":null}\n",
     ""},
    {"CheckJsonGone",
     {"check", "--json", "--directory", "current", "10022200", "1"},
     "",
     2,
     "{\"result\":-9,\"code\":\"bank_code_unknown\",\"message\":\"BLZ ung\u00fcltig!\","
     "\"verdict\":\"input_fault\",\"field\":\"bank_code\",\"bank\":null,\"successor\":{"
     "\"finding\":\"no_longer_exists\",\"bank_code\":\"10050000\",\"as_of\":\"2009-09-07\","
     "\"note\":\"bank code 10022200 no longer exists; successor 10050000 as of 2009-09-07\"}}\n",
     ""},
};
INSTANTIATE_TEST_SUITE_P(Directories, DirectoryOptionTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

struct UsageCase {
  std::string name;
  std::vector<std::string> args;
  std::string err;  // part of standard error
};

class DirectoryUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(DirectoryUsageTest, ExitsWith64) {
  const RunResult run = RunTavrel(GetParam().args);
  EXPECT_EQ(run.exitStatus, 64);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(GetParam().err), std::string::npos) << run.err;
}

const UsageCase kUsageCases[] = {
    {"BothChoices",
     {"check", "--directory", "current", "--as-of", "2026-03-09", "1", "1"},
     "give one"},
    {"AsOfNotADate", {"check", "--as-of", "2026-02-30", "1", "1"}, "YYYY-MM-DD"},
    {"StrictAlone", {"check", "--strict", "1", "1"}, "--strict applies to --directory FILE"},
    {"DirectoryOnRules", {"rules", "--directory", "current"}, "apply to 'check'"},
    {"EmptyDirectory", {"name", "--directory=", "10000000"}, "--directory takes"},
    {"DirectoryTakesNoOperand", {"directory", "current"}, "wrong number of arguments"},
};
INSTANTIATE_TEST_SUITE_P(Directories, DirectoryUsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

TEST(DirectoryCommand, PrintsTheInfoBlockAndTheBanksPerMethodCode) {
  const RunResult run = RunTavrel({"directory"});
  EXPECT_EQ(run.exitStatus, 0);
  const std::string head =
      "source: blz_20090907.txt (compiled in)\nvalid from: 2009-09-07\nvalid until: "
      "2009-12-06\nentries: 4051\nrule generation: 2009\nbanks per method code:\n00\t";
  EXPECT_EQ(run.out.rfind(head, 0), 0U) << run.out;
  std::size_t banks = 0;
  for (std::size_t at = run.out.find(":\n00\t") + 2; at < run.out.size();) {
    const std::size_t tab = run.out.find('\t', at);
    const std::size_t end = run.out.find('\n', tab);
    banks += std::stoul(run.out.substr(tab + 1, end - tab - 1));
    at = end + 1;
  }
  EXPECT_EQ(banks, 4051U);
}

TEST(DirectoryCommand, JsonOfALoadedFile) {
  const RunResult run =
      RunTavrel({"directory", "--json", "--directory", Shared("blz_20230904_extended.txt")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json info = nlohmann::json::parse(run.out);
  EXPECT_EQ(info.at("source"), Shared("blz_20230904_extended.txt"));
  EXPECT_EQ(info.at("compiled_in"), false);
  EXPECT_EQ(info.at("valid_from"), "2023-09-04");
  EXPECT_TRUE(info.at("valid_until").is_null());
  EXPECT_EQ(info.at("entries"), 3545);
  EXPECT_EQ(info.at("rule_generation"), "current");
  const nlohmann::json current =
      nlohmann::json::parse(RunTavrel({"directory", "--json", "--directory", "current"}).out);
  EXPECT_EQ(current.at("entries"), 3503);
  EXPECT_EQ(current.at("method_counts").size(), 92U);
}

// Today (December 2026) is past the current directory's valid-until date.
TEST(OutOfDateNote, ShowsOnceOnATerminalOnly) {
  const std::string note =
      "note: the current directory (blz_20260309.txt) was valid until "
      "2026-06-07; load a newer Bundesbank file with --directory FILE";
  const RunResult single = RunTavrelWithTerminal({"check", "--directory", "current", "1", "1"});
  EXPECT_NE(single.err.find(note), std::string::npos) << single.err;
  const RunResult batch =
      RunTavrelWithTerminal({"check", "-", "--as-of", "2026-12-01"}, "10011001\t1\n10011001\t2\n");
  EXPECT_EQ(batch.out,
            "10011001\t1\t1\tg\u00fcltig (ohne Pr\u00fcfung)\n10011001\t2\t1\tg\u00fcltig (ohne "
            "Pr\u00fcfung)\n");
  const std::size_t first = batch.err.find(note);
  EXPECT_NE(first, std::string::npos) << batch.err;
  EXPECT_EQ(batch.err.find(note, first + 1), std::string::npos) << batch.err;
  EXPECT_EQ(RunTavrel({"check", "--directory", "current", "1", "1"}).err, "");
  EXPECT_EQ(RunTavrelWithTerminal({"check", "12030000", "9290701"}).err, "");
}

}  // namespace
}  // namespace tavrel::cli::testing
