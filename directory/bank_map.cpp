#include "internal/bank_map.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "tavrel/ascii.h"

namespace tavrel::directory {
namespace {

constexpr std::uint32_t kNotABankCode = 0xFFFFFFFF;

constexpr std::uint64_t Reverse(std::uint64_t word) {
  std::uint64_t reversed = 0;
  for (int i = 0; i < 8; ++i, word >>= 8) reversed = (reversed << 8) | (word & 0xFF);
  return reversed;
}

// An eight-digit bank code packed as eight 4-bit digits (its binary-coded
// decimal form), or kNotABankCode. The low nibbles of the eight characters are
// gathered by shifts of one word, which cost less than a decimal conversion.
std::uint32_t PackedBankCode(std::string_view text) noexcept {
  if (!IsEightDigits(text)) {
    return kNotABankCode;
  }
  std::uint64_t word = 0;
  std::memcpy(&word, text.data(), sizeof word);
  if (std::endian::native != std::endian::little) {
    word = Reverse(word);
  }
  std::uint64_t packed = word & 0x0F0F0F0F0F0F0F0F;
  packed = (packed | (packed >> 4)) & 0x00FF00FF00FF00FF;
  packed = (packed | (packed >> 8)) & 0x0000FFFF0000FFFF;
  packed = (packed | (packed >> 16)) & 0x00000000FFFFFFFF;
  return static_cast<std::uint32_t>(packed);
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
  const Slot& slot = slots_[Probe(value)];
  return slot.entryNumber == 0 ? nullptr : &slot;
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
