// The Bundesbank-file reader on records built here: what it keeps, and the one
// error it gives for each kind of malformed file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"

namespace tavrel::directory {
namespace {

using testing::BundesbankRecord;

const Bank kBank{"10000000", "09", "Bank A", "MARKDEF1100", false, "", ""};

std::string Lines(std::initializer_list<std::string> records, std::string_view lineEnd = "\n") {
  std::string text;
  for (const std::string& record : records) text += record + std::string(lineEnd);
  return text;
}

// `record` with `text` written from column `column` on (counted from 1).
std::string With(std::string record, std::size_t column, std::string_view text) {
  return record.replace(column - 1, text.size(), text);
}

TEST(BundesbankFileTest, KeepsMerkmalOneRecordsNotFlaggedDInAscendingOrder) {
  const Bank later{"20000000", "E4", "B\xE4nk B", "GENODEF1ABC", true, "10000000", ""};
  const Bank deleted{"15000000", "00", "Deleted", "", false, "", ""};
  const std::string records[] = {BundesbankRecord(later), BundesbankRecord(kBank),
                                 BundesbankRecord(kBank, '2', 'A'),
                                 BundesbankRecord(deleted, '1', 'D')};
  for (const std::string_view lineEnd : {"\n", "\r\n", ""}) {
    SCOPED_TRACE(lineEnd.size());
    std::string content = Lines({records[0], records[1], records[2], records[3]}, lineEnd);
    if (lineEnd.empty()) content = Lines({records[0], records[1], records[2]}) + records[3];
    const LoadResult result = ParseDirectory(content, "memory");
    ASSERT_FALSE(result.error) << Describe(*result.error);
    ASSERT_EQ(result.directory->size(), 2u);
    const Bank first = (*result.directory)[0];
    const Bank second = (*result.directory)[1];
    EXPECT_EQ(first.bankCode, "10000000");
    EXPECT_EQ(first.successor, "");
    EXPECT_FALSE(first.deletionNotice);
    EXPECT_EQ(second.shortName, "B\xE4nk B");
    EXPECT_EQ(second.bic, "GENODEF1ABC");
    EXPECT_EQ(second.methodCode, "E4");
    EXPECT_TRUE(second.deletionNotice);
    EXPECT_EQ(second.successor, "10000000");
    EXPECT_EQ(second.ibanRule, "");
    EXPECT_FALSE(result.directory->Find("15000000"));
  }
}

TEST(BundesbankFileTest, ExtendedRecordsCarryTheIbanRuleAndBlankFieldsMeanNone) {
  Bank withRule = kBank;
  withRule.ibanRule = "004201";
  std::string shortBic =
      BundesbankRecord({"30000000", "00", "Short BIC", "ABCDEFGH", false, "", "000000"});
  shortBic = With(With(shortBic, 160, " "), 161, "        ");  // blank notice and successor
  const LoadResult result = ParseDirectory(Lines({BundesbankRecord(withRule), shortBic}), "memory");
  ASSERT_FALSE(result.error) << Describe(*result.error);
  EXPECT_EQ(result.directory->Find("10000000")->ibanRule, "004201");
  const Bank parsed = *result.directory->Find("30000000");
  EXPECT_EQ(parsed.bic, "ABCDEFGH");
  EXPECT_EQ(parsed.ibanRule, "000000");
  EXPECT_FALSE(parsed.deletionNotice);
  EXPECT_EQ(parsed.successor, "");
}

struct Malformed {
  std::string_view why;
  std::string content;
  std::size_t line;
  std::string message;
};

TEST(BundesbankFileTest, MalformedFilesGiveOneErrorNamingLineAndField) {
  const std::string good = BundesbankRecord(kBank);
  const std::string other = BundesbankRecord({"20000000", "06", "Bank B", "", false, "", ""});
  Bank extended = kBank;
  extended.ibanRule = "000000";
  const std::string notBundesbank = "(this does not look like a Bundesbank bank-code file)";
  const Malformed cases[] = {
      {"empty file", "", 0, "the file is empty"},
      {"first record too short", Lines({good.substr(0, 100)}), 1,
       "record has 100 characters, expected 168 or 174 " + notBundesbank},
      {"later record wider", Lines({good, other + "x"}), 2,
       "record has 169 characters, expected 168"},
      {"widths mixed", Lines({good, BundesbankRecord(extended)}), 2, "expected 168"},
      {"truncated last line", good + "\n" + other.substr(0, 90), 2,
       "record has 90 characters, expected 168: the file is cut off"},
      {"blank line", Lines({good, "", other}), 2, "record has 0 characters"},
      {"NUL byte", Lines({good, With(other, 45, std::string(1, '\0'))}), 2,
       "control character 0x00 in column 45"},
      {"bank code", Lines({good, With(other, 1, "2000000x")}), 2,
       "bank code \"2000000x\" is not eight digits (columns 1-8)"},
      {"Merkmal", Lines({good, With(other, 9, "3")}), 2, "Merkmal \"3\" is not 1 or 2 (column 9)"},
      {"blank short name", Lines({good, With(other, 108, std::string(27, ' '))}), 2,
       "short name is blank (columns 108-134)"},
      {"short name after a blank", Lines({good, With(other, 108, " Bank B")}), 2,
       "begins with a blank"},
      {"BIC", Lines({good, With(other, 140, "abcdefgh")}), 2, "BIC \"abcdefgh   \" is not 8 or 11"},
      {"method code", Lines({good, With(other, 151, "Z1")}), 2,
       "method code \"Z1\" is not 00-99 or A0-E9 (columns 151-152)"},
      {"method code F0", Lines({good, With(other, 151, "F0")}), 2, "method code \"F0\""},
      {"change flag", Lines({good, With(other, 159, "X")}), 2,
       "change flag \"X\" is not A, D, U or M (column 159)"},
      {"deletion notice", Lines({good, With(other, 160, "2")}), 2,
       "deletion notice \"2\" is not 0, 1 or blank (column 160)"},
      {"successor", Lines({good, With(other, 161, "1234 678")}), 2,
       "successor bank code \"1234 678\" is not eight digits or blank (columns 161-168)"},
      {"IBAN rule", Lines({With(BundesbankRecord(extended), 169, "00420x")}), 1,
       "IBAN rule \"00420x\" is not six digits (columns 169-174) " + notBundesbank},
      {"two Merkmal 1 records", Lines({good, other, good}), 3,
       "bank code 10000000 has more than one Merkmal 1 record (the first on line 1)"},
      {"only branches and deletions",
       Lines({BundesbankRecord(kBank, '2'), BundesbankRecord(kBank, '1', 'D')}), 0,
       "no bank code has a Merkmal 1 record that is not deleted"},
      {"CSV", "bank_code,account\n10000000,12345\n", 1, notBundesbank},
      {"HTML", "<!DOCTYPE html>\n<html><body>" + std::string(155, ' ') + "</body></html>\n", 1,
       "record has 15 characters"},
  };
  for (const Malformed& bad : cases) {
    SCOPED_TRACE(bad.why);
    const LoadResult result = ParseDirectory(bad.content, "memory");
    EXPECT_EQ(result.directory, nullptr);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->line, bad.line);
    EXPECT_NE(result.error->message.find(bad.message), std::string::npos) << result.error->message;
  }
}

TEST(BundesbankFileTest, MethodCodesTheGenerationLacksWarnPerBankOrFailWhenStrict) {
  const std::string content =
      Lines({BundesbankRecord(kBank), BundesbankRecord({"20000000", "E0", "B", "", false, "", ""}),
             BundesbankRecord({"20000000", "E0", "Branch", "", false, "", ""}, '2'),
             BundesbankRecord({"30000000", "E1", "C", "", false, "", ""}, '1', 'D')});
  LoadOptions options{RuleGeneration::k2009, [](std::string_view code) { return code < "E0"; }};
  const LoadResult lenient = ParseDirectory(content, "memory", options);
  ASSERT_NE(lenient.directory, nullptr);
  EXPECT_EQ(lenient.directory->size(), 2u);
  EXPECT_EQ(lenient.directory->Info().generation, RuleGeneration::k2009);
  ASSERT_EQ(lenient.warnings.size(), 1u);
  EXPECT_EQ(lenient.warnings[0].bankCode, "20000000");
  EXPECT_EQ(Describe(lenient.warnings[0]),
            "line 2: method code \"E0\" has no method in rule generation 2009");

  options.strict = true;
  const LoadResult strict = ParseDirectory(content, "memory", options);
  EXPECT_EQ(strict.directory, nullptr);
  ASSERT_TRUE(strict.error);
  EXPECT_EQ(strict.error->line, 2u);
}

TEST(BundesbankFileTest, ValidFromComesFromTheBundesbanksFileName) {
  const std::string content = Lines({BundesbankRecord(kBank)});
  const struct {
    std::string_view source;
    std::string_view validFrom;
  } cases[] = {
      {"blz_20260309.txt", "2026-03-09"},
      {"in/a/folder/blz_20230904_extended.txt", "2023-09-04"},
      {"C:\\data\\blz_20091207.TXT", "2009-12-07"},
      {"blz_20260230.txt", ""},
      {"blz_2026030.txt", ""},
      {"BLZ_20260309.txt", ""},
      {"blz_20260309.csv", ""},
      {"memory", ""},
  };
  for (const auto& [source, validFrom] : cases) {
    SCOPED_TRACE(source);
    const DirectoryInfo info = ParseDirectory(content, source).directory->Info();
    EXPECT_EQ(info.source, source);
    EXPECT_FALSE(info.compiledIn);
    EXPECT_EQ(info.validFrom ? IsoDate(*info.validFrom) : "", validFrom);
    EXPECT_FALSE(info.validUntil);
  }
}

TEST(BundesbankFileTest, UnreadableFilesAreErrorsOfTheWholeFile) {
  for (const std::filesystem::path& path :
       {std::filesystem::temp_directory_path() / "tavrel_no_such_file.txt",
        std::filesystem::temp_directory_path()}) {
    SCOPED_TRACE(path.string());
    const LoadResult result = LoadDirectory(path);
    EXPECT_EQ(result.directory, nullptr);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->line, 0u);
    EXPECT_NE(result.error->message.find(path.string()), std::string::npos);
  }
}

}  // namespace
}  // namespace tavrel::directory
