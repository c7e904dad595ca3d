#include "tavrel/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tavrel::encoding {
namespace {

using namespace std::string_view_literals;

// Windows-1252 bytes beside their UTF-8 and UTF-16 forms.
struct KnownText {
  std::string_view cp1252;
  std::string_view utf8;
  std::u16string_view utf16;
};

constexpr KnownText kKnownTexts[] = {
    {"", "", u""},
    {"Bank", "Bank", u"Bank"},
    {"Bank f\xFCr Sozialwirtschaft", "Bank f\xC3\xBCr Sozialwirtschaft",
     u"Bank f\u00FCr Sozialwirtschaft"},
    {"\xC4\xD6\xDC\xE4\xF6\xFC\xDF", "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F",
     u"\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF"},
    {"\x80", "\xE2\x82\xAC", u"\u20AC"},
    {"\x9F\x8A\x99", "\xC5\xB8\xC5\xA0\xE2\x84\xA2", u"\u0178\u0160\u2122"},
    {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D",
     u"\u0081\u008D\u008F\u0090\u009D"},
    {"\xA0\xFF", "\xC2\xA0\xC3\xBF", u"\u00A0\u00FF"},
    {"a\0b"sv, "a\0b"sv, u"a\0b"sv},
};

TEST(EncodingTest, KnownTextsConvertBothWays) {
  for (const KnownText& text : kKnownTexts) {
    SCOPED_TRACE(text.utf8);
    EXPECT_EQ(Cp1252ToUtf8(text.cp1252), text.utf8);
    EXPECT_EQ(Cp1252ToUtf16(text.cp1252), text.utf16);
    EXPECT_EQ(Utf8ToCp1252(text.utf8), std::string(text.cp1252));
    EXPECT_EQ(Utf8ToCp1252Lossy(text.utf8), text.cp1252);
    EXPECT_EQ(Utf16ToCp1252(text.utf16), text.cp1252);
  }
}

TEST(EncodingTest, EveryByteSurvivesRoundTrips) {
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) {
    allBytes.push_back(static_cast<char>(byte));
  }
  const std::string utf8 = Cp1252ToUtf8(allBytes);
  EXPECT_EQ(Utf8ToCp1252(utf8), allBytes);
  EXPECT_EQ(Utf8ToCp1252Lossy(utf8), allBytes);
  const std::u16string utf16 = Cp1252ToUtf16(allBytes);
  EXPECT_EQ(utf16.size(), allBytes.size());
  EXPECT_EQ(Utf16ToCp1252(utf16), allBytes);
}

// Input that strict decoding rejects, with what the lossy form makes of it.
struct BadUtf8 {
  std::string_view why;
  std::string_view utf8;
  std::string_view lossy;
};

constexpr BadUtf8 kBadUtf8[] = {
    {"lone continuation byte", "a\x80z", "a?z"},
    {"byte that never starts a sequence", "\xC0\xC1\xF5\xFF", "????"},
    {"overlong NUL", "\xC0\x80", "??"},
    {"overlong three-byte form", "\xE0\x80\xAF", "???"},
    {"overlong four-byte form", "\xF0\x80\x80\xAF", "????"},
    {"surrogate", "\xED\xA0\x80", "???"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
    {"truncated at the end", "ab\xE2\x82", "ab?"},
    {"truncated by an ASCII byte",
     "\xE2\x82"
     "A",
     "?A"},
    {"truncated two-byte form", "\xC3", "?"},
    {"no Windows-1252 form", "\xE2\x82\xB9", "?"},
    {"C1 control with no Windows-1252 form", "\xC2\x80", "?"},
    {"four-byte character", "x\xF0\x9F\x98\x80y", "x?y"},
};

TEST(EncodingTest, StrictRejectsAndLossyReplacesBadUtf8) {
  for (const BadUtf8& bad : kBadUtf8) {
    SCOPED_TRACE(bad.why);
    EXPECT_EQ(Utf8ToCp1252(bad.utf8), std::nullopt);
    EXPECT_EQ(Utf8ToCp1252Lossy(bad.utf8), bad.lossy);
  }
}

struct BadUtf16 {
  std::string_view why;
  std::u16string_view utf16;
  std::string_view cp1252;
};

constexpr BadUtf16 kBadUtf16[] = {
    {"lone high surrogate at the end", u"a\xD800", "a?"},
    {"lone high surrogate before a letter", u"\xD800z", "?z"},
    {"lone low surrogate", u"\xDC00z", "?z"},
    {"reversed pair", u"\xDC00\xD800", "??"},
    {"valid pair is one character", u"x\xD83D\xDE00y", "x?y"},
    {"character outside Windows-1252", u"\u0100\u20B9", "??"},
    {"C1 control without a Windows-1252 byte", u"\u0080\u009F", "??"},
};

TEST(EncodingTest, Utf16ReplacesWhatHasNoWindows1252Form) {
  for (const BadUtf16& bad : kBadUtf16) {
    SCOPED_TRACE(bad.why);
    EXPECT_EQ(Utf16ToCp1252(bad.utf16), bad.cp1252);
  }
}

}  // namespace
}  // namespace tavrel::encoding
