// `tavrel search --fuzzy` through the real binary: its output forms, exit
// statuses and the arguments it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct FuzzyCase {
  std::vector<std::string> args;
  int exitStatus;
  std::string outStart;  // standard output begins with it
};

// Arguments are UTF-8: "Börßum" reaches the search as Windows-1252 and the
// names come back as UTF-8.
const FuzzyCase kFuzzyCases[] = {
    {{"search", "--fuzzy", "volksbnak chemnitz"}, 0, "87096214 | Volksbank Chemnitz\n"},
    {{"search", "chemnitz,volksbank", "--fuzzy"}, 0, "87096214 | Volksbank Chemnitz\n"},
    {{"search", "--fuzzy", "B\u00f6r\u00dfum"},
     0,
     "27062290 | Volksbank B\u00f6r\u00dfum-Hornburg\n"},
    {{"search", "--fuzzy", "boerssum hornburg"},
     0,
     "27062290 | Volksbank B\u00f6r\u00dfum-Hornburg\n"},
    {{"search", "--fuzzy", "12030000"}, 0, "12030000 | Deutsche Kreditbank Berlin\n"},
    {{"search", "--fuzzy", "--json", "12030000"},
     0,
     "[\n  {\"bankCode\": \"12030000\", \"name\": \"Deutsche Kreditbank Berlin\", \"score\": "
     "100}\n]\n"},
    {{"search", "--fuzzy", "--json", "Comerzbank Chemnitz"},
     0,
     "[\n  {\"bankCode\": \"87040000\", \"name\": \"Commerzbank Chemnitz\", \"score\": 80},\n"},
    {{"search", "--fuzzy", "--json", "zzzzzz"}, 1, "[]\n"},
    {{"search", "--fuzzy", ""}, 1, ""},
    {{"search", "--fuzzy", "  \t "}, 1, ""},
    {{"search", "--fuzzy", "a b c d e f g h i"}, 64, ""},
    {{"search", "--fuzzy", "12\xff"}, 2, ""},  // not UTF-8
    {{"search", "--fuzzy", "\u4e2d"}, 2, ""},  // no Windows-1252 form
    {{"check", "--fuzzy", "12030000", "9290701"}, 64, ""},
    {{"search", "--fuzzy"}, 64, ""},
};

TEST(FuzzySearch, PrintsHitsBestFirstAndExits) {
  for (const FuzzyCase& c : kFuzzyCases) {
    SCOPED_TRACE(c.args.back());
    const RunResult run = RunTavrel(c.args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    // An empty start stands for no output at all.
    EXPECT_EQ(c.outStart.empty() ? run.out : run.out.substr(0, c.outStart.size()), c.outStart);
  }
}

TEST(FuzzySearch, CountsHitsOnStandardErrorAndNamesTheTermLimit) {
  const RunResult hits = RunTavrel({"search", "--fuzzy", "sparkasse chemnitz"});
  const auto lines = std::count(hits.out.begin(), hits.out.end(), '\n');
  EXPECT_EQ(hits.err, std::to_string(lines) + " hits\n");
  const RunResult tooMany = RunTavrel({"search", "--fuzzy", "1 2 3 4 5 6 7 8 9"});
  EXPECT_NE(tooMany.err.find("at most 8 different terms"), std::string::npos) << tooMany.err;
}

// The longest argument Linux passes (128 KiB less its NUL): one term, no hit.
TEST(FuzzySearch, LongestArgumentFindsNothing) {
  const RunResult run = RunTavrel({"search", "--fuzzy", std::string(128 * 1024 - 1, 'x')});
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace tavrel::cli::testing
