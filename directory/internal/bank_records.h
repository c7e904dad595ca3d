// The compiled-in bank data: one record per bank code, generated at build time
// from banks.tsv, together with the compile-time checks the generated table must
// pass.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

#include "tavrel/ascii.h"

namespace tavrel::directory {

inline constexpr std::size_t kMethodCodeLength = 2;
inline constexpr std::size_t kLongestBankName = 27;

// The compiled-in entries lie back to back in one array followed by padding, so
// that this many bytes from the start of any short name can be read at once (the
// bytes after the name belong to the next entry or the padding). The bank search
// lowers names a whole window at a time.
inline constexpr std::size_t kNameWindowSize = 32;
static_assert(kNameWindowSize >= kLongestBankName);

// `entry` is the method code followed directly by the short name (Windows-1252),
// so lookups and the search hand out views into it without copying.
struct BankRecord {
  std::string_view bankCode;
  std::string_view entry;
};

// A method code is a digit or one of A to E, then a digit: 00-99 and A0-E9.
constexpr bool IsMethodCode(std::string_view text) {
  return text.size() == kMethodCodeLength &&
         (IsAsciiDigit(text[0]) || (text[0] >= 'A' && text[0] <= 'E')) && IsAsciiDigit(text[1]);
}

constexpr bool IsWellFormedRecord(const BankRecord& record) {
  const std::string_view name =
      record.entry.substr(std::min(record.entry.size(), kMethodCodeLength));
  return IsEightDigits(record.bankCode) &&
         IsMethodCode(record.entry.substr(0, kMethodCodeLength)) && !name.empty() &&
         name.size() <= kLongestBankName && name.front() != ' ' && name.back() != ' ';
}

// Every record well formed, bank codes strictly ascending (so keys are unique).
constexpr bool IsWellFormedTable(std::span<const BankRecord> records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!IsWellFormedRecord(records[i]) ||
        (i > 0 && records[i - 1].bankCode >= records[i].bankCode)) {
      return false;
    }
  }
  return true;
}

// Every record's name window lies inside `text`, the array holding the entries.
template <std::size_t N>
constexpr bool IsInsideText(std::span<const BankRecord> records, const char (&text)[N]) {
  for (const BankRecord& record : records) {
    const auto start = record.entry.data() + kMethodCodeLength - text;
    if (start < 0 || static_cast<std::size_t>(start) + kNameWindowSize > N) {
      return false;
    }
  }
  return true;
}

// The generated table, ascending by bank code.
std::span<const BankRecord> CompiledBankRecords();

}  // namespace tavrel::directory
