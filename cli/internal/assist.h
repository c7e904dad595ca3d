// The commands that help with a verdict: explain, suggest, generate and
// selftest. Their options, as given and as checked, and their entry points.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/service.h"

namespace tavrel::cli {

// The options of these commands as the command line gives them (UTF-8).
struct AssistArguments {
  std::optional<std::string_view> method;
  std::optional<std::string_view> bank;
  std::optional<std::string_view> max;
  std::optional<std::string_view> count;
  std::optional<std::string_view> seed;
  std::optional<std::string_view> length;
  bool invalid = false;
  bool bankCodes = false;
};

struct AssistOptions {
  std::string method;    // explain and generate --method: a method code or variant key
  std::string bankCode;  // generate --bank (Windows-1252)
  std::size_t max = 5;   // suggest --max
  bool bankCodes = false;
  std::size_t count = 10;  // generate --count
  std::uint64_t seed = 1;
  int length = 0;  // generate --length; 0 mixes six to ten digits
  bool invalid = false;
  bool allRules = true;  // selftest: every generation unless --rules names one
};

inline constexpr std::size_t kMaxSuggestions = 1000;
inline constexpr std::size_t kMaxGenerated = 100000;

// Checks the options against the command `word` and its operand count and stores
// them in `options`; the error for standard error otherwise. Commands other
// than these four take none of the options.
std::optional<std::string> ApplyAssistOptions(std::string_view word, std::size_t operands,
                                              const AssistArguments& given, AssistOptions& options);

// Each prints to standard output and returns the exit status; operands are
// Windows-1252.
// They check against `source`: its directory and rules.
int RunExplain(const std::vector<std::string>& operands, const AssistOptions& options,
               const service::CheckSource& source, bool json);
int RunSuggest(const std::vector<std::string>& operands, const AssistOptions& options,
               const service::CheckSource& source, bool json);
int RunGenerate(const AssistOptions& options, const service::CheckSource& source, bool json);
// `rules` is null for every generation.
int RunSelfTest(const service::RuleSet* rules, bool json);

}  // namespace tavrel::cli
