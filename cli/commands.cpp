#include "internal/commands.h"

#include <unistd.h>

#include <string_view>
#include <vector>

#include "internal/batch.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "internal/result_text.h"
#include "tavrel/ascii.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

constexpr std::string_view kHitSeparator = " | ";

void AppendJsonHit(std::string& out, std::string_view hitLine) {
  std::string_view name = hitLine.substr(kBankCodeLength + kHitSeparator.size());
  out += "{\"bankCode\": ";
  AppendJsonString(out, hitLine.substr(0, kBankCodeLength));
  out += ", \"name\": ";
  AppendJsonString(out, encoding::Cp1252ToUtf8(name));
  out += '}';
}

std::string JsonHits(const std::vector<std::string>& hits) {
  std::string out = "[";
  for (std::size_t i = 0; i < hits.size(); ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    AppendJsonHit(out, hits[i]);
  }
  out += hits.empty() ? "]\n" : "\n]\n";
  return out;
}

std::string TextHits(const std::vector<std::string>& hits) {
  std::string out;
  for (const std::string& hit : hits) {
    out += encoding::Cp1252ToUtf8(hit);
    out += '\n';
  }
  return out;
}

void Note(const std::optional<service::SuccessorFinding>& finding) {
  if (finding) WriteAll(STDERR_FILENO, "tavrel: note: " + service::Describe(*finding) + '\n');
}

int PrintJson(const json::Json& document, int exitStatus) {
  return Print(json::ToText(document) + '\n', exitStatus);
}

}  // namespace

int RunCheck(const std::string& bankCode, const std::string& account,
             const service::CheckSource& source, bool asJson) {
  const Outcome outcome = service::CheckAccount({bankCode, account}, source);
  const int result = ValueOf(outcome);
  const std::optional<service::Bank> bank = service::FindBank(*source.directory, bankCode);
  const std::optional<service::SuccessorFinding> finding =
      service::FindSuccessor(*source.directory, bankCode);
  if (asJson)
    return PrintJson(json::CheckJson(outcome, bank, finding), ExitStatusForResult(result));
  std::string line = std::to_string(result) + '\t' + ResultTextUtf8(result);
  if (bank) line += '\t' + encoding::Cp1252ToUtf8(bank->shortName);
  Note(finding);
  return Print(line + '\n', ExitStatusForResult(result));
}

int RunName(const std::string& bankCode, const service::Directory& directory, bool asJson) {
  const std::optional<service::Bank> bank = service::FindBank(directory, bankCode);
  const std::optional<service::SuccessorFinding> finding =
      service::FindSuccessor(directory, bankCode);
  if (!bank) {
    WriteAll(STDERR_FILENO, "tavrel: unknown bank code " +
                                encoding::Cp1252ToUtf8(service::TrimWhiteSpace(bankCode)) + '\n');
    Note(finding);
    return kExitInputFault;
  }
  if (asJson) return PrintJson(json::BankJson(*bank), kExitValid);
  Note(finding);
  return Print(encoding::Cp1252ToUtf8(bank->shortName) + '\n', kExitValid);
}

int RunMethod(const std::string& key, const std::string& account, const std::string& bankCode,
              const service::RuleSet& rules, bool asJson) {
  const int result = service::ComputeMethod(account, key, bankCode, rules);
  if (asJson) return Print(JsonResultObject(result), ExitStatusForResult(result));
  return Print(std::to_string(result) + '\n', ExitStatusForResult(result));
}

int RunSearch(const std::string& text, const service::Directory& directory, bool asJson) {
  const service::SearchResult search = service::SearchBanks(directory, text);
  const int status = search.hits.empty() ? kExitInvalid : kExitValid;
  if (asJson) return Print(JsonHits(search.hits), status);
  const int printed = Print(TextHits(search.hits), status);
  // After a failed write the count would tell of hits nobody got.
  if (printed != kExitIoError)
    WriteAll(STDERR_FILENO, std::to_string(search.hits.size()) + " hits\n");
  return printed;
}

}  // namespace tavrel::cli
