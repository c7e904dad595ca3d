#include "internal/bank_map.h"

#include <stdexcept>

#include "internal/packed_bank_code.h"

namespace tavrel::directory {

std::size_t BankMap::Probe(std::uint32_t bankCode) const noexcept {
  std::size_t index = HomeSlot(bankCode, kSlotBits);
  while (slots_[index].entryNumber != 0 && slots_[index].bankCode != bankCode) {
    index = NextSlot(index, slots_.size());
  }
  return index;
}

void BankMap::InsertOrAssign(const BankRecord& record) {
  const std::uint32_t bankCode = PackedBankCode(record.bankCode);
  if (bankCode == kNotABankCode) {
    throw std::invalid_argument("bank code is not eight digits");
  }
  Slot& slot = slots_[Probe(bankCode)];
  if (slot.entryNumber == 0) {
    if (size_ == entries_.size()) {
      throw std::length_error("bank directory is full");
    }
    slot.bankCode = bankCode;
    slot.entryNumber = static_cast<std::uint16_t>(++size_);
  }
  record.entry.copy(slot.methodCode.data(), kMethodCodeLength);
  entries_[slot.entryNumber - 1] = record;
}

const BankMap::Slot* BankMap::FindSlot(std::string_view bankCode) const noexcept {
  const std::uint32_t value = PackedBankCode(bankCode);
  if (value == kNotABankCode) {
    return nullptr;
  }
  return FindInSlots(std::span<const Slot>(slots_), HomeSlot(value, kSlotBits), value);
}

const BankRecord* BankMap::Find(std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  return slot == nullptr ? nullptr : &entries_[slot->entryNumber - 1];
}

std::string_view BankMap::FindMethodCode(std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  return slot == nullptr ? std::string_view{}
                         : std::string_view{slot->methodCode.data(), kMethodCodeLength};
}

void BankMap::Clear() noexcept {
  slots_ = {};
  entries_ = {};
  size_ = 0;
}

}  // namespace tavrel::directory
