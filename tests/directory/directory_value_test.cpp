// Directories as values: the compiled-in 2009 and current ones, and the
// Bundesbank files loaded at run time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

std::filesystem::path SharedFile(std::string_view name) {
  const char* folder = std::getenv("TAVREL_SHARED_DATA");
  return std::filesystem::path(folder ? folder : "") / name;
}

// The method counts of a Bundesbank file by a plain scan of its Merkmal 1
// records not flagged D: the oracle for the directory built from it.
std::map<std::string, std::size_t, std::less<>> MethodCountsInFile(
    const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::map<std::string, std::size_t, std::less<>> counts;
  for (std::string line; std::getline(in, line);) {
    if (line[8] == '1' && line[158] != 'D') ++counts[line.substr(150, 2)];
  }
  return counts;
}

std::shared_ptr<const Directory> Load(std::string_view name) {
  const std::filesystem::path path = SharedFile(name);
  if (!std::filesystem::exists(path)) return nullptr;
  const LoadResult result = LoadDirectory(path);
  EXPECT_FALSE(result.error) << Describe(*result.error);
  EXPECT_TRUE(result.warnings.empty());
  return result.directory;
}

std::string ValidityOf(const DirectoryInfo& info) {
  return (info.validFrom ? IsoDate(*info.validFrom) : "?") + " to " +
         (info.validUntil ? IsoDate(*info.validUntil) : "?");
}

TEST(DirectoryValueTest, CompiledInDirectoriesSayWhatTheyAre) {
  const std::shared_ptr<const Directory> current = CompiledDirectory(RuleGeneration::kCurrent);
  const std::shared_ptr<const Directory> old = CompiledDirectory(RuleGeneration::k2009);
  EXPECT_EQ(current->Info().source, "blz_20260309.txt");
  EXPECT_EQ(ValidityOf(current->Info()), "2026-03-09 to 2026-06-07");
  EXPECT_EQ(NameOf(current->Info().generation), "current");
  EXPECT_EQ(current->Info().entryCount, 3503u);
  EXPECT_EQ(old->Info().source, "blz_20090907.txt");
  EXPECT_EQ(ValidityOf(old->Info()), "2009-09-07 to 2009-12-06");
  EXPECT_EQ(NameOf(old->Info().generation), "2009");
  EXPECT_EQ(old->Info().entryCount, kEntryCount);
  EXPECT_TRUE(current->Info().compiledIn && old->Info().compiledIn);
  EXPECT_EQ(current, CompiledDirectory(RuleGeneration::kCurrent)) << "built more than once";
}

TEST(DirectoryValueTest, CompiledCurrentDirectoryIsTheMarch2026File) {
  const Directory& current = *CompiledDirectory(RuleGeneration::kCurrent);
  EXPECT_EQ((*current.begin()).bankCode, "10000000");
  EXPECT_EQ(current[current.size() - 1].bankCode, "87096214");
  for (const std::string_view flaggedD : {"10030200", "51961515", "76260451"}) {
    EXPECT_FALSE(current.Find(flaggedD)) << flaggedD;
  }
  const std::optional<Bank> bundesbank = current.Find("10000000");
  ASSERT_TRUE(bundesbank);
  EXPECT_EQ(bundesbank->shortName, "BBk Berlin");
  EXPECT_EQ(bundesbank->bic, "MARKDEF1100");
  EXPECT_EQ(current.FindMethodCode("10011001"), "09");
  EXPECT_EQ(current.MethodCounts().size(), 92u);

  std::size_t withoutBic = 0, notices = 0, noticesWithoutSuccessor = 0;
  for (const Bank bank : current) {
    withoutBic += bank.bic.empty();
    notices += bank.deletionNotice;
    noticesWithoutSuccessor += bank.deletionNotice && bank.successor.empty();
  }
  EXPECT_EQ(withoutBic, 3u);
  EXPECT_EQ(notices, 75u);
  EXPECT_EQ(noticesWithoutSuccessor, 41u);

  const std::filesystem::path file = SharedFile("blz_20260309.txt");
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "the Bundesbank file is not available";
  EXPECT_EQ(current.MethodCounts(), MethodCountsInFile(file));
}

bool SameBank(const Bank& a, const Bank& b) {
  return a.bankCode == b.bankCode && a.methodCode == b.methodCode && a.shortName == b.shortName &&
         a.bic == b.bic && a.deletionNotice == b.deletionNotice && a.successor == b.successor &&
         a.ibanRule == b.ibanRule;
}

TEST(DirectoryValueTest, LoadedFileEqualsTheCompiledInDirectoryBankForBank) {
  for (const auto& [name, generation] : {std::pair{"blz_20260309.txt", RuleGeneration::kCurrent},
                                         std::pair{"blz_20090907.txt", RuleGeneration::k2009}}) {
    SCOPED_TRACE(name);
    const std::shared_ptr<const Directory> loaded = Load(name);
    if (!loaded) GTEST_SKIP() << "the Bundesbank file is not available";
    const Directory& compiled = *CompiledDirectory(generation);
    ASSERT_EQ(loaded->size(), compiled.size());
    for (std::size_t i = 0; i < compiled.size(); ++i) {
      ASSERT_TRUE(SameBank((*loaded)[i], compiled[i])) << compiled[i].bankCode;
    }
    EXPECT_EQ(loaded->Info().validFrom, compiled.Info().validFrom);
    EXPECT_FALSE(loaded->Info().validUntil);
  }
}

TEST(DirectoryValueTest, CompiledIn2009DirectoryHoldsTheBanksOfForEachEntry) {
  const Directory& old = *CompiledDirectory(RuleGeneration::k2009);
  std::size_t visited = 0;
  ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    const Bank bank = old[visited++];
    EXPECT_EQ(bank.bankCode, bankCode);
    EXPECT_EQ(std::string(bank.methodCode) + std::string(bank.shortName), entry);
  });
  EXPECT_EQ(visited, old.size());
  std::size_t successors = 0;
  for (const Bank bank : old) successors += !bank.successor.empty();
  // The file names 150; three of them on records flagged D, which are left out.
  EXPECT_EQ(successors, 147u);
}

TEST(DirectoryValueTest, ExtendedFileLoadsWithItsIbanRules) {
  const std::shared_ptr<const Directory> extended = Load("blz_20230904_extended.txt");
  if (!extended) GTEST_SKIP() << "the extended file is not available";
  EXPECT_EQ(extended->size(), 3545u);
  EXPECT_EQ(IsoDate(*extended->Info().validFrom), "2023-09-04");
  std::size_t standardRule = 0;
  std::set<std::string_view> rules;
  for (const Bank bank : *extended) {
    ASSERT_EQ(bank.ibanRule.size(), 6u) << bank.bankCode;
    standardRule += bank.ibanRule == "000000";
    rules.insert(bank.ibanRule);
  }
  EXPECT_EQ(standardRule, 2282u);
  EXPECT_EQ(extended->Find("10000000")->ibanRule, "004201");
  EXPECT_EQ(extended->MethodCounts(), MethodCountsInFile(SharedFile("blz_20230904_extended.txt")));
}

TEST(DirectoryValueTest, KeysThatAreNotExactlyAListedBankCodeMiss) {
  const Directory& current = *CompiledDirectory(RuleGeneration::kCurrent);
  for (const std::string_view key : std::initializer_list<std::string_view>{
           "", "1000000", "100000000", " 10000000", "1000000A", "00000000", "99999999", "10000001",
           std::string_view("1000000\0", 8)}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(key)));
    EXPECT_FALSE(current.Find(key));
    EXPECT_TRUE(current.FindMethodCode(key).empty());
  }
  for (const Bank bank : current) {
    ASSERT_EQ(current.FindMethodCode(bank.bankCode), bank.methodCode);
    ASSERT_TRUE(SameBank(*current.Find(bank.bankCode), bank));
  }
}

TEST(DirectoryValueTest, SuccessorHintsComeFromTheOlderDirectory) {
  const Directory& current = *CompiledDirectory(RuleGeneration::kCurrent);
  const Directory& old = *CompiledDirectory(RuleGeneration::k2009);
  const struct {
    std::string_view bankCode;
    bool hint;
    std::string_view successor;
    bool successorIsKnown;
  } cases[] = {
      {"10022200", true, "10050000", true},   // Landesbank Berlin
      {"50069828", true, "51362514", false},  // its successor is gone too
      {"10010111", true, "", false},          // SEB Berlin: gone, no successor named
      {"10000000", false, "", false},         // still listed
      {"10011001", false, "", false},         // unknown to 2009
      {"12345678", false, "", false},        {"1234", false, "", false},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(expected.bankCode);
    const std::optional<SuccessorHint> hint = FindSuccessorHint(expected.bankCode, current, old);
    ASSERT_EQ(hint.has_value(), expected.hint);
    if (!hint) continue;
    EXPECT_EQ(hint->successor, expected.successor);
    EXPECT_EQ(hint->successorIsKnown, expected.successorIsKnown);
    EXPECT_EQ(hint->seenIn, &old.Info());
  }
}

TEST(DirectoryValueTest, DirectorySearchFollowsTheRulesOfTheBankSearch) {
  const Directory& old = *CompiledDirectory(RuleGeneration::k2009);
  for (const std::string_view text : {"1", "10", "100500", "10000000", "10a", "b", "bbk berlin",
                                      "volksbank,chemnitz", "bank,sparda", ",bank", "info:",
                                      "\xDC"
                                      "BER",
                                      "N\xDCRNBG SONNENSTR", "ueber"}) {
    SCOPED_TRACE(text);
    const SearchResult expected = BankSearch(text, false);
    const SearchResult result = SearchBanks(old, text);
    EXPECT_EQ(result.hits, expected.hits);
    EXPECT_EQ(result.nameSearchMode, expected.nameSearchMode);
    EXPECT_EQ(result.fieldLimit, expected.fieldLimit);
    EXPECT_EQ(result.openAboutBox, expected.openAboutBox);
  }
  const SearchResult today = SearchBanks(*CompiledDirectory(RuleGeneration::kCurrent), "1001100");
  EXPECT_EQ(today.hits, std::vector<std::string>{"10011001 | N26 Bank Berlin"});
}

TEST(DirectoryValueTest, ConstructorRejectsMalformedOrUnorderedBanks) {
  const Bank a{"10000000", "09", "A", "", false, "", ""};
  const Bank b{"20000000", "09", "B", "", false, "", ""};
  Bank badBic = b;
  badBic.bic = "ABC";
  Bank badName = b;
  badName.shortName = "B ";
  const std::vector<std::vector<Bank>> rejected = {{b, a}, {a, a}, {a, badBic}, {badName}};
  for (const std::vector<Bank>& banks : rejected) {
    EXPECT_THROW(Directory({}, banks), std::invalid_argument);
  }
  const Directory empty({}, {});
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_FALSE(empty.Find("10000000"));
  EXPECT_EQ(empty.begin(), empty.end());
}

}  // namespace
}  // namespace tavrel::directory
