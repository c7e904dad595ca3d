#include "tavrel/directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <string_view>

#include "tavrel/directory_testing.h"

namespace tavrel::directory {
namespace {

// Every (bank code, entry) pair of a directory walk, by bank code.
std::map<std::string, std::string> WalkDirectory() {
  std::map<std::string, std::string> entries;
  std::size_t visits = 0;
  ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    ++visits;
    entries.emplace(bankCode, entry);
  });
  EXPECT_EQ(visits, entries.size()) << "a bank code was visited twice";
  return entries;
}

struct TellingEntry {
  std::string_view bankCode;
  std::string_view methodCode;
  std::string_view bankName;
};

constexpr TellingEntry kTellingEntries[] = {
    {"10000000", "09", "BBk Berlin"},
    {"10020500", "09", "Bank f\xFCr Sozialwirtschaft"},
    {"10050000", "B8", "Landesbank - Berliner Spk"},
    {"10050005", "C6", "Landesbank Berlin - E 1 -"},
    {"10050006", "D1", "Landesbank Berlin - E 2 -"},
    {"10070100", "63", "Deutsche Bank Fil Berlin II"},
    {"36036000", "09", "VALBA"},
    {"60069980", "10", "Raiffbk Maselheim-\xC4pfingen"},
    {"87096214", "06", "Volksbank Chemnitz"},
};

TEST(DirectoryTest, TellingEntriesHaveTheirMethodCodeAndName) {
  for (const TellingEntry& expected : kTellingEntries) {
    SCOPED_TRACE(expected.bankCode);
    std::string methodCode;
    std::string bankName;
    EXPECT_TRUE(LookupMethodCode(expected.bankCode, methodCode));
    EXPECT_TRUE(LookupBankName(expected.bankCode, bankName));
    EntryView view;
    EXPECT_TRUE(FindEntry(expected.bankCode, view));
    EXPECT_EQ(methodCode, expected.methodCode);
    EXPECT_EQ(bankName, expected.bankName);
    EXPECT_EQ(view.methodCode, expected.methodCode);
    EXPECT_EQ(view.bankName, expected.bankName);
    // The views point into the entry: method code directly followed by the name.
    EXPECT_EQ(view.methodCode.data() + 2, view.bankName.data());
  }
}

TEST(DirectoryTest, KeysThatAreNotExactlyABankCodeMissAndLeaveOutputsAlone) {
  constexpr std::string_view kMisses[] = {
      "1000000",  "100000000", " 10000000", "10000000 ",
      "",         "0000000A",  "1000000/",  "1000000:",
      "00000000", "99999999",  "10000001",  std::string_view("1000000\0", 8),
  };
  for (const std::string_view key : kMisses) {
    SCOPED_TRACE(::testing::PrintToString(std::string(key)));
    std::string methodCode = "kept";
    std::string bankName = "kept too";
    EntryView view{"mc", "name"};
    EXPECT_FALSE(LookupMethodCode(key, methodCode));
    EXPECT_FALSE(LookupBankName(key, bankName));
    EXPECT_FALSE(FindEntry(key, view));
    EXPECT_EQ(methodCode, "kept");
    EXPECT_EQ(bankName, "kept too");
    EXPECT_EQ(view.methodCode, "mc");
    EXPECT_EQ(view.bankName, "name");
  }
}

TEST(DirectoryTest, WalkVisitsEveryBankOnceFromFirstToLast) {
  const std::map<std::string, std::string> entries = WalkDirectory();
  ASSERT_EQ(entries.size(), kEntryCount);
  EXPECT_EQ(entries.begin()->first, "10000000");
  EXPECT_EQ(entries.rbegin()->first, "87096214");
}

// Letters, digits, the German letters and the punctuation the short names use.
bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) ||
         std::string_view(" -.,/&()+@\xE4\xF6\xFC\xC4\xD6\xDC\xDF").find(c) !=
             std::string_view::npos;
}

TEST(DirectoryTest, EveryEntryIsWellFormedAndFoundByItsKey) {
  std::size_t shortest = 99;
  std::size_t longest = 0;
  for (const auto& [bankCode, entry] : WalkDirectory()) {
    SCOPED_TRACE(bankCode);
    ASSERT_GE(entry.size(), 3u);
    const std::string name = entry.substr(2);
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(entry[1])));
    EXPECT_NE(std::string_view("0123456789ABCD").find(entry[0]), std::string_view::npos);
    EXPECT_NE(name.front(), ' ');
    EXPECT_NE(name.back(), ' ');
    for (const char c : name) {
      EXPECT_TRUE(IsNameCharacter(c)) << "unexpected character in " << name;
    }
    shortest = std::min(shortest, name.size());
    longest = std::max(longest, name.size());
    EntryView view;
    ASSERT_TRUE(FindEntry(bankCode, view));
    EXPECT_EQ(std::string(view.methodCode) + std::string(view.bankName), entry);
  }
  EXPECT_EQ(shortest, 5u);
  EXPECT_EQ(longest, 27u);
}

TEST(DirectoryTest, NamesEndingInAltAreCounted) {
  std::size_t atEnd = 0;
  std::size_t inside = 0;
  for (const auto& [bankCode, entry] : WalkDirectory()) {
    const std::string_view name = std::string_view(entry).substr(2);
    if (name.ends_with("-alt-")) {
      ++atEnd;
    } else if (name.find("-alt-") != std::string_view::npos) {
      ++inside;
    }
  }
  EXPECT_EQ(atEnd, 277u);
  EXPECT_EQ(inside, 1u);
}

TEST(DirectoryTest, EntriesPerMethodCode) {
  const std::map<std::string, std::size_t> expected = {
      {"00", 388}, {"01", 51},  {"02", 3},   {"03", 11},  {"04", 12},  {"05", 2},   {"06", 345},
      {"07", 2},   {"08", 13},  {"09", 635}, {"10", 251}, {"11", 2},   {"13", 273}, {"14", 36},
      {"16", 14},  {"17", 3},   {"18", 4},   {"19", 8},   {"20", 68},  {"21", 2},   {"22", 1},
      {"23", 1},   {"24", 15},  {"25", 1},   {"26", 2},   {"27", 2},   {"28", 167}, {"29", 1},
      {"30", 2},   {"32", 217}, {"33", 26},  {"34", 148}, {"38", 43},  {"40", 2},   {"41", 2},
      {"42", 1},   {"43", 1},   {"44", 3},   {"45", 1},   {"46", 2},   {"47", 1},   {"48", 7},
      {"49", 1},   {"50", 7},   {"51", 2},   {"52", 6},   {"55", 2},   {"56", 3},   {"57", 8},
      {"58", 1},   {"59", 1},   {"60", 13},  {"61", 34},  {"63", 290}, {"64", 1},   {"65", 35},
      {"66", 1},   {"67", 1},   {"68", 45},  {"69", 2},   {"71", 1},   {"73", 1},   {"74", 1},
      {"76", 179}, {"78", 1},   {"80", 1},   {"81", 6},   {"84", 2},   {"85", 1},   {"86", 1},
      {"87", 1},   {"88", 406}, {"90", 1},   {"91", 20},  {"92", 2},   {"94", 1},   {"95", 3},
      {"96", 1},   {"98", 1},   {"99", 141}, {"A1", 1},   {"A2", 3},   {"A3", 4},   {"A5", 1},
      {"A6", 1},   {"A7", 3},   {"A8", 1},   {"A9", 1},   {"B1", 2},   {"B2", 2},   {"B3", 1},
      {"B5", 1},   {"B6", 1},   {"B7", 1},   {"B8", 1},   {"B9", 2},   {"C0", 14},  {"C1", 1},
      {"C2", 1},   {"C3", 4},   {"C4", 1},   {"C5", 3},   {"C6", 1},   {"C7", 1},   {"C8", 1},
      {"C9", 1},   {"D0", 1},   {"D1", 1},   {"D2", 1},   {"D3", 1},
  };
  ASSERT_EQ(expected.size(), 110u);
  std::map<std::string, std::size_t> counted;
  for (const auto& [bankCode, entry] : WalkDirectory()) {
    ++counted[entry.substr(0, 2)];
  }
  EXPECT_EQ(counted, expected);
}

TEST(DirectoryTest, FailedFillLeavesDirectoryEmptyAndTheNextCallFillsItWithoutDoubles) {
  testing::ResetDirectory();
  const std::size_t fillsBefore = testing::CompletedFills();
  testing::FailNextFillAfter(1000);
  std::string name = "kept";
  EXPECT_THROW(LookupBankName("10000000", name), std::bad_alloc);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(testing::CompletedFills(), fillsBefore);

  EXPECT_TRUE(LookupBankName("87096214", name));
  EXPECT_EQ(name, "Volksbank Chemnitz");
  EXPECT_EQ(testing::CompletedFills(), fillsBefore + 1);
  EXPECT_EQ(WalkDirectory().size(), kEntryCount);
  EXPECT_EQ(testing::CompletedFills(), fillsBefore + 1) << "a filled directory was filled again";
}

}  // namespace
}  // namespace tavrel::directory
