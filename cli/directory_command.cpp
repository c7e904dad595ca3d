// `tavrel directory`: the chosen directory's info block and how many banks use
// each method code, as text or JSON.
#include <string>

#include "internal/commands.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/json.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

std::string DateOrUnknown(const std::optional<std::chrono::year_month_day>& date) {
  return date ? service::IsoDate(*date) : std::string("unknown");
}

std::string TextOf(const service::Directory& directory) {
  const service::DirectoryInfo& info = directory.Info();
  std::string out = "source: " + info.source + (info.compiledIn ? " (compiled in)\n" : "\n");
  out += "valid from: " + DateOrUnknown(info.validFrom) + '\n';
  out += "valid until: " + DateOrUnknown(info.validUntil) + '\n';
  out += "entries: " + std::to_string(info.entryCount) + '\n';
  out += "rule generation: " + std::string(service::NameOf(info.generation)) + '\n';
  out += "banks per method code:\n";
  for (const auto& [methodCode, count] : directory.MethodCounts()) {
    out += methodCode + '\t' + std::to_string(count) + '\n';
  }
  return out;
}

}  // namespace

int RunDirectory(const service::Directory& directory, bool asJson) {
  if (asJson) return Print(json::ToText(json::DirectoryJson(directory)) + '\n', kExitValid);
  return Print(TextOf(directory), kExitValid);
}

}  // namespace tavrel::cli
