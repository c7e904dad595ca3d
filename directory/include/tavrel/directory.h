// Bank directory: the compiled-in table from bank code to method code and short
// name, filled once on first use, and the bank search over it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::directory {

inline constexpr std::size_t kEntryCount = 4051;

// Fills the directory if it is not filled yet. Thread-safe; readers never lock.
void EnsureLoaded();

// On a hit, stores the two-character method code and returns true; on a miss
// returns false and leaves `methodCode` as it was. The key is compared unchanged.
bool LookupMethodCode(std::string_view bankCode, std::string& methodCode);

// As LookupMethodCode, but stores the bank's short name (Windows-1252).
bool LookupBankName(std::string_view bankCode, std::string& bankName);

// Allocation-free lookup for the check path: views into the compiled-in data,
// valid for the life of the process.
struct EntryView {
  std::string_view methodCode;
  std::string_view bankName;
};
bool FindEntry(std::string_view bankCode, EntryView& entry);

// The method code alone, from the hash table's own slot: the cheapest lookup,
// for the check path. Leaves `methodCode` unchanged on a miss.
bool FindMethodCode(std::string_view bankCode, std::string_view& methodCode);

// Hands every (bank code, entry) pair to `visitor` once; the entry is the method
// code followed directly by the short name.
void ForEachEntry(
    const std::function<void(std::string_view bankCode, std::string_view entry)>& visitor);

// The bank search behind the control's bank-code field. Digits list the bank
// codes that begin with them (two to seven digits); a text that begins with any
// other character lists the banks whose short name contains it, or contains both
// terms when a comma (not the first character) splits it into two. Names and
// terms are compared after mapping A-Z, Ä, Ö and Ü onto their small forms.
// The new mode follows from the text alone; `nameSearchMode`, the control's mode
// before the change, does not alter the result.
struct SearchResult {
  bool nameSearchMode = false;    // the mode after this change
  int fieldLimit = 8;             // 27 in name-search mode, 8 otherwise
  bool openAboutBox = false;      // the text is exactly "info:" in name-search mode
  std::vector<std::string> hits;  // "BANKCODE | short name", ascending; list shown when not empty
};
SearchResult BankSearch(std::string_view searchText, bool nameSearchMode);

}  // namespace tavrel::directory
