// Forgiving input at the command line's edge: digits of other scripts, bank codes
// in groups and combining accents are read as meant; the rest is left to the
// check or refused with its fault named.
#include "cli/internal/forgiving_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_tavrel.h"

namespace tavrel::cli::testing {
namespace {

struct ReadCase {
  std::string utf8;
  ArgumentKind kind;
  std::optional<std::string> cp1252;
  std::string fault;
};

const ReadCase kReadCases[] = {
    {"370 400 44", ArgumentKind::kBankCode, "37040044", ""},
    {" 3704 0044 ", ArgumentKind::kBankCode, "37040044", ""},
    {"370  400  44", ArgumentKind::kBankCode, "37040044", ""},
    {"370 400 4", ArgumentKind::kBankCode, "370 400 4", ""},        // seven digits: left
    {"370-400-44", ArgumentKind::kBankCode, "370-400-44", ""},      // not blanks: left
    {"370\t400\t44", ArgumentKind::kBankCode, "370\t400\t44", ""},  // tabs: left
    {"532 013 000", ArgumentKind::kAccount, "532 013 000", ""},     // accounts are not grouped
    {"\uFF13\uFF17\uFF10", ArgumentKind::kAccount, "370", ""},      // fullwidth
    {"\u0661\u0662\u0663", ArgumentKind::kBankCode, "123", ""},     // Arabic-Indic
    {"\u06F4\u0969\U0001D7D8", ArgumentKind::kAccount, "430", ""},  // Persian, Devanagari, math
    {"\u0661\u0662\u0663", ArgumentKind::kAsGiven, std::nullopt,
     "'\u0661' has no Windows-1252 form"},
    {"mu\u0308nchen", ArgumentKind::kSearchText, "m\xFCnchen", ""},
    {"Mu\u0308\u0308", ArgumentKind::kSearchText, std::nullopt,
     "'\u0308' has no Windows-1252 form"},
    {"cafe\u0301", ArgumentKind::kSearchText, "caf\xE9", ""},
    {"mu\u0308nchen", ArgumentKind::kAccount, std::nullopt, "'\u0308' has no Windows-1252 form"},
    {"x\u0308", ArgumentKind::kSearchText, std::nullopt, "'\u0308' has no Windows-1252 form"},
    {"12\u4e2d", ArgumentKind::kAccount, std::nullopt, "'\u4e2d' has no Windows-1252 form"},
    {"12\xC3", ArgumentKind::kAccount, std::nullopt, "not valid UTF-8 (byte 0xC3 at position 3)"},
    {"\xFF", ArgumentKind::kBankCode, std::nullopt, "not valid UTF-8 (byte 0xFF at position 1)"},
    {"K\u00f6ln", ArgumentKind::kSearchText, "K\xF6ln", ""},
};

TEST(ForgivingInput, ReadsWhatIsUnambiguousAndNamesTheRest) {
  for (const ReadCase& c : kReadCases) {
    const ReadArgument read = ReadForgiving(c.utf8, c.kind);
    EXPECT_EQ(read.cp1252, c.cp1252) << c.utf8;
    EXPECT_EQ(read.fault, c.fault) << c.utf8;
  }
}

struct CommandCase {
  std::vector<std::string> args;
  int exitStatus;
  std::string out;
  std::string err;
};

const CommandCase kCommandCases[] = {
    {{"check", "370 400 44", "\uFF10\uFF15\uFF13\uFF12\uFF10\uFF11\uFF13\uFF10\uFF10\uFF10"},
     0,
     "0\tg\u00fcltig\tCommerzbank K\u00f6ln\n",
     ""},
    {{"name", "1203 0000"}, 0, "Deutsche Kreditbank Berlin\n", ""},
    {{"check", "12030000", "929070\u4e2d"},
     2,
     "",
     "tavrel: argument 2 of 'check': '\u4e2d' has no Windows-1252 form\n"},
    // A method runs its account as given.
    {{"method", "00", "\uFF19\uFF12\uFF19\uFF10\uFF17\uFF10\uFF11"},
     2,
     "",
     "tavrel: argument 2 of 'method': '\uFF19' has no Windows-1252 form\n"},
};

TEST(ForgivingInput, CommandsReadTheirArgumentsSo) {
  for (const CommandCase& c : kCommandCases) {
    const RunResult run = RunTavrel(c.args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.args[1];
    EXPECT_EQ(run.out, c.out) << c.args[1];
    EXPECT_EQ(run.err, c.err) << c.args[1];
  }
}

}  // namespace
}  // namespace tavrel::cli::testing
