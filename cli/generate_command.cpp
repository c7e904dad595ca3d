// `tavrel generate`: valid accounts of a bank's method or of a method key, or
// accounts that fail by their check digit alone.
#include <unistd.h>

#include "internal/assist.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"

namespace tavrel::cli {
namespace {

int ExitStatusOf(const service::GeneratedAccounts& generated) {
  switch (generated.status) {
    case service::GenerateStatus::kGenerated:
      return kExitValid;
    case service::GenerateStatus::kBankCodeFault:
      return kExitInputFault;
    case service::GenerateStatus::kMethodNotFound:
      return kExitMethodNotFound;
    case service::GenerateStatus::kNoCheckDigit:
    case service::GenerateStatus::kNone:
    case service::GenerateStatus::kTooFew:
      break;
  }
  return kExitInvalid;
}

}  // namespace

int RunGenerate(const AssistOptions& options, const service::CheckSource& source, bool json) {
  const service::GeneratedAccounts generated =
      service::GenerateAccounts({options.bankCode, options.method, options.count, options.seed,
                                 options.length, options.invalid},
                                source);
  const int status = ExitStatusOf(generated);
  if (json) return Print(json::ToText(json::GeneratedJson(generated)) + '\n', status);
  if (status != kExitValid) {
    std::string message = "tavrel: " + encoding::Cp1252ToUtf8(generated.message);
    if (generated.status == service::GenerateStatus::kBankCodeFault)
      message += " (" + generated.bankCode + ")";
    WriteAll(STDERR_FILENO, message + '\n');
    return status;
  }
  std::string out;
  for (const service::GeneratedAccount& account : generated.accounts) out += account.account + '\n';
  return Print(out, status);
}

}  // namespace tavrel::cli
