#include "automation/account_texts.h"

#include "directory/directory.h"
#include "service/service.h"

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
