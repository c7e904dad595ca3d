// The record layout of the Bundesbank's bank-code file: fixed-width records of
// 168 characters, or 174 in the extended file whose last six hold the IBAN rule.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel::directory {

inline constexpr std::size_t kRecordLength = 168;
inline constexpr std::size_t kExtendedRecordLength = 174;

// Columns of a record, counted from 1 as the Bundesbank documents them.
struct Field {
  std::size_t first;
  std::size_t last;
  constexpr std::size_t Offset() const { return first - 1; }
  constexpr std::size_t Width() const { return last - first + 1; }
  constexpr std::string_view Of(std::string_view record) const {
    return record.substr(Offset(), Width());
  }
};

inline constexpr Field kBankCodeField{1, 8};
inline constexpr Field kFeatureField{9, 9};  // Merkmal: 1 holds the bank code, 2 a further branch
inline constexpr Field kFullNameField{10, 67};
inline constexpr Field kShortNameField{108, 134};
inline constexpr Field kBicField{140, 150};
inline constexpr Field kMethodCodeField{151, 152};
inline constexpr Field kChangeFlagField{159, 159};  // A added, D deleted, U unchanged, M modified
inline constexpr Field kDeletionNoticeField{160, 160};  // 1: the bank code will be withdrawn
inline constexpr Field kSuccessorField{161, 168};       // 00000000: none named
inline constexpr Field kIbanRuleField{169, 174};        // the extended file only

}  // namespace tavrel::directory
