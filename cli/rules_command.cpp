// `tavrel rules`: the rule generations with their names, valid-from dates and
// method codes, as text or JSON.
#include <unistd.h>

#include <span>
#include <string>

#include "internal/commands.h"
#include "internal/exit_status.h"
#include "internal/output.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

// NAME<TAB>VALID-FROM<TAB>CODES, the codes separated by blanks.
void AppendTextLine(std::string& out, const service::RulesInfo& info) {
  out += info.name;
  out += '\t';
  out += service::IsoDate(info.validFrom);
  out += '\t';
  for (std::size_t i = 0; i < info.methodCodes.size(); ++i) {
    if (i > 0) out += ' ';
    out += info.methodCodes[i];
  }
  out += '\n';
}

void AppendJsonObject(std::string& out, const service::RulesInfo& info) {
  out += "{\"name\": ";
  AppendJsonString(out, info.name);
  out += ", \"validFrom\": ";
  AppendJsonString(out, service::IsoDate(info.validFrom));
  out += ", \"methodCodes\": [";
  for (std::size_t i = 0; i < info.methodCodes.size(); ++i) {
    if (i > 0) out += ", ";
    AppendJsonString(out, info.methodCodes[i]);
  }
  out += "]}";
}

std::string JsonList(std::span<const service::RulesInfo> generations) {
  std::string out = "[";
  for (std::size_t i = 0; i < generations.size(); ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    AppendJsonObject(out, generations[i]);
  }
  out += "\n]\n";
  return out;
}

const service::RulesInfo& InfoOf(const service::RuleSet* rules) {
  const std::span<const service::RulesInfo> generations = service::RuleGenerations();
  for (const service::RulesInfo& info : generations) {
    if (info.rules == rules) return info;
  }
  return generations.front();
}

// The generation in force on `date`: its line or object, the note beside it.
int PrintRulesOn(bool json, std::chrono::year_month_day date) {
  const service::RulesInForce inForce = service::RulesInForceOn(date);
  const service::RulesInfo& info = InfoOf(inForce.rules);
  std::string out;
  if (json) {
    AppendJsonObject(out, info);
    out.pop_back();
    out += ", \"note\": ";
    if (inForce.note.empty()) {
      out += "null";
    } else {
      AppendJsonString(out, inForce.note);
    }
    out += "}\n";
  } else {
    AppendTextLine(out, info);
    if (!inForce.note.empty())
      WriteAll(STDERR_FILENO, "tavrel: note: " + std::string(inForce.note) + '\n');
  }
  return Print(out, kExitValid);
}

}  // namespace

int RunRules(bool json, const std::optional<std::chrono::year_month_day>& date) {
  if (date) return PrintRulesOn(json, *date);
  const std::span<const service::RulesInfo> generations = service::RuleGenerations();
  if (json) return Print(JsonList(generations), kExitValid);
  std::string out;
  for (const service::RulesInfo& info : generations) AppendTextLine(out, info);
  return Print(out, kExitValid);
}

}  // namespace tavrel::cli
