// The options of explain, suggest, generate and selftest, checked against the
// command they are given to.
#include <charconv>

#include "internal/assist.h"
#include "tavrel/encoding.h"

namespace tavrel::cli {
namespace {

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A number from `lowest` to `highest`, or the error that names the option.
template <typename Number>
std::optional<std::string> ParseBounded(std::string_view option, std::string_view text,
                                        Number lowest, Number highest, Number& value) {
  const std::optional<Number> parsed = ParseNumber<Number>(text);
  if (!parsed || *parsed < lowest || *parsed > highest) {
    return std::string(option) + " takes a number from " + std::to_string(lowest) + " to " +
           std::to_string(highest);
  }
  value = *parsed;
  return std::nullopt;
}

std::optional<std::string> ParseText(std::string_view option, std::string_view text,
                                     std::string& value) {
  std::optional<std::string> converted = encoding::Utf8ToCp1252(text);
  if (!converted || converted->empty()) {
    return std::string(option) + " takes a non-empty text of Windows-1252 characters";
  }
  value = std::move(*converted);
  return std::nullopt;
}

struct OptionUse {
  std::string_view option;
  bool given;
  std::string_view command;
};

std::optional<std::string> CheckUse(std::string_view word, std::initializer_list<OptionUse> uses) {
  for (const OptionUse& use : uses) {
    if (use.given && word != use.command) {
      return std::string(use.option) + " applies to '" + std::string(use.command) + "' only";
    }
  }
  return std::nullopt;
}

std::optional<std::string> ApplyExplain(std::size_t operands, const AssistArguments& given,
                                        AssistOptions& options) {
  if (!given.method) {
    if (operands != 2)
      return "'explain' takes BANKCODE ACCOUNT, or --method KEY ACCOUNT [BANKCODE]";
    return std::nullopt;
  }
  if (operands < 1 || operands > 2) return "'explain --method KEY' takes ACCOUNT [BANKCODE]";
  return ParseText("--method", *given.method, options.method);
}

std::optional<std::string> ApplySuggest(std::size_t operands, const AssistArguments& given,
                                        AssistOptions& options) {
  if (operands != 2) return "'suggest' takes BANKCODE ACCOUNT";
  options.bankCodes = given.bankCodes;
  if (!given.max) return std::nullopt;
  return ParseBounded<std::size_t>("--max", *given.max, 1, kMaxSuggestions, options.max);
}

std::optional<std::string> ApplyGenerate(std::size_t operands, const AssistArguments& given,
                                         AssistOptions& options) {
  if (operands != 0) return "'generate' takes options only";
  if (given.bank.has_value() == given.method.has_value()) {
    return "'generate' takes one of --bank BANKCODE and --method KEY";
  }
  options.invalid = given.invalid;
  std::optional<std::string> error = given.bank
                                         ? ParseText("--bank", *given.bank, options.bankCode)
                                         : ParseText("--method", *given.method, options.method);
  if (!error && given.count) {
    error = ParseBounded<std::size_t>("--count", *given.count, 1, kMaxGenerated, options.count);
  }
  if (!error && given.seed) {
    error = ParseBounded<std::uint64_t>("--seed", *given.seed, 0, UINT64_MAX, options.seed);
  }
  if (!error && given.length)
    error = ParseBounded("--length", *given.length, 1, 10, options.length);
  return error;
}

}  // namespace

std::optional<std::string> ApplyAssistOptions(std::string_view word, std::size_t operands,
                                              const AssistArguments& given,
                                              AssistOptions& options) {
  if (std::optional<std::string> error =
          CheckUse(word, {{"--bank", given.bank.has_value(), "generate"},
                          {"--max", given.max.has_value(), "suggest"},
                          {"--bank-codes", given.bankCodes, "suggest"},
                          {"--count", given.count.has_value(), "generate"},
                          {"--seed", given.seed.has_value(), "generate"},
                          {"--length", given.length.has_value(), "generate"},
                          {"--invalid", given.invalid, "generate"}})) {
    return error;
  }
  if (given.method && word != "explain" && word != "generate") {
    return "--method applies to 'explain' and 'generate' only";
  }
  if (word == "explain") return ApplyExplain(operands, given, options);
  if (word == "suggest") return ApplySuggest(operands, given, options);
  if (word == "generate") return ApplyGenerate(operands, given, options);
  return std::nullopt;
}

}  // namespace tavrel::cli
