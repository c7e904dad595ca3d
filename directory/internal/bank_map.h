// The directory's hash map: open addressing keyed by the bank code's integer
// value, over an entry pool of exactly kEntryCount records. All storage is part of
// the object, so a constant-initialised map exists before any code runs and no
// lookup or fill allocates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "bank_records.h"
#include "packed_bank_code.h"
#include "tavrel/directory.h"

namespace tavrel::directory {

class BankMap {
 public:
  constexpr BankMap() = default;

  // Creates the entry for the record's bank code if absent, then assigns the
  // record to it, so filling twice never doubles an entry. Throws
  // std::length_error when the pool is full.
  void InsertOrAssign(const BankRecord& record);

  // The record for exactly this bank code, or nullptr. Anything that is not
  // eight decimal digits is rejected before the table is touched.
  const BankRecord* Find(std::string_view bankCode) const noexcept;

  // The method code for exactly this bank code, or an empty view. The code is
  // kept in the hash slot itself, so the check path touches one cache line.
  std::string_view FindMethodCode(std::string_view bankCode) const noexcept;

  std::span<const BankRecord> Entries() const noexcept { return {entries_.data(), size_}; }

  void Clear() noexcept;

 private:
  // A power of two at least twice the entry count keeps probe runs short; the
  // last home slot is followed by kProbeWindow - 1 more.
  static constexpr std::size_t kSlotBits = 13;
  static constexpr std::size_t kSlotCount = std::size_t{1} << kSlotBits;
  static_assert(kSlotCount >= 2 * kEntryCount);

  struct Slot {
    std::uint32_t bankCode = kNotABankCode;  // packed as eight 4-bit digits; first, as
                                             // FindInSlots reads it
    std::uint16_t entryNumber = 0;           // index into entries_ plus one; 0 marks a free slot
    std::array<char, kMethodCodeLength> methodCode{};
  };
  static_assert(kEntryCount < 0xFFFF);

  const Slot* FindSlot(std::string_view bankCode) const noexcept;

  // The index of the slot holding `bankCode`, or of the free slot where it belongs.
  std::size_t Probe(std::uint32_t bankCode) const noexcept;

  std::array<Slot, kSlotCount + kProbeWindow - 1> slots_{};
  std::array<BankRecord, kEntryCount> entries_{};
  std::size_t size_ = 0;
};

}  // namespace tavrel::directory
