#include "tavrel/ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

TEST(Ascii, IsEightDigitsAcceptsOnlyEightDecimalDigits) {
  for (const char* text : {"00000000", "99999999", "12030000"})
    EXPECT_TRUE(IsEightDigits(text)) << text;
  for (const char* text : {"1234567", "123456789", ""}) EXPECT_FALSE(IsEightDigits(text)) << text;
  static_assert(IsEightDigits("12030000") && !IsEightDigits("1203000x"));
  // Every other byte value, at every place, makes the text fail.
  for (int place = 0; place < 8; ++place) {
    for (int byte = 0; byte < 256; ++byte) {
      std::string text = "55555555";
      text[static_cast<std::size_t>(place)] = static_cast<char>(byte);
      EXPECT_EQ(IsEightDigits(text), byte >= '0' && byte <= '9')
          << "byte " << byte << " at " << place;
    }
  }
}

TEST(Ascii, CaseFoldingTouchesOnlyAToZ) {
  EXPECT_TRUE(EqualIgnoringAsciiCase("Bank_Code", "bank_code"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xC4", "\xE4"));  // no umlauts: Windows-1252 Ä, ä
  EXPECT_FALSE(EqualIgnoringAsciiCase("blz", "blz "));
  EXPECT_EQ(FoldAsciiCase('@'), '@');
  EXPECT_EQ(FoldAsciiCase('['), '[');
}

}  // namespace
}  // namespace tavrel
