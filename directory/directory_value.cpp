// The Directory value: records in ascending order of bank code and an open-
// addressing index over them, both sized at construction.
#include <bit>
#include <cstddef>
#include <cstdio>
#include <stdexcept>

#include "internal/bank_fields.h"
#include "internal/packed_bank_code.h"
#include "tavrel/directory.h"

namespace tavrel::directory {

// A record in fixed-size fields, so the rows are one allocation. The short name
// comes first: the bank search reads kNameWindowSize bytes from a name's start,
// which stay inside the row.
struct Directory::Row {
  std::array<char, kLongestBankName> shortName{};
  std::uint8_t shortNameLength = 0;
  std::array<char, kBankCodeLength> bankCode{};
  std::array<char, kMethodCodeLength> methodCode{};
  std::array<char, kLongBicLength> bic{};
  std::uint8_t bicLength = 0;
  std::array<char, kBankCodeLength> successor{};
  bool hasSuccessor = false;
  std::array<char, kIbanRuleLength> ibanRule{};
  bool hasIbanRule = false;
  bool deletionNotice = false;
};

// As BankMap's slots: the method code beside the key, so the check path's
// lookup reads one slot of eight bytes.
struct Directory::Slot {
  std::uint32_t packedCode = kNotABankCode;  // first, as FindInSlots reads it
  std::uint16_t rowNumber = 0;               // index into rows_ plus one; 0 marks a free slot
  std::array<char, kMethodCodeLength> methodCode{};
};

namespace {

constexpr std::size_t kMostRows = 0xFFFF;
constexpr std::size_t kFewestSlots = 16;

template <std::size_t N>
void CopyInto(std::array<char, N>& field, std::string_view text) {
  text.copy(field.data(), N);
}

std::string_view ViewOf(const char* data, std::size_t size) { return {data, size}; }

}  // namespace

Directory::Directory(DirectoryInfo info, std::span<const Bank> banks) : info_(std::move(info)) {
  static_assert(sizeof(Row) >= kNameWindowSize && offsetof(Row, shortName) == 0);
  static_assert(sizeof(Slot) == 8);
  if (banks.size() > kMostRows) {
    throw std::invalid_argument("more than 65535 bank codes");
  }
  if (!IsWellFormedDirectory(banks)) {
    throw std::invalid_argument("a bank record is malformed or out of order");
  }
  info_.entryCount = banks.size();
  const std::size_t slotCount = std::bit_ceil(std::max(kFewestSlots, 2 * banks.size()));
  slotBits_ = static_cast<unsigned>(std::countr_zero(slotCount));
  slots_.resize(slotCount + kProbeWindow - 1);
  rows_.resize(banks.size());
  for (std::size_t i = 0; i < banks.size(); ++i) {
    const Bank& bank = banks[i];
    Row& row = rows_[i];
    CopyInto(row.shortName, bank.shortName);
    row.shortNameLength = static_cast<std::uint8_t>(bank.shortName.size());
    CopyInto(row.bankCode, bank.bankCode);
    CopyInto(row.methodCode, bank.methodCode);
    CopyInto(row.bic, bank.bic);
    row.bicLength = static_cast<std::uint8_t>(bank.bic.size());
    CopyInto(row.successor, bank.successor);
    row.hasSuccessor = !bank.successor.empty();
    CopyInto(row.ibanRule, bank.ibanRule);
    row.hasIbanRule = !bank.ibanRule.empty();
    row.deletionNotice = bank.deletionNotice;

    const std::uint32_t packed = PackedBankCode(bank.bankCode);
    std::size_t index = HomeSlot(packed, slotBits_);
    while (slots_[index].rowNumber != 0) index = NextSlot(index, slots_.size());
    slots_[index] = {packed, static_cast<std::uint16_t>(i + 1), row.methodCode};
  }
}

Directory::~Directory() = default;

Bank Directory::operator[](std::size_t index) const noexcept {
  const Row& row = rows_[index];
  return {ViewOf(row.bankCode.data(), kBankCodeLength),
          ViewOf(row.methodCode.data(), kMethodCodeLength),
          ViewOf(row.shortName.data(), row.shortNameLength),
          ViewOf(row.bic.data(), row.bicLength),
          row.deletionNotice,
          ViewOf(row.successor.data(), row.hasSuccessor ? kBankCodeLength : 0),
          ViewOf(row.ibanRule.data(), row.hasIbanRule ? kIbanRuleLength : 0)};
}

const Directory::Slot* Directory::FindSlot(std::string_view bankCode) const noexcept {
  const std::uint32_t packed = PackedBankCode(bankCode);
  if (packed == kNotABankCode) {
    return nullptr;
  }
  return FindInSlots(std::span<const Slot>(slots_), HomeSlot(packed, slotBits_), packed);
}

std::optional<Bank> Directory::Find(std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  if (slot == nullptr) {
    return std::nullopt;
  }
  return (*this)[slot->rowNumber - 1];
}

std::string_view Directory::FindMethodCode(std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  return slot == nullptr ? std::string_view{} : ViewOf(slot->methodCode.data(), kMethodCodeLength);
}

std::optional<std::size_t> Directory::IndexOf(std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  if (slot == nullptr) {
    return std::nullopt;
  }
  return slot->rowNumber - std::size_t{1};
}

std::optional<Directory::MethodCodeHit> Directory::FindMethodCodeAndIndex(
    std::string_view bankCode) const noexcept {
  const Slot* slot = FindSlot(bankCode);
  if (slot == nullptr) {
    return std::nullopt;
  }
  return MethodCodeHit{ViewOf(slot->methodCode.data(), kMethodCodeLength),
                       slot->rowNumber - std::size_t{1}};
}

std::map<std::string, std::size_t, std::less<>> Directory::MethodCounts() const {
  std::map<std::string, std::size_t, std::less<>> counts;
  for (const Row& row : rows_) {
    ++counts[std::string(row.methodCode.data(), kMethodCodeLength)];
  }
  return counts;
}

std::optional<SuccessorHint> FindSuccessorHint(std::string_view bankCode, const Directory& newer,
                                               const Directory& older) {
  if (!newer.FindMethodCode(bankCode).empty()) {
    return std::nullopt;
  }
  const std::optional<Bank> former = older.Find(bankCode);
  if (!former) {
    return std::nullopt;
  }
  return SuccessorHint{
      former->successor,
      !former->successor.empty() && !newer.FindMethodCode(former->successor).empty(),
      &older.Info()};
}

std::string_view NameOf(RuleGeneration generation) {
  return generation == RuleGeneration::k2009 ? "2009" : "current";
}

std::string IsoDate(std::chrono::year_month_day date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

}  // namespace tavrel::directory
