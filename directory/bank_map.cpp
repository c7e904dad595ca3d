#include "directory/bank_map.h"

#include <stdexcept>

namespace tavrel::directory {
namespace {

constexpr std::uint32_t kNotABankCode = 0xFFFFFFFF;

// The integer value of an eight-digit bank code, or kNotABankCode.
std::uint32_t BankCodeValue(std::string_view text) noexcept {
  if (text.size() != kBankCodeLength) {
    return kNotABankCode;
  }
  std::uint32_t value = 0;
  for (const char c : text) {
    const auto digit = static_cast<std::uint32_t>(static_cast<unsigned char>(c) - '0');
    if (digit > 9) {
      return kNotABankCode;
    }
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::size_t BankMap::HomeSlot(std::uint32_t bankCode) noexcept {
  // Fibonacci hashing: bank codes cluster by region, the multiply spreads them.
  return (bankCode * std::uint32_t{2654435769u}) >> (32 - kSlotBits);
}

std::size_t BankMap::Probe(std::uint32_t bankCode) const noexcept {
  std::size_t index = HomeSlot(bankCode);
  while (slots_[index].entryNumber != 0 && slots_[index].bankCode != bankCode) {
    index = (index + 1) & (kSlotCount - 1);
  }
  return index;
}

void BankMap::InsertOrAssign(const BankRecord& record) {
  const std::uint32_t bankCode = BankCodeValue(record.bankCode);
  if (bankCode == kNotABankCode) {
    throw std::invalid_argument("bank code is not eight digits");
  }
  Slot& slot = slots_[Probe(bankCode)];
  if (slot.entryNumber == 0) {
    if (size_ == entries_.size()) {
      throw std::length_error("bank directory is full");
    }
    slot = {bankCode, static_cast<std::uint32_t>(++size_)};
  }
  entries_[slot.entryNumber - 1] = record;
}

const BankRecord* BankMap::Find(std::string_view bankCode) const noexcept {
  const std::uint32_t value = BankCodeValue(bankCode);
  if (value == kNotABankCode) {
    return nullptr;
  }
  const Slot& slot = slots_[Probe(value)];
  return slot.entryNumber == 0 ? nullptr : &entries_[slot.entryNumber - 1];
}

void BankMap::Clear() noexcept {
  slots_ = {};
  entries_ = {};
  size_ = 0;
}

}  // namespace tavrel::directory
