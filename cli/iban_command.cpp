#include "internal/iban_command.h"

#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "internal/exit_status.h"
#include "internal/output.h"
#include "internal/result_text.h"
#include "tavrel/encoding.h"
#include "tavrel/iban.h"
#include "tavrel/json.h"

namespace tavrel::cli {
namespace {

constexpr std::string_view kStandardRule = "000000";
constexpr std::string_view kNoIbanRule = "000100";

void Note(const std::optional<service::SuccessorFinding>& finding) {
  if (finding) WriteAll(STDERR_FILENO, "tavrel: note: " + service::Describe(*finding) + '\n');
}

int PrintJson(const json::Json& document, int exitStatus) {
  return Print(json::ToText(document) + '\n', exitStatus);
}

json::Json TextOrNull(std::string_view text) {
  return text.empty() ? json::Json(nullptr) : json::Json(text);
}

json::Json BankOrNull(const std::optional<service::Bank>& bank) {
  return bank ? json::BankJson(*bank) : json::Json(nullptr);
}

// The IBAN's exit status, made worse by a failing account check of a German one:
// an IBAN whose account fails never exits 0.
int IbanExitStatus(const iban::IbanVerdict& verdict) {
  const int ibanStatus = ExitStatusForResult(ValueOf(verdict.iban));
  if (!verdict.german) return ibanStatus;
  return std::max(ibanStatus, ExitStatusForResult(ValueOf(verdict.german->accountOutcome)));
}

json::Json GermanJson(const iban::GermanFindings& german, const service::Directory& directory) {
  const std::string bankCode(german.account.bankCode());
  const std::optional<service::SuccessorFinding> finding =
      service::FindSuccessor(directory, bankCode);
  return json::Json{{"bank_code", bankCode},
                    {"account", german.account.accountWithoutLeadingZeros()},
                    {"account_check", json::OutcomeJson(german.accountOutcome)},
                    {"bank", BankOrNull(service::FindBank(directory, bankCode))},
                    {"successor", finding ? json::SuccessorJson(*finding) : json::Json(nullptr)}};
}

json::Json VerdictJson(const iban::IbanVerdict& verdict, const service::Directory& directory) {
  json::Json document = json::OutcomeJson(verdict.iban);
  const bool held = !verdict.electronic.empty();
  document["iban"] = TextOrNull(verdict.electronic.view());
  document["print_format"] =
      held ? json::Json(iban::PrintFormat(verdict.electronic).view()) : json::Json(nullptr);
  document["country"] = TextOrNull(verdict.electronic.size() >= 2 ? verdict.electronic.countryCode()
                                                                  : std::string_view{});
  document["german"] =
      verdict.german ? GermanJson(*verdict.german, directory) : json::Json(nullptr);
  return document;
}

std::string VerdictLine(const iban::IbanVerdict& verdict, const service::Directory& directory) {
  std::string line =
      std::to_string(ValueOf(verdict.iban)) + '\t' + ResultTextUtf8(ValueOf(verdict.iban));
  if (!verdict.german) return line + '\n';
  const int account = ValueOf(verdict.german->accountOutcome);
  line += '\t' + std::to_string(account) + '\t' + ResultTextUtf8(account) + '\t';
  const std::string bankCode(verdict.german->account.bankCode());
  if (const std::optional<service::Bank> bank = service::FindBank(directory, bankCode)) {
    line += encoding::Cp1252ToUtf8(bank->shortName) + '\t' + std::string(bank->bic);
  } else {
    line += '\t';
  }
  Note(service::FindSuccessor(directory, bankCode));
  return line + '\n';
}

// What the output says of how the IBAN was built, by the bank's IBAN rule when
// the directory gives it (only a 174-column file does).
struct ConversionNote {
  std::string text;
  bool refused = false;  // the bank's rule gives no IBAN at all
};

ConversionNote NoteFor(const std::optional<service::Bank>& bank) {
  const std::string_view rule = bank ? bank->ibanRule : std::string_view{};
  if (rule.empty()) {
    return {
        "standard conversion (bank code + account); the bank may use an IBAN rule of its "
        "own: confirm with the bank"};
  }
  if (rule == kStandardRule) {
    return {"standard conversion (bank code + account), the bank's IBAN rule 000000"};
  }
  if (rule == kNoIbanRule) return {"the bank's IBAN rule 000100 gives no IBAN", true};
  return {"standard conversion (bank code + account); the bank uses IBAN rule " +
          std::string(rule) + ", which tavrel does not apply: the standard IBAN may be wrong"};
}

}  // namespace

int RunIban(const std::string& text, const service::CheckSource& source, bool asJson) {
  const iban::IbanVerdict verdict = iban::CheckIban(text, source);
  const int status = IbanExitStatus(verdict);
  if (asJson) return PrintJson(VerdictJson(verdict, *source.directory), status);
  return Print(VerdictLine(verdict, *source.directory), status);
}

int RunIbanFrom(const std::string& bankCode, const std::string& account,
                const service::CheckSource& source, bool asJson) {
  const iban::AccountConversion conversion = iban::FromAccount(bankCode, account, source);
  const std::optional<service::Bank> bank = service::FindBank(*source.directory, bankCode);
  const ConversionNote note = NoteFor(bank);
  const bool built = !conversion.iban.empty() && !note.refused;
  const int result = ValueOf(conversion.account);
  int status = ExitStatusForResult(result);
  if (status == kExitValid && !built) status = kExitInvalid;
  if (asJson) {
    json::Json document = json::OutcomeJson(conversion.account);
    document["iban"] = built ? json::Json(conversion.iban.view()) : json::Json(nullptr);
    document["print_format"] =
        built ? json::Json(iban::PrintFormat(conversion.iban).view()) : json::Json(nullptr);
    document["conversion"] = built ? json::Json("standard") : json::Json(nullptr);
    document["note"] = IsValid(conversion.account) ? json::Json(note.text) : json::Json(nullptr);
    document["bank"] = BankOrNull(bank);
    return PrintJson(document, status);
  }
  std::string line = std::to_string(result) + '\t' + ResultTextUtf8(result);
  if (built) {
    line += '\t' + std::string(conversion.iban.view()) + '\t' +
            std::string(iban::PrintFormat(conversion.iban).view()) + '\t' + note.text;
  } else if (note.refused && IsValid(conversion.account)) {
    WriteAll(STDERR_FILENO, "tavrel: " + note.text + '\n');
  }
  return Print(line + '\n', status);
}

}  // namespace tavrel::cli
