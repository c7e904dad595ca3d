#include "internal/commands.h"

#include <unistd.h>

#include <string_view>
#include <vector>

#include "internal/exit_status.h"
#include "internal/output.h"
#include "internal/result_text.h"
#include "tavrel/ascii.h"
#include "tavrel/directory.h"
#include "tavrel/encoding.h"
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

}  // namespace

int RunCheck(const std::string& bankCode, const std::string& account,
             const service::RuleSet& rules) {
  const int result = ValueOf(service::CheckAccount({bankCode, account}, rules));
  std::string line = std::to_string(result) + '\t' + ResultTextUtf8(result);
  std::string bankName;
  if (directory::LookupBankName(service::TrimWhiteSpace(bankCode), bankName)) {
    line += '\t' + encoding::Cp1252ToUtf8(bankName);
  }
  return Print(line + '\n', ExitStatusForResult(result));
}

int RunName(const std::string& bankCode) {
  std::string bankName;
  if (!directory::LookupBankName(bankCode, bankName)) return kExitInvalid;
  return Print(encoding::Cp1252ToUtf8(bankName) + '\n', kExitValid);
}

int RunMethod(const std::string& key, const std::string& account, const std::string& bankCode,
              const service::RuleSet& rules) {
  const int result = service::ComputeMethod(account, key, bankCode, rules);
  return Print(std::to_string(result) + '\n', ExitStatusForResult(result));
}

int RunSearch(const std::string& text, bool json) {
  const directory::SearchResult search = directory::BankSearch(text, false);
  const int status = search.hits.empty() ? kExitInvalid : kExitValid;
  if (json) return Print(JsonHits(search.hits), status);
  const int printed = Print(TextHits(search.hits), status);
  // After a failed write the count would tell of hits nobody got.
  if (printed != kExitIoError)
    WriteAll(STDERR_FILENO, std::to_string(search.hits.size()) + " hits\n");
  return printed;
}

}  // namespace tavrel::cli
