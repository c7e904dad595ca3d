#include "tavrel/directory_testing.h"

#include "directory/internal/bundesbank_layout.h"
#include "directory/internal/directory_state.h"

namespace tavrel::directory::testing {

void FailNextFillAfter(std::size_t insertions) { detail::gFailFillAfter.store(insertions); }

std::size_t CompletedFills() { return detail::gCompletedFills.load(); }

void ResetDirectory() {
  const std::lock_guard lock(detail::gDirectoryLock);
  detail::gLoaded.store(false, std::memory_order_release);
  detail::gBankMap.Clear();
}

std::string BundesbankRecord(const Bank& bank, char feature, char changeFlag) {
  std::string record(bank.ibanRule.empty() ? kRecordLength : kExtendedRecordLength, ' ');
  const auto put = [&](const Field& field, std::string_view text) {
    record.replace(field.Offset(), text.size(), text);
  };
  put(kBankCodeField, bank.bankCode);
  put(kFeatureField, std::string(1, feature));
  put(kFullNameField, "Full name of " + std::string(bank.shortName));
  put(kShortNameField, bank.shortName);
  put(kBicField, bank.bic);
  put(kMethodCodeField, bank.methodCode);
  put(kChangeFlagField, std::string(1, changeFlag));
  put(kDeletionNoticeField, bank.deletionNotice ? "1" : "0");
  put(kSuccessorField, bank.successor.empty() ? "00000000" : bank.successor);
  put(kIbanRuleField, bank.ibanRule);  // at the end of a 168-character record when empty
  return record;
}

}  // namespace tavrel::directory::testing
