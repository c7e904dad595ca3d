#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "internal/bank_records.h"
#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

constexpr int kNameFieldLimit = static_cast<int>(kLongestBankName);
constexpr int kBankCodeFieldLimit = static_cast<int>(kBankCodeLength);
constexpr std::string_view kAboutCommand = "info:";
constexpr std::string_view kHitSeparator = " | ";

// The search's case mapping: A-Z and the umlauts \xC4 \xD6 \xDC (Windows-1252
// capital A, O, U with diaeresis) onto their small forms, 0x20 higher; every
// other byte maps to itself. Plain arithmetic, so loops over it vectorise.
constexpr char ToLower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  const bool capital = static_cast<unsigned char>(byte - 'A') <= 'Z' - 'A' || byte == 0xC4 ||
                       byte == 0xD6 || byte == 0xDC;
  return static_cast<char>(byte + (capital ? 0x20 : 0));
}

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
// allocates. The whole window of kNameWindowSize bytes is lowered: a loop of
// fixed length over read-only data, which compiles to a few vector operations.
// Only the first size_ bytes are the name.
class LoweredName {
 public:
  explicit LoweredName(std::string_view name) : size_(std::min(name.size(), kLongestBankName)) {
    for (std::size_t i = 0; i < kNameWindowSize; ++i) {
      buffer_[i] = ToLower(name.data()[i]);
    }
  }

  // Most names lack the term's first or second character; a word-at-a-time
  // test rejects them before the byte-by-byte search.
  bool Contains(std::string_view term) const {
    if (term.empty()) {
      return true;
    }
    if (term.size() > size_ || !MayHoldByte(term[0]) ||
        (term.size() > 1 && !MayHoldByte(term[1]))) {
      return false;
    }
    for (std::size_t start = 0; start + term.size() <= size_; ++start) {
      if (buffer_[start] == term[0] && MatchesAt(start, term)) {
        return true;
      }
    }
    return false;
  }

 private:
  // Byte by byte: library searches load the freshly written buffer in wide
  // words and stall on it.
  bool MatchesAt(std::size_t start, std::string_view term) const {
    for (std::size_t i = 1; i < term.size(); ++i) {
      if (buffer_[start + i] != term[i]) {
        return false;
      }
    }
    return true;
  }

  // True when the window holds `byte` (false positives come only from the
  // bytes after the name, which the exact search then ignores).
  bool MayHoldByte(char byte) const {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
    std::uint64_t anyZeroByte = 0;
    for (std::size_t offset = 0; offset < kNameWindowSize; offset += sizeof(std::uint64_t)) {
      std::uint64_t word;
      std::memcpy(&word, buffer_.data() + offset, sizeof word);
      const std::uint64_t x = word ^ pattern;
      anyZeroByte |= (x - kOnes) & ~x & kHighBits;
    }
    return anyZeroByte != 0;
  }

  std::array<char, kNameWindowSize> buffer_;
  std::size_t size_;
};

std::string HitLine(std::string_view bankCode, std::string_view name) {
  std::string line;
  line.reserve(bankCode.size() + kHitSeparator.size() + name.size());
  line.append(bankCode).append(kHitSeparator).append(name);
  return line;
}

// `forEachBank(visit)` calls visit(bankCode, shortName) for every bank, each name
// readable for kNameWindowSize bytes from its start.
template <typename ForEachBank>
void AddNameHits(std::string_view searchText, const ForEachBank& forEachBank,
                 std::vector<std::string>& hits) {
  const Terms terms = SplitTerms(searchText);
  forEachBank([&](std::string_view bankCode, std::string_view name) {
    const LoweredName lowered(name);
    if (lowered.Contains(terms.first) && lowered.Contains(terms.second)) {
      hits.push_back(HitLine(bankCode, name));
    }
  });
}

template <typename ForEachBank>
void AddBankCodeHits(std::string_view prefix, const ForEachBank& forEachBank,
                     std::vector<std::string>& hits) {
  forEachBank([&](std::string_view bankCode, std::string_view name) {
    if (bankCode.starts_with(prefix)) {
      hits.push_back(HitLine(bankCode, name));
    }
  });
}

template <typename ForEachBank>
SearchResult Search(std::string_view searchText, const ForEachBank& forEachBank) {
  SearchResult result;
  result.nameSearchMode = !searchText.empty() && !IsAsciiDigit(searchText.front());
  result.openAboutBox = result.nameSearchMode && searchText == kAboutCommand;
  result.fieldLimit = result.nameSearchMode ? kNameFieldLimit : kBankCodeFieldLimit;
  if (searchText.size() < 2) {
    return result;
  }
  if (result.nameSearchMode) {
    AddNameHits(searchText, forEachBank, result.hits);
  } else if (searchText.size() < kBankCodeLength) {
    AddBankCodeHits(searchText, forEachBank, result.hits);
  }
  std::sort(result.hits.begin(), result.hits.end());
  return result;
}

}  // namespace

SearchResult BankSearch(std::string_view searchText, bool) {
  return Search(searchText, [](const auto& visit) {
    ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
      visit(bankCode, entry.substr(kMethodCodeLength));
    });
  });
}

// A Directory's short names lie at the start of rows longer than the window.
SearchResult SearchBanks(const Directory& directory, std::string_view searchText) {
  return Search(searchText, [&](const auto& visit) {
    for (const Bank bank : directory) {
      visit(bank.bankCode, bank.shortName);
    }
  });
}

}  // namespace tavrel::directory
