// The typo-tolerant search over the compiled-in current directory (2026-03-09).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "directory/internal/fuzzy_text.h"
#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

FuzzySearchResult Search(std::string_view query) {
  return FuzzySearchBanks(*CompiledDirectory(RuleGeneration::kCurrent), query);
}

bool Lists(const FuzzySearchResult& result, std::string_view bankCode) {
  return std::any_of(result.hits.begin(), result.hits.end(),
                     [&](const FuzzyHit& hit) { return hit.bankCode == bankCode; });
}

// A query (Windows-1252), the bank it must find first with that score, and a
// bank it must not find at all (empty for none).
struct FirstHitCase {
  std::string_view query;
  std::string_view firstBankCode;
  int firstScore;
  std::string_view absentBankCode;
};

constexpr FirstHitCase kFirstHitCases[] = {
    // Whole words, in any order and case; Sparkasse Chemnitz lacks "volksbank".
    {"Volksbank Chemnitz", "87096214", 100, "87050000"},
    {"chemnitz VOLKSBANK", "87096214", 100, "87050000"},
    {"volksbank,chemnitz", "87096214", 100, ""},
    // Typos: a swap, a missing letter, two in a long word; the exact word first.
    {"volksbnak chemnitz", "87096214", 80, "87040000"},
    {"Comerzbank Chemnitz", "87040000", 80, "87096214"},
    {"Sparkase Chemnitz", "87050000", 80, ""},
    {"Spaarkase Chemnitz", "87050000", 70, ""},
    // Starts of words, and of bank codes.
    {"volksb chemn", "87096214", 90, ""},
    {"8709 volksbank", "87096214", 95, "87050000"},
    // Umlauts and ß written out and the other way round, in any case.
    {"BBk Muenchen", "70000000", 100, "10000000"},
    {"bbk M\xDCNCHEN", "70000000", 100, ""},
    {"s\xFC"
     "dt sparkasse",
     "70012600", 100, ""},
    {"suedt sparkasse", "70012600", 100, ""},
    {"Boerssum", "27062290", 100, ""},
    {"Wissmar", "50069976", 100, ""},
    {"Scheessel", "29152550", 100, ""},
    {"spree neisse sparkasse", "18050000", 100, "18092744"},
    {"ucfin m\xFCnchen", "70012000", 100, ""},
    // The bank code, alone or with a name term.
    {"12030000", "12030000", 100, "12030900"},
    {"12030000 kreditbank", "12030000", 100, ""},
};

TEST(FuzzySearchTest, FindsTheBankFirst) {
  for (const FirstHitCase& c : kFirstHitCases) {
    SCOPED_TRACE(c.query);
    const FuzzySearchResult result = Search(c.query);
    ASSERT_FALSE(result.hits.empty());
    EXPECT_EQ(result.hits.front().bankCode, c.firstBankCode);
    EXPECT_EQ(result.hits.front().score, c.firstScore);
    if (!c.absentBankCode.empty()) {
      EXPECT_FALSE(Lists(result, c.absentBankCode));
    }
  }
}

// Queries that must find nothing: too many edits for the term's length, typos
// in short terms or in digits, a code that is no bank's.
constexpr std::string_view kNoHitQueries[] = {
    "Drsdn",  // five letters, two edits from "dresden"
    "Volksbank Chemnitz Dresden",
    "bkb",  // three letters: no typo, though one edit from "bbk"
    "87096215 volksbank",
    "12030009",  // no typos in digits: not 12030000
    "zzzzzzzzzzzzzzzzzzzz",
};

TEST(FuzzySearchTest, FindsNothingBeyondTheAllowedEdits) {
  for (const std::string_view query : kNoHitQueries) {
    SCOPED_TRACE(query);
    const FuzzySearchResult result = Search(query);
    EXPECT_TRUE(result.hits.empty()) << result.hits.front().shortName;
    EXPECT_FALSE(result.tooManyTerms);
  }
}

// One term over many names: scores never rise, whole words lead, and a term
// inside a word (Kreissparkasse) comes after them; among equal matches names of
// fewer words first.
TEST(FuzzySearchTest, RanksWholeWordsFirstAndShortNamesAmongEquals) {
  const FuzzySearchResult result = Search("Sparkasse");
  ASSERT_FALSE(result.hits.empty());
  const auto& hits = result.hits;
  EXPECT_TRUE(std::is_sorted(hits.begin(), hits.end(), [](const FuzzyHit& a, const FuzzyHit& b) {
    return a.score > b.score;
  }));
  EXPECT_EQ(hits.front().score, 100);
  const auto inside = std::find_if(hits.begin(), hits.end(),
                                   [](const FuzzyHit& hit) { return hit.bankCode == "24151116"; });
  ASSERT_NE(inside, hits.end());
  EXPECT_EQ(inside->score, 75);
  // Words: runs of ASCII letters and digits and of Latin-1 letters.
  const auto words = [](std::string_view name) {
    int count = 0;
    bool inWord = false;
    for (const char c : name) {
      const bool letter = std::isalnum(static_cast<unsigned char>(c)) || (c & 0xC0) == 0xC0;
      count += letter && !inWord;
      inWord = letter;
    }
    return count;
  };
  for (std::size_t i = 1; i < hits.size() && hits[i].score == 100; ++i) {
    EXPECT_LE(words(hits[i - 1].shortName), words(hits[i].shortName)) << hits[i].shortName;
  }
}

TEST(FuzzySearchTest, BadInputFindsNothingAndNeverBreaks) {
  for (const std::string_view query : {"", "   ", " ,;-./ ", "\x81\x8D\x8F\x90\x9D", "\xD7\xF7"}) {
    SCOPED_TRACE(query);
    const FuzzySearchResult result = Search(query);
    EXPECT_TRUE(result.hits.empty());
    EXPECT_FALSE(result.tooManyTerms);
  }
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  EXPECT_TRUE(Search(everyByte).hits.empty());

  const std::string oneLongTerm(1 << 20, 'a');
  EXPECT_TRUE(Search(oneLongTerm).hits.empty());
  std::string oneTermOften;
  while (oneTermOften.size() < (1 << 20)) oneTermOften += "Sparkasse ";
  EXPECT_EQ(Search(oneTermOften).hits.size(), Search("sparkasse").hits.size());
  std::string manyTerms;
  for (int i = 0; manyTerms.size() < (1 << 20); ++i) manyTerms += std::to_string(i) + ' ';
  EXPECT_TRUE(Search(manyTerms).tooManyTerms);
}

TEST(FuzzySearchTest, AcceptsEightDifferentTermsAndRefusesNine) {
  EXPECT_FALSE(Search("a b c d e f g h a b").tooManyTerms);
  const FuzzySearchResult nine = Search("a b c d e f g h i");
  EXPECT_TRUE(nine.tooManyTerms);
  EXPECT_TRUE(nine.hits.empty());
}

struct DistanceCase {
  std::string_view term;
  std::string_view word;
  int maxEdits;
  int whole;
  int prefix;
};

constexpr DistanceCase kDistanceCases[] = {
    {"sparkasse", "sparkasse", 2, 0, 0},
    {"sparkase", "sparkasse", 2, 1, 1},
    {"volksbnak", "volksbank", 2, 1, 1},  // a swap of neighbours is one edit
    {"comerz", "commerzbank", 1, 2, 1},   // capped whole, one edit to "commerz"
    {"xparkasse", "sparkasse", 2, 1, 1},
    {"sprks", "sparkasse", 2, 3, 2},
    {"abcd", "wxyz", 2, 3, 3},
    {"chemnitzer", "chem", 2, 3, 3},  // longer than the word and its edits
    {"ab", "", 2, 2, 2},
    {"", "ab", 2, 2, 0},
};

TEST(FuzzyTextTest, EditDistancesAreCappedAtOneOverTheLimit) {
  for (const DistanceCase& c : kDistanceCases) {
    SCOPED_TRACE(std::string(c.term) + " / " + std::string(c.word));
    const EditDistances distances = BoundedEditDistances(c.term, c.word, c.maxEdits);
    EXPECT_EQ(distances.whole, c.whole);
    EXPECT_EQ(distances.prefix, c.prefix);
  }
}

}  // namespace
}  // namespace tavrel::directory
