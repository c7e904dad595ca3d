#include <algorithm>
#include <array>

#include "directory/bank_records.h"
#include "directory/directory.h"

namespace tavrel::directory {
namespace {

constexpr int kNameFieldLimit = static_cast<int>(kLongestBankName);
constexpr int kBankCodeFieldLimit = static_cast<int>(kBankCodeLength);
constexpr std::string_view kAboutCommand = "info:";
constexpr std::string_view kHitSeparator = " | ";

// The search's case mapping: A-Z and the umlauts Ä Ö Ü (Windows-1252 0xC4,
// 0xD6, 0xDC) onto their small forms; every other byte maps to itself.
constexpr std::array<char, 256> MakeLowerCaseTable() {
  std::array<char, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    const bool capital = (byte >= 'A' && byte <= 'Z') || byte == 0xC4 || byte == 0xD6 || byte == 0xDC;
    table[byte] = static_cast<char>(capital ? byte + 0x20 : byte);
  }
  return table;
}
constexpr std::array<char, 256> kLowerCase = MakeLowerCaseTable();

char ToLower(char c) { return kLowerCase[static_cast<unsigned char>(c)]; }

// The name terms of a search text: a first term and, after the first comma
// (unless the text begins with it), a second term that may be empty.
struct Terms {
  std::string first;
  std::string second;
};

Terms SplitTerms(std::string_view searchText) {
  std::string lowered(searchText.size(), '\0');
  std::transform(searchText.begin(), searchText.end(), lowered.begin(), ToLower);
  const std::size_t comma = lowered.find(',');
  if (comma == std::string::npos || comma == 0) {
    return {std::move(lowered), {}};
  }
  return {lowered.substr(0, comma), lowered.substr(comma + 1)};
}

// A short name lower-cased into a fixed buffer, so visiting an entry never
// allocates. Names are at most kLongestBankName characters (checked when the
// table is compiled).
class LoweredName {
 public:
  explicit LoweredName(std::string_view name) : size_(std::min(name.size(), buffer_.size())) {
    std::transform(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(size_), buffer_.begin(), ToLower);
  }
  bool Contains(std::string_view term) const { return std::string_view(buffer_.data(), size_).find(term) != std::string_view::npos; }

 private:
  std::array<char, kLongestBankName> buffer_;
  std::size_t size_;
};

std::string HitLine(std::string_view bankCode, std::string_view name) {
  std::string line;
  line.reserve(bankCode.size() + kHitSeparator.size() + name.size());
  line.append(bankCode).append(kHitSeparator).append(name);
  return line;
}

void AddNameHits(std::string_view searchText, std::vector<std::string>& hits) {
  const Terms terms = SplitTerms(searchText);
  ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    const std::string_view name = entry.substr(kMethodCodeLength);
    const LoweredName lowered(name);
    if (lowered.Contains(terms.first) && lowered.Contains(terms.second)) {
      hits.push_back(HitLine(bankCode, name));
    }
  });
}

void AddBankCodeHits(std::string_view prefix, std::vector<std::string>& hits) {
  ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    if (bankCode.starts_with(prefix)) {
      hits.push_back(HitLine(bankCode, entry.substr(kMethodCodeLength)));
    }
  });
}

}  // namespace

SearchResult BankSearch(std::string_view searchText, bool) {
  SearchResult result;
  result.nameSearchMode = !searchText.empty() && !IsDigit(searchText.front());
  result.openAboutBox = result.nameSearchMode && searchText == kAboutCommand;
  result.fieldLimit = result.nameSearchMode ? kNameFieldLimit : kBankCodeFieldLimit;
  if (searchText.size() < 2) {
    return result;
  }
  if (result.nameSearchMode) {
    AddNameHits(searchText, result.hits);
  } else if (searchText.size() < kBankCodeLength) {
    AddBankCodeHits(searchText, result.hits);
  }
  std::sort(result.hits.begin(), result.hits.end());
  return result;
}

}  // namespace tavrel::directory
