#include "internal/account_texts.h"

#include "tavrel/directory.h"
#include "tavrel/service.h"

namespace tavrel::automation {

std::string MessageText(std::int32_t checkResult) {
  std::string message;
  service::ResultMessage(checkResult, message);
  return message;
}

std::string BankNameOrEmpty(std::string_view bankCode) {
  std::string name;
  directory::LookupBankName(bankCode, name);
  return name;
}

}  // namespace tavrel::automation
