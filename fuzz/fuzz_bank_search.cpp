// BankSearch on arbitrary text, compared with a plain scan of the directory: the
// same hits in ascending order, each "BANKCODE | name" with the name the
// directory holds for that code, and the mode and field limit the text implies.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_assert.h"
#include "tavrel/directory.h"

namespace {

using namespace tavrel;

constexpr std::size_t kBankCodeLength = 8;
constexpr std::string_view kSeparator = " | ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A-Z and the three German capitals with umlaut onto their small forms, into
// `folded` (reused across calls, so the scan does not allocate per entry).
void Fold(std::string_view text, std::string& folded) {
  folded.assign(text);
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || byte == 0xC4 || byte == 0xD6 || byte == 0xDC) {
      c = static_cast<char>(byte + 0x20);
    }
  }
}

// The hits a straightforward scan finds, unsorted.
std::vector<std::string> ScanForHits(std::string_view text, bool nameSearch) {
  std::vector<std::string> hits;
  if (text.size() < 2 || (!nameSearch && text.size() >= kBankCodeLength)) return hits;
  std::string terms;
  Fold(text, terms);
  const std::size_t comma = terms.find(',');
  const bool twoTerms = nameSearch && comma != std::string::npos && comma != 0;
  const std::string_view first = twoTerms ? std::string_view(terms).substr(0, comma) : terms;
  const std::string_view second = twoTerms ? std::string_view(terms).substr(comma + 1) : "";
  std::string folded;
  directory::ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    const std::string_view name = entry.substr(2);
    Fold(name, folded);
    const bool hit = nameSearch ? folded.find(first) != std::string::npos &&
                                      folded.find(second) != std::string::npos
                                : bankCode.starts_with(text);
    if (hit) hits.push_back(std::string(bankCode).append(kSeparator).append(name));
  });
  return hits;
}

void CheckHitLine(std::string_view line) {
  FUZZ_ASSERT(line.size() > kBankCodeLength + kSeparator.size());
  const std::string_view bankCode = line.substr(0, kBankCodeLength);
  FUZZ_ASSERT(std::all_of(bankCode.begin(), bankCode.end(), IsDigit));
  FUZZ_ASSERT(line.substr(kBankCodeLength, kSeparator.size()) == kSeparator);
  std::string name;
  FUZZ_ASSERT(directory::LookupBankName(bankCode, name));
  FUZZ_ASSERT(line.substr(kBankCodeLength + kSeparator.size()) == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool previousMode = (data[0] & 1) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const directory::SearchResult result = directory::BankSearch(text, previousMode);
  const bool nameSearch = !text.empty() && !IsDigit(text.front());
  FUZZ_ASSERT(result.nameSearchMode == nameSearch);
  FUZZ_ASSERT(result.fieldLimit == (nameSearch ? 27 : 8));
  FUZZ_ASSERT(result.openAboutBox == (nameSearch && text == "info:"));

  FUZZ_ASSERT(std::adjacent_find(result.hits.begin(), result.hits.end(),
                                 [](const std::string& a, const std::string& b) {
                                   return a >= b;
                                 }) == result.hits.end());
  for (const std::string& line : result.hits) CheckHitLine(line);

  std::vector<std::string> expected = ScanForHits(text, nameSearch);
  std::sort(expected.begin(), expected.end());
  FUZZ_ASSERT(result.hits == expected);
  return 0;
}
