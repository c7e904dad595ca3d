// `tavrel search --fuzzy`: the typo-tolerant bank search, best hit first, as the
// plain search prints its hits, and with --json each hit's score beside it.
#include <unistd.h>

#include <string>

#include "internal/commands.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "internal/usage.h"
#include "tavrel/encoding.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

using service::FuzzyHit;

std::string TextHits(const std::vector<FuzzyHit>& hits) {
  std::string out;
  for (const FuzzyHit& hit : hits) {
    out.append(hit.bankCode).append(" | ").append(encoding::Cp1252ToUtf8(hit.shortName));
    out += '\n';
  }
  return out;
}

std::string JsonHits(const std::vector<FuzzyHit>& hits) {
  std::string out = "[";
  for (std::size_t i = 0; i < hits.size(); ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    out += "{\"bankCode\": ";
    AppendJsonString(out, hits[i].bankCode);
    out += ", \"name\": ";
    AppendJsonString(out, encoding::Cp1252ToUtf8(hits[i].shortName));
    out += ", \"score\": ";
    AppendDecimal(out, hits[i].score);
    out += '}';
  }
  out += hits.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace

int RunFuzzySearch(const std::string& text, const service::Directory& directory, bool json) {
  const service::FuzzySearchResult search = service::FuzzySearchBanks(directory, text);
  if (search.tooManyTerms) {
    WriteAll(STDERR_FILENO, "tavrel: search --fuzzy takes at most " +
                                std::to_string(service::kMaxFuzzyTerms) + " different terms\n");
    WriteAll(STDERR_FILENO, kUsageHint);
    return kExitUsage;
  }
  const int status = search.hits.empty() ? kExitInvalid : kExitValid;
  if (json) return Print(JsonHits(search.hits), status);
  const int printed = Print(TextHits(search.hits), status);
  // After a failed write the count would tell of hits nobody got.
  if (printed != kExitIoError) {
    WriteAll(STDERR_FILENO, std::to_string(search.hits.size()) + " hits\n");
  }
  return printed;
}

}  // namespace tavrel::cli
