#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

struct ModeCase {
  std::string_view text;
  bool nameSearchMode;
  int fieldLimit;
  bool openAboutBox;
};

constexpr ModeCase kModeCases[] = {
    {"", false, 8, false},
    {"1", false, 8, false},
    {"10000000", false, 8, false},
    {"b", true, 27, false},
    {" 1", true, 27, false},
    {"info:", true, 27, true},
    {"INFO:", true, 27, false},
    {"info: ", true, 27, false},
    {"Deutsche Bank Fil Berlin II", true, 27, false},
};

TEST(BankSearchTest, ModeFieldLimitAndAboutBoxFollowTheText) {
  for (const ModeCase& expected : kModeCases) {
    SCOPED_TRACE(expected.text);
    for (const bool modeBefore : {false, true}) {
      const SearchResult result = BankSearch(expected.text, modeBefore);
      EXPECT_EQ(result.nameSearchMode, expected.nameSearchMode);
      EXPECT_EQ(result.fieldLimit, expected.fieldLimit);
      EXPECT_EQ(result.openAboutBox, expected.openAboutBox);
    }
  }
}

// A search with the number of hit lines it gives and, when there are any, the
// first and last of them.
struct HitCase {
  std::string_view text;
  std::size_t hitCount;
  std::string_view firstHit;
  std::string_view lastHit;
};

constexpr HitCase kHitCases[] = {
    // Bank codes by leading digits: two to seven digits search.
    {"1", 0, "", ""},
    {"10", 66, "10000000 | BBk Berlin", "10320800 | Emporiki Bank Berlin"},
    {"1000", 1, "10000000 | BBk Berlin", "10000000 | BBk Berlin"},
    {"100500", 4, "10050000 | Landesbank - Berliner Spk", "10050006 | Landesbank Berlin - E 2 -"},
    {"8709621", 1, "87096214 | Volksbank Chemnitz", "87096214 | Volksbank Chemnitz"},
    {"10000000", 0, "", ""},
    {"100000000", 0, "", ""},
    {"10a", 0, "", ""},  // a keystroke the digit filter will reject
    {"99", 0, "", ""},
    // Names by one or two terms.
    {"b", 0, "", ""},
    {"bbk berlin", 3, "10000000 | BBk Berlin", "17000000 | BBk Berlin eh Frankfurt, Od"},
    {"BBk Berlin", 3, "10000000 | BBk Berlin", "17000000 | BBk Berlin eh Frankfurt, Od"},
    {"volksbank,chemnitz", 1, "87096214 | Volksbank Chemnitz", "87096214 | Volksbank Chemnitz"},
    {"chemnitz,volksbank", 1, "87096214 | Volksbank Chemnitz", "87096214 | Volksbank Chemnitz"},
    {"sparda", 17, "", ""},
    {"bank,sparda", 16, "", ""},
    {"bank, sparda", 0, "", ""},
    {"hh, kiel", 1, "21050000 | HSH Nordbank HH, Kiel", "21050000 | HSH Nordbank HH, Kiel"},
    {",bank", 0, "", ""},
    {"info:", 0, "", ""},
    {"Deutsche Bank Fil Berlin II", 1, "10070100 | Deutsche Bank Fil Berlin II",
     "10070100 | Deutsche Bank Fil Berlin II"},
    {"deutsche bank fil berlin ii", 1, "10070100 | Deutsche Bank Fil Berlin II",
     "10070100 | Deutsche Bank Fil Berlin II"},
    {"Deutsche Bank Fil Berlin IIx", 0, "", ""},
    // Ä, Ö and Ü map onto their small forms; nothing else outside A-Z does.
    {"\xFC"
     "ber",
     3,
     "50961685 | Volksbank \xDC"
     "berwald-Gorxheim",
     "69061800 | Volksbank \xDC"
     "berlingen"},
    {"\xDC"
     "BER",
     3,
     "50961685 | Volksbank \xDC"
     "berwald-Gorxheim",
     "69061800 | Volksbank \xDC"
     "berlingen"},
    {"\xC4"
     "PFINGEN",
     1,
     "60069980 | Raiffbk Maselheim-\xC4"
     "pfingen",
     "60069980 | Raiffbk Maselheim-\xC4"
     "pfingen"},
    {"v\xD6"
     "b-zvd bank gf 1",
     1,
     "38011001 | V\xD6"
     "B-ZVD Bank Gf 1",
     "38011001 | V\xD6"
     "B-ZVD Bank Gf 1"},
    {"N\xDCRNBG SONNENSTR", 1,
     "76091000 | Sparda-Bk N\xFC"
     "rnbg Sonnenstr",
     "76091000 | Sparda-Bk N\xFC"
     "rnbg Sonnenstr"},
    {"ueber", 0, "", ""},
};

TEST(BankSearchTest, HitsForSearchTexts) {
  for (const HitCase& expected : kHitCases) {
    SCOPED_TRACE(expected.text);
    const SearchResult result = BankSearch(expected.text, false);
    ASSERT_EQ(result.hits.size(), expected.hitCount);
    EXPECT_TRUE(std::is_sorted(result.hits.begin(), result.hits.end()));
    if (!expected.firstHit.empty()) {
      EXPECT_EQ(result.hits.front(), expected.firstHit);
      EXPECT_EQ(result.hits.back(), expected.lastHit);
    }
  }
}

TEST(BankSearchTest, PrefixSearchListsExactlyTheMatchingBankCodes) {
  std::vector<std::string> bankCodes;
  for (const std::string& line : BankSearch("100500", false).hits) {
    bankCodes.push_back(line.substr(0, 8));
  }
  EXPECT_EQ(bankCodes, (std::vector<std::string>{"10050000", "10050001", "10050005", "10050006"}));
}

// Texts that must give the same hit lines as each other.
struct SameHits {
  std::string_view text;
  std::string_view sameAs;
};

constexpr SameHits kSameHits[] = {
    {"BBk Berlin", "bbk berlin"},
    {"sparda,", "sparda"},
    {"chemnitz,volksbank", "volksbank,chemnitz"},
    {"SPARDA,BANK", "bank,sparda"},
    {"\xDC"
     "ber",
     "\xFC"
     "ber"},
};

TEST(BankSearchTest, CaseAndTermOrderDoNotChangeTheHits) {
  for (const SameHits& pair : kSameHits) {
    SCOPED_TRACE(pair.text);
    const std::vector<std::string> hits = BankSearch(pair.text, true).hits;
    EXPECT_FALSE(hits.empty());
    EXPECT_EQ(hits, BankSearch(pair.sameAs, true).hits);
  }
}

}  // namespace
}  // namespace tavrel::directory
