// The directories as the faces see them: the compiled-in ones by name and by
// date, files loaded with the rules their method codes run by, and what the
// directories say of a bank code's successor.
#include <algorithm>
#include <array>
#include <utility>

#include "tavrel/directory.h"
#include "tavrel/encoding.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

// The one place where the directory's name for a rule generation meets the
// engine's.
constexpr std::pair<directory::RuleGeneration, engine::Generation> kGenerationPairs[] = {
    {directory::RuleGeneration::k2009, engine::Generation::k2009},
    {directory::RuleGeneration::kCurrent, engine::Generation::kCurrent},
};

engine::Generation EngineGeneration(directory::RuleGeneration generation) {
  for (const auto& [inDirectory, inEngine] : kGenerationPairs) {
    if (inDirectory == generation) return inEngine;
  }
  return engine::Generation::kCurrent;
}

directory::RuleGeneration DirectoryGeneration(const RuleSet& rules) {
  const engine::Generation generation = engine::GenerationOf(rules);
  for (const auto& [inDirectory, inEngine] : kGenerationPairs) {
    if (inEngine == generation) return inDirectory;
  }
  return directory::RuleGeneration::kCurrent;
}

// The compiled-in directories, oldest first.
constexpr std::array kCompiled = {directory::RuleGeneration::k2009,
                                  directory::RuleGeneration::kCurrent};

bool ListedOn(const DirectoryInfo& info, std::chrono::year_month_day date, bool newest) {
  if (!info.validFrom || date < *info.validFrom) return false;
  return newest || !info.validUntil || date <= *info.validUntil;
}

// Whether `older` may name the successor of a bank code that `directory`
// lacks: a compiled-in directory other than `directory`, and older than it
// when the dates are known.
bool IsOlder(const Directory& older, const Directory& directory) {
  if (&older == &directory) return false;
  const DirectoryInfo& info = directory.Info();
  return !info.validFrom || !older.Info().validFrom || *older.Info().validFrom < *info.validFrom;
}

std::optional<SuccessorFinding> FindInOlder(const Directory& directory, std::string_view bankCode) {
  for (auto generation = kCompiled.rbegin(); generation != kCompiled.rend(); ++generation) {
    const std::shared_ptr<const Directory> older = directory::CompiledDirectory(*generation);
    if (!IsOlder(*older, directory)) continue;
    if (const auto hint = directory::FindSuccessorHint(bankCode, directory, *older)) {
      return SuccessorFinding{SuccessorFinding::Kind::kNoLongerExists, std::string(bankCode),
                              std::string(hint->successor), hint->seenIn->validFrom};
    }
  }
  return std::nullopt;
}

}  // namespace

std::span<const std::string_view> CompiledDirectoryNames() {
  static const auto kNames = [] {
    std::array<std::string_view, kCompiled.size()> names{};
    std::transform(kCompiled.begin(), kCompiled.end(), names.begin(), directory::NameOf);
    return names;
  }();
  return kNames;
}

std::shared_ptr<const Directory> FindCompiledDirectory(std::string_view name) {
  for (const directory::RuleGeneration generation : kCompiled) {
    if (directory::NameOf(generation) == name) return directory::CompiledDirectory(generation);
  }
  return nullptr;
}

std::shared_ptr<const Directory> CompiledDirectoryOn(std::chrono::year_month_day date) {
  for (std::size_t i = 0; i < kCompiled.size(); ++i) {
    std::shared_ptr<const Directory> directory = directory::CompiledDirectory(kCompiled[i]);
    if (ListedOn(directory->Info(), date, i + 1 == kCompiled.size())) return directory;
  }
  return nullptr;
}

const RuleSet& RulesOf(const Directory& directory) {
  return engine::Rules(EngineGeneration(directory.Info().generation));
}

CheckSource DefaultSource() {
  return {directory::CompiledDirectory(directory::RuleGeneration::k2009), &DefaultRules()};
}

CheckSource DefaultSourceWith(const RuleSet& rules) {
  return {directory::CompiledDirectory(directory::RuleGeneration::k2009), &rules};
}

CheckSource SourceOf(std::shared_ptr<const Directory> directory) {
  const RuleSet& rules = RulesOf(*directory);
  return {std::move(directory), &rules};
}

std::optional<Bank> FindBank(const Directory& directory, std::string_view bankCode) {
  return directory.Find(TrimWhiteSpace(bankCode));
}

SearchResult SearchBanks(const Directory& directory, std::string_view searchText) {
  return directory::SearchBanks(directory, searchText);
}

std::optional<SuccessorFinding> FindSuccessor(const Directory& directory,
                                              std::string_view bankCode) {
  bankCode = TrimWhiteSpace(bankCode);
  if (const std::optional<Bank> bank = directory.Find(bankCode)) {
    if (!bank->deletionNotice) return std::nullopt;
    return SuccessorFinding{SuccessorFinding::Kind::kWithdrawn, std::string(bankCode),
                            std::string(bank->successor), std::nullopt};
  }
  return FindInOlder(directory, bankCode);
}

std::string Describe(const SuccessorFinding& finding) {
  std::string text = "bank code " + finding.bankCode;
  if (finding.kind == SuccessorFinding::Kind::kWithdrawn) {
    text += " is being withdrawn; ";
    return text + (finding.successor.empty() ? "no successor is named"
                                             : "use successor " + finding.successor);
  }
  text += " no longer exists; ";
  text += finding.successor.empty() ? "no successor is named" : "successor " + finding.successor;
  if (finding.asOf) text += " as of " + directory::IsoDate(*finding.asOf);
  return text;
}

DirectoryLoad LoadDirectory(const std::filesystem::path& path, const LoadChoices& choices) {
  DirectoryLoad load;
  const RuleSet* rules = choices.rules;
  if (rules == nullptr) {
    const std::optional<std::chrono::year_month_day> date =
        directory::DateInFileName(path.string());
    const RulesInForce inForce = date ? RulesInForceOn(*date) : RulesInForce{nullptr, {}};
    rules = inForce.rules != nullptr ? inForce.rules : FindRules("current");
    load.rulesNote = inForce.note;
  }
  const std::span<const std::string_view> codes = engine::MethodCodes(*rules);
  directory::LoadOptions options{DirectoryGeneration(*rules),
                                 [codes](std::string_view methodCode) {
                                   return std::binary_search(codes.begin(), codes.end(),
                                                             methodCode);
                                 },
                                 choices.strict};
  directory::LoadResult result = directory::LoadDirectory(path, options);
  load.directory = std::move(result.directory);
  load.error = std::move(result.error);
  load.unreadable = result.unreadable;
  load.warnings = std::move(result.warnings);
  return load;
}

std::string DescribeUtf8(const FileProblem& problem) {
  if (problem.line == 0) return directory::Describe(problem);
  return "line " + std::to_string(problem.line) + ": " + encoding::Cp1252ToUtf8(problem.message);
}

}  // namespace tavrel::service
