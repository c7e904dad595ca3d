// BankSearch on arbitrary text, compared with a plain search of the directory:
// the same hits in ascending order, each "BANKCODE | name" with the name the
// directory holds for that code, and the mode and field limit the text implies.
// The plain search reads a copy of the directory prepared once, ascending and
// with every name folded, so each input costs one search, not a rescan.
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

// A-Z and the three German capitals with umlaut onto their small forms.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || byte == 0xC4 || byte == 0xD6 || byte == 0xDC) {
      c = static_cast<char>(byte + 0x20);
    }
  }
  return folded;
}

struct PreparedBank {
  std::string bankCode;
  std::string hitLine;  // "BANKCODE | name"
  std::string foldedName;
};

// The directory, ascending by bank code, read once.
const std::vector<PreparedBank>& PreparedDirectory() {
  static const std::vector<PreparedBank> banks = [] {
    std::vector<PreparedBank> list;
    directory::ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
      const std::string_view name = entry.substr(2);
      list.push_back({std::string(bankCode), std::string(bankCode).append(kSeparator).append(name),
                      Fold(name)});
    });
    std::sort(list.begin(), list.end(),
              [](const PreparedBank& a, const PreparedBank& b) { return a.bankCode < b.bankCode; });
    return list;
  }();
  return banks;
}

// The hits a straightforward search finds, ascending.
std::vector<std::string> ExpectedHits(std::string_view text, bool nameSearch) {
  std::vector<std::string> hits;
  if (text.size() < 2 || (!nameSearch && text.size() >= kBankCodeLength)) return hits;
  const std::vector<PreparedBank>& banks = PreparedDirectory();
  if (!nameSearch) {
    auto bank = std::lower_bound(
        banks.begin(), banks.end(), text,
        [](const PreparedBank& b, std::string_view prefix) { return b.bankCode < prefix; });
    for (; bank != banks.end() && bank->bankCode.starts_with(text); ++bank) {
      hits.push_back(bank->hitLine);
    }
    return hits;
  }
  const std::string terms = Fold(text);
  const std::size_t comma = terms.find(',');
  const bool twoTerms = comma != std::string::npos && comma != 0;
  const std::string_view first = twoTerms ? std::string_view(terms).substr(0, comma) : terms;
  const std::string_view second = twoTerms ? std::string_view(terms).substr(comma + 1) : "";
  for (const PreparedBank& bank : banks) {
    if (bank.foldedName.find(first) != std::string::npos &&
        bank.foldedName.find(second) != std::string::npos) {
      hits.push_back(bank.hitLine);
    }
  }
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
  for (const std::string& line : result.hits) CheckHitLine(line);
  FUZZ_ASSERT(result.hits == ExpectedHits(text, nameSearch));
  return 0;
}
