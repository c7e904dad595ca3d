// The batch formats answer most lines by a shortcut for the usual line; every
// line, usual or not, must get the answer and the count that the general line
// handling gives it on its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/internal/batch.h"

namespace tavrel::cli {
namespace {

struct FormatCase {
  const char* name;
  const LineFormat* format;
  std::vector<std::string> lines;
};

// Lines that are usual and lines just outside: at the 32-byte window's edge, with
// CR, blanks, DEL, UTF-8, NUL and other control bytes, no tab or two tabs.
const FormatCase kCases[] = {
    {"check",
     &kCheckLines,
     {"12030000\t9290701",
      "12030000\t9290702",
      "10000000\t1",
      "99999999\t1",
      "1203000\t1",
      "12030000\t12345678901",
      "12030000\t12a",
      "12030000\t0000000000",
      "12030000\t9290701\r",
      " 12030000 \t 9290701 ",
      "12030000\t9290701\t",
      "12030000 9290701",
      "",
      "\t",
      "12030000\t" + std::string(21, '1'),
      "12030000\t" + std::string(22, '1'),
      "12030000\t" + std::string(23, '1'),
      "12030000\t92907\x7f",
      "12030000\t92907\xc3\xbc",
      std::string("12030000\t9\0", 11),
      "12030000\t9\x01",
      "\xef\xbb\xbf"}},
    {"iban",
     &kIbanLines,
     {"DE59120300000009290701", "DE60120300000009290702", "de59120300000009290701",
      "DE59 1203 0000 0009 2907 01", "IBAN DE59120300000009290701", "DE59120300000009290701\r",
      "GB82WEST12345698765432", "DE00120300000009290701", "DE5912030000000929070",
      "DE591203000000092907011", "DE59\t120300000009290701", "", "DE59 1203 0000 0009 2907 01 ",
      "DE591203000000092907\xc3\xbc", std::string("DE5912030000\0", 13), "XX00123"}},
};

class UsualLinesTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(UsualLinesTest, AnswersAsTheGeneralHandlingDoes) {
  const FormatCase& c = GetParam();
  const service::CheckSource source = service::DefaultSource();
  // Every line after every other, so that each kind of line follows each kind.
  std::string input;
  std::string expected;
  BatchCounts expectedCounts;
  std::uint64_t lineNumber = 1;
  for (const std::string& first : c.lines) {
    for (const std::string& second : c.lines) {
      for (const std::string* line : {&first, &second}) {
        input += *line + "\n";
        // A chunk of one line without its line end never takes the shortcut;
        // an empty line needs its line end to be a line.
        const std::string alone = line->empty() ? "\n" : *line;
        expectedCounts += ProcessChunk(Chunk{alone, lineNumber++}, *c.format, source, expected);
      }
    }
  }
  std::string out;
  const BatchCounts counts = ProcessChunk(Chunk{input, 1}, *c.format, source, out);
  EXPECT_EQ(out, expected);
  EXPECT_EQ(counts.lines, expectedCounts.lines);
  EXPECT_EQ(counts.malformed, expectedCounts.malformed);
  EXPECT_EQ(counts.byResult, expectedCounts.byResult);
}

INSTANTIATE_TEST_SUITE_P(Formats, UsualLinesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrel::cli
