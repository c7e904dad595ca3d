// The message adapter over the outcome table: the texts of the results -2 to
// -9, and the row flag that tells the control whether the text belongs under
// the bank-code field (false) or the account field (true). Valid results and
// values outside that range have no message here.
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace tavrel::service {

bool ResultMessage(int value, std::string& message) {
  constexpr int kFirstWithMessage = ValueOf(Outcome::kMethodNotFound);
  constexpr int kLastWithMessage = ValueOf(Outcome::kBankCodeUnknown);
  const OutcomeInfo* info = FindOutcome(value);
  if (info == nullptr || value > kFirstWithMessage || value < kLastWithMessage) return true;
  message.assign(info->message);
  return info->field != Field::kBankCode;
}

}  // namespace tavrel::service
