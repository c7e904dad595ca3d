#include "internal/bank.h"

#include "tavrel/directory.h"

namespace tavrel::service {

std::optional<Bank> FindBank(std::string_view bankCode) {
  directory::EntryView entry;
  if (!directory::FindEntry(bankCode, entry)) return std::nullopt;
  return Bank{entry.methodCode, entry.bankName};
}

}  // namespace tavrel::service
